#pragma once

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QString>
#include <QUuid>

namespace Tintor {

// Reads palette files (".palette", XML) into what they say, before any chip
// is looked up in a collection: version "3.0" files name each chip by
// collection UUID, page index, row index and colour code; version "2.0"
// files name it by a phrase searched in one collection. Files are read only,
// bounded in size, and parsed without network, DTD loading or entity
// substitution; a document with a DTD is refused outright. Knows no
// collection and no widget, so it can be fuzzed on its own.
class PaletteFileReader {
public:
    // Larger files are refused before they are read.
    static constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;
    // A cell takes its last element whose chip is found. Looking further
    // back than this many elements would let one file cost a lookup per
    // element; a cell whose last ones all miss is left empty.
    static constexpr int kMaxChipsPerCell = 8;

    enum Status {
        Read = 0,
        CannotOpen, // missing, not a regular file, too large or unreadable
        NotParsed, // not well-formed XML
        Rejected, // XML, but not a palette file of a known version
    };

    struct Chip {
        QPoint cell; // (column, row), inside the 6 x 4 grid
        // Version 3.
        QUuid collection;
        int pageIndex = 0;
        int rowIndex = 0;
        QString code;
        // Version 2: the text to search in the file's collection.
        QString phrase;
    };

    struct Document {
        int majorVersion = 0; // 2 or 3
        QString system; // "multi-collection" or, for version 2, the collection's SYSTEMID
        QString description;
        // In document order; a later chip of a cell replaces an earlier one.
        // Only the last kMaxChipsPerCell usable elements of each cell.
        QList<Chip> chips;
    };

    static Status readFile(const QString &path, Document &document);
    static Status parse(const QByteArray &bytes, Document &document);
};

} // namespace Tintor
