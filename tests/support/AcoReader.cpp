#include "support/AcoReader.h"

QList<QPair<QRgb, QString>> readAcoFile(const QByteArray &bytes, QString &error)
{
    qsizetype at = 0;
    bool ok = true;
    const auto word = [&]() -> quint32 {
        ok = ok && at + 2 <= bytes.size();
        const quint32 value = ok ? (quint32(quint8(bytes[at])) << 8) | quint8(bytes[at + 1]) : 0;
        at += 2;
        return value;
    };
    QList<QPair<QRgb, QString>> records;
    const quint32 version = word();
    const quint32 count = word();
    for (quint32 record = 0; ok && record < count; ++record) {
        const quint32 space = word();
        const quint32 red = word(), green = word(), blue = word(), fourth = word();
        const quint32 length = (word() << 16) | word();
        QString name;
        for (quint32 unit = 0; ok && unit + 1 < length; ++unit)
            name.append(QChar(char16_t(word())));
        const quint32 terminator = word();
        if (space != 0 || fourth != 0 || terminator != 0 || length == 0 || red % 257 || green % 257 || blue % 257)
            ok = false;
        records.append({ qRgb(int(red / 257), int(green / 257), int(blue / 257)), name });
    }
    if (!ok || version != 2 || at != bytes.size())
        error = QStringLiteral("not a version-2 swatch file of %1 records (at byte %2)").arg(count).arg(at);
    return records;
}
