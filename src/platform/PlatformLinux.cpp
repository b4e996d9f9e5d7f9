#include "platform/Platform.h"

#include <QFile>
#include <QStandardPaths>

#include <sys/stat.h>

#ifdef HUELINK_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

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

FileStamp fileStamp(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {qint64(info.st_size), qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

void keepFontConfiguration()
{
#ifdef HUELINK_FONTCONFIG
    // The toolkit's font database destroys the current configuration when
    // it goes; a reference of our own leaves it current, so the next
    // application object's start finds it loaded. Released when the module
    // is unloaded.
    struct KeptConfiguration
    {
        FcConfig *config = FcConfigReference(nullptr);
        ~KeptConfiguration() { FcConfigDestroy(config); }
    };
    static const KeptConfiguration kept;
    Q_UNUSED(kept);
#endif
}

} // namespace Tintor::Platform
