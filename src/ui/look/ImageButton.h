#pragma once

#include <QImage>
#include <QMetaObject>
#include <QPushButton>

class QPropertyAnimation;
class QSequentialAnimationGroup;

namespace Tintor {

// A push button that shows only an image: its normal image, its down image
// while pressed and a half-transparent copy of the normal image while
// disabled. It can pulse (fade out and in without end) to draw the user's
// attention, as the Capsure button does when a measurement arrives.
class ImageButton : public QPushButton
{
    Q_OBJECT

public:
    ImageButton(const QImage &normal, const QImage &down, QWidget *parent = nullptr);
    ~ImageButton() override;

    const QImage &normalImage() const { return m_normalImage; }
    const QImage &downImage() const { return m_downImage; }
    const QImage &disabledImage() const { return m_disabledImage; }

    // Starts pulsing; only while the button is visible and not pulsing.
    void startFadeIn();
    // Stops pulsing and fades back to full opacity; only while visible and
    // pulsing.
    void stopFadeIn();
    bool isPulsing() const;

    void setVisible(bool visible) override;

public Q_SLOTS:
    void fadeInAnimationStopped();

private:
    QImage m_downImage;
    QImage m_normalImage;
    QImage m_disabledImage;
    QPropertyAnimation *m_fadeOutAnimation = nullptr;
    QPropertyAnimation *m_fadeInAnimation = nullptr;
    QSequentialAnimationGroup *m_pulseGroup = nullptr;
    QMetaObject::Connection m_fadeInFinished;
};

} // namespace Tintor
