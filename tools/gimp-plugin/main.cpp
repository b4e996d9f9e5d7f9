// The image editor plug-in: three procedures over the Huelink module. The
// interactive pick loads the module through the host kit; the scripted
// procedures read the collections and My Palette through the engine without
// a window. The editor starts this program once per call.

#include "ChipSource.h"
#include "ModulePick.h"

#include <libgimp/gimp.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const char kPickProcedure[] = "plug-in-huelink-pick";
const char kForegroundProcedure[] = "plug-in-huelink-set-foreground";
const char kPaletteProcedure[] = "plug-in-huelink-palette-to-gimp";
const char kPickLabel[] = "Paint collections\u2026";
const char kPaletteLabel[] = "My Palette to GIMP palette";
const char kDefaultPaletteName[] = "Huelink My Palette";
const char kAuthor[] = "Vestrel";
const char kDate[] = "2026";

GimpParam returnValues[2];

// The editor shows the message of a failed interactive call and hands it to
// the script that made a scripted one.
void finish(gint *count, GimpParam **values, GimpPDBStatusType status, const std::string &message = std::string())
{
    static std::string kept;
    returnValues[0].type = GIMP_PDB_STATUS;
    returnValues[0].data.d_status = status;
    *count = 1;
    if (!message.empty()) {
        kept = "Huelink: " + message;
        returnValues[1].type = GIMP_PDB_STRING;
        returnValues[1].data.d_string = const_cast<gchar *>(kept.c_str());
        *count = 2;
    }
    *values = returnValues;
}

void setForeground(double red, double green, double blue)
{
    GimpRGB color;
    gimp_rgb_set(&color, red, green, blue);
    gimp_rgb_set_alpha(&color, 1.0);
    gimp_context_set_foreground(&color);
}

GimpPDBStatusType runPick(std::string &message)
{
    GimpRGB foreground;
    gimp_context_get_foreground(&foreground);
    guchar red = 0, green = 0, blue = 0;
    gimp_rgb_get_uchar(&foreground, &red, &green, &blue);
    const ModulePick::Result result = ModulePick::pick({ red, green, blue }, kPickLabel);
    switch (result.kind) {
    case ModulePick::Result::Kind::Picked:
        setForeground(result.rgb16[0] / 65535.0, result.rgb16[1] / 65535.0, result.rgb16[2] / 65535.0);
        return GIMP_PDB_SUCCESS;
    case ModulePick::Result::Kind::Cancelled:
        return GIMP_PDB_CANCEL;
    case ModulePick::Result::Kind::Failed:
        break;
    }
    message = result.error;
    return GIMP_PDB_EXECUTION_ERROR;
}

GimpPDBStatusType runSetForeground(const GimpParam *params, std::string &message)
{
    const char *code = params[1].data.d_string;
    const char *collection = params[2].data.d_string;
    ChipSource::Rgb color;
    if (!ChipSource::chipColor(code ? code : "", collection ? collection : "", color, message))
        return GIMP_PDB_EXECUTION_ERROR;
    setForeground(color.red / 255.0, color.green / 255.0, color.blue / 255.0);
    return GIMP_PDB_SUCCESS;
}

bool paletteExists(const std::string &name)
{
    gint count = 0;
    gchar **names = gimp_palettes_get_list(nullptr, &count);
    bool found = false;
    for (gint i = 0; i < count && !found; ++i)
        found = name == names[i];
    g_strfreev(names);
    return found;
}

GimpPDBStatusType runPaletteToGimp(std::string &paletteName, std::string &message)
{
    std::string description;
    std::vector<ChipSource::NamedColor> chips;
    int missing = 0;
    if (!ChipSource::myPalette(description, chips, missing, message))
        return GIMP_PDB_EXECUTION_ERROR;
    const std::string wanted = description.empty() ? std::string(kDefaultPaletteName) : description;
    if (paletteExists(wanted) && (!gimp_palette_is_editable(wanted.c_str()) || !gimp_palette_delete(wanted.c_str()))) {
        message = "the GIMP palette '" + wanted + "' exists and cannot be replaced";
        return GIMP_PDB_EXECUTION_ERROR;
    }
    gchar *created = gimp_palette_new(wanted.c_str());
    if (!created) {
        message = "GIMP could not make the palette '" + wanted + "'";
        return GIMP_PDB_EXECUTION_ERROR;
    }
    paletteName = created;
    g_free(created);
    for (const ChipSource::NamedColor &chip : chips) {
        GimpRGB color;
        gimp_rgb_set_uchar(&color, guchar(chip.color.red), guchar(chip.color.green), guchar(chip.color.blue));
        gimp_rgb_set_alpha(&color, 1.0);
        gint index = 0;
        gimp_palette_add_entry(paletteName.c_str(), chip.name.c_str(), &color, &index);
    }
    if (missing > 0)
        g_message("Huelink: %d chip(s) of My Palette belong to collections that are no longer installed and were "
                  "left out.",
            missing);
    return GIMP_PDB_SUCCESS;
}

void query()
{
    static const GimpParamDef runModeOnly[] = {
        { GIMP_PDB_INT32, const_cast<gchar *>("run-mode"),
            const_cast<gchar *>("The run mode { RUN-INTERACTIVE (0), RUN-NONINTERACTIVE (1) }") },
    };
    static const GimpParamDef foregroundArguments[] = {
        runModeOnly[0],
        { GIMP_PDB_STRING, const_cast<gchar *>("code"), const_cast<gchar *>("The chip's colour code") },
        { GIMP_PDB_STRING, const_cast<gchar *>("collection"),
            const_cast<gchar *>("The collection's name; empty for the enabled collections in their order") },
    };
    static const GimpParamDef paletteResult[] = {
        { GIMP_PDB_STRING, const_cast<gchar *>("palette"), const_cast<gchar *>("The name of the GIMP palette made") },
    };

    gimp_install_procedure(kPickProcedure, "Pick a colour from the Huelink paint collections",
        "Opens the Huelink window with the foreground colour; the colour picked there becomes the foreground.", kAuthor,
        kAuthor, kDate, kPickLabel, "", GIMP_PLUGIN, G_N_ELEMENTS(runModeOnly), 0, runModeOnly, nullptr);
    gimp_plugin_menu_register(kPickProcedure, "<Image>/Colors");

    gimp_install_procedure(kForegroundProcedure, "Set the foreground to a Huelink chip",
        "Sets the foreground colour to the chip with the colour code, without a window.", kAuthor, kAuthor, kDate,
        nullptr, "", GIMP_PLUGIN, G_N_ELEMENTS(foregroundArguments), 0, foregroundArguments, nullptr);

    gimp_install_procedure(kPaletteProcedure, "Make a GIMP palette of Huelink's My Palette",
        "Makes (or replaces) a GIMP palette named after My Palette's description holding its chips.", kAuthor, kAuthor,
        kDate, kPaletteLabel, "", GIMP_PLUGIN, G_N_ELEMENTS(runModeOnly), G_N_ELEMENTS(paletteResult), runModeOnly,
        paletteResult);
    gimp_plugin_menu_register(kPaletteProcedure, "<Image>/Colors");
}

void run(const gchar *name, gint count, const GimpParam *params, gint *returnCount, GimpParam **returned)
{
    std::string message;
    if (std::strcmp(name, kPickProcedure) == 0 && count >= 1) {
        const GimpPDBStatusType status = runPick(message);
        finish(returnCount, returned, status, message);
    } else if (std::strcmp(name, kForegroundProcedure) == 0 && count >= 3) {
        const GimpPDBStatusType status = runSetForeground(params, message);
        finish(returnCount, returned, status, message);
    } else if (std::strcmp(name, kPaletteProcedure) == 0 && count >= 1) {
        static std::string paletteName;
        const GimpPDBStatusType status = runPaletteToGimp(paletteName, message);
        finish(returnCount, returned, status, message);
        if (status == GIMP_PDB_SUCCESS) {
            returnValues[1].type = GIMP_PDB_STRING;
            returnValues[1].data.d_string = const_cast<gchar *>(paletteName.c_str());
            *returnCount = 2;
        }
    } else {
        finish(returnCount, returned, GIMP_PDB_CALLING_ERROR);
    }
}

} // namespace

const GimpPlugInInfo PLUG_IN_INFO = { nullptr, nullptr, query, run };

MAIN()
