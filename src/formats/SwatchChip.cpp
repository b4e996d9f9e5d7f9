#include "formats/SwatchChip.h"

#include <QColor>
#include <QRegularExpression>

namespace Tintor {

QString SwatchChip::oneLineName() const
{
    QString text = displayName;
    if (text.trimmed().isEmpty())
        text = (code.trimmed() + QLatin1Char(' ') + name.trimmed());
    static const QRegularExpression breaks(QStringLiteral("[\\r\\n\\t\\x{2028}\\x{2029}]+"));
    return text.replace(breaks, QStringLiteral(" ")).trimmed();
}

QString SwatchChip::swatchName(bool appendProductCodes) const
{
    QString text = oneLineName();
    if (appendProductCodes && !productCodes.isEmpty())
        text += QStringLiteral(" - ") + productCodes.join(QStringLiteral(", "));
    if (text.isEmpty())
        text = QStringLiteral("RGB(%1,%2,%3)").arg(qRed(rgb)).arg(qGreen(rgb)).arg(qBlue(rgb));
    return text;
}

ColorTriple SwatchChip::labOrComputed() const
{
    return lab ? *lab : colorToLab(QColor::fromRgb(rgb));
}

double SwatchChip::lightReflectanceOrComputed() const
{
    if (lightReflectance)
        return *lightReflectance;
    return 100.0 * srgbToXyz({ qRed(rgb) / 255.0, qGreen(rgb) / 255.0, qBlue(rgb) / 255.0 })[1];
}

} // namespace Tintor
