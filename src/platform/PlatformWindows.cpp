#include "platform/Platform.h"

#include <QDateTime>
#include <QFileInfo>
#include <QStandardPaths>

#include <windows.h>
#include <shlobj.h>

namespace Tintor::Platform {

QString commonApplicationDataFolder()
{
    wchar_t buffer[MAX_PATH] = {};
    // Folder id 35: the all-users application data folder.
    if (SHGetFolderPathW(nullptr, 35, nullptr, 0, buffer) != S_OK)
        return QString();
    return QString::fromWCharArray(buffer);
}

QString userDataLocation()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

void parentToHostWindow(quintptr childWindow, quintptr hostWindow)
{
    if (childWindow == 0 || hostWindow == 0)
        return;
    SetParent(reinterpret_cast<HWND>(childWindow), reinterpret_cast<HWND>(hostWindow));
}

QString themeKeySuffix()
{
    return QStringLiteral(".windows");
}

void prepareGuiEnvironment()
{
}

FileStamp fileStamp(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    // Milliseconds, as the toolkit reports them, in the same unit.
    return {info.size(), info.lastModified().toMSecsSinceEpoch() * 1000000};
}

void keepFontConfiguration()
{
    // The toolkit's own font database needs no keeping here.
}

} // namespace Tintor::Platform
