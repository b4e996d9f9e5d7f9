#include "ui/look/AboutBox.h"

#include "LookFixture.h"
#include "host/EngineStart.h"
#include "ui/look/ProgramFont.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QtTest>

using namespace Tintor;

class AboutBoxTest : public QObject
{
    Q_OBJECT

private:
    LookFixture m_fixture;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_fixture.isOpen());
        m_fixture.addSystemTheme(QStringLiteral("list.of.preferred.font.faces"), "DejaVu Sans,10");
        // The logo: a red card at (4, 4) in a transparent 120 x 40 image.
        QImage logo(120, 40, QImage::Format_ARGB32);
        logo.fill(Qt::transparent);
        QPainter(&logo).fillRect(QRect(4, 4, 24, 32), QColor(214, 64, 52));
        m_fixture.addShownTheme(QStringLiteral("image.about.logo"), FixtureDatabase::png(logo));
        const std::pair<QString, QString> texts[] = {
            {"aboutbox.caption", "About Huelink"}, {"aboutbox.main", "Huelink Colour Palette"},
            {"aboutbox.copyright", "Copyright 2024 Vestrel. All rights reserved."},
            {"aboutbox.version", "Huelink for the host"}, {"aboutbox.close.button", "Close"},
            {"license.copyright", "<p><b>Licence.</b> Use of this add-on is subject to its terms.</p>"},
            {"aboutbox.qt.license.button", "Toolkit licence"}};
        for (const auto &[key, text] : texts)
            m_fixture.addShownText(key, text);
        m_fixture.publish();
        forgetPreferredFontFamily();
        QCOMPARE(initializeEngine(QString(), TestEnvironment::databaseFolder()), 0);
    }

    void textsFlagsFontsAndLayout()
    {
        AboutBox box(nullptr, QString());
        // The host's request: locale text, blank, version, bits; a given text names the engine.
        QCOMPARE((QStringList{box.windowTitle(), box.closeButton()->text(), box.versionLabel()->text(),
                              AboutBox(nullptr, "Studio 2").versionLabel()->text(), box.licenseText()->toPlainText()}),
                 (QStringList{"About Huelink", "Close", "Huelink for the host 4.0.0 (64bit)", "Studio 2 (engine 4.0.0) "
                              "(64bit)", "Licence. Use of this add-on is subject to its terms."}));
        QVERIFY(box.licenseText()->isReadOnly());
        QCOMPARE(box.windowModality(), Qt::ApplicationModal);
        QVERIFY(box.testAttribute(Qt::WA_NativeWindow));
        QCOMPARE(box.windowFlags(), Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                                        | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
        QCOMPARE(box.size(), QSize(680, 480));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(box.pos(), QPoint((screen.width() - 680) / 2, screen.height() / 3));
        QVERIFY(box.closeButton()->isDefault());
        QVERIFY(!box.windowIcon().isNull());

        QVERIFY(box.font().styleStrategy() & QFont::PreferQuality);
        QCOMPARE(box.titleLabel()->font().weight(), QFont::Bold);
        QCOMPARE((QList<int>{box.font().pointSize(), box.titleLabel()->font().pointSize(),
                             box.versionLabel()->font().pointSize()}),
                 (QList<int>{10, 12, 8}));
        const QFontMetrics metrics(box.titleLabel()->font());
        const QSize titleSize(metrics.horizontalAdvance(box.titleLabel()->text()), metrics.height());
        QCOMPARE(box.titleLabel()->size(), titleSize);

        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(box.logoLabel()->geometry(), QRect(16, 16, 128, 48));
        QCOMPARE(box.logoLabel()->pixmap().size(), QSize(120, 40));
        const int x0 = 128 + 32;
        const int buttonHeight = box.qtLicenseButton()->height();
        QCOMPARE((QList<QPoint>{box.titleLabel()->pos(), box.copyrightLabel()->pos(), box.versionLabel()->pos(),
                                box.qtLicenseButton()->pos()}),
                 (QList<QPoint>{{x0, 16}, {x0, box.titleLabel()->geometry().bottom() + 5},
                                {x0, box.copyrightLabel()->geometry().bottom() + 5}, {x0, 480 - buttonHeight - 16}}));
        QCOMPARE(box.licenseText()->geometry(), QRect(QPoint(x0, box.versionLabel()->geometry().bottom() + 5),
                                                      QPoint(680 - 17, 480 - buttonHeight - 33)));
        QCOMPARE(box.closeButton()->width(), box.qtLicenseButton()->width());
        QCOMPARE(box.closeButton()->pos(), QPoint(680 - box.closeButton()->width() - 16, 480 - buttonHeight - 16));
        QPushButton probe("Toolkit licence");
        probe.setFont(box.font());
        probe.adjustSize();
        QCOMPARE(box.qtLicenseButton()->width(), probe.width() + 6);

        const QImage image = box.grab().toImage();
        QVERIFY(image.save(LookFixture::outputPath("aboutbox.png")));
        QVERIFY(qGray(image.pixel(400, 2)) > qGray(image.pixel(400, 477)));
        QVERIFY(qAbs(qGray(image.pixel(2, 2)) - 238) <= 2);
        QCOMPARE(QColor(image.pixel(16 + 4 + 12, 16 + 4 + 16)), QColor(214, 64, 52));

        QSignalSpy finished(&box, &QDialog::finished);
        QTest::mouseClick(box.closeButton(), Qt::LeftButton);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished[0][0].toInt(), int(QDialog::Accepted));
        QVERIFY(!box.isVisible());

        // Without a logo: the placeholder, and the texts stay where they were.
        QVERIFY(m_fixture.exec("DELETE FROM THEME WHERE ITEM_KEY = 'image.about.logo'"));
        AboutBox plain(nullptr, QString());
        plain.show();
        QCOMPARE(plain.logoLabel()->pixmap().size(), QSize(128, 64));
        QCOMPARE(QColor(plain.logoLabel()->pixmap().toImage().pixel(1, 1)), QColor(255, 0, 0));
        QCOMPARE(plain.titleLabel()->x(), 160);
    }
};

HUELINK_TEST_MAIN(AboutBoxTest)
#include "AboutBoxTest.moc"
