#pragma once

#include "engine/inc/Enumerations.h"

#include <QImage>
#include <QLine>
#include <QRect>
#include <QSize>
#include <QUuid>
#include <QVector>
#include <QWidget>

#include <array>

namespace Tintor {

// The filter panel of the main widget. For normal cards it offers six mood
// buttons, an all-moods check item and, where the collection has one, an
// exterior-colours check item; for pelvon cards a single item that hides
// made-to-order colours; for any other card type nothing. The filter values
// are read from the user state whenever the panel paints or handles input
// and are only ever reported by signal, never written here. By keys the
// arrows move a focus mark over the items and Space acts as a click on the
// marked one.
class MoodSelectWidget : public QWidget
{
    Q_OBJECT

public:
    // The measured parts a layout is made of.
    struct LayoutInput
    {
        int cardType = CardOther;
        bool hasExteriorFilter = true;
        // Normal images of fresh, calm, warm, rich, off-white, neutral.
        std::array<QSize, 6> moodImageSizes;
        QSize tickSize;
        // Single-line text sizes of the three check item labels.
        QSize allMoodsTextSize;
        QSize exteriorTextSize;
        QSize mtoTextSize;
    };

    // Rectangles use inclusive right and bottom coordinates.
    struct Layout
    {
        QSize size{0, 0};
        // Fresh, calm, warm, rich, off-white, neutral.
        std::array<QRect, 6> moodRects;
        QRect allMoodsItem;
        QRect exteriorItem;
        QRect mtoItem;
        QLine lineBelowMoods;
        QLine lineLeftOfColumn;
        QLine lineAboveExterior;
    };

    static Layout computeLayout(const LayoutInput &input);
    // Width and height of a check item with a label of `textSize`.
    static QSize checkItemSize(const QSize &tickSize, const QSize &textSize);

    explicit MoodSelectWidget(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Lays out again unless the geometry is the one laid out last.
    void layoutContents();

    const Layout &currentLayout() const { return layout; }
    QRect moodRect(Mood mood) const;
    // The mood button under `point`, or 0.
    int moodAt(const QPoint &point) const;
    // The items the keys visit, in panel order: the six moods, all moods and
    // exterior colours for normal cards; the made-to-order item for pelvon
    // cards; none otherwise.
    QVector<QRect> keyItems() const;
    // The item the focus mark is on; -1 when there are no items.
    int keyFocusItem() const;

Q_SIGNALS:
    void moodFilterChangedInteractively(Tintor::Mood newMood);
    void exteriorFilterChangedInteractively(bool exterior);
    void showMtoChangedInteractively(bool showMto);

public Q_SLOTS:
    void selectedCollectionChanged(const QUuid &collectionId);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // What a left click at `position` does.
    void clickAt(const QPoint &position);
    struct MoodImages
    {
        QImage normal;
        QImage selected;
    };

    void loadImages();
    void updateCursor(const QPoint &position);
    bool isActiveSpot(const QPoint &position) const;
    void paintCheckItem(QPainter &painter, const QRect &item, const QString &key, bool ticked) const;
    void paintFocusedItem(QPainter &painter) const;

    // Fresh, calm, warm, rich, off-white, neutral.
    std::array<MoodImages, 6> moodImages;
    QImage tick;
    QImage disabledMark;
    QRect lastLayoutGeometry;
    Layout layout;
    // Where the keys are, not a filter value: kept by the view itself.
    int keyFocus = 0;
};

} // namespace Tintor
