#pragma once

#include "db/ColorEntry.h"
#include "db/ItemIndex.h"
#include "engine/inc/Enumerations.h"
#include "ui/palette/PaletteFileReader.h"
#include "ui/palette/PaletteFileWriter.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QUuid>
#include <QWidget>

#include <array>

class QLineEdit;
class QMessageBox;
class QUndoStack;

namespace Tintor {

class ImageButton;

// One position of the palette grid.
struct PaletteCell
{
    QRect rect;
    DB::ItemIndex item;
    QColor color = Qt::transparent;
    QString name;

    bool holdsChip() const { return item.colorId > 0; }
};

// What an undo step restores: every cell's chip and the description as
// they were stored.
struct PaletteContents
{
    std::array<PaletteCell, 24> cells;
    QString description;

    bool operator==(const PaletteContents &other) const;
    bool operator!=(const PaletteContents &other) const { return !(*this == other); }
};

// The user's own palette: a 6 x 4 grid of cells into which chips are dragged
// from the card roller or the harmonizer, with a header bar of tool buttons
// and a one-line description below. One palette serves every collection:
// each cell remembers the collection of its chip. Every change is written
// to the user state at once, and a collection change reloads the whole
// palette from there.
class MyPaletteWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kRowCount = 4;
    static constexpr int kColumnCount = 6;
    // The task button of the main widget that saves the palette.
    static constexpr quint16 kSaveTaskButtonId = 1;

    explicit MyPaletteWidget(QWidget *parent = nullptr);
    ~MyPaletteWidget() override;

    // Read access for the add-on window and the swatch export. A cell is
    // (column, row); points outside the grid give the empty answers.
    int rowCount() const { return kRowCount; }
    int columnCount() const { return kColumnCount; }
    QColor cellColor(const QPoint &cell) const;
    qint64 cellColorId(const QPoint &cell) const;
    DB::ItemIndex cellItem(const QPoint &cell) const;
    QString cellName(const QPoint &cell) const;
    // The chip's description as plain text, one fact a line.
    QString cellDescription(const QPoint &cell) const;
    QString descriptionText() const;
    bool isPaletteEmpty() const;
    int selectedCellCount() const;
    // The n-th selected cell in the order selected; (-1, -1) past the end.
    QPoint selectedCell(int n) const;

    // Empties every cell and stores it; with `clearDescription` also the
    // description. Used when a palette file is read.
    void clearPalette(bool clearDescription);

    // Geometry, for the layout and for tests.
    QRect barRect() const { return m_barRect; }
    QRect cellsRect() const { return m_cellsRect; }
    QRect cellRect(const QPoint &cell) const;
    // The cell under a widget position; (-1, -1) for none.
    QPoint cellAt(const QPoint &position) const;
    QPoint dropCell() const { return m_dropCell; }
    // The cell the arrow keys are on; the focus mark shows it while this
    // widget has the keyboard focus.
    QPoint keyFocusCell() const { return m_keyFocusCell; }

    // The area the cells are centred in, for a widget of `size` with a bar
    // `barHeight` and a description line `editHeight` pixels high.
    static QRect cellAreaFor(const QSize &size, int barHeight, int editHeight);
    // The 24 cell rectangles, row-major, centred in `area`.
    static std::array<QRect, kRowCount * kColumnCount> cellRectsFor(const QRect &area);

    ImageButton *zoomButton() const { return m_zoomButton; }
    ImageButton *eraseButton() const { return m_eraseButton; }
    ImageButton *clearButton() const { return m_clearButton; }
    ImageButton *gridButton() const { return m_gridButton; }
    QLineEdit *descriptionEdit() const { return m_descriptionEdit; }
    // Null until the first clear request.
    QMessageBox *clearQuestion() const { return m_clearQuestion; }

    // Null until a save fails; tells the user which file and why.
    QMessageBox *saveFailureMessage() const { return m_saveFailureMessage; }

    // Every change of the cells or the description, for as long as this
    // widget lives; Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y anywhere in its window
    // (unless a text edit takes them) go back and forth on it.
    QUndoStack *undoStack() const { return m_undoStack; }

Q_SIGNALS:
    void zoomMyPaletteClicked();
    void myPaletteChanged();
    void myPaletteSelectionChanged();
    // Enter asks for the selected cell's colour as the select button would.
    void selectColorRequested();

public Q_SLOTS:
    // Puts a chip into the first selected cell when it is empty, else into
    // the first empty cell after it (row-major, wrapping), else, with every
    // cell full, into the selected cell; without a selection into the first
    // empty cell. That cell becomes the only selected one. False when no
    // cell takes it or the chip is not one of the collection's.
    bool placeChip(const QUuid &collection, const DB::ColorEntry &chip);
    // The same into the first empty cell, whatever is selected: imports fill
    // the palette in their own order.
    bool placeImportedChip(const QUuid &collection, const DB::ColorEntry &chip);
    void selectedCollectionChanged(QUuid collectionId);
    void savePaletteTo(PaletteFileFormat fileFormat, QString path);
    void loadPaletteFrom(PaletteFileFormat expectedFileFormat, QString path);
    void zoomClicked();
    void eraseClicked();
    void clearClicked();
    void gridClicked(bool checked);
    void clearPaletteQuestionFinished(int button);
    void paletteDescriptionEditFinished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    PaletteCell &cellOf(const QPoint &cell);
    const PaletteCell *constCellOf(const QPoint &cell) const;
    void emptyCell(const QPoint &cell);
    void storeCell(const QPoint &cell);
    void selectCell(const QPoint &cell);
    // What a left press on `cell` with `modifiers` does to the selection;
    // the keys call it too, so both leave the same state and signals.
    void pressCell(const QPoint &cell, Qt::KeyboardModifiers modifiers);
    void moveKeyFocus(const QPoint &cell);
    QString cellAccessibleText(const QPoint &cell) const;
    void refreshButtons();
    void layoutChildren();
    // Gives the description edit the piece of the main widget's background
    // that lies behind it.
    void updateDescriptionBackground();
    void showCellToolTip(const QPoint &position);
    void startDragFromCell(const QPoint &position);
    QRect dropHighlightRect(const QPoint &cell) const;
    // The cells a palette file or text list names: those whose chip and
    // card still load from the chip's collection.
    QList<PaletteFileWriter::Chip> paletteFileChips() const;
    // False when the file names a collection that is not installed.
    bool applyPaletteFile(const PaletteFileReader::Document &document);
    void showSaveFailure(const QString &path, const QString &reason);
    PaletteContents contents() const;
    // Pushes an undo step when the contents differ from `before`.
    void recordChange(const QString &text, const PaletteContents &before);
    // Shows and stores `contents` as a change would, for undo and redo.
    void restoreContents(const PaletteContents &contents);
    void fillCell(const QPoint &cell, const QUuid &collection, const DB::ColorEntry &chip, const QString &name);
    void showDescription(const QString &description);
    // The empty cell a placed chip goes into; see placeChip.
    enum Placement { AfterSelection, FirstEmptyCell };
    QPoint placementCell(Placement placement) const;
    bool placeChipFrom(Placement placement, const QUuid &collection, const DB::ColorEntry &chip);

    QImage m_barImage;
    QRect m_barRect;
    ImageButton *m_zoomButton = nullptr;
    ImageButton *m_eraseButton = nullptr;
    ImageButton *m_clearButton = nullptr;
    ImageButton *m_gridButton = nullptr;
    QLineEdit *m_descriptionEdit = nullptr;
    QMessageBox *m_clearQuestion = nullptr;
    std::array<PaletteCell, kRowCount * kColumnCount> m_cells;
    QRect m_cellsRect;
    QList<QPoint> m_selection;
    QRect m_gridBounds{QPoint(0, 0), QPoint(kColumnCount - 1, kRowCount - 1)};
    QPoint m_dropCell{-1, -1};
    QPoint m_pressPosition;
    QPoint m_keyFocusCell{0, 0};
    QMessageBox *m_saveFailureMessage = nullptr;
    QUndoStack *m_undoStack = nullptr;
    // The description as last stored, apart from what is being typed.
    QString m_storedDescription;
};

} // namespace Tintor
