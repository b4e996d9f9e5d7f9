#pragma once

#include "db/ColorEntry.h"

#include <QColor>
#include <QDialog>
#include <QHash>
#include <QRect>
#include <QVector>

class QCheckBox;
class QLabel;

namespace Tintor {

// Asks the user which of up to six collection colours should stand for a
// colour the collection does not hold. The colour fills the dialog, the
// candidates sit on it as large swatches, nearest first; a click on one
// accepts the dialog with that chip.
class SelectNearestColorDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kMaximumSwatches = 6;

    SelectNearestColorDialog(const QColor &referenceColor, const QVector<DB::ColorEntry> &candidates,
                             QWidget *parent = nullptr);

    // The clicked candidate; cleared (id -1) unless the dialog was accepted.
    DB::ColorEntry chosenEntry() const { return m_chosenEntry; }

    // Swatch geometry for a dialog of `size` whose font is `fontHeight`
    // pixels high: candidate k (nearest first) in row k / 3, column k % 3.
    static QRect swatchRect(const QSize &size, int fontHeight, int candidate);
    // The candidate index under `position`, or -1.
    int swatchAt(const QPoint &position) const;
    QRect swatchRect(int candidate) const;
    // The chip's description and how far it lies from the reference colour;
    // empty when the chip cannot be read.
    QString swatchToolTip(int candidate) const;
    QCheckBox *framedChipsCheckBox() const { return m_framedChips; }
    QLabel *instructionLabel() const { return m_instruction; }

public Q_SLOTS:
    void framedChipsStateChanged(bool checked);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QColor m_referenceColor;
    QVector<DB::ColorEntry> m_candidates;
    QHash<qint64, int> m_positionById;
    // CIEDE2000 from the reference colour, by candidate.
    QVector<double> m_differences;
    DB::ColorEntry m_chosenEntry;
    QLabel *m_instruction = nullptr;
    QCheckBox *m_framedChips = nullptr;
    QVector<QRect> m_swatchRects;
};

} // namespace Tintor
