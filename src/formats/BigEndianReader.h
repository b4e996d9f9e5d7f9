#pragma once

#include <QByteArray>
#include <QString>

namespace Tintor {

// A cursor over big-endian binary data that never reads past its end: every
// read says whether the bytes were there, so a reader stops at the first
// short field instead of trusting a length from the file.
class BigEndianReader {
public:
    explicit BigEndianReader(const QByteArray &data, qsizetype begin = 0, qsizetype end = -1);

    qsizetype position() const { return m_position; }
    qsizetype remaining() const { return m_end - m_position; }
    bool atEnd() const { return m_position >= m_end; }

    bool readUInt16(quint16 &value);
    bool readInt16(qint16 &value);
    bool readUInt32(quint32 &value);
    bool readFloat(float &value);
    bool readBytes(qsizetype count, QByteArray &bytes);
    // `units` UTF-16 code units; trailing terminators are dropped.
    bool readUtf16(quint32 units, QString &text);
    bool skip(qsizetype count);

private:
    const QByteArray &m_data;
    qsizetype m_position;
    qsizetype m_end;
};

} // namespace Tintor
