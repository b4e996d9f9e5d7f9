#include "db/CollectionLookups.h"
#include "db/CollectionRegistry.h"
#include "db/Schema.h"
#include "db/Status.h"
#include "engine/inc/ModuleValues.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

using namespace Tintor::DB;

namespace {

const QUuid kFirst = QUuid::fromString(QStringLiteral("{0a000000-0000-4000-8000-000000000001}"));
const QUuid kSecond = QUuid::fromString(QStringLiteral("{0b000000-0000-4000-8000-000000000002}"));
const QUuid kThird = QUuid::fromString(QStringLiteral("{0c000000-0000-4000-8000-000000000003}"));
const QUuid kFourth = QUuid::fromString(QStringLiteral("{0d000000-0000-4000-8000-000000000004}"));
const QUuid kUnknown = QUuid::fromString(QStringLiteral("{0e000000-0000-4000-8000-000000000005}"));

QUuid systemWide()
{
    return Schema::systemWideCollectionUuid();
}

QList<QUuid> sortedKeys(const CollectionRegistryHash &registry)
{
    QList<QUuid> keys = registry.keys();
    std::sort(keys.begin(), keys.end(), [](const QUuid &a, const QUuid &b) { return a.toString() < b.toString(); });
    return keys;
}

QList<QUuid> sorted(QList<QUuid> uuids)
{
    std::sort(uuids.begin(), uuids.end(), [](const QUuid &a, const QUuid &b) { return a.toString() < b.toString(); });
    return uuids;
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class CollectionRegistryTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_databaseFolder;

    QString resources() const { return m_databaseFolder->path() + QStringLiteral("/Contents/Resources"); }
    QString fileIn(const QString &name) const { return resources() + QLatin1Char('/') + name; }

    // A fresh registry over the current folder.
    static void rescan() { scanCollectionFiles(collectionRegistry(), true); }

private Q_SLOTS:
    void init()
    {
        m_databaseFolder = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(resources()));
        Tintor::setDatabaseFolder(m_databaseFolder->path());
        collectionRegistry().clear();
    }

    // Connections are process-wide and keyed by path; every case starts
    // without any, so a file of an earlier case is never served again.
    void cleanup()
    {
        for (const QString &name : QSqlDatabase::connectionNames()) {
            QSqlDatabase::database(name, false).close();
            QSqlDatabase::removeDatabase(name);
        }
        collectionRegistry().clear();
        m_databaseFolder.reset();
    }

    void discoveryRegistersEnabledAndSystemWideCollections()
    {
        qint64 firstId = -1;
        {
            FixtureDatabase file(fileIn(QStringLiteral("deck.db")));
            QVERIFY(file.isOpen());
            firstId = file.addCollection(kFirst, QStringLiteral("FIRST"), 2);
            file.addCollection(kSecond, QStringLiteral("SECOND"), 1);
            file.addCollection(kThird, QStringLiteral("OFF"), 3, false);
        }
        QCOMPARE(discoverCollections(), 1);
        const CollectionRegistryHash &registry = collectionRegistry();
        QCOMPARE(sortedKeys(registry), sorted({kFirst, kSecond, systemWide()}));
        const CollectionLocation location = registry.value(kFirst);
        QCOMPARE(location.uuid, kFirst);
        QCOMPARE(location.databaseId, firstId);
        QCOMPARE(location.order, 2);
        QCOMPARE(location.systemId, QStringLiteral("FIRST"));
        QCOMPARE(QFileInfo(location.databasePath).canonicalFilePath(),
                 QFileInfo(fileIn(QStringLiteral("deck.db"))).canonicalFilePath());
        QCOMPARE(registry.value(systemWide()).databaseId, 0);
        QCOMPARE(registry.value(systemWide()).systemId, QStringLiteral("VIRTUAL"));
        QCOMPARE(collectionUuidsByOrder(), (QList<QUuid>{kSecond, kFirst}));
    }

    void enabledSettingDecidesRegistration_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("registered");
        QTest::newRow("integer 1") << "collection.enabled" << QVariant(1) << true;
        QTest::newRow("text 1") << "collection.enabled" << QVariant(QStringLiteral("1")) << true;
        QTest::newRow("name in other case") << "Collection.ENABLED" << QVariant(1) << true;
        QTest::newRow("2") << "collection.enabled" << QVariant(2) << false;
        QTest::newRow("text true") << "collection.enabled" << QVariant(QStringLiteral("true")) << false;
        QTest::newRow("another setting") << "collection.visible" << QVariant(1) << false;
    }

    void enabledSettingDecidesRegistration()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, value);
        QFETCH(bool, registered);
        {
            FixtureDatabase file(fileIn(QStringLiteral("deck.db")));
            const qint64 id = file.addCollection(kFirst, QStringLiteral("FIRST"), 1, false);
            QVERIFY(file.exec(QStringLiteral("DELETE FROM SETTING WHERE COLLECTION_ID = ?"), {id}));
            file.addSetting(id, name, value);
            // Another collection's setting must not enable this one.
            const qint64 other = file.addCollection(kSecond, QStringLiteral("SECOND"), 2, false);
            file.addSetting(other, QStringLiteral("something.else"), 1);
        }
        rescan();
        QCOMPARE(collectionRegistry().contains(kFirst), registered);
        QVERIFY(!collectionRegistry().contains(kSecond));
        QVERIFY(collectionRegistry().contains(systemWide()));
    }

    void disabledCollectionIsNotRegisteredEvenAfterRescan()
    {
        {
            FixtureDatabase file(fileIn(QStringLiteral("deck.db")));
            file.addCollection(kFirst, QStringLiteral("FIRST"), 1);
            file.addCollection(kThird, QStringLiteral("OFF"), 2, false);
        }
        QCOMPARE(discoverCollections(), 1);
        QCOMPARE(checkAvailability(kThird), int(StatusNotRegistered));
        QCOMPARE(checkAvailability(kUnknown), int(StatusNotRegistered));
        QVERIFY(!collectionRegistry().contains(kThird));
        QCOMPARE(collectionDatabaseId(kThird), -1);
        QCOMPARE(localizedString(kThird, QStringLiteral("title")), QStringLiteral("title"));
        QVERIFY(!collectionUuidsByOrder().contains(kThird));
    }

    void sameUuidInTwoFilesComesFromTheFirstFileByName()
    {
        {
            // Written in the other order, so creation order cannot decide.
            FixtureDatabase two(fileIn(QStringLiteral("b-two.db")));
            two.addCollection(kFirst, QStringLiteral("FROM-TWO"), 9);
            FixtureDatabase one(fileIn(QStringLiteral("a-one.db")));
            one.addCollection(kFirst, QStringLiteral("FROM-ONE"), 4);
        }
        QCOMPARE(discoverCollections(), 1);
        const CollectionLocation location = collectionRegistry().value(kFirst);
        QCOMPARE(location.systemId, QStringLiteral("FROM-ONE"));
        QCOMPARE(location.order, 4);
        QCOMPARE(QFileInfo(location.databasePath).fileName(), QStringLiteral("a-one.db"));
        QCOMPARE(QFileInfo(collectionRegistry().value(systemWide()).databasePath).fileName(),
                 QStringLiteral("a-one.db"));
        CollectionPointer collection;
        QCOMPARE(collectionByUuid(kFirst, collection), 0);
        QCOMPARE(collection->systemId, location.systemId);
    }

    void unreadableFilesAreSkipped()
    {
        QByteArray goodBytes;
        {
            FixtureDatabase good(fileIn(QStringLiteral("good.db")));
            good.addCollection(kFirst, QStringLiteral("FIRST"), 1);
            FixtureDatabase noTable(fileIn(QStringLiteral("notable.db")));
            QVERIFY(noTable.exec(QStringLiteral("DROP TABLE COLLECTION")));
            FixtureDatabase elsewhere(m_databaseFolder->path() + QStringLiteral("/outside.db"));
            elsewhere.addCollection(kFourth, QStringLiteral("OUTSIDE"), 1);
        }
        goodBytes = readBytes(fileIn(QStringLiteral("good.db")));
        QVERIFY(goodBytes.size() > 4096);
        writeBytes(fileIn(QStringLiteral("text.db")), "This is not a database.\n");
        writeBytes(fileIn(QStringLiteral("empty.db")), QByteArray());
        writeBytes(fileIn(QStringLiteral("truncated.db")), goodBytes.left(512));
        QByteArray badHeader = goodBytes;
        badHeader.replace(0, 16, QByteArray(16, 'x'));
        writeBytes(fileIn(QStringLiteral("badheader.db")), badHeader);
        QVERIFY(QDir().mkpath(fileIn(QStringLiteral("folder.db"))));
        {
            // Same collection in a file with another extension: not scanned.
            FixtureDatabase other(fileIn(QStringLiteral("other.sqlite")));
            other.addCollection(kSecond, QStringLiteral("SECOND"), 1);
        }

        QCOMPARE(discoverCollections(), 1);
        QCOMPARE(sortedKeys(collectionRegistry()), sorted({kFirst, systemWide()}));
        QCOMPARE(QFileInfo(collectionRegistry().value(kFirst).databasePath).fileName(), QStringLiteral("good.db"));
        QCOMPARE(checkAvailability(kFirst), 0);
        QVERIFY(!QSqlDatabase::contains(QStringLiteral("collectionEnumerator")));
    }

    void collectionTableIsFoundWithoutRegardToCase()
    {
        const QString path = fileIn(QStringLiteral("lower.db"));
        {
            QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
            database.setDatabaseName(path);
            QVERIFY(database.open());
            QSqlQuery query(database);
            QVERIFY(query.exec(QStringLiteral(
                "CREATE TABLE collection (ID integer PRIMARY KEY, UUID text, SYSTEMID text, VERSION integer, "
                "NAME text, \"ORDER\" integer)")));
            QVERIFY(query.exec(QStringLiteral(
                "CREATE TABLE setting (ID integer PRIMARY KEY, COLLECTION_ID integer, NAME text, VALUE text, "
                "VALUE_INDEX integer)")));
            QVERIFY(query.exec(QStringLiteral("INSERT INTO collection VALUES (3, '%1', 'LOW', 1, 'Low', 5)")
                                   .arg(kThird.toString())));
            QVERIFY(query.exec(QStringLiteral("INSERT INTO setting VALUES (1, 3, 'collection.enabled', '1', 0)")));
            database.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("writer"));
        rescan();
        QCOMPARE(sortedKeys(collectionRegistry()), QList<QUuid>{kThird});
        QCOMPARE(collectionRegistry().value(kThird).databaseId, 3);
    }

    void rowsWithoutUsableUuidAreSkipped()
    {
        {
            FixtureDatabase file(fileIn(QStringLiteral("deck.db")));
            const qint64 id = file.addCollection(kFirst, QStringLiteral("FIRST"), 1);
            file.addCollection(kSecond, QStringLiteral("BROKEN"), 2);
            QVERIFY(file.exec(QStringLiteral("UPDATE COLLECTION SET UUID = 'not a uuid' WHERE SYSTEMID = 'BROKEN'")));
            QVERIFY(id > 0);
        }
        rescan();
        QCOMPARE(sortedKeys(collectionRegistry()), sorted({kFirst, systemWide()}));
        QCOMPARE(collectionUuidsByOrder(), QList<QUuid>{kFirst});
    }

    void fileWithOnlyTheSystemWideCollection()
    {
        {
            FixtureDatabase file(fileIn(QStringLiteral("system.db")));
            QVERIFY(file.isOpen());
        }
        QCOMPARE(discoverCollections(), 1);
        QCOMPARE(sortedKeys(collectionRegistry()), QList<QUuid>{systemWide()});
        QVERIFY(collectionUuidsByOrder().isEmpty());
        QCOMPARE(checkAvailability(systemWide()), 0);
    }

    void emptyFolderHoldsNoCollection()
    {
        QCOMPARE(discoverCollections(), 2);
        QVERIFY(collectionUuidsByOrder().isEmpty());
        // Without Contents/Resources at all.
        QVERIFY(QDir(m_databaseFolder->path()).removeRecursively());
        QCOMPARE(discoverCollections(), 2);
        QCOMPARE(scanCollectionFiles(collectionRegistry(), true), 0);
        QVERIFY(collectionRegistry().isEmpty());
    }

    void loadedRegistryIsNotScannedAgainByDiscovery()
    {
        {
            FixtureDatabase file(fileIn(QStringLiteral("a.db")));
            file.addCollection(kFirst, QStringLiteral("FIRST"), 1);
        }
        QCOMPARE(discoverCollections(), 1);
        {
            FixtureDatabase later(fileIn(QStringLiteral("b.db")));
            later.addCollection(kSecond, QStringLiteral("SECOND"), 2);
        }
        QCOMPARE(discoverCollections(), 1);
        QVERIFY(!collectionRegistry().contains(kSecond));
        QCOMPARE(collectionUuidsByOrder(), QList<QUuid>{kFirst});
        QCOMPARE(collectionDatabaseId(kSecond), -1);
    }

    void askingForAnUnknownUuidFindsFilesAddedLater()
    {
        {
            FixtureDatabase file(fileIn(QStringLiteral("a.db")));
            file.addCollection(kFirst, QStringLiteral("FIRST"), 1);
        }
        QCOMPARE(discoverCollections(), 1);
        const CollectionLocation before = collectionRegistry().value(kFirst);
        qint64 laterId = -1;
        {
            FixtureDatabase later(fileIn(QStringLiteral("b.db")));
            later.addCollection(kFourth, QStringLiteral("PAD"), 7, false);
            laterId = later.addCollection(kSecond, QStringLiteral("SECOND"), 2);
            // A second claim on a known UUID does not replace the known entry.
            later.addCollection(kFirst, QStringLiteral("IMPOSTOR"), 3);
        }
        QCOMPARE(checkAvailability(kSecond), 0);
        QCOMPARE(collectionDatabaseId(kSecond), laterId);
        QCOMPARE(collectionRegistry().value(kFirst).systemId, before.systemId);
        QCOMPARE(collectionRegistry().value(kFirst).databasePath, before.databasePath);
        QCOMPARE(collectionUuidsByOrder(), (QList<QUuid>{kFirst, kSecond}));
    }

    void nullUuidIsRefusedWithoutTouchingTheRegistry()
    {
        {
            FixtureDatabase file(fileIn(QStringLiteral("a.db")));
            file.addCollection(kFirst, QStringLiteral("FIRST"), 1);
        }
        QCOMPARE(discoverCollections(), 1);
        {
            FixtureDatabase later(fileIn(QStringLiteral("b.db")));
            later.addCollection(kSecond, QStringLiteral("SECOND"), 2);
        }
        const QList<QUuid> keys = sortedKeys(collectionRegistry());
        const QStringList connections = QSqlDatabase::connectionNames();
        QCOMPARE(checkAvailability(QUuid()), int(StatusNullUuid));
        QCOMPARE(sortedKeys(collectionRegistry()), keys);
        QCOMPARE(QSqlDatabase::connectionNames(), connections);

        QByteArray bytes("kept");
        QCOMPARE(themeData(QUuid(), QStringLiteral("logo"), bytes), int(StatusNullUuid));
        QVERIFY(bytes.isEmpty());
        CollectionPointer collection = CollectionPointer::create();
        QCOMPARE(collectionByUuid(QUuid(), collection), int(StatusNullUuid));
        QVERIFY(collection.isNull());
        QCOMPARE(localizedString(QUuid(), QStringLiteral("title")), QStringLiteral("title"));
        QCOMPARE(settingValue(QUuid(), QStringLiteral("x"), 5), QVariant(5));
        QVERIFY(settingValues(QUuid(), QStringLiteral("x")).isEmpty());
    }

    void secondAvailabilityCheckUsesTheOpenConnection()
    {
        QString path;
        {
            FixtureDatabase file(fileIn(QStringLiteral("deck.db")));
            const qint64 first = file.addCollection(kFirst, QStringLiteral("FIRST"), 1);
            const qint64 second = file.addCollection(kSecond, QStringLiteral("SECOND"), 2);
            file.addLocale(first, QStringLiteral("title"), QStringLiteral("First deck"));
            file.addLocale(second, QStringLiteral("title"), QStringLiteral("Second deck"));
        }
        QCOMPARE(discoverCollections(), 1);
        path = collectionRegistry().value(kFirst).databasePath;
        QCOMPARE(checkAvailability(kFirst), 0);
        const QString name = connectionNameOf(path);
        QCOMPARE(name, QFileInfo(path).absoluteFilePath().toLower());
        QVERIFY(QSqlDatabase::contains(name));
        QVERIFY(!QSqlDatabase::contains(QStringLiteral("tmpCheckAvailability")));
        QCOMPARE(localizedString(kFirst, QStringLiteral("title")), QStringLiteral("First deck"));

        // With the file gone, only the kept connection can still answer.
        QVERIFY(QFile::remove(path));
        QCOMPARE(checkAvailability(kFirst), 0);
        QCOMPARE(checkAvailability(kSecond), 0);
        QCOMPARE(localizedString(kSecond, QStringLiteral("title")), QStringLiteral("Second deck"));
        QCOMPARE(QSqlDatabase::connectionNames().count(name), 1);
    }

    void fileThatNoLongerOpensGivesMinusFive_data()
    {
        QTest::addColumn<bool>("replaceWithText");
        QTest::newRow("removed") << false;
        QTest::newRow("replaced by text") << true;
    }

    void fileThatNoLongerOpensGivesMinusFive()
    {
        QFETCH(bool, replaceWithText);
        {
            FixtureDatabase file(fileIn(QStringLiteral("deck.db")));
            const qint64 id = file.addCollection(kFirst, QStringLiteral("FIRST"), 1);
            file.addLocale(id, QStringLiteral("title"), QStringLiteral("Deck"));
            file.addSetting(id, QStringLiteral("page.count"), 12);
            file.addTheme(id, QStringLiteral("logo"), QByteArray("png"));
        }
        QCOMPARE(discoverCollections(), 1);
        const QString path = collectionRegistry().value(kFirst).databasePath;
        QVERIFY(QFile::remove(path));
        if (replaceWithText)
            writeBytes(path, "no longer a database");

        QCOMPARE(checkAvailability(kFirst), int(StatusCannotOpen));
        QVERIFY(!QSqlDatabase::contains(QStringLiteral("tmpCheckAvailability")));
        QVERIFY(!QSqlDatabase::contains(connectionNameOf(path)));
        QCOMPARE(localizedString(kFirst, QStringLiteral("title")), QStringLiteral("title"));
        QCOMPARE(settingValue(kFirst, QStringLiteral("page.count"), 3), QVariant(3));
        QVERIFY(settingValues(kFirst, QStringLiteral("page.count")).isEmpty());
        QByteArray bytes("kept");
        QCOMPARE(themeData(kFirst, QStringLiteral("logo"), bytes), int(StatusCannotOpen));
        QVERIFY(bytes.isEmpty());
        CollectionPointer collection;
        QCOMPARE(collectionByUuid(kFirst, collection), int(StatusCannotOpen));
        QVERIFY(collection.isNull());
        // Still registered: the file may come back.
        QVERIFY(collectionRegistry().contains(kFirst));
    }

    void lookupsAnswerFromTheCollectionsOwnRows()
    {
        {
            FixtureDatabase file(fileIn(QStringLiteral("deck.db")));
            const qint64 first = file.addCollection(kFirst, QStringLiteral("FIRST"), 1, true, QStringLiteral("First"));
            const qint64 second = file.addCollection(kSecond, QStringLiteral("SECOND"), 2);
            file.addLocale(first, QStringLiteral("button.select"), QStringLiteral("Select"));
            file.addLocale(second, QStringLiteral("only.second"), QStringLiteral("Second's text"));
            file.addLocale(first, QStringLiteral("it's"), QStringLiteral("Quoted key"));
            file.addSetting(first, QStringLiteral("wheel.segments"), 24);
            file.addSetting(first, QStringLiteral("wheel.segments"), 99, 1);
            file.addSetting(first, QStringLiteral("name.order"), QStringLiteral("c"), 2);
            file.addSetting(first, QStringLiteral("name.order"), QStringLiteral("a"), 0);
            file.addSetting(first, QStringLiteral("name.order"), QStringLiteral("b"), 1);
            file.addSetting(second, QStringLiteral("wheel.segments"), 12);
            file.addSetting(first, QStringLiteral("only.second.index"), 5, 1);
            file.addTheme(first, QStringLiteral("logo"), QByteArray("\x89PNG\0\1\2", 7));
            QVERIFY(file.exec(QStringLiteral("INSERT INTO THEME(COLLECTION_ID, ITEM_KEY, ITEM_DATA) VALUES(?, ?, ?)"),
                              {first, QStringLiteral("text.item"), QStringLiteral("not bytes")}));
        }
        QCOMPARE(discoverCollections(), 1);

        QCOMPARE(localizedString(kFirst, QStringLiteral("button.select")), QStringLiteral("Select"));
        QCOMPARE(localizedString(kFirst, QStringLiteral("BUTTON.Select")), QStringLiteral("Select"));
        QCOMPARE(localizedString(kFirst, QStringLiteral("missing.key")), QStringLiteral("missing.key"));
        QCOMPARE(localizedString(kFirst, QStringLiteral("only.second")), QStringLiteral("only.second"));
        QCOMPARE(localizedString(kSecond, QStringLiteral("only.second")), QStringLiteral("Second's text"));
        QCOMPARE(localizedString(kFirst, QStringLiteral("it's")), QStringLiteral("Quoted key"));
        QCOMPARE(localizedString(kUnknown, QStringLiteral("button.select")), QStringLiteral("button.select"));

        QCOMPARE(settingValue(kFirst, QStringLiteral("wheel.segments"), -1).toInt(), 24);
        QCOMPARE(settingValue(kSecond, QStringLiteral("wheel.segments"), -1).toInt(), 12);
        QCOMPARE(settingValue(kFirst, QStringLiteral("WHEEL.segments"), -1).toInt(), 24);
        QCOMPARE(settingValue(kFirst, QStringLiteral("missing"), QStringLiteral("fallback")),
                 QVariant(QStringLiteral("fallback")));
        // Only VALUE_INDEX 0 is a single value.
        QCOMPARE(settingValue(kFirst, QStringLiteral("only.second.index"), -1), QVariant(-1));
        QCOMPARE(settingValue(kUnknown, QStringLiteral("wheel.segments"), 7), QVariant(7));

        QCOMPARE(settingValues(kFirst, QStringLiteral("name.order")),
                 (QVariantList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
        QCOMPARE(settingValues(kFirst, QStringLiteral("wheel.segments")).size(), 2);
        QVERIFY(settingValues(kFirst, QStringLiteral("missing")).isEmpty());
        QVERIFY(settingValues(kSecond, QStringLiteral("name.order")).isEmpty());

        QByteArray bytes("previous");
        QCOMPARE(themeData(kFirst, QStringLiteral("logo"), bytes), 0);
        QCOMPARE(bytes, QByteArray("\x89PNG\0\1\2", 7));
        QCOMPARE(themeData(kFirst, QStringLiteral("LOGO"), bytes), 0);
        QCOMPARE(bytes.size(), 7);
        QCOMPARE(themeData(kFirst, QStringLiteral("missing"), bytes), int(StatusFailed));
        QVERIFY(bytes.isEmpty());
        QCOMPARE(themeData(kSecond, QStringLiteral("logo"), bytes), int(StatusFailed));
        QCOMPARE(themeData(kFirst, QStringLiteral("text.item"), bytes), int(StatusFailed));
        QCOMPARE(themeData(kUnknown, QStringLiteral("logo"), bytes), int(StatusNotRegistered));

        CollectionPointer collection;
        QCOMPARE(collectionByUuid(kFirst, collection), 0);
        QVERIFY(!collection.isNull());
        QCOMPARE(collection->uuid, kFirst);
        QCOMPARE(collection->systemId, QStringLiteral("FIRST"));
        QCOMPARE(collection->name, QStringLiteral("First"));
        QCOMPARE(collection->order, 1);
        QCOMPARE(collection->version, 1);
        QCOMPARE(collection->id, collectionDatabaseId(kFirst));
        QCOMPARE(collectionByUuid(kUnknown, collection), int(StatusNotRegistered));
        QVERIFY(collection.isNull());
    }

    // Integer IDs are private to a file: the same ID in two files must reach
    // each file's own rows.
    void equalIdsInTwoFilesKeepTheirOwnRows()
    {
        {
            FixtureDatabase one(fileIn(QStringLiteral("one.db")));
            const qint64 a = one.addCollection(kFirst, QStringLiteral("FIRST"), 1);
            one.addLocale(a, QStringLiteral("title"), QStringLiteral("From one"));
            FixtureDatabase two(fileIn(QStringLiteral("two.db")));
            const qint64 b = two.addCollection(kSecond, QStringLiteral("SECOND"), 2);
            two.addLocale(b, QStringLiteral("title"), QStringLiteral("From two"));
            QCOMPARE(a, b);
        }
        QCOMPARE(discoverCollections(), 1);
        QCOMPARE(localizedString(kSecond, QStringLiteral("title")), QStringLiteral("From two"));
        QCOMPARE(localizedString(kFirst, QStringLiteral("title")), QStringLiteral("From one"));
        QVERIFY(connectionNameOf(collectionRegistry().value(kFirst).databasePath)
                != connectionNameOf(collectionRegistry().value(kSecond).databasePath));
    }

    void uuidBySystemIdAndByDatabaseIdWithinItsFile()
    {
        // Both files number their collections alike: an integer ID names a
        // collection only together with its file.
        qint64 secondId = -1;
        qint64 fourthId = -1;
        {
            FixtureDatabase first(fileIn(QStringLiteral("a-deck.db")));
            first.addCollection(kFirst, QStringLiteral("Alpha"), 1);
            secondId = first.addCollection(kSecond, QStringLiteral("Beta"), 2);
            FixtureDatabase second(fileIn(QStringLiteral("b-deck.db")));
            second.addCollection(kThird, QStringLiteral("Gamma"), 3);
            fourthId = second.addCollection(kFourth, QStringLiteral("Delta"), 4);
        }
        QCOMPARE(fourthId, secondId);
        QUuid out;
        // No scan behind these: an empty registry knows nothing.
        QCOMPARE(collectionUuidBySystemId(QStringLiteral("alpha"), out), int(StatusFailed));
        QCOMPARE(collectionUuidInSystemWideFile(secondId), QUuid());

        QCOMPARE(discoverCollections(), 1);
        QCOMPARE(collectionUuidBySystemId(QStringLiteral("ALPHA"), out), 0);
        QCOMPARE(out, kFirst);
        QCOMPARE(collectionUuidBySystemId(QStringLiteral("delta"), out), 0);
        QCOMPARE(out, kFourth);
        QCOMPARE(collectionUuidBySystemId(QStringLiteral("virtual"), out), 0);
        QCOMPARE(out, systemWide());
        QCOMPARE(collectionUuidBySystemId(QStringLiteral("epsilon"), out), int(StatusFailed));

        const QString firstPath = collectionRegistry().value(kFirst).databasePath;
        const QString secondPath = collectionRegistry().value(kFourth).databasePath;
        QCOMPARE(collectionUuidInFile(firstPath, secondId), kSecond);
        QCOMPARE(collectionUuidInFile(secondPath, fourthId), kFourth);
        QCOMPARE(collectionUuidInFile(secondPath, 999), QUuid());
        // The system-wide collection comes from the first file by name.
        QCOMPARE(collectionUuidInSystemWideFile(secondId), kSecond);
        QCOMPARE(collectionUuidInSystemWideFile(0), systemWide());
        QCOMPARE(collectionDatabaseId(kSecond), secondId);
        QCOMPARE(collectionDatabaseId(QUuid()), -1);
    }

    void collectionsAreOrderedByOrderAndEqualOrdersAreAllListed()
    {
        {
            FixtureDatabase one(fileIn(QStringLiteral("one.db")));
            one.addCollection(kFourth, QStringLiteral("D"), 30);
            one.addCollection(kFirst, QStringLiteral("A"), 5);
            FixtureDatabase two(fileIn(QStringLiteral("two.db")));
            two.addCollection(kSecond, QStringLiteral("B"), 5);
            two.addCollection(kThird, QStringLiteral("C"), 1);
        }
        // Without a discovery first: an empty registry is scanned.
        const QList<QUuid> ordered = collectionUuidsByOrder();
        QCOMPARE(ordered.size(), 4);
        QCOMPARE(ordered.first(), kThird);
        QCOMPARE(sorted(ordered.mid(1, 2)), sorted({kFirst, kSecond}));
        QCOMPARE(ordered.last(), kFourth);
        QVERIFY(!ordered.contains(systemWide()));
    }
};

HUELINK_TEST_MAIN(CollectionRegistryTest)
#include "CollectionRegistryTest.moc"
