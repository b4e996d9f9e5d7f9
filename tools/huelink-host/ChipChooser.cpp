#include "ChipChooser.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <memory>

namespace ChipChooser {

namespace {

constexpr int kColumnCount = 6;
constexpr int kRowCount = 4;
constexpr int kMargin = 12;

const char kPaletteClass[] = "Tintor::MyPaletteWidget";
const char kImageButtonClass[] = "Tintor::ImageButton";
const char kTaskButtonClass[] = "Tintor::TaskButton";
const char kCollectionSelectorClass[] = "Tintor::CollectionSelectWidget";
const char kDropDownButtonClass[] = "Tintor::DropDownButton";

bool isClass(const QObject *object, const char *className)
{
    return qstrcmp(object->metaObject()->className(), className) == 0;
}

QWidget *findVisibleWidget(QWidget *root, const char *className)
{
    const QList<QWidget *> widgets = root->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (isClass(widget, className) && widget->isVisible())
            return widget;
    }
    return nullptr;
}

// What a user would hit at `position` of `widget`: the widget itself, or
// one of its children, and nothing lying over it.
bool reachableAt(QWidget *widget, const QPoint &position)
{
    QWidget *window = widget->window();
    QWidget *hit = window->childAt(widget->mapTo(window, position));
    return hit && (hit == widget || widget->isAncestorOf(hit));
}

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &position, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(position), QPointF(widget->mapToGlobal(position)), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void click(QWidget *widget, const QPoint &position)
{
    QPointer<QWidget> guard(widget);
    sendMouse(widget, QEvent::MouseButtonPress, position, Qt::LeftButton);
    if (guard)
        sendMouse(widget, QEvent::MouseButtonRelease, position, Qt::NoButton);
}

// A drag of the payload entering the widget, moving to `position` and
// dropped there; false as soon as the widget refuses.
bool dragAndDrop(QWidget *widget, const QPoint &position, const QString &payload)
{
    auto mime = std::make_unique<QMimeData>();
    mime->setData(payloadMimeType(), payload.toUtf8());
    QDragEnterEvent enter(position, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(position, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
    if (!move.isAccepted()) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(widget, &leave);
        return false;
    }
    QDropEvent drop(QPointF(position), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &drop);
    return drop.isAccepted();
}

// The header bar's height: the rightmost header button sits one bar height
// in from the right edge.
int paletteBarHeight(QWidget *palette)
{
    int height = -1;
    int rightmost = -1;
    for (QWidget *child : palette->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (isClass(child, kImageButtonClass) && child->x() > rightmost) {
            rightmost = child->x();
            height = palette->width() - child->width() - child->x();
        }
    }
    return height;
}

int paletteEditHeight(QWidget *palette)
{
    const auto *edit = palette->findChild<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly);
    return edit ? edit->height() : -1;
}

} // namespace

QString payloadMimeType()
{
    return QStringLiteral("vestrel.hlnk/color.chip.dnd.info");
}

QString chipPayloadText(const QUuid &collection, qint64 rowId, int source)
{
    return QStringLiteral("{ \"collectuionUuid\" : \"%1\", \"colorId\" : %2, \"from\" : %3 }")
        .arg(collection.toString(QUuid::WithBraces))
        .arg(rowId)
        .arg(source);
}

QRect paletteCellRect(const QSize &size, int barHeight, int editHeight, const QPoint &cell)
{
    const QRect area(QPoint(kMargin, barHeight + kMargin),
                     QPoint(size.width() - 1 - kMargin, size.height() - editHeight - 1 - kMargin));
    const int cellWidth = area.width() / kColumnCount;
    const int cellHeight = area.height() / kRowCount;
    const int left = area.left() + (area.width() - kColumnCount * cellWidth) / 2;
    const int top = area.top() + (area.height() - kRowCount * cellHeight) / 2;
    return QRect(left + cell.x() * cellWidth, top + cell.y() * cellHeight, cellWidth, cellHeight);
}

QString switchCollection(QWidget *window, const QString &name)
{
    QWidget *selector = findVisibleWidget(window, kCollectionSelectorClass);
    QWidget *dropDown = selector ? findVisibleWidget(selector, kDropDownButtonClass) : nullptr;
    if (!dropDown)
        return QStringLiteral("the window shows no collection selector with a drop-down button");
    if (!reachableAt(dropDown, dropDown->rect().center()))
        return QStringLiteral("the collection selector's drop-down button cannot be reached");
    click(dropDown, dropDown->rect().center());

    // The list opens beside the selector, as a sibling that can reach below
    // the header.
    QListWidget *list = nullptr;
    for (QListWidget *candidate : selector->parentWidget()->findChildren<QListWidget *>(Qt::FindDirectChildrenOnly)) {
        if (candidate->isVisible())
            list = candidate;
    }
    if (!list)
        return QStringLiteral("the collection selector opened no list");
    QStringList names;
    QListWidgetItem *wanted = nullptr;
    for (int row = 0; row < list->count(); ++row) {
        QListWidgetItem *item = list->item(row);
        if (item->isHidden())
            continue;
        names << item->text();
        if (!wanted && item->text() == name)
            wanted = item;
    }
    if (!wanted) {
        click(dropDown, dropDown->rect().center());
        return QStringLiteral("the collection list has no '%1' (it lists: %2)")
            .arg(name, names.join(QStringLiteral(", ")));
    }
    list->scrollToItem(wanted);
    const QPoint itemCentre = list->visualItemRect(wanted).center();
    if (!reachableAt(list->viewport(), itemCentre))
        return QStringLiteral("the collection '%1' cannot be reached in the list").arg(name);
    click(list->viewport(), itemCentre);
    if (list->isVisible())
        return QStringLiteral("the collection list stayed open after '%1' was clicked").arg(name);
    return QString();
}

QString selectTab(QWidget *window, int page)
{
    QWidget *tabBar = findVisibleWidget(window, "Tintor::TabBarWidget");
    if (!tabBar)
        return QStringLiteral("the window shows no tab bar");
    // The tabs are placed when painted: after a collection switch the new
    // ones are not on screen until the next paint.
    tabBar->repaint();
    QRect tab;
    if (!QMetaObject::invokeMethod(tabBar, "tabRect", Qt::DirectConnection, Q_RETURN_ARG(QRect, tab),
                                   Q_ARG(int, page))
        || tab.isEmpty())
        return QStringLiteral("the tab bar shows no tab for page %1").arg(page);
    if (!reachableAt(tabBar, tab.center()))
        return QStringLiteral("the tab of page %1 cannot be reached").arg(page);
    click(tabBar, tab.center());
    return QString();
}

QString dropAndSelect(QWidget *window, const ChipLookup::Chip &chip)
{
    QWidget *palette = findVisibleWidget(window, kPaletteClass);
    if (!palette)
        return QStringLiteral("the window shows no My Palette (%1)").arg(QLatin1String(kPaletteClass));
    const int barHeight = paletteBarHeight(palette);
    const int editHeight = paletteEditHeight(palette);
    if (barHeight < 0 || editHeight < 0)
        return QStringLiteral("My Palette has no header buttons or no description line to measure its cells by");
    const QRect cell = paletteCellRect(palette->size(), barHeight, editHeight, QPoint(0, 0));
    const QPoint centre = cell.center();
    if (cell.isEmpty() || !reachableAt(palette, centre))
        return QStringLiteral("My Palette's first cell cannot be reached");

    if (!dragAndDrop(palette, centre, chipPayloadText(chip.collection, chip.rowId, kFromCardRoller)))
        return QStringLiteral("My Palette refused the chip '%1'").arg(chip.code);
    // The cell shows what it holds: its middle is the chip's colour.
    const QImage cellImage = palette->grab(cell).toImage();
    const QColor shown = cellImage.pixelColor(cellImage.rect().center());
    if (shown.rgb() != chip.color.rgb())
        return QStringLiteral("My Palette's first cell shows %1 after the drop, not the chip's %2")
            .arg(shown.name(), chip.color.name());
    click(palette, centre);
    return QString();
}

QString pressTaskButton(QWidget *window, const QString &text)
{
    QAbstractButton *found = nullptr;
    QStringList texts;
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (!button->inherits(kTaskButtonClass) || !button->isVisible())
            continue;
        texts << button->text();
        if (button->text() == text && !found)
            found = button;
    }
    if (!found)
        return QStringLiteral("no task button reads '%1' (the buttons read: %2)")
            .arg(text, texts.join(QStringLiteral(", ")));
    if (!found->isEnabled())
        return QStringLiteral("the button '%1' is disabled").arg(text);
    const QPoint buttonCentre = found->rect().center();
    if (!reachableAt(found, buttonCentre))
        return QStringLiteral("the button '%1' cannot be reached").arg(text);
    click(found, buttonCentre);
    return QString();
}

void clickAt(QWidget *widget, const QPoint &position)
{
    click(widget, position);
}

QString pressSelect(QWidget *window, const ChipLookup::Chip &chip)
{
    QPointer<QWidget> guard(window);
    const QString error = pressTaskButton(window, chip.selectButtonText);
    if (!error.isEmpty())
        return error;
    auto *dialog = qobject_cast<QDialog *>(guard.data());
    if (!dialog || dialog->isVisible() || dialog->result() != QDialog::Accepted)
        return QStringLiteral("the window did not accept the pick after the select button was pressed");
    return QString();
}

QString choose(QWidget *window, const ChipLookup::Chip &chip)
{
    const QString error = dropAndSelect(window, chip);
    return error.isEmpty() ? pressSelect(window, chip) : error;
}

} // namespace ChipChooser
