#include "ui/look/VestrelCustomStyle.h"

#include "LookFixture.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QtTest>

using namespace Tintor;

namespace {

struct Span
{
    int start = 0;
    int length = 0; // 0: no rectangle at all
};

QStyleOptionSlider scrollBarOption(Qt::Orientation orientation, int length, int minimum, int maximum, int pageStep,
                                   int position)
{
    QStyleOptionSlider option;
    option.orientation = orientation;
    option.rect = orientation == Qt::Vertical ? QRect(0, 0, 12, length) : QRect(0, 0, length, 12);
    option.minimum = minimum;
    option.maximum = maximum;
    option.pageStep = pageStep;
    option.singleStep = 1;
    option.sliderPosition = position;
    option.sliderValue = position;
    option.subControls = QStyle::SC_All;
    return option;
}

QRect spanRect(Qt::Orientation orientation, const Span &span)
{
    if (span.length == 0)
        return QRect();
    return orientation == Qt::Vertical ? QRect(0, span.start, 12, span.length) : QRect(span.start, 0, span.length, 12);
}

QImage sliderImage(const QSize &size, const QList<QColor> &thirds)
{
    QImage image(size, QImage::Format_ARGB32);
    QPainter painter(&image);
    const int third = size.width() / thirds.size();
    for (int i = 0; i < thirds.size(); ++i)
        painter.fillRect(QRect(i * third, 0, third, size.height()), thirds.at(i));
    return image;
}

int grey(QRgb pixel)
{
    return qGray(pixel);
}

} // namespace

Q_DECLARE_METATYPE(Span)

class VestrelCustomStyleTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scrollBarSubControls_data()
    {
        QTest::addColumn<Qt::Orientation>("orientation");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("pageStep");
        QTest::addColumn<int>("position");
        QTest::addColumn<Span>("subPage");
        QTest::addColumn<Span>("slider");
        QTest::addColumn<Span>("addPage");
        QTest::newRow("middle of a 200 pixel bar")
            << Qt::Vertical << 200 << 0 << 100 << 100 << 50 << Span{0, 50} << Span{50, 100} << Span{150, 50};
        QTest::newRow("at the start no sub page")
            << Qt::Vertical << 200 << 0 << 100 << 100 << 0 << Span{} << Span{0, 100} << Span{100, 100};
        QTest::newRow("at the end no add page")
            << Qt::Vertical << 200 << 0 << 100 << 100 << 100 << Span{0, 100} << Span{100, 100} << Span{};
        // scale 100 / 13: slider at 30.77 -> 31, 23.08 -> 23 long, add page from 53.85 -> 54.
        QTest::newRow("rounded to the nearest pixel")
            << Qt::Vertical << 100 << 0 << 10 << 3 << 4 << Span{0, 31} << Span{31, 23} << Span{54, 46};
        QTest::newRow("horizontal")
            << Qt::Horizontal << 300 << 0 << 200 << 100 << 100 << Span{0, 100} << Span{100, 100} << Span{200, 100};
        QTest::newRow("minimum above zero counts from the minimum")
            << Qt::Vertical << 200 << 50 << 150 << 100 << 100 << Span{0, 50} << Span{50, 100} << Span{150, 50};
        QTest::newRow("nothing to scroll and no page step")
            << Qt::Vertical << 80 << 0 << 0 << 0 << 0 << Span{} << Span{0, 80} << Span{};
    }
    void scrollBarSubControls()
    {
        QFETCH(Qt::Orientation, orientation);
        QFETCH(int, length);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, pageStep);
        QFETCH(int, position);
        QFETCH(Span, subPage);
        QFETCH(Span, slider);
        QFETCH(Span, addPage);
        VestrelCustomStyle style;
        const QStyleOptionSlider option = scrollBarOption(orientation, length, minimum, maximum, pageStep, position);
        const auto rect = [&](QStyle::SubControl subControl) {
            return style.subControlRect(QStyle::CC_ScrollBar, &option, subControl);
        };
        QCOMPARE(rect(QStyle::SC_ScrollBarSubPage), spanRect(orientation, subPage));
        QCOMPARE(rect(QStyle::SC_ScrollBarSlider), spanRect(orientation, slider));
        QCOMPARE(rect(QStyle::SC_ScrollBarAddPage), spanRect(orientation, addPage));
        for (auto button : {QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarFirst,
                            QStyle::SC_ScrollBarLast})
            QVERIFY(rect(button).isEmpty());
        QCOMPARE(rect(QStyle::SC_ScrollBarGroove), option.rect);
    }

    void scrollBarHitTest_data()
    {
        QTest::addColumn<int>("along");
        QTest::addColumn<int>("subControl");
        QTest::newRow("first pixel") << 0 << int(QStyle::SC_ScrollBarSubPage);
        QTest::newRow("last sub page pixel") << 49 << int(QStyle::SC_ScrollBarSubPage);
        QTest::newRow("slider start") << 50 << int(QStyle::SC_ScrollBarSlider);
        QTest::newRow("slider end") << 149 << int(QStyle::SC_ScrollBarSlider);
        QTest::newRow("add page start still hits the slider") << 150 << int(QStyle::SC_ScrollBarSlider);
        QTest::newRow("beyond") << 151 << int(QStyle::SC_ScrollBarAddPage);
        QTest::newRow("last pixel") << 199 << int(QStyle::SC_ScrollBarAddPage);
    }
    void scrollBarHitTest()
    {
        QFETCH(int, along);
        QFETCH(int, subControl);
        VestrelCustomStyle style;
        for (Qt::Orientation orientation : {Qt::Vertical, Qt::Horizontal}) {
            const QStyleOptionSlider option = scrollBarOption(orientation, 200, 0, 100, 100, 50);
            const QPoint point = orientation == Qt::Vertical ? QPoint(6, along) : QPoint(along, 6);
            QCOMPARE(int(style.hitTestComplexControl(QStyle::CC_ScrollBar, &option, point)), subControl);
        }
    }

    void pixelMetrics()
    {
        VestrelCustomStyle style;
        QStyle *application = QApplication::style();
        QCOMPARE(style.pixelMetric(QStyle::PM_ScrollBarExtent), 12);
        QCOMPARE(style.pixelMetric(QStyle::PM_ScrollBarSliderMin), 32);
        QCOMPARE(style.pixelMetric(QStyle::PM_SliderTickmarkOffset), 0);
        QCOMPARE(style.pixelMetric(QStyle::PM_ButtonMargin), application->pixelMetric(QStyle::PM_ButtonMargin));
        // Without a handle image the slider's size is the application's.
        for (auto metric : {QStyle::PM_SliderThickness, QStyle::PM_SliderControlThickness, QStyle::PM_SliderLength})
            QCOMPARE(style.pixelMetric(metric), application->pixelMetric(metric));
        style.handleImage = QImage(20, 8, QImage::Format_ARGB32);
        QCOMPARE(style.pixelMetric(QStyle::PM_SliderThickness), 8);
        QCOMPARE(style.pixelMetric(QStyle::PM_SliderControlThickness), 8);
        QCOMPARE(style.pixelMetric(QStyle::PM_SliderLength), 20);
    }

    void scrollBarWidgetUsesTheExtentAndDragsOnePixelPerStep()
    {
        QScrollBar bar(Qt::Vertical);
        VestrelCustomStyle style;
        bar.setStyle(&style);
        QCOMPARE(bar.sizeHint().width(), 12);
        bar.setRange(0, 100);
        bar.setPageStep(100);
        bar.setValue(0);
        bar.resize(12, 200);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));

        QStyleOptionSlider option;
        option.initFrom(&bar);
        option.orientation = Qt::Vertical;
        option.minimum = 0;
        option.maximum = 100;
        option.pageStep = 100;
        option.sliderPosition = 0;
        const QRect slider = style.subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, &bar);
        QCOMPARE(slider, QRect(0, 0, 12, 100));
        // The groove is the whole bar, so the slider follows the pointer.
        QTest::mousePress(&bar, Qt::LeftButton, {}, slider.center());
        QTest::mouseMove(&bar, slider.center() + QPoint(0, 40));
        QTest::mouseRelease(&bar, Qt::LeftButton, {}, slider.center() + QPoint(0, 40));
        QCOMPARE(bar.value(), 40);
        // A click on the add page pages forward.
        bar.setValue(0);
        QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(6, 180));
        QTRY_COMPARE(bar.value(), 100);
    }

    void verticalScrollBarHasASixPixelRoundedThumbAndNoArrows()
    {
        QScrollBar bar(Qt::Vertical);
        VestrelCustomStyle style;
        bar.setStyle(&style);
        bar.setRange(0, 100);
        bar.setPageStep(100);
        bar.setValue(50);
        bar.resize(12, 200);
        const QImage image = bar.grab().toImage();
        image.save(LookFixture::outputPath(QStringLiteral("scrollbar.png")));
        // Pages: the gradient from 152 at the left to 144 at the right.
        QVERIFY(qAbs(grey(image.pixel(0, 2)) - 152) <= 1);
        QVERIFY(qAbs(grey(image.pixel(11, 2)) - 144) <= 1);
        QCOMPARE(grey(image.pixel(5, 2)), grey(image.pixel(5, 190)));
        // Thumb across the middle of the slider: 3 pixels of page on each
        // side, 6 pixels of thumb between 192 and 208.
        for (int x = 0; x < 12; ++x) {
            const int level = grey(image.pixel(x, 100));
            if (x >= 3 && x <= 8)
                QVERIFY2(level >= 191 && level <= 208, qPrintable(QString::number(x)));
            else
                QVERIFY2(level >= 143 && level <= 153, qPrintable(QString::number(x)));
        }
        // Rounded ends: the thumb's corner pixels are mostly page colour,
        // the middle of its end row is thumb.
        QVERIFY(grey(image.pixel(3, 50)) < 175);
        QVERIFY(grey(image.pixel(8, 149)) < 175);
        QVERIFY(grey(image.pixel(5, 51)) > 180);
        QVERIFY(grey(image.pixel(6, 148)) > 180);
    }

    void imageSliderGrooveAndHandle_data()
    {
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("upsideDown");
        QTest::addColumn<int>("handleCenter");
        QTest::newRow("minimum at the groove's left end") << 0 << 100 << 0 << false << 10;
        QTest::newRow("maximum at the groove's right end") << 0 << 100 << 100 << false << 190;
        QTest::newRow("middle") << 0 << 100 << 50 << false << 100;
        QTest::newRow("truncated") << 0 << 3 << 1 << false << 70; // 10 + 180 / 3
        QTest::newRow("upside down minimum at the right") << 0 << 100 << 0 << true << 190;
        QTest::newRow("upside down maximum at the left") << 0 << 100 << 100 << true << 10;
        QTest::newRow("counted from the minimum") << 10 << 20 << 15 << false << 100;
        QTest::newRow("empty range stays at the left") << 5 << 5 << 5 << false << 10;
    }
    void imageSliderGrooveAndHandle()
    {
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, position);
        QFETCH(bool, upsideDown);
        QFETCH(int, handleCenter);
        VestrelCustomStyle style;
        style.grooveImage = QImage(24, 8, QImage::Format_ARGB32);
        style.handleImage = QImage(20, 10, QImage::Format_ARGB32);
        QStyleOptionSlider option;
        option.orientation = Qt::Horizontal;
        option.rect = QRect(0, 0, 200, 20);
        option.minimum = minimum;
        option.maximum = maximum;
        option.sliderPosition = position;
        option.upsideDown = upsideDown;
        QCOMPARE(style.subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove), QRect(10, 6, 180, 8));
        const QRect handle = style.subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle);
        QCOMPARE(handle, QRect(handleCenter - 10, 5, 20, 10));

        const auto hit = [&](const QPoint &point) {
            return style.hitTestComplexControl(QStyle::CC_Slider, &option, point);
        };
        QCOMPARE(hit(QPoint(handleCenter, 10)), QStyle::SC_SliderHandle);
        const int grooveX = handleCenter < 100 ? 150 : 50;
        QCOMPARE(hit(QPoint(grooveX, 10)), QStyle::SC_SliderGroove);
        QCOMPARE(hit(QPoint(grooveX, 1)), QStyle::SC_None);
    }

    void sliderWithoutBothImagesOrVerticalIsTheApplicationStyles()
    {
        QStyle *application = QApplication::style();
        QStyleOptionSlider option;
        option.orientation = Qt::Horizontal;
        option.rect = QRect(0, 0, 200, 20);
        option.maximum = 100;
        option.sliderPosition = 30;
        VestrelCustomStyle style;
        style.grooveImage = QImage(24, 8, QImage::Format_ARGB32);
        QCOMPARE(style.subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle),
                 application->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle));
        style.handleImage = QImage(20, 10, QImage::Format_ARGB32);
        option.orientation = Qt::Vertical;
        option.rect = QRect(0, 0, 20, 200);
        QCOMPARE(style.subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle),
                 application->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle));
    }

    void imageSliderDrawsCapsMaskedGradientAndHandle()
    {
        VestrelCustomStyle style;
        style.grooveImage = sliderImage(QSize(24, 8), {Qt::red, Qt::blue, Qt::yellow});
        style.handleImage = LookFixture::filled(QSize(20, 8), Qt::green);
        // The upper half of the mask cuts the gradient away.
        QImage mask(24, 8, QImage::Format_ARGB32);
        mask.fill(QColor(255, 0, 0));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 24; ++x)
                mask.setPixel(x, y, qRgb(0, 255, 255));
        style.grooveMask = mask;

        QSlider slider(Qt::Horizontal);
        slider.setStyle(&style);
        slider.setRange(0, 100);
        slider.setValue(50);
        slider.resize(200, 20);
        const QImage image = slider.grab().toImage();
        image.save(LookFixture::outputPath(QStringLiteral("imageslider.png")));
        // Groove from x 10 to 189, rows 6 to 13; handle from x 90 to 109.
        QCOMPARE(QColor(image.pixel(12, 7)), QColor(Qt::red));
        QCOMPARE(QColor(image.pixel(60, 7)), QColor(Qt::blue));
        QCOMPARE(QColor(image.pixel(187, 7)), QColor(Qt::yellow));
        QCOMPARE(QColor(image.pixel(100, 8)), QColor(Qt::green));
        // Lower half: the white-to-black gradient, lighter on the left.
        const QColor left = image.pixel(20, 12);
        const QColor right = image.pixel(180, 12);
        QCOMPARE(left.red(), left.blue());
        QCOMPARE(right.red(), right.green());
        QVERIFY(left.value() > right.value() + 100);
    }
};

HUELINK_TEST_MAIN(VestrelCustomStyleTest)
#include "VestrelCustomStyleTest.moc"
