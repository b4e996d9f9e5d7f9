#include "platform/Platform.h"

#include <QStandardPaths>

#ifndef HUELINK_INSTALL_DATADIR
#define HUELINK_INSTALL_DATADIR "/usr/local/share"
#endif

namespace Tintor::Platform {

QString commonApplicationDataFolder()
{
    const QString programData = qEnvironmentVariable("PROGRAMDATA");
    if (!programData.isEmpty())
        return programData;
    return QStringLiteral(HUELINK_INSTALL_DATADIR);
}

QString userDataLocation()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

void parentToHostWindow(quintptr childWindow, quintptr hostWindow)
{
    // A stand-in host has no native window to embed into.
    Q_UNUSED(childWindow);
    Q_UNUSED(hostWindow);
}

QString themeKeySuffix()
{
    return QStringLiteral(".linux");
}

void prepareGuiEnvironment()
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace Tintor::Platform
