// Swatch exchange and host swatch files come from clients and the web; the
// two binary readers must refuse anything broken without reading past the
// data or allocating by a length taken from it.

#include "formats/AcoFormat.h"
#include "formats/AseFormat.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 1 << 20)
        return 0;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<Tintor::SwatchColor> colors;
    QString error;
    // A refusal always says why and hands out no colour.
    const bool ase = Tintor::AseFormat::read(bytes, colors, error);
    if (ase == !error.isEmpty() || (!ase && !colors.isEmpty()))
        __builtin_trap();
    error.clear();
    colors.clear();
    const bool aco = Tintor::AcoFormat::read(bytes, colors, error);
    if (aco == !error.isEmpty() || (!aco && !colors.isEmpty()))
        __builtin_trap();
    return 0;
}
