#pragma once

#include <QByteArray>
#include <QMap>
#include <QRgb>
#include <QString>

// The host's colour swatch file (".aco"): one version-2 section of RGB
// records, every field a big-endian 16-bit word, each name in UTF-16 with a
// terminating zero. Records come in ascending ARGB order, one per colour.
class SwatchFileWriter {
public:
    // Colour (ARGB) to swatch name; an empty name is written as
    // "RGB(r,g,b)".
    using Table = QMap<QRgb, QString>;

    static QByteArray contents(const Table &table);
    // The name a swatch record carries for `color` named `name`.
    static QString swatchName(QRgb color, const QString &name);
};
