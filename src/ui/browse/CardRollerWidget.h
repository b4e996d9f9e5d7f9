#pragma once

#include "db/ColorPage.h"
#include "db/QuerySupport.h"
#include "engine/inc/Enumerations.h"

#include <QHash>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QUuid>
#include <QVector>
#include <QWidget>

#include <array>
#include <vector>

class QFontMetrics;
class QMimeData;

namespace Tintor {

// The central view of the main widget: three cards of the current
// collection side by side, the current card in the middle and its
// neighbours left and right, each a column of chips under a title. Clicking
// a chip selects it (on a side card it first rolls that card into the
// middle), the mouse wheel rolls, hovering describes a chip, chips of the
// middle card can be dragged away, and dropped chips or colours are looked
// up in the collections. By keys: Up and Down select the chip above or
// below, Left and Right roll, Home and End go to the first and last card of
// the segment, Return offers the selected chip to My Palette. The current card, chip and filters are read from
// the user state on every paint and every input; choices go out only as
// signals.
class CardRollerWidget : public QWidget
{
    Q_OBJECT

public:
    enum Slot {
        LeftSlot = 0,
        MiddleSlot = 1,
        RightSlot = 2,
    };
    static constexpr int kSlotCount = 3;

    // A chip in the last paint: its slot and 0-based position on that card.
    struct ChipHit
    {
        int slot = -1;
        int chip = -1;
        bool isValid() const { return slot >= 0 && chip >= 0; }
    };

    explicit CardRollerWidget(QWidget *parent = nullptr);

    // Geometry of the last layout; rectangles have inclusive right and
    // bottom coordinates.
    QRect cardRect(int slot) const;
    QRect titleRect(int slot) const;
    // All three cards: where drops are taken.
    QRect dropArea() const { return cardsArea; }
    int titleHeight() const { return titleStripHeight; }

    // Chips and cards of the last paint.
    int chipCount(int slot) const;
    QRect chipRect(int slot, int chip) const;
    ChipHit chipAt(const QPoint &position) const;
    const DB::ColorPage &card(int slot) const;

    // The height of the title strip for `metrics`: one full line plus 2.
    static int titleHeightFor(const QFontMetrics &metrics);
    // Card rectangles by slot for a widget of `size`.
    static std::array<QRect, kSlotCount> layoutCards(const QSize &size, int titleHeight);
    static QRect titleRectFor(const QRect &card, int titleHeight);
    // Chip rectangles of a card with `chipCount` chips: equal heights with a
    // one-pixel separator, the last chip taking the remainder. No chips, or
    // more chips than pixel rows, gives none.
    static QVector<QRect> layoutChips(const QRect &card, int chipCount);
    // The card's name at the first display index, or its page index when
    // that name is empty or there is no display index.
    static QString cardTitle(const DB::ColorPage &page, const QList<qint64> &displayOrder);
    // Masked chips are shown under the made-to-order picture and cannot be
    // selected.
    static bool isMasked(const DB::ColorEntry &chip, int cardType, bool showMto);
    // Source kinds whose drops the roller takes (not its own chips).
    static bool acceptsSource(const QMimeData *mime);

    // The chip the current card and row name; false when there is none.
    static bool selectedChip(const QUuid &collection, DB::ColorEntry &chip);

Q_SIGNALS:
    void roll(Tintor::Direction dir);
    void pageChangedInteractively(int newPage);
    void rowChangedInteractively(int newRow);
    void collectionSelectedInteractively(const QUuid &collectionId);
    // The user asked for the selected chip to go into My Palette.
    void chipChosenForPaletteInteractively(const QUuid &collectionId, const Tintor::DB::ColorEntry &chip);

public Q_SLOTS:
    void selectedCollectionChanged(const QUuid &collectionId);
    // Reports the selected chip for My Palette, unless disabled or empty.
    void chooseSelectedChipForPalette();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // The row (from 1) of the next chip a click could select, above or
    // below `rowIndex` on `page`; 0 when there is none.
    static int neighbourRow(const DB::ColorPage &page, int rowIndex, bool down, int cardType, bool showMto);
    // The first or last card of the middle card's segment that passes the
    // filter; the page index, or 0 when the card is unknown.
    static int segmentEndPage(const QUuid &collection, const DB::ColorPage &middle, bool last);
    void layoutGeometry();
    bool loadCards(const QUuid &collection);
    void paintCard(QPainter &painter, int slot, int cardType, bool showMto, int rowIndex, QRect &highlight);
    const QPixmap &maskFor(const QSize &chipSize);
    void showChipTooltip(const QPoint &position);
    // The chip a dropped payload names, found by reference, code, colour or
    // nearest colour; false when none qualifies.
    bool findDroppedChip(const QMimeData *mime, QUuid &collectionUuid, DB::ColorPage &page,
                         DB::ColorEntry &chip) const;
    bool findNearestChip(const QColor &color, DB::ColorEntry &chip) const;
    void selectDroppedChip(const QUuid &collectionUuid, const DB::ColorPage &page, const DB::ColorEntry &chip);

    QPixmap mtoPixmap;
    std::vector<int> paintOrder;
    std::array<DB::ColorPage, kSlotCount> cards;
    // What the cards were read for: a repaint with the same page, filter and
    // file content shows the same cards without reading them again.
    struct CardsSource
    {
        QUuid collection;
        int pageIndex = -1;
        int mood = -1;
        bool exterior = false;
        DB::QuerySupport::ContentStamp stamp;
    };
    CardsSource cardsSource;
    std::array<QRect, kSlotCount> cardRects;
    QRect cardsArea;
    std::array<QRect, kSlotCount> titleRects;
    std::array<QVector<QRect>, kSlotCount> chipRects;
    QPoint pressPosition;

    int titleStripHeight = 0;
    // mtoPixmap scaled to the chip sizes it was drawn at (side and middle
    // cards differ), keyed by width and height.
    QHash<quint64, QPixmap> scaledMtoPixmaps;
};

} // namespace Tintor
