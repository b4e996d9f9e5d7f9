#pragma once

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QString>
#include <QUuid>

namespace Tintor {

// Writes My Palette as a palette file (".palette", XML version "3.0", which
// names each chip so that it survives a rebuilt collection file) or as a
// text list (".txt", written only). Both are UTF-8 with a byte order mark.
// The files are written with AtomicFileWriter, so a failed write leaves the
// old file as it was.
class PaletteFileWriter {
public:
    // One written cell, as the files name it.
    struct Chip {
        QPoint cell; // (column, row)
        QUuid collection;
        int pageIndex = 0;
        int rowIndex = 0;
        QString code;
        QString collectionName; // empty when the collection cannot be found
    };

    // The whole file: byte order mark, declaration and the tab-indented
    // document.
    static QByteArray paletteDocument(const QString &description, const QList<Chip> &chips);
    // Empty when there is no chip: an empty list writes no file.
    static QByteArray textList(const QList<Chip> &chips);
};

} // namespace Tintor
