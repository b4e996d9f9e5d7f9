#pragma once

#include "formats/SwatchColor.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace Tintor {

// What reading a swatch file gave: its colours in file order, or why the
// file was refused (then no colour at all).
class SwatchReadResult {
public:
    bool ok() const { return error.isEmpty(); }

    QList<SwatchColor> colors;
    QString formatName;
    QString error;
};

// Reads any swatch file the open dialog offers: swatch exchange (".ase"),
// the host's swatch files (".aco"), palette text (".gpl") and style sheets
// (".css"). The format comes from the file's first bytes where it has a
// signature, otherwise from its extension.
class SwatchFile {
public:
    static SwatchReadResult read(const QString &path);
    // `fileName` only decides the format of files without a signature.
    static SwatchReadResult parse(const QByteArray &bytes, const QString &fileName);
};

} // namespace Tintor
