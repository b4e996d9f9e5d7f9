#include "ui/catalog/TexturesWidget.h"

#include "state/UserState.h"
#include "ui/catalog/CatalogBackground.h"
#include "ui/catalog/TexturesViewport.h"
#include "ui/look/VestrelCustomStyle.h"

#include <QScrollBar>

namespace Tintor {

namespace {

constexpr int kViewportMargin = 16;

} // namespace

TexturesWidget::TexturesWidget(QWidget *parent)
    : QScrollArea(parent)
{
    setObjectName(QStringLiteral("TexturesWidget"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setViewportMargins(kViewportMargin, kViewportMargin, kViewportMargin, kViewportMargin);
    setFrameShape(QFrame::NoFrame);

    m_viewport = new TexturesViewport;
    m_viewport->setAutoFillBackground(false);
    setWidget(m_viewport);
    setAutoFillBackground(true);
    viewport()->setAutoFillBackground(false);
    m_style = new VestrelCustomStyle;
    m_style->setParent(this);
    verticalScrollBar()->setStyle(m_style);
}

void TexturesWidget::selectedCollectionChanged(QUuid collectionId)
{
    if (isVisible())
        loadCollection(collectionId);
    else
        m_loaded = false;
}

void TexturesWidget::loadCollection(const QUuid &collectionId)
{
    m_viewport->loadTextures(collectionId);
    m_viewport->layoutTiles();
    m_viewport->update();
    m_loaded = true;
}

void TexturesWidget::showEvent(QShowEvent *event)
{
    if (!m_loaded)
        loadCollection(UserState::lastUsedCollection());
    QScrollArea::showEvent(event);
}

void TexturesWidget::selectedPageChanged()
{
    m_viewport->layoutTiles();
    m_viewport->update();
}

void TexturesWidget::selectedRowChanged()
{
    m_viewport->update();
}

void TexturesWidget::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    m_viewport->setMinimumSize(maximumViewportSize());
    QPalette pal = palette();
    pal.setBrush(QPalette::Window, QBrush(mainBackgroundUnder(this, rect())));
    setPalette(pal);
    m_viewport->layoutTiles();
    m_viewport->update();
}

} // namespace Tintor
