#include "host/SwatchFileWriter.h"

#include <QtEndian>

namespace {

void appendWord(QByteArray &bytes, quint16 word)
{
    char big[2];
    qToBigEndian(word, big);
    bytes.append(big, 2);
}

} // namespace

QString SwatchFileWriter::swatchName(QRgb color, const QString &name)
{
    if (!name.isEmpty())
        return name;
    return QStringLiteral("RGB(%1,%2,%3)").arg(qRed(color)).arg(qGreen(color)).arg(qBlue(color));
}

QByteArray SwatchFileWriter::contents(const Table &table)
{
    QByteArray bytes;
    appendWord(bytes, 2);
    appendWord(bytes, quint16(table.size()));
    for (auto entry = table.cbegin(); entry != table.cend(); ++entry) {
        const QRgb color = entry.key();
        appendWord(bytes, 0); // RGB
        appendWord(bytes, quint16(qRed(color) * 257));
        appendWord(bytes, quint16(qGreen(color) * 257));
        appendWord(bytes, quint16(qBlue(color) * 257));
        appendWord(bytes, 0);
        const QString name = swatchName(color, entry.value());
        // One 32-bit count, terminator included, split into two words: the
        // high word must be the real one for names past 65,534 units.
        const quint32 length = quint32(name.size()) + 1;
        appendWord(bytes, quint16(length >> 16));
        appendWord(bytes, quint16(length & 0xFFFF));
        for (const QChar unit : name)
            appendWord(bytes, unit.unicode());
        appendWord(bytes, 0);
    }
    return bytes;
}
