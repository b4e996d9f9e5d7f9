// Two about requests in one process: each builds and tears down its own application object.

#include "../ui/look/LookFixture.h"
#include "support/TestEnvironment.h"

#include <QtTest>

#include <cstdint>

namespace {

using PluginMainProc = void (*)(std::int16_t selector, void *parameterBlock, std::intptr_t *data, std::int16_t *result);

QList<QImage> seenBoxes;

// Runs in every application object (the module's too): records the about box and closes it like a user would.
void closeTheAboutBoxOnceShown()
{
    auto *timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(50);
    QObject::connect(timer, &QTimer::timeout, timer, [timer] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (qstrcmp(window->metaObject()->className(), "Tintor::AboutBox") == 0 && window->isVisible()) {
                seenBoxes.append(window->grab().toImage());
                timer->stop();
                window->close();
            }
        }
    });
    timer->start();
}

} // namespace

class PluginMainAboutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        {
            // Writing the collection needs the SQL driver, which needs an application object; gone before the module's.
            int argc = 0;
            QCoreApplication writer(argc, nullptr);
            LookFixture fixture;
            QVERIFY(fixture.isOpen());
            fixture.addSystemTheme("list.of.preferred.font.faces.linux", "DejaVu Sans,10");
            fixture.addShownTheme("image.about.logo", FixtureDatabase::png({96, 40}, {40, 120, 200}));
            fixture.addShownText("aboutbox.caption", "About Huelink");
            fixture.addShownText("aboutbox.version", "Huelink");
        }
        QVERIFY(!QCoreApplication::instance());
        qAddPreRoutine(closeTheAboutBoxOnceShown);
    }

    void twoAboutRequestsInOneProcess()
    {
        QLibrary module(QStringLiteral(HUELINK_PICKER_MODULE));
        QVERIFY2(module.load(), qPrintable(module.errorString()));
        const auto pluginMain = reinterpret_cast<PluginMainProc>(module.resolve("PluginMain"));
        QVERIFY(pluginMain);

        for (int request = 1; request <= 2; ++request) {
            // The host's about record (64-bit layout): platform data whose host window is 0, no suites.
            quintptr hostWindow = 0;
            void *record[3] = {&hostWindow, nullptr, nullptr};
            std::int16_t result = -1;
            pluginMain(0, record, nullptr, &result);
            QCOMPARE(result, std::int16_t(0));
            QVERIFY(!QCoreApplication::instance());
            QCOMPARE(seenBoxes.size(), request);

            seenBoxes.constLast().save(LookFixture::outputPath(QStringLiteral("plugin-about-%1.png").arg(request)));
        }
        // Same fonts, style and images the second time: the same picture.
        QCOMPARE(seenBoxes.at(1), seenBoxes.at(0));
        pluginMain(0, nullptr, nullptr, nullptr);
        QCOMPARE(seenBoxes.size(), 3);
    }
};

int main(int argc, char *argv[])
{
    // No application object here: the module makes its own, as in the host.
    TestEnvironment::prepare();
    PluginMainAboutTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "PluginMainAboutTest.moc"
