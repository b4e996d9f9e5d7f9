#include "ui/look/VestrelCustomStyle.h"

#include "LookFixture.h"

#include <QPainter>
#include <QScrollBar>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QtTest>

using namespace Tintor;

class VestrelCustomStyleTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Bar length, minimum, maximum, page step, position; sub page, slider, add page as start and length (0: none).
    void scrollBarSubControls_data()
    {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<QList<int>>("v");
        QTest::newRow("at the start no sub page") << true << QList<int>{200, 0, 100, 100, 0, 0, 0, 0, 100, 100, 100};
        QTest::newRow("at the end no add page") << true << QList<int>{200, 0, 100, 100, 100, 0, 100, 100, 100, 0, 0};
        // scale 100 / 13: slider at 30.77 -> 31, 23.08 -> 23 long, add page from 53.85 -> 54.
        QTest::newRow("rounded to the nearest pixel") << true << QList<int>{100, 0, 10, 3, 4, 0, 31, 31, 23, 54, 46};
        QTest::newRow("horizontal") << false << QList<int>{300, 0, 200, 100, 100, 0, 100, 100, 100, 200, 100};
        QTest::newRow("minimum above zero") << true << QList<int>{200, 50, 150, 100, 100, 0, 50, 50, 100, 150, 50};
        QTest::newRow("nothing to scroll and no page step") << true << QList<int>{80, 0, 0, 0, 0, 0, 0, 0, 80, 0, 0};
    }

    void scrollBarSubControls()
    {
        QFETCH(bool, vertical);
        QFETCH(QList<int>, v);
        const QList<int> bar = v.mid(0, 5);
        const QList<int> spans = v.mid(5);
        const auto span = [&](int start, int length) {
            return length == 0 ? QRect() : vertical ? QRect(0, start, 12, length) : QRect(start, 0, length, 12);
        };
        QStyleOptionSlider option;
        option.orientation = vertical ? Qt::Vertical : Qt::Horizontal;
        option.rect = span(0, bar[0]);
        option.minimum = bar[1];
        option.maximum = bar[2];
        option.pageStep = bar[3];
        option.singleStep = 1;
        option.sliderPosition = option.sliderValue = bar[4];
        option.subControls = QStyle::SC_All;
        VestrelCustomStyle style;
        const auto rect = [&](QStyle::SubControl control) {
            return style.subControlRect(QStyle::CC_ScrollBar, &option, control);
        };
        QCOMPARE(rect(QStyle::SC_ScrollBarSubPage), span(spans[0], spans[1]));
        QCOMPARE(rect(QStyle::SC_ScrollBarSlider), span(spans[2], spans[3]));
        QCOMPARE(rect(QStyle::SC_ScrollBarAddPage), span(spans[4], spans[5]));
        for (auto button : {QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarFirst,
                            QStyle::SC_ScrollBarLast})
            QVERIFY(rect(button).isEmpty());
        QCOMPARE(rect(QStyle::SC_ScrollBarGroove), option.rect);

        // Hit test at both ends of the slider; its last pixel plus one still hits it.
        if (spans[2] > 0 && spans[5] > 0) {
            const auto hit = [&](int along) {
                const QPoint point = vertical ? QPoint(6, along) : QPoint(along, 6);
                return style.hitTestComplexControl(QStyle::CC_ScrollBar, &option, point);
            };
            QCOMPARE(hit(spans[2] - 1), QStyle::SC_ScrollBarSubPage);
            QCOMPARE(hit(spans[2]), QStyle::SC_ScrollBarSlider);
            QCOMPARE(hit(spans[4]), QStyle::SC_ScrollBarSlider);
            QCOMPARE(hit(spans[4] + 1), QStyle::SC_ScrollBarAddPage);
        }
    }

    // Without both images (or vertical) the slider is the application style's; the handle image sets its metrics.
    void sliderMetricsAndFallback()
    {
        VestrelCustomStyle style;
        QStyle *application = QApplication::style();
        QCOMPARE(style.pixelMetric(QStyle::PM_ScrollBarExtent), 12);
        QCOMPARE(style.pixelMetric(QStyle::PM_ScrollBarSliderMin), 32);
        QCOMPARE(style.pixelMetric(QStyle::PM_SliderTickmarkOffset), 0);
        for (auto metric : {QStyle::PM_ButtonMargin, QStyle::PM_SliderThickness, QStyle::PM_SliderControlThickness,
                            QStyle::PM_SliderLength})
            QCOMPARE(style.pixelMetric(metric), application->pixelMetric(metric));
        QStyleOptionSlider option;
        option.orientation = Qt::Horizontal;
        option.rect = QRect(0, 0, 200, 20);
        option.maximum = 100;
        option.sliderPosition = 30;
        const auto handle = [&](QStyle *style) {
            return style->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle);
        };
        style.grooveImage = QImage(24, 8, QImage::Format_ARGB32);
        QCOMPARE(handle(&style), handle(application));
        style.handleImage = QImage(20, 8, QImage::Format_ARGB32);
        QCOMPARE(style.pixelMetric(QStyle::PM_SliderThickness), 8);
        QCOMPARE(style.pixelMetric(QStyle::PM_SliderControlThickness), 8);
        QCOMPARE(style.pixelMetric(QStyle::PM_SliderLength), 20);
        option.orientation = Qt::Vertical;
        option.rect = QRect(0, 0, 20, 200);
        QCOMPARE(handle(&style), handle(application));
    }

    void scrollBarWidget()
    {
        QScrollBar bar(Qt::Vertical);
        VestrelCustomStyle style;
        bar.setStyle(&style);
        QCOMPARE(bar.sizeHint().width(), 12);
        bar.setRange(0, 100);
        bar.setPageStep(100);
        bar.setValue(50);
        bar.resize(12, 200);
        const QImage image = bar.grab().toImage();
        image.save(LookFixture::outputPath("scrollbar.png"));
        // Pages: the gradient from 152 at the left to 144 at the right.
        QVERIFY(qAbs(qGray(image.pixel(0, 2)) - 152) <= 1);
        QVERIFY(qAbs(qGray(image.pixel(11, 2)) - 144) <= 1);
        QCOMPARE(qGray(image.pixel(5, 2)), qGray(image.pixel(5, 190)));
        // Across the middle of the slider: 3 pixels of page on each side, 6 pixels of thumb between 192 and 208.
        for (int x = 0; x < 12; ++x) {
            const int level = qGray(image.pixel(x, 100));
            const bool thumb = x >= 3 && x <= 8;
            QVERIFY2(thumb ? level >= 191 && level <= 208 : level >= 143 && level <= 153, QByteArray::number(x));
        }
        // Rounded ends: the corner pixels are mostly page, the middle of the end rows thumb.
        QVERIFY(qGray(image.pixel(3, 50)) < 175);
        QVERIFY(qGray(image.pixel(8, 149)) < 175);
        QVERIFY(qGray(image.pixel(5, 51)) > 180);
        QVERIFY(qGray(image.pixel(6, 148)) > 180);

        bar.setValue(0);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(6, 50));
        QTest::mouseMove(&bar, QPoint(6, 90));
        QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(6, 90));
        QCOMPARE(bar.value(), 40);
    }

    // 200 x 20 slider, 24 x 8 groove, 20 x 10 handle: minimum, maximum, position, upside down, the handle's centre.
    void imageSliderGrooveAndHandle_data()
    {
        QTest::addColumn<QList<int>>("v");
        QTest::newRow("minimum at the groove's left end") << QList<int>{0, 100, 0, false, 10};
        QTest::newRow("maximum at the groove's right end") << QList<int>{0, 100, 100, false, 190};
        QTest::newRow("truncated") << QList<int>{0, 3, 1, false, 70}; // 10 + 180 / 3
        QTest::newRow("upside down minimum at the right") << QList<int>{0, 100, 0, true, 190};
        QTest::newRow("counted from the minimum") << QList<int>{10, 20, 15, false, 100};
        QTest::newRow("empty range stays at the left") << QList<int>{5, 5, 5, false, 10};
    }

    void imageSliderGrooveAndHandle()
    {
        QFETCH(QList<int>, v);
        const int handleCenter = v[4];
        VestrelCustomStyle style;
        style.grooveImage = QImage(24, 8, QImage::Format_ARGB32);
        style.handleImage = QImage(20, 10, QImage::Format_ARGB32);
        QStyleOptionSlider option;
        option.orientation = Qt::Horizontal;
        option.rect = QRect(0, 0, 200, 20);
        option.minimum = v[0];
        option.maximum = v[1];
        option.sliderPosition = v[2];
        option.upsideDown = v[3];
        QCOMPARE(style.subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove), QRect(10, 6, 180, 8));
        QCOMPARE(style.subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle),
                 QRect(handleCenter - 10, 5, 20, 10));
        const int grooveX = handleCenter < 100 ? 150 : 50;
        QCOMPARE(style.hitTestComplexControl(QStyle::CC_Slider, &option, {handleCenter, 10}), QStyle::SC_SliderHandle);
        QCOMPARE(style.hitTestComplexControl(QStyle::CC_Slider, &option, {grooveX, 10}), QStyle::SC_SliderGroove);
        QCOMPARE(style.hitTestComplexControl(QStyle::CC_Slider, &option, {grooveX, 1}), QStyle::SC_None);
    }

    void imageSliderDrawsCapsMaskedGradientAndHandle()
    {
        VestrelCustomStyle style;
        style.grooveImage = LookFixture::filled(QSize(24, 8), Qt::red);
        QPainter(&style.grooveImage).fillRect(QRect(8, 0, 16, 8), Qt::blue);
        QPainter(&style.grooveImage).fillRect(QRect(16, 0, 8, 8), Qt::yellow);
        style.handleImage = LookFixture::filled(QSize(20, 8), Qt::green);
        // The upper half of the mask cuts the gradient away.
        style.grooveMask = LookFixture::filled(QSize(24, 8), QColor(255, 0, 0));
        QPainter(&style.grooveMask).fillRect(QRect(0, 0, 24, 4), QColor(0, 255, 255));

        QSlider slider(Qt::Horizontal);
        slider.setStyle(&style);
        slider.setRange(0, 100);
        slider.setValue(50);
        slider.resize(200, 20);
        const QImage image = slider.grab().toImage();
        image.save(LookFixture::outputPath("imageslider.png"));
        // Groove from x 10 to 189, rows 6 to 13; handle from x 90 to 109.
        QCOMPARE((QList<QRgb>{image.pixel(12, 7), image.pixel(60, 7), image.pixel(187, 7), image.pixel(100, 8)}),
                 (QList<QRgb>{qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(255, 255, 0), qRgb(0, 255, 0)}));
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
