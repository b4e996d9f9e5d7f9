#pragma once

#include "engine/inc/Enumerations.h"

#include <QImage>
#include <QPushButton>

namespace Tintor {

// One of the two image buttons at the right end of the search box that step
// the card roller a card backward or forward. It repeats its clicked()
// while held down and is exactly as large as its normal theme image.
class RollButton : public QPushButton
{
    Q_OBJECT

public:
    explicit RollButton(Direction direction, QWidget *parent = nullptr);

    Direction direction() const { return m_direction; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Direction m_direction;
    QImage m_pressedImage;
    QImage m_normalImage;
};

} // namespace Tintor
