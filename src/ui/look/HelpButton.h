#pragma once

#include "ui/look/TaskButton.h"

namespace Tintor {

// The round "?" button next to the task buttons; opens the help.
class HelpButton : public TaskButton
{
    Q_OBJECT

public:
    explicit HelpButton(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace Tintor
