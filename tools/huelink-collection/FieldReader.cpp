#include "FieldReader.h"

#include "ProblemList.h"
#include "SettingKinds.h"
#include "SourceTable.h"

namespace Tintor {

FieldReader::FieldReader(ProblemList &problems)
    : m_problems(problems)
{
}

bool FieldReader::integer(const SourceRecord &record, const QString &column, int minimum, int maximum, bool required,
                          int &out)
{
    if (!record.has(column)) {
        if (required)
            m_problems.error(record.origin(), QStringLiteral("missing \"%1\"").arg(column));
        return !required;
    }
    bool ok = false;
    const qint64 value = record.value(column).toLongLong(&ok);
    if (!ok) {
        m_problems.error(record.where(column), QStringLiteral("\"%1\" is not an integer").arg(record.value(column)));
        return false;
    }
    if (value < minimum || value > maximum) {
        m_problems.error(record.where(column),
                         QStringLiteral("%1 is outside %2..%3").arg(value).arg(minimum).arg(maximum));
        return false;
    }
    out = int(value);
    return true;
}

bool FieldReader::number(const SourceRecord &record, const QString &column, double minimum, double maximum,
                         bool required, double &out)
{
    if (!record.has(column)) {
        if (required)
            m_problems.error(record.origin(), QStringLiteral("missing \"%1\"").arg(column));
        return !required;
    }
    bool ok = false;
    const double value = record.value(column).toDouble(&ok);
    if (!ok || !qIsFinite(value)) {
        m_problems.error(record.where(column), QStringLiteral("\"%1\" is not a number").arg(record.value(column)));
        return false;
    }
    if (value < minimum || value > maximum) {
        m_problems.error(record.where(column),
                         QStringLiteral("%1 is outside %2..%3").arg(record.value(column)).arg(minimum).arg(maximum));
        return false;
    }
    out = value;
    return true;
}

bool FieldReader::flag(const SourceRecord &record, const QString &column, bool &out)
{
    if (!record.has(column))
        return true;
    bool ok = false;
    const bool value = SettingKinds::parseFlag(record.value(column), &ok);
    if (!ok) {
        m_problems.error(record.where(column),
                         QStringLiteral("\"%1\" is not a flag (0/1, true/false, yes/no)").arg(record.value(column)));
        return false;
    }
    out = value;
    return true;
}

bool FieldReader::mood(const SourceRecord &record, const QString &column, int &out)
{
    if (!record.has(column))
        return true;
    const int value = SettingKinds::moodNumber(record.value(column));
    if (value < 0) {
        m_problems.error(record.where(column),
                         QStringLiteral("\"%1\" is not a mood (0..6, fresh, warm, calm, rich, offwhite, neutral)")
                             .arg(record.value(column)));
        return false;
    }
    out = value;
    return true;
}

bool FieldReader::scheme(const SourceRecord &record, const QString &column, int &out)
{
    if (!record.has(column)) {
        m_problems.error(record.origin(), QStringLiteral("missing \"%1\"").arg(column));
        return false;
    }
    const int value = SettingKinds::schemeNumber(record.value(column));
    if (value < 1 || value > 8) {
        m_problems.error(record.where(column),
                         QStringLiteral("\"%1\" is not a scheme (1..8, harmonic, contrast, wide contrast, dynamic, "
                                        "dramatic, neutral, tonal neutral, complementary neutral)")
                             .arg(record.value(column)));
        return false;
    }
    out = value;
    return true;
}

bool FieldReader::color(const SourceRecord &record, bool required, int &red, int &green, int &blue, bool *given)
{
    const bool hasHex = record.has(QStringLiteral("hex"));
    const bool hasChannels = record.has(QStringLiteral("red")) || record.has(QStringLiteral("green"))
        || record.has(QStringLiteral("blue"));
    if (given)
        *given = hasHex || hasChannels;
    if (hasHex && hasChannels) {
        m_problems.error(record.origin(), QStringLiteral("give either \"hex\" or \"red\", \"green\", \"blue\""));
        return false;
    }
    if (hasHex) {
        QString text = record.value(QStringLiteral("hex"));
        if (text.startsWith(QLatin1Char('#')))
            text.remove(0, 1);
        bool ok = text.size() == 6;
        const uint value = text.toUInt(&ok, 16);
        if (!ok || text.size() != 6) {
            m_problems.error(record.where(QStringLiteral("hex")),
                             QStringLiteral("\"%1\" is not a colour #RRGGBB").arg(record.value(QStringLiteral("hex"))));
            return false;
        }
        red = int((value >> 16) & 0xff);
        green = int((value >> 8) & 0xff);
        blue = int(value & 0xff);
        return true;
    }
    if (!hasChannels && !required)
        return true;
    bool ok = integer(record, QStringLiteral("red"), 0, 255, true, red);
    ok = integer(record, QStringLiteral("green"), 0, 255, true, green) && ok;
    ok = integer(record, QStringLiteral("blue"), 0, 255, true, blue) && ok;
    return ok;
}

QStringList FieldReader::tenTexts(const SourceRecord &record, const QString &prefix)
{
    QStringList texts = tenEmptyTexts();
    for (int i = 0; i < 10; ++i)
        texts[i] = record.value(prefix + QString::number(i));
    return texts;
}

QStringList FieldReader::keyList(const SourceRecord &record, const QString &column)
{
    QStringList keys;
    for (const QString &part : record.value(column).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (!part.trimmed().isEmpty())
            keys << part.trimmed();
    }
    return keys;
}

ChipReference FieldReader::chipReference(const SourceRecord &record, const QString &prefix, bool withCollection)
{
    ChipReference reference;
    reference.where = record.origin();
    if (withCollection)
        reference.collection = record.value(QStringLiteral("collection"));
    const QString codeColumn = prefix + QStringLiteral("code");
    const QString pageColumn = prefix + QStringLiteral("page");
    const QString rowColumn = prefix + QStringLiteral("row");
    const bool hasCode = record.has(codeColumn);
    const bool hasPosition = record.has(pageColumn) || record.has(rowColumn);
    if (hasCode && hasPosition) {
        m_problems.error(
            record.origin(),
            QStringLiteral("give either \"%1\" or \"%2\" and \"%3\"").arg(codeColumn, pageColumn, rowColumn));
        return reference;
    }
    if (hasCode) {
        reference.byCode = true;
        reference.code = record.value(codeColumn);
        reference.where = record.where(codeColumn);
    } else if (hasPosition) {
        integer(record, pageColumn, 1, INT_MAX, true, reference.pageIndex);
        integer(record, rowColumn, 1, INT_MAX, true, reference.rowIndex);
        reference.where = record.where(pageColumn);
    }
    return reference;
}

PageReference FieldReader::pageReference(const SourceRecord &record, const QString &column, bool withCollection)
{
    PageReference reference;
    reference.where = record.where(column);
    if (withCollection)
        reference.collection = record.value(QStringLiteral("collection"));
    integer(record, column, 1, INT_MAX, true, reference.pageIndex);
    return reference;
}

} // namespace Tintor
