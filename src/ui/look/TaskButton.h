#pragma once

#include <QColor>
#include <QPushButton>

class QPainter;

namespace Tintor {

// A rounded grey text button of the main widget's button row. Disabled, it
// darkens and shows the forbidden cursor.
class TaskButton : public QPushButton
{
    Q_OBJECT

public:
    explicit TaskButton(QWidget *parent = nullptr);

    QColor borderColor() const { return m_borderColor; }
    QColor textColor() const { return m_textColor; }
    QColor gradientTopColor() const { return m_gradientTopColor; }
    QColor gradientBottomColor() const { return m_gradientBottomColor; }

    // What the button paints with in its current state.
    struct PaintColors
    {
        QColor gradientTop;
        QColor gradientBottom;
        QColor text;
    };
    PaintColors paintColors() const;

    // The grey level (11 r + 16 g + 5 b) / 32 of `color`.
    static int greyLevel(const QColor &color);

protected:
    // For the round companion buttons: their own text colour, and the
    // lighter disabled look of a circle.
    void makeRound(const QColor &textColor);
    // A circle in the button's gradient with the text in the middle.
    void paintRoundButton();
    // The two light blue rings of the keyboard focus.
    void paintFocusRings(QPainter &painter, qreal radius) const;

    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updateCursor();

    QColor m_borderColor{255, 255, 255, 64};
    QColor m_textColor{49, 49, 49};
    QColor m_gradientTopColor{238, 238, 238};
    QColor m_gradientBottomColor{204, 204, 204};
    bool m_round = false;
};

} // namespace Tintor
