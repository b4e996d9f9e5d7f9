#include "db/RecordFields.h"
#include "engine/inc/Logging.h"

#include <QDebug>
#include <QSqlRecord>
#include <QVariant>

#include <cmath>

namespace Tintor::DB::RecordFields {

namespace {

bool isText(const QVariant &value)
{
    return !value.isNull() && value.typeId() == QMetaType::QString;
}

} // namespace

bool lookup(const QSqlRecord &record, const QString &column, QVariant &value)
{
    const int index = record.indexOf(column);
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
    for (int i = 0; i < kNameCount; ++i) {
        QString name;
        QString extra;
        QVariant value;
        if (lookup(record, QStringLiteral("NAME%1").arg(i), value) && isText(value))
            name = value.toString();
        if (lookup(record, QStringLiteral("EXTRA%1").arg(i), value) && isText(value))
            extra = value.toString();
        names.append(name);
        extras.append(extra);
    }
}

} // namespace Tintor::DB::RecordFields
