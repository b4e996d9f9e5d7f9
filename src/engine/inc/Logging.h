#pragma once

#include <QLoggingCategory>

// The module's one debug output. It runs inside the host editor, so it stays
// quiet unless switched on: QT_LOGGING_RULES="huelink.debug=true".
namespace Tintor {
Q_DECLARE_LOGGING_CATEGORY(lcHuelink)
} // namespace Tintor
