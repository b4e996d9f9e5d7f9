#pragma once

#include <QValidator>

namespace Tintor {

// Upper-cases whatever is typed into the search box and never rejects it:
// codes and names are searched in upper case.
class ToUpperCaseValidator : public QValidator
{
    Q_OBJECT

public:
    explicit ToUpperCaseValidator(QObject *parent = nullptr);

    State validate(QString &input, int &position) const override;
};

} // namespace Tintor
