#pragma once

#include <string>

// Drives the module's window for scripted runs: saves screenshots of the
// window and of a nearest-colour dialog, types keys, makes a pick as a user would, and
// closes the window after a delay as a click on its close button would. The
// module knows nothing of this. The driver rides on the toolkit's start-up
// routines, which the toolkit runs inside every application object
// constructor, including the ones the module creates in the toolkit library
// it shares with this host.
//
// The interface is plain C++ so the host's own code needs no toolkit.
class HostAutomation
{
public:
    struct Options
    {
        std::string screenshotPath;       // empty: no screenshot
        std::string dialogScreenshotPath; // empty: no screenshot of a nearest-colour dialog
        int closeAfterMs = -1;            // negative: leave the window to the user
        std::string chooseCode;           // empty: leave the choice to the user
        std::string collectionName;       // empty: stay; else switch to it once the window is up
        int tabPage = 0;                  // 0: none; else the tab page to click before the screenshot
        bool capsureImport = false;       // import from the Capsure button before any choice
        int capsureItem = 1;              // the dialog's item taken, from 1
        std::string capsureScreenshotPath; // empty: no screenshot of the Capsure dialog
        // My Palette's file actions (pick only): load, save, export, in
        // that order, after the choice's drop; empty paths do nothing.
        std::string loadPalettePath;
        std::string savePalettePath;
        bool savePaletteAsText = false;
        std::string swatchPath;
        // A swatch file opened through the load button and its match
        // dialog (after the load, before the save).
        std::string importSwatchPath;
        bool matchAll = false;
        std::string matchScreenshotPath; // empty: no screenshot of the match dialog
        // Key sequences separated by commas, typed once the window is up.
        std::string keys;

        bool paletteActions() const
        {
            return !loadPalettePath.empty() || !savePalettePath.empty() || !swatchPath.empty()
                || !importSwatchPath.empty();
        }
        bool any() const
        {
            return !screenshotPath.empty() || !dialogScreenshotPath.empty() || closeAfterMs >= 0
                || !chooseCode.empty() || tabPage != 0 || !collectionName.empty() || capsureImport
                || paletteActions() || !keys.empty();
        }
    };

    enum class Choice {
        NotAsked,
        Chosen,       // the window accepted the chip
        CodeNotFound, // the current collection has no chip with the code
        Failed,       // the chip could not be chosen (see chooseError)
    };

    // What happened during the current request.
    struct Report
    {
        bool windowShown = false;
        bool screenshotSaved = false;
        std::string error; // screenshot problem, one line; empty when none
        bool dialogShown = false;
        bool dialogScreenshotSaved = false;
        std::string dialogError;
        Choice choice = Choice::NotAsked;
        std::string chooseError;
        bool tabSelected = false;
        std::string tabError; // why --tab could not be done; empty when done or not asked
        std::string collectionError; // why --collection could not be done
        Choice capsure = Choice::NotAsked; // Chosen: the dialog was answered with OK
        std::string capsureError;
        std::string capsureItemText; // the item taken
        bool capsureScreenshotSaved = false;
        bool paletteActionsDone = false;
        std::string paletteError; // the palette action that failed, one line
        bool matchScreenshotSaved = false;
        int keysTyped = 0; // --keys sequences typed before the window closed
    };

    // How long --capsure-import waits for the Capsure button to show.
    static constexpr int capsureButtonWaitMs = 5000;

    // Once per process, before the first request. Does nothing when no
    // option is set.
    static void install(const Options &options);
    // Before each request. A pick's window looks for the host colour right
    // after it is shown; screenshots and the choice wait for that step.
    static void beginRequest(bool pick);
    static Report report();

    // The number of sequences in a --keys list; -1 with `error` set when a
    // sequence is not one the toolkit reads as a single key combination.
    static int countKeys(const std::string &keys, std::string &error);

    // Delay between a window's first paint (for a pick: the end of its
    // nearest-colour step) and its screenshot, so that work the window
    // defers to the event loop is painted as well.
    static constexpr int screenshotDelayMs = 200;
};
