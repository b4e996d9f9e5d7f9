#pragma once

#include <QString>

#include <functional>

class QWidget;

// Saves, opens, imports and exports My Palette in the module's add-on window
// the way a user does: presses the window's save, load or create-swatch
// button, selects the file type, types the path into the (non-native) file
// dialog that opens, presses its accept button and confirms an overwrite;
// for a swatch file it answers the match dialog that follows. The module
// reads and writes the files itself; this only drives its widgets.
namespace PaletteFileDriver {

struct Actions {
    QString loadPath; // empty: no load
    QString savePath; // empty: no save
    bool saveAsText = false;
    QString swatchPath; // empty: no swatch export
    QString importPath; // empty: no swatch import
    bool matchAll = false; // tick "all enabled collections" in the match dialog
    // Saves the match dialog as shown; an error line when it cannot.
    std::function<QString(QWidget *)> saveMatchScreenshot;

    bool any() const
    {
        return !loadPath.isEmpty() || !savePath.isEmpty() || !swatchPath.isEmpty() || !importPath.isEmpty();
    }
};

// Load, then import, then save, then export, in `window`, whose current collection
// supplies the button texts. Empty when every action was done, otherwise
// one line saying which failed and why (also when the module reported the
// failure in a message of its own).
QString run(QWidget *window, const Actions &actions);

} // namespace PaletteFileDriver
