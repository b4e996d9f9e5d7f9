#include "ui/palette/PaletteMainWidgetAccess.h"

#include "ui/browse/MainWidgetAccess.h"

namespace Tintor {

PaletteMainWidgetAccess::~PaletteMainWidgetAccess() = default;

PaletteMainWidgetAccess *PaletteMainWidgetAccess::current()
{
    return dynamic_cast<PaletteMainWidgetAccess *>(MainWidgetAccess::current());
}

} // namespace Tintor
