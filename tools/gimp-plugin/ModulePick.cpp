#include "ModulePick.h"

#include "HostAutomation.h"
#include "PluginHost.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifndef HUELINK_INSTALLED_MODULE
#define HUELINK_INSTALLED_MODULE "huelink_picker.so"
#endif
#ifndef HUELINK_INSTALL_DATADIR
#define HUELINK_INSTALL_DATADIR "/usr/local/share"
#endif

namespace ModulePick {

namespace {

constexpr std::int16_t kRgbSpace = 0;

std::string environment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// The module starts silently without collections, which would look like a
// cancelled pick; the folder it reads is checked first for that reason.
bool hasCollectionFiles(std::string &folder)
{
    std::string programData = environment("PROGRAMDATA");
    if (programData.empty())
        programData = HUELINK_INSTALL_DATADIR;
    const std::filesystem::path path = std::filesystem::path(programData) / "Vestrel/Huelink/SQLite/Contents/Resources";
    folder = path.string();
    std::error_code error;
    for (std::filesystem::directory_iterator it(path, error), end; !error && it != end; it.increment(error)) {
        if (it->path().extension() == ".db")
            return true;
    }
    return false;
}

Result failed(const std::string &error)
{
    Result result;
    result.error = error;
    return result;
}

} // namespace

std::string modulePath()
{
    const std::string path = environment("HUELINK_MODULE");
    return path.empty() ? std::string(HUELINK_INSTALLED_MODULE) : path;
}

Result pick(const std::array<std::uint8_t, 3> &hostRgb, const std::string &prompt)
{
    std::string folder;
    if (!hasCollectionFiles(folder))
        return failed("no Huelink collections are installed in '" + folder + "'");

    PluginHost host;
    std::string error;
    if (!host.load(modulePath(), error))
        return failed(error);

    const std::string chooseCode = environment(testChooseVariable);
    if (!chooseCode.empty()) {
        HostAutomation::Options options;
        options.chooseCode = chooseCode;
        HostAutomation::install(options);
    }
    HostAutomation::beginRequest(true);

    PluginHost::PickRequest request;
    request.colorSpace = kRgbSpace;
    for (std::size_t i = 0; i < 3; ++i)
        request.components[i] = std::uint16_t(hostRgb[i] * 257);
    request.prompt = prompt;
    const PluginHost::Outcome outcome = host.pick(request);

    if (!chooseCode.empty()) {
        const HostAutomation::Report report = HostAutomation::report();
        if (report.choice != HostAutomation::Choice::Chosen)
            return failed("the test pick of '" + chooseCode + "' failed: "
                + (report.chooseError.empty() ? std::string("the window closed first") : report.chooseError));
    }
    if (outcome.status != 0)
        return failed("the module ended the pick with status " + std::to_string(outcome.status));
    Result result;
    if (!outcome.changed) {
        result.kind = Result::Kind::Cancelled;
        return result;
    }
    if (outcome.resultSpace != kRgbSpace)
        return failed("the module answered in colour space " + std::to_string(outcome.resultSpace) + ", not RGB");
    result.kind = Result::Kind::Picked;
    for (std::size_t i = 0; i < 3; ++i)
        result.rgb16[i] = outcome.components[i];
    return result;
}

} // namespace ModulePick
