#pragma once

#include <QtGlobal>

namespace Tintor {

// Bounds of every swatch reader: a file past these is refused whole, so a
// hostile or broken file costs at most this much memory and time.
inline constexpr qint64 kMaximumSwatchFileBytes = 16 * 1024 * 1024;
inline constexpr int kMaximumSwatchColors = 10000;

} // namespace Tintor
