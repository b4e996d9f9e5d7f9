#include "GalleryStage.h"

#include "db/CollectionSettings.h"
#include "db/SearchQueries.h"
#include "ui/browse/CardRollerWidget.h"
#include "ui/browse/CollectionSelectWidget.h"
#include "ui/browse/ColorWheelWidget.h"
#include "ui/browse/MoodSelectWidget.h"
#include "ui/browse/SearchWidget.h"
#include "ui/browse/TabBarWidget.h"
#include "ui/look/ProgramFont.h"
#include "ui/look/Theme.h"

#include <QPainter>

namespace Gallery {

using namespace Tintor;

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kHeaderHeight = 70;

} // namespace

GalleryStage::GalleryStage(const QUuid &collectionId)
    : collection(collectionId)
{
    setFixedSize(kWidth, kHeight);
    setFont(programFont(FontStyle::Normal, 2));
    background = themeImage(ThemeItem::MainBackground, size());
    banner = themeImage(collection, ThemeItem::Banner, QSize(kWidth, kHeaderHeight));
    DB::matchCandidates(collection, candidates);
    setCurrent(this);

    // In the main widget's order of creation.
    collectionSelector = new CollectionSelectWidget(this);
    colorWheel = new ColorWheelWidget(this);
    moodFilter = new MoodSelectWidget(this);
    search = new SearchWidget(this);
    cardRoller = new CardRollerWidget(this);
    tabBar = new TabBarWidget(this);
    addView(QStringLiteral("collection-selector"), collectionSelector);
    addView(QStringLiteral("color-wheel"), colorWheel);
    addView(QStringLiteral("mood-filter"), moodFilter);
    addView(QStringLiteral("search"), search);
    addView(QStringLiteral("card-roller"), cardRoller);
    addView(QStringLiteral("tab-bar"), tabBar);
    // My Palette and the other views of the right-hand column go here, with
    // their rectangles in layoutViews(); addView() has them saved as well.

    layoutViews();
}

GalleryStage::~GalleryStage()
{
    setCurrent(nullptr);
}

void GalleryStage::addView(const QString &name, QWidget *view)
{
    namedViews.append({name, view});
}

// The main widget's layout of its children, for the views that exist.
void GalleryStage::layoutViews()
{
    moodFilter->setVisible(CollectionSettings::isMoodVisible(collection));
    QRect content = rect();
    content.setTop(kHeaderHeight + 1);
    const QFontMetrics linkMetrics(programFont(FontStyle::Normal, 1));
    content.setBottom(content.bottom() - 12 - linkMetrics.height());

    collectionSelector->setGeometry(QRect(content.topLeft(), collectionSelector->sizeHint()));
    const QRect selector = collectionSelector->geometry();

    const QSize wheelSize = colorWheel->sizeHint();
    colorWheel->setGeometry(QRect(QPoint(selector.left() + (selector.width() - wheelSize.width()) / 2,
                                         selector.bottom() + 10),
                                  wheelSize));

    moodFilter->layoutContents();
    const QSize moodSize = moodFilter->sizeHint();
    moodFilter->setGeometry(QRect(QPoint(selector.left() + (selector.width() - moodSize.width()) / 2,
                                         colorWheel->geometry().bottom() + 10),
                                  moodSize));

    const QSize searchSize = search->sizeHint();
    search->setGeometry(QRect(QPoint(content.left() + 12, content.bottom() - searchSize.height() + 1), searchSize));
    search->setBackgroundImage(background.copy(search->geometry()));

    // isVisible() would be false while the stage itself is hidden.
    const int rollerTop = (moodFilter->isVisibleTo(this) ? moodFilter->geometry().bottom() : colorWheel->geometry().bottom()) + 6;
    cardRoller->setGeometry(QRect(QPoint(search->geometry().left(), rollerTop),
                                  QPoint(search->geometry().right(), search->geometry().top() - 7)));

    tabBar->setGeometry(QRect(QPoint(selector.right() + 1, selector.top()),
                              QPoint(selector.left() + width() - 1, selector.bottom())));
}

void GalleryStage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), background);
    if (!banner.isNull())
        painter.drawImage(QPoint((width() - banner.width()) / 2, (kHeaderHeight - banner.height()) / 2), banner);
    painter.setPen(QColor(188, 188, 188));
    const QRect selector = collectionSelector->geometry();
    painter.drawLine(selector.right() + 1, selector.top(), selector.right() + 1, height());
}

} // namespace Gallery
