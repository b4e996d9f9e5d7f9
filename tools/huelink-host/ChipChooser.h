#pragma once

#include "ChipLookup.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

// Makes a pick in the module's add-on window the way a user does: drops the
// chip onto My Palette's first cell (a drop event carrying the chip's drag
// payload), clicks that cell and presses the select button. The widgets are
// found through the toolkit's object tree by class name; the host links
// none of the module's code.
namespace ChipChooser {

// The chip drag payload the module's views exchange: the UTF-8 JSON text
// under this MIME type. Its form (key order, the key spelt
// "collectuionUuid", the separators) is what the module writes and reads.
QString payloadMimeType();
QString chipPayloadText(const QUuid &collection, qint64 rowId, int source);
// The payload's source kind for a chip dragged from the card roller.
constexpr int kFromCardRoller = 1;

// My Palette's cell (column, row) in a palette widget of `size` whose
// header bar is `barHeight` and whose description line is `editHeight`
// pixels high: 6 x 4 cells centred in the area 12 pixels in from the sides,
// below the bar and above the description line.
QRect paletteCellRect(const QSize &size, int barHeight, int editHeight, const QPoint &cell);

// Opens the collection selector's list and clicks the collection listed as
// `name`. Empty when done, otherwise one line.
QString switchCollection(QWidget *window, const QString &name);

// Clicks the tab of `page` (a tab page value: 1 schemes, 2 products, 4
// foresight, 8 textures) in the window's tab bar. Empty when done,
// otherwise one line.
QString selectTab(QWidget *window, int page);

// Drops the chip onto the first cell, selects that cell alone and presses
// the select button of `window`. Returns an empty string when the window
// accepted the pick, otherwise one line saying what went wrong.
QString choose(QWidget *window, const ChipLookup::Chip &chip);
// The two halves of choose(): the drop and the click on the cell, then the
// select button.
QString dropAndSelect(QWidget *window, const ChipLookup::Chip &chip);
QString pressSelect(QWidget *window, const ChipLookup::Chip &chip);

// Clicks the visible, enabled task button of `window` that reads `text`, at
// its centre. Empty when clicked, otherwise one line.
QString pressTaskButton(QWidget *window, const QString &text);
// A left press and release at `position` of `widget`.
void clickAt(QWidget *widget, const QPoint &position);

} // namespace ChipChooser
