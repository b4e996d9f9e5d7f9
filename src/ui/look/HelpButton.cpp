#include "ui/look/HelpButton.h"

#include "ui/look/ProgramFont.h"

namespace Tintor {

HelpButton::HelpButton(QWidget *parent)
    : TaskButton(parent)
{
    makeRound(QColor(0, 129, 183));
    setFont(programFont(FontStyle::Bold, 4));
    setText(QStringLiteral("?"));
}

void HelpButton::paintEvent(QPaintEvent *)
{
    paintRoundButton();
}

} // namespace Tintor
