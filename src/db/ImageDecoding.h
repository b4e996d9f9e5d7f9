#pragma once

#include <QByteArray>
#include <QImage>

namespace Tintor::DB {

// Images stored in a collection file are outside our trust: a few bytes of
// header can announce a picture of gigabytes. Decoding refuses anything
// above this many pixels (64 MB as 32-bit pixels).
inline constexpr qint64 kMaxDecodedImagePixels = 4096LL * 4096LL;

// A progressive JPEG is decoded once per scan over the whole picture, so a
// small file of thousands of scans keeps the decoder busy for minutes.
// Real pictures use about ten.
inline constexpr int kMaxJpegScans = 48;

// What all images of one collection file may take once decoded.
inline constexpr qint64 kCollectionDecodeBudgetBytes = 256LL * 1024 * 1024;

// The decoded bytes still allowed; each decoded image takes its share.
struct DecodeBudget
{
    qint64 remainingBytes = kCollectionDecodeBudgetBytes;
};

// The image the bytes hold, or a null image when they do not decode, when
// they announce (or turn out) larger than `maxPixels`, when they are a JPEG
// of more than kMaxJpegScans scans, or when the image does not fit in
// `budget` (taken from it otherwise). Limits are checked before decoding
// wherever the header tells.
QImage decodeImage(const QByteArray &bytes, DecodeBudget *budget = nullptr,
                   qint64 maxPixels = kMaxDecodedImagePixels);

// Start-of-scan markers of a JPEG, counted up to one past `limit`; 0 for
// bytes that are not a JPEG.
int jpegScanCount(const QByteArray &bytes, int limit);

} // namespace Tintor::DB
