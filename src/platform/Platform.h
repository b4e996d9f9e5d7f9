#pragma once

#include <QString>
#include <QtGlobal>

// The only place that knows which operating system runs the module.
namespace Tintor::Platform {

// The all-users application data folder (Windows: CSIDL_COMMON_APPDATA).
// Elsewhere: $PROGRAMDATA when set, otherwise the installed data folder.
QString commonApplicationDataFolder();

// The per-user data location the swatch folder starts from.
QString userDataLocation();

// Makes a top-level native window a child of the host window. Does nothing
// when the host gives no window.
void parentToHostWindow(quintptr childWindow, quintptr hostWindow);

// The suffix that marks platform-specific theme keys of this build
// (".windows", ".linux"), appended to a key such as the font list's.
QString themeKeySuffix();

// A file's size and modification time, the time as finely as the system
// keeps it (nanoseconds where it can), so that two writes of the same size
// within one millisecond still differ. {-1, -1} for a file that is not there.
struct FileStamp
{
    qint64 size = -1;
    qint64 modified = -1;
    bool exists() const { return size >= 0; }
    bool operator==(const FileStamp &other) const { return size == other.size && modified == other.modified; }
    bool operator!=(const FileStamp &other) const { return !(*this == other); }
};
FileStamp fileStamp(const QString &path);

// Called before the module creates its application object: lets the module
// run on a machine without a display rather than abort inside the host.
void prepareGuiEnvironment();

// Keeps the system's font configuration loaded for the life of the module.
// The toolkit unloads it with every application object, and loading it
// again (parsing the configuration files, reading the font caches) costs a
// later host call more than building its whole window.
void keepFontConfiguration();

} // namespace Tintor::Platform
