// The module's one entry point, called by the host for every request.

#include "db/StatementPool.h"
#include "host/AddOnMainWindow.h"
#include "host/ApplicationSkeleton.h"
#include "host/EngineStart.h"
#include "host/HostColor.h"
#include "engine/inc/ModuleValues.h"
#include "platform/Platform.h"
#include "state/UserState.h"
#include "ui/look/AboutBox.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

// The host's blocks, by byte offset (64-bit layout).
constexpr std::size_t kAboutPlatformData = 0;
constexpr std::size_t kAboutBasicSuite = 8;
constexpr std::size_t kAboutPluginRef = 16;

constexpr std::size_t kPickPropertyProcs = 96;
constexpr std::size_t kPickPlatformData = 168;
constexpr std::size_t kPickSourceSpace = 184;
constexpr std::size_t kPickResultSpace = 186;
constexpr std::size_t kPickComponents = 188;
constexpr std::size_t kPickPrompt = 200;
constexpr std::size_t kPickBasicSuite = 208;
constexpr std::size_t kPickPluginRef = 216;

constexpr std::size_t kGetPropertyOffset = 8;
constexpr std::size_t kPluginFileSpecIndex = 8; // ninth function of the plug-ins suite
constexpr std::size_t kFileSpecSize = 300;

const char kPluginsSuiteName[] = "SP Plug-ins Suite";
constexpr std::int32_t kPluginsSuiteVersion = 5;

using AcquireSuiteProc = std::int32_t (*)(const char *name, std::int32_t version, const void **suite);
using ReleaseSuiteProc = std::int32_t (*)(const char *name, std::int32_t version);
using PluginFileSpecProc = std::int32_t (*)(void *pluginRef, void *fileSpec);
using GetPropertyProc = std::int16_t (*)(std::uint32_t signature, std::uint32_t key, std::int32_t index,
                                         std::intptr_t *simpleProperty, void **complexProperty);

template <typename T>
T readField(const void *block, std::size_t offset)
{
    T value;
    std::memcpy(&value, static_cast<const char *>(block) + offset, sizeof value);
    return value;
}

template <typename T>
void writeField(void *block, std::size_t offset, T value)
{
    std::memcpy(static_cast<char *>(block) + offset, &value, sizeof value);
}

constexpr std::uint32_t fourCharCode(const char (&code)[5])
{
    return (std::uint32_t(std::uint8_t(code[0])) << 24) | (std::uint32_t(std::uint8_t(code[1])) << 16)
         | (std::uint32_t(std::uint8_t(code[2])) << 8) | std::uint32_t(std::uint8_t(code[3]));
}

quintptr hostWindowOf(const void *platformData)
{
    return platformData ? readField<quintptr>(platformData, 0) : 0;
}

// Asks the host for this module's file through the plug-ins suite.
QString queryPluginPath(const void *basicSuite, void *pluginRef)
{
    if (!basicSuite)
        return QString();
    const auto acquire = readField<AcquireSuiteProc>(basicSuite, 0);
    const auto release = readField<ReleaseSuiteProc>(basicSuite, sizeof(void *));
    const void *pluginsSuite = nullptr;
    if (acquire)
        acquire(kPluginsSuiteName, kPluginsSuiteVersion, &pluginsSuite);
    char buffer[kFileSpecSize];
    std::memset(buffer, 0, sizeof buffer);
    if (pluginsSuite) {
        const auto fileSpec = readField<PluginFileSpecProc>(pluginsSuite, kPluginFileSpecIndex * sizeof(void *));
        if (fileSpec)
            fileSpec(pluginRef, buffer);
    }
    if (release)
        release(kPluginsSuiteName, kPluginsSuiteVersion);
    buffer[kFileSpecSize - 1] = '\0';
    return QFileInfo(QString::fromLocal8Bit(buffer)).canonicalFilePath();
}

int hostMajorVersion(const void *block)
{
    const void *propertyProcs = readField<const void *>(block, kPickPropertyProcs);
    if (!propertyProcs)
        return 0;
    const auto getProperty = readField<GetPropertyProc>(propertyProcs, kGetPropertyOffset);
    if (!getProperty)
        return 0;
    std::intptr_t simpleProperty = 0;
    getProperty(fourCharCode("8BIM"), fourCharCode("vers"), 0, &simpleProperty, nullptr);
    return static_cast<int>(simpleProperty >> 16);
}

// Writes the user state the request's start deferred once the first widget
// has painted, so the lock and the disk flush come after the window is seen.
class DeferredStateWriter : public QObject
{
public:
    DeferredStateWriter() { QCoreApplication::instance()->installEventFilter(this); }
    ~DeferredStateWriter() override { Tintor::UserState::writeDeferred(); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_scheduled) {
            m_scheduled = true;
            QCoreApplication::instance()->removeEventFilter(this);
            // After this paint and the rest of its frame.
            QTimer::singleShot(0, this, [] { Tintor::UserState::writeDeferred(); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_scheduled = false;
};

// Only Qt's own plug-in folder: nothing from the host's folders, yet the
// SQLite driver (a plug-in in a shared Qt) is still found.
void installLibraryPaths()
{
    QCoreApplication::setLibraryPaths({QLibraryInfo::path(QLibraryInfo::PluginsPath)});
}

// Shows the about box over the host window and returns once it is closed.
void showAboutBox(quintptr hostWindow)
{
    auto aboutBox = std::make_unique<Tintor::AboutBox>(nullptr, QString());
    // However the box ends (its close button, the window's close button,
    // Escape), the request ends with it.
    QObject::connect(aboutBox.get(), &QDialog::finished, QCoreApplication::instance(), &QCoreApplication::quit,
                     Qt::QueuedConnection);
    aboutBox->show();
    aboutBox->setWindowModality(Qt::ApplicationModal);
    Tintor::Platform::parentToHostWindow(quintptr(aboutBox->winId()), hostWindow);
    QCoreApplication::exec();
}

void handlePick(void *block, quintptr hostWindow)
{
    quint16 components[4];
    for (int i = 0; i < 4; ++i)
        components[i] = readField<quint16>(block, kPickComponents + std::size_t(i) * 2);
    const QColor initialColor =
        Tintor::HostColor::initialColor(readField<std::int16_t>(block, kPickSourceSpace), components);
    const QString swatchFolder =
        Tintor::HostColor::swatchFolder(Tintor::Platform::userDataLocation(), hostMajorVersion(block));

    auto window = std::make_unique<AddOnMainWindow>(initialColor, swatchFolder, nullptr);
    if (const char *prompt = readField<const char *>(block, kPickPrompt)) {
        const QString title = QString::fromLocal8Bit(prompt);
        if (!title.isEmpty())
            window->setWindowTitle(title);
    }
    QObject::connect(window.get(), &QDialog::finished, QCoreApplication::instance(), &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window->setWindowModality(Qt::ApplicationModal);
    Tintor::Platform::parentToHostWindow(quintptr(window->winId()), hostWindow);
    window->show();
    QCoreApplication::exec();

    const QColor chosen = window->chosenColor();
    if (window->result() == QDialog::Accepted && chosen != QColor(Qt::transparent)) {
        quint16 picked[4];
        Tintor::HostColor::pickedComponents(chosen, picked);
        writeField<std::int16_t>(block, kPickResultSpace, 0);
        for (int i = 0; i < 4; ++i)
            writeField<quint16>(block, kPickComponents + std::size_t(i) * 2, picked[i]);
    }
}

} // namespace

// The one exported symbol. Everything else stays hidden: on Windows nothing is
// exported without dllexport; elsewhere the build hides by default and the
// linker version script localises what inline Qt code still exports.
#if defined(_WIN32)
#define HUELINK_MODULE_EXPORT __declspec(dllexport)
#else
#define HUELINK_MODULE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" HUELINK_MODULE_EXPORT void PluginMain(std::int16_t selector, void *parameterBlock,
                                                  std::intptr_t *data, std::int16_t *result)
{
    Q_UNUSED(data);
    if (result)
        *result = 0;

    QCoreApplication::setAttribute(Qt::AA_PluginApplication);
    Tintor::setHostApplicationName(Tintor::moduleHostApplicationName());
    Tintor::Platform::prepareGuiEnvironment();
    Tintor::Platform::keepFontConfiguration();

    int argc = 0;
    Tintor::ApplicationSkeleton application(argc, nullptr);
    // Gone before the application object takes the connections with it.
    const Tintor::DB::StatementPool statements;

    QString pluginPath;
    quintptr hostWindow = 0;
    if ((selector == 0 || selector == 1) && parameterBlock) {
        const bool about = selector == 0;
        const void *platformData =
            readField<const void *>(parameterBlock, about ? kAboutPlatformData : kPickPlatformData);
        const void *basicSuite = readField<const void *>(parameterBlock, about ? kAboutBasicSuite : kPickBasicSuite);
        void *pluginRef = readField<void *>(parameterBlock, about ? kAboutPluginRef : kPickPluginRef);
        hostWindow = hostWindowOf(platformData);
        pluginPath = queryPluginPath(basicSuite, pluginRef);
    }
    installLibraryPaths();

    // Also written when the request ends without a paint.
    Tintor::UserState::deferWrites();
    DeferredStateWriter stateWriter;
    if (Tintor::initializeEngine(pluginPath, Tintor::databaseFolder()) < 0)
        return;

    if (selector == 0)
        showAboutBox(hostWindow);
    else if (selector == 1 && parameterBlock)
        handlePick(parameterBlock, hostWindow);
}
