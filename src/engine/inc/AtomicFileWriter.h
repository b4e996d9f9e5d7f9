#pragma once

#include <QByteArray>
#include <QString>

class QImage;
class QSaveFile;

namespace Tintor {

// Replaces a file in one step, or not at all. The toolkit's save file keeps
// what is written in a buffer and only hands it to the system when it is
// committed; a flush that fails there (full disk, file-size limit) still
// renames the cut temporary file over the old one. Every write and the final
// flush are checked here first, and any failure throws the temporary file
// away and says why.
class AtomicFileWriter {
public:
    // Writes `content` to `path`; on failure the old file stays as it was
    // and `error` holds the system's reason.
    static bool write(const QString &path, const QByteArray &content, QString &error);
    // Encodes `image` in memory first: the image writer writes into the file
    // in place and cannot tell when the last of it never reached the disk.
    static bool writeImage(const QString &path, const QImage &image, const char *format, QString &error);
    // Finishes a save file the caller opened and wrote: flushes, checks and
    // commits, or cancels. Earlier failed writes are caught too.
    static bool commit(QSaveFile &file, QString &error);
};

} // namespace Tintor
