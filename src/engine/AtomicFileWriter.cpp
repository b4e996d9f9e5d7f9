#include "engine/inc/AtomicFileWriter.h"

#include <QBuffer>
#include <QImageWriter>
#include <QSaveFile>

namespace Tintor {

bool AtomicFileWriter::write(const QString &path, const QByteArray &content, QString &error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    if (file.write(content) != content.size()) {
        error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return commit(file, error);
}

bool AtomicFileWriter::writeImage(const QString &path, const QImage &image, const char *format, QString &error)
{
    QBuffer encoded;
    encoded.open(QIODevice::WriteOnly);
    QImageWriter writer(&encoded, format);
    if (!writer.write(image)) {
        error = writer.errorString();
        return false;
    }
    return write(path, encoded.data(), error);
}

bool AtomicFileWriter::commit(QSaveFile &file, QString &error)
{
    if (!file.isOpen()) {
        error = file.errorString();
        return false;
    }
    // The flush is where a buffered write meets the disk; commit() would
    // not look at its result.
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

} // namespace Tintor
