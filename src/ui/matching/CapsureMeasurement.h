#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace Tintor {

// Reads a Capsure measurement: a CxF3 document whose measured objects are
// named after the colour the device recognised. Only the Name attributes of
// the core namespace's Object elements are taken; colour values are not.
//
// The file comes from an outside program, so the reader is bounded: a
// regular file of at most kMaximumFileSize bytes, parsed without network,
// DTD loading or entity substitution. It never calls xmlCleanupParser(): the
// host may use libxml2 as well.
class CapsureMeasurement
{
public:
    static constexpr qint64 kMaximumFileSize = 16 * 1024 * 1024;
    static constexpr const char *kCoreNamespace = "http://colorexchangeformat.com/CxF3-core";

    // The file's bytes, or false when it is missing, not a regular file,
    // larger than the bound or cannot be opened for reading and writing
    // (which fails on Windows while the device software still writes it).
    // The file is neither changed nor deleted.
    static bool readFile(const QString &fileName, QByteArray &bytes);

    // The non-empty object names in document order; empty when the document
    // is larger than the bound, does not parse (for example one the device
    // software is still writing) or names no object.
    static QStringList objectNames(const QByteArray &document);
};

} // namespace Tintor
