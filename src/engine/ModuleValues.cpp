#include "engine/inc/ModuleValues.h"

#include "platform/Platform.h"

#include <QDir>

namespace Tintor {

namespace {

QString &applicationName()
{
    static QString name = QStringLiteral("Huelink");
    return name;
}

QString &storedPluginPath()
{
    static QString path;
    return path;
}

QString &storedDatabaseFolder()
{
    static QString folder;
    return folder;
}

} // namespace

QString settingsApplicationName()
{
    return applicationName();
}

void setHostApplicationName(const QString &hostName)
{
    applicationName() = hostName.isEmpty() ? QStringLiteral("Huelink")
                                           : QStringLiteral("Huelink.") + hostName;
}

QString moduleHostApplicationName()
{
    return QStringLiteral("Photoshop");
}

QString pluginFilePath()
{
    return storedPluginPath();
}

void setPluginFilePath(const QString &path)
{
    storedPluginPath() = path;
}

QString databaseFolder()
{
    if (!storedDatabaseFolder().isEmpty())
        return storedDatabaseFolder();
    return QStringLiteral("%1%2Vestrel%2Huelink%2SQLite")
        .arg(Platform::commonApplicationDataFolder(), QDir::separator());
}

void setDatabaseFolder(const QString &folder)
{
    storedDatabaseFolder() = folder;
}

} // namespace Tintor
