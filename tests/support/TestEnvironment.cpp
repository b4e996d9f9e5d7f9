#include "support/TestEnvironment.h"

#include "db/CollectionRegistry.h"
#include "engine/inc/ModuleValues.h"
#include "state/UserState.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QLoggingCategory>
#include <QSettings>

void TestEnvironment::prepare()
{
    static QTemporaryDir root;
    const QString base = root.path();
    for (const char *name : { "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "HOME", "PROGRAMDATA" }) {
        const QString folder = base + QLatin1Char('/') + QString::fromLatin1(name).toLower();
        QDir().mkpath(folder);
        qputenv(name, QFile::encodeName(folder));
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // The module's debug lines are off by default; tests check some of them.
    QLoggingCategory::setFilterRules(QStringLiteral("huelink.debug=true"));
    Tintor::setHostApplicationName(QStringLiteral("Photoshop"));
    Tintor::setDatabaseFolder(databaseFolder());
}

QString TestEnvironment::programData()
{
    return qEnvironmentVariable("PROGRAMDATA");
}

QString TestEnvironment::databaseFolder()
{
    return programData() + QStringLiteral("/Vestrel/Huelink/SQLite");
}

QString TestEnvironment::collectionFolder()
{
    const QString folder = databaseFolder() + QStringLiteral("/Contents/Resources");
    QDir().mkpath(folder);
    return folder;
}

void TestEnvironment::resetUserState()
{
    QSettings store(
        QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vestrel"), Tintor::settingsApplicationName());
    store.clear();
    store.sync();
    Tintor::UserState::forgetCachedLastUsedCollection();
}
