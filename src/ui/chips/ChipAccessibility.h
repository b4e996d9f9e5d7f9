#pragma once

#include "db/ColorEntry.h"

#include <QRect>
#include <QString>
#include <QUuid>
#include <QVector>

class QWidget;

// What assistive technology hears about chips, and how the key focus moves
// over a painted grid of chips. Views paint their chips themselves and have
// no child widgets for them, so the view speaks for the chip its key focus
// is on: its accessible description becomes the chip's text, and a focus
// event tells the screen reader to read it.
namespace Tintor {

// "code, name, collection": the name is the first of the collection's
// row-name display order, left out when the chip has none.
QString chipAccessibleText(const QUuid &collection, const DB::ColorEntry &chip);
// The chip's name the collection shows first; empty when it names none.
QString chipShownName(const QUuid &collection, const DB::ColorEntry &chip);

// The collection's locale text of `key`, or `fallback` when the collection
// has none (a missing text comes back as its key).
QString localizedTextOr(const QUuid &collection, const QString &key, const QString &fallback);

// The key focus inside `view` moved to the item described by `text`.
void announceKeyFocus(QWidget *view, const QString &text);

// The index of the chip an arrow key moves to from `current` among chips
// laid out in reading order: Left and Right step one chip, Up and Down go
// to the nearest chip of the line above or below; `current` itself when
// there is none that way, and 0 when nothing was focused yet.
int chipInDirection(const QVector<QRect> &chips, int current, int key);

} // namespace Tintor
