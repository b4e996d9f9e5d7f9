#pragma once

#include <string>

// Drives the module's window for scripted runs: saves a screenshot once the
// window is shown and painted, and closes it after a delay as a click on its
// close button would. The module knows nothing of this. The driver rides on
// the toolkit's start-up routines, which the toolkit runs inside every
// application object constructor, including the ones the module creates in
// the toolkit library it shares with this host.
//
// The interface is plain C++ so the host's own code needs no toolkit.
class HostAutomation
{
public:
    struct Options
    {
        std::string screenshotPath; // empty: no screenshot
        int closeAfterMs = -1;      // negative: leave the window to the user

        bool any() const { return !screenshotPath.empty() || closeAfterMs >= 0; }
    };

    // What happened during the current request.
    struct Report
    {
        bool windowShown = false;
        bool screenshotSaved = false;
        std::string error; // one line; empty when none
    };

    // Once per process, before the first request. Does nothing when no
    // option is set.
    static void install(const Options &options);
    // Before each request.
    static void beginRequest();
    static Report report();

    // Delay between the window's first paint and the screenshot, so that
    // work the window defers to the event loop is painted as well.
    static constexpr int screenshotDelayMs = 200;
};
