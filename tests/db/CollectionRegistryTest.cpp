#include "db/CollectionRegistry.h"
#include "db/CollectionLookups.h"
#include "db/Schema.h"
#include "db/Status.h"
#include "engine/inc/ModuleValues.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace Tintor::DB;

namespace {

const QUuid kFirst = QUuid::fromString("{0a000000-0000-4000-8000-000000000001}");
const QUuid kSecond = QUuid::fromString("{0b000000-0000-4000-8000-000000000002}");
const QUuid kThird = QUuid::fromString("{0c000000-0000-4000-8000-000000000003}");
const QUuid kFourth = QUuid::fromString("{0d000000-0000-4000-8000-000000000004}");
const QUuid kUnknown = QUuid::fromString("{0e000000-0000-4000-8000-000000000005}");
const QUuid kSystemWide = Schema::systemWideCollectionUuid();

QList<QUuid> sorted(QList<QUuid> uuids)
{
    std::sort(uuids.begin(), uuids.end(), [](const QUuid &a, const QUuid &b) { return a.toString() < b.toString(); });
    return uuids;
}

} // namespace

class CollectionRegistryTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_databaseFolder;

    QString resources() const { return m_databaseFolder->path() + "/Contents/Resources"; }
    QString fileIn(const QString &name) const { return resources() + QLatin1Char('/') + name; }

private Q_SLOTS:
    void init()
    {
        m_databaseFolder = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(resources()));
        Tintor::setDatabaseFolder(m_databaseFolder->path());
        collectionRegistry().clear();
    }

    // Connections are process-wide, keyed by path: each case starts without any, so no earlier file is served.
    void cleanup()
    {
        for (const QString &name : QSqlDatabase::connectionNames()) {
            QSqlDatabase::database(name, false).close();
            QSqlDatabase::removeDatabase(name);
        }
        collectionRegistry().clear();
        m_databaseFolder.reset();
    }

    void discoveryRegistersEnabledCollectionsOfReadableFiles()
    {
        qint64 firstId = -1;
        {
            // Written in the other order, so creation order cannot decide which file supplies a UUID held twice.
            FixtureDatabase two(fileIn("b-two.db"));
            two.addLocale(two.addCollection(kSecond, "SECOND", 4), "title", "From two");
            two.addCollection(kFirst, "FROM-TWO", 9);
            // The table is found without regard to case.
            QVERIFY(two.exec("ALTER TABLE COLLECTION RENAME TO C_TMP"));
            QVERIFY(two.exec("ALTER TABLE C_TMP RENAME TO collection"));
            FixtureDatabase one(fileIn("a-one.db"));
            firstId = one.addCollection(kFirst, "FIRST", 4);
            one.addLocale(firstId, "title", "From one");
            one.addCollection(kThird, "OFF", 3, false);
            one.addCollection(kFourth, "BROKEN", 2);
            QVERIFY(one.exec("UPDATE COLLECTION SET UUID = 'not a uuid' WHERE SYSTEMID = 'BROKEN'"));
            FixtureDatabase noTable(fileIn("notable.db"));
            QVERIFY(noTable.exec("DROP TABLE COLLECTION"));
            FixtureDatabase other(fileIn("other.sqlite"));
            other.addCollection(kUnknown, "OTHER", 1);
        }
        QVERIFY(FixtureDatabase::writeFile(fileIn("text.db"), "This is not a database.\n"));
        QVERIFY(QDir().mkpath(fileIn("folder.db")));

        // Without a discovery first: an empty registry is scanned.
        QCOMPARE(collectionUuidsByOrder(), (QList<QUuid> { kFirst, kSecond }));
        QCOMPARE(discoverCollections(), 1);
        QCOMPARE(sorted(collectionRegistry().keys()), sorted({ kFirst, kSecond, kSystemWide }));
        const CollectionLocation location = collectionRegistry().value(kFirst);
        const CollectionLocation systemWide = collectionRegistry().value(kSystemWide);
        QCOMPARE((QVariantList { location.uuid, location.databaseId, location.order, location.systemId,
                     QFileInfo(location.databasePath).fileName(), QFileInfo(systemWide.databasePath).fileName(),
                     systemWide.systemId }),
            (QVariantList { kFirst, firstId, 4, "FIRST", "a-one.db", "a-one.db", "VIRTUAL" }));
        QVERIFY(!QSqlDatabase::contains("collectionEnumerator"));
        QCOMPARE((QVariantList { checkAvailability(kThird), collectionDatabaseId(kThird), checkAvailability(QUuid()) }),
            (QVariantList { int(StatusNotRegistered), -1, int(StatusNullUuid) }));

        // Equal IDs in two files keep their own rows.
        QCOMPARE((QVariantList { collectionDatabaseId(kSecond), localizedString(kSecond, "title"),
                     localizedString(kFirst, "title") }),
            (QVariantList { firstId, "From two", "From one" }));

        QUuid out;
        QCOMPARE(collectionUuidBySystemId("second", out), 0);
        QCOMPARE(out, kSecond);
        QCOMPARE(collectionUuidBySystemId("virtual", out), 0);
        QCOMPARE(out, kSystemWide);
        QCOMPARE(collectionUuidBySystemId("gamma", out), int(StatusFailed));
        // An integer ID names a collection only within its file.
        QCOMPARE((QList<QUuid> { collectionUuidInFile(location.databasePath, firstId),
                     collectionUuidInFile(collectionRegistry().value(kSecond).databasePath, firstId),
                     collectionUuidInSystemWideFile(firstId), collectionUuidInSystemWideFile(0),
                     collectionUuidInSystemWideFile(999) }),
            (QList<QUuid> { kFirst, kSecond, kFirst, kSystemWide, QUuid() }));

        // No rescan of a loaded registry, but an unknown UUID finds a later file; a second claim on a UUID is ignored.
        qint64 laterId = -1;
        {
            FixtureDatabase later(fileIn("c-later.db"));
            later.addCollection(kThird, "PAD", 7, false);
            laterId = later.addCollection(kUnknown, "LATER", 1);
            later.addCollection(kFirst, "IMPOSTOR", 3);
        }
        QCOMPARE(discoverCollections(), 1);
        QVERIFY(!collectionRegistry().contains(kUnknown));
        QCOMPARE((QVariantList { checkAvailability(kUnknown), collectionDatabaseId(kUnknown),
                     collectionRegistry().value(kFirst).systemId }),
            (QVariantList { 0, laterId, "FIRST" }));
        // Equal orders come from different files: both are listed, by file.
        QCOMPARE(collectionUuidsByOrder(), (QList<QUuid> { kUnknown, kFirst, kSecond }));
    }

    // Only "collection.enabled" (in any case) of 1 registers a collection; another collection's setting never does.
    void enabledSettingDecidesRegistration()
    {
        const std::tuple<const char *, QVariant, bool> settings[] = { { "collection.enabled", "1", true },
            { "Collection.ENABLED", 1, true }, { "collection.enabled", 2, false }, { "collection.visible", 1, false } };
        for (const auto &[name, value, registered] : settings) {
            {
                FixtureDatabase file(fileIn("deck.db"));
                const qint64 id = file.addCollection(kFirst, "FIRST", 1, false);
                QVERIFY(file.exec("DELETE FROM SETTING WHERE COLLECTION_ID = ?", { id }));
                file.addSetting(id, QString::fromLatin1(name), value);
                const qint64 other = file.addCollection(kSecond, "SECOND", 2, false);
                file.addSetting(other, "something.else", 1);
            }
            scanCollectionFiles(collectionRegistry(), true);
            QVERIFY2(collectionRegistry().contains(kFirst) == registered, name);
            QVERIFY(!collectionRegistry().contains(kSecond));
            QVERIFY(collectionRegistry().contains(kSystemWide));
            cleanup();
            init();
        }
    }

    void emptyFolderHoldsNoCollection()
    {
        QCOMPARE(discoverCollections(), 2);
        {
            FixtureDatabase file(fileIn("system.db"));
            QVERIFY(file.isOpen());
        }
        QCOMPARE(discoverCollections(), 1);
        QCOMPARE(collectionRegistry().keys(), QList<QUuid> { kSystemWide });
        QVERIFY(collectionUuidsByOrder().isEmpty());
        QCOMPARE(checkAvailability(kSystemWide), 0);
        // Without Contents/Resources at all.
        QVERIFY(QDir(m_databaseFolder->path()).removeRecursively());
        QCOMPARE(scanCollectionFiles(collectionRegistry(), true), 0);
        QVERIFY(collectionRegistry().isEmpty());
    }

    void secondAvailabilityCheckUsesTheOpenConnection()
    {
        {
            FixtureDatabase file(fileIn("deck.db"));
            file.addLocale(file.addCollection(kFirst, "FIRST", 1), "title", "First deck");
            file.addLocale(file.addCollection(kSecond, "SECOND", 2), "title", "Second deck");
        }
        QCOMPARE(discoverCollections(), 1);
        const QString path = collectionRegistry().value(kFirst).databasePath;
        QCOMPARE(checkAvailability(kFirst), 0);
        const QString name = connectionNameOf(path);
        QCOMPARE(name, QFileInfo(path).absoluteFilePath().toLower());
        QVERIFY(QSqlDatabase::contains(name));
        QVERIFY(!QSqlDatabase::contains("tmpCheckAvailability"));

        // With the file gone, only the kept connection can still answer.
        QVERIFY(QFile::remove(path));
        QCOMPARE(checkAvailability(kSecond), 0);
        QCOMPARE(localizedString(kSecond, "title"), "Second deck");
        QCOMPARE(QSqlDatabase::connectionNames().count(name), 1);
    }

    // Removed, or replaced by text.
    void fileThatNoLongerOpensGivesMinusFive()
    {
        for (const bool replaceWithText : { false, true }) {
            cleanup();
            init();
            {
                FixtureDatabase file(fileIn("deck.db"));
                const qint64 id = file.addCollection(kFirst, "FIRST", 1);
                file.addLocale(id, "title", "Deck");
                file.addSetting(id, "page.count", 12);
                file.addTheme(id, "logo", QByteArray("png"));
            }
            QCOMPARE(discoverCollections(), 1);
            const QString path = collectionRegistry().value(kFirst).databasePath;
            QVERIFY(QFile::remove(path));
            if (replaceWithText)
                QVERIFY(FixtureDatabase::writeFile(path, "no longer a database"));

            QCOMPARE(checkAvailability(kFirst), int(StatusCannotOpen));
            QVERIFY(!QSqlDatabase::contains("tmpCheckAvailability"));
            QVERIFY(!QSqlDatabase::contains(connectionNameOf(path)));
            QCOMPARE((QVariantList { localizedString(kFirst, "title"), settingValue(kFirst, "page.count", 3),
                         settingValues(kFirst, "page.count").size() }),
                (QVariantList { "title", 3, 0 }));
            QByteArray bytes("kept");
            QCOMPARE(themeData(kFirst, "logo", bytes), int(StatusCannotOpen));
            QVERIFY(bytes.isEmpty());
            CollectionPointer collection = CollectionPointer::create();
            QCOMPARE(collectionByUuid(kFirst, collection), int(StatusCannotOpen));
            QVERIFY(collection.isNull());
            // Still registered: the file may come back.
            QVERIFY(collectionRegistry().contains(kFirst));
        }
    }

    void lookupsAnswerFromTheCollectionsOwnRows()
    {
        {
            FixtureDatabase file(fileIn("deck.db"));
            const qint64 first = file.addCollection(kFirst, "FIRST", 1, true, "First");
            const qint64 second = file.addCollection(kSecond, "SECOND", 2);
            file.addLocale(first, "button.select", "Select");
            file.addLocale(second, "only.second", "Second's text");
            file.addLocale(first, "it's", "Quoted key");
            // A long text ending in a surrogate pair that straddles the cut.
            file.addLocale(first, "long",
                QString(kMaxInterfaceTextLength - 1, QLatin1Char('x')) + QString::fromUtf8("\xF0\x9F\x8E\xA8 tail"));
            const QList<std::tuple<qint64, const char *, QVariant, int>> settings { { first, "wheel.segments", 24, 0 },
                { first, "wheel.segments", 99, 1 }, { first, "name.order", "c", 2 }, { first, "name.order", "a", 0 },
                { first, "name.order", "b", 1 }, { second, "wheel.segments", 12, 0 },
                { first, "only.second.index", 5, 1 } };
            for (const auto &[id, name, value, index] : settings)
                file.addSetting(id, QString::fromLatin1(name), value, index);
            file.addTheme(first, "logo", QByteArray("\x89PNG\0\1\2", 7));
            QVERIFY(file.exec("INSERT INTO THEME(COLLECTION_ID, ITEM_KEY, ITEM_DATA) VALUES(?, ?, ?)",
                { first, "text.item", "not bytes" }));
        }
        QCOMPARE(discoverCollections(), 1);

        QCOMPARE((QStringList { localizedString(kFirst, "BUTTON.Select"), localizedString(kFirst, "only.second"),
                     localizedString(kSecond, "only.second"), localizedString(kFirst, "it's") }),
            (QStringList { "Select", "only.second", "Second's text", "Quoted key" }));
        QCOMPARE(localizedString(kFirst, "long"), QString(kMaxInterfaceTextLength - 1, QLatin1Char('x')));
        QVERIFY(localizedDocument(kFirst, "long").endsWith(" tail"));

        // Only VALUE_INDEX 0 is a single value.
        QCOMPARE(
            (QVariantList { settingValue(kFirst, "WHEEL.segments", -1).toInt(),
                settingValue(kSecond, "wheel.segments", -1).toInt(), settingValue(kFirst, "only.second.index", -1) }),
            (QVariantList { 24, 12, -1 }));
        QCOMPARE(settingValues(kFirst, "name.order"), (QVariantList { "a", "b", "c" }));
        QVERIFY(settingValues(kSecond, "name.order").isEmpty());

        QByteArray bytes("previous");
        QCOMPARE(themeData(kFirst, "logo", bytes), 0);
        QCOMPARE(bytes, QByteArray("\x89PNG\0\1\2", 7));
        QCOMPARE(themeData(kFirst, "missing", bytes), int(StatusFailed));
        QVERIFY(bytes.isEmpty());
        QCOMPARE((QList<int> { themeData(kSecond, "logo", bytes), themeData(kFirst, "text.item", bytes),
                     themeData(kUnknown, "logo", bytes) }),
            (QList<int> { StatusFailed, StatusFailed, StatusNotRegistered }));

        CollectionPointer collection;
        QCOMPARE(collectionByUuid(kFirst, collection), 0);
        QCOMPARE(collection->uuid, kFirst);
        QCOMPARE(collection->name, "First");
        QCOMPARE(collection->id, collectionDatabaseId(kFirst));
        QCOMPARE(collectionByUuid(kUnknown, collection), int(StatusNotRegistered));
        QVERIFY(collection.isNull());
    }
};

HUELINK_TEST_MAIN(CollectionRegistryTest)
#include "CollectionRegistryTest.moc"
