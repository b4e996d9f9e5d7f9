#include "QuietStart.h"

#include <QtGlobal>
#include <QString>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace QuietStart {

namespace {

QtMessageHandler previousHandler = nullptr;
std::string runtimeFolder;

// Notes of platform plug-ins without a window system (offscreen, minimal)
// about window operations they leave out; nothing is wrong.
bool isHarmlessPlatformMessage(const QString &message)
{
    static const char *const harmless[] = {
        "This plugin does not support propagateSizeHints()",
        "This plugin does not support raise()",
        "This plugin does not support lower()",
        "This plugin does not support setting window opacity",
        "This plugin does not support setting window masks",
        "This plugin does not support grabbing the keyboard",
        "This plugin does not support grabbing the mouse",
    };
    for (const char *text : harmless) {
        if (message == QLatin1String(text))
            return true;
    }
    return false;
}

void removeRuntimeFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(runtimeFolder, ignored);
}

void filterMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && isHarmlessPlatformMessage(message))
        return;
    if (previousHandler) {
        previousHandler(type, context, message);
        return;
    }
    std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, message).toLocal8Bit().constData());
}

} // namespace

bool ensureRuntimeFolder(std::string &error)
{
    const char *current = std::getenv("XDG_RUNTIME_DIR");
    if (current && *current)
        return true;
    const char *temporary = std::getenv("TMPDIR");
    std::string pattern = std::string(temporary && *temporary ? temporary : "/tmp") + "/huelink-runtime-XXXXXX";
    // mkdtemp makes the folder 0700 and owned by us, as the toolkit insists.
    if (!mkdtemp(pattern.data())) {
        error = "cannot make a runtime folder from '" + pattern + "': " + std::strerror(errno);
        return false;
    }
    runtimeFolder = pattern;
    std::atexit(removeRuntimeFolder);
    if (setenv("XDG_RUNTIME_DIR", runtimeFolder.c_str(), 1) != 0) {
        error = std::string("cannot set XDG_RUNTIME_DIR: ") + std::strerror(errno);
        return false;
    }
    return true;
}

void installMessageFilter()
{
    previousHandler = qInstallMessageHandler(filterMessage);
}

} // namespace QuietStart
