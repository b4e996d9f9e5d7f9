// Checks the demo collection files of the build against the keys the
// interface looks up (data/demo/keys/*.txt): every theme image decodes,
// every locale key has a text in every collection, every setting has a
// value of its kind; and that the data covers what the demo promises.

#include "db/CollectionLookups.h"
#include "db/CollectionRegistry.h"
#include "db/Schema.h"
#include "engine/inc/ModuleValues.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QSet>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include <algorithm>

using namespace Tintor;

namespace {

struct KeyEntry
{
    QString key;
    QString kind;
};

QVector<KeyEntry> readKeyList(const QString &name)
{
    QVector<KeyEntry> entries;
    QFile file(QStringLiteral(HUELINK_SOURCE_DIR "/data/demo/keys/") + name);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return entries;
    QTextStream stream(&file);
    while (!stream.atEnd()) {
        const QString line = stream.readLine().trimmed();
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
            entries.push_back({line.section(QLatin1Char('\t'), 0, 0), line.section(QLatin1Char('\t'), 1, 1)});
    }
    return entries;
}

QString builtFile(const QString &name)
{
    const QString build = qEnvironmentVariable("HUELINK_BUILD_DIR", QStringLiteral(HUELINK_BUILD_DIR));
    return build + QStringLiteral("/programdata/Vestrel/Huelink/SQLite/Contents/Resources/") + name;
}

const QStringList kDemoFiles{QStringLiteral("demo-interior.db"), QStringLiteral("demo-pelvon.db")};

bool isInteger(const QString &text, qint64 *value = nullptr)
{
    bool ok = false;
    const qint64 parsed = text.trimmed().toLongLong(&ok);
    if (ok && value)
        *value = parsed;
    return ok;
}

bool containsWord(const QStringList &words, const QString &text)
{
    return words.contains(text.trimmed(), Qt::CaseInsensitive);
}

int countOf(QSqlDatabase database, const QString &sql)
{
    QSqlQuery query(database);
    if (!query.exec(sql) || !query.next())
        return -1;
    return query.value(0).toInt();
}

} // namespace

class DemoCollectionsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir singleFileFolders;

    // Registers the collections of the given demo files only, as the engine does at start.
    bool useDemoFiles(const QStringList &names)
    {
        const QString folder = singleFileFolders.filePath(names.join(QLatin1Char('+')));
        const QString resources = folder + QStringLiteral("/Contents/Resources");
        QDir().mkpath(resources);
        for (const QString &name : names) {
            const QString target = resources + QLatin1Char('/') + name;
            if (!QFile::exists(target) && !QFile::copy(builtFile(name), target))
                return false;
        }
        setDatabaseFolder(folder);
        DB::scanCollectionFiles(DB::collectionRegistry(), true);
        return true;
    }

    static QUuid uuidOf(const QString &systemId)
    {
        QUuid uuid;
        DB::collectionUuidBySystemId(systemId, uuid);
        return uuid;
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (const QString &name : kDemoFiles)
            QVERIFY2(QFile::exists(builtFile(name)), qPrintable(builtFile(name) + QStringLiteral(" is not built")));
        QVERIFY(singleFileFolders.isValid());
    }

    void enabledCollectionsAreRegisteredAndTheDisabledOneIsNot()
    {
        QVERIFY(useDemoFiles(kDemoFiles));
        for (const char *systemId : {"VI-INT", "VI-HER", "VI-TRD", "PV-MTO"})
            QVERIFY2(!uuidOf(QLatin1String(systemId)).isNull(), systemId);
        QUuid archive;
        QCOMPARE(DB::collectionUuidBySystemId(QStringLiteral("VI-ARC"), archive), -1);
        QVERIFY(DB::collectionRegistry().contains(DB::Schema::systemWideCollectionUuid()));
        QCOMPARE(DB::collectionUuidsByOrder().size(), 4);
    }

    // Each file carries the whole theme: the engine takes the system-wide
    // collection from whichever file it scans first.
    void themeHoldsEveryThemeKey_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("kind");
        const QVector<KeyEntry> keys = readKeyList(QStringLiteral("theme-keys.txt"));
        QVERIFY(keys.size() >= 59);
        for (const QString &file : kDemoFiles)
            for (const KeyEntry &entry : keys)
                QTest::addRow("%s %s", qPrintable(file), qPrintable(entry.key)) << file << entry.key << entry.kind;
    }

    void themeHoldsEveryThemeKey()
    {
        QFETCH(QString, file);
        QFETCH(QString, key);
        QFETCH(QString, kind);
        QVERIFY(useDemoFiles({file}));
        const QUuid systemWide = DB::Schema::systemWideCollectionUuid();
        QByteArray data;
        if (kind == QLatin1String("fontlist")) {
            // Stored only under the platform suffixes, so that each build reads its own list.
            QCOMPARE(DB::themeData(systemWide, key, data), -1);
            QCOMPARE(DB::themeData(systemWide, key + QStringLiteral(".windows"), data), 0);
            QCOMPARE(DB::themeData(systemWide, key + QStringLiteral(".linux"), data), 0);
            QStringList families;
            for (const QString &entry : QString::fromUtf8(data).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
                qint64 size = 0;
                QVERIFY2(entry.count(QLatin1Char(',')) == 1 && isInteger(entry.section(QLatin1Char(','), 1), &size)
                             && size > 0,
                         qPrintable(entry));
                QVERIFY2(!containsWord(families, entry.section(QLatin1Char(','), 0, 0)), "a family named twice");
                families << entry.section(QLatin1Char(','), 0, 0);
            }
            const QStringList offered = QFontDatabase::families();
            QVERIFY2(std::any_of(families.cbegin(), families.cend(),
                                 [&](const QString &family) { return containsWord(offered, family); }),
                     qPrintable(families.join(QStringLiteral(", ")) + QStringLiteral(": none installed")));
            return;
        }
        QCOMPARE(DB::themeData(systemWide, key, data), 0);
        if (kind == QLatin1String("colour")) {
            const QStringList parts = QString::fromUtf8(data).split(QLatin1Char(','), Qt::SkipEmptyParts);
            QVERIFY(parts.size() == 3 || parts.size() == 4);
            for (const QString &part : parts) {
                qint64 value = -1;
                QVERIFY2(isInteger(part, &value) && value >= 0 && value <= 255, qPrintable(part));
            }
            return;
        }
        QCOMPARE(kind, QStringLiteral("image"));
        // A drawn image, not a blank: not all pixels alike.
        const QImage pixels = QImage::fromData(data).convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(!pixels.isNull(), "does not decode");
        QSet<QRgb> distinct;
        for (int y = 0; y < pixels.height() && distinct.size() < 2; ++y)
            for (int x = 0; x < pixels.width(); ++x)
                distinct.insert(pixels.pixel(x, y));
        QVERIFY2(distinct.size() > 1, "image is blank");
    }

    // Sized for where it is shown: the banner band, the logo label, a chip.
    void everyCollectionCarriesItsOwnBannerLogoAndMarker()
    {
        QVERIFY(useDemoFiles(kDemoFiles));
        const QList<QPair<QString, QSize>> images = {{QStringLiteral("image.banner"), QSize(800, 70)},
                                                     {QStringLiteral("image.about.logo"), QSize(128, 48)},
                                                     {QStringLiteral("image.mto"), QSize(96, 50)}};
        for (const char *systemId : {"VIRTUAL", "VI-INT", "VI-HER", "VI-TRD", "PV-MTO"}) {
            const QUuid uuid = uuidOf(QLatin1String(systemId));
            QVERIFY2(!uuid.isNull(), systemId);
            for (const auto &[key, size] : images) {
                QByteArray data;
                QCOMPARE(DB::themeData(uuid, key, data), 0);
                QCOMPARE(QImage::fromData(data).size(), size);
            }
        }
    }

    void everyLocaleKeyHasATextInEveryCollection_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("systemId");
        QTest::newRow("interior file, system-wide") << kDemoFiles[0] << QStringLiteral("VIRTUAL");
        QTest::newRow("interior") << kDemoFiles[0] << QStringLiteral("VI-INT");
        QTest::newRow("heritage") << kDemoFiles[0] << QStringLiteral("VI-HER");
        QTest::newRow("trade") << kDemoFiles[0] << QStringLiteral("VI-TRD");
        QTest::newRow("pelvon file, system-wide") << kDemoFiles[1] << QStringLiteral("VIRTUAL");
        QTest::newRow("pelvon") << kDemoFiles[1] << QStringLiteral("PV-MTO");
    }

    void everyLocaleKeyHasATextInEveryCollection()
    {
        QFETCH(QString, file);
        QFETCH(QString, systemId);
        QVERIFY(useDemoFiles({file}));
        const QUuid uuid = uuidOf(systemId);
        QVERIFY(!uuid.isNull());
        QStringList missing;
        for (const KeyEntry &entry : readKeyList(QStringLiteral("locale-keys.txt"))) {
            const QString text = DB::localizedString(uuid, entry.key);
            if (text == entry.key || text.trimmed().isEmpty())
                missing << entry.key;
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
        // The documents behind the footer links are whole HTML pages.
        QVERIFY(DB::localizedString(uuid, QStringLiteral("license.copyright")).contains(QLatin1String("</html>")));
        QVERIFY(DB::localizedString(uuid, QStringLiteral("motto")).contains(QLatin1String("</html>")));
    }

    // The collection builder checks each value against its key's kind; here
    // the interior collection carries every key the interface reads.
    void settingsAreThere()
    {
        QVERIFY(useDemoFiles(kDemoFiles));
        const QUuid interior = uuidOf(QStringLiteral("VI-INT"));
        const QVector<KeyEntry> keys = readKeyList(QStringLiteral("setting-keys.txt"));
        QVERIFY(keys.size() >= 43);
        QStringList missing;
        for (const KeyEntry &entry : keys) {
            if (DB::settingValues(interior, entry.key).isEmpty())
                missing << entry.key;
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
        for (const char *systemId : {"VI-INT", "VI-HER", "PV-MTO"})
            QCOMPARE(DB::settingValue(uuidOf(QLatin1String(systemId)), QStringLiteral("collection.enabled")).toString(),
                     QStringLiteral("1"));
    }

    // Counts over one collection's rows (%1 is its database ID): at least
    // `least`, or exactly `exactly` when that is not -1.
    void dataCoversTheDemosFeatures_data()
    {
        QTest::addColumn<QString>("systemId");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("least");
        QTest::addColumn<int>("exactly");
        const QString chips = QStringLiteral(" FROM \"ROW\" R JOIN COLLECTION_PAGE_MAP CMAP ON R.PAGE_ID = "
                                             "CMAP.PAGE_ID WHERE CMAP.COLLECTION_ID = %1");
        const auto row = [](const char *name, const char *systemId, const QString &sql, int least, int exactly) {
            QTest::newRow(name) << QString::fromLatin1(systemId) << sql << least << exactly;
        };
        row("interior chips", "VI-INT", "SELECT COUNT(*)" + chips, 1000, -1);
        // One scheme per chip is shown in lines of max.chips.on.a.page chips,
        // at most three lines: any other count would show nothing.
        row("interior scheme lengths", "VI-INT",
            "SELECT COUNT(*) FROM (SELECT COUNT(*) AS N FROM ROW_SCHEME_MAP WHERE COLLECTION_ID = %1 GROUP BY ROW_ID, "
            "SCHEME_ID) WHERE N % %2 != 0 OR N > 3 * %2",
            0, 0);
        // Per chip: wide contrast at card order 0 and 1, contrast at card order 0, nothing else.
        row("pelvon chip schemes", "PV-MTO",
            "SELECT COUNT(*)" + chips + " AND ((SELECT COUNT(*) FROM ROW_SCHEME_MAP M WHERE M.ROW_ID = R.ID) != 3 OR "
            "(SELECT GROUP_CONCAT(SCHEME_ID || ':' || PAGE_ORDER) FROM (SELECT * FROM ROW_SCHEME_MAP M WHERE M.ROW_ID "
            "= R.ID ORDER BY SCHEME_ID, PAGE_ORDER)) != '2:0,3:0,3:1')",
            0, 0);
        // Each card mode with its scheme table (the modes: collectionSettingsTheDemoShows).
        row("interior chip-to-chip schemes", "VI-INT", "SELECT COUNT(*) FROM ROW_SCHEME_MAP WHERE COLLECTION_ID = %1",
            1, -1);
        row("trade chip-to-card schemes", "VI-TRD", "SELECT COUNT(*) FROM ROW_TO_PAGE_SCHEME WHERE COLLECTION_ID = %1",
            1, -1);
        row("heritage card-to-card schemes", "VI-HER", "SELECT COUNT(*) FROM PAGE_SCHEME WHERE COLLECTION_ID = %1", 1,
            -1);
    }

    void dataCoversTheDemosFeatures()
    {
        QFETCH(QString, systemId);
        QFETCH(QString, sql);
        QFETCH(int, least);
        QFETCH(int, exactly);
        QVERIFY(useDemoFiles(kDemoFiles));
        const QUuid uuid = uuidOf(systemId);
        const int perLine = DB::settingValue(uuid, QStringLiteral("max.chips.on.a.page")).toInt();
        QString query = sql.arg(DB::collectionDatabaseId(uuid));
        if (query.contains(QLatin1String("%2"))) {
            QVERIFY(perLine > 0);
            query = query.arg(perLine);
        }
        const int count = countOf(DB::collectionDatabase(uuid), query);
        QVERIFY2(count >= least, qPrintable(QString::number(count)));
        if (exactly >= 0)
            QCOMPARE(count, exactly);
    }

    void collectionSettingsTheDemoShows()
    {
        QVERIFY(useDemoFiles(kDemoFiles));
        const QUuid heritage = uuidOf(QStringLiteral("VI-HER"));
        QVERIFY(DB::settingValues(heritage, QStringLiteral("color.tooltip.show.page.name")).isEmpty());
        QCOMPARE(DB::settingValue(heritage, QStringLiteral("color.tooltip.show.card.name")).toString(), QStringLiteral("1"));
        const std::pair<const char *, const char *> modes[] = {
            {"VI-INT", "ModeColorToColor"}, {"VI-TRD", "ModeColorToCard"}, {"VI-HER", "ModeCardToCard"}};
        for (const auto &[systemId, mode] : modes)
            QCOMPARE(DB::settingValue(uuidOf(QLatin1String(systemId)), QStringLiteral("mode.card")).toString(),
                     QLatin1String(mode));
        QCOMPARE(DB::settingValue(uuidOf(QStringLiteral("PV-MTO")), QStringLiteral("card.type")).toString().toLower(),
                 QStringLiteral("pelvon"));
        // Capsure watches a folder below the all-users data folder.
        QVERIFY(DB::settingValue(uuidOf(QStringLiteral("VI-INT")), QStringLiteral("capsure.folder.to.watch.windows"))
                    .toString()
                    .startsWith(QLatin1String("%PROGRAMDATA%")));
    }
};

HUELINK_TEST_MAIN(DemoCollectionsTest)
#include "DemoCollectionsTest.moc"
