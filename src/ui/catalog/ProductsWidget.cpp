#include "ui/catalog/ProductsWidget.h"

#include "db/CatalogQueries.h"
#include "db/CollectionSettings.h"
#include "db/NavigationQueries.h"
#include "db/Status.h"
#include "state/UserState.h"
#include "ui/catalog/CatalogBackground.h"
#include "ui/look/ProgramFont.h"
#include "ui/look/VestrelCustomStyle.h"

#include <QLabel>
#include <QListWidget>
#include <QScrollBar>

namespace Tintor {

namespace {

constexpr int kMargin = 8;

} // namespace

ProductsWidget::ProductsWidget(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ProductsWidget"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    m_style = new VestrelCustomStyle;
    m_style->setParent(this);
    setFont(programFont(FontStyle::Normal, 4));
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(228, 228, 228));
    setPalette(pal);

    m_label = new QLabel(this);
    m_list = new QListWidget(this);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setViewMode(QListView::ListMode);
    m_list->setFlow(QListView::TopToBottom);
    m_list->setWrapping(true);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->horizontalScrollBar()->setStyle(m_style);
}

// A hidden tab is filled when it is shown.
void ProductsWidget::selectedCollectionChanged(QUuid collectionId)
{
    Q_UNUSED(collectionId);
    if (isVisible())
        refresh();
}

void ProductsWidget::selectedColorChanged()
{
    if (isVisible())
        refresh();
}

void ProductsWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
}

void ProductsWidget::refresh()
{
    setUpdatesEnabled(false);
    m_label->setText(QStringLiteral(" "));
    m_list->clear();

    const QUuid collection = UserState::lastUsedCollection();
    const int rowIndex = UserState::rowIndex(collection);
    DB::ColorPage page;
    if (DB::pageAt(collection, UserState::pageIndex(collection), page) == DB::StatusOk && rowIndex >= 1
        && rowIndex <= page.entries.size()) {
        const DB::ColorEntry &row = page.entries.at(rowIndex - 1);
        m_label->setText(row.code);
        QStringList texts;
        if (CollectionSettings::productGroupsMode(collection) == Products)
            DB::productsOfEntry(collection, row.id, texts);
        else
            DB::productGroupsOfEntry(collection, row.id, texts);
        m_list->addItems(texts);
    }
    setUpdatesEnabled(true);
}

void ProductsWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const QRect area = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const int labelHeight = fontMetrics().size(Qt::TextSingleLine, QStringLiteral("\u00C1g")).height();
    m_label->setGeometry(area.left(), area.top(), area.width(), labelHeight);
    m_list->setGeometry(QRect(QPoint(area.left(), area.top() + labelHeight + kMargin), area.bottomRight()));

    // The list shows the main background under itself, so it looks
    // transparent.
    QPalette pal = m_list->palette();
    pal.setBrush(QPalette::Base, QBrush(mainBackgroundUnder(m_list, m_list->rect())));
    pal.setColor(QPalette::Text, QColor(189, 189, 189));
    m_list->setPalette(pal);
}

} // namespace Tintor
