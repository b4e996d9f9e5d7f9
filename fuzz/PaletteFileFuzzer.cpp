// Feeds arbitrary bytes to the palette file reader. Whatever it accepts must
// keep its promises (a known version, cells inside the grid), and a version
// 3 palette written back by the writer must read back the same.
#include "ui/palette/PaletteFileReader.h"
#include "ui/palette/PaletteFileWriter.h"

#include <cstdint>
#include <cstdlib>

namespace {

using Tintor::PaletteFileReader;
using Tintor::PaletteFileWriter;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool sameChips(const QList<PaletteFileReader::Chip> &left, const QList<PaletteFileReader::Chip> &right)
{
    if (left.size() != right.size())
        return false;
    for (qsizetype index = 0; index < left.size(); ++index) {
        const PaletteFileReader::Chip &a = left.at(index);
        const PaletteFileReader::Chip &b = right.at(index);
        if (a.cell != b.cell || a.collection != b.collection || a.pageIndex != b.pageIndex || a.rowIndex != b.rowIndex
            || a.code != b.code)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    PaletteFileReader::Document document;
    if (PaletteFileReader::parse(bytes, document) != PaletteFileReader::Read)
        return 0;
    check(document.majorVersion == 2 || document.majorVersion == 3);
    check(!document.system.isEmpty());
    for (const PaletteFileReader::Chip &chip : document.chips)
        check(chip.cell.x() >= 0 && chip.cell.x() < 6 && chip.cell.y() >= 0 && chip.cell.y() < 4);
    if (document.majorVersion != 3)
        return 0;

    QList<PaletteFileWriter::Chip> written;
    for (const PaletteFileReader::Chip &chip : document.chips)
        written.append({ chip.cell, chip.collection, chip.pageIndex, chip.rowIndex, chip.code, QString() });
    PaletteFileReader::Document again;
    check(PaletteFileReader::parse(PaletteFileWriter::paletteDocument(document.description, written), again)
        == PaletteFileReader::Read);
    check(again.description == document.description);
    check(sameChips(again.chips, document.chips));
    return 0;
}
