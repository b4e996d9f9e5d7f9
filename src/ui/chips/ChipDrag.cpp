#include "ui/chips/ChipDrag.h"

#include "ui/look/ProgramFont.h"

#include <QDrag>
#include <QLinearGradient>
#include <QPainter>
#include <QWidget>

namespace Tintor {

namespace {

QDrag *newDrag(QWidget *source, const QColor &color, const QString &pictureText, const QString &payloadText)
{
    auto *drag = new QDrag(source);
    drag->setPixmap(chipDragPixmap(color, pictureText));
    drag->setHotSpot(QPoint(0, 0));
    drag->setMimeData(newChipPayloadMimeData(payloadText));
    return drag;
}

} // namespace

QPixmap chipDragPixmap(const QColor &color, const QString &text)
{
    QPixmap pixmap(kChipDragPictureWidth, kChipDragPictureHeight);
    pixmap.fill(Qt::transparent);

    QLinearGradient gradient(QPointF(0, 0), QPointF(16, pixmap.height() - 1));
    QColor stop = color;
    stop.setAlpha(255);
    gradient.setColorAt(0.0, stop);
    stop.setAlpha(208);
    gradient.setColorAt(0.65, stop);
    stop.setAlpha(160);
    gradient.setColorAt(1.0, stop);

    QPainter painter(&pixmap);
    painter.fillRect(pixmap.rect(), gradient);
    painter.setFont(programFont(FontStyle::Italic, 2));
    painter.setPen(QColor(0, 0, 0));
    painter.drawText(pixmap.rect().adjusted(2, 2, -2, -2), Qt::AlignRight | Qt::AlignTop | Qt::TextWordWrap, text);
    return pixmap;
}

QDrag *newChipDrag(QWidget *source, ChipSource kind, const QUuid &collectionUuid, const DB::ColorEntry &chip)
{
    return newDrag(source, QColor(chip.red, chip.green, chip.blue), chip.code,
                   chipPayloadText(kind, collectionUuid, chip));
}

QDrag *newColorDrag(QWidget *source, ChipSource kind, const QColor &color, const QString &pictureText,
                    const QString &name1, const QString &name2)
{
    return newDrag(source, color, pictureText, colorPayloadText(kind, color, name1, name2));
}

Qt::DropAction startChipDrag(QWidget *source, ChipSource kind, const QUuid &collectionUuid, const DB::ColorEntry &chip,
                             Qt::DropActions supportedActions, Qt::DropAction defaultAction)
{
    return newChipDrag(source, kind, collectionUuid, chip)->exec(supportedActions, defaultAction);
}

Qt::DropAction startColorDrag(QWidget *source, ChipSource kind, const QColor &color, const QString &pictureText,
                              const QString &name1, const QString &name2, Qt::DropActions supportedActions,
                              Qt::DropAction defaultAction)
{
    return newColorDrag(source, kind, color, pictureText, name1, name2)->exec(supportedActions, defaultAction);
}

} // namespace Tintor
