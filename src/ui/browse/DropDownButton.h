#pragma once

#include <QImage>
#include <QPushButton>

namespace Tintor {

// The small arrow button of the collection selector that opens and closes
// its list. It paints the selector's background under itself first, so it
// blends into the header, then the down or up arrow.
class DropDownButton : public QPushButton
{
    Q_OBJECT

public:
    explicit DropDownButton(QWidget *parent = nullptr);

    void setBackgroundImage(const QImage &image) { m_backgroundImage = image; }
    const QImage &backgroundImage() const { return m_backgroundImage; }
    // True while the list is hidden (down arrow).
    bool isClosed() const { return m_closed; }
    void setClosed(bool closed);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_backgroundImage;
    QImage m_downArrowImage;
    QImage m_upArrowImage;
    bool m_closed = true;
};

} // namespace Tintor
