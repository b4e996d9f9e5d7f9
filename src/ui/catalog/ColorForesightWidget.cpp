#include "ui/catalog/ColorForesightWidget.h"

#include "state/UserState.h"
#include "ui/catalog/CatalogBackground.h"
#include "ui/catalog/ColorForesightViewport.h"
#include "ui/chips/ChipAccessibility.h"
#include "ui/look/ProgramFont.h"
#include "ui/look/VestrelCustomStyle.h"

#include <QKeyEvent>
#include <QScrollBar>

namespace Tintor {

namespace {

constexpr int kViewportMargin = 10;

} // namespace

ColorForesightWidget::ColorForesightWidget(QWidget *parent)
    : QScrollArea(parent)
{
    setObjectName(QStringLiteral("ColorForesightWidget"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setViewportMargins(kViewportMargin, kViewportMargin, kViewportMargin, kViewportMargin);
    setFrameShape(QFrame::NoFrame);

    m_viewport = new ColorForesightViewport;
    m_viewport->setAutoFillBackground(false);
    setWidget(m_viewport);
    // The scroll area paints the background, around and under the page.
    setAutoFillBackground(true);
    viewport()->setAutoFillBackground(false);
    m_style = new VestrelCustomStyle;
    m_style->setParent(this);
    verticalScrollBar()->setStyle(m_style);

    const QFont font = programFont(FontStyle::Normal, 2);
    setFont(font);
    m_viewport->setFont(font);

    connect(m_viewport, &ColorForesightViewport::chipChosenInteractively, this,
            &ColorForesightWidget::chipChosenInteractively);
    connect(m_viewport, &ColorForesightViewport::keyFocusMoved, this, [this](QRect chip, QString text) {
        ensureVisible(chip.center().x(), chip.center().y(), chip.width(), chip.height());
        announceKeyFocus(this, text);
    });
}

void ColorForesightWidget::selectedCollectionChanged(QUuid collectionId)
{
    if (isVisible())
        loadCollection(collectionId);
    else
        m_loaded = false;
}

void ColorForesightWidget::loadCollection(const QUuid &collectionId)
{
    m_viewport->loadGroups(collectionId);
    m_viewport->layoutGroups();
    m_loaded = true;
}

void ColorForesightWidget::showEvent(QShowEvent *event)
{
    if (!m_loaded)
        loadCollection(UserState::lastUsedCollection());
    QScrollArea::showEvent(event);
}

void ColorForesightWidget::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    m_viewport->setMinimumSize(maximumViewportSize());
    QPalette pal = palette();
    pal.setBrush(QPalette::Window, QBrush(mainBackgroundUnder(this, rect())));
    setPalette(pal);
    m_viewport->layoutGroups();
}

void ColorForesightWidget::keyPressEvent(QKeyEvent *event)
{
    // The arrows move over the chips; without chips they scroll as usual.
    if (!m_viewport->handleKey(event->key()))
        QScrollArea::keyPressEvent(event);
}

void ColorForesightWidget::focusInEvent(QFocusEvent *event)
{
    QScrollArea::focusInEvent(event);
    m_viewport->setKeyFocusShown(true);
}

void ColorForesightWidget::focusOutEvent(QFocusEvent *event)
{
    QScrollArea::focusOutEvent(event);
    m_viewport->setKeyFocusShown(false);
}

} // namespace Tintor
