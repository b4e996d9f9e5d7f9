// The built demo files against the keys the interface looks up (data/demo/keys/*.txt) and what the demo promises.

#include "db/CollectionLookups.h"
#include "db/CollectionRegistry.h"
#include "db/Schema.h"
#include "engine/inc/ModuleValues.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QFontDatabase>
#include <QtTest>

using namespace Tintor;

namespace {

// Each line of a key list: key, tab, kind.
QList<QStringList> readKeyList(const QString &name)
{
    QList<QStringList> entries;
    const QByteArray text = FixtureDatabase::readFile(QStringLiteral(HUELINK_SOURCE_DIR "/data/demo/keys/") + name);
    for (const QString &line : QString::fromUtf8(text).split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty() && !line.startsWith(QLatin1Char('#')))
            entries << (line.trimmed().split(QLatin1Char('\t')) << QString());
    }
    return entries;
}

QString builtFile(const QString &name)
{
    const QString build = qEnvironmentVariable("HUELINK_BUILD_DIR", QStringLiteral(HUELINK_BUILD_DIR));
    return build + QStringLiteral("/programdata/Vestrel/Huelink/SQLite/Contents/Resources/") + name;
}

const QStringList kDemoFiles { "demo-interior.db", "demo-pelvon.db" };

QUuid uuidOf(const char *systemId)
{
    QUuid uuid;
    DB::collectionUuidBySystemId(QString::fromLatin1(systemId), uuid);
    return uuid;
}

} // namespace

class DemoCollectionsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_folders;

    // Registers the collections of the given demo files only, as the engine does at start.
    bool useDemoFiles(const QStringList &names)
    {
        const QString folder = m_folders.filePath(names.join(QLatin1Char('+')));
        QDir().mkpath(folder + "/Contents/Resources");
        for (const QString &name : names) {
            const QString target = folder + QStringLiteral("/Contents/Resources/") + name;
            if (!QFile::exists(target) && !QFile::copy(builtFile(name), target))
                return false;
        }
        setDatabaseFolder(folder);
        DB::scanCollectionFiles(DB::collectionRegistry(), true);
        return true;
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (const QString &name : kDemoFiles)
            QVERIFY2(QFile::exists(builtFile(name)), qPrintable(builtFile(name) + " is not built"));
    }

    void collectionsCarryTheirImagesAndSettings()
    {
        QVERIFY(useDemoFiles(kDemoFiles));
        QUuid archive;
        QCOMPARE(DB::collectionUuidBySystemId("VI-ARC", archive), -1); // disabled
        QVERIFY(DB::collectionRegistry().contains(DB::Schema::systemWideCollectionUuid()));
        QCOMPARE(DB::collectionUuidsByOrder().size(), 4);
        // Sized for where it is shown: the banner band, the logo label, a chip.
        const QList<QPair<QString, QSize>> images = { { "image.banner", QSize(800, 70) },
            { "image.about.logo", QSize(128, 48) }, { "image.mto", QSize(96, 50) } };
        for (const char *systemId : { "VIRTUAL", "VI-INT", "VI-HER", "VI-TRD", "PV-MTO" }) {
            QVERIFY2(!uuidOf(systemId).isNull(), systemId);
            for (const auto &[key, size] : images) {
                QByteArray data;
                QCOMPARE(DB::themeData(uuidOf(systemId), key, data), 0);
                QCOMPARE(QImage::fromData(data).size(), size);
            }
        }
        // The interior collection carries every key the interface reads.
        const QList<QStringList> keys = readKeyList("setting-keys.txt");
        QVERIFY(keys.size() >= 43);
        QStringList missing;
        for (const QStringList &entry : keys) {
            if (DB::settingValues(uuidOf("VI-INT"), entry.first()).isEmpty())
                missing << entry.first();
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
        // The card modes, the older tooltip key, the pelvon card type, Capsure's folder below the all-users data.
        const std::tuple<const char *, const char *, const char *> values[]
            = { { "VI-INT", "mode.card", "ModeColorToColor" }, { "VI-TRD", "mode.card", "ModeColorToCard" },
                  { "VI-HER", "mode.card", "ModeCardToCard" }, { "VI-HER", "color.tooltip.show.card.name", "1" },
                  { "PV-MTO", "card.type", "pelvon" },
                  { "VI-INT", "capsure.folder.to.watch.windows", "%PROGRAMDATA%" } };
        for (const auto &[systemId, key, value] : values)
            QVERIFY2(DB::settingValue(uuidOf(systemId), key).toString().startsWith(value, Qt::CaseInsensitive), key);
        QVERIFY(DB::settingValues(uuidOf("VI-HER"), "color.tooltip.show.page.name").isEmpty());
        // Counts (%1: the collection's ID, %2: its max.chips.on.a.page): at least `least`, or exactly `exactly`.
        const QString chips = QStringLiteral(" FROM \"ROW\" R JOIN COLLECTION_PAGE_MAP CMAP ON R.PAGE_ID = "
                                             "CMAP.PAGE_ID WHERE CMAP.COLLECTION_ID = %1");
        const QList<std::tuple<const char *, QString, int, int>> counts {
            { "VI-INT", "SELECT COUNT(*)" + chips, 1000, -1 },
            // Shown in lines of max.chips.on.a.page chips, at most three: any other count shows nothing.
            { "VI-INT",
                "SELECT COUNT(*) FROM (SELECT COUNT(*) AS N FROM ROW_SCHEME_MAP WHERE COLLECTION_ID = %1 GROUP BY "
                "ROW_ID, SCHEME_ID) WHERE N % %2 != 0 OR N > 3 * %2",
                0, 0 },
            // Per pelvon chip: wide contrast at card order 0 and 1, contrast at card order 0, nothing else.
            { "PV-MTO",
                "SELECT COUNT(*)" + chips
                    + " AND ((SELECT COUNT(*) FROM ROW_SCHEME_MAP M WHERE M.ROW_ID = R.ID) != 3 OR (SELECT "
                      "GROUP_CONCAT(SCHEME_ID || ':' || PAGE_ORDER) FROM (SELECT * FROM ROW_SCHEME_MAP M WHERE "
                      "M.ROW_ID = R.ID ORDER BY SCHEME_ID, PAGE_ORDER)) != '2:0,3:0,3:1')",
                0, 0 },
            // Each card mode with its scheme table.
            { "VI-INT", "SELECT COUNT(*) FROM ROW_SCHEME_MAP WHERE COLLECTION_ID = %1", 1, -1 },
            { "VI-TRD", "SELECT COUNT(*) FROM ROW_TO_PAGE_SCHEME WHERE COLLECTION_ID = %1", 1, -1 },
            { "VI-HER", "SELECT COUNT(*) FROM PAGE_SCHEME WHERE COLLECTION_ID = %1", 1, -1 },
        };
        for (const auto &[systemId, sql, least, exactly] : counts) {
            const QUuid uuid = uuidOf(systemId);
            QString query = sql.arg(DB::collectionDatabaseId(uuid));
            if (query.contains(QLatin1String("%2"))) {
                const int perLine = DB::settingValue(uuid, "max.chips.on.a.page").toInt();
                QVERIFY(perLine > 0);
                query = query.arg(perLine);
            }
            const QStringList count = FixtureDatabase::rows(DB::collectionDatabase(uuid), query);
            QVERIFY2(count.size() == 1 && count.first().toInt() >= least, qPrintable(count.join(QLatin1Char(' '))));
            if (exactly >= 0)
                QCOMPARE(count.first().toInt(), exactly);
        }
    }

    // Each file carries the whole theme (the engine takes it from the first file scanned) and every locale text.
    void everyFileCarriesTheThemeAndTheTexts()
    {
        const QList<QStringList> keys = readKeyList("theme-keys.txt");
        QVERIFY(keys.size() >= 59);
        const QUuid systemWide = DB::Schema::systemWideCollectionUuid();
        const QList<std::pair<QString, QList<const char *>>> files {
            { kDemoFiles[0], { "VIRTUAL", "VI-INT", "VI-HER", "VI-TRD" } }, { kDemoFiles[1], { "VIRTUAL", "PV-MTO" } }
        };
        for (const auto &[file, systemIds] : files) {
            QVERIFY(useDemoFiles({ file }));
            for (const QStringList &entry : keys) {
                const QString &key = entry.at(0);
                const QByteArray where = (file + QLatin1Char(' ') + key).toUtf8();
                QByteArray data;
                if (entry.at(1) == QLatin1String("fontlist")) {
                    // Stored only under the platform suffixes, so that each build reads its own list.
                    QVERIFY2(DB::themeData(systemWide, key, data) == -1, where);
                    QVERIFY2(DB::themeData(systemWide, key + ".windows", data) == 0, where);
                    QVERIFY2(DB::themeData(systemWide, key + ".linux", data) == 0, where);
                    QStringList families;
                    for (const QString &font : QString::fromUtf8(data).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
                        const QStringList parts = font.split(QLatin1Char(','));
                        QVERIFY2(parts.size() == 2 && parts.at(1).trimmed().toInt() > 0, qPrintable(font));
                        QVERIFY2(!families.contains(parts.at(0).trimmed(), Qt::CaseInsensitive), "a family twice");
                        families << parts.at(0).trimmed();
                    }
                    const QStringList offered = QFontDatabase::families();
                    QVERIFY2(std::any_of(families.cbegin(), families.cend(),
                                 [&](const QString &family) { return offered.contains(family, Qt::CaseInsensitive); }),
                        qPrintable(families.join(", ") + ": none installed"));
                    continue;
                }
                QVERIFY2(DB::themeData(systemWide, key, data) == 0, where);
                if (entry.at(1) == QLatin1String("colour")) {
                    const QStringList parts = QString::fromUtf8(data).split(QLatin1Char(','), Qt::SkipEmptyParts);
                    QVERIFY2(parts.size() == 3 || parts.size() == 4, where);
                    for (const QString &part : parts)
                        QVERIFY2(QString::number(part.trimmed().toUInt()) == part.trimmed()
                                && part.trimmed().toUInt() <= 255,
                            where);
                    continue;
                }
                QVERIFY2(entry.at(1) == QLatin1String("image"), where);
                // A drawn image, not a blank: not all pixels alike.
                const QImage pixels = QImage::fromData(data).convertToFormat(QImage::Format_ARGB32);
                QImage blank(pixels.size(), pixels.format());
                blank.fill(pixels.isNull() ? 0 : pixels.pixel(0, 0));
                QVERIFY2(!pixels.isNull() && pixels != blank, where + " does not decode or is blank");
            }
            for (const char *systemId : systemIds) {
                const QUuid uuid = uuidOf(systemId);
                QVERIFY2(!uuid.isNull(), systemId);
                QStringList missing;
                for (const QStringList &entry : readKeyList("locale-keys.txt")) {
                    const QString text = DB::localizedString(uuid, entry.first());
                    if (text == entry.first() || text.trimmed().isEmpty())
                        missing << entry.first();
                }
                QVERIFY2(missing.isEmpty(), qPrintable(file + QLatin1Char(' ') + missing.join(", ")));
                // The documents behind the footer links are whole HTML pages.
                for (const char *key : { "license.copyright", "motto" })
                    QVERIFY(DB::localizedString(uuid, QString::fromLatin1(key)).contains(QLatin1String("</html>")));
            }
        }
    }
};

HUELINK_TEST_MAIN(DemoCollectionsTest)
#include "DemoCollectionsTest.moc"
