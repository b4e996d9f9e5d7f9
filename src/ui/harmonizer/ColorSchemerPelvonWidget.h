#pragma once

#include "db/ColorEntry.h"

#include <QPair>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <QVector>
#include <QWidget>

namespace Tintor {

// The harmonizer page for pelvon collections: no scheme buttons, one fixed
// scheme of exactly three chips for the selected chip, titled wide contrast
// 1, contrast and wide contrast 2. The chips are asked for on every paint,
// so a repaint after the selected chip changed is enough.
class ColorSchemerPelvonWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ColorSchemerPelvonWidget(QWidget *parent = nullptr);

    // The titles on screen, left to right.
    QVector<QPair<QRect, QString>> captions() const { return m_captions; }
    // The chip places, left to right (laid out even while no chip shows).
    QRect chipRect(int column) const;
    // The chips of the last paint: none or exactly three.
    QVector<QPair<QRect, DB::ColorEntry>> chips() const { return m_chips; }
    // The chip the arrow keys are on, -1 for none.
    int keyFocusChip() const { return m_keyFocusChip < m_chips.size() ? m_keyFocusChip : -1; }

Q_SIGNALS:
    // Enter on a chip: it goes into My Palette as a drop of it would.
    void chipChosenInteractively(QUuid collectionId, Tintor::DB::ColorEntry chip);

public Q_SLOTS:
    void selectedCollectionChanged(QUuid collectionId);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void layout(const QRect &rect);
    void moveKeyFocus(int chip);

    QVector<QPair<QRect, QString>> m_captions;
    QVector<QPair<QRect, DB::ColorEntry>> m_chips;
    QStringList m_descriptions;
    QString m_wideContrast1;
    QString m_wideContrast2;
    QString m_contrast;
    QRect m_leftTitle;
    QRect m_leftChip;
    QRect m_middleTitle;
    QRect m_middleChip;
    QRect m_rightTitle;
    QRect m_rightChip;
    QPoint m_pressPosition;
    int m_keyFocusChip = -1;
    // What the chips were asked for: the scheme query and three tooltip
    // texts would otherwise run again on every hover repaint.
    QUuid m_chipsCollection;
    int m_chipsPage = -1;
    int m_chipsRow = -1;
};

} // namespace Tintor
