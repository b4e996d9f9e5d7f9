#include "ui/look/ImageButton.h"

#include "ui/look/VestrelCustomStyle.h"

#include <QEasingCurve>
#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QPropertyAnimation>
#include <QSequentialAnimationGroup>

namespace Tintor {

namespace {

constexpr int kFadeDuration = 800;
constexpr double kFadedOpacity = 0.2;

QImage halfTransparent(const QImage &image)
{
    if (image.isNull())
        return QImage();
    QImage result(image.size(), QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setOpacity(0.5);
    painter.drawImage(0, 0, image);
    return result;
}

QPropertyAnimation *makeFade(QObject *parent, double from, double to)
{
    auto *animation = new QPropertyAnimation(parent);
    animation->setPropertyName("opacity");
    animation->setDuration(kFadeDuration);
    animation->setStartValue(from);
    animation->setEndValue(to);
    animation->setEasingCurve(QEasingCurve::OutQuart);
    return animation;
}

} // namespace

ImageButton::ImageButton(const QImage &normal, const QImage &down, QWidget *parent)
    : QPushButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    auto *style = new VestrelCustomStyle;
    style->setParent(this);
    setStyle(style);
    if (!normal.isNull())
        m_normalImage = normal;
    m_downImage = down;
    m_disabledImage = halfTransparent(m_normalImage);

    m_fadeOutAnimation = makeFade(this, 1.0, kFadedOpacity);
    m_fadeInAnimation = makeFade(this, kFadedOpacity, 1.0);
    m_pulseGroup = new QSequentialAnimationGroup(this);
    m_pulseGroup->addAnimation(m_fadeInAnimation);
    m_pulseGroup->addAnimation(m_fadeOutAnimation);
    m_pulseGroup->setLoopCount(-1);
}

ImageButton::~ImageButton()
{
    disconnect(m_fadeInFinished);
    m_pulseGroup->stop();
    m_fadeInAnimation->stop();
}

bool ImageButton::isPulsing() const
{
    return m_pulseGroup->state() != QAbstractAnimation::Stopped;
}

void ImageButton::startFadeIn()
{
    if (!isVisible() || m_pulseGroup->state() == QAbstractAnimation::Running)
        return;
    // A closing fade-in of the previous pulse must not run on and later
    // remove the new pulse's effect.
    if (m_fadeInAnimation->state() != QAbstractAnimation::Stopped) {
        disconnect(m_fadeInFinished);
        m_fadeInAnimation->stop();
    }
    auto *effect = new QGraphicsOpacityEffect(this);
    m_fadeOutAnimation->setTargetObject(effect);
    m_fadeInAnimation->setTargetObject(effect);
    setGraphicsEffect(effect);
    m_pulseGroup->start();
}

void ImageButton::stopFadeIn()
{
    if (!isVisible() || m_pulseGroup->state() == QAbstractAnimation::Stopped)
        return;
    m_pulseGroup->stop();
    disconnect(m_fadeInFinished);
    m_fadeInFinished =
        connect(m_fadeInAnimation, &QAbstractAnimation::finished, this, &ImageButton::fadeInAnimationStopped);
    // Outside the stopped group the fade-in runs on its own, once.
    m_fadeInAnimation->start();
}

void ImageButton::fadeInAnimationStopped()
{
    disconnect(m_fadeInFinished);
    setGraphicsEffect(nullptr);
    update();
}

void ImageButton::setVisible(bool visible)
{
    if (!visible)
        stopFadeIn();
    QPushButton::setVisible(visible);
}

} // namespace Tintor
