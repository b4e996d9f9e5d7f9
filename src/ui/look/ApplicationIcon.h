#pragma once

#include <QIcon>

namespace Tintor {

// The program's icon, from the images compiled into the module
// (":/image/ui/icon_16.png" to ":/image/ui/icon_64.png").
QIcon applicationIcon();

} // namespace Tintor
