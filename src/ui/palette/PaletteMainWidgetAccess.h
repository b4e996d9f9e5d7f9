#pragma once

#include <QtGlobal>

class QAbstractButton;
class QWidget;

namespace Tintor {

// What My Palette needs of the main widget besides MainWidgetAccess: the
// widget itself (its background shows behind the description line) and its
// task buttons (the save button follows whether the palette is empty). The
// main widget implements both interfaces and registers once, through
// MainWidgetAccess::setCurrent.
class PaletteMainWidgetAccess
{
public:
    virtual ~PaletteMainWidgetAccess();

    virtual QWidget *mainWidgetItself() = 0;
    // The task button with that id; null when there is none.
    virtual QAbstractButton *taskButtonById(quint16 id) = 0;

    // The registered main widget when it offers this access; null otherwise.
    static PaletteMainWidgetAccess *current();
};

} // namespace Tintor
