#include "db/ColorEntry.h"
#include "db/ColorForesightEntry.h"
#include "db/ColorForesightGroup.h"
#include "db/ColorPage.h"
#include "db/Collection.h"
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

// Rows come from real SQLite results, so NULLs, numbers stored as text and
// duplicate column names reach the records exactly as the driver hands them.
QSqlRecord recordOf(const QString &select, const QVariantList &values = {})
{
    QSqlQuery query(QSqlDatabase::database(kConnection));
    if (!query.prepare(select)) {
        qWarning() << "cannot prepare" << select << query.lastError().text();
        return QSqlRecord();
    }
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec() || !query.next()) {
        qWarning() << "no row from" << select << query.lastError().text();
        return QSqlRecord();
    }
    return query.record();
}

ColorEntry entryOf(const QString &select)
{
    ColorEntry entry;
    entry.clear();
    entry.readRecord(recordOf(select));
    return entry;
}

QVariant entryField(const ColorEntry &entry, const QString &column)
{
    static const QHash<QString, std::function<QVariant(const ColorEntry &)>> fields{
        {QStringLiteral("ID"), [](const ColorEntry &e) { return QVariant(e.id); }},
        {QStringLiteral("PAGE_ID"), [](const ColorEntry &e) { return QVariant(e.pageId); }},
        {QStringLiteral("ROW_INDEX"), [](const ColorEntry &e) { return QVariant(e.rowIndex); }},
        {QStringLiteral("PAGE_ORDER"), [](const ColorEntry &e) { return QVariant(e.pageOrder); }},
        {QStringLiteral("CODE"), [](const ColorEntry &e) { return QVariant(e.code); }},
        {QStringLiteral("SEGMENT"), [](const ColorEntry &e) { return QVariant(e.segment); }},
        {QStringLiteral("RED"), [](const ColorEntry &e) { return QVariant(e.red); }},
        {QStringLiteral("L"), [](const ColorEntry &e) { return QVariant(e.labL); }},
        {QStringLiteral("IS_MTO"), [](const ColorEntry &e) { return QVariant(e.isMadeToOrder); }},
        {QStringLiteral("WHITE"), [](const ColorEntry &e) { return QVariant(e.isWhite); }},
        {QStringLiteral("SCHEME_POS"), [](const ColorEntry &e) { return QVariant(e.schemePos); }},
    };
    return fields.value(column)(entry);
}

// Collects debug output, to prove that a line was not written.
class MessageLog
{
public:
    MessageLog()
    {
        lines().clear();
        m_previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) {
            lines().append(text);
        });
    }
    ~MessageLog() { qInstallMessageHandler(m_previous); }
    static QStringList &lines()
    {
        static QStringList collected;
        return collected;
    }

private:
    QtMessageHandler m_previous = nullptr;
};

const QUuid kUuid = QUuid::fromString(QStringLiteral("{6ba7b810-9dad-11d1-80b4-00c04fd430c8}"));

} // namespace

class RecordsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
        database.setDatabaseName(QStringLiteral(":memory:"));
        QVERIFY(database.open());
    }

    void cleanupTestCase()
    {
        QSqlDatabase::database(kConnection).close();
        QSqlDatabase::removeDatabase(kConnection);
    }

    // Distinct values per column catch a field read from the wrong column.
    void colorEntryReadsEveryColumnIntoItsField()
    {
        const ColorEntry entry = entryOf(QStringLiteral(
            "SELECT 11 AS ID, 2 AS COLLECTION_ID, 3 AS PAGE_ID, 4 AS ROW_INDEX, 5 AS PAGE_ORDER, 'C-1' AS CODE, "
            "6 AS SEGMENT, 7 AS RED, 8 AS GREEN, 9 AS BLUE, 10.5 AS L, -11.25 AS A, 12.75 AS B, 1 AS IS_MTO, "
            "2 AS NEUTRAL, 0 AS WHITE, 3 AS MOOD, 13 AS SCHEME_POS, 14 AS NSCHEME_POS, "
            "'n0' AS NAME0, 'n9' AS NAME9, 'x0' AS EXTRA0, 'x4' AS EXTRA4"));
        QCOMPARE(entry.id, 11);
        QCOMPARE(entry.collectionId, 2);
        QCOMPARE(entry.pageId, 3);
        QCOMPARE(entry.rowIndex, 4);
        QCOMPARE(entry.pageOrder, 5);
        QCOMPARE(entry.code, QStringLiteral("C-1"));
        QCOMPARE(entry.segment, 6);
        QCOMPARE(entry.red, 7);
        QCOMPARE(entry.green, 8);
        QCOMPARE(entry.blue, 9);
        QCOMPARE(entry.labL, 10.5);
        QCOMPARE(entry.labA, -11.25);
        QCOMPARE(entry.labB, 12.75);
        QCOMPARE(entry.isMadeToOrder, true);
        QCOMPARE(entry.isNeutral, true);
        QCOMPARE(entry.isWhite, false);
        QCOMPARE(entry.mood, 3);
        QCOMPARE(entry.schemePos, 13);
        QCOMPARE(entry.nschemePos, 14);
        QCOMPARE(entry.names.size(), 10);
        QCOMPARE(entry.nameAt(0), QStringLiteral("n0"));
        QCOMPARE(entry.nameAt(9), QStringLiteral("n9"));
        QCOMPARE(entry.extraAt(0), QStringLiteral("x0"));
        QCOMPARE(entry.extraAt(4), QStringLiteral("x4"));
        QVERIFY(entry.isValid());
    }

    void colorEntryMissingColumnsKeepEmptyValues()
    {
        const ColorEntry entry = entryOf(QStringLiteral("SELECT 4 AS ID, 1 AS COLLECTION_ID"));
        QCOMPARE(entry.id, 4);
        QCOMPARE(entry.red, -1);
        QCOMPARE(entry.labL, 0.0);
        QCOMPARE(entry.names, QStringList(10, QString()));
    }

    void valuesConvertByTheFieldType_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("sqlValue");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("integer stored as text") << "RED" << "'42'" << QVariant(42);
        QTest::newRow("text that is not a number") << "RED" << "'abc'" << QVariant(0);
        QTest::newRow("empty text") << "SEGMENT" << "''" << QVariant(0);
        QTest::newRow("64-bit as text") << "PAGE_ID" << "'8589934593'" << QVariant(qint64(8589934593));
        QTest::newRow("64-bit not a number") << "PAGE_ID" << "'p1'" << QVariant(qint64(0));
        QTest::newRow("ID not a number") << "ID" << "'row'" << QVariant(qint64(0));
        QTest::newRow("double stored as text") << "L" << "'12.5'" << QVariant(12.5);
        QTest::newRow("double not a number") << "L" << "'light'" << QVariant(0.0);
        // Text the toolkit would turn into NaN or infinity; a NaN lightness
        // used to rank the chip nearest to every colour.
        QTest::newRow("double text nan") << "L" << "'nan'" << QVariant(0.0);
        QTest::newRow("double text inf") << "L" << "'-inf'" << QVariant(0.0);
        QTest::newRow("double overflow") << "L" << "1e999" << QVariant(0.0);
        QTest::newRow("flag 2 is true") << "IS_MTO" << "2" << QVariant(true);
        QTest::newRow("flag -1 is true") << "WHITE" << "-1" << QVariant(true);
        QTest::newRow("flag '1' is true") << "IS_MTO" << "'1'" << QVariant(true);
        QTest::newRow("flag 0 is false") << "IS_MTO" << "0" << QVariant(false);
        QTest::newRow("flag text is false") << "IS_MTO" << "'yes'" << QVariant(false);
        QTest::newRow("text from a number") << "CODE" << "1234" << QVariant(QStringLiteral("1234"));
        QTest::newRow("negative as text") << "SCHEME_POS" << "'-1'" << QVariant(-1);
        // A NULL arrives as a null text and converts like text that is no number.
        QTest::newRow("NULL integer") << "SEGMENT" << "NULL" << QVariant(0);
        QTest::newRow("NULL text") << "CODE" << "NULL" << QVariant(QString());
    }

    void valuesConvertByTheFieldType()
    {
        QFETCH(QString, column);
        QFETCH(QString, sqlValue);
        QFETCH(QVariant, expected);
        const QString select = column == QLatin1String("ID")
                                 ? QStringLiteral("SELECT %1 AS ID, 1 AS COLLECTION_ID").arg(sqlValue)
                                 : QStringLiteral("SELECT 1 AS ID, 1 AS COLLECTION_ID, %1 AS %2").arg(sqlValue, column);
        QCOMPARE(entryField(entryOf(select), column), expected);
    }

    void firstOfDuplicateColumnsCounts()
    {
        // Queries return "ROW".* together with a computed COLLECTION_ID.
        const ColorEntry entry = entryOf(QStringLiteral(
            "SELECT 1 AS ID, 5 AS COLLECTION_ID, 'first' AS CODE, 9 AS COLLECTION_ID, 'second' AS CODE"));
        QCOMPARE(entry.collectionId, 5);
        QCOMPARE(entry.code, QStringLiteral("first"));
    }

    void columnNamesMatchWithoutRegardToCase()
    {
        const ColorEntry entry = entryOf(QStringLiteral(
            "SELECT 3 AS id, 4 AS collection_id, 7 AS Page_Id, 'lower' AS name0, 1 AS is_mto"));
        QCOMPARE(entry.id, 3);
        QCOMPARE(entry.collectionId, 4);
        QCOMPARE(entry.pageId, 7);
        QCOMPARE(entry.nameAt(0), QStringLiteral("lower"));
        QVERIFY(entry.isMadeToOrder);
    }

    void nameListsAlwaysHoldTen()
    {
        const ColorEntry entry = entryOf(QStringLiteral(
            "SELECT 1 AS ID, 1 AS COLLECTION_ID, 'a' AS NAME0, 'b' AS NAME1, 'c' AS NAME2, 42 AS NAME3, "
            "NULL AS NAME4, 'e' AS EXTRA1"));
        // No NAME5..NAME9 columns; a number and a NULL are not text.
        QCOMPARE(entry.names, (QStringList{"a", "b", "c", "", "", "", "", "", "", ""}));
        QCOMPARE(entry.extras, (QStringList{"", "e", "", "", "", "", "", "", "", ""}));
        QCOMPARE(entry.nameAt(-1), QString());
        QCOMPARE(entry.nameAt(10), QString());
        QCOMPARE(entry.extraAt(10), QString());

        const Tintor::DB::ColorPage page(recordOf(QStringLiteral(
            "SELECT 2 AS ID, 1 AS PAGE_INDEX, 1 AS SEGMENT, 'p0' AS NAME0, 'p4' AS NAME4, 'q9' AS EXTRA9")));
        QCOMPARE(page.names, (QStringList{"p0", "", "", "", "p4", "", "", "", "", ""}));
        QCOMPARE(page.extraAt(9), QStringLiteral("q9"));
        QCOMPARE(page.nameAt(10), QString());
        QCOMPARE(page.nameAt(-1), QString());
    }

    // The query operations reuse one caller's entry for every row.
    void rereadingIntoTheSameEntryForgetsThePreviousChip()
    {
        ColorEntry entry;
        entry.readRecord(recordOf(QStringLiteral(
            "SELECT 1 AS ID, 1 AS COLLECTION_ID, 1 AS IS_MTO, 1 AS WHITE, 'X-1' AS CODE, 'old' AS NAME0, "
            "3 AS PAGE_ORDER, 200 AS RED, 55.5 AS L")));
        QVERIFY(entry.isMadeToOrder);
        entry.readRecord(recordOf(QStringLiteral("SELECT 2 AS ID, 1 AS COLLECTION_ID, 'Y-2' AS CODE")));
        QCOMPARE(entry.id, 2);
        QCOMPARE(entry.isMadeToOrder, false);
        QCOMPARE(entry.isWhite, false);
        QCOMPARE(entry.code, QStringLiteral("Y-2"));
        QCOMPARE(entry.names, QStringList(10, QString()));
        QCOMPARE(entry.pageOrder, -1);
        QCOMPARE(entry.red, -1);
        QCOMPARE(entry.labL, 0.0);
    }

    void missingCollectionIdIsReported_data()
    {
        QTest::addColumn<QString>("select");
        QTest::newRow("missing") << "SELECT 7 AS ID, 'K' AS CODE, 3 AS PAGE_ID";
        QTest::newRow("not a number") << "SELECT 7 AS ID, 'abc' AS COLLECTION_ID, 'K' AS CODE, 3 AS PAGE_ID";
        QTest::newRow("NULL") << "SELECT 7 AS ID, NULL AS COLLECTION_ID, 'K' AS CODE, 3 AS PAGE_ID";
    }

    void missingCollectionIdIsReported()
    {
        QFETCH(QString, select);
        QTest::ignoreMessage(QtDebugMsg, "Oops.");
        const ColorEntry entry = entryOf(select);
        QCOMPARE(entry.collectionId, -1);
        // Reading goes on after the report.
        QCOMPARE(entry.code, QStringLiteral("K"));
        QCOMPARE(entry.pageId, 3);

        QTest::ignoreMessage(QtDebugMsg, "Oops.");
        const Tintor::DB::Texture texture(recordOf(QString(select).replace("'K' AS CODE", "'stone' AS NAME")));
        QCOMPARE(texture.collectionId, 0);
        QCOMPARE(texture.name, QStringLiteral("stone"));
    }

    void presentCollectionIdIsNotReported()
    {
        const MessageLog log;
        const ColorEntry entry = entryOf(QStringLiteral("SELECT 1 AS ID, '12' AS COLLECTION_ID"));
        const Tintor::DB::Texture texture(recordOf(QStringLiteral("SELECT 1 AS ID, 0 AS COLLECTION_ID")));
        // Other records have no COLLECTION_ID to report.
        const Tintor::DB::ColorPage page(recordOf(QStringLiteral("SELECT 1 AS ID")));
        const Tintor::DB::ColorForesightGroup group(recordOf(QStringLiteral("SELECT 1 AS ID")));
        QCOMPARE(entry.collectionId, 12);
        QCOMPARE(texture.collectionId, 0);
        QCOMPARE(MessageLog::lines(), QStringList());
    }

    void pageValidity_data()
    {
        QTest::addColumn<QString>("columns");
        QTest::addColumn<bool>("valid");
        QTest::newRow("first card") << "1 AS PAGE_INDEX, 1 AS SEGMENT" << true;
        QTest::newRow("page index as text") << "'3' AS PAGE_INDEX, '2' AS SEGMENT" << true;
        QTest::newRow("page index 0") << "0 AS PAGE_INDEX, 1 AS SEGMENT" << false;
        QTest::newRow("segment 0") << "4 AS PAGE_INDEX, 0 AS SEGMENT" << false;
        QTest::newRow("negative page index") << "-2 AS PAGE_INDEX, 1 AS SEGMENT" << false;
        QTest::newRow("page index not a number") << "'first' AS PAGE_INDEX, 1 AS SEGMENT" << false;
        QTest::newRow("page index NULL") << "NULL AS PAGE_INDEX, 1 AS SEGMENT" << false;
        QTest::newRow("no page index") << "1 AS SEGMENT" << false;
        QTest::newRow("no segment") << "1 AS PAGE_INDEX" << false;
    }

    void pageValidity()
    {
        QFETCH(QString, columns);
        QFETCH(bool, valid);
        const Tintor::DB::ColorPage page(recordOf(QStringLiteral("SELECT 9 AS ID, %1").arg(columns)));
        QCOMPARE(page.isValid(), valid);
        QCOMPARE(page.id, 9);
    }

    void pageReadsItsColumns()
    {
        const Tintor::DB::ColorPage page(
            recordOf(QStringLiteral("SELECT 6 AS PAGE_INDEX, 3 AS SEGMENT, 1 AS EXTERIOR, 4 AS MOOD")));
        QCOMPARE(page.id, -1);
        QCOMPARE(page.pageIndex, 6);
        QCOMPARE(page.segment, 3);
        QVERIFY(page.isExterior);
        QCOMPARE(page.mood, 4);
        QVERIFY(page.entries.isEmpty());
    }

    void foresightEntryWithoutGreenColumn()
    {
        const Tintor::DB::ColorForesightEntry entry(recordOf(QStringLiteral(
            "SELECT 3 AS ID, 17 AS ROW_ID, 'Dune' AS NAME_1, 'Sand' AS NAME_2, 200 AS RED, 90 AS BLUE, 4 AS \"ORDER\"")));
        QVERIFY(entry.isValid());
        QVERIFY(entry.color.isValid());
        QCOMPARE(entry.color.red(), 200);
        QCOMPARE(entry.color.green(), 0);
        QCOMPARE(entry.color.blue(), 90);
        QCOMPARE(entry.color.alpha(), 255);
        QCOMPARE(entry.rowId, 17);
        QCOMPARE(entry.name1, QStringLiteral("Dune"));
        QCOMPARE(entry.name2, QStringLiteral("Sand"));
        QCOMPARE(entry.order, 4);
    }

    void foresightEntryNotLinkedToAChip()
    {
        const Tintor::DB::ColorForesightEntry entry(
            recordOf(QStringLiteral("SELECT 3 AS ID, NULL AS ROW_ID, 1 AS RED, 2 AS GREEN, 3 AS BLUE")));
        QCOMPARE(entry.rowId, 0);
        QCOMPARE(entry.color, QColor(1, 2, 3));
        QVERIFY(!Tintor::DB::ColorForesightEntry(recordOf(QStringLiteral("SELECT 5 AS ROW_ID"))).isValid());
    }

    void foresightGroupReadsItsColumns()
    {
        const Tintor::DB::ColorForesightGroup group(
            recordOf(QStringLiteral("SELECT 8 AS ID, 'Autumn' AS NAME, 1 AS DEFAULT_OPEN, 2 AS \"ORDER\"")));
        QVERIFY(group.isValid());
        QCOMPARE(group.name, QStringLiteral("Autumn"));
        QVERIFY(group.isDefaultOpen);
        QCOMPARE(group.order, 2);
        QVERIFY(!Tintor::DB::ColorForesightGroup(recordOf(QStringLiteral("SELECT 'x' AS NAME"))).isValid());
    }

    void textureDecodesItsImage()
    {
        const Tintor::DB::Texture texture(
            recordOf(QStringLiteral("SELECT 2 AS ID, 1 AS COLLECTION_ID, 'Plaster' AS NAME, 0.4 AS BASE_ALPHA, "
                                    "? AS IMAGE"),
                     {FixtureDatabase::png(QSize(3, 2), Qt::darkCyan)}));
        QVERIFY(texture.isValid());
        QCOMPARE(texture.collectionId, 1);
        QCOMPARE(texture.name, QStringLiteral("Plaster"));
        QCOMPARE(texture.baseAlpha, 0.4);
        QCOMPARE(texture.image.size(), QSize(3, 2));
        QCOMPARE(QColor(texture.image.pixel(1, 1)), QColor(Qt::darkCyan));

        const Tintor::DB::Texture broken(recordOf(
            QStringLiteral("SELECT 2 AS ID, 1 AS COLLECTION_ID, ? AS IMAGE"), {QByteArray("not an image")}));
        QVERIFY(broken.image.isNull());
        const Tintor::DB::Texture without(recordOf(QStringLiteral("SELECT 2 AS ID, 1 AS COLLECTION_ID")));
        QVERIFY(without.image.isNull());
        QCOMPARE(without.baseAlpha, 0.0);
    }

    void textureMapEntryReadsItsColumns()
    {
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
        QVERIFY(collection.isValid());

        const Tintor::DB::Collection unparsable(
            recordOf(QStringLiteral("SELECT 3 AS ID, 'not a uuid' AS UUID, 'x' AS \"ORDER\"")));
        QVERIFY(unparsable.uuid.isNull());
        QCOMPARE(unparsable.order, 0);
        QCOMPARE(unparsable.version, 0);
    }

    void itemIndexTextForm()
    {
        const ItemIndex index{kUuid, 3, 7};
        QCOMPARE(index.toText(), QStringLiteral("ItemIndex({6ba7b810-9dad-11d1-80b4-00c04fd430c8},3,7)"));
    }

    void itemIndexRoundTrip_data()
    {
        QTest::addColumn<QUuid>("uuid");
        QTest::addColumn<qint64>("pageId");
        QTest::addColumn<qint64>("colorId");
        QTest::newRow("card 3 row 7") << kUuid << qint64(3) << qint64(7);
        QTest::newRow("64-bit ids") << kUuid << qint64(1) << (qint64(1) << 40);
        QTest::newRow("no chip") << QUuid() << qint64(-1) << qint64(-1);
    }

    void itemIndexRoundTrip()
    {
        QFETCH(QUuid, uuid);
        QFETCH(qint64, pageId);
        QFETCH(qint64, colorId);
        const ItemIndex index{uuid, pageId, colorId};
        const ItemIndex parsed = ItemIndex::fromText(index.toText());
        QCOMPARE(parsed.collectionUuid, uuid);
        QCOMPARE(parsed.pageId, pageId);
        QCOMPARE(parsed.colorId, colorId);
        QVERIFY(parsed == index);
    }

    void itemIndexFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QUuid>("uuid");
        QTest::addColumn<qint64>("pageId");
        QTest::addColumn<qint64>("colorId");
        const QString u = kUuid.toString(QUuid::WithBraces);
        const QUuid none;
        QTest::newRow("lower-case prefix") << QStringLiteral("itemindex(%1,3,7)").arg(u) << none << qint64(-1) << qint64(-1);
        QTest::newRow("four parts") << QStringLiteral("ItemIndex(%1,3,7,9)").arg(u) << none << qint64(-1) << qint64(-1);
        QTest::newRow("no closing parenthesis") << QStringLiteral("ItemIndex(%1,3,7").arg(u) << none << qint64(-1)
                                                << qint64(-1);
        QTest::newRow("empty text") << QString() << none << qint64(-1) << qint64(-1);
        // Empty parts are dropped before counting.
        QTest::newRow("doubled comma") << QStringLiteral("ItemIndex(%1,,3,7)").arg(u) << kUuid << qint64(3) << qint64(7);
        QTest::newRow("upper-case uuid") << QStringLiteral("ItemIndex(%1,3,7)").arg(u.toUpper()) << kUuid << qint64(3)
                                         << qint64(7);
        QTest::newRow("ids not numbers") << QStringLiteral("ItemIndex(%1,card,7)").arg(u) << kUuid << qint64(0)
                                         << qint64(7);
        QTest::newRow("uuid not parsable") << QStringLiteral("ItemIndex({not-a-uuid},3,7)") << none << qint64(3)
                                           << qint64(7);
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
    }
};

HUELINK_TEST_MAIN(RecordsTest)
#include "RecordsTest.moc"
