#include "formats/AtomicFileWriter.h"

#include <QSaveFile>

namespace Tintor {

QString AtomicFileWriter::write(const QString &path, const QByteArray &content)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    qint64 written = 0;
    while (written < content.size()) {
        const qint64 chunk = file.write(content.constData() + written, content.size() - written);
        if (chunk <= 0) {
            const QString error = file.errorString();
            file.cancelWriting();
            return error;
        }
        written += chunk;
    }
    // commit() alone would rename a cut file into place when only the
    // buffered tail fails to reach the disk.
    if (!file.flush()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

} // namespace Tintor
