#include "ui/look/KeyFocusLineEdit.h"

#include "ui/look/KeyFocusMark.h"

#include <QPainter>

namespace Tintor {

namespace {

// Clear of the mark's two lines.
constexpr int kFocusedTextInset = 4;

} // namespace

KeyFocusLineEdit::KeyFocusLineEdit(QWidget *parent)
    : QLineEdit(parent)
{
}

void KeyFocusLineEdit::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    paintKeyFocusMark(painter, QRectF(rect()), 3.0);
}

void KeyFocusLineEdit::focusInEvent(QFocusEvent *event)
{
    setTextMargins(kFocusedTextInset, 0, kFocusedTextInset, 0);
    QLineEdit::focusInEvent(event);
}

void KeyFocusLineEdit::focusOutEvent(QFocusEvent *event)
{
    setTextMargins(0, 0, 0, 0);
    QLineEdit::focusOutEvent(event);
}

} // namespace Tintor
