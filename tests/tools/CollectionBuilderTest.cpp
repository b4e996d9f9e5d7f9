#include "color/ColorScience.h"
#include "db/CollectionLookups.h"
#include "db/CollectionRegistry.h"
#include "db/ColorEntry.h"
#include "db/ColorForesightEntry.h"
#include "db/ColorPage.h"
#include "db/Schema.h"
#include "db/Texture.h"
#include "engine/inc/ModuleValues.h"
#include "support/FixtureDatabase.h"
#include "support/ProgramRun.h"
#include "support/TestEnvironment.h"

#include <QColor>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const char *const kMiniUuid = "{6F1C2A40-0B5E-4C39-9D7E-2A4B1C3D5E6F}";
const char *const kShareUuid = "{0A2B3C4D-5E6F-4071-8293-A4B5C6D7E8F9}";

// Two collections: MINI with two cards, SHARE listing MINI's card 1 next to
// its own card 7, with explicit scheme maps named by code.
const char *const kManifest = R"({
  "format": 1,
  "products": "products.csv",
  "productGroups": [ { "key": "interior", "name": "Interior", "products": "matt;gloss" } ],
  "systemWide": {
    "settings": { "has.textures.page": 1, "texture.size": "300,200" },
    "theme": {
      "image.banner": "theme/banner.png",
      "list.of.preferred.font.faces": "theme/fonts.txt",
      "color.widget.collectionselector.text": { "text": "40,40,40" }
    },
    "foresight": [ { "name": "Shared trends", "entries": [ { "collection": "MINI", "code": "R-201" } ] } ]
  },
  "collections": [
    {
      "uuid": "{6F1C2A40-0B5E-4C39-9D7E-2A4B1C3D5E6F}",
      "systemId": "MINI",
      "name": "Mini Deck",
      "order": 1,
      "settings": {
        "collection.name": "Mini Deck",
        "num.of.segments": 24,
        "card.type": "normal",
        "has.color.schemes.page": true,
        "schemes": ["harmonic", "contrast"],
        "row.name.search.order": [0, 1]
      },
      "locale": { "button.select": "Select", "about.text": { "file": "texts/about.html" } },
      "pages": "pages.csv",
      "chips": "chips.csv",
      "pageSchemes": "page-schemes.csv",
      "foresight": [
        { "name": "Calm greens", "defaultOpen": true,
          "entries": [ { "page": 1, "row": 1, "name1": "Moss" }, { "hex": "#336699", "name1": "Deep" } ] }
      ],
      "textures": [
        { "name": "Plaster", "image": "textures/plaster.png", "baseAlpha": 0.9,
          "maps": [ { "page": 1, "alpha": 0.6, "name": "wall" } ] }
      ]
    },
    {
      "uuid": "{0A2B3C4D-5E6F-4071-8293-A4B5C6D7E8F9}",
      "systemId": "SHARE",
      "name": "Shared Deck",
      "order": 2,
      "settings": { "num.of.segments": 12 },
      "pages": [ { "page": 7, "segment": 4, "name0": "Own card" } ],
      "chips": [ { "page": 7, "row": 1, "code": "S-1", "hex": "#102030" } ],
      "sharedPages": [ { "collection": "MINI", "pages": [1] } ],
      "pageSchemes": [ { "page": 7, "scheme": "harmonic", "scheme_page": 1 } ],
      "rowSchemes": [ { "code": "S-1", "scheme": 1, "scheme_code": "G-102" } ],
      "rowPageSchemes": []
    }
  ]
})";

const char *const kPages = "page,segment,name0,extra0,exterior,mood\n"
                           "1,3,Greens,Fan A,0,calm\n"
                           "2,15,Reds,,1,warm\n";

const char *const kChips = "page,row,code,name0,name1,red,green,blue,l,a,b,neutral,is_mto,scheme_pos,products,"
                           "product_groups\n"
                           "1,1,G-101,Moss,Mousse,96,128,72,,,,0,0,1,matt;gloss,interior\n"
                           "# a comment line\n"
                           "1,2,G-102,\"Fern, \"\"light\"\"\",,120,160,90,,,,0,1,2,matt,\n"
                           "2,1,R-201,Brick,,160,60,50,38.2,42.1,27.9,0,0,1,gloss,interior\n"
                           "2,2,R-202,Rose,,220,150,150,,,,1,0,2,,\n";

const char *const kPageSchemes = "page,scheme,scheme_page,order\n"
                                 "1,contrast,2,0\n"
                                 "2,contrast,1,0\n";

const char *const kProducts = "key,name,code\n"
                              "matt,Matt Emulsion,ME-1\n"
                              "gloss,Gloss,\n";

QString toolPath()
{
    return ProgramRun::builtProgram(QStringLiteral("tools/huelink-collection/huelink-collection"));
}

struct ToolResult {
    int exitCode = -1;
    QString output;
    QString errors;
};

ToolResult runTool(const QStringList &arguments)
{
    const ProgramRun run = ProgramRun::run(toolPath(), arguments, 120000);
    return {run.finished ? run.exitCode : -1, QString::fromUtf8(run.out), QString::fromUtf8(run.err)};
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The valid source, with one file's text changed by `replace` (old -> new).
bool writeSource(const QString &folder, const QString &file = QString(), const QString &before = QString(),
                 const QString &after = QString())
{
    QHash<QString, QByteArray> files{{QStringLiteral("collection.json"), kManifest},
                                     {QStringLiteral("pages.csv"), kPages},
                                     {QStringLiteral("chips.csv"), kChips},
                                     {QStringLiteral("page-schemes.csv"), kPageSchemes},
                                     {QStringLiteral("products.csv"), kProducts},
                                     {QStringLiteral("theme/banner.png"), FixtureDatabase::png(QSize(8, 8), Qt::darkBlue)},
                                     {QStringLiteral("theme/fonts.txt"), "DejaVu Sans,10;Liberation Sans,9"},
                                     {QStringLiteral("textures/plaster.png"), FixtureDatabase::png(QSize(8, 8), Qt::lightGray)},
                                     {QStringLiteral("texts/about.html"), "<p>About \xc3\xa9</p>"}};
    if (!file.isEmpty()) {
        QString text = QString::fromUtf8(files.value(file));
        if (!text.contains(before))
            return false;
        text.replace(before, after);
        files[file] = text.toUtf8();
    }
    for (auto it = files.begin(); it != files.end(); ++it) {
        if (!writeFile(folder + QLatin1Char('/') + it.key(), it.value()))
            return false;
    }
    return true;
}

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class CollectionBuilderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY2(QFileInfo(toolPath()).isExecutable(), qPrintable(toolPath())); }

    void validSourceBuildsAndTheEngineReadsItBack()
    {
        using namespace Tintor;
        QTemporaryDir source;
        QVERIFY(writeSource(source.path()));
        const QString output = TestEnvironment::collectionFolder() + QStringLiteral("/mini.db");
        const ToolResult result = runTool({QStringLiteral("build"), source.path(), QStringLiteral("-o"), output});
        QVERIFY2(result.exitCode == 0, qPrintable(result.errors));
        QVERIFY(QFileInfo::exists(output));

        setDatabaseFolder(TestEnvironment::databaseFolder());
        DB::scanCollectionFiles(DB::collectionRegistry(), true);
        const QUuid mini(QString::fromLatin1(kMiniUuid));
        const QUuid share(QString::fromLatin1(kShareUuid));
        const QUuid systemWide = DB::Schema::systemWideCollectionUuid();
        QCOMPARE(DB::collectionUuidsByOrder(), (QList<QUuid>{mini, share}));
        QVERIFY(DB::collectionRegistry().contains(systemWide));

        QCOMPARE(DB::localizedString(mini, QStringLiteral("button.select")), QStringLiteral("Select"));
        QCOMPARE(DB::localizedString(mini, QStringLiteral("about.text")), QString::fromUtf8("<p>About \xc3\xa9</p>"));
        QCOMPARE(DB::settingValue(mini, QStringLiteral("num.of.segments")).toInt(), 24);
        QCOMPARE(DB::settingValue(mini, QStringLiteral("has.color.schemes.page")).toString(), QStringLiteral("1"));
        QCOMPARE(DB::settingValues(mini, QStringLiteral("schemes")),
                 (QVariantList{QStringLiteral("harmonic"), QStringLiteral("contrast")}));
        QCOMPARE(DB::settingValues(mini, QStringLiteral("row.name.search.order")),
                 (QVariantList{QStringLiteral("0"), QStringLiteral("1")}));
        QCOMPARE(DB::settingValue(systemWide, QStringLiteral("texture.size")).toString(), QStringLiteral("300,200"));
        QByteArray theme;
        QCOMPARE(DB::themeData(systemWide, QStringLiteral("image.banner"), theme), 0);
        QCOMPARE(QImage::fromData(theme).pixelColor(0, 0), QColor(Qt::darkBlue));
        QCOMPARE(DB::themeData(systemWide, QStringLiteral("list.of.preferred.font.faces"), theme), 0);
        QCOMPARE(theme, QByteArray("DejaVu Sans,10;Liberation Sans,9"));
        QCOMPARE(DB::themeData(systemWide, QStringLiteral("color.widget.collectionselector.text"), theme), 0);
        QCOMPARE(theme, QByteArray("40,40,40"));

        QSqlDatabase db = DB::collectionDatabase(mini);
        QVERIFY(db.isOpen());
        const qint64 miniId = DB::collectionDatabaseId(mini);
        const qint64 shareId = DB::collectionDatabaseId(share);
        auto chipAt = [&](qint64 collectionId, int pageIndex, int rowIndex) {
            DB::ColorEntry entry;
            QSqlQuery query(db);
            query.exec(QStringLiteral("SELECT * FROM \"ROW\" R JOIN PAGE P ON R.PAGE_ID = P.ID "
                                      "JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID "
                                      "WHERE CMAP.COLLECTION_ID = %1 AND P.PAGE_INDEX = %2 AND R.ROW_INDEX = %3")
                           .arg(collectionId)
                           .arg(pageIndex)
                           .arg(rowIndex));
            if (query.next())
                entry.readRecord(query.record());
            return entry;
        };

        const DB::ColorEntry moss = chipAt(miniId, 1, 1);
        QCOMPARE(moss.code, QStringLiteral("G-101"));
        QCOMPARE(moss.names.at(0), QStringLiteral("Moss"));
        QCOMPARE(moss.names.at(1), QStringLiteral("Mousse"));
        QCOMPARE(moss.names.size(), 10);
        QCOMPARE(moss.segment, 3);
        QCOMPARE(moss.mood, 0);
        QCOMPARE(QColor(moss.red, moss.green, moss.blue), QColor(96, 128, 72));
        const ColorTriple computed = colorToLab(QColor(96, 128, 72));
        QCOMPARE(moss.labL, computed[0]);
        QCOMPARE(moss.labA, computed[1]);
        QCOMPARE(moss.labB, computed[2]);
        QVERIFY(!moss.isMadeToOrder);

        const DB::ColorEntry fern = chipAt(miniId, 1, 2);
        QCOMPARE(fern.names.at(0), QStringLiteral("Fern, \"light\""));
        QVERIFY(fern.isMadeToOrder);
        const DB::ColorEntry brick = chipAt(miniId, 2, 1);
        QCOMPARE(brick.labL, 38.2);
        QCOMPARE(brick.labA, 42.1);
        QCOMPARE(brick.labB, 27.9);
        QCOMPARE(brick.segment, 15);
        QVERIFY(chipAt(miniId, 2, 2).isNeutral);

        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("SELECT * FROM PAGE P JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID "
                                          "WHERE CMAP.COLLECTION_ID = %1 AND P.PAGE_INDEX = 2")
                               .arg(miniId)));
        QVERIFY(query.next());
        const DB::ColorPage reds(query.record());
        QCOMPARE(reds.names.at(0), QStringLiteral("Reds"));
        QVERIFY(reds.isExterior);
        QCOMPARE(reds.mood, 2);

        // The shared card belongs to both collections with its one page index.
        QCOMPARE(chipAt(shareId, 1, 1).id, moss.id);
        QCOMPARE(chipAt(shareId, 7, 1).code, QStringLiteral("S-1"));
        QCOMPARE(chipAt(miniId, 7, 1).id, qint64(-1));

        // Computed for MINI: each chip's contrast partner is the chip of the
        // same scheme position on the other card.
        QVERIFY(query.exec(QStringLiteral("SELECT SCHEME_ROW_ID, PAGE_ORDER, ROW_ORDER FROM ROW_SCHEME_MAP "
                                          "WHERE COLLECTION_ID = %1 AND ROW_ID = %2 AND SCHEME_ID = 2")
                               .arg(miniId)
                               .arg(moss.id)));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toLongLong(), brick.id);
        QCOMPARE(query.value(1).toInt(), 0);
        QCOMPARE(query.value(2).toInt(), 1);
        QVERIFY(!query.next());
        QVERIFY(query.exec(QStringLiteral("SELECT SCHEME_PAGE_ID FROM ROW_TO_PAGE_SCHEME "
                                          "WHERE COLLECTION_ID = %1 AND ROW_ID = %2 AND SCHEME_ID = 2")
                               .arg(miniId)
                               .arg(fern.id)));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toLongLong(), brick.pageId);
        // Given for SHARE: by code, and an empty ROW_TO_PAGE_SCHEME table stays empty.
        const DB::ColorEntry own = chipAt(shareId, 7, 1);
        QVERIFY(query.exec(QStringLiteral("SELECT SCHEME_ROW_ID FROM ROW_SCHEME_MAP WHERE COLLECTION_ID = %1 "
                                          "AND ROW_ID = %2 AND SCHEME_ID = 1")
                               .arg(shareId)
                               .arg(own.id)));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toLongLong(), fern.id);
        QVERIFY(query.exec(
            QStringLiteral("SELECT COUNT(*) FROM ROW_TO_PAGE_SCHEME WHERE COLLECTION_ID = %1").arg(shareId)));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), 0);

        // Products with codes, groups, and the chip maps.
        QVERIFY(query.exec(QStringLiteral("SELECT PR.NAME, PR.PRODUCT_CODE FROM ROW_PRODUCT_MAP M "
                                          "JOIN PRODUCT PR ON PR.ID = M.PRODUCT_ID WHERE M.ROW_ID = %1 ORDER BY PR.ID")
                               .arg(moss.id)));
        QStringList products;
        while (query.next())
            products << query.value(0).toString() + QLatin1Char('|') + query.value(1).toString();
        QCOMPARE(products, (QStringList{QStringLiteral("Matt Emulsion|ME-1"), QStringLiteral("Gloss|")}));
        QVERIFY(query.exec(QStringLiteral("SELECT PG.NAME FROM ROW_PRODUCT_GROUP_MAP M JOIN PRODUCT_GROUP PG "
                                          "ON PG.ID = M.PRODUCT_GROUP_ID WHERE M.ROW_ID = %1")
                               .arg(brick.id)));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("Interior"));

        // Foresight: the chip entry takes its chip's colour; the shared group has COLLECTION_ID 0.
        QVERIFY(query.exec(QStringLiteral("SELECT FE.* FROM FORESIGHT_ENTRY FE JOIN FORESIGHT_GROUP FG "
                                          "ON FG.ID = FE.FORESIGHT_GROUP_ID WHERE FG.COLLECTION_ID IN (0, %1) "
                                          "ORDER BY FG.COLLECTION_ID, FE.\"ORDER\"")
                               .arg(miniId)));
        QList<DB::ColorForesightEntry> entries;
        while (query.next())
            entries << DB::ColorForesightEntry(query.record());
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries.at(0).rowId, brick.id);
        QCOMPARE(entries.at(1).rowId, moss.id);
        QCOMPARE(entries.at(1).color, QColor(96, 128, 72));
        QCOMPARE(entries.at(2).rowId, qint64(0));
        QCOMPARE(entries.at(2).color, QColor(0x33, 0x66, 0x99));

        QVERIFY(query.exec(QStringLiteral("SELECT * FROM TEXTURE T WHERE T.COLLECTION_ID IN (0, %1)").arg(miniId)));
        QVERIFY(query.next());
        const DB::Texture plaster(query.record());
        QCOMPARE(plaster.name, QStringLiteral("Plaster"));
        QCOMPARE(plaster.baseAlpha, 0.9);
        QCOMPARE(plaster.image.pixelColor(0, 0), QColor(Qt::lightGray));
        QVERIFY(query.exec(
            QStringLiteral("SELECT PAGE_ID, ALPHA, NAME FROM TEXTURE_MAP WHERE TEXTURE_ID = %1").arg(plaster.id)));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toLongLong(), moss.pageId);
        QCOMPARE(query.value(1).toDouble(), 0.6);
    }

    void sameSourceGivesTheSameFile()
    {
        QTemporaryDir source;
        QTemporaryDir output;
        QVERIFY(writeSource(source.path()));
        const QString first = output.filePath(QStringLiteral("a.db"));
        const QString second = output.filePath(QStringLiteral("b.db"));
        QCOMPARE(runTool({QStringLiteral("build"), source.path(), QStringLiteral("-o"), first}).exitCode, 0);
        QCOMPARE(runTool({QStringLiteral("build"), source.filePath(QStringLiteral("collection.json")),
                          QStringLiteral("-o"), second})
                     .exitCode,
                 0);
        QVERIFY(!fileHash(first).isEmpty());
        QCOMPARE(fileHash(first), fileHash(second));
    }

    void byteOrderMarksAreIgnored()
    {
        QTemporaryDir source;
        QTemporaryDir output;
        QVERIFY(writeSource(source.path()));
        for (const QString &name : {QStringLiteral("collection.json"), QStringLiteral("chips.csv")}) {
            QFile file(source.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray text = file.readAll();
            file.close();
            QVERIFY(writeFile(source.filePath(name), "\xEF\xBB\xBF" + text));
        }
        const ToolResult result = runTool(
            {QStringLiteral("build"), source.path(), QStringLiteral("-o"), output.filePath(QStringLiteral("bom.db"))});
        QVERIFY2(result.exitCode == 0, qPrintable(result.errors));
    }

    void computedSchemeChipsFallBackToRowIndexThenLastChip()
    {
        // Card 1 has three chips, card 2 two; positions match only for row 1.
        QTemporaryDir source;
        QTemporaryDir output;
        QVERIFY(writeFile(source.filePath(QStringLiteral("collection.json")), R"({
          "format": 1,
          "collections": [ {
            "uuid": "{11111111-2222-4333-8444-555555555555}", "systemId": "FB", "name": "Fallback", "order": 3,
            "pages": [ { "page": 1, "segment": 1 }, { "page": 2, "segment": 2 }, { "page": 3, "segment": 3 } ],
            "chips": [
              { "page": 1, "row": 1, "code": "A1", "hex": "#000001", "scheme_pos": 5, "nscheme_pos": 0 },
              { "page": 1, "row": 2, "code": "A2", "hex": "#000002", "scheme_pos": 0 },
              { "page": 1, "row": 3, "code": "A3", "hex": "#000003", "scheme_pos": 9 },
              { "page": 2, "row": 1, "code": "B1", "hex": "#000004" },
              { "page": 2, "row": 2, "code": "B2", "hex": "#000005", "scheme_pos": 5 }
            ],
            "sharedPages": [],
            "pageSchemes": [ { "page": 1, "scheme": "contrast", "scheme_page": 3, "order": 0 },
                             { "page": 1, "scheme": "contrast", "scheme_page": 2, "order": 4 },
                             { "page": 1, "scheme": "neutral", "scheme_page": 2 } ]
          } ]
        })"));
        const QString target = output.filePath(QStringLiteral("fallback.db"));
        const ToolResult result = runTool({QStringLiteral("build"), source.path(), QStringLiteral("-o"), target});
        QVERIFY2(result.exitCode == 0, qPrintable(result.errors));

        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fallback"));
        db.setDatabaseName(target);
        QVERIFY(db.open());
        QStringList rows;
        {
            QSqlQuery query(db);
            QVERIFY(query.exec(
                QStringLiteral("SELECT R.CODE, M.SCHEME_ID, S.CODE, M.PAGE_ORDER, M.ROW_ORDER FROM ROW_SCHEME_MAP M "
                               "JOIN \"ROW\" R ON R.ID = M.ROW_ID JOIN \"ROW\" S ON S.ID = M.SCHEME_ROW_ID "
                               "ORDER BY R.CODE, M.SCHEME_ID, M.PAGE_ORDER")));
            while (query.next())
                rows << QStringLiteral("%1 %2 %3 %4 %5")
                            .arg(query.value(0).toString())
                            .arg(query.value(1).toInt())
                            .arg(query.value(2).toString())
                            .arg(query.value(3).toInt())
                            .arg(query.value(4).toInt());
            QVERIFY(query.exec(QStringLiteral("SELECT COUNT(*) FROM ROW_TO_PAGE_SCHEME")) && query.next());
            QCOMPARE(query.value(0).toInt(), 9);
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("fallback"));
        // The empty card 3 gives no scheme chips and does not count in ROW_ORDER.
        QCOMPARE(rows,
                 (QStringList{QStringLiteral("A1 2 B2 4 1"), // same scheme position
                              QStringLiteral("A1 6 B1 0 1"), // neutral: no position, same row index
                              QStringLiteral("A2 2 B2 4 1"), // no position: same row index
                              QStringLiteral("A2 6 B2 0 1"),
                              QStringLiteral("A3 2 B2 4 1"), // position not found, row 3 missing: last
                              QStringLiteral("A3 6 B2 0 1")}));
    }

    void failedBuildLeavesTheOldFileAndSuccessReplacesIt()
    {
        QTemporaryDir source;
        QTemporaryDir output;
        const QString target = output.filePath(QStringLiteral("deck.db"));
        QVERIFY(writeFile(target, "previous contents"));
        QVERIFY(writeSource(source.path(), QStringLiteral("chips.csv"), QStringLiteral("160,60,50"),
                            QStringLiteral("999,60,50")));
        QCOMPARE(runTool({QStringLiteral("build"), source.path(), QStringLiteral("-o"), target}).exitCode, 1);
        QFile old(target);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("previous contents"));
        old.close();

        QVERIFY(writeSource(source.path()));
        QCOMPARE(runTool({QStringLiteral("build"), source.path(), QStringLiteral("-o"), target}).exitCode, 0);
        QCOMPARE(QDir(output.path()).entryList(QDir::Files), QStringList{QStringLiteral("deck.db")});
        QVERIFY(QFileInfo(target).permissions().testFlag(QFileDevice::ReadOther));
        const ToolResult check = runTool({QStringLiteral("inspect"), target, QStringLiteral("--check")});
        QVERIFY2(check.exitCode == 0, qPrintable(check.errors));
    }

    void errorsNameTheirPlace_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("what");

        const QString manifest = QStringLiteral("collection.json");
        const QString pages = QStringLiteral("pages.csv");
        const QString chips = QStringLiteral("chips.csv");
        const QString miniUuid = QString::fromLatin1(kMiniUuid);
        const QString shareUuid = QString::fromLatin1(kShareUuid);

        QTest::newRow("uuid syntax") << manifest << miniUuid << QStringLiteral("{6F1C2A40-0B5E-4C39-9D7E}")
                                     << "collections[0].uuid"
                                     << "is not a UUID";
        QTest::newRow("uuid twice") << manifest << shareUuid << miniUuid << "collections[1].uuid"
                                    << "already used by";
        QTest::newRow("system-wide uuid")
            << manifest << shareUuid << QStringLiteral("{ffffffff-ffff-ffff-ffff-ffffffffffff}")
            << "collections[1].uuid"
            << "system-wide";
        QTest::newRow("order twice") << manifest << "\"order\": 2"
                                     << "\"order\": 1"
                                     << "collections[1].order"
                                     << "order 1 is already used";
        QTest::newRow("order zero") << manifest << "\"order\": 2"
                                    << "\"order\": 0"
                                    << "collections[1].order"
                                    << "integer >= 1";
        QTest::newRow("systemId twice") << manifest << "\"systemId\": \"SHARE\""
                                        << "\"systemId\": \"mini\""
                                        << "collections[1].systemId"
                                        << "already used";
        QTest::newRow("page index zero") << pages << "2,15,Reds"
                                         << "0,15,Reds"
                                         << "pages.csv:3: column \"page\""
                                         << "outside 1..";
        QTest::newRow("page index twice") << pages << "2,15,Reds"
                                          << "1,15,Reds"
                                          << "pages.csv:3"
                                          << "page 1 is already defined at pages.csv:2";
        QTest::newRow("row index zero") << chips << "2,1,R-201"
                                        << "2,0,R-201"
                                        << "chips.csv:5: column \"row\""
                                        << "outside 1..";
        QTest::newRow("row index twice") << chips << "2,2,R-202"
                                         << "2,1,R-202"
                                         << "chips.csv:6"
                                         << "row 1 of page 2 is already defined at chips.csv:5";
        QTest::newRow("chip on unknown card") << chips << "2,2,R-202"
                                              << "9,2,R-202"
                                              << "chips.csv:6"
                                              << "page 9 is not a card";
        QTest::newRow("segment above num.of.segments") << pages << "2,15,Reds"
                                                       << "2,25,Reds"
                                                       << "pages.csv:3"
                                                       << "segment 25 is outside 1..24";
        QTest::newRow("shared card outside segments") << pages << "1,3,Greens"
                                                      << "1,13,Greens"
                                                      << "collections[1].sharedPages[0]"
                                                      << "outside 1..12";
        QTest::newRow("red above 255") << chips << "160,60,50"
                                       << "256,60,50"
                                       << "chips.csv:5: column \"red\""
                                       << "256 is outside 0..255";
        QTest::newRow("hex colour") << manifest << "#102030"
                                    << "#1020"
                                    << "collections[1].chips[0].hex"
                                    << "not a colour";
        QTest::newRow("L above 100") << chips << "38.2,42.1"
                                     << "100.5,42.1"
                                     << "chips.csv:5: column \"l\""
                                     << "outside 0..100";
        QTest::newRow("a below -128") << chips << "42.1,27.9"
                                      << "-128.5,27.9"
                                      << "chips.csv:5: column \"a\""
                                      << "outside -128..127";
        QTest::newRow("lab incomplete") << chips << "38.2,42.1,27.9"
                                        << "38.2,,27.9"
                                        << "chips.csv:5"
                                        << "all of \"l\", \"a\", \"b\"";
        QTest::newRow("page scheme to missing card") << QStringLiteral("page-schemes.csv") << "2,contrast,1"
                                                     << "2,contrast,5"
                                                     << "page-schemes.csv:3: column \"scheme_page\""
                                                     << "no card with page index 5";
        QTest::newRow("page scheme order twice") << QStringLiteral("page-schemes.csv") << "2,contrast,1,0"
                                                 << "1,contrast,1,0"
                                                 << "page-schemes.csv:3"
                                                 << "page 1 already has a card at order 0 of scheme 2";
        QTest::newRow("unknown scheme") << QStringLiteral("page-schemes.csv") << "2,contrast,1"
                                        << "2,pastel,1"
                                        << "page-schemes.csv:3: column \"scheme\""
                                        << "is not a scheme";
        QTest::newRow("row scheme to missing chip") << manifest << "\"scheme_code\": \"G-102\""
                                                    << "\"scheme_code\": \"G-999\""
                                                    << "collections[1].rowSchemes[0].scheme_code"
                                                    << "no chip with code \"G-999\"";
        QTest::newRow("row scheme from another collection's chip") << manifest << "\"code\": \"S-1\", \"scheme\""
                                                                   << "\"code\": \"R-201\", \"scheme\""
                                                                   << "collections[1].rowSchemes[0].code"
                                                                   << "no chip with code \"R-201\"";
        QTest::newRow("texture map to missing card") << manifest << "{ \"page\": 1, \"alpha\": 0.6"
                                                     << "{ \"page\": 4, \"alpha\": 0.6"
                                                     << "collections[0].textures[0].maps[0].page"
                                                     << "no card with page index 4";
        QTest::newRow("foresight chip missing") << manifest << "\"code\": \"R-201\" }"
                                                << "\"code\": \"R-209\" }"
                                                << "systemWide.foresight[0].entries[0].code"
                                                << "no chip with code \"R-209\" in collection \"MINI\"";
        QTest::newRow("theme image does not decode") << manifest << "\"theme/banner.png\""
                                                     << "\"theme/fonts.txt\""
                                                     << "systemWide.theme.image.banner"
                                                     << "does not decode";
        QTest::newRow("texture image does not decode") << manifest << "\"textures/plaster.png\""
                                                       << "\"texts/about.html\""
                                                       << "collections[0].textures[0].image"
                                                       << "does not decode";
        QTest::newRow("missing file") << manifest << "\"chips.csv\""
                                      << "\"chip.csv\""
                                      << "collections[0].chips"
                                      << "file \"chip.csv\" not found";
        QTest::newRow("file outside the source") << manifest << "\"chips.csv\""
                                                 << "\"../chips.csv\""
                                                 << "collections[0].chips"
                                                 << "outside the source folder";
        QTest::newRow("integer setting") << manifest << "\"num.of.segments\": 24"
                                         << "\"num.of.segments\": \"many\""
                                         << "collections[0].settings.num.of.segments"
                                         << "is not an integer";
        QTest::newRow("choice setting") << manifest << "\"card.type\": \"normal\""
                                        << "\"card.type\": \"round\""
                                        << "collections[0].settings.card.type"
                                        << "not one of normal, pelvon";
        QTest::newRow("flag setting") << manifest << "\"has.color.schemes.page\": true"
                                      << "\"has.color.schemes.page\": \"maybe\""
                                      << "collections[0].settings.has.color.schemes.page"
                                      << "is not a flag";
        QTest::newRow("scheme list setting") << manifest << "[\"harmonic\", \"contrast\"]"
                                             << "[\"harmonic\", \"pastel\"]"
                                             << "collections[0].settings.schemes"
                                             << "element 1: \"pastel\" is not a scheme name";
        QTest::newRow("name order setting") << manifest << "[0, 1]"
                                            << "[0, 10]"
                                            << "collections[0].settings.row.name.search.order"
                                            << "not a name index 0..9";
        QTest::newRow("size setting") << manifest << "\"300,200\""
                                      << "\"300\""
                                      << "systemWide.settings.texture.size"
                                      << "not a size";
        QTest::newRow("setting twice in other case") << manifest << "\"card.type\": \"normal\","
                                                     << "\"card.type\": \"normal\", \"Card.Type\": \"pelvon\","
                                                     << "collections[0].settings."
                                                     << "is already given at";
        QTest::newRow("list for a single-valued setting") << manifest << "\"num.of.segments\": 12"
                                                          << "\"num.of.segments\": [12, 13]"
                                                          << "collections[1].settings.num.of.segments"
                                                          << "single value";
        QTest::newRow("unknown column") << chips << "product_groups\n"
                                        << "product_group\n"
                                        << "chips.csv:1: column \"product_group\""
                                        << "unknown column";
        QTest::newRow("unknown manifest key") << manifest << "\"rowPageSchemes\""
                                              << "\"rowPageScheme\""
                                              << "collections[1].rowPageScheme"
                                              << "unknown key";
        QTest::newRow("unknown product") << chips << "matt;gloss"
                                         << "matt;satin"
                                         << "chips.csv:2"
                                         << "no product with key \"satin\"";
        QTest::newRow("unclosed quote") << chips << "\"Fern, \"\"light\"\"\""
                                        << "\"Fern"
                                        << "chips.csv:4"
                                        << "never closed";
        QTest::newRow("broken JSON") << manifest << "\"systemId\": \"SHARE\","
                                     << "\"systemId\": \"SHARE\""
                                     << "collection.json:44"
                                     << "invalid JSON";
        QTest::newRow("ambiguous code") << chips << "2,2,R-202"
                                        << "2,2,R-201"
                                        << "systemWide.foresight[0].entries[0].code"
                                        << "names 2 chips";
    }

    void errorsNameTheirPlace()
    {
        QFETCH(QString, file);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, where);
        QFETCH(QString, what);
        QTemporaryDir source;
        QTemporaryDir output;
        QVERIFY(writeSource(source.path(), file, before, after));
        const QString target = output.filePath(QStringLiteral("broken.db"));
        const ToolResult result = runTool({QStringLiteral("build"), source.path(), QStringLiteral("-o"), target});
        QVERIFY2(result.exitCode > 0, qPrintable(result.output + result.errors));
        const QStringList lines = result.errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        bool found = false;
        for (const QString &line : lines)
            found = found || (line.contains(where) && line.contains(what));
        QVERIFY2(found, qPrintable(result.errors));
        // Nothing is left behind, not even a temporary file.
        QCOMPARE(QDir(output.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList());
    }

    void inspectSummarizesAndCheckPasses()
    {
        QTemporaryDir source;
        QTemporaryDir output;
        QVERIFY(writeSource(source.path()));
        const QString target = output.filePath(QStringLiteral("mini.db"));
        QCOMPARE(runTool({QStringLiteral("build"), source.path(), QStringLiteral("-o"), target}).exitCode, 0);

        const ToolResult summary = runTool({QStringLiteral("inspect"), target});
        QCOMPARE(summary.exitCode, 0);
        QVERIFY2(summary.output.contains(QString::fromLatin1(kMiniUuid)), qPrintable(summary.output));
        QVERIFY(summary.output.contains(QStringLiteral("Collection SHARE")));
        QVERIFY(summary.output.contains(QStringLiteral("cards 2 (1 shared from other collections), chips 3")));
        QVERIFY(summary.output.contains(QStringLiteral("has.color.schemes.page on")));

        const ToolResult check = runTool({QStringLiteral("inspect"), target, QStringLiteral("--check")});
        QVERIFY2(check.exitCode == 0, qPrintable(check.errors));
        QVERIFY(check.errors.isEmpty());
    }

    void checkReportsEachMissingTableAndColumn()
    {
        QTemporaryDir source;
        QTemporaryDir output;
        QVERIFY(writeSource(source.path()));
        const QString target = output.filePath(QStringLiteral("mini.db"));
        QCOMPARE(runTool({QStringLiteral("build"), source.path(), QStringLiteral("-o"), target}).exitCode, 0);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("damage"));
            db.setDatabaseName(target);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral("DROP TABLE ROW_SCHEME_MAP")));
            QVERIFY(query.exec(QStringLiteral("ALTER TABLE \"ROW\" DROP COLUMN IS_MTO")));
            QVERIFY(query.exec(QStringLiteral("ALTER TABLE PRODUCT DROP COLUMN PRODUCT_CODE")));
            // Dropping a declared column the reader never selects by is fine.
            QVERIFY(query.exec(QStringLiteral("DROP INDEX UNQ_NAME_IN_COLLECTION")));
            QVERIFY(query.exec(QStringLiteral("ALTER TABLE PAGE DROP COLUMN NAME")));
            query.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("damage"));

        const ToolResult check = runTool({QStringLiteral("inspect"), target, QStringLiteral("--check")});
        QCOMPARE(check.exitCode, 1);
        const QStringList lines = check.errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY2(lines.size() == 3, qPrintable(check.errors));
        QVERIFY(check.errors.contains(QStringLiteral("table ROW_SCHEME_MAP is missing")));
        QVERIFY(check.errors.contains(QStringLiteral("column ROW.IS_MTO is missing")));
        QVERIFY(check.errors.contains(QStringLiteral("column PRODUCT.PRODUCT_CODE is missing")));
    }

    void checkNamesEachValueTheProgramWouldNotTake_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("expected");
        const QString setting = QStringLiteral("INSERT OR REPLACE INTO SETTING (COLLECTION_ID, NAME, VALUE, VALUE_INDEX) "
                                               "SELECT MAX(ID), '%1', '%2', 0 FROM COLLECTION");
        QTest::newRow("angle 1e308") << setting.arg(QLatin1String("first.segment.angle"), QLatin1String("1e308"))
                                     << "key first.segment.angle";
        QTest::newRow("angle inf") << setting.arg(QLatin1String("first.segment.angle"), QLatin1String("-inf"))
                                   << "\"-inf\" is not finite";
        QTest::newRow("segments") << setting.arg(QLatin1String("num.of.segments"), QLatin1String("2147483647"))
                                  << "key num.of.segments";
        QTest::newRow("Lab text") << QStringLiteral("UPDATE \"ROW\" SET L = 'dark' WHERE ID = (SELECT MIN(ID) FROM \"ROW\")")
                                  << "table ROW, row ID 1, key L: \"dark\" is not a number";
        QTest::newRow("Lab infinite") << QStringLiteral("UPDATE \"ROW\" SET B = -1e999") << "key B: -inf is not finite";
        QTest::newRow("code not UTF-8") << QStringLiteral("UPDATE \"ROW\" SET CODE = CAST(X'41FF' AS TEXT)")
                                        << "key CODE: is not valid UTF-8";
        QTest::newRow("image not decoding")
            << QStringLiteral("UPDATE THEME SET ITEM_DATA = X'89504E470D0A1A0A0000' WHERE ITEM_KEY = 'image.banner'")
            << "key image.banner: image does not decode";
        // The header of a PNG of 20000 by 20000 pixels, and no pixels.
        QTest::newRow("image beyond the limit")
            << QStringLiteral("UPDATE THEME SET ITEM_DATA = X'89504E470D0A1A0A0000000D4948445200004E2000004E2008060000"
                              "00E3704639000000004944415435AF061E' WHERE ITEM_KEY = 'image.banner'")
            << "exceeds the decode limit";
    }
    void checkNamesEachValueTheProgramWouldNotTake()
    {
        QFETCH(QString, damage);
        QFETCH(QString, expected);
        QTemporaryDir source;
        QTemporaryDir output;
        QVERIFY(writeSource(source.path()));
        const QString target = output.filePath(QStringLiteral("mini.db"));
        QCOMPARE(runTool({QStringLiteral("build"), source.path(), QStringLiteral("-o"), target}).exitCode, 0);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("hostile"));
            db.setDatabaseName(target);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral("PRAGMA ignore_check_constraints = ON")));
            QVERIFY2(query.exec(damage), qPrintable(query.lastError().text()));
            query.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("hostile"));

        const ToolResult check = runTool({QStringLiteral("inspect"), target, QStringLiteral("--check")});
        QCOMPARE(check.exitCode, 1);
        QVERIFY2(check.errors.contains(expected), qPrintable(check.errors));
        QVERIFY2(check.errors.contains(target), qPrintable(check.errors));
    }

    void synthIsDeterministicAndReadable()
    {
        QTemporaryDir output;
        const QString first = output.filePath(QStringLiteral("a.db"));
        const QString second = output.filePath(QStringLiteral("b.db"));
        QCOMPARE(runTool({QStringLiteral("synth"), QStringLiteral("--chips"), QStringLiteral("2000"),
                          QStringLiteral("-o"), first})
                     .exitCode,
                 0);
        QCOMPARE(runTool({QStringLiteral("synth"), QStringLiteral("--chips"), QStringLiteral("2000"),
                          QStringLiteral("-o"), second})
                     .exitCode,
                 0);
        QCOMPARE(fileHash(first), fileHash(second));
        const ToolResult check = runTool({QStringLiteral("inspect"), first, QStringLiteral("--check")});
        QVERIFY2(check.exitCode == 0, qPrintable(check.errors));

        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("synth"));
        db.setDatabaseName(first);
        QVERIFY(db.open());
        {
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT CODE) FROM \"ROW\"")) && query.next());
            QCOMPARE(query.value(0).toInt(), 2000);
            QCOMPARE(query.value(1).toInt(), 2000);
            // Cards of 5 to 8 chips; only the last may hold the remainder.
            QVERIFY(query.exec(QStringLiteral("SELECT P.PAGE_INDEX, COUNT(*) FROM PAGE P JOIN \"ROW\" R "
                                              "ON R.PAGE_ID = P.ID GROUP BY P.ID ORDER BY P.PAGE_INDEX")));
            int cards = 0;
            int lastSize = 0;
            int smallCards = 0;
            while (query.next()) {
                ++cards;
                lastSize = query.value(1).toInt();
                QVERIFY(lastSize <= 8);
                smallCards += lastSize < 5 ? 1 : 0;
            }
            QVERIFY(cards >= 250 && cards <= 400);
            QVERIFY(smallCards == 0 || (smallCards == 1 && lastSize < 5));
            QVERIFY(query.exec(QStringLiteral("SELECT MIN(SEGMENT), MAX(SEGMENT), COUNT(DISTINCT SEGMENT) FROM PAGE"))
                    && query.next());
            QCOMPARE(query.value(0).toInt(), 1);
            QCOMPARE(query.value(1).toInt(), 24);
            QCOMPARE(query.value(2).toInt(), 24);
            // Every chip has its schemes and products.
            QVERIFY(query.exec(QStringLiteral("SELECT COUNT(*) FROM \"ROW\" R WHERE NOT EXISTS (SELECT 1 FROM "
                                              "ROW_SCHEME_MAP M WHERE M.ROW_ID = R.ID) OR NOT EXISTS (SELECT 1 FROM "
                                              "ROW_PRODUCT_MAP M WHERE M.ROW_ID = R.ID)"))
                    && query.next());
            QCOMPARE(query.value(0).toInt(), 0);
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("synth"));
    }

    void synthRefusesCountsOutOfRange()
    {
        QTemporaryDir output;
        const QString target = output.filePath(QStringLiteral("x.db"));
        QCOMPARE(runTool({QStringLiteral("synth"), QStringLiteral("--chips"), QStringLiteral("200001"),
                          QStringLiteral("-o"), target})
                     .exitCode,
                 2);
        QCOMPARE(runTool({QStringLiteral("synth"), QStringLiteral("--chips"), QStringLiteral("0"), QStringLiteral("-o"),
                          target})
                     .exitCode,
                 2);
        QVERIFY(!QFileInfo::exists(target));
    }
};

HUELINK_TEST_MAIN(CollectionBuilderTest)
#include "CollectionBuilderTest.moc"
