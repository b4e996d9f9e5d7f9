#include "db/RecordFields.h"
#include "engine/inc/Logging.h"

#include <QDebug>
#include <QSqlRecord>
#include <QVariant>

#include <QHash>

#include <algorithm>
#include <cmath>
#include <deque>
#include <memory>

namespace Tintor::DB::RecordFields {

namespace {

bool isText(const QVariant &value)
{
    return !value.isNull() && value.typeId() == QMetaType::QString;
}

bool isAscii(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

// ASCII with no lower-case letter and no table part: the names the layouts
// can answer for.
bool isPlainUpperName(const QString &column)
{
    return std::all_of(column.cbegin(), column.cend(), [](QChar c) {
        return c.unicode() < 0x80 && c != QLatin1Char('.') && !(c >= QLatin1Char('a') && c <= QLatin1Char('z'));
    });
}

constexpr std::size_t kRememberedLayouts = 8;

// The layout of the record's columns: one the thread saw before when the
// names are the same, so that the name scans of a query's rows happen once.
std::shared_ptr<const RecordLayout> layoutOf(const QSqlRecord &record)
{
    thread_local std::deque<std::shared_ptr<const RecordLayout>> layouts;
    QStringList names;
    names.reserve(record.count());
    for (int i = 0; i < record.count(); ++i)
        names.append(record.fieldName(i));
    for (const auto &layout : layouts) {
        if (layout->names == names)
            return layout;
    }
    auto layout = std::make_shared<RecordLayout>();
    layout->ascii = std::all_of(names.cbegin(), names.cend(), isAscii);
    // Last to first, so that the first column of a name is the one kept.
    if (layout->ascii) {
        for (qsizetype i = names.size() - 1; i >= 0; --i)
            layout->upperNames.insert(names.at(i).toUpper(), int(i));
    }
    layout->names = std::move(names);
    if (layouts.size() == kRememberedLayouts)
        layouts.pop_back();
    layouts.push_front(layout);
    return layout;
}

thread_local const RecordScope *innermostScope = nullptr;
thread_local const QueryRows *innermostRows = nullptr;

// Reads of any other record than the innermost scope's scan by name.
int columnIndex(const QSqlRecord &record, const QString &column)
{
    const RecordScope *scope = innermostScope;
    if (scope && scope->record() == &record && scope->layout().ascii && isPlainUpperName(column))
        return scope->layout().upperNames.value(column, -1);
    return record.indexOf(column);
}

} // namespace

RecordScope::RecordScope(const QSqlRecord &record)
    : m_record(&record)
    , m_outer(innermostScope)
{
    // A base class's reading inside its derived class's: the same record.
    if (m_outer && m_outer->m_record == &record) {
        m_layout = m_outer->m_layout;
    } else if (innermostRows && innermostRows->m_layout) {
        m_layout = innermostRows->m_layout;
    } else {
        m_layout = layoutOf(record);
        if (innermostRows)
            innermostRows->m_layout = m_layout;
    }
    innermostScope = this;
}

RecordScope::~RecordScope()
{
    innermostScope = m_outer;
}

QueryRows::QueryRows()
    : m_outer(innermostRows)
{
    innermostRows = this;
}

QueryRows::~QueryRows()
{
    innermostRows = m_outer;
}

bool lookup(const QSqlRecord &record, const QString &column, QVariant &value)
{
    const int index = columnIndex(record, column);
    if (index < 0)
        return false;
    value = record.value(index);
    return value.isValid();
}

void readInt64(const QSqlRecord &record, const QString &column, qint64 &field)
{
    QVariant value;
    if (lookup(record, column, value))
        field = value.toLongLong();
}

void readInt(const QSqlRecord &record, const QString &column, int &field)
{
    QVariant value;
    if (lookup(record, column, value))
        field = value.toInt();
}

void readDouble(const QSqlRecord &record, const QString &column, double &field)
{
    QVariant value;
    if (!lookup(record, column, value))
        return;
    // The text conversion accepts "nan" and "inf"; they are no numbers
    // here, and a NaN Lab value would measure as distance 0 to any colour.
    const double number = value.toDouble();
    field = std::isfinite(number) ? number : 0.0;
}

void readFlag(const QSqlRecord &record, const QString &column, bool &field)
{
    QVariant value;
    if (lookup(record, column, value))
        field = value.toLongLong() != 0;
}

void readText(const QSqlRecord &record, const QString &column, QString &field)
{
    QVariant value;
    if (lookup(record, column, value))
        field = value.toString();
}

void readCollectionId(const QSqlRecord &record, qint64 &field)
{
    QVariant value;
    bool converted = false;
    if (lookup(record, QStringLiteral("COLLECTION_ID"), value)) {
        const qint64 number = value.toLongLong(&converted);
        if (converted)
            field = number;
    }
    if (!converted)
        qCDebug(lcHuelink) << "Oops.";
}

void readNamesAndExtras(const QSqlRecord &record, QStringList &names, QStringList &extras)
{
    names.clear();
    extras.clear();
    static const QString nameColumns[kNameCount] = {
        QStringLiteral("NAME0"), QStringLiteral("NAME1"), QStringLiteral("NAME2"), QStringLiteral("NAME3"),
        QStringLiteral("NAME4"), QStringLiteral("NAME5"), QStringLiteral("NAME6"), QStringLiteral("NAME7"),
        QStringLiteral("NAME8"), QStringLiteral("NAME9")};
    static const QString extraColumns[kNameCount] = {
        QStringLiteral("EXTRA0"), QStringLiteral("EXTRA1"), QStringLiteral("EXTRA2"), QStringLiteral("EXTRA3"),
        QStringLiteral("EXTRA4"), QStringLiteral("EXTRA5"), QStringLiteral("EXTRA6"), QStringLiteral("EXTRA7"),
        QStringLiteral("EXTRA8"), QStringLiteral("EXTRA9")};
    for (int i = 0; i < kNameCount; ++i) {
        QString name;
        QString extra;
        QVariant value;
        if (lookup(record, nameColumns[i], value) && isText(value))
            name = value.toString();
        if (lookup(record, extraColumns[i], value) && isText(value))
            extra = value.toString();
        names.append(name);
        extras.append(extra);
    }
}

} // namespace Tintor::DB::RecordFields
