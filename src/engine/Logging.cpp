#include "engine/inc/Logging.h"

namespace Tintor {
Q_LOGGING_CATEGORY(lcHuelink, "huelink", QtInfoMsg)
} // namespace Tintor
