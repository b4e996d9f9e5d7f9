#pragma once

#include "db/ColorEntry.h"
#include "ui/chips/ChipPayload.h"

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QUuid>

class QDrag;
class QWidget;

// Starting a chip drag: the drag picture (the colour fading to the right
// with the chip's code in its corner) and a QDrag owned by the source
// widget carrying the payload of ChipPayload.h.
namespace Tintor {

inline constexpr int kChipDragPictureWidth = 128;
inline constexpr int kChipDragPictureHeight = 64;

// The 128 x 64 picture of a dragged colour with `text` at its top right.
QPixmap chipDragPixmap(const QColor &color, const QString &text);

// The drags before they run: owned by `source`, carrying the picture (hot
// spot at its top-left corner) and the payload.
QDrag *newChipDrag(QWidget *source, ChipSource kind, const QUuid &collectionUuid, const DB::ColorEntry &chip);
QDrag *newColorDrag(QWidget *source, ChipSource kind, const QColor &color, const QString &pictureText,
                    const QString &name1, const QString &name2);

// Both run QDrag::exec and return its result. Every caller passes
// Qt::CopyAction for both actions.
Qt::DropAction startChipDrag(QWidget *source, ChipSource kind, const QUuid &collectionUuid, const DB::ColorEntry &chip,
                             Qt::DropActions supportedActions = Qt::CopyAction,
                             Qt::DropAction defaultAction = Qt::CopyAction);
Qt::DropAction startColorDrag(QWidget *source, ChipSource kind, const QColor &color, const QString &pictureText,
                              const QString &name1, const QString &name2,
                              Qt::DropActions supportedActions = Qt::CopyAction,
                              Qt::DropAction defaultAction = Qt::CopyAction);

} // namespace Tintor
