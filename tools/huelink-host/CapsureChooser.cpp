#include "CapsureChooser.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QStringList>
#include <QWidget>

namespace CapsureChooser {

namespace {

const char kCollectionSelectorClass[] = "Tintor::CollectionSelectWidget";
const char kImageButtonClass[] = "Tintor::ImageButton";
const char kTaskButtonClass[] = "Tintor::TaskButton";

bool isClass(const QObject *object, const char *className)
{
    return qstrcmp(object->metaObject()->className(), className) == 0;
}

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &position, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(position), QPointF(widget->mapToGlobal(position)), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

QWidget *capsureButton(QWidget *window)
{
    for (QWidget *selector : window->findChildren<QWidget *>()) {
        if (!isClass(selector, kCollectionSelectorClass) || !selector->isVisible())
            continue;
        for (QWidget *child : selector->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (isClass(child, kImageButtonClass) && child->isVisible())
                return child;
        }
    }
    return nullptr;
}

QString click(QWidget *button)
{
    const QPoint centre = button->rect().center();
    QWidget *window = button->window();
    QWidget *hit = window->childAt(button->mapTo(window, centre));
    if (!hit || !(hit == button || button->isAncestorOf(hit)))
        return QStringLiteral("the button cannot be reached");
    if (!button->isEnabled())
        return QStringLiteral("the button is disabled");
    QPointer<QWidget> guard(button);
    sendMouse(button, QEvent::MouseButtonPress, centre, Qt::LeftButton);
    if (guard)
        sendMouse(button, QEvent::MouseButtonRelease, centre, Qt::NoButton);
    return QString();
}

QString chooseItem(QWidget *dialog, int item, QString &itemText)
{
    itemText.clear();
    auto *list = dialog->findChild<QComboBox *>();
    if (!list || !list->isVisible())
        return QStringLiteral("the Capsure dialog shows no item list");
    if (item < 1 || item > list->count())
        return QStringLiteral("the Capsure dialog lists %1 item(s), not an item %2").arg(list->count()).arg(item);
    // What choosing the item in the list's popup does.
    list->setCurrentIndex(item - 1);
    itemText = list->currentText();
    return QString();
}

QString pressOk(QWidget *dialog)
{
    QAbstractButton *ok = nullptr;
    QStringList texts;
    for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
        if (!button->inherits(kTaskButtonClass) || !button->isVisible())
            continue;
        texts << button->text();
        if (button->text() == QLatin1String("OK"))
            ok = button;
    }
    if (!ok)
        return QStringLiteral("the Capsure dialog has no OK button (its buttons read: %1)")
            .arg(texts.join(QStringLiteral(", ")));
    const QString problem = click(ok);
    return problem.isEmpty() ? QString() : QStringLiteral("OK: ") + problem;
}

} // namespace CapsureChooser
