#pragma once

#include <QLineEdit>

namespace Tintor {

// A frameless one-line edit over the dark main background that draws the
// program's focus mark round itself while it has the keyboard focus (the
// text cursor alone is too thin to find after a Tab) and moves its text
// inside the mark meanwhile.
class KeyFocusLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit KeyFocusLineEdit(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

} // namespace Tintor
