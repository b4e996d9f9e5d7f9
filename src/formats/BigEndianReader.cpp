#include "formats/BigEndianReader.h"

#include <QtEndian>

#include <cstring>

namespace Tintor {

BigEndianReader::BigEndianReader(const QByteArray &data, qsizetype begin, qsizetype end)
    : m_data(data)
    , m_position(qBound(qsizetype(0), begin, data.size()))
    , m_end(end < 0 ? data.size() : qBound(m_position, end, data.size()))
{
}

bool BigEndianReader::readUInt16(quint16 &value)
{
    if (remaining() < 2)
        return false;
    value = qFromBigEndian<quint16>(m_data.constData() + m_position);
    m_position += 2;
    return true;
}

bool BigEndianReader::readInt16(qint16 &value)
{
    quint16 word = 0;
    if (!readUInt16(word))
        return false;
    value = qint16(word);
    return true;
}

bool BigEndianReader::readUInt32(quint32 &value)
{
    if (remaining() < 4)
        return false;
    value = qFromBigEndian<quint32>(m_data.constData() + m_position);
    m_position += 4;
    return true;
}

bool BigEndianReader::readFloat(float &value)
{
    quint32 bits = 0;
    if (!readUInt32(bits))
        return false;
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

bool BigEndianReader::readBytes(qsizetype count, QByteArray &bytes)
{
    if (count < 0 || remaining() < count)
        return false;
    bytes = m_data.mid(m_position, count);
    m_position += count;
    return true;
}

bool BigEndianReader::readUtf16(quint32 units, QString &text)
{
    // Compared in 64 bits: a declared length near 2^32 must not wrap.
    if (quint64(units) * 2 > quint64(remaining()))
        return false;
    text.resize(qsizetype(units));
    for (quint32 i = 0; i < units; ++i)
        text[qsizetype(i)] = QChar(qFromBigEndian<quint16>(m_data.constData() + m_position + 2 * qsizetype(i)));
    m_position += 2 * qsizetype(units);
    while (text.endsWith(QChar(0)))
        text.chop(1);
    return true;
}

bool BigEndianReader::skip(qsizetype count)
{
    if (count < 0 || remaining() < count)
        return false;
    m_position += count;
    return true;
}

} // namespace Tintor
