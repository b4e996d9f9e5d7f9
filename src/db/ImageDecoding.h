#pragma once

#include <QByteArray>
#include <QImage>

namespace Tintor::DB {

// Images stored in a collection file are outside our trust: a few bytes of
// header can announce a picture of gigabytes. Decoding refuses anything
// above this many pixels (64 MB as 32-bit pixels).
inline constexpr qint64 kMaxDecodedImagePixels = 4096LL * 4096LL;

// The image the bytes hold, or a null image when they do not decode or
// announce (or turn out) larger than kMaxDecodedImagePixels.
QImage decodeImage(const QByteArray &bytes);

} // namespace Tintor::DB
