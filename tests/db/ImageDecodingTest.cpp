#include "db/ImageDecoding.h"
#include "support/TestEnvironment.h"

#include <QBuffer>
#include <QImageWriter>
#include <QtTest>

using namespace Tintor::DB;

namespace {

QByteArray jpeg(bool progressive)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor(200, 120, 80));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return buffer.data();
}

// A real progressive JPEG with its last scan repeated up to `scans` in all: each scan is a pass over the whole picture.
QByteArray withScans(const QByteArray &progressive, int scans)
{
    const qsizetype last = progressive.lastIndexOf("\xFF\xDA");
    const QByteArray scan = progressive.mid(last, progressive.lastIndexOf("\xFF\xD9") - last);
    QByteArray bytes = progressive.left(last);
    for (int i = jpegScanCount(bytes + "\xFF\xD9", scans); i < scans; ++i)
        bytes += scan;
    return bytes + "\xFF\xD9";
}

} // namespace

class ImageDecodingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void limitsBeforeDecoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("budget");
        QTest::addColumn<qint64>("maxPixels");
        QTest::addColumn<bool>("decodes");
        const QByteArray progressive = jpeg(true);
        QTest::newRow("baseline jpeg") << jpeg(false) << qint64(1 << 20) << kMaxDecodedImagePixels << true;
        QTest::newRow("progressive jpeg") << progressive << qint64(1 << 20) << kMaxDecodedImagePixels << true;
        QTest::newRow("scans at the limit") << withScans(progressive, kMaxJpegScans) << qint64(1 << 20)
                                            << kMaxDecodedImagePixels << true;
        QTest::newRow("one scan too many") << withScans(progressive, kMaxJpegScans + 1) << qint64(1 << 20)
                                           << kMaxDecodedImagePixels << false;
        QTest::newRow("fits the budget") << jpeg(false) << qint64(64 * 48 * 4) << kMaxDecodedImagePixels << true;
        QTest::newRow("over the budget") << jpeg(false) << qint64(64 * 48 * 4 - 1) << kMaxDecodedImagePixels << false;
        QTest::newRow("over the pixels") << jpeg(false) << qint64(1 << 20) << qint64(64 * 48 - 1) << false;
        QTest::newRow("not an image") << QByteArray("\xFF\xD8 not quite") << qint64(1 << 20) << kMaxDecodedImagePixels
                                      << false;
    }

    // A refused image takes nothing from the budget; a decoded one takes its 32-bit size.
    void limitsBeforeDecoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, budget);
        QFETCH(qint64, maxPixels);
        QFETCH(bool, decodes);
        DecodeBudget remaining{budget};
        const QImage image = decodeImage(bytes, &remaining, maxPixels);
        QCOMPARE(!image.isNull(), decodes);
        QCOMPARE(remaining.remainingBytes, decodes ? budget - 64 * 48 * 4 : budget);
        if (decodes)
            QCOMPARE(image.size(), QSize(64, 48));
    }
};

HUELINK_TEST_MAIN(ImageDecodingTest)
#include "ImageDecodingTest.moc"
