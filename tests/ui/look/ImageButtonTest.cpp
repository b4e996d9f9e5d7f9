#include "ui/look/ImageButton.h"

#include "LookFixture.h"
#include "ui/look/VestrelCustomStyle.h"

#include <QGraphicsOpacityEffect>
#include <QtTest>

using namespace Tintor;

class ImageButtonTest : public QObject
{
    Q_OBJECT

private:
    static ImageButton *shownButton(QWidget &window)
    {
        auto *button = new ImageButton(LookFixture::filled({10, 10}, Qt::red), LookFixture::filled({10, 10}, Qt::blue),
                                       &window);
        window.resize(60, 50);
        button->setGeometry(10, 10, 40, 30);
        window.show();
        return button;
    }

private Q_SLOTS:
    void constructionAndTheImageOfEachState()
    {
        ImageButton button(LookFixture::filled(QSize(4, 4), QColor(200, 40, 20)), QImage(), nullptr);
        QCOMPARE(button.cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(qobject_cast<VestrelCustomStyle *>(button.style()));
        const QColor disabled = button.disabledImage().pixelColor(2, 2);
        QVERIFY(qAbs(disabled.alpha() - 128) <= 1 && qAbs(disabled.red() - 200) <= 2
                && qAbs(disabled.green() - 40) <= 2);
        QCOMPARE(button.disabledImage().size(), QSize(4, 4));
        button.startFadeIn(); // hidden, so no pulse
        QVERIFY(!button.isPulsing());
        QVERIFY(!button.graphicsEffect());

        ImageButton blank(QImage(), button.normalImage(), nullptr);
        QVERIFY(blank.disabledImage().isNull());

        QWidget window;
        ImageButton *shown = shownButton(window);
        // Centred: the 10 x 10 image starts at (15, 10) in the 40 x 30 button.
        QImage image = shown->grab().toImage();
        QCOMPARE(QColor(image.pixel(15, 10)), QColor(Qt::red));
        QCOMPARE(QColor(image.pixel(24, 19)), QColor(Qt::red));
        QVERIFY(QColor(image.pixel(14, 10)) != QColor(Qt::red));
        const QColor plain = image.pixel(5, 15);

        shown->setDown(true); // shifted by one pixel
        image = shown->grab().toImage();
        QCOMPARE(QColor(image.pixel(16, 11)), QColor(Qt::blue));
        QCOMPARE(QColor(image.pixel(25, 20)), QColor(Qt::blue));
        QVERIFY(QColor(image.pixel(15, 10)) != QColor(Qt::blue));
        shown->setDown(false);

        // Checked: a light rounded background; the radius-4 corner stays uncovered.
        shown->setCheckable(true);
        shown->setChecked(true);
        image = shown->grab().toImage();
        QVERIFY(QColor(image.pixel(5, 15)).lightness() > plain.lightness());
        QCOMPARE(QColor(image.pixel(0, 0)), plain);
        shown->setChecked(false);

        shown->setEnabled(false);
        const QColor faded = shown->grab().toImage().pixel(20, 15);
        QVERIFY(faded.red() > faded.green());
        QVERIFY(faded.green() > 60); // half of the background shows through
    }

    void pulsesWithAnOpacityEffectUntilStoppedOrHidden()
    {
        QWidget window;
        ImageButton *button = shownButton(window);
        button->stopFadeIn(); // not pulsing: nothing to stop
        QVERIFY(!button->graphicsEffect());
        button->startFadeIn();
        QVERIFY(button->isPulsing());
        QPointer<QGraphicsOpacityEffect> effect = qobject_cast<QGraphicsOpacityEffect *>(button->graphicsEffect());
        QVERIFY(effect);
        button->startFadeIn();
        QCOMPARE(button->graphicsEffect(), effect.data());
        // The opacity swings between 0.2 and 1.0.
        QTRY_VERIFY(effect->opacity() < 0.5);
        QTRY_VERIFY(effect->opacity() > 0.9);
        QTRY_VERIFY(effect->opacity() < 0.9);
        qreal lastOpacity = effect->opacity();
        connect(effect.data(), &QGraphicsOpacityEffect::opacityChanged, this,
                [&lastOpacity](qreal opacity) { lastOpacity = opacity; });

        button->hide();
        QVERIFY(!button->isPulsing());
        QTRY_VERIFY(!button->graphicsEffect());
        QVERIFY(effect.isNull());
        QCOMPARE(lastOpacity, 1.0);

        button->show();
        QVERIFY(!button->isPulsing());
        button->startFadeIn();
        QVERIFY(button->isPulsing());
        button->stopFadeIn();
        QVERIFY(!button->isPulsing());
        // Regression: the old pulse's closing fade-in used to finish later and take a new pulse's effect away.
        button->startFadeIn();
        QGraphicsEffect *restarted = button->graphicsEffect();
        QVERIFY(restarted);
        QTest::qWait(1000);
        QVERIFY(button->isPulsing());
        QCOMPARE(button->graphicsEffect(), restarted);
        button->stopFadeIn();
        QTRY_VERIFY(!button->graphicsEffect());
    }
};

HUELINK_TEST_MAIN(ImageButtonTest)
#include "ImageButtonTest.moc"
