#include "formats/AcoFormat.h"

#include "formats/BigEndianReader.h"
#include "formats/SwatchLimits.h"

#include <QMap>
#include <QtEndian>

namespace Tintor {

namespace {

constexpr quint16 kRgbSpace = 0;
constexpr quint16 kHsbSpace = 1;
constexpr quint16 kCmykSpace = 2;
constexpr quint16 kLabSpace = 7;
constexpr quint16 kGraySpace = 8;
constexpr int kRecordBytes = 10; // colour space and four components

bool colorOfRecord(const QString &name, const quint16 words[5], int index, SwatchColor &color, QString &error)
{
    const double full = 65535.0;
    switch (words[0]) {
    case kRgbSpace:
        color = SwatchColor::fromSrgb(name, { words[1] / full, words[2] / full, words[3] / full });
        return true;
    case kHsbSpace:
        color = SwatchColor::fromHsb(name, words[1] / full * 360.0, words[2] / full, words[3] / full);
        return true;
    case kCmykSpace:
        // Stored as the paper left over: 0 is full ink.
        color = SwatchColor::fromCmyk(
            name, 1.0 - words[1] / full, 1.0 - words[2] / full, 1.0 - words[3] / full, 1.0 - words[4] / full);
        return true;
    case kLabSpace:
        color = SwatchColor::fromLab(name, { words[1] / 100.0, qint16(words[2]) / 100.0, qint16(words[3]) / 100.0 });
        return true;
    case kGraySpace:
        // 0..10000 of black ink.
        color = SwatchColor::fromGray(name, 1.0 - qMin(words[1], quint16(10000)) / 10000.0);
        return true;
    default:
        break;
    }
    error = QStringLiteral("colour %1 uses colour space %2, which is not RGB, HSB, CMYK, Lab or gray")
                .arg(index + 1)
                .arg(words[0]);
    return false;
}

// One section after its version word; names only in version 2.
bool readSection(BigEndianReader &reader, quint16 version, QList<SwatchColor> &colors, QString &error)
{
    quint16 count = 0;
    if (!reader.readUInt16(count)) {
        error = QStringLiteral("the file ends inside the header of the version %1 section").arg(version);
        return false;
    }
    if (count > kMaximumSwatchColors) {
        error = QStringLiteral("the file declares %1 colours; at most %2 are read").arg(count).arg(kMaximumSwatchColors);
        return false;
    }
    if (qint64(count) * kRecordBytes > reader.remaining()) {
        error = QStringLiteral("the file declares %1 colours but is too short to hold them").arg(count);
        return false;
    }
    for (int index = 0; index < count; ++index) {
        quint16 words[5] = {};
        for (quint16 &word : words) {
            if (!reader.readUInt16(word)) {
                error = QStringLiteral("colour %1 is cut short").arg(index + 1);
                return false;
            }
        }
        QString name;
        if (version == 2) {
            quint32 units = 0;
            if (!reader.readUInt32(units) || !reader.readUtf16(units, name)) {
                error = QStringLiteral("the name of colour %1 runs past the end of the file (%2 characters declared)")
                            .arg(index + 1)
                            .arg(units);
                return false;
            }
        }
        SwatchColor color;
        if (!colorOfRecord(name, words, index, color, error))
            return false;
        colors.append(color);
    }
    return true;
}

void appendWord(QByteArray &bytes, quint16 word)
{
    char big[2];
    qToBigEndian(word, big);
    bytes.append(big, 2);
}

} // namespace

bool AcoFormat::read(const QByteArray &bytes, QList<SwatchColor> &colors, QString &error)
{
    BigEndianReader reader(bytes);
    quint16 version = 0;
    if (!reader.readUInt16(version) || (version != 1 && version != 2)) {
        error = QStringLiteral("not a swatch file: it does not start with version 1 or 2");
        return false;
    }
    QList<SwatchColor> section;
    if (!readSection(reader, version, section, error))
        return false;
    if (version == 1 && !reader.atEnd()) {
        // A named version-2 section may follow the plain one; it wins.
        quint16 next = 0;
        if (!reader.readUInt16(next) || next != 2) {
            error = QStringLiteral("unexpected data after the version 1 colours");
            return false;
        }
        QList<SwatchColor> named;
        if (!readSection(reader, 2, named, error))
            return false;
        if (named.size() != section.size()) {
            error = QStringLiteral("the version 1 section holds %1 colours, the version 2 section %2")
                        .arg(section.size())
                        .arg(named.size());
            return false;
        }
        section = named;
    }
    colors = section;
    return true;
}

QByteArray AcoFormat::write(const QList<SwatchChip> &chips, bool appendProductCodes, QString &error)
{
    // The first chip of a colour names it; records go in ARGB order.
    QMap<QRgb, QString> table;
    for (const SwatchChip &chip : chips) {
        const QRgb color = chip.rgb | 0xFF000000;
        if (!table.contains(color))
            table.insert(color, chip.swatchName(appendProductCodes));
    }
    if (table.size() > 0xFFFF) {
        error = QStringLiteral("%1 colours are more than a swatch file holds").arg(table.size());
        return QByteArray();
    }
    return records(table);
}

QByteArray AcoFormat::records(const QMap<QRgb, QString> &table)
{
    QByteArray bytes;
    appendWord(bytes, 2);
    appendWord(bytes, quint16(table.size()));
    for (auto entry = table.cbegin(); entry != table.cend(); ++entry) {
        appendWord(bytes, kRgbSpace);
        appendWord(bytes, quint16(qRed(entry.key()) * 257));
        appendWord(bytes, quint16(qGreen(entry.key()) * 257));
        appendWord(bytes, quint16(qBlue(entry.key()) * 257));
        appendWord(bytes, 0);
        const QString name = entry.value().isEmpty()
            ? QStringLiteral("RGB(%1,%2,%3)").arg(qRed(entry.key())).arg(qGreen(entry.key())).arg(qBlue(entry.key()))
            : entry.value();
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

} // namespace Tintor
