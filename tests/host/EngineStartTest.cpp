#include "db/CollectionRegistry.h"
#include "host/EngineStart.h"
#include "engine/inc/ModuleValues.h"
#include "state/UserState.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QSettings>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QUuid kSecondByOrder = QUuid::fromString(QStringLiteral("{1a2b3c4d-0000-4000-8000-00000000000a}"));
const QUuid kFirstByOrder = QUuid::fromString(QStringLiteral("{1a2b3c4d-0000-4000-8000-00000000000b}"));

std::unique_ptr<QSettings> rawStore()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vestrel"),
                                       QStringLiteral("Huelink.Photoshop"));
}

} // namespace

class EngineStartTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_databaseFolder;

    QString resources() const { return m_databaseFolder->path() + QStringLiteral("/Contents/Resources"); }

    void writeTwoCollections()
    {
        QVERIFY(QDir().mkpath(resources()));
        FixtureDatabase file(resources() + QStringLiteral("/deck.db"));
        QVERIFY(file.isOpen());
        QVERIFY(file.addCollection(kSecondByOrder, QStringLiteral("SECOND"), 2) > 0);
        QVERIFY(file.addCollection(kFirstByOrder, QStringLiteral("FIRST"), 1) > 0);
    }

private Q_SLOTS:
    void init()
    {
        TestEnvironment::resetUserState();
        m_databaseFolder = std::make_unique<QTemporaryDir>();
        // The registry lives as long as the module; each case is a fresh load.
        Tintor::DB::collectionRegistry().clear();
    }

    void cleanup()
    {
        for (const QString &name : QSqlDatabase::connectionNames()) {
            QSqlDatabase::database(name, false).close();
            QSqlDatabase::removeDatabase(name);
        }
        Tintor::DB::collectionRegistry().clear();
        m_databaseFolder.reset();
    }

    void noCollectionGivesMinusThree_data()
    {
        QTest::addColumn<bool>("makeResources");
        QTest::addColumn<bool>("systemWideFile");
        QTest::newRow("empty database folder") << false << false;
        QTest::newRow("empty resources folder") << true << false;
        QTest::newRow("only the system-wide collection") << true << true;
    }

    void noCollectionGivesMinusThree()
    {
        QFETCH(bool, makeResources);
        QFETCH(bool, systemWideFile);
        if (makeResources)
            QVERIFY(QDir().mkpath(resources()));
        if (systemWideFile) {
            FixtureDatabase file(resources() + QStringLiteral("/system.db"));
            QVERIFY(file.isOpen());
        }
        const QString pluginPath = m_databaseFolder->path() + QStringLiteral("/huelink.8bc");
        QCOMPARE(Tintor::initializeEngine(pluginPath, m_databaseFolder->path()), int(Tintor::EngineNoCollection));
        // The module-wide values are set before anything can fail.
        QCOMPARE(Tintor::pluginFilePath(), pluginPath);
        QCOMPARE(Tintor::databaseFolder(), m_databaseFolder->path());
        // Nothing is remembered for a start that shows nothing.
        QVERIFY(!rawStore()->contains(QStringLiteral("HostApplicationPID")));
        QVERIFY(!rawStore()->contains(QStringLiteral("UuidOfLastUsedCollection")));
    }

    // The first start remembers the first collection and the host; the same
    // host process keeps the user's choice; a new one starts at the first collection.
    void startsRememberTheCollectionUntilANewHost()
    {
        writeTwoCollections();
        QCOMPARE(Tintor::initializeEngine(QString(), m_databaseFolder->path()), int(Tintor::EngineReady));
        QCOMPARE(rawStore()->value(QStringLiteral("HostApplicationPID")).toLongLong(),
                 QCoreApplication::applicationPid());
        QCOMPARE(rawStore()->value(QStringLiteral("UuidOfLastUsedCollection")).toString(),
                 kFirstByOrder.toString(QUuid::WithBraces));
        QCOMPARE(Tintor::UserState::lastUsedCollection(), kFirstByOrder);
        // The module's images are reachable once the engine has started.
        QVERIFY(QFile::exists(QStringLiteral(":/image/ui/icon_16.png")));
        QVERIFY(QFile::exists(QStringLiteral(":/image/ui/icon_64.png")));

        Tintor::UserState::setLastUsedCollection(kSecondByOrder);
        QCOMPARE(Tintor::initializeEngine(QString(), m_databaseFolder->path()), 0);
        QCOMPARE(Tintor::UserState::lastUsedCollection(), kSecondByOrder);
        QCOMPARE(rawStore()->value(QStringLiteral("UuidOfLastUsedCollection")).toString(),
                 kSecondByOrder.toString(QUuid::WithBraces));

        // What a previous run of the host left behind.
        Tintor::UserState::setHostApplicationPid(QCoreApplication::applicationPid() + 1);
        Tintor::UserState::forgetCachedLastUsedCollection();
        QCOMPARE(Tintor::initializeEngine(QString(), m_databaseFolder->path()), 0);
        QCOMPARE(Tintor::UserState::lastUsedCollection(), kFirstByOrder);
        QCOMPARE(Tintor::UserState::hostApplicationPid(), QCoreApplication::applicationPid());
    }

    void leftoverLockFileDoesNotStallTheStart_data()
    {
        QTest::addColumn<QByteArray>("lockContent");
        QTest::addColumn<bool>("ownerAlive");
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("garbage") << QByteArray("\x01\xff not a lock\n\n\n") << false;
        QTest::newRow("dead owner") << "2147483646\nHuelink\n" + QSysInfo::machineHostName().toUtf8() + "\n" << false;
        QTest::newRow("live owner") << QByteArray() << true;
    }
    void leftoverLockFileDoesNotStallTheStart()
    {
        QFETCH(QByteArray, lockContent);
        QFETCH(bool, ownerAlive);
        writeTwoCollections();
        rawStore()->setValue(QStringLiteral("MyPalette/(1,2).Entry"), QStringLiteral("kept"));
        rawStore()->setValue(QStringLiteral("HostApplicationPID"), 1);
        const QString lockPath = rawStore()->fileName() + QStringLiteral(".lock");
        QLockFile liveLock(lockPath);
        QFile lock(lockPath);
        QVERIFY(ownerAlive ? liveLock.tryLock(0) : lock.open(QIODevice::WriteOnly) && lock.write(lockContent) >= 0);
        lock.close();

        QElapsedTimer timer;
        timer.start();
        QCOMPARE(Tintor::initializeEngine(QString(), m_databaseFolder->path()), 0);
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
        liveLock.unlock();
        QCOMPARE(rawStore()->value(QStringLiteral("MyPalette/(1,2).Entry")).toString(), QStringLiteral("kept"));
        // A live owner's store is left as it was; otherwise the start wrote.
        QCOMPARE(rawStore()->value(QStringLiteral("HostApplicationPID")).toLongLong(),
                 ownerAlive ? 1 : QCoreApplication::applicationPid());
        QVERIFY(!QFile::exists(lockPath));
    }
};

HUELINK_TEST_MAIN(EngineStartTest)
#include "EngineStartTest.moc"
