#include "db/ImageDecoding.h"

#include <QBuffer>
#include <QImageReader>

namespace Tintor::DB {

namespace {

bool withinLimit(const QSize &size)
{
    return size.width() > 0 && size.height() > 0
        && qint64(size.width()) * qint64(size.height()) <= kMaxDecodedImagePixels;
}

} // namespace

QImage decodeImage(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QImage();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The header's size is checked before a single pixel is allocated; a
    // format that cannot tell it up front still meets the reader's own
    // allocation limit and the check after decoding.
    const QSize announced = reader.size();
    if (announced.isValid() && !withinLimit(announced))
        return QImage();
    QImage image;
    if (!reader.read(&image) || !withinLimit(image.size()))
        return QImage();
    return image;
}

} // namespace Tintor::DB
