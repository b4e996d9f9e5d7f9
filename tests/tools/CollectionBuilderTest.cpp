#include "color/ColorScience.h"
#include "db/CollectionLookups.h"
#include "db/CollectionRegistry.h"
#include "db/Schema.h"
#include "db/Texture.h"
#include "engine/inc/ModuleValues.h"
#include "support/FixtureDatabase.h"
#include "support/ProgramRun.h"
#include "support/TestEnvironment.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace {

const char *const kMiniUuid = "{6F1C2A40-0B5E-4C39-9D7E-2A4B1C3D5E6F}";
const char *const kShareUuid = "{0A2B3C4D-5E6F-4071-8293-A4B5C6D7E8F9}";

// MINI with two cards; SHARE lists MINI's card 1 next to its own card 7, with scheme maps named by code.
const char *const kManifest = R"({
  "format": 1, "products": "products.csv",
  "productGroups": [ { "key": "interior", "name": "Interior", "products": "matt;gloss" } ],
  "systemWide": {
    "settings": { "has.textures.page": 1, "texture.size": "300,200" },
    "theme": { "image.banner": "theme/banner.png", "list.of.preferred.font.faces": "theme/fonts.txt",
      "color.widget.collectionselector.text": { "text": "40,40,40" } },
    "foresight": [ { "name": "Shared trends", "entries": [ { "collection": "MINI", "code": "R-201" } ] } ]
  },
  "collections": [
    {
      "uuid": "{6F1C2A40-0B5E-4C39-9D7E-2A4B1C3D5E6F}", "systemId": "MINI", "name": "Mini Deck", "order": 1,
      "settings": { "collection.name": "Mini Deck", "num.of.segments": 24, "card.type": "normal",
        "has.color.schemes.page": true, "schemes": ["harmonic", "contrast"], "row.name.search.order": [0, 1] },
      "locale": { "button.select": "Select", "about.text": { "file": "texts/about.html" } },
      "pages": "pages.csv", "chips": "chips.csv", "pageSchemes": "page-schemes.csv",
      "foresight": [ { "name": "Calm greens", "defaultOpen": true,
          "entries": [ { "page": 1, "row": 1, "name1": "Moss" }, { "hex": "#336699", "name1": "Deep" } ] } ],
      "textures": [ { "name": "Plaster", "image": "textures/plaster.png", "baseAlpha": 0.9,
          "maps": [ { "page": 1, "alpha": 0.6, "name": "wall" } ] } ]
    },
    {
      "uuid": "{0A2B3C4D-5E6F-4071-8293-A4B5C6D7E8F9}",
      "systemId": "SHARE",
      "name": "Shared Deck", "order": 2, "settings": { "num.of.segments": 12 },
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
    return ProgramRun::builtProgram("tools/huelink-collection/huelink-collection");
}

ProgramRun tool(const QStringList &arguments)
{
    return ProgramRun::run(toolPath(), arguments, 120000);
}

ProgramRun build(const QString &source, const QString &target)
{
    return tool({ "build", source, "-o", target });
}

// The valid source, with `before` replaced by `after` in `file`.
bool writeSource(const QString &folder, const QString &file = QString(), const QString &before = QString(),
    const QString &after = QString())
{
    QHash<QString, QByteArray> files { { "collection.json", kManifest }, { "pages.csv", kPages },
        { "chips.csv", kChips }, { "page-schemes.csv", kPageSchemes }, { "products.csv", kProducts },
        { "theme/banner.png", FixtureDatabase::png(QSize(8, 8), Qt::darkBlue) },
        { "theme/fonts.txt", "DejaVu Sans,10;Liberation Sans,9" },
        { "textures/plaster.png", FixtureDatabase::png(QSize(8, 8), Qt::lightGray) },
        { "texts/about.html", "<p>About \xc3\xa9</p>" } };
    if (!file.isEmpty()) {
        if (!files.value(file).contains(before.toUtf8()))
            return false;
        files[file].replace(before.toUtf8(), after.toUtf8());
    }
    for (auto it = files.begin(); it != files.end(); ++it) {
        if (!FixtureDatabase::writeFile(folder + QLatin1Char('/') + it.key(), it.value()))
            return false;
    }
    return true;
}

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                          : QByteArray();
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
        const QString output = TestEnvironment::collectionFolder() + "/mini.db";
        const ProgramRun result = build(source.path(), output);
        QVERIFY2(result.exitCode == 0, result.err.constData());

        setDatabaseFolder(TestEnvironment::databaseFolder());
        DB::scanCollectionFiles(DB::collectionRegistry(), true);
        const QUuid mini(QString::fromLatin1(kMiniUuid));
        const QUuid share(QString::fromLatin1(kShareUuid));
        const QUuid systemWide = DB::Schema::systemWideCollectionUuid();
        QCOMPARE(DB::collectionUuidsByOrder(), (QList<QUuid> { mini, share }));
        QCOMPARE(DB::localizedString(mini, "about.text"), QString::fromUtf8("<p>About \xc3\xa9</p>"));
        QCOMPARE(DB::settingValue(mini, "has.color.schemes.page").toString(), "1");
        QCOMPARE(DB::settingValues(mini, "schemes"), (QVariantList { "harmonic", "contrast" }));
        QCOMPARE(DB::settingValue(systemWide, "texture.size").toString(), "300,200");
        QByteArray theme;
        QCOMPARE(DB::themeData(systemWide, "image.banner", theme), 0);
        QCOMPARE(QImage::fromData(theme).pixelColor(0, 0), QColor(Qt::darkBlue));
        QCOMPARE(DB::themeData(systemWide, "color.widget.collectionselector.text", theme), 0);
        QCOMPARE(theme, QByteArray("40,40,40"));

        const QString miniId = QString::number(DB::collectionDatabaseId(mini));
        const QString shareId = QString::number(DB::collectionDatabaseId(share));
        QStringList computed; // Lab as given, else computed from the RGB
        for (const double channel : colorToLab(QColor(96, 128, 72)))
            computed << QVariant(channel).toString();
        const QString schemeRows = "SELECT M.COLLECTION_ID, R.CODE, M.SCHEME_ID, S.CODE%1 FROM ROW_SCHEME_MAP M "
                                   "JOIN \"ROW\" R ON R.ID = M.ROW_ID JOIN \"ROW\" S ON S.ID = M.SCHEME_ROW_ID ";
        // Segments from cards, CSV quotes, comments, shared cards, computed (MINI) and given (SHARE) scheme maps,
        // an empty ROW_TO_PAGE_SCHEME list, a foresight chip entry taking its chip's colour.
        const QList<std::pair<QString, QStringList>> expected {
            { "SELECT CODE, NAME0, NAME1, SEGMENT, MOOD, RED, GREEN, BLUE, IS_MTO, NEUTRAL FROM \"ROW\" ORDER BY CODE",
                { "G-101|Moss|Mousse|3|0|96|128|72|0|0", "G-102|Fern, \"light\"||3|0|120|160|90|1|0",
                    "R-201|Brick||15|0|160|60|50|0|0", "R-202|Rose||15|0|220|150|150|0|1", "S-1|||4|0|16|32|48|0|0" } },
            { "SELECT L, A, B FROM \"ROW\" WHERE CODE IN ('G-101', 'R-201') ORDER BY CODE",
                { computed.join(QLatin1Char('|')), "38.2|42.1|27.9" } },
            { "SELECT PAGE_INDEX, NAME0, EXTERIOR, MOOD FROM PAGE ORDER BY PAGE_INDEX",
                { "1|Greens|0|3", "2|Reds|1|2", "7|Own card|0|0" } },
            { "SELECT M.COLLECTION_ID, P.PAGE_INDEX FROM COLLECTION_PAGE_MAP M JOIN PAGE P ON P.ID = M.PAGE_ID "
              "ORDER BY 1, 2",
                { miniId + "|1", miniId + "|2", shareId + "|1", shareId + "|7" } },
            { schemeRows.arg(", M.PAGE_ORDER, M.ROW_ORDER") + "WHERE R.CODE = 'G-101' AND M.SCHEME_ID = 2",
                { miniId + "|G-101|2|R-201|0|1" } },
            { schemeRows.arg(QString()) + "WHERE R.CODE = 'S-1'", { shareId + "|S-1|1|G-102" } },
            { "SELECT M.COLLECTION_ID, R.CODE, P.PAGE_INDEX FROM ROW_TO_PAGE_SCHEME M JOIN \"ROW\" R ON R.ID = "
              "M.ROW_ID JOIN PAGE P ON P.ID = M.SCHEME_PAGE_ID WHERE R.CODE = 'G-102' OR M.COLLECTION_ID = "
                    + shareId,
                { miniId + "|G-102|2" } },
            { "SELECT R.CODE, PR.NAME, PR.PRODUCT_CODE FROM ROW_PRODUCT_MAP M JOIN PRODUCT PR ON PR.ID = "
              "M.PRODUCT_ID JOIN \"ROW\" R ON R.ID = M.ROW_ID ORDER BY 1, 2",
                { "G-101|Gloss|", "G-101|Matt Emulsion|ME-1", "G-102|Matt Emulsion|ME-1", "R-201|Gloss|" } },
            { "SELECT R.CODE, G.NAME FROM ROW_PRODUCT_GROUP_MAP M JOIN PRODUCT_GROUP G ON G.ID = M.PRODUCT_GROUP_ID "
              "JOIN \"ROW\" R ON R.ID = M.ROW_ID ORDER BY 1",
                { "G-101|Interior", "R-201|Interior" } },
            { "SELECT G.COLLECTION_ID, G.NAME, R.CODE, E.RED, E.GREEN, E.BLUE FROM FORESIGHT_ENTRY E JOIN "
              "FORESIGHT_GROUP G ON G.ID = E.FORESIGHT_GROUP_ID LEFT JOIN \"ROW\" R ON R.ID = E.ROW_ID "
              "ORDER BY G.COLLECTION_ID, E.\"ORDER\"",
                { "0|Shared trends|R-201|160|60|50", miniId + "|Calm greens|G-101|96|128|72",
                    miniId + "|Calm greens||51|102|153" } },
            { "SELECT T.COLLECTION_ID, T.NAME, T.BASE_ALPHA, M.NAME, M.ALPHA, P.PAGE_INDEX FROM TEXTURE T "
              "JOIN TEXTURE_MAP M ON M.TEXTURE_ID = T.ID JOIN PAGE P ON P.ID = M.PAGE_ID",
                { miniId + "|Plaster|0.9|wall|0.6|1" } },
        };
        for (const auto &[sql, values] : expected)
            QCOMPARE(FixtureDatabase::query(output, { sql }), values);
        QSqlQuery image(DB::collectionDatabase(mini));
        QVERIFY(image.exec("SELECT IMAGE FROM TEXTURE") && image.next());
        QCOMPARE(QImage::fromData(image.value(0).toByteArray()).pixelColor(0, 0), QColor(Qt::lightGray));

        // Byte order marks are ignored, and the same source gives the same file.
        for (const char *name : { "collection.json", "chips.csv" })
            QVERIFY(FixtureDatabase::writeFile(
                source.filePath(name), "\xEF\xBB\xBF" + FixtureDatabase::readFile(source.filePath(name))));
        const QString second = source.filePath("again.db");
        QCOMPARE(build(source.filePath("collection.json"), second).exitCode, 0);
        QVERIFY(!fileHash(output).isEmpty());
        QCOMPARE(fileHash(output), fileHash(second));
    }

    void computedSchemeChipsFallBackToRowIndexThenLastChip()
    {
        // Card 1 has three chips, card 2 two; positions match only for row 1.
        QTemporaryDir source;
        QTemporaryDir output;
        QVERIFY(FixtureDatabase::writeFile(source.filePath("collection.json"), R"({ "format": 1, "collections": [ {
            "uuid": "{11111111-2222-4333-8444-555555555555}", "systemId": "FB", "name": "Fallback", "order": 3,
            "pages": [ { "page": 1, "segment": 1 }, { "page": 2, "segment": 2 }, { "page": 3, "segment": 3 } ],
            "chips": [ { "page": 1, "row": 1, "code": "A1", "hex": "#000001", "scheme_pos": 5, "nscheme_pos": 0 },
              { "page": 1, "row": 2, "code": "A2", "hex": "#000002", "scheme_pos": 0 },
              { "page": 1, "row": 3, "code": "A3", "hex": "#000003", "scheme_pos": 9 },
              { "page": 2, "row": 1, "code": "B1", "hex": "#000004" },
              { "page": 2, "row": 2, "code": "B2", "hex": "#000005", "scheme_pos": 5 } ], "sharedPages": [],
            "pageSchemes": [ { "page": 1, "scheme": "contrast", "scheme_page": 3, "order": 0 },
              { "page": 1, "scheme": "contrast", "scheme_page": 2, "order": 4 },
              { "page": 1, "scheme": "neutral", "scheme_page": 2 } ] } ] })"));
        const QString target = output.filePath("fallback.db");
        QCOMPARE(build(source.path(), target).exitCode, 0);
        // The empty card 3 gives no scheme chips and does not count in ROW_ORDER. A1 matches by position (neutral: by
        // row index), A2 has no position (row index), A3's position and row are missing (last chip).
        QCOMPARE(FixtureDatabase::query(target,
                     { "SELECT R.CODE, M.SCHEME_ID, S.CODE, M.PAGE_ORDER, M.ROW_ORDER FROM ROW_SCHEME_MAP M JOIN "
                       "\"ROW\" R ON R.ID = M.ROW_ID JOIN \"ROW\" S ON S.ID = M.SCHEME_ROW_ID ORDER BY 1, 2, 4" }),
            (QStringList { "A1|2|B2|4|1", "A1|6|B1|0|1", "A2|2|B2|4|1", "A2|6|B2|0|1", "A3|2|B2|4|1", "A3|6|B2|0|1" }));
        QCOMPARE(FixtureDatabase::query(target, { "SELECT COUNT(*) FROM ROW_TO_PAGE_SCHEME" }), QStringList { "9" });

        // Synthetic collections are the same for the same count, and readable.
        const QString first = output.filePath("a.db");
        const QString second = output.filePath("b.db");
        for (const QString &synthetic : { first, second })
            QCOMPARE(tool({ "synth", "--chips", "2000", "-o", synthetic }).exitCode, 0);
        QCOMPARE(fileHash(first), fileHash(second));
        const ProgramRun check = tool({ "inspect", first, "--check" });
        QVERIFY2(check.exitCode == 0, check.err.constData());

        QCOMPARE(FixtureDatabase::query(
                     first, { "SELECT COUNT(DISTINCT CODE), COUNT(DISTINCT PAGE_ID) > 250 FROM \"ROW\"" }),
            QStringList { "2000|1" });
        // Counts out of range are refused and write nothing.
        const QString refused = output.filePath("x.db");
        QCOMPARE(tool({ "synth", "--chips", "200001", "-o", refused }).exitCode, 2);
        QCOMPARE(tool({ "synth", "--chips", "0", "-o", refused }).exitCode, 2);
        QVERIFY(!QFileInfo::exists(refused));
    }

    void buildReplacesTheFileOnlyOnSuccessAndInspectChecksIt()
    {
        QTemporaryDir source;
        QTemporaryDir output;
        const QString target = output.filePath("deck.db");
        QVERIFY(FixtureDatabase::writeFile(target, "previous contents"));
        QVERIFY(writeSource(source.path(), "chips.csv", "160,60,50", "999,60,50"));
        QCOMPARE(build(source.path(), target).exitCode, 1);
        QCOMPARE(FixtureDatabase::readFile(target), QByteArray("previous contents"));

        QVERIFY(writeSource(source.path()));
        QCOMPARE(build(source.path(), target).exitCode, 0);
        QCOMPARE(QDir(output.path()).entryList(QDir::Files), QStringList { "deck.db" });
        QVERIFY(QFileInfo(target).permissions().testFlag(QFileDevice::ReadOther));

        const ProgramRun summary = tool({ "inspect", target });
        QCOMPARE(summary.exitCode, 0);
        for (const char *line : { kMiniUuid, "Collection SHARE", "cards 2 (1 shared from other collections), chips 3",
                 "has.color.schemes.page on" })
            QVERIFY2(summary.out.contains(line), summary.out.constData());
        const ProgramRun check = tool({ "inspect", target, "--check" });
        QVERIFY2(check.exitCode == 0 && check.err.isEmpty(), check.err.constData());

        // Each value the program would not take is named with its file.
        const QString setting = "INSERT OR REPLACE INTO SETTING (COLLECTION_ID, NAME, VALUE, VALUE_INDEX) "
                                "SELECT MAX(ID), '%1', '%2', 0 FROM COLLECTION";
        const QString banner = "UPDATE THEME SET ITEM_DATA = X'%1' WHERE ITEM_KEY = 'image.banner'";
        // The last: the header of a PNG of 20000 by 20000 pixels, and no pixels.
        const QList<std::pair<QString, QString>> damages {
            { setting.arg("first.segment.angle", "1e308"), "key first.segment.angle" },
            { setting.arg("first.segment.angle", "-inf"), "\"-inf\" is not finite" },
            { setting.arg("num.of.segments", "2147483647"), "key num.of.segments" },
            { "UPDATE \"ROW\" SET B = -1e999", "key B: -inf is not finite" },
            { "INSERT INTO LOCALE (COLLECTION_ID, \"KEY\", STRING) "
              "SELECT MAX(ID), 'long.caption', hex(zeroblob(2600)) FROM COLLECTION",
                "key long.caption: is 5200 characters long; shown cut to 4096" },
            { banner.arg("89504E470D0A1A0A0000"), "key image.banner: image does not decode" },
            { "UPDATE \"ROW\" SET L = 'dark' WHERE ID = (SELECT MIN(ID) FROM \"ROW\")",
                "table ROW, row ID 1, key L: \"dark\" is not a number" },
            { "UPDATE \"ROW\" SET CODE = CAST(X'41FF' AS TEXT)", "key CODE: is not valid UTF-8" },
            { banner.arg("89504E470D0A1A0A0000000D4948445200004E2000004E200806000000E3704639000000004944415435AF061E"),
                "exceeds the decode limit" },
        };
        for (const auto &[damage, expected] : damages) {
            const QString copy = output.filePath("copy.db");
            QFile::remove(copy);
            QVERIFY(QFile::copy(target, copy));
            QCOMPARE(FixtureDatabase::query(copy, { "PRAGMA ignore_check_constraints = ON", damage }), QStringList());
            const ProgramRun check = tool({ "inspect", copy, "--check" });
            QCOMPARE(check.exitCode, 1);
            QVERIFY2(check.err.contains(expected.toUtf8()) && check.err.contains(copy.toUtf8()), check.err.constData());
        }

        // Missing tables and columns the reader needs are errors, unread tables notes, unselected columns none.
        QCOMPARE(FixtureDatabase::query(target,
                     { "DROP TABLE ROW_SCHEME_MAP", "ALTER TABLE \"ROW\" DROP COLUMN IS_MTO",
                         "ALTER TABLE PRODUCT DROP COLUMN PRODUCT_CODE", "DROP INDEX UNQ_NAME_IN_COLLECTION",
                         "ALTER TABLE PAGE DROP COLUMN NAME", "DROP TABLE ROW_NAME",
                         "DROP TABLE PRODUCT_PRODUCT_GROUP_MAP" }),
            QStringList());
        const ProgramRun damaged = tool({ "inspect", target, "--check" });
        QCOMPARE(damaged.exitCode, 1);
        QCOMPARE(damaged.errLines().size(), 3);
        for (const char *error : { "table ROW_SCHEME_MAP is missing", "column ROW.IS_MTO is missing",
                 "column PRODUCT.PRODUCT_CODE is missing" })
            QVERIFY2(damaged.err.contains(error), damaged.err.constData());
        QVERIFY2(damaged.out.contains("note: table ROW_NAME is missing"), damaged.out.constData());
        QVERIFY(damaged.out.contains("note: table PRODUCT_PRODUCT_GROUP_MAP is missing"));
    }

    // Each change to the source gives an error naming place and problem, and leaves no file, not even a temporary.
    void errorsNameTheirPlace()
    {
        const char *json = "collection.json";
        const char *pages = "pages.csv";
        const char *chips = "chips.csv";
        const char *schemes = "page-schemes.csv";
        const QString mini = QString::fromLatin1(kMiniUuid);
        const QString share = QString::fromLatin1(kShareUuid);
        const QList<std::tuple<QString, QString, QString, QString, QString>> changes {
            { json, mini, "{6F1C2A40-0B5E-4C39-9D7E}", "collections[0].uuid", "is not a UUID" },
            { json, share, mini, "collections[1].uuid", "already used by" },
            { json, "\"order\": 2", "\"order\": 1", "collections[1].order", "order 1 is already used" },
            { pages, "2,15,Reds", "1,15,Reds", "pages.csv:3", "page 1 is already defined at pages" },
            { chips, "2,2,R-202", "9,2,R-202", "chips.csv:6", "page 9 is not a card" },
            { pages, "2,15,Reds", "2,25,Reds", "pages.csv:3", "segment 25 is outside" },
            { chips, "160,60,50", "256,60,50", "chips.csv:5: column \"red\"", "256 is outside 0..255" },
            { chips, "38.2,42.1,27.9", "38.2,,27.9", "chips.csv:5", "all of \"l\", \"a\", \"b\"" },
            { schemes, "2,contrast,1", "2,contrast,5", "page-schemes.csv:3: column \"scheme_page\"",
                "no card with page index 5" },
            { json, "\"code\": \"S-1\", \"scheme\"", "\"code\": \"R-201\", \"scheme\"",
                "collections[1].rowSchemes[0].code", "no chip with code \"R-201\"" },
            { json, "\"code\": \"R-201\" }", "\"code\": \"R-209\" }", "systemWide.foresight[0].entries[0].code",
                "no chip with code \"R-209\" in collection \"MINI\"" },
            { json, "\"theme/banner.png\"", "\"theme/fonts.txt\"", "systemWide.theme.image.banner", "does not decode" },
            { json, "\"chips.csv\"", "\"../chips.csv\"", "[0].chips", "outside the source" },
            { json, "\"card.type\": \"normal\",", "\"card.type\": \"normal\", \"Card.Type\": \"pelvon\",",
                "collections[0].settings.", "is already given at" },
            { chips, "product_groups\n", "product_group\n", "chips.csv:1: column \"product_group\"", "unknown column" },
            { json, "\"systemId\": \"SHARE\",", "\"systemId\": \"SHARE\"", "collection.json:25", "invalid JSON" },
            { chips, "2,2,R-202", "2,2,R-201", "systemWide.foresight[0].entries[0].code", "names 2 chips" },
        };
        for (const auto &[file, before, after, where, what] : changes) {
            QTemporaryDir source;
            QTemporaryDir output;
            QVERIFY2(writeSource(source.path(), file, before, after), qPrintable(before));
            const ProgramRun result = build(source.path(), output.filePath("broken.db"));
            const QList<QByteArray> lines = result.errLines();
            QVERIFY2(result.exitCode > 0
                    && std::any_of(lines.cbegin(), lines.cend(),
                        [&](const QByteArray &line) {
                            return line.contains(where.toUtf8()) && line.contains(what.toUtf8());
                        }),
                qPrintable(what + QLatin1Char('\n') + QString::fromUtf8(result.err)));
            QCOMPARE(QDir(output.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList());
        }
    }
};

HUELINK_TEST_MAIN(CollectionBuilderTest)
#include "CollectionBuilderTest.moc"
