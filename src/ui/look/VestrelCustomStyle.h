#pragma once

#include <QImage>
#include <QStyle>

class QStyleOptionSlider;

namespace Tintor {

class ImageButton;

// The program's own look for a few controls: flat scroll bars without
// arrow buttons and with a rounded thumb, horizontal sliders drawn from
// theme images (a three-slice groove, an optional gradient mask and a
// handle), and image buttons. Everything else goes to the application's
// style. Each widget that wants this look owns its own instance, since the
// slider images are per instance; it is never the application's style,
// which it forwards to.
class VestrelCustomStyle : public QStyle
{
    Q_OBJECT

public:
    VestrelCustomStyle();
    ~VestrelCustomStyle() override;

    // Left cap, middle slice and right cap side by side; the caps are
    // squares of the image's height.
    QImage grooveImage;
    // Laid out like the groove; where its red channel is 0 the gradient
    // drawn over the groove is cut away.
    QImage grooveMask;
    QImage handleImage;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    QRect subElementRect(SubElement element, const QStyleOption *option,
                         const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;
    SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex *option, const QPoint &point,
                                     const QWidget *widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                         const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &contentsSize,
                           const QWidget *widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
    QPixmap standardPixmap(StandardPixmap pixmap, const QStyleOption *option = nullptr,
                           const QWidget *widget = nullptr) const override;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
    QPixmap generatedIconPixmap(QIcon::Mode mode, const QPixmap &pixmap, const QStyleOption *option) const override;
    int layoutSpacing(QSizePolicy::ControlType first, QSizePolicy::ControlType second, Qt::Orientation orientation,
                      const QStyleOption *option = nullptr, const QWidget *widget = nullptr) const override;

private:
    bool drawsImageSlider(const QStyleOptionComplex *option) const;
    QRect scrollBarRect(const QStyleOptionSlider &option, SubControl subControl) const;
    SubControl scrollBarHitTest(const QStyleOptionSlider &option, const QPoint &point) const;
    void drawScrollBar(const QStyleOptionSlider &option, QPainter *painter, const QWidget *widget) const;
    void drawScrollBarPage(const QStyleOptionSlider &option, const QRect &rect, QPainter *painter) const;
    void drawScrollBarSlider(const QStyleOptionSlider &option, const QRect &rect, QPainter *painter) const;
    QRect sliderGrooveRect(const QStyleOptionSlider &option) const;
    QRect sliderHandleRect(const QStyleOptionSlider &option) const;
    void drawImageSlider(const QStyleOptionSlider &option, QPainter *painter) const;
    QImage maskedGradient(int width) const;
    void drawImageButton(const ImageButton &button, const QStyleOption *option, QPainter *painter) const;
};

} // namespace Tintor
