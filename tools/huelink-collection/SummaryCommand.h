#pragma once

#include <QStringList>

namespace Tintor {

// `inspect FILE.db [--check]`: a readable summary of a collection file, and
// with --check a verification that it has every table and column the
// program's reading queries need (one line per problem, non-zero exit).
class SummaryCommand {
public:
    static int run(const QStringList &arguments);
    static const char *usage();
};

} // namespace Tintor
