#include "ui/browse/CollectionSelectWidget.h"

#include "db/CollectionLookups.h"
#include "db/CollectionRegistry.h"
#include "db/Status.h"
#include "state/UserState.h"
#include "ui/browse/DropDownButton.h"
#include "ui/look/ImageButton.h"
#include "ui/look/KeyFocusMark.h"
#include "ui/look/ProgramFont.h"
#include "ui/look/Theme.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QResizeEvent>

namespace Tintor {

namespace {

constexpr int kButtonSize = 20;
constexpr int kListItemHeight = 28;

const QString kListStyleSheet = QStringLiteral(
    "background-color: qlineargradient(spread:pad,                 x1:0.35, y1:1,                 x2:0.65, "
    "y2:0,                 stop:0 rgba(%1, %2, %3, %4),                 stop:1 rgba(%5, %6, %7, %8)); ");

} // namespace

CollectionSelectWidget::CollectionSelectWidget(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(kWidth, kHeight);
    setFocusPolicy(Qt::StrongFocus);
    reload(UserState::lastUsedCollection());
    setFont(programFont(FontStyle::Normal, 3));

    const QList<QUuid> collections = DB::collectionUuidsByOrder();
    m_dropDownButton = new DropDownButton(this);
    m_dropDownButton->setFixedSize(kButtonSize, kButtonSize);
    // The selector's own keys open the list; a click still focuses the
    // button, which the list's focus-out rule relies on.
    m_dropDownButton->setFocusPolicy(Qt::ClickFocus);
    if (collections.size() < 2)
        m_dropDownButton->hide();

    const QImage capsureImage = themeImage(ThemeItem::CapsureButtonNormal, QSize(16, 16));
    m_capsureButton = new ImageButton(capsureImage, capsureImage, this);
    m_capsureButton->setFixedSize(kButtonSize, kButtonSize);
    m_capsureButton->hide();

    // A sibling, not a child: the list reaches below the selector.
    m_collectionList = new QListWidget(parentWidget());
    m_collectionList->setFont(font());
    for (const QUuid &uuid : collections) {
        DB::CollectionPointer collection;
        if (DB::collectionByUuid(uuid, collection) != DB::StatusOk || !collection)
            continue;
        auto *item = new QListWidgetItem(collection->name);
        item->setData(Qt::UserRole, collection->uuid.toString());
        item->setSizeHint(QSize(0, kListItemHeight));
        m_collectionList->addItem(item);
    }
    m_collectionList->setFrameStyle(0);
    m_collectionList->setStyleSheet(kListStyleSheet.arg(204).arg(204).arg(204).arg(255).arg(238).arg(238).arg(238).arg(255));
    m_collectionList->hide();

    connect(m_dropDownButton, &QPushButton::clicked, this, &CollectionSelectWidget::dropDownButtonClicked);
    connect(m_capsureButton, &QPushButton::clicked, this, &CollectionSelectWidget::capsureButtonClicked);
    m_collectionList->installEventFilter(this);
    connect(m_collectionList, &QListWidget::itemActivated, this, &CollectionSelectWidget::listWidgetItemActivated);
    connect(m_collectionList, &QListWidget::itemClicked, this, &CollectionSelectWidget::listWidgetItemActivated);

    layoutChildren();
    refreshDropDownBackground();
}

QSize CollectionSelectWidget::sizeHint() const
{
    return QSize(kWidth, kHeight);
}

QSize CollectionSelectWidget::minimumSizeHint() const
{
    return QSize(kWidth, kHeight);
}

QRect CollectionSelectWidget::textRect() const
{
    QRect text = rect();
    if (m_dropDownButton && !m_dropDownButton->isHidden())
        text.setRight(m_dropDownButton->x() - 1);
    return text;
}

void CollectionSelectWidget::selectedCollectionChanged(const QUuid &collectionId)
{
    reload(collectionId);
    update();
}

void CollectionSelectWidget::reload(const QUuid &collectionId)
{
    m_backgroundImage = themeImage(ThemeItem::BarBackground, size());
    m_textColor = themeColor(ThemeItem::CollectionSelectorTextColor, QColor(0, 0, 0, 255));
    DB::CollectionPointer collection;
    if (DB::collectionByUuid(collectionId, collection) == DB::StatusOk && collection)
        m_collectionName = collection->name;
    layoutChildren();
    refreshDropDownBackground();
}

void CollectionSelectWidget::layoutChildren()
{
    if (!m_dropDownButton)
        return;
    const int h = height();
    const int margin = (h - qMax(m_capsureButton->height(), m_dropDownButton->height())) / 2;
    const int innerTop = margin;
    const int innerHeight = (h - 1 - margin) - innerTop;
    int right = width() - 1 - margin;
    const auto centredTop = [&](const QWidget *button) {
        return innerTop + (innerHeight - button->height() + 1) / 2;
    };
    if (!m_capsureButton->isHidden()) {
        m_capsureButton->move(right - m_capsureButton->width(), centredTop(m_capsureButton));
        right -= m_capsureButton->width() + 2;
    }
    m_dropDownButton->move(right - m_dropDownButton->width(), centredTop(m_dropDownButton));
    placeCollectionList();
}

void CollectionSelectWidget::placeCollectionList()
{
    m_collectionList->setGeometry(QRect(geometry().bottomLeft() + QPoint(0, 1), QSize(width(), kListHeight)));
}

void CollectionSelectWidget::refreshDropDownBackground()
{
    if (m_dropDownButton && !m_backgroundImage.isNull())
        m_dropDownButton->setBackgroundImage(m_backgroundImage.copy(m_dropDownButton->geometry()));
}

void CollectionSelectWidget::resizeEvent(QResizeEvent *)
{
    layoutChildren();
    refreshDropDownBackground();
}

void CollectionSelectWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_backgroundImage, QRect(0, 0, width(), height()));
    refreshDropDownBackground();
    painter.setPen(m_textColor);
    const int flags = Qt::TextSingleLine | Qt::AlignHCenter | Qt::AlignVCenter;
    // Drawn twice for a heavier stroke over the bar's background.
    painter.drawText(textRect(), flags, m_collectionName);
    painter.drawText(textRect(), flags, m_collectionName);
    if (hasFocus())
        paintKeyFocusMark(painter, QRectF(textRect().adjusted(2, 2, -2, -2)), 4.0, true);
}

void CollectionSelectWidget::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool opens = (modifiers == Qt::NoModifier
                        && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter))
                    || (modifiers == Qt::AltModifier && key == Qt::Key_Down);
    if (!opens || m_dropDownButton->isHidden() || !m_collectionList->isHidden()) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    dropDownButtonClicked();
}

void CollectionSelectWidget::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void CollectionSelectWidget::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void CollectionSelectWidget::dropDownButtonClicked()
{
    if (m_collectionList->isHidden()) {
        // The selector may have moved since it was last laid out.
        placeCollectionList();
        m_collectionList->show();
        const QUuid current = UserState::lastUsedCollection();
        for (int row = 0; row < m_collectionList->count(); ++row) {
            QListWidgetItem *item = m_collectionList->item(row);
            if (!item->isHidden() && QUuid::fromString(item->data(Qt::UserRole).toString()) == current) {
                // Current as well, so that Return picks it and an earlier
                // opening's selection goes.
                m_collectionList->setCurrentItem(item);
                item->setSelected(true);
                break;
            }
        }
        m_collectionList->setFocus(Qt::OtherFocusReason);
    } else {
        m_collectionList->hide();
        emitPendingCollection();
    }
}

void CollectionSelectWidget::listWidgetItemActivated(QListWidgetItem *item)
{
    // Styles that activate on a single click send clicked and activated for
    // one click; the first has already hidden the list and reported.
    if (m_collectionList->isHidden())
        return;
    if (item) {
        const QVariant data = item->data(Qt::UserRole);
        if (!data.isNull() && data.canConvert<QString>())
            m_pendingCollection = QUuid::fromString(data.toString());
    }
    m_collectionList->hide();
    emitPendingCollection();
}

void CollectionSelectWidget::emitPendingCollection()
{
    if (m_pendingCollection.isNull())
        return;
    const QUuid pending = m_pendingCollection;
    m_pendingCollection = QUuid();
    Q_EMIT collectionSelectedInteractively(pending);
}

bool CollectionSelectWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_collectionList)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Show:
        m_collectionList->raise();
        m_collectionList->setFocus(Qt::OtherFocusReason);
        m_dropDownButton->setClosed(false);
        break;
    case QEvent::Hide:
        m_dropDownButton->setClosed(true);
        break;
    case QEvent::FocusOut:
        // A click on the drop-down button toggles the list itself.
        if (QApplication::focusWidget() != m_dropDownButton)
            m_collectionList->hide();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void CollectionSelectWidget::capsureFileChanged(const QString &fileName)
{
    // Opening for writing fails while the device software still writes the
    // file; exists() first, since ReadWrite would create a missing file.
    QFile file(fileName);
    const bool available = !fileName.isEmpty() && file.exists() && file.open(QIODevice::ReadWrite);
    file.close();
    if (available)
        m_capsureFileName = fileName;
    if (m_capsureButton->isHidden() == available) {
        m_capsureButton->setVisible(available);
        QApplication::postEvent(this, new QResizeEvent(size(), size()));
    }
    if (available)
        m_capsureButton->startFadeIn();
}

void CollectionSelectWidget::capsureButtonClicked()
{
    m_capsureButton->stopFadeIn();
    DB::ColorEntry chosen;
    if (m_capsureImport && m_capsureImport(this, m_capsureFileName, chosen))
        Q_EMIT capsureItemSelectedInteractively(DB::collectionUuidInSystemWideFile(chosen.collectionId), chosen);
    m_capsureButton->stopFadeIn();
}

} // namespace Tintor
