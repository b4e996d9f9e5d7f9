#include "formats/ColorGrade.h"

namespace Tintor {

ColorGrade::Grade ColorGrade::of(double deltaE)
{
    if (deltaE <= 1.0)
        return Indistinguishable;
    if (deltaE <= 2.0)
        return VeryClose;
    if (deltaE <= 3.5)
        return Close;
    if (deltaE <= 5.0)
        return Noticeable;
    return Different; // NaN lands here too
}

QString ColorGrade::text(Grade grade)
{
    switch (grade) {
    case Indistinguishable:
        return QStringLiteral("indistinguishable");
    case VeryClose:
        return QStringLiteral("very close");
    case Close:
        return QStringLiteral("close");
    case Noticeable:
        return QStringLiteral("noticeable");
    case Different:
        break;
    }
    return QStringLiteral("different");
}

QString ColorGrade::describe(double deltaE)
{
    return QStringLiteral("\u0394E %1, %2").arg(QString::number(deltaE, 'f', 1), text(of(deltaE)));
}

} // namespace Tintor
