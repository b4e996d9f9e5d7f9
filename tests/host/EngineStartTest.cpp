#include "db/CollectionRegistry.h"
#include "engine/inc/ModuleValues.h"
#include "host/EngineStart.h"
#include "state/UserState.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QSqlDatabase>
#include <QtTest>

using namespace Tintor;

namespace {

const QUuid kSecondByOrder = QUuid::fromString(QStringLiteral("{1a2b3c4d-0000-4000-8000-00000000000a}"));
const QUuid kFirstByOrder = QUuid::fromString(QStringLiteral("{1a2b3c4d-0000-4000-8000-00000000000b}"));

std::unique_ptr<QSettings> rawStore()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Vestrel", "Huelink.Photoshop");
}

} // namespace

class EngineStartTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_databaseFolder;

    QString resources() const { return m_databaseFolder->path() + "/Contents/Resources"; }

    void writeTwoCollections()
    {
        QVERIFY(QDir().mkpath(resources()));
        FixtureDatabase file(resources() + "/deck.db");
        QVERIFY(file.addCollection(kSecondByOrder, "SECOND", 2) > 0);
        QVERIFY(file.addCollection(kFirstByOrder, "FIRST", 1) > 0);
    }

private Q_SLOTS:
    void init()
    {
        TestEnvironment::resetUserState();
        m_databaseFolder = std::make_unique<QTemporaryDir>();
        // The registry lives as long as the module; each case is a fresh load.
        DB::collectionRegistry().clear();
    }

    void cleanup()
    {
        for (const QString &name : QSqlDatabase::connectionNames()) {
            QSqlDatabase::database(name, false).close();
            QSqlDatabase::removeDatabase(name);
        }
        DB::collectionRegistry().clear();
    }

    // An empty database folder, then an empty resources folder, then only the system-wide collection file.
    void noCollectionGivesMinusThree()
    {
        const QString pluginPath = m_databaseFolder->path() + "/huelink.8bc";
        for (int made = 0; made <= 2; ++made) {
            QVERIFY(made < 1 || QDir().mkpath(resources()));
            if (made == 2)
                QVERIFY(FixtureDatabase(resources() + "/system.db").isOpen());
            DB::collectionRegistry().clear();
            QVERIFY2(initializeEngine(pluginPath, m_databaseFolder->path()) == EngineNoCollection,
                     qPrintable(QString::number(made)));
            // The module-wide values are set before anything can fail.
            QCOMPARE(pluginFilePath(), pluginPath);
            QCOMPARE(databaseFolder(), m_databaseFolder->path());
            QVERIFY(!rawStore()->contains("HostApplicationPID"));
            QVERIFY(!rawStore()->contains("UuidOfLastUsedCollection"));
        }
    }

    // The first start remembers the first collection and the host; only a new host starts there again.
    void startsRememberTheCollectionUntilANewHost()
    {
        writeTwoCollections();
        QCOMPARE(initializeEngine(QString(), m_databaseFolder->path()), int(EngineReady));
        QCOMPARE(rawStore()->value("HostApplicationPID").toLongLong(), QCoreApplication::applicationPid());
        QCOMPARE(rawStore()->value("UuidOfLastUsedCollection").toString(), kFirstByOrder.toString(QUuid::WithBraces));
        QCOMPARE(UserState::lastUsedCollection(), kFirstByOrder);
        QVERIFY(QFile::exists(":/image/ui/icon_16.png"));
        QVERIFY(QFile::exists(":/image/ui/icon_64.png"));

        UserState::setLastUsedCollection(kSecondByOrder);
        QCOMPARE(initializeEngine(QString(), m_databaseFolder->path()), 0);
        QCOMPARE(UserState::lastUsedCollection(), kSecondByOrder);
        QCOMPARE(rawStore()->value("UuidOfLastUsedCollection").toString(), kSecondByOrder.toString(QUuid::WithBraces));

        UserState::setHostApplicationPid(QCoreApplication::applicationPid() + 1);
        UserState::forgetCachedLastUsedCollection();
        QCOMPARE(initializeEngine(QString(), m_databaseFolder->path()), 0);
        QCOMPARE(UserState::lastUsedCollection(), kFirstByOrder);
        QCOMPARE(UserState::hostApplicationPid(), QCoreApplication::applicationPid());
    }

    // An unreadable lock is removed at once, a dead owner's is stale; a live owner's store is left as it was.
    void leftoverLockFileDoesNotStallTheStart_data()
    {
        QTest::addColumn<QByteArray>("lockContent");
        QTest::addColumn<bool>("ownerAlive");
        QTest::newRow("unreadable") << QByteArray("\x01\xff not a lock\n\n\n") << false;
        QTest::newRow("dead owner") << "2147483646\nHuelink\n" + QSysInfo::machineHostName().toUtf8() + "\n" << false;
        QTest::newRow("live owner") << QByteArray() << true;
    }

    void leftoverLockFileDoesNotStallTheStart()
    {
        QFETCH(QByteArray, lockContent);
        QFETCH(bool, ownerAlive);
        writeTwoCollections();
        rawStore()->setValue("MyPalette/(1,2).Entry", "kept");
        rawStore()->setValue("HostApplicationPID", 1);
        const QString lockPath = rawStore()->fileName() + ".lock";
        QLockFile liveLock(lockPath);
        QFile lock(lockPath);
        QVERIFY(ownerAlive ? liveLock.tryLock(0) : lock.open(QIODevice::WriteOnly) && lock.write(lockContent) >= 0);
        lock.close();

        QElapsedTimer timer;
        timer.start();
        QCOMPARE(initializeEngine(QString(), m_databaseFolder->path()), 0);
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
        liveLock.unlock();
        QCOMPARE(rawStore()->value("MyPalette/(1,2).Entry").toString(), QString("kept"));
        const qint64 pid = ownerAlive ? 1 : QCoreApplication::applicationPid();
        QCOMPARE(rawStore()->value("HostApplicationPID").toLongLong(), pid);
        QVERIFY(!QFile::exists(lockPath));
    }
};

HUELINK_TEST_MAIN(EngineStartTest)
#include "EngineStartTest.moc"
