#pragma once

#include "ui/chips/MainWidgetAccess.h"

#include <QImage>
#include <QList>
#include <QPair>
#include <QUuid>
#include <QWidget>

#include <vector>

namespace Tintor {
class CardRollerWidget;
class CollectionSelectWidget;
class ColorWheelWidget;
class MoodSelectWidget;
class SearchWidget;
class TabBarWidget;
} // namespace Tintor

namespace Gallery {

// An 800 x 600 stand-in for the main widget: its background and banner,
// and the browsing views placed where the main widget places them, over
// the last used collection. It offers the colour candidates the way the
// main widget does.
class GalleryStage : public QWidget, public Tintor::MainWidgetAccess
{
public:
    explicit GalleryStage(const QUuid &collection);
    ~GalleryStage() override;

    const std::vector<Tintor::LabCandidate> &colorCandidates() const override { return candidates; }

    // Every view with the file name its picture is saved under.
    const QList<QPair<QString, QWidget *>> &views() const { return namedViews; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void addView(const QString &name, QWidget *view);
    void layoutViews();

    QUuid collection;
    QImage background;
    QImage banner;
    std::vector<Tintor::LabCandidate> candidates;
    QList<QPair<QString, QWidget *>> namedViews;

    Tintor::CollectionSelectWidget *collectionSelector = nullptr;
    Tintor::ColorWheelWidget *colorWheel = nullptr;
    Tintor::MoodSelectWidget *moodFilter = nullptr;
    Tintor::SearchWidget *search = nullptr;
    Tintor::CardRollerWidget *cardRoller = nullptr;
    Tintor::TabBarWidget *tabBar = nullptr;
};

} // namespace Gallery
