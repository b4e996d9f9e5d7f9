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

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

using Tintor::DB::ColorEntry;
using Tintor::DB::ItemIndex;

namespace {

const QString kConnection = "records-test";
const QUuid kUuid = QUuid::fromString("{6ba7b810-9dad-11d1-80b4-00c04fd430c8}");

// Real SQLite rows: NULLs, numbers stored as text and duplicate column names arrive as the driver hands them.
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
        QSqlDatabase database = QSqlDatabase::addDatabase("QSQLITE", kConnection);
        database.setDatabaseName(":memory:");
        QVERIFY(database.open());
    }

    // Distinct values per column catch a wrong column; rereading into the same entry forgets the previous chip.
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
        QCOMPARE(entry.nameAt(9), "n9");
        QCOMPARE(entry.extraAt(4), "x4");
        QCOMPARE(entry.nameAt(-1), QString());
        QCOMPARE(entry.nameAt(10), QString());
        QCOMPARE(entry.extraAt(-1), QString());
        QCOMPARE(entry.extraAt(10), QString());

        entry.readRecord(recordOf("SELECT 2 AS ID, 1 AS COLLECTION_ID, 1 AS WHITE"));
        const QStringList empty(10, QString());
        QCOMPARE(fieldsOf(entry),
            (QVariantList {
                2, 1, -1, -1, -1, "", -1, -1, -1, -1, 0.0, 0.0, 0.0, false, false, true, 0, -1, -1, empty, empty }));
        // A NaN lightness used to rank the chip nearest to every colour.
        const std::tuple<const char *, const char *, QVariant> values[] = { { "RED", "'42'", 42 },
            { "RED", "'abc'", 0 }, { "L", "'nan'", 0.0 }, { "L", "1e999", 0.0 }, { "WHITE", "-1", true },
            { "IS_MTO", "'yes'", false }, { "CODE", "NULL", QString() }, { "NAME3", "42", QString() } };
        for (const auto &[column, sqlValue, expected] : values) {
            const ColorEntry entry = entryOf(
                QStringLiteral("SELECT 1 AS ID, 1 AS COLLECTION_ID, %1 AS %2").arg(sqlValue, QLatin1String(column)));
            const QHash<QString, QVariant> fields { { "RED", entry.red }, { "L", entry.labL },
                { "IS_MTO", entry.isMadeToOrder }, { "WHITE", entry.isWhite }, { "CODE", entry.code },
                { "NAME3", entry.nameAt(3) } };
            QVERIFY2(fields.value(column) == expected, sqlValue);
        }
        // Names match in any case; a non-ASCII name in the row changes nothing.
        for (const QString grun : { "\"grün\"", "GRUN" }) {
            const ColorEntry mixed = entryOf(QStringLiteral("SELECT 1 AS id, 4 AS collection_Id, 5 AS Red, 6 AS %1, "
                                                            "7 AS green, 8 AS RED").arg(grun));
            QCOMPARE((QVariantList { mixed.id, mixed.collectionId, mixed.red, mixed.green }), (QVariantList { 1, 4, 5, 7 }));
        }
        for (const QString select : { "SELECT 7 AS ID, 'K' AS CODE, 3 AS PAGE_ID",
                 "SELECT 7 AS ID, 'abc' AS COLLECTION_ID, 'K' AS CODE, 3 AS PAGE_ID" }) {
            QTest::ignoreMessage(QtDebugMsg, "Oops.");
            const ColorEntry entry = entryOf(select);
            QCOMPARE(entry.collectionId, -1);
            // Reading goes on after the report.
            QCOMPARE(entry.pageId, 3);
            QTest::ignoreMessage(QtDebugMsg, "Oops.");
            const Tintor::DB::Texture texture(recordOf(QString(select).replace("'K' AS CODE", "'stone' AS NAME")));
            QCOMPARE(texture.collectionId, 0);
            QCOMPARE(texture.name, "stone");
        }
    }

    void pageReadsItsColumns()
    {
        const Tintor::DB::ColorPage page(recordOf(QStringLiteral(
            "SELECT 9 AS ID, 6 AS PAGE_INDEX, 3 AS SEGMENT, 1 AS EXTERIOR, 4 AS MOOD, 'p0' AS NAME0, 'q9' AS EXTRA9")));
        QCOMPARE((QVariantList { page.id, page.pageIndex, page.segment, page.isExterior, page.mood, page.names }),
            (QVariantList { 9, 6, 3, true, 4, QStringList { "p0", "", "", "", "", "", "", "", "", "" } }));
        QCOMPARE((QStringList { page.nameAt(0), page.extraAt(9), page.nameAt(10), page.nameAt(-1), page.extraAt(10),
                     page.extraAt(-1) }),
            (QStringList { "p0", "q9", "", "", "", "" }));
        QVERIFY(!Tintor::DB::ColorPage(recordOf("SELECT 1 AS ID, 0 AS PAGE_INDEX, 1 AS SEGMENT")).isValid());
        const Tintor::DB::Collection collection(recordOf(QStringLiteral(
            "SELECT 3 AS ID, 'DECK' AS SYSTEMID, 7 AS VERSION, '{6BA7B810-9DAD-11D1-80B4-00C04FD430C8}' AS UUID, "
            "'Deck' AS NAME, 12 AS \"ORDER\"")));
        QCOMPARE((QVariantList { collection.id, collection.systemId, collection.version, collection.uuid,
                     collection.name, collection.order }),
            (QVariantList { 3, "DECK", 7, kUuid, "Deck", 12 }));
        QVERIFY(Tintor::DB::Collection(recordOf("SELECT 3 AS ID, 'not a uuid' AS UUID")).uuid.isNull());
    }

    void foresightAndTextureRecordsReadTheirColumns()
    {
        // No GREEN column: that channel stays 0.
        const Tintor::DB::ColorForesightEntry entry(
            recordOf(QStringLiteral("SELECT 3 AS ID, 17 AS ROW_ID, 'Dune' AS NAME_1, 'Sand' AS NAME_2, 200 AS RED, 90 "
                                    "AS BLUE, 4 AS \"ORDER\"")));
        QVERIFY(entry.isValid());
        QCOMPARE((QVariantList { entry.color, entry.rowId, entry.name1, entry.name2, entry.order }),
            (QVariantList { QColor(200, 0, 90), 17, "Dune", "Sand", 4 }));
        QCOMPARE(Tintor::DB::ColorForesightEntry(recordOf("SELECT 1 AS ID, 2 AS GREEN")).color, QColor(0, 2, 0));
        QVERIFY(!Tintor::DB::ColorForesightEntry(recordOf("SELECT 5 AS ROW_ID")).isValid());

        const Tintor::DB::ColorForesightGroup group(
            recordOf("SELECT 8 AS ID, 'Autumn' AS NAME, 1 AS DEFAULT_OPEN, 2 AS \"ORDER\""));
        QVERIFY(group.isValid());
        QCOMPARE((QVariantList { group.name, group.isDefaultOpen, group.order }), (QVariantList { "Autumn", true, 2 }));

        const Tintor::DB::Texture texture(
            recordOf("SELECT 2 AS ID, 1 AS COLLECTION_ID, 'Plaster' AS NAME, 0.4 AS BASE_ALPHA, ? AS IMAGE",
                { FixtureDatabase::png(QSize(3, 2), Qt::darkCyan) }));
        QVERIFY(texture.isValid());
        QCOMPARE((QVariantList { texture.collectionId, texture.name, texture.baseAlpha, texture.image.size(),
                     QColor(texture.image.pixel(1, 1)) }),
            (QVariantList { 1, "Plaster", 0.4, QSize(3, 2), QColor(Qt::darkCyan) }));

        const Tintor::DB::TextureMapEntry map(
            recordOf("SELECT 4 AS TEXTURE_ID, 9 AS PAGE_ID, 'Wall' AS NAME, 0.75 AS ALPHA"));
        QCOMPARE(
            (QVariantList { map.textureId, map.pageId, map.name, map.alpha }), (QVariantList { 4, 9, "Wall", 0.75 }));
        QCOMPARE((ItemIndex { kUuid, 3, 7 }.toText()), "ItemIndex({6ba7b810-9dad-11d1-80b4-00c04fd430c8},3,7)");
        // Empty parts are dropped before counting.
        const QString u = kUuid.toString(QUuid::WithBraces);
        const std::tuple<QString, QUuid, qint64, qint64> texts[] = {
            { ItemIndex { kUuid, 3, qint64(1) << 40 }.toText(), kUuid, 3, qint64(1) << 40 },
            { QStringLiteral("itemindex(%1,3,7)").arg(u), QUuid(), -1, -1 },
            { QStringLiteral("ItemIndex(%1,3,7").arg(u), QUuid(), -1, -1 },
            { "ItemIndex({)", QUuid(), -1, -1 },
            { QStringLiteral("ItemIndex(%1,,3,7)").arg(u), kUuid, 3, 7 },
            { "ItemIndex({not-a-uuid},3,7)", QUuid(), 3, 7 },
        };
        for (const auto &[text, uuid, pageId, colorId] : texts) {
            const ItemIndex index = ItemIndex::fromText(text);
            QCOMPARE(index.collectionUuid, uuid);
            QCOMPARE(index.pageId, pageId);
            QCOMPARE(index.colorId, colorId);
        }
    }
};

HUELINK_TEST_MAIN(RecordsTest)
#include "RecordsTest.moc"
