#include "ui/look/TaskButton.h"

#include "LookFixture.h"
#include "ui/look/AboutButton.h"
#include "ui/look/HelpButton.h"
#include "ui/look/ProgramFont.h"

#include <QtTest>

using namespace Tintor;

class TaskButtonTest : public QObject
{
    Q_OBJECT

private:
    LookFixture m_fixture;

    static int brightestGrey(const QImage &image, const QRect &area)
    {
        int brightest = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                brightest = qMax(brightest, qGray(image.pixel(x, y)));
        return brightest;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_fixture.isOpen());
        m_fixture.addSystemTheme("list.of.preferred.font.faces", "DejaVu Sans,10");
        m_fixture.publish();
        forgetPreferredFontFamily();
    }

    // Disabled: darker, light grey text, forbidden cursor; enabled: a gradient; focused: two blue rings.
    void taskButtonStates()
    {
        QWidget window;
        window.resize(160, 60);
        auto *button = new TaskButton(&window);
        button->setText("Select");
        button->setGeometry(10, 10, 120, 30);
        window.show();
        QCOMPARE(button->font(), programFont(FontStyle::Normal, 3));
        button->setEnabled(false);
        QCOMPARE(button->paintColors().text, QColor(238, 238, 238));
        QCOMPARE(button->cursor().shape(), Qt::ForbiddenCursor);
        const QImage image = button->grab().toImage();
        image.save(LookFixture::outputPath("taskbutton-disabled.png"));
        QCOMPARE(QColor(image.pixel(8, 15)), QColor(170, 170, 170));
        QCOMPARE(QColor(image.pixel(60, 2)), QColor(170, 170, 170));
        // The text's strokes reach its colour and nothing is brighter.
        QVERIFY(qAbs(brightestGrey(image, QRect(20, 5, 80, 20)) - 238) <= 2);

        button->setEnabled(true);
        QCOMPARE(button->cursor().shape(), Qt::ArrowCursor);
        const QImage enabled = button->grab().toImage();
        // Top to bottom gradient from 238 to 204.
        QVERIFY(qGray(enabled.pixel(60, 1)) > 233);
        QVERIFY(qGray(enabled.pixel(60, 28)) < 210);
        QVERIFY(brightestGrey(enabled, QRect(20, 5, 80, 20)) <= 239);

        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        button->setFocus();
        QTRY_VERIFY(button->hasFocus());
        const QImage focused = button->grab().toImage();
        const QColor ring = focused.pixel(60, 3);
        QVERIFY(ring.blue() > ring.red() + 10);
        QCOMPARE(QColor(focused.pixel(60, 15)), QColor(enabled.pixel(60, 15)));
    }

    // Help and about: round, bold, blue; disabled, a flat bottom colour and the text grey 255 - 93.
    void roundButtons()
    {
        QWidget window;
        window.resize(80, 40);
        const QList<TaskButton *> buttons{new HelpButton(&window), new AboutButton(&window)};
        buttons[0]->setGeometry(10, 10, 24, 24);
        buttons[1]->setGeometry(40, 10, 24, 24);
        window.show();
        QCOMPARE(buttons[0]->text(), QString("?"));
        QCOMPARE(buttons[1]->text(), QString(QChar(0x2026)));
        const QColor windowColor = window.grab().toImage().pixel(5, 5);
        for (TaskButton *button : buttons) {
            QCOMPARE(button->font(), programFont(FontStyle::Bold, 4));
            QCOMPARE(button->paintColors().text, QColor(0, 129, 183));
            const QImage image = button->grab().toImage();
            image.save(LookFixture::outputPath(button == buttons[0] ? "helpbutton.png" : "aboutbutton.png"));
            // A circle: the corners show the window, the middle of the rim the gradient.
            QCOMPARE(QColor(image.pixel(0, 0)), windowColor);
            QVERIFY(qGray(image.pixel(12, 1)) > 225);
            button->setEnabled(false);
            const auto colors = button->paintColors();
            QCOMPARE((QList<QColor>{colors.gradientTop, colors.gradientBottom, colors.text}),
                     (QList<QColor>{QColor(204, 204, 204), QColor(204, 204, 204), QColor(162, 162, 162)}));
            QCOMPARE(QColor(button->grab().toImage().pixel(12, 2)), QColor(204, 204, 204));
            QCOMPARE(button->cursor().shape(), Qt::ForbiddenCursor);
        }
    }
};

HUELINK_TEST_MAIN(TaskButtonTest)
#include "TaskButtonTest.moc"
