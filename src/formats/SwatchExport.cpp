#include "formats/SwatchExport.h"

#include "formats/AcoFormat.h"
#include "formats/AseFormat.h"
#include "engine/inc/AtomicFileWriter.h"
#include "formats/CssFormat.h"
#include "formats/GplFormat.h"
#include "formats/JsonSwatchFormat.h"

#include <QFileInfo>

namespace Tintor {

std::optional<SwatchFormat> SwatchExport::formatOfPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (SwatchFormat format :
        { SwatchFormat::Aco, SwatchFormat::Ase, SwatchFormat::Gpl, SwatchFormat::Css, SwatchFormat::Json }) {
        if (suffix == extension(format))
            return format;
    }
    return std::nullopt;
}

QString SwatchExport::extension(SwatchFormat format)
{
    switch (format) {
    case SwatchFormat::Aco:
        return QStringLiteral("aco");
    case SwatchFormat::Ase:
        return QStringLiteral("ase");
    case SwatchFormat::Gpl:
        return QStringLiteral("gpl");
    case SwatchFormat::Css:
        return QStringLiteral("css");
    case SwatchFormat::Json:
        break;
    }
    return QStringLiteral("json");
}

QByteArray SwatchExport::contents(SwatchFormat format, const QString &description, const QList<SwatchChip> &chips,
    bool appendProductCodes, QString &error)
{
    switch (format) {
    case SwatchFormat::Aco:
        return AcoFormat::write(chips, appendProductCodes, error);
    case SwatchFormat::Ase:
        return AseFormat::write(description, chips, appendProductCodes, error);
    case SwatchFormat::Gpl:
        return GplFormat::write(description, chips, appendProductCodes);
    case SwatchFormat::Css:
        return CssFormat::write(description, chips, appendProductCodes);
    case SwatchFormat::Json:
        break;
    }
    return JsonSwatchFormat::write(description, chips, appendProductCodes);
}

QString SwatchExport::write(SwatchFormat format, const QString &path, const QString &description,
    const QList<SwatchChip> &chips, bool appendProductCodes)
{
    if (chips.isEmpty())
        return QStringLiteral("My Palette holds no colour");
    QString error;
    const QByteArray bytes = contents(format, description, chips, appendProductCodes, error);
    if (!error.isEmpty())
        return error;
    QString writeError;
    if (!AtomicFileWriter::write(path, bytes, writeError))
        return writeError.isEmpty() ? QStringLiteral("The file could not be written") : writeError;
    return QString();
}

} // namespace Tintor
