// Feeds arbitrary bytes to the Capsure measurement reader, which takes
// files written by an outside program. Whatever it returns must be
// non-empty names; any crash, hang, leak or sanitizer report is a fault.
#include "ui/matching/CapsureMeasurement.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList names = Tintor::CapsureMeasurement::objectNames(bytes);
    for (const QString &name : names) {
        if (name.isEmpty())
            std::abort();
    }
    return 0;
}
