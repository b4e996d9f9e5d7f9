#include "db/Collection.h"
#include "db/ColorEntry.h"
#include "db/ColorForesightEntry.h"
#include "db/ColorForesightGroup.h"
#include "db/ColorPage.h"
#include "db/ItemIndex.h"
#include "db/Texture.h"
#include "db/TextureMapEntry.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QImage>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

using Tintor::DB::ColorEntry;
using Tintor::DB::ItemIndex;

namespace {

const QString kConnection = QStringLiteral("records-test");
const QUuid kUuid = QUuid::fromString(QStringLiteral("{6ba7b810-9dad-11d1-80b4-00c04fd430c8}"));

// Rows come from real SQLite results, so NULLs, numbers stored as text and
// duplicate column names reach the records exactly as the driver hands them.
QSqlRecord recordOf(const QString &select, const QVariantList &values = {})
{
    QSqlQuery query(QSqlDatabase::database(kConnection));
    query.prepare(select);
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec() || !query.next())
        qWarning() << "no row from" << select << query.lastError().text();
    return query.record();
}

ColorEntry entryOf(const QString &select)
{
    ColorEntry entry;
    entry.readRecord(recordOf(select));
    return entry;
}

QVariantList fieldsOf(const ColorEntry &e)
{
    return { e.id, e.collectionId, e.pageId, e.rowIndex, e.pageOrder, e.code, e.segment, e.red, e.green, e.blue, e.labL,
        e.labA, e.labB, e.isMadeToOrder, e.isNeutral, e.isWhite, e.mood, e.schemePos, e.nschemePos, e.names, e.extras };
}

} // namespace

class RecordsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
        database.setDatabaseName(QStringLiteral(":memory:"));
        QVERIFY(database.open());
    }

    // Distinct values per column catch a field read from the wrong column;
    // rereading into the same entry (as the queries do) forgets the previous chip.
    void colorEntryReadsEveryColumnAndRereadClears()
    {
        ColorEntry entry = entryOf(QStringLiteral(
            "SELECT 11 AS ID, 2 AS COLLECTION_ID, 3 AS PAGE_ID, 4 AS ROW_INDEX, 5 AS PAGE_ORDER, 'C-1' AS CODE, "
            "6 AS SEGMENT, 7 AS RED, 8 AS GREEN, 9 AS BLUE, 10.5 AS L, -11.25 AS A, 12.75 AS B, 1 AS IS_MTO, "
            "2 AS NEUTRAL, 0 AS WHITE, 3 AS MOOD, 13 AS SCHEME_POS, 14 AS NSCHEME_POS, "
            "'n0' AS NAME0, 'n9' AS NAME9, 'x0' AS EXTRA0, 'x4' AS EXTRA4, 9 AS COLLECTION_ID, 'dup' AS CODE"));
        const QStringList names { "n0", "", "", "", "", "", "", "", "", "n9" };
        const QStringList extras { "x0", "", "", "", "x4", "", "", "", "", "" };
        QCOMPARE(fieldsOf(entry),
            (QVariantList {
                11, 2, 3, 4, 5, "C-1", 6, 7, 8, 9, 10.5, -11.25, 12.75, true, true, false, 3, 13, 14, names, extras }));
        QCOMPARE(entry.nameAt(9), QStringLiteral("n9"));
        QCOMPARE(entry.extraAt(4), QStringLiteral("x4"));
        QCOMPARE(entry.nameAt(-1), QString());
        QCOMPARE(entry.nameAt(10), QString());
        QCOMPARE(entry.extraAt(-1), QString());
        QCOMPARE(entry.extraAt(10), QString());

        entry.readRecord(recordOf(QStringLiteral("SELECT 2 AS ID, 1 AS COLLECTION_ID, 1 AS WHITE")));
        const QStringList empty(10, QString());
        QCOMPARE(fieldsOf(entry),
            (QVariantList {
                2, 1, -1, -1, -1, "", -1, -1, -1, -1, 0.0, 0.0, 0.0, false, false, true, 0, -1, -1, empty, empty }));
    }

    void valuesConvertByTheFieldType_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("sqlValue");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("integer stored as text") << "RED"
                                                << "'42'" << QVariant(42);
        QTest::newRow("text that is not a number") << "RED"
                                                   << "'abc'" << QVariant(0);
        // A NaN lightness used to rank the chip nearest to every colour.
        QTest::newRow("double text nan") << "L"
                                         << "'nan'" << QVariant(0.0);
        QTest::newRow("double overflow") << "L"
                                         << "1e999" << QVariant(0.0);
        QTest::newRow("flag -1 is true") << "WHITE"
                                         << "-1" << QVariant(true);
        QTest::newRow("flag text is false") << "IS_MTO"
                                            << "'yes'" << QVariant(false);
        QTest::newRow("NULL text") << "CODE"
                                   << "NULL" << QVariant(QString());
        QTest::newRow("name from a number") << "NAME3"
                                            << "42" << QVariant(QString());
    }

    void valuesConvertByTheFieldType()
    {
        QFETCH(QString, column);
        QFETCH(QString, sqlValue);
        QFETCH(QVariant, expected);
        const ColorEntry entry
            = entryOf(QStringLiteral("SELECT 1 AS ID, 1 AS COLLECTION_ID, %1 AS %2").arg(sqlValue, column));
        const QHash<QString, QVariant> fields { { "ID", entry.id }, { "PAGE_ID", entry.pageId }, { "RED", entry.red },
            { "L", entry.labL }, { "IS_MTO", entry.isMadeToOrder }, { "WHITE", entry.isWhite }, { "CODE", entry.code },
            { "NAME3", entry.nameAt(3) }, { "EXTRA3", entry.extraAt(3) } };
        QCOMPARE(fields.value(column), expected);
    }

    void missingCollectionIdIsReported_data()
    {
        QTest::addColumn<QString>("select");
        QTest::newRow("missing") << "SELECT 7 AS ID, 'K' AS CODE, 3 AS PAGE_ID";
        QTest::newRow("not a number") << "SELECT 7 AS ID, 'abc' AS COLLECTION_ID, 'K' AS CODE, 3 AS PAGE_ID";
    }

    void missingCollectionIdIsReported()
    {
        QFETCH(QString, select);
        QTest::ignoreMessage(QtDebugMsg, "Oops.");
        const ColorEntry entry = entryOf(select);
        QCOMPARE(entry.collectionId, -1);
        // Reading goes on after the report.
        QCOMPARE(entry.pageId, 3);

        QTest::ignoreMessage(QtDebugMsg, "Oops.");
        const Tintor::DB::Texture texture(recordOf(QString(select).replace("'K' AS CODE", "'stone' AS NAME")));
        QCOMPARE(texture.collectionId, 0);
        QCOMPARE(texture.name, QStringLiteral("stone"));
    }

    void pageReadsItsColumns()
    {
        const Tintor::DB::ColorPage page(recordOf(QStringLiteral(
            "SELECT 9 AS ID, 6 AS PAGE_INDEX, 3 AS SEGMENT, 1 AS EXTERIOR, 4 AS MOOD, 'p0' AS NAME0, 'q9' AS EXTRA9")));
        QCOMPARE(page.id, 9);
        QCOMPARE(page.pageIndex, 6);
        QCOMPARE(page.segment, 3);
        QVERIFY(page.isExterior);
        QCOMPARE(page.mood, 4);
        QCOMPARE(page.names, (QStringList { "p0", "", "", "", "", "", "", "", "", "" }));
        QCOMPARE(page.nameAt(0), QStringLiteral("p0"));
        QCOMPARE(page.extraAt(9), QStringLiteral("q9"));
        QCOMPARE(page.nameAt(10), QString());
        QCOMPARE(page.nameAt(-1), QString());
        QCOMPARE(page.extraAt(10), QString());
        QCOMPARE(page.extraAt(-1), QString());
        QVERIFY(!Tintor::DB::ColorPage(recordOf(QStringLiteral("SELECT 1 AS ID, 0 AS PAGE_INDEX, 1 AS SEGMENT")))
                     .isValid());
    }

    void foresightRecordsReadTheirColumns()
    {
        const Tintor::DB::ColorForesightEntry entry(
            recordOf(QStringLiteral("SELECT 3 AS ID, 17 AS ROW_ID, 'Dune' AS NAME_1, 'Sand' AS NAME_2, 200 AS RED, 90 "
                                    "AS BLUE, 4 AS \"ORDER\"")));
        QVERIFY(entry.isValid());
        // No GREEN column: that channel stays 0.
        QCOMPARE(entry.color, QColor(200, 0, 90));
        QCOMPARE(entry.rowId, 17);
        QCOMPARE(entry.name1, QStringLiteral("Dune"));
        QCOMPARE(entry.name2, QStringLiteral("Sand"));
        QCOMPARE(entry.order, 4);
        QCOMPARE(Tintor::DB::ColorForesightEntry(recordOf(QStringLiteral("SELECT 1 AS ID, 2 AS GREEN"))).color,
            QColor(0, 2, 0));
        QVERIFY(!Tintor::DB::ColorForesightEntry(recordOf(QStringLiteral("SELECT 5 AS ROW_ID"))).isValid());

        const Tintor::DB::ColorForesightGroup group(
            recordOf(QStringLiteral("SELECT 8 AS ID, 'Autumn' AS NAME, 1 AS DEFAULT_OPEN, 2 AS \"ORDER\"")));
        QVERIFY(group.isValid());
        QCOMPARE(group.name, QStringLiteral("Autumn"));
        QVERIFY(group.isDefaultOpen);
        QCOMPARE(group.order, 2);
    }

    void textureRecordsReadTheirColumns()
    {
        const Tintor::DB::Texture texture(
            recordOf(QStringLiteral("SELECT 2 AS ID, 1 AS COLLECTION_ID, 'Plaster' AS NAME, 0.4 AS BASE_ALPHA, "
                                    "? AS IMAGE"),
                { FixtureDatabase::png(QSize(3, 2), Qt::darkCyan) }));
        QVERIFY(texture.isValid());
        QCOMPARE(texture.collectionId, 1);
        QCOMPARE(texture.name, QStringLiteral("Plaster"));
        QCOMPARE(texture.baseAlpha, 0.4);
        QCOMPARE(texture.image.size(), QSize(3, 2));
        QCOMPARE(QColor(texture.image.pixel(1, 1)), QColor(Qt::darkCyan));

        const Tintor::DB::TextureMapEntry entry(
            recordOf(QStringLiteral("SELECT 4 AS TEXTURE_ID, 9 AS PAGE_ID, 'Wall' AS NAME, 0.75 AS ALPHA")));
        QCOMPARE(entry.textureId, 4);
        QCOMPARE(entry.pageId, 9);
        QCOMPARE(entry.name, QStringLiteral("Wall"));
        QCOMPARE(entry.alpha, 0.75);
    }

    void collectionReadsItsColumns()
    {
        const Tintor::DB::Collection collection(recordOf(QStringLiteral(
            "SELECT 3 AS ID, 'DECK' AS SYSTEMID, 7 AS VERSION, '{6BA7B810-9DAD-11D1-80B4-00C04FD430C8}' AS UUID, "
            "'Deck' AS NAME, 12 AS \"ORDER\"")));
        QCOMPARE(collection.id, 3);
        QCOMPARE(collection.systemId, QStringLiteral("DECK"));
        QCOMPARE(collection.version, 7);
        QCOMPARE(collection.uuid, kUuid);
        QCOMPARE(collection.name, QStringLiteral("Deck"));
        QCOMPARE(collection.order, 12);
        QVERIFY(Tintor::DB::Collection(recordOf(QStringLiteral("SELECT 3 AS ID, 'not a uuid' AS UUID"))).uuid.isNull());
    }

    void itemIndexFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QUuid>("uuid");
        QTest::addColumn<qint64>("pageId");
        QTest::addColumn<qint64>("colorId");
        const QString u = kUuid.toString(QUuid::WithBraces);
        const QUuid none;
        QTest::newRow("round trip") << ItemIndex { kUuid, 3, qint64(1) << 40 }.toText() << kUuid << qint64(3)
                                    << (qint64(1) << 40);
        QTest::newRow("lower-case prefix")
            << QStringLiteral("itemindex(%1,3,7)").arg(u) << none << qint64(-1) << qint64(-1);
        QTest::newRow("no closing parenthesis")
            << QStringLiteral("ItemIndex(%1,3,7").arg(u) << none << qint64(-1) << qint64(-1);
        QTest::newRow("nothing inside") << QStringLiteral("ItemIndex({)") << none << qint64(-1) << qint64(-1);
        // Empty parts are dropped before counting.
        QTest::newRow("doubled comma") << QStringLiteral("ItemIndex(%1,,3,7)").arg(u) << kUuid << qint64(3)
                                       << qint64(7);
        QTest::newRow("uuid not parsable")
            << QStringLiteral("ItemIndex({not-a-uuid},3,7)") << none << qint64(3) << qint64(7);
    }

    void itemIndexFromText()
    {
        QFETCH(QString, text);
        QFETCH(QUuid, uuid);
        QFETCH(qint64, pageId);
        QFETCH(qint64, colorId);
        const ItemIndex index = ItemIndex::fromText(text);
        QCOMPARE(index.collectionUuid, uuid);
        QCOMPARE(index.pageId, pageId);
        QCOMPARE(index.colorId, colorId);
        QCOMPARE((ItemIndex { kUuid, 3, 7 }.toText()),
            QStringLiteral("ItemIndex({6ba7b810-9dad-11d1-80b4-00c04fd430c8},3,7)"));
    }
};

HUELINK_TEST_MAIN(RecordsTest)
#include "RecordsTest.moc"
