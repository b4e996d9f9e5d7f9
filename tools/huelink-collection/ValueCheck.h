#pragma once

#include <QSqlDatabase>
#include <QStringList>

namespace Tintor {

// The values of a collection file the program would refuse, bring back to
// a default or choke on: settings outside their kind and range, colours and
// Lab values that are NULL, not numbers or not finite, names and codes that
// are not UTF-8, and images that do not decode within the decode limit.
// Each problem names its table, row and key.
class ValueCheck {
public:
    static QStringList check(const QSqlDatabase &db);
};

} // namespace Tintor
