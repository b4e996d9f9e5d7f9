#include "ui/matching/CapsureImport.h"
#include "db/CollectionRegistry.h"
#include "state/UserState.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"
#include "ui/look/TaskButton.h"
#include "ui/matching/CapsureMeasurement.h"
#include "ui/matching/CapsureSelectDialog.h"

#include <QComboBox>
#include <QtTest>

#include <sys/stat.h>

using namespace Tintor;

namespace {

const QUuid kAlpha("{ca000000-0000-0000-0000-0000000000a1}");
const QUuid kBeta("{cb000000-0000-0000-0000-0000000000b2}");
const QColor kAlphaRed(200, 30, 30);
const QColor kBetaBlue(30, 30, 200);

QByteArray cxf(const QByteArray &objects, const QByteArray &prolog = QByteArray())
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + prolog
        + "<cc:CxF xmlns:cc=\"http://colorexchangeformat.com/CxF3-core\"><cc:Resources><cc:ObjectCollection>" + objects
        + "</cc:ObjectCollection></cc:Resources></cc:CxF>";
}

} // namespace

class CapsureImportTest : public QObject {
    Q_OBJECT

    QString m_measurement;
    QString m_secret; // a file no document may read

private Q_SLOTS:
    void initTestCase()
    {
        FixtureDatabase db(TestEnvironment::collectionFolder() + "/capsure.db");
        QVERIFY(db.isOpen());
        // Beta is added first, so the IDs alone do not give the priority order.
        const qint64 beta = db.addCollection(kBeta, "BETA", 2, true, "Beta");
        const qint64 alpha = db.addCollection(kAlpha, "ALPHA", 1, true, "Alpha");
        const QHash<qint64, qint64> pages { { alpha, db.addPage(alpha, {}) }, { beta, db.addPage(beta, {}) } };
        for (const qint64 collection : { alpha, beta }) {
            db.addSetting(collection, QStringLiteral("capsure.priority"), collection == alpha ? 1 : 2);
            db.addSetting(collection, "capsure.enabled", 1);
        }
        QVERIFY(db.addRow(alpha, pages[alpha], { 1, "C-1", kAlphaRed }) > 0);
        QVERIFY(db.addRow(alpha, pages[alpha], { 2, "Q'UOTE", QColor(30, 200, 30) }) > 0);
        QVERIFY(db.addRow(beta, pages[beta], { 1, "C-1", kBetaBlue }) > 0);
        QVERIFY(db.addRow(beta, pages[beta], { 2, "B-ONLY", QColor(9, 9, 9) }) > 0);
        DB::scanCollectionFiles(DB::collectionRegistry(), true);
        TestEnvironment::resetUserState();
        UserState::setLastUsedCollection(kAlpha);

        m_measurement = TestEnvironment::programData() + "/measurement.cxf";
        m_secret = TestEnvironment::programData() + "/secret.txt";
        QVERIFY(FixtureDatabase::writeFile(m_secret, "C-1"));
    }

    void objectNamesTakeOnlyCoreObjectNames_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QStringList>("names");
        const QStringList none;
        QTest::newRow("document order, empty and missing names skipped")
            << cxf("<cc:Object Name=\"B\"/><cc:Object Name=\"\"/><cc:Object/><cc:Object Name=\"A\"/>")
            << QStringList { "B", "A" };
        QTest::newRow("default namespace; other namespaces ignored")
            << QByteArray("<CxF xmlns=\"http://colorexchangeformat.com/CxF3-core\" xmlns:x=\"urn:x\"><Object "
                          "Name=\"A\"/><x:Object Name=\"B\"/><Object x:Name=\"C\"/></CxF>")
            << QStringList { "A" };
        QTest::newRow("character and predefined references")
            << cxf("<cc:Object Name=\"Q&apos;UOTE &#x41;\"/>") << QStringList { "Q'UOTE A" };
        QTest::newRow("entities and DTD not loaded") << cxf("<cc:Object Name=\"&s;\"/><cc:Object>&s;</cc:Object>",
            "<!DOCTYPE x SYSTEM \"" + m_secret.toUtf8() + "\" [<!ENTITY s SYSTEM \"" + m_secret.toUtf8() + "\">]>")
                                                     << none;
        QTest::newRow("deep nesting") << cxf(
            QByteArray("<a>").repeated(5000) + "<cc:Object Name=\"A\"/>" + QByteArray("</a>").repeated(5000))
                                      << none;
        QTest::newRow("huge attribute") << cxf("<cc:Object Name=\"" + QByteArray(11 * 1000 * 1000, 'x') + "\"/>")
                                        << none;
        QTest::newRow("still being written") << cxf("<cc:Object Name=\"A\"/>").left(120) << none;
    }

    void objectNamesTakeOnlyCoreObjectNames()
    {
        QFETCH(QByteArray, document);
        QFETCH(QStringList, names);
        QCOMPARE(CapsureMeasurement::objectNames(document), names);
    }

    void readFileTakesOnlySmallRegularFiles()
    {
        QByteArray bytes;
        QVERIFY(CapsureMeasurement::readFile(m_secret, bytes));
        QCOMPARE(bytes, QByteArray("C-1"));
        QVERIFY(!CapsureMeasurement::readFile(m_secret + ".missing", bytes));
        QVERIFY(!QFile::exists(m_secret + ".missing")); // ReadWrite would create it
        QVERIFY(!CapsureMeasurement::readFile(TestEnvironment::programData(), bytes));
        const QString fifo = TestEnvironment::programData() + "/fifo.cxf";
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!CapsureMeasurement::readFile(fifo, bytes)); // would block the interface
        QFile big(TestEnvironment::programData() + "/big.cxf");
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(CapsureMeasurement::kMaximumFileSize + 1));
        QVERIFY(!CapsureMeasurement::readFile(big.fileName(), bytes));
    }

    // Higher priority first; a chip named again once; a codes-only collection; a quote; no match, no dialog.
    void chipsAreListedOnceInPriorityOrder()
    {
        const std::pair<QStringList, QStringList> rows[] = { { { "C-1" }, { "C-1 (Alpha)", "C-1 (Beta)" } },
            { { "B-ONLY", "c-1", "C-1", "C-1" }, { "C-1 (Alpha)", "B-ONLY (Beta)", "C-1 (Beta)" } },
            { { "B-ONLY", "nothing" }, { "B-ONLY" } }, { { "Q'UOTE" }, { "Q'UOTE" } }, { { "nothing", " " }, {} } };
        for (const auto &[names, items] : rows) {
            const QVector<DB::ColorEntry> entries = CapsureImport::findEntries(names);
            QStringList shown;
            if (!entries.isEmpty()) {
                CapsureSelectDialog dialog(entries);
                for (int i = 0; i < dialog.chipList()->count(); ++i)
                    shown << dialog.chipList()->itemText(i);
            }
            QCOMPARE(shown, items);
        }
    }

    // The dialog runs inside the import; the measurement stays as the device software wrote it.
    void importShowsTheChipsAndGivesTheChosenOne()
    {
        const QByteArray document = cxf("<cc:Object Name=\"C-1\"/><cc:Object Name=\"C-1\"/>");
        QVERIFY(FixtureDatabase::writeFile(m_measurement, document));
        const QDateTime written = QFileInfo(m_measurement).lastModified();
        QWidget parent;
        for (const bool pressOk : { true, false }) {
            QList<QColor> swatches;
            QTimer::singleShot(0, this, [&] {
                auto *dialog = qobject_cast<CapsureSelectDialog *>(QApplication::activeModalWidget());
                QVERIFY(dialog && dialog->okButton()->isEnabled());
                for (int item = 0; item < 2; ++item) {
                    dialog->chipList()->setCurrentIndex(item);
                    swatches << dialog->grab().toImage().pixelColor(dialog->colorSwatch()->geometry().center());
                }
                if (pressOk)
                    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
                else
                    dialog->close();
            });
            DB::ColorEntry chip;
            QCOMPARE(CapsureImport::run(&parent, m_measurement, chip), pressOk);
            QCOMPARE(swatches, (QList<QColor> { kAlphaRed, kBetaBlue }));
            QCOMPARE(QList<int>({ chip.red, chip.green, chip.blue }),
                (pressOk ? QList<int> { 30, 30, 200 } : QList<int> { -1, -1, -1 }));
        }
        QCOMPARE(FixtureDatabase::readFile(m_measurement), document);
        QCOMPARE(QFileInfo(m_measurement).lastModified(), written);
    }
};

HUELINK_TEST_MAIN(CapsureImportTest)
#include "CapsureImportTest.moc"
