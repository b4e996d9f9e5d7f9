#include "ui/look/AboutButton.h"

#include "ui/look/ProgramFont.h"

namespace Tintor {

AboutButton::AboutButton(QWidget *parent)
    : TaskButton(parent)
{
    makeRound(QColor(0, 129, 183));
    setFont(programFont(FontStyle::Bold, 4));
    setText(QString(QChar(0x2026)));
}

void AboutButton::paintEvent(QPaintEvent *)
{
    paintRoundButton();
}

} // namespace Tintor
