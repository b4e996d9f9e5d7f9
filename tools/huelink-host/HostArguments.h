#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// The stand-in host's command line: one request (about or pick), how often to
// make it, and the automation options for scripted runs.
struct HostArguments
{
    enum class Command { About, Pick, Help };

    Command command = Command::Help;

    // Pick request.
    std::int16_t colorSpace = 0;
    std::array<std::uint16_t, 4> components{};
    std::optional<std::string> prompt; // absent: null prompt pointer
    int hostMajorVersion = 13;

    std::string pluginPath; // empty: the module built next to the host
    int repeat = 1;

    // Automation.
    std::string screenshotPath;
    std::string dialogScreenshotPath; // the nearest-colour dialog, if one opens
    int closeAfterMs = -1;            // negative: wait for the user
    std::string chooseCode;           // empty: leave the choice to the user
    std::string collectionName;       // switch to this collection once the window is up
    int tabPage = 0;                  // 0: leave the tab bar alone; else the page value to click
    bool capsureImport = false;       // click the Capsure button and answer its dialog first
    int capsureItem = 1;              // the item (from 1) taken in the Capsure dialog
    std::string capsureScreenshotPath; // the Capsure dialog
    std::string savePalettePath; // empty: no save through the save button
    bool savePaletteAsText = false; // --palette-format text
    std::string loadPalettePath; // empty: no load through the load button
    std::string swatchPath; // empty: no export through the create-swatch button
    std::string importSwatchPath; // empty: no swatch file opened through the load button
    bool matchAll = false; // --match-all
    std::string matchScreenshotPath; // the match dialog
    std::string keys; // empty: type nothing; else key sequences separated by commas

    // Parses argv[1..]; on failure returns nothing and sets `error` to one
    // line without a trailing newline.
    static std::optional<HostArguments> parse(int argc, const char *const argv[], std::string &error);

    static const char *usage();
};
