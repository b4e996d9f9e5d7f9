#include "formats/AseFormat.h"

#include "formats/BigEndianReader.h"
#include "formats/SwatchLimits.h"

#include <QSet>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace Tintor {

namespace {

constexpr quint16 kColorEntry = 0x0001;
constexpr quint16 kGroupStart = 0xC001;
constexpr quint16 kGroupEnd = 0xC002;
constexpr quint16 kGlobalColor = 0;
constexpr int kBlockHeaderBytes = 6;

bool readColorEntry(BigEndianReader &block, int index, QList<SwatchColor> &colors, QString &error)
{
    quint16 units = 0;
    QString name;
    if (!block.readUInt16(units) || !block.readUtf16(units, name)) {
        error = QStringLiteral("the name of colour %1 runs past the end of its block").arg(index + 1);
        return false;
    }
    QByteArray model;
    if (!block.readBytes(4, model)) {
        error = QStringLiteral("colour %1 has no colour model").arg(index + 1);
        return false;
    }
    const int componentCount = model == "RGB " || model == "LAB " ? 3 : model == "CMYK" ? 4 : model == "Gray" ? 1 : 0;
    if (componentCount == 0) {
        error = QStringLiteral("colour %1 uses the model \"%2\", which is not RGB, LAB, CMYK or Gray")
                    .arg(index + 1)
                    .arg(QString::fromLatin1(model.toHex()));
        return false;
    }
    double values[4] = {};
    for (int i = 0; i < componentCount; ++i) {
        float value = 0.0f;
        if (!block.readFloat(value) || !std::isfinite(value)) {
            error = QStringLiteral("colour %1 is cut short or holds a value that is not a number").arg(index + 1);
            return false;
        }
        values[i] = double(value);
    }
    quint16 type = 0;
    if (!block.readUInt16(type)) {
        error = QStringLiteral("colour %1 ends before its colour type").arg(index + 1);
        return false;
    }
    if (model == "RGB ")
        colors.append(SwatchColor::fromSrgb(name, { values[0], values[1], values[2] }));
    else if (model == "LAB ")
        colors.append(SwatchColor::fromLab(name, { values[0] * 100.0, values[1], values[2] }));
    else if (model == "CMYK")
        colors.append(SwatchColor::fromCmyk(name, values[0], values[1], values[2], values[3]));
    else
        colors.append(SwatchColor::fromGray(name, values[0]));
    return true;
}

void appendWord(QByteArray &bytes, quint16 word)
{
    char big[2];
    qToBigEndian(word, big);
    bytes.append(big, 2);
}

void appendLong(QByteArray &bytes, quint32 value)
{
    char big[4];
    qToBigEndian(value, big);
    bytes.append(big, 4);
}

void appendFloat(QByteArray &bytes, float value)
{
    quint32 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    appendLong(bytes, bits);
}

// Length in code units with the terminator, then the units and the zero.
bool appendName(QByteArray &bytes, const QString &name)
{
    if (name.size() + 1 > 0xFFFF)
        return false;
    appendWord(bytes, quint16(name.size() + 1));
    for (const QChar unit : name)
        appendWord(bytes, unit.unicode());
    appendWord(bytes, 0);
    return true;
}

void appendBlock(QByteArray &bytes, quint16 type, const QByteArray &body)
{
    appendWord(bytes, type);
    appendLong(bytes, quint32(body.size()));
    bytes.append(body);
}

} // namespace

bool AseFormat::read(const QByteArray &bytes, QList<SwatchColor> &colors, QString &error)
{
    BigEndianReader reader(bytes);
    QByteArray signature;
    quint16 major = 0;
    quint16 minor = 0;
    quint32 blockCount = 0;
    if (!reader.readBytes(4, signature) || signature != "ASEF") {
        error = QStringLiteral("not a swatch exchange file: it does not start with ASEF");
        return false;
    }
    if (!reader.readUInt16(major) || !reader.readUInt16(minor) || !reader.readUInt32(blockCount)) {
        error = QStringLiteral("the file ends inside its header");
        return false;
    }
    if (major != 1) {
        error = QStringLiteral("version %1.%2 is not read; only version 1").arg(major).arg(minor);
        return false;
    }
    if (quint64(blockCount) * kBlockHeaderBytes > quint64(reader.remaining())) {
        error = QStringLiteral("the file declares %1 blocks but is too short to hold them").arg(blockCount);
        return false;
    }
    QList<SwatchColor> read;
    for (quint32 index = 0; index < blockCount; ++index) {
        quint16 type = 0;
        quint32 length = 0;
        if (!reader.readUInt16(type) || !reader.readUInt32(length)) {
            error = QStringLiteral("block %1 is cut short").arg(index + 1);
            return false;
        }
        if (quint64(length) > quint64(reader.remaining())) {
            error = QStringLiteral("block %1 declares %2 bytes, past the end of the file").arg(index + 1).arg(length);
            return false;
        }
        BigEndianReader block(bytes, reader.position(), reader.position() + qsizetype(length));
        reader.skip(qsizetype(length));
        if (type != kColorEntry)
            continue; // groups only frame the colours
        if (read.size() >= kMaximumSwatchColors) {
            error = QStringLiteral("the file holds more than %1 colours").arg(kMaximumSwatchColors);
            return false;
        }
        if (!readColorEntry(block, int(read.size()), read, error))
            return false;
    }
    colors = read;
    return true;
}

QByteArray AseFormat::write(
    const QString &description, const QList<SwatchChip> &chips, bool appendProductCodes, QString &error)
{
    QByteArray groupName;
    if (!appendName(groupName, description)) {
        error = QStringLiteral("the description is too long for a swatch exchange file");
        return QByteArray();
    }
    QByteArray entries;
    QSet<QRgb> seen;
    quint32 blocks = 2;
    for (const SwatchChip &chip : chips) {
        const QRgb color = chip.rgb | 0xFF000000;
        if (seen.contains(color))
            continue;
        seen.insert(color);
        QByteArray body;
        if (!appendName(body, chip.swatchName(appendProductCodes))) {
            error = QStringLiteral("the name of %1 is too long for a swatch exchange file").arg(chip.code);
            return QByteArray();
        }
        body.append("RGB ", 4);
        appendFloat(body, float(qRed(color) / 255.0));
        appendFloat(body, float(qGreen(color) / 255.0));
        appendFloat(body, float(qBlue(color) / 255.0));
        appendWord(body, kGlobalColor);
        appendBlock(entries, kColorEntry, body);
        ++blocks;
    }
    QByteArray bytes("ASEF", 4);
    appendWord(bytes, 1);
    appendWord(bytes, 0);
    appendLong(bytes, blocks);
    appendBlock(bytes, kGroupStart, groupName);
    bytes.append(entries);
    appendBlock(bytes, kGroupEnd, QByteArray());
    return bytes;
}

} // namespace Tintor
