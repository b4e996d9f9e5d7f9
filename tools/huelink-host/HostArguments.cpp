#include "HostArguments.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <vector>

namespace {

constexpr std::int16_t kLabSpace = 3;

struct NamedSpace
{
    const char *name;
    std::int16_t code;
};

constexpr NamedSpace kSpaces[] = {
    {"rgb", 0}, {"hsb", 1}, {"cmyk", 2}, {"lab", 3}, {"gray", 4},
};

// The swatch file types the create-swatch dialog offers, by extension.
bool isSwatchExtension(const std::string &path)
{
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return false;
    std::string extension = path.substr(dot + 1);
    for (char &c : extension)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return extension == "aco" || extension == "ase" || extension == "gpl" || extension == "css" || extension == "json";
}

// Whole-string decimal integer within [low, high].
bool parseInteger(const std::string &text, long low, long high, long &value)
{
    if (text.empty())
        return false;
    errno = 0;
    char *end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size() || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

std::vector<std::string> splitOnComma(const std::string &text)
{
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (true) {
        const auto comma = text.find(',', start);
        parts.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos)
            return parts;
        start = comma + 1;
    }
}

bool parseSpace(const std::string &text, std::int16_t &space)
{
    for (const NamedSpace &named : kSpaces) {
        if (text == named.name) {
            space = named.code;
            return true;
        }
    }
    // A raw code lets a test hand the module a space it does not know.
    long code = 0;
    if (!parseInteger(text, -32768, 32767, code))
        return false;
    space = static_cast<std::int16_t>(code);
    return true;
}

} // namespace

const char *HostArguments::usage()
{
    return "Usage: huelink-host about [options]\n"
           "       huelink-host pick --space rgb|hsb|cmyk|lab|gray|CODE --components c0,c1,c2,c3\n"
           "                         [--prompt TEXT] [--host-version N] [options]\n"
           "       huelink-host --help\n"
           "\n"
           "Loads the colour-picker module, calls PluginMain as the host editor would and\n"
           "prints one JSON line per request:\n"
           "  {\"selector\":1,\"status\":0,\"changed\":false,\"space\":0,\"components\":[c0,c1,c2,c3]}\n"
           "\n"
           "Pick request:\n"
           "  --space S          source colour space of the host colour (or a raw code)\n"
           "  --components LIST  four 16-bit components; for lab, c1 and c2 are signed\n"
           "  --prompt TEXT      prompt text (default: none, a null pointer)\n"
           "  --host-version N   major version the host reports for 'vers' (default 13)\n"
           "  --choose CODE      once the window has looked for the host colour, drop the\n"
           "                     chip CODE of the current collection onto My Palette's\n"
           "                     first cell, select that cell and press the select button\n"
           "  --collection NAME  once the window is up, switch to the collection listed as\n"
           "                     NAME through the collection selector (before --tab and --choose)\n"
           "  --screenshot-dialog FILE\n"
           "                     save a PNG of the nearest-colour dialog if one opens\n"
           "  --tab schemes|foresight|products|textures\n"
           "                     once the window is up, click that tab in the tab bar\n"
           "  --capsure-import   once the window has looked for the host colour, wait for\n"
           "                     the collection selector's Capsure button, click it, take\n"
           "                     the first item of the Capsure dialog and press OK (before\n"
           "                     --choose, which then picks from the collection shown)\n"
           "  --capsure-item N   with --capsure-import: take the N-th item (from 1)\n"
           "  --screenshot-capsure FILE\n"
           "                     with --capsure-import: save a PNG of the Capsure dialog\n"
           "  --load-palette PATH, --save-palette PATH [--palette-format xml|text],\n"
           "  --export-swatches PATH (.aco, .ase, .gpl, .css or .json: the file type)\n"
           "                     once the window is up (after --choose has dropped its\n"
           "                     chip), open, save or export My Palette through the\n"
           "                     window's buttons and file dialogs, in that order; then\n"
           "                     the window closes\n"
           "  --import-swatches PATH [--match-all] [--screenshot-match FILE]\n"
           "                     after any --load-palette, open the swatch file (.ase,\n"
           "                     .aco, .gpl or .css) through the load button; in the match\n"
           "                     dialog tick \"All enabled collections\" (--match-all), save\n"
           "                     a PNG of it (--screenshot-match), tick every row, press OK"
           "  --keys K1,K2,...   once the window is up (after --collection and --tab,\n"
           "                     before the screenshot and --choose), type these key\n"
           "                     sequences (as QKeySequence writes them, e.g.\n"
           "                     Ctrl+F,S,1,Return,Ctrl+D,Ctrl+Return) into the focused widget\n"
           "Options:\n"
           "  --plugin PATH      module to load (default: the module built with this host)\n"
           "  --repeat N         make the same request N times in this process (default 1)\n"
           "  --screenshot FILE  save a PNG of the module's window once it is painted (for a\n"
           "                     pick: once it has looked for the host colour)\n"
           "  --close-after MS   close the module's window MS milliseconds after it is shown\n"
           "                     (default: wait for the user)\n"
           "\n"
           "Environment: PROGRAMDATA names the folder above the collection files\n"
           "(Vestrel/Huelink/SQLite/Contents/Resources; default: the installed data), and\n"
           "XDG_CONFIG_HOME the user state's; without XDG_RUNTIME_DIR a private runtime\n"
           "folder is made for the run and removed at its end.\n"
           "\n"
           "Exit status: 0 done; 1 the module cannot be loaded or lacks PluginMain;\n"
           "2 bad arguments; 3 a screenshot was asked for but not saved; 4 the --choose\n"
           "code is not in the current collection; 5 the chip could not be chosen; 6 the\n"
           "--tab page could not be selected; 7 the Capsure import did not go through;\n"
           "8 a palette file or swatch action failed; 9 the window closed before every\n"
           "--keys sequence was typed.\n";
}

std::optional<HostArguments> HostArguments::parse(int argc, const char *const argv[], std::string &error)
{
    HostArguments arguments;
    std::vector<std::string> words(argv + 1, argv + argc);

    for (const std::string &word : words) {
        if (word == "--help" || word == "-h") {
            arguments.command = Command::Help;
            return arguments;
        }
    }
    if (words.empty()) {
        error = "missing command: expected 'about' or 'pick' (see --help)";
        return std::nullopt;
    }
    if (words[0] == "about") {
        arguments.command = Command::About;
    } else if (words[0] == "pick") {
        arguments.command = Command::Pick;
    } else {
        error = "unknown command '" + words[0] + "': expected 'about' or 'pick' (see --help)";
        return std::nullopt;
    }
    const bool pick = arguments.command == Command::Pick;

    std::set<std::string> seen;
    std::string componentsText;
    for (std::size_t i = 1; i < words.size(); ++i) {
        std::string option = words[i];
        std::string value;
        bool hasValue = false;
        const auto equals = option.find('=');
        if (option.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = option.substr(equals + 1);
            option = option.substr(0, equals);
            hasValue = true;
        }
        const bool pickOnly = option == "--space" || option == "--components" || option == "--prompt"
                           || option == "--host-version" || option == "--choose"
                           || option == "--collection" || option == "--screenshot-dialog" || option == "--tab"
                           || option == "--capsure-import" || option == "--capsure-item"
                           || option == "--screenshot-capsure" || option == "--save-palette"
                           || option == "--palette-format" || option == "--load-palette"
                           || option == "--export-swatches" || option == "--import-swatches"
                           || option == "--match-all" || option == "--screenshot-match";
        const bool known = pickOnly || option == "--plugin" || option == "--repeat" || option == "--screenshot"
                        || option == "--close-after" || option == "--keys";
        if (!known) {
            error = "unknown argument '" + words[i] + "' (see --help)";
            return std::nullopt;
        }
        if (pickOnly && !pick) {
            error = "option " + option + " applies only to 'pick'";
            return std::nullopt;
        }
        if (!seen.insert(option).second) {
            error = "option " + option + " given twice";
            return std::nullopt;
        }
        // The switches without a value.
        if (option == "--capsure-import" || option == "--match-all") {
            if (hasValue) {
                error = "option " + option + " takes no value";
                return std::nullopt;
            }
            (option == "--match-all" ? arguments.matchAll : arguments.capsureImport) = true;
            continue;
        }
        if (!hasValue) {
            if (i + 1 >= words.size()) {
                error = "option " + option + " needs a value";
                return std::nullopt;
            }
            value = words[++i];
        }

        long number = 0;
        if (option == "--space") {
            if (!parseSpace(value, arguments.colorSpace)) {
                error = "bad --space '" + value + "': expected rgb, hsb, cmyk, lab, gray or a 16-bit code";
                return std::nullopt;
            }
        } else if (option == "--components") {
            componentsText = value;
        } else if (option == "--prompt") {
            arguments.prompt = value;
        } else if (option == "--host-version") {
            if (!parseInteger(value, 0, 32767, number)) {
                error = "bad --host-version '" + value + "': expected a whole number from 0 to 32767";
                return std::nullopt;
            }
            arguments.hostMajorVersion = static_cast<int>(number);
        } else if (option == "--plugin") {
            if (value.empty()) {
                error = "bad --plugin: the path is empty";
                return std::nullopt;
            }
            arguments.pluginPath = value;
        } else if (option == "--repeat") {
            if (!parseInteger(value, 1, 1000, number)) {
                error = "bad --repeat '" + value + "': expected a whole number from 1 to 1000";
                return std::nullopt;
            }
            arguments.repeat = static_cast<int>(number);
        } else if (option == "--screenshot") {
            if (value.empty()) {
                error = "bad --screenshot: the file name is empty";
                return std::nullopt;
            }
            arguments.screenshotPath = value;
        } else if (option == "--screenshot-dialog") {
            if (value.empty()) {
                error = "bad --screenshot-dialog: the file name is empty";
                return std::nullopt;
            }
            arguments.dialogScreenshotPath = value;
        } else if (option == "--choose") {
            if (value.empty()) {
                error = "bad --choose: the colour code is empty";
                return std::nullopt;
            }
            arguments.chooseCode = value;
        } else if (option == "--collection") {
            if (value.empty()) {
                error = "bad --collection: the name is empty";
                return std::nullopt;
            }
            arguments.collectionName = value;
        } else if (option == "--tab") {
            const std::map<std::string, int> pages{
                {"schemes", 1}, {"products", 2}, {"foresight", 4}, {"textures", 8}};
            const auto page = pages.find(value);
            if (page == pages.end()) {
                error = "bad --tab '" + value + "': expected schemes, foresight, products or textures";
                return std::nullopt;
            }
            arguments.tabPage = page->second;
        } else if (option == "--capsure-item") {
            if (!parseInteger(value, 1, 1000, number)) {
                error = "bad --capsure-item '" + value + "': expected a whole number from 1 to 1000";
                return std::nullopt;
            }
            arguments.capsureItem = static_cast<int>(number);
        } else if (option == "--screenshot-capsure") {
            if (value.empty()) {
                error = "bad --screenshot-capsure: the file name is empty";
                return std::nullopt;
            }
            arguments.capsureScreenshotPath = value;
        } else if (option == "--save-palette" || option == "--load-palette" || option == "--export-swatches") {
            if (value.empty()) {
                error = "bad " + option + ": the path is empty";
                return std::nullopt;
            }
            if (option == "--export-swatches" && !isSwatchExtension(value)) {
                error = "bad --export-swatches '" + value + "': expected a .aco, .ase, .gpl, .css or .json file";
                return std::nullopt;
            }
            (option == "--save-palette"          ? arguments.savePalettePath
                    : option == "--load-palette" ? arguments.loadPalettePath
                                                 : arguments.swatchPath)
                = value;
        } else if (option == "--import-swatches" || option == "--screenshot-match") {
            if (value.empty()) {
                error = "bad " + option + ": the path is empty";
                return std::nullopt;
            }
            (option == "--import-swatches" ? arguments.importSwatchPath : arguments.matchScreenshotPath) = value;
        } else if (option == "--palette-format") {
            if (value != "xml" && value != "text") {
                error = "bad --palette-format '" + value + "': expected xml or text";
                return std::nullopt;
            }
            arguments.savePaletteAsText = value == "text";
        } else if (option == "--keys") {
            // The sequences themselves are checked by the toolkit (main).
            if (value.empty()) {
                error = "bad --keys: the list is empty";
                return std::nullopt;
            }
            arguments.keys = value;
        } else if (option == "--close-after") {
            if (!parseInteger(value, 0, 86400000, number)) {
                error = "bad --close-after '" + value + "': expected milliseconds from 0 to 86400000";
                return std::nullopt;
            }
            arguments.closeAfterMs = static_cast<int>(number);
        }
    }

    if (!pick)
        return arguments;
    for (const char *option : {"--capsure-item", "--screenshot-capsure"}) {
        if (seen.count(option) && !arguments.capsureImport) {
            error = std::string("option ") + option + " needs --capsure-import";
            return std::nullopt;
        }
    }
    for (const char *option : {"--match-all", "--screenshot-match"}) {
        if (seen.count(option) && !seen.count("--import-swatches")) {
            error = std::string("option ") + option + " needs --import-swatches";
            return std::nullopt;
        }
    }
    if (seen.count("--palette-format") && !seen.count("--save-palette")) {
        error = "option --palette-format needs --save-palette";
        return std::nullopt;
    }
    if (!seen.count("--space")) {
        error = "pick needs --space (rgb, hsb, cmyk, lab or gray)";
        return std::nullopt;
    }
    if (!seen.count("--components")) {
        error = "pick needs --components c0,c1,c2,c3";
        return std::nullopt;
    }
    const std::vector<std::string> parts = splitOnComma(componentsText);
    if (parts.size() != 4) {
        error = "bad --components '" + componentsText + "': expected four numbers c0,c1,c2,c3";
        return std::nullopt;
    }
    for (std::size_t i = 0; i < 4; ++i) {
        // Lab's a* and b* are signed; the block holds their two's complement.
        const bool isSigned = arguments.colorSpace == kLabSpace && (i == 1 || i == 2);
        long number = 0;
        if (!parseInteger(parts[i], isSigned ? -32768 : 0, isSigned ? 32767 : 65535, number)) {
            error = "bad --components: c" + std::to_string(i) + " '" + parts[i] + "' must be a whole number from "
                  + (isSigned ? "-32768 to 32767" : "0 to 65535");
            return std::nullopt;
        }
        arguments.components[i] = static_cast<std::uint16_t>(number & 0xFFFF);
    }
    return arguments;
}
