#pragma once

#include "formats/SwatchChip.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace Tintor {

enum class SwatchFormat { Aco, Ase, Gpl, Css, Json };

// Writes My Palette's chips in any of the exchange formats, replacing the
// file as a whole or leaving it untouched.
class SwatchExport {
public:
    // By the file's extension, without regard to case.
    static std::optional<SwatchFormat> formatOfPath(const QString &path);
    static QString extension(SwatchFormat format);

    // The file's bytes; empty with `error` set when the chips cannot be
    // written in that format.
    static QByteArray contents(SwatchFormat format, const QString &description, const QList<SwatchChip> &chips,
        bool appendProductCodes, QString &error);
    // An empty string on success, otherwise why nothing was written.
    static QString write(SwatchFormat format, const QString &path, const QString &description,
        const QList<SwatchChip> &chips, bool appendProductCodes = false);
};

} // namespace Tintor
