#include "formats/JsonSwatchFormat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace Tintor {

namespace {

double rounded(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

} // namespace

QByteArray JsonSwatchFormat::write(const QString &description, const QList<SwatchChip> &chips, bool appendProductCodes)
{
    QJsonArray array;
    for (const SwatchChip &chip : chips) {
        const ColorTriple lab = chip.labOrComputed();
        QJsonObject object {
            { QStringLiteral("code"), chip.code },
            { QStringLiteral("name"), chip.swatchName(appendProductCodes) },
            { QStringLiteral("collection"), chip.collectionName },
            { QStringLiteral("collectionUuid"), chip.collectionUuid.toString(QUuid::WithoutBraces) },
            { QStringLiteral("card"), chip.pageIndex },
            { QStringLiteral("row"), chip.rowIndex },
            { QStringLiteral("srgb"),
                QStringLiteral("#%1").arg(chip.rgb & 0xFFFFFF, 6, 16, QLatin1Char('0')) },
            { QStringLiteral("lab"), QJsonArray { rounded(lab[0], 4), rounded(lab[1], 4), rounded(lab[2], 4) } },
            { QStringLiteral("lrv"), rounded(chip.lightReflectanceOrComputed(), 2) },
        };
        if (!std::isfinite(lab[0]) || !std::isfinite(lab[1]) || !std::isfinite(lab[2]))
            object.insert(QStringLiteral("lab"), QJsonValue::Null);
        array.append(object);
    }
    const QJsonObject root { { QStringLiteral("description"), description }, { QStringLiteral("chips"), array } };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace Tintor
