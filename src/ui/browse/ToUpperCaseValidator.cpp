#include "ui/browse/ToUpperCaseValidator.h"

namespace Tintor {

ToUpperCaseValidator::ToUpperCaseValidator(QObject *parent)
    : QValidator(parent)
{
}

QValidator::State ToUpperCaseValidator::validate(QString &input, int &position) const
{
    Q_UNUSED(position)
    input = input.toUpper();
    return Acceptable;
}

} // namespace Tintor
