#include "ui/browse/TabBarWidget.h"

#include "db/CollectionLookups.h"
#include "db/CollectionSettings.h"
#include "state/UserState.h"
#include "ui/look/KeyFocusMark.h"
#include "ui/look/ProgramFont.h"
#include "ui/look/Theme.h"

#include <QAction>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace Tintor {

namespace {

const QColor kLineColor(188, 188, 188);
const QColor kCurrentFill(255, 255, 255, 178);
const QColor kCurrentText(55, 55, 55);
const QColor kOtherText(128, 128, 128);
// Extra width of a tab beyond its caption.
constexpr int kTabPadding = 31;

} // namespace

TabBarWidget::TabBarWidget(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    selectedCollectionChanged(UserState::lastUsedCollection());
    setFont(programFont(FontStyle::Normal, 3));

    const std::pair<const char *, void (TabBarWidget::*)()> shortcuts[] = {
        {"Ctrl+T, Ctrl+1", &TabBarWidget::switchToTab1},
        {"Ctrl+T, Ctrl+2", &TabBarWidget::switchToTab2},
        {"Ctrl+T, Ctrl+3", &TabBarWidget::switchToTab3},
        {"Ctrl+T, Ctrl+4", &TabBarWidget::switchToTab4},
    };
    for (const auto &[keys, slot] : shortcuts) {
        auto *action = new QAction(this);
        action->setShortcut(QKeySequence(QString::fromLatin1(keys)));
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    }
}

void TabBarWidget::selectedCollectionChanged(const QUuid &collectionId)
{
    m_backgroundImage = themeImage(ThemeItem::BarBackground, QSize(30, 30));

    static const std::pair<int, const char *> captionKeys[] = {
        {PageOfTextures, "tab.bar.textures.caption"},
        {PageOfColorForesight, "tab.bar.color.foresight.caption"},
        {PageOfProducts, "tab.bar.products.caption"},
        {PageOfColorSchemes, "tab.bar.color.schemes.caption"},
    };
    for (const auto &[page, key] : captionKeys)
        m_tabs.insert(page, Tab{QRect(), DB::localizedString(collectionId, QString::fromLatin1(key))});

    const int mask = CollectionSettings::availableTabBarPages(collectionId);
    QList<int> pages = CollectionSettings::tabBarPages(collectionId);
    if (pages.isEmpty())
        pages = {PageOfColorSchemes, PageOfProducts, PageOfColorForesight, PageOfTextures};
    m_visiblePages.clear();
    for (const int page : pages) {
        // A page of 0 (an unknown name) only passes an empty mask.
        if ((page & mask) == page && (page != 0 || mask == 0))
            m_visiblePages.append(page);
    }
}

void TabBarWidget::switchToTab1()
{
    switchToTab(1);
}

void TabBarWidget::switchToTab2()
{
    switchToTab(2);
}

void TabBarWidget::switchToTab3()
{
    switchToTab(3);
}

void TabBarWidget::switchToTab4()
{
    switchToTab(4);
}

void TabBarWidget::switchToTab(int number)
{
    if (!isVisible() || m_visiblePages.size() < number)
        return;
    const int page = m_visiblePages.at(number - 1);
    if (page != UserState::tabPageIndex(UserState::lastUsedCollection()))
        Q_EMIT tabPageSelected(TabBarPage(page));
}

int TabBarWidget::tabAt(const QPoint &point) const
{
    for (const int page : m_visiblePages) {
        if (m_tabs.value(page).rect.contains(point))
            return page;
    }
    return 0;
}

void TabBarWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();
    if (!m_backgroundImage.isNull()) {
        for (int x = 0; x < w; x += m_backgroundImage.width())
            painter.drawImage(x, 0, m_backgroundImage);
    }
    painter.setPen(kLineColor);
    painter.drawLine(0, 0, 0, h);

    const int currentPage = UserState::tabPageIndex(UserState::lastUsedCollection());
    const QFontMetrics metrics(font());
    int left = 1;
    for (const int page : std::as_const(m_visiblePages)) {
        Tab &tab = m_tabs[page];
        const int captionWidth = metrics.size(Qt::TextSingleLine, tab.caption).width();
        const QRect rect(QPoint(left, 0), QPoint(left + captionWidth + kTabPadding, h - 1));
        if (page == currentPage) {
            painter.fillRect(rect, kCurrentFill);
            painter.setPen(kCurrentText);
        } else {
            painter.setPen(kOtherText);
        }
        // Drawn twice for a heavier stroke over the bar's background.
        const QRect captionRect = rect.adjusted(0, 0, -1, 0);
        const int flags = Qt::TextSingleLine | Qt::AlignHCenter | Qt::AlignVCenter;
        painter.drawText(captionRect, flags, tab.caption);
        painter.drawText(captionRect, flags, tab.caption);
        painter.setPen(kLineColor);
        painter.drawLine(rect.right(), h - 1, rect.right(), 0);
        tab.rect = rect;
        left = rect.right() + 1;
    }
    if (hasFocus()) {
        const QRect marked = m_visiblePages.contains(currentPage) ? m_tabs.value(currentPage).rect : rect();
        paintKeyFocusMark(painter, QRectF(marked.adjusted(2, 2, -2, -1)), 3.0, true);
    }
}

void TabBarWidget::mousePressEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    for (const int page : std::as_const(m_visiblePages)) {
        if (m_tabs.value(page).rect.contains(point))
            Q_EMIT tabPageSelected(TabBarPage(page));
    }
}

void TabBarWidget::keyPressEvent(QKeyEvent *event)
{
    const bool plain = event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    if (!plain || (event->key() != Qt::Key_Left && event->key() != Qt::Key_Right)) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    const qsizetype current = m_visiblePages.indexOf(UserState::tabPageIndex(UserState::lastUsedCollection()));
    const qsizetype next = current + (event->key() == Qt::Key_Right ? 1 : -1);
    // Without a current tab the first arrow goes to the first tab.
    const qsizetype target = current < 0 ? 0 : next;
    if (target >= 0 && target < m_visiblePages.size() && target != current)
        Q_EMIT tabPageSelected(TabBarPage(m_visiblePages.at(target)));
}

void TabBarWidget::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void TabBarWidget::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void TabBarWidget::mouseMoveEvent(QMouseEvent *event)
{
    setCursor(tabAt(event->position().toPoint()) != 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

} // namespace Tintor
