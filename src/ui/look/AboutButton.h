#pragma once

#include "ui/look/TaskButton.h"

namespace Tintor {

// The round ellipsis button next to the task buttons; opens the about box.
class AboutButton : public TaskButton
{
    Q_OBJECT

public:
    explicit AboutButton(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace Tintor
