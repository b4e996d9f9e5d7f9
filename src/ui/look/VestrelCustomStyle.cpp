#include "ui/look/VestrelCustomStyle.h"

#include "ui/look/ImageButton.h"
#include "ui/look/KeyFocusMark.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QStyleOption>

#include <cmath>

namespace Tintor {

namespace {

constexpr int kScrollBarExtent = 12;
constexpr int kScrollBarSliderMinimum = 32;
// The thumb is inset this far from both long sides of the bar, and its
// rounded ends are circles of twice the inset.
constexpr int kThumbInset = 3;
constexpr int kThumbEndDiameter = 6;

const QColor kPageColorNear(152, 152, 152);
const QColor kPageColorFar(144, 144, 144);
const QColor kThumbColorNear(192, 192, 192);
const QColor kThumbColorFar(208, 208, 208);

QStyle *applicationStyle()
{
    return QApplication::style();
}

int roundedPixel(double value)
{
    return int(std::floor(value + 0.5));
}

// Where the scroll bar's slider and pages start and end along the bar.
struct ScrollBarSpans
{
    bool vertical = true;
    int length = 0;
    int position = 0;
    int sliderStart = 0;
    int sliderLength = 0;
    int addPageStart = 0;
};

ScrollBarSpans scrollBarSpans(const QStyleOptionSlider &option)
{
    ScrollBarSpans spans;
    spans.vertical = option.orientation == Qt::Vertical;
    spans.length = spans.vertical ? option.rect.height() : option.rect.width();
    spans.position = option.sliderPosition - option.minimum;
    const double total = double(option.maximum) - double(option.minimum) + double(option.pageStep);
    if (total <= 0) {
        // Nothing to scroll and no page: the slider fills the bar.
        spans.sliderLength = spans.length;
        spans.addPageStart = spans.length;
        return spans;
    }
    const double scale = spans.length / total;
    spans.sliderStart = roundedPixel(spans.position * scale);
    spans.sliderLength = roundedPixel(option.pageStep * scale);
    spans.addPageStart = roundedPixel((double(spans.position) + option.pageStep) * scale);
    return spans;
}

// A rectangle across the bar's full thickness from `start` for `size`
// pixels along it.
QRect alongBar(const QStyleOptionSlider &option, bool vertical, int start, int size)
{
    const QRect &rect = option.rect;
    if (vertical)
        return QRect(rect.left(), rect.top() + start, rect.width(), size);
    return QRect(rect.left() + start, rect.top(), size, rect.height());
}

QLinearGradient acrossBar(const QRect &rect, bool vertical, const QColor &near, const QColor &far)
{
    QLinearGradient gradient(rect.topLeft(), vertical ? QPointF(rect.right() + 1, rect.top())
                                                      : QPointF(rect.left(), rect.bottom() + 1));
    gradient.setColorAt(0, near);
    gradient.setColorAt(1, far);
    return gradient;
}

} // namespace

VestrelCustomStyle::VestrelCustomStyle() = default;

VestrelCustomStyle::~VestrelCustomStyle() = default;

void VestrelCustomStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                       const QWidget *widget) const
{
    applicationStyle()->drawPrimitive(element, option, painter, widget);
}

void VestrelCustomStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                     const QWidget *widget) const
{
    if (element == CE_PushButton) {
        if (const auto *button = qobject_cast<const ImageButton *>(widget)) {
            drawImageButton(*button, option, painter);
            return;
        }
    }
    applicationStyle()->drawControl(element, option, painter, widget);
}

QRect VestrelCustomStyle::subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const
{
    if (element == SE_PushButtonLayoutItem && option && qobject_cast<const ImageButton *>(widget))
        return option->rect;
    return applicationStyle()->subElementRect(element, option, widget);
}

void VestrelCustomStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                            QPainter *painter, const QWidget *widget) const
{
    if (control == CC_ScrollBar) {
        const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option);
        if (slider && slider->version >= 1) {
            drawScrollBar(*slider, painter, widget);
            return;
        }
    } else if (control == CC_Slider && drawsImageSlider(option)) {
        const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option);
        // A vertical image slider has no drawing of its own.
        if (slider->orientation == Qt::Horizontal)
            drawImageSlider(*slider, painter);
        return;
    }
    applicationStyle()->drawComplexControl(control, option, painter, widget);
}

QStyle::SubControl VestrelCustomStyle::hitTestComplexControl(ComplexControl control,
                                                             const QStyleOptionComplex *option,
                                                             const QPoint &point, const QWidget *widget) const
{
    const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (control == CC_ScrollBar && slider && slider->version >= 1)
        return scrollBarHitTest(*slider, point);
    if (control == CC_Slider && drawsImageSlider(option) && slider->orientation == Qt::Horizontal) {
        if (sliderHandleRect(*slider).contains(point))
            return SC_SliderHandle;
        if (sliderGrooveRect(*slider).contains(point))
            return SC_SliderGroove;
        return SC_None;
    }
    return applicationStyle()->hitTestComplexControl(control, option, point, widget);
}

QRect VestrelCustomStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                                         SubControl subControl, const QWidget *widget) const
{
    const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (control == CC_ScrollBar && slider && slider->version >= 1)
        return scrollBarRect(*slider, subControl);
    if (control == CC_Slider && drawsImageSlider(option) && slider->orientation == Qt::Horizontal) {
        if (subControl == SC_SliderGroove)
            return sliderGrooveRect(*slider);
        if (subControl == SC_SliderHandle)
            return sliderHandleRect(*slider);
    }
    return applicationStyle()->subControlRect(control, option, subControl, widget);
}

int VestrelCustomStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    switch (metric) {
    case PM_ScrollBarExtent:
        return kScrollBarExtent;
    case PM_ScrollBarSliderMin:
        return kScrollBarSliderMinimum;
    case PM_SliderThickness:
    case PM_SliderControlThickness:
        if (!handleImage.isNull())
            return handleImage.height();
        break;
    case PM_SliderLength:
        if (!handleImage.isNull())
            return handleImage.width();
        break;
    case PM_SliderTickmarkOffset:
        return 0;
    default:
        break;
    }
    return applicationStyle()->pixelMetric(metric, option, widget);
}

QSize VestrelCustomStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &contentsSize,
                                           const QWidget *widget) const
{
    return applicationStyle()->sizeFromContents(type, option, contentsSize, widget);
}

int VestrelCustomStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                                  QStyleHintReturn *returnData) const
{
    return applicationStyle()->styleHint(hint, option, widget, returnData);
}

QPixmap VestrelCustomStyle::standardPixmap(StandardPixmap pixmap, const QStyleOption *option,
                                           const QWidget *widget) const
{
    return applicationStyle()->standardPixmap(pixmap, option, widget);
}

QIcon VestrelCustomStyle::standardIcon(StandardPixmap icon, const QStyleOption *option, const QWidget *widget) const
{
    return applicationStyle()->standardIcon(icon, option, widget);
}

QPixmap VestrelCustomStyle::generatedIconPixmap(QIcon::Mode mode, const QPixmap &pixmap,
                                                const QStyleOption *option) const
{
    return applicationStyle()->generatedIconPixmap(mode, pixmap, option);
}

int VestrelCustomStyle::layoutSpacing(QSizePolicy::ControlType first, QSizePolicy::ControlType second,
                                      Qt::Orientation orientation, const QStyleOption *option,
                                      const QWidget *widget) const
{
    return applicationStyle()->layoutSpacing(first, second, orientation, option, widget);
}

bool VestrelCustomStyle::drawsImageSlider(const QStyleOptionComplex *option) const
{
    return !grooveImage.isNull() && !handleImage.isNull()
        && qstyleoption_cast<const QStyleOptionSlider *>(option) != nullptr;
}

QRect VestrelCustomStyle::scrollBarRect(const QStyleOptionSlider &option, SubControl subControl) const
{
    const ScrollBarSpans spans = scrollBarSpans(option);
    switch (subControl) {
    case SC_ScrollBarSlider:
        return alongBar(option, spans.vertical, spans.sliderStart, spans.sliderLength);
    case SC_ScrollBarSubPage:
        if (spans.position <= 0)
            return QRect();
        return alongBar(option, spans.vertical, 0, spans.sliderStart);
    case SC_ScrollBarAddPage:
        if (option.sliderPosition >= option.maximum)
            return QRect();
        return alongBar(option, spans.vertical, spans.addPageStart, spans.length - spans.addPageStart);
    case SC_ScrollBarGroove:
        // Without arrow buttons the groove is the whole bar; the scroll bar
        // maps drag positions to values through it.
        return option.rect;
    default:
        // No arrow buttons, no first and last buttons.
        return QRect();
    }
}

QStyle::SubControl VestrelCustomStyle::scrollBarHitTest(const QStyleOptionSlider &option, const QPoint &point) const
{
    const ScrollBarSpans spans = scrollBarSpans(option);
    const int along = spans.vertical ? point.y() - option.rect.top() : point.x() - option.rect.left();
    if (along < spans.sliderStart)
        return SC_ScrollBarSubPage;
    if (along <= spans.addPageStart)
        return SC_ScrollBarSlider;
    return SC_ScrollBarAddPage;
}

void VestrelCustomStyle::drawScrollBar(const QStyleOptionSlider &option, QPainter *painter,
                                       const QWidget *widget) const
{
    // The common style's order; only the pages and the slider ever have a
    // rectangle here.
    static constexpr SubControl kOrder[] = {SC_ScrollBarSubLine, SC_ScrollBarAddLine, SC_ScrollBarSubPage,
                                            SC_ScrollBarAddPage, SC_ScrollBarFirst,   SC_ScrollBarLast,
                                            SC_ScrollBarSlider};
    for (SubControl subControl : kOrder) {
        const QRect rect = scrollBarRect(option, subControl);
        if (!rect.isValid())
            continue;
        if (subControl == SC_ScrollBarSubPage || subControl == SC_ScrollBarAddPage) {
            drawScrollBarPage(option, rect, painter);
        } else if (subControl == SC_ScrollBarSlider) {
            drawScrollBarSlider(option, rect, painter);
            if (option.state & State_HasFocus) {
                QStyleOptionFocusRect focus;
                focus.QStyleOption::operator=(option);
                focus.rect = rect.adjusted(2, 2, -3, -3);
                applicationStyle()->drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
            }
        }
    }
}

void VestrelCustomStyle::drawScrollBarPage(const QStyleOptionSlider &option, const QRect &rect,
                                           QPainter *painter) const
{
    const bool vertical = option.orientation == Qt::Vertical;
    painter->fillRect(rect, acrossBar(rect, vertical, kPageColorNear, kPageColorFar));
}

void VestrelCustomStyle::drawScrollBarSlider(const QStyleOptionSlider &option, const QRect &rect,
                                             QPainter *painter) const
{
    drawScrollBarPage(option, rect, painter);
    const bool vertical = option.orientation == Qt::Vertical;
    const QRect thumb =
        vertical ? rect.adjusted(kThumbInset, 0, -kThumbInset, 0) : rect.adjusted(0, kThumbInset, 0, -kThumbInset);
    if (thumb.isEmpty())
        return;
    const QBrush brush(acrossBar(thumb, vertical, kThumbColorNear, kThumbColorFar));
    const int radius = kThumbEndDiameter / 2;

    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrush(brush);
    painter->setRenderHint(QPainter::Antialiasing, true);
    if (vertical) {
        painter->drawEllipse(QRectF(thumb.left(), thumb.top(), kThumbEndDiameter, kThumbEndDiameter));
        painter->drawEllipse(QRectF(thumb.left(), thumb.top() + thumb.height() - kThumbEndDiameter,
                                    kThumbEndDiameter, kThumbEndDiameter));
    } else {
        painter->drawEllipse(QRectF(thumb.left(), thumb.top(), kThumbEndDiameter, kThumbEndDiameter));
        painter->drawEllipse(QRectF(thumb.left() + thumb.width() - kThumbEndDiameter, thumb.top(),
                                    kThumbEndDiameter, kThumbEndDiameter));
    }
    painter->setRenderHint(QPainter::Antialiasing, false);
    if (vertical)
        painter->drawRect(QRect(thumb.left(), thumb.top() + radius, thumb.width(), thumb.height() - 2 * radius));
    else
        painter->drawRect(QRect(thumb.left() + radius, thumb.top(), thumb.width() - 2 * radius, thumb.height()));
    painter->restore();
}

QRect VestrelCustomStyle::sliderGrooveRect(const QStyleOptionSlider &option) const
{
    const QRect &rect = option.rect;
    const int inset = handleImage.width() / 2;
    const int height = grooveImage.height();
    return QRect(rect.left() + inset, rect.top() + (rect.height() - height) / 2, rect.width() - 2 * inset, height);
}

QRect VestrelCustomStyle::sliderHandleRect(const QStyleOptionSlider &option) const
{
    const QRect &rect = option.rect;
    const int handleWidth = handleImage.width();
    const int handleHeight = handleImage.height();
    const int range = option.maximum - option.minimum;
    int position = option.sliderPosition - option.minimum;
    if (option.upsideDown)
        position = range - position;
    const double fraction = range != 0 ? double(position) / range : 0.0;
    const int centerX = int(std::trunc(rect.left() + handleWidth / 2.0 + (rect.width() - handleWidth) * fraction));
    return QRect(centerX - handleWidth / 2, rect.top() + (rect.height() - handleHeight) / 2, handleWidth,
                 handleHeight);
}

void VestrelCustomStyle::drawImageSlider(const QStyleOptionSlider &option, QPainter *painter) const
{
    const QRect groove = sliderGrooveRect(option);
    const int imageWidth = grooveImage.width();
    const int imageHeight = grooveImage.height();
    const int cap = qMin(imageHeight, imageWidth / 2);
    const int middleSource = imageWidth - 2 * cap;
    const int middleTarget = groove.width() - 2 * cap;

    painter->drawImage(QRect(groove.left(), groove.top(), cap, imageHeight), grooveImage,
                       QRect(0, 0, cap, imageHeight));
    if (middleSource > 0 && middleTarget > 0)
        painter->drawImage(QRect(groove.left() + cap, groove.top(), middleTarget, imageHeight), grooveImage,
                           QRect(cap, 0, middleSource, imageHeight));
    painter->drawImage(QRect(groove.left() + groove.width() - cap, groove.top(), cap, imageHeight), grooveImage,
                       QRect(imageWidth - cap, 0, cap, imageHeight));

    if (!grooveMask.isNull() && groove.width() > 0)
        painter->drawImage(groove.topLeft(), maskedGradient(groove.width()));

    painter->drawImage(sliderHandleRect(option).topLeft(), handleImage);
}

QImage VestrelCustomStyle::maskedGradient(int width) const
{
    const int height = grooveMask.height();
    const int maskWidth = grooveMask.width();
    QImage image(width, height, QImage::Format_ARGB32);
    {
        QPainter painter(&image);
        QLinearGradient gradient(0, 0, width, height);
        gradient.setColorAt(0, Qt::white);
        gradient.setColorAt(1, Qt::black);
        painter.fillRect(image.rect(), gradient);
    }
    const QImage mask = grooveMask.convertToFormat(QImage::Format_ARGB32);
    for (int x = 0; x < width; ++x) {
        // The mask is laid out like the groove image: its caps match the
        // groove's ends, one middle column stands for the stretched part.
        int maskX = maskWidth / 2;
        if (x < height)
            maskX = x;
        else if (x >= width - height)
            maskX = maskWidth - (width - x);
        maskX = qBound(0, maskX, maskWidth - 1);
        for (int y = 0; y < height; ++y) {
            if (qRed(mask.pixel(maskX, y)) == 0)
                image.setPixel(x, y, 0);
        }
    }
    return image;
}

void VestrelCustomStyle::drawImageButton(const ImageButton &button, const QStyleOption *option,
                                         QPainter *painter) const
{
    const QRect rect = option ? option->rect : button.rect();
    const QStyle::State state = option ? option->state : QStyle::State_None;
    const bool enabled = state & State_Enabled;
    const bool pressed = state & State_Sunken;

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    if (button.isCheckable() && button.isChecked()) {
        QLinearGradient gradient(rect.topLeft(), rect.bottomRight());
        gradient.setColorAt(0, QColor(255, 255, 255, 224));
        gradient.setColorAt(1, QColor(255, 255, 255, 192));
        painter->setPen(Qt::NoPen);
        painter->setBrush(gradient);
        painter->drawRoundedRect(rect.adjusted(0, 0, -1, -1), 4, 4);
    }
    const QImage &image = !enabled ? button.disabledImage() : pressed ? button.downImage() : button.normalImage();
    if (!image.isNull()) {
        QPoint topLeft(rect.left() + (rect.width() - image.width()) / 2,
                       rect.top() + (rect.height() - image.height()) / 2);
        if (pressed)
            topLeft += QPoint(1, 1);
        painter->drawImage(topLeft, image);
    }
    // Image buttons sit on the light header bars.
    if (state & State_HasFocus)
        paintKeyFocusMark(*painter, QRectF(rect), 4.0, true);
    painter->restore();
}

} // namespace Tintor
