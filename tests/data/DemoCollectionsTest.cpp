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

QString sourceFile(const QString &relative)
{
    return QStringLiteral(HUELINK_SOURCE_DIR "/") + relative;
}

QVector<KeyEntry> readKeyList(const QString &relative)
{
    QVector<KeyEntry> entries;
    QFile file(sourceFile(relative));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return entries;
    QTextStream stream(&file);
    while (!stream.atEnd()) {
        const QString line = stream.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList parts = line.split(QLatin1Char('\t'));
        entries.push_back({parts.value(0), parts.value(1)});
    }
    return entries;
}

QString buildDirectory()
{
    const QString fromEnvironment = qEnvironmentVariable("HUELINK_BUILD_DIR");
    return fromEnvironment.isEmpty() ? QStringLiteral(HUELINK_BUILD_DIR) : fromEnvironment;
}

QString builtDatabaseFolder()
{
    return buildDirectory() + QStringLiteral("/programdata/Vestrel/Huelink/SQLite");
}

QString builtFile(const QString &name)
{
    return builtDatabaseFolder() + QStringLiteral("/Contents/Resources/") + name;
}

const QStringList kDemoFiles{QStringLiteral("demo-interior.db"), QStringLiteral("demo-pelvon.db")};

// Integer parsing as the settings read it.
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
    for (const QString &word : words)
        if (word.compare(text.trimmed(), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Empty when the values fit the kind, otherwise what is wrong.
QString kindProblem(const QString &kind, const QVariantList &values)
{
    if (values.isEmpty())
        return QStringLiteral("missing");
    const QString first = values.first().toString();
    if (kind == QLatin1String("int"))
        return isInteger(first) ? QString() : QStringLiteral("not an integer: ") + first;
    if (kind == QLatin1String("flag"))
        return first == QLatin1String("0") || first == QLatin1String("1") ? QString()
                                                                          : QStringLiteral("not 0 or 1: ") + first;
    if (kind == QLatin1String("double")) {
        bool ok = false;
        first.toDouble(&ok);
        return ok ? QString() : QStringLiteral("not a number: ") + first;
    }
    if (kind == QLatin1String("text"))
        return QString();
    if (kind.startsWith(QLatin1String("enum:"))) {
        const QStringList words = kind.mid(5).split(QLatin1Char('|'));
        return containsWord(words, first) ? QString() : QStringLiteral("not one of the words: ") + first;
    }
    if (kind.startsWith(QLatin1String("list:"))) {
        const QStringList words = kind.mid(5).split(QLatin1Char('|'));
        for (const QVariant &value : values)
            if (!containsWord(words, value.toString()))
                return QStringLiteral("list element not one of the words: ") + value.toString();
        return QString();
    }
    if (kind == QLatin1String("indexlist")) {
        for (const QVariant &value : values) {
            qint64 index = -1;
            if (!isInteger(value.toString(), &index) || index < 0 || index > 9)
                return QStringLiteral("not a name index 0..9: ") + value.toString();
        }
        return QString();
    }
    if (kind == QLatin1String("size")) {
        const QStringList parts = first.split(QLatin1Char(','), Qt::SkipEmptyParts);
        qint64 width = 0, height = 0;
        if (parts.size() != 2 || !isInteger(parts[0], &width) || !isInteger(parts[1], &height) || width < 1 ||
            height < 1)
            return QStringLiteral("not a size W,H: ") + first;
        return QString();
    }
    if (kind == QLatin1String("doublelist")) {
        int positive = 0;
        for (const QString &part : first.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            bool ok = false;
            const double value = part.toDouble(&ok);
            if (!ok)
                return QStringLiteral("not a number list: ") + first;
            positive += value > 0.0 ? 1 : 0;
        }
        return positive > 0 ? QString() : QStringLiteral("no value above 0: ") + first;
    }
    return QStringLiteral("unknown kind ") + kind;
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

    // Registers the collections of the given demo files only, as the engine
    // does at start; returns false when a file is missing from the build.
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
        QVERIFY(!readKeyList(QStringLiteral("data/demo/keys/locale-keys.txt")).isEmpty());
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
        const QVector<KeyEntry> keys = readKeyList(QStringLiteral("data/demo/keys/theme-keys.txt"));
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
        if (kind == QLatin1String("image")) {
            QCOMPARE(DB::themeData(systemWide, key, data), 0);
            const QImage image = QImage::fromData(data);
            QVERIFY2(!image.isNull(), "does not decode");
            // A drawn image, not a blank: some pixel shows and not all are alike.
            const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
            QSet<QRgb> distinct;
            bool visible = false;
            for (int y = 0; y < pixels.height() && distinct.size() < 3; ++y)
                for (int x = 0; x < pixels.width(); ++x) {
                    distinct.insert(pixels.pixel(x, y));
                    visible = visible || qAlpha(pixels.pixel(x, y)) > 0;
                }
            QVERIFY2(visible && distinct.size() > 1, "image is blank");
        } else if (kind == QLatin1String("colour")) {
            QCOMPARE(DB::themeData(systemWide, key, data), 0);
            const QStringList parts = QString::fromUtf8(data).split(QLatin1Char(','), Qt::SkipEmptyParts);
            QVERIFY(parts.size() == 3 || parts.size() == 4);
            for (const QString &part : parts) {
                qint64 value = -1;
                QVERIFY2(isInteger(part, &value) && value >= 0 && value <= 255, qPrintable(part));
            }
        } else if (kind == QLatin1String("fontlist")) {
            // Stored only under the platform suffixes, so that each build reads its own list.
            QCOMPARE(DB::themeData(systemWide, key, data), -1);
            QCOMPARE(DB::themeData(systemWide, key + QStringLiteral(".linux"), data), 0);
            QStringList families;
            for (const QString &entry : QString::fromUtf8(data).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
                const QStringList parts = entry.split(QLatin1Char(','), Qt::SkipEmptyParts);
                qint64 size = 0;
                QVERIFY2(parts.size() == 2 && isInteger(parts[1], &size) && size > 0, qPrintable(entry));
                QVERIFY2(!containsWord(families, parts[0]), "a family named twice");
                families << parts[0];
            }
            QVERIFY(!families.isEmpty());
            const QStringList offered = QFontDatabase::families();
            const bool anyOffered = std::any_of(families.cbegin(), families.cend(),
                                                [&](const QString &family) { return containsWord(offered, family); });
            QVERIFY2(anyOffered, qPrintable(families.join(QStringLiteral(", ")) +
                                            QStringLiteral(": none installed (fonts-dejavu-core?)")));
            QCOMPARE(DB::themeData(systemWide, key + QStringLiteral(".windows"), data), 0);
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown kind ") + kind));
        }
    }

    void everyCollectionCarriesItsOwnBannerLogoAndMarker_data()
    {
        QTest::addColumn<QString>("systemId");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QSize>("size");
        for (const char *systemId : {"VIRTUAL", "VI-INT", "VI-HER", "VI-TRD", "PV-MTO"}) {
            QTest::addRow("%s banner", systemId) << QString::fromLatin1(systemId) << QStringLiteral("image.banner")
                                                 << QSize(800, 70);
            QTest::addRow("%s about logo", systemId)
                << QString::fromLatin1(systemId) << QStringLiteral("image.about.logo") << QSize(128, 48);
            QTest::addRow("%s made to order", systemId)
                << QString::fromLatin1(systemId) << QStringLiteral("image.mto") << QSize(96, 50);
        }
    }

    void everyCollectionCarriesItsOwnBannerLogoAndMarker()
    {
        QFETCH(QString, systemId);
        QFETCH(QString, key);
        QFETCH(QSize, size);
        QVERIFY(useDemoFiles(kDemoFiles));
        const QUuid uuid = uuidOf(systemId);
        QVERIFY(!uuid.isNull());
        QByteArray data;
        QCOMPARE(DB::themeData(uuid, key, data), 0);
        const QImage image = QImage::fromData(data);
        QVERIFY(!image.isNull());
        // Sized for where it is shown: the banner band, the logo label, a chip.
        QCOMPARE(image.size(), size);
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
        for (const KeyEntry &entry : readKeyList(QStringLiteral("data/demo/keys/locale-keys.txt"))) {
            const QString text = DB::localizedString(uuid, entry.key);
            if (text == entry.key || text.trimmed().isEmpty())
                missing << entry.key;
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
        // The documents behind the footer links are whole HTML pages.
        QVERIFY(DB::localizedString(uuid, QStringLiteral("license.copyright")).contains(QLatin1String("</html>")));
        QVERIFY(DB::localizedString(uuid, QStringLiteral("motto")).contains(QLatin1String("</html>")));
    }

    void settingsHaveValuesOfTheirKind_data()
    {
        QTest::addColumn<QString>("systemId");
        QTest::addColumn<bool>("everyKey");
        QTest::newRow("interior carries every key") << QStringLiteral("VI-INT") << true;
        QTest::newRow("heritage") << QStringLiteral("VI-HER") << false;
        QTest::newRow("pelvon") << QStringLiteral("PV-MTO") << false;
        QTest::newRow("system-wide") << QStringLiteral("VIRTUAL") << false;
    }

    void settingsHaveValuesOfTheirKind()
    {
        QFETCH(QString, systemId);
        QFETCH(bool, everyKey);
        QVERIFY(useDemoFiles(kDemoFiles));
        const QUuid uuid = uuidOf(systemId);
        QVERIFY(!uuid.isNull());
        QVector<KeyEntry> keys = readKeyList(QStringLiteral("data/demo/keys/setting-keys.txt"));
        QVERIFY(keys.size() >= 43);
        keys += readKeyList(QStringLiteral("data/demo/keys/older-setting-keys.txt"));
        QStringList problems;
        int present = 0;
        for (const KeyEntry &entry : keys) {
            const QVariantList values = DB::settingValues(uuid, entry.key);
            const bool isOlderKey = entry.key.startsWith(QLatin1String("color.tooltip.show.card")) ||
                                    entry.key.startsWith(QLatin1String("color.tooltip.show.color")) ||
                                    entry.key == QLatin1String("color.tooltip.show.auxiliary");
            if (values.isEmpty()) {
                if (everyKey && !isOlderKey)
                    problems << entry.key + QStringLiteral(": missing");
                continue;
            }
            ++present;
            // The single-value lookup sees the same first value.
            QCOMPARE(DB::settingValue(uuid, entry.key).toString(), values.first().toString());
            const QString problem = kindProblem(entry.kind, values);
            if (!problem.isEmpty())
                problems << entry.key + QStringLiteral(": ") + problem;
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
        QVERIFY(present > 0);
        if (systemId != QLatin1String("VIRTUAL"))
            QCOMPARE(DB::settingValue(uuid, QStringLiteral("collection.enabled")).toString(), QStringLiteral("1"));
    }

    void heritageUsesTheOlderTooltipKeys()
    {
        QVERIFY(useDemoFiles(kDemoFiles));
        const QUuid heritage = uuidOf(QStringLiteral("VI-HER"));
        QVERIFY(DB::settingValues(heritage, QStringLiteral("color.tooltip.show.page.name")).isEmpty());
        QCOMPARE(DB::settingValue(heritage, QStringLiteral("color.tooltip.show.card.name")).toString(),
                 QStringLiteral("1"));
    }

    void interiorCoversTheBrowsingFeatures()
    {
        QVERIFY(useDemoFiles(kDemoFiles));
        const QUuid interior = uuidOf(QStringLiteral("VI-INT"));
        const qint64 id = DB::collectionDatabaseId(interior);
        QSqlDatabase database = DB::collectionDatabase(interior);
        QVERIFY(database.isOpen());
        const QString pages = QStringLiteral(" FROM PAGE P JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID "
                                             "WHERE CMAP.COLLECTION_ID = %1").arg(id);
        const QString chips = QStringLiteral(" FROM \"ROW\" R JOIN PAGE P ON R.PAGE_ID = P.ID JOIN COLLECTION_PAGE_MAP "
                                             "CMAP ON P.ID = CMAP.PAGE_ID WHERE CMAP.COLLECTION_ID = %1").arg(id);
        QVERIFY(countOf(database, QStringLiteral("SELECT COUNT(*)") + chips) >= 1000);
        QVERIFY(countOf(database, QStringLiteral("SELECT COUNT(DISTINCT P.SEGMENT)") + pages) >= 12);
        QCOMPARE(countOf(database, QStringLiteral("SELECT COUNT(DISTINCT P.MOOD)") + pages +
                                       QStringLiteral(" AND P.MOOD BETWEEN 1 AND 6")),
                 6);
        QVERIFY(countOf(database, QStringLiteral("SELECT COUNT(*)") + pages + QStringLiteral(" AND P.EXTERIOR = 1")) > 0);
        // Names that a search can find: every chip has a code and a first name.
        QCOMPARE(countOf(database, QStringLiteral("SELECT COUNT(*)") + chips +
                                       QStringLiteral(" AND (TRIM(R.CODE) = '' OR TRIM(R.NAME0) = '')")),
                 0);
        QCOMPARE(countOf(database, QStringLiteral("SELECT COUNT(*) FROM (SELECT UPPER(R.CODE)") + chips +
                                       QStringLiteral(" GROUP BY UPPER(R.CODE) HAVING COUNT(*) > 1)")),
                 0);
        // Every scheme kind of the database has rows.
        QCOMPARE(countOf(database, QStringLiteral("SELECT COUNT(DISTINCT SCHEME_ID) FROM ROW_SCHEME_MAP WHERE "
                                                  "COLLECTION_ID = %1 AND SCHEME_ID BETWEEN 1 AND 8").arg(id)),
                 8);
        // One scheme per chip is shown in lines of max.chips.on.a.page chips,
        // at most three lines: any other count would show nothing.
        const int perLine = DB::settingValue(interior, QStringLiteral("max.chips.on.a.page")).toInt();
        QVERIFY(perLine > 0);
        QCOMPARE(countOf(database, QStringLiteral("SELECT COUNT(*) FROM (SELECT COUNT(*) AS N FROM ROW_SCHEME_MAP "
                                                  "WHERE COLLECTION_ID = %1 GROUP BY ROW_ID, SCHEME_ID) WHERE N % %2 "
                                                  "!= 0 OR N > 3 * %2")
                                       .arg(id)
                                       .arg(perLine)),
                 0);
        // Dramatic only for neutral or white chips, complementary neutral only for rich ones.
        QCOMPARE(countOf(database, QStringLiteral("SELECT COUNT(*) FROM ROW_SCHEME_MAP M JOIN \"ROW\" R ON "
                                                  "M.ROW_ID = R.ID WHERE M.COLLECTION_ID = %1 AND ((M.SCHEME_ID = 5 "
                                                  "AND R.NEUTRAL = 0 AND R.WHITE = 0) OR (M.SCHEME_ID = 8 AND "
                                                  "R.MOOD != 4))")
                                       .arg(id)),
                 0);
        QVERIFY(countOf(database, QStringLiteral("SELECT COUNT(*) FROM PRODUCT WHERE PRODUCT_CODE != ''")) > 0);
        QVERIFY(countOf(database, QStringLiteral("SELECT COUNT(*) FROM FORESIGHT_GROUP WHERE COLLECTION_ID = 0")) > 0);
        QVERIFY(countOf(database, QStringLiteral("SELECT COUNT(*) FROM TEXTURE_MAP TM JOIN COLLECTION_PAGE_MAP CMAP "
                                                 "ON TM.PAGE_ID = CMAP.PAGE_ID WHERE CMAP.COLLECTION_ID = %1")
                                      .arg(id)) > 0);
        // Capsure watches a folder below the all-users data folder.
        QVERIFY(DB::settingValue(interior, QStringLiteral("capsure.folder.to.watch.windows"))
                    .toString()
                    .startsWith(QLatin1String("%PROGRAMDATA%")));
    }

    void heritageHasComplementaryNeutralSchemesForSomeCardsOnly()
    {
        QVERIFY(useDemoFiles(kDemoFiles));
        const QUuid heritage = uuidOf(QStringLiteral("VI-HER"));
        QCOMPARE(DB::settingValue(heritage, QStringLiteral("mode.card")).toString(), QStringLiteral("ModeCardToCard"));
        QSqlDatabase database = DB::collectionDatabase(heritage);
        const qint64 id = DB::collectionDatabaseId(heritage);
        const int cards = countOf(database, QStringLiteral("SELECT COUNT(*) FROM COLLECTION_PAGE_MAP WHERE "
                                                           "COLLECTION_ID = %1").arg(id));
        const int withComplementary = countOf(
            database, QStringLiteral("SELECT COUNT(DISTINCT PAGE_ID) FROM PAGE_SCHEME WHERE COLLECTION_ID = %1 AND "
                                     "SCHEME_ID = 8").arg(id));
        QVERIFY(withComplementary > 0);
        QVERIFY(withComplementary < cards);
        QCOMPARE(countOf(database, QStringLiteral("SELECT COUNT(DISTINCT PAGE_ID) FROM PAGE_SCHEME WHERE "
                                                  "COLLECTION_ID = %1 AND SCHEME_ID = 1").arg(id)),
                 cards);
    }

    void everyCardModeIsUsedWithItsSchemeTable()
    {
        QVERIFY(useDemoFiles(kDemoFiles));
        const std::pair<const char *, const char *> modes[] = {{"VI-INT", "ROW_SCHEME_MAP"},
                                                               {"VI-TRD", "ROW_TO_PAGE_SCHEME"},
                                                               {"VI-HER", "PAGE_SCHEME"}};
        QStringList seen;
        for (const auto &[systemId, table] : modes) {
            const QUuid uuid = uuidOf(QLatin1String(systemId));
            seen << DB::settingValue(uuid, QStringLiteral("mode.card")).toString();
            QVERIFY2(countOf(DB::collectionDatabase(uuid), QStringLiteral("SELECT COUNT(*) FROM %1 WHERE COLLECTION_ID = %2")
                                                               .arg(QLatin1String(table))
                                                               .arg(DB::collectionDatabaseId(uuid)))
                         > 0,
                     systemId);
        }
        QCOMPARE(seen, QStringList({"ModeColorToColor", "ModeColorToCard", "ModeCardToCard"}));
    }

    void pelvonChipsHaveThreeChipSchemes()
    {
        QVERIFY(useDemoFiles(kDemoFiles));
        const QUuid pelvon = uuidOf(QStringLiteral("PV-MTO"));
        QCOMPARE(DB::settingValue(pelvon, QStringLiteral("card.type")).toString().toLower(), QStringLiteral("pelvon"));
        QSqlDatabase database = DB::collectionDatabase(pelvon);
        const qint64 id = DB::collectionDatabaseId(pelvon);
        const QString chips = QStringLiteral(" FROM \"ROW\" R JOIN COLLECTION_PAGE_MAP CMAP ON R.PAGE_ID = "
                                             "CMAP.PAGE_ID WHERE CMAP.COLLECTION_ID = %1").arg(id);
        QVERIFY(countOf(database, QStringLiteral("SELECT COUNT(*)") + chips + QStringLiteral(" AND R.IS_MTO != 0")) > 0);
        // Per chip: wide contrast at card order 0 and 1, contrast at card order 0, nothing else.
        QCOMPARE(countOf(database,
                         QStringLiteral("SELECT COUNT(*)") + chips +
                             QStringLiteral(" AND ((SELECT COUNT(*) FROM ROW_SCHEME_MAP M WHERE M.ROW_ID = R.ID) != 3 OR "
                                            "(SELECT GROUP_CONCAT(SCHEME_ID || ':' || PAGE_ORDER) FROM (SELECT * FROM "
                                            "ROW_SCHEME_MAP M WHERE M.ROW_ID = R.ID ORDER BY SCHEME_ID, PAGE_ORDER)) "
                                            "!= '2:0,3:0,3:1')")),
                 0);
    }
};

HUELINK_TEST_MAIN(DemoCollectionsTest)
#include "DemoCollectionsTest.moc"
