#pragma once

#include <QStringList>

namespace Tintor {

// `build SOURCE -o FILE.db`: reads and checks a collection source and, when
// it has no errors, writes the collection file.
class BuildCommand {
public:
    static int run(const QStringList &arguments);
    static const char *usage();
};

} // namespace Tintor
