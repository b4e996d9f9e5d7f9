#pragma once

#include <QByteArray>
#include <QString>

namespace Tintor {

// Replaces a file as a whole or not at all: the bytes go to a temporary file
// beside it, every write and the final flush are checked, and only then is
// it renamed over the old one.
class AtomicFileWriter {
public:
    // An empty string on success, otherwise why it failed (the old file, if
    // any, is untouched).
    static QString write(const QString &path, const QByteArray &content);
};

} // namespace Tintor
