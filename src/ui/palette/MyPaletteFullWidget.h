#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QUuid>
#include <QWidget>

class QSlider;
class QUndoStack;

namespace Tintor {

class ImageButton;
class VestrelCustomStyle;

// My Palette enlarged, on a grey surround whose brightness the user sets
// with a slider, so that the colours can be judged against a neutral
// background. A click on a cell fills the grid area with that colour, the
// next click returns to the grid. It reads the cells from the user state on
// every paint and changes the palette only through My Palette's undo stack,
// whose keys reach it too.
class MyPaletteFullWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kRowCount = 4;
    static constexpr int kColumnCount = 6;
    static constexpr int kDefaultBackground = 176;

    explicit MyPaletteFullWidget(QWidget *parent = nullptr);
    ~MyPaletteFullWidget() override;

    // Geometry, for tests.
    QRect barRect() const { return m_barRect; }
    QRect gridRect() const { return m_gridRect; }
    int cellWidth() const { return m_cellWidth; }
    int cellHeight() const { return m_cellHeight; }
    QRect cellRect(const QPoint &cell) const;
    // The cell under a widget position; (-1, -1) for none.
    QPoint cellAt(const QPoint &position) const;

    // Cell size and grid for a widget of `size` under a bar `barHeight`
    // pixels high.
    static QSize cellSizeFor(const QSize &size);
    static QRect gridRectFor(const QSize &size, int barHeight);

    QColor shownColor() const { return m_shownColor; }
    ImageButton *backButton() const { return m_backButton; }
    QSlider *backgroundSlider() const { return m_backgroundSlider; }
    VestrelCustomStyle *sliderStyle() const { return m_sliderStyle; }
    // My Palette's steps; each one shows here at once.
    void setUndoStack(QUndoStack *stack);

Q_SIGNALS:
    void backButtonClicked();

public Q_SLOTS:
    void selectedCollectionChanged(QUuid collectionId);
    void backClicked();
    void backgroundColorSliderValueChanged(int value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    // The colour of a stored cell; invalid when the cell names no chip that
    // loads.
    static QColor storedCellColor(const QPoint &cell);

    QImage m_barImage;
    QRect m_barRect;
    ImageButton *m_backButton = nullptr;
    QSlider *m_backgroundSlider = nullptr;
    VestrelCustomStyle *m_sliderStyle = nullptr;
    QColor m_shownColor = Qt::transparent;
    QRect m_gridRect;
    int m_cellWidth = 0;
    int m_cellHeight = 0;
    QRect m_gridBounds{QPoint(0, 0), QPoint(kColumnCount - 1, kRowCount - 1)};
};

} // namespace Tintor
