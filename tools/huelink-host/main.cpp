// The stand-in host: loads the colour-picker module and calls it as the host
// editor would, one JSON line per request.

#include "HostArguments.h"
#include "HostAutomation.h"
#include "PluginHost.h"
#include "QuietStart.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include <unistd.h>

#ifndef HUELINK_DEFAULT_PLUGIN
#define HUELINK_DEFAULT_PLUGIN "huelink_picker.so"
#endif
#ifndef HUELINK_INSTALLED_PLUGIN
#define HUELINK_INSTALLED_PLUGIN HUELINK_DEFAULT_PLUGIN
#endif

namespace {

constexpr int kExitLoadFailed = 1;
constexpr int kExitBadArguments = 2;
constexpr int kExitNoScreenshot = 3;
constexpr int kExitCodeNotFound = 4;
constexpr int kExitNotChosen = 5;
constexpr int kExitTabNotSelected = 6;
constexpr int kExitCapsureFailed = 7;
constexpr int kExitPaletteActionFailed = 8;
constexpr int kExitKeysNotTyped = 9;
constexpr std::int16_t kLabSpace = 3;

void printLine(std::FILE *stream, const std::string &line)
{
    std::fputs(("huelink-host: " + line + '\n').c_str(), stream);
    std::fflush(stream);
}

void printWarnings(const std::string &warnings)
{
    std::string::size_type start = 0;
    while (start < warnings.size()) {
        const auto end = warnings.find('\n', start);
        printLine(stderr, "warning: " + warnings.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
}

// The about record has no colour: "space" is null and "components" empty.
std::string jsonLine(const PluginHost::Outcome &outcome)
{
    std::string line = "{\"selector\":" + std::to_string(outcome.selector)
                     + ",\"status\":" + std::to_string(outcome.status)
                     + ",\"changed\":" + (outcome.changed ? "true" : "false") + ",\"space\":";
    if (outcome.selector != 1)
        return line + "null,\"components\":[]}";
    line += std::to_string(outcome.resultSpace) + ",\"components\":[";
    for (std::size_t i = 0; i < outcome.components.size(); ++i) {
        const bool isSigned = outcome.resultSpace == kLabSpace && (i == 1 || i == 2);
        const int value = isSigned ? int(std::int16_t(outcome.components[i])) : int(outcome.components[i]);
        line += (i ? "," : "") + std::to_string(value);
    }
    return line + "]}";
}

// Why a requested screenshot is missing, or empty when it was saved.
std::string screenshotProblem(const HostAutomation::Report &report)
{
    if (report.screenshotSaved)
        return std::string();
    if (!report.error.empty())
        return report.error;
    if (!report.windowShown)
        return "the module showed no window; no screenshot was saved";
    return "the window closed before the screenshot was taken";
}

// Why --choose made no pick, with the exit status for it; 0 when it did.
int choiceProblem(const HostAutomation::Report &report, std::string &problem)
{
    switch (report.choice) {
    case HostAutomation::Choice::Chosen:
        return 0;
    case HostAutomation::Choice::CodeNotFound:
        problem = report.chooseError;
        return kExitCodeNotFound;
    case HostAutomation::Choice::Failed:
        problem = "cannot choose the chip: " + report.chooseError;
        return kExitNotChosen;
    case HostAutomation::Choice::NotAsked:
        break;
    }
    problem = report.windowShown ? "the window closed before the chip was chosen"
                                 : "the module showed no window to choose the chip in";
    return kExitNotChosen;
}

} // namespace

int main(int argc, char *argv[])
{
    std::string error;
    const auto arguments = HostArguments::parse(argc, argv, error);
    if (!arguments) {
        printLine(stderr, error);
        return kExitBadArguments;
    }
    if (arguments->command == HostArguments::Command::Help) {
        std::fputs(HostArguments::usage(), stdout);
        return 0;
    }
    const int keyCount = arguments->keys.empty() ? 0 : HostAutomation::countKeys(arguments->keys, error);
    if (keyCount < 0) {
        printLine(stderr, error);
        return kExitBadArguments;
    }

    // Before the module's application object exists: it reads both.
    if (!QuietStart::ensureRuntimeFolder(error))
        printLine(stderr, "warning: " + error);
    QuietStart::installMessageFilter();

    PluginHost host;
    // The module built beside the host, or once installed the installed one.
    const char *defaultPlugin = access(HUELINK_DEFAULT_PLUGIN, F_OK) == 0 ? HUELINK_DEFAULT_PLUGIN
                                                                          : HUELINK_INSTALLED_PLUGIN;
    const std::string pluginPath = arguments->pluginPath.empty() ? defaultPlugin : arguments->pluginPath;
    if (!host.load(pluginPath, error)) {
        printLine(stderr, error);
        return kExitLoadFailed;
    }

    HostAutomation::Options automation;
    automation.screenshotPath = arguments->screenshotPath;
    automation.dialogScreenshotPath = arguments->dialogScreenshotPath;
    automation.closeAfterMs = arguments->closeAfterMs;
    automation.chooseCode = arguments->chooseCode;
    automation.collectionName = arguments->collectionName;
    automation.tabPage = arguments->tabPage;
    automation.capsureImport = arguments->capsureImport;
    automation.capsureItem = arguments->capsureItem;
    automation.capsureScreenshotPath = arguments->capsureScreenshotPath;
    automation.loadPalettePath = arguments->loadPalettePath;
    automation.savePalettePath = arguments->savePalettePath;
    automation.savePaletteAsText = arguments->savePaletteAsText;
    automation.swatchPath = arguments->swatchPath;
    automation.importSwatchPath = arguments->importSwatchPath;
    automation.matchAll = arguments->matchAll;
    automation.matchScreenshotPath = arguments->matchScreenshotPath;
    automation.keys = arguments->keys;
    HostAutomation::install(automation);

    PluginHost::PickRequest pick;
    pick.colorSpace = arguments->colorSpace;
    pick.components = arguments->components;
    pick.prompt = arguments->prompt;
    pick.hostMajorVersion = arguments->hostMajorVersion;

    // The most serious problem of any request decides the exit status.
    int exitCode = 0;
    const bool isPick = arguments->command == HostArguments::Command::Pick;
    for (int i = 0; i < arguments->repeat; ++i) {
        HostAutomation::beginRequest(isPick);
        const PluginHost::Outcome outcome = isPick ? host.pick(pick) : host.about();
        printWarnings(host.lastWarnings());
        std::fputs((jsonLine(outcome) + '\n').c_str(), stdout);
        std::fflush(stdout);
        const HostAutomation::Report report = HostAutomation::report();
        if (automation.capsureImport) {
            if (report.capsure == HostAutomation::Choice::Chosen) {
                printLine(stderr, "note: the Capsure import took '" + report.capsureItemText + "'");
            } else {
                printLine(stderr, "Capsure import: " + (report.capsureError.empty()
                                      ? std::string(report.windowShown ? "the window closed before the import"
                                                                       : "the module showed no window")
                                      : report.capsureError));
                exitCode = std::max(exitCode, kExitCapsureFailed);
            }
            if (!automation.capsureScreenshotPath.empty() && !report.capsureScreenshotSaved) {
                printLine(stderr, "no screenshot of the Capsure dialog was saved");
                exitCode = std::max(exitCode, kExitNoScreenshot);
            }
        }
        if (!automation.chooseCode.empty()) {
            std::string problem;
            const int status = choiceProblem(report, problem);
            if (status != 0) {
                printLine(stderr, problem);
                exitCode = std::max(exitCode, status);
            }
        }
        if (!automation.collectionName.empty() && automation.chooseCode.empty() && !report.collectionError.empty()) {
            printLine(stderr, "cannot switch the collection: " + report.collectionError);
            exitCode = std::max(exitCode, kExitNotChosen);
        }
        if (automation.tabPage != 0 && isPick && !report.tabSelected) {
            const char *tabName = automation.tabPage == 1   ? "schemes"
                                  : automation.tabPage == 2 ? "products"
                                  : automation.tabPage == 4 ? "foresight"
                                                            : "textures";
            printLine(stderr, report.tabError.empty()
                                  ? std::string("the window closed before the tab ") + tabName + " was selected"
                                  : std::string("cannot select the tab ") + tabName + ": " + report.tabError);
            exitCode = std::max(exitCode, kExitTabNotSelected);
        }
        if (automation.paletteActions() && !report.paletteActionsDone) {
            printLine(stderr,
                report.paletteError.empty() ? "the window closed before the palette files were done"
                                            : "palette file action failed: " + report.paletteError);
            exitCode = std::max(exitCode, kExitPaletteActionFailed);
        }
        if (!automation.matchScreenshotPath.empty() && !report.matchScreenshotSaved) {
            printLine(stderr, "no screenshot of the match dialog was saved");
            exitCode = std::max(exitCode, kExitNoScreenshot);
        }
        if (keyCount > 0 && report.keysTyped < keyCount) {
            printLine(stderr, "the window closed after " + std::to_string(report.keysTyped) + " of "
                                  + std::to_string(keyCount) + " --keys sequences");
            exitCode = std::max(exitCode, kExitKeysNotTyped);
        }
        if (!automation.screenshotPath.empty()) {
            const std::string problem = screenshotProblem(report);
            if (!problem.empty()) {
                printLine(stderr, problem);
                exitCode = std::max(exitCode, kExitNoScreenshot);
            }
        }
        if (!automation.dialogScreenshotPath.empty()) {
            if (!report.dialogError.empty()) {
                printLine(stderr, report.dialogError);
                exitCode = std::max(exitCode, kExitNoScreenshot);
            } else if (!report.dialogShown) {
                // Not a failure: whether the dialog opens depends on the colour.
                printLine(stderr, "note: no nearest-colour dialog opened; no dialog screenshot was saved");
            }
        }
    }
    return exitCode;
}
