#include "db/ImageDecoding.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>

namespace Tintor::DB {

namespace {

bool withinLimit(const QSize &size, qint64 maxPixels)
{
    return size.width() > 0 && size.height() > 0 && qint64(size.width()) * qint64(size.height()) <= maxPixels;
}

// Decoded as 32-bit pixels, which is what most images become when drawn.
qint64 decodedBytes(const QSize &size)
{
    return qint64(size.width()) * qint64(size.height()) * 4;
}

} // namespace

int jpegScanCount(const QByteArray &bytes, int limit)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype size = bytes.size();
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return 0;
    int scans = 0;
    qsizetype i = 2;
    while (i + 1 < size) {
        // Between segments lies entropy-coded data: walk it to the next marker.
        if (data[i] != 0xFF) {
            ++i;
            continue;
        }
        const uchar marker = data[i + 1];
        if (marker == 0xFF) { // fill byte
            ++i;
            continue;
        }
        // Stuffed zero, restart markers and TEM carry no length.
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            i += 2;
            continue;
        }
        if (marker == 0xD9) // end of image
            break;
        if (marker == 0xDA && ++scans > limit)
            break;
        if (i + 3 >= size)
            break;
        const int length = (int(data[i + 2]) << 8) | int(data[i + 3]);
        i += 2 + length;
    }
    return scans;
}

QImage decodeImage(const QByteArray &bytes, DecodeBudget *budget, qint64 maxPixels)
{
    if (bytes.isEmpty() || jpegScanCount(bytes, kMaxJpegScans) > kMaxJpegScans)
        return QImage();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The header's size is checked before a single pixel is allocated; a
    // format that cannot tell it up front still meets the reader's own
    // allocation limit and the checks after decoding.
    const QSize announced = reader.size();
    if (announced.isValid()) {
        if (!withinLimit(announced, maxPixels))
            return QImage();
        if (budget && decodedBytes(announced) > budget->remainingBytes)
            return QImage();
    }
    QImage image;
    if (!reader.read(&image) || !withinLimit(image.size(), maxPixels))
        return QImage();
    if (budget) {
        const qint64 taken = std::max(decodedBytes(image.size()), qint64(image.sizeInBytes()));
        if (taken > budget->remainingBytes)
            return QImage();
        budget->remainingBytes -= taken;
    }
    return image;
}

} // namespace Tintor::DB
