#pragma once

#include <QString>

// Values that live as long as the module stays loaded in the host.
namespace Tintor {

// "Huelink" or "Huelink.<host name>"; the user state's application name.
QString settingsApplicationName();
void setHostApplicationName(const QString &hostName);
// The host name the module gives itself: other programs reading the module's
// user state pass it to setHostApplicationName.
QString moduleHostApplicationName();

QString pluginFilePath();
void setPluginFilePath(const QString &path);

// Below the all-users application data folder: Vestrel/Huelink/SQLite.
QString databaseFolder();
void setDatabaseFolder(const QString &folder);

} // namespace Tintor
