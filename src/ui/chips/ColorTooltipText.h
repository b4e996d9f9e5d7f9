#pragma once

#include <QString>
#include <QUuid>

// The description of a chip shown as its tooltip wherever chips appear, and
// as plain text in My Palette. Which facts appear, and the order of the
// several names, are the collection's settings.
namespace Tintor {

// Rich: a tooltip rich-text fragment, one fact per line break. Plain: one
// fact per line. Empty when the row cannot be read. Names go into the rich
// form unescaped, as the collection files write them.
QString colorTooltipText(const QUuid &collectionId, qint64 colorId, bool rich);

} // namespace Tintor
