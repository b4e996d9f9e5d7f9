#include "ValueCheck.h"

#include "SettingKinds.h"

#include "db/CollectionLookups.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QVariant>

#include <cmath>

namespace Tintor {

namespace {

QString where(const QString &table, const QVariant &rowId, const QString &key)
{
    return QStringLiteral("table %1, row ID %2, key %3").arg(table, rowId.toString(), key);
}

// Empty when `value` is a finite number within low..high (an integer when
// asked), else what is wrong with it.
QString numberProblem(const QVariant &value, double low, double high, bool integer)
{
    if (value.isNull())
        return QStringLiteral("is NULL");
    const int type = value.typeId();
    if (type == QMetaType::QString || type == QMetaType::QByteArray)
        return QStringLiteral("\"%1\" is not a number").arg(value.toString().left(40));
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok)
        return QStringLiteral("is not a number");
    if (!std::isfinite(number))
        return QStringLiteral("%1 is not finite").arg(number);
    if (integer && number != std::floor(number))
        return QStringLiteral("%1 is not an integer").arg(number);
    if (number < low || number > high)
        return QStringLiteral("%1 is outside %2..%3").arg(number).arg(low).arg(high);
    return QString();
}

bool isUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    Q_UNUSED(decoded);
    return !decoder.hasError();
}

// Empty when the bytes decode into an image within the reader's limit.
QString imageProblem(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    const qint64 limitBytes = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    if (size.isValid() && limitBytes > 0 && qint64(size.width()) * size.height() * 4 > limitBytes)
        return QStringLiteral("image of %1 x %2 exceeds the decode limit of %3 MB")
            .arg(size.width())
            .arg(size.height())
            .arg(QImageReader::allocationLimit());
    if (reader.read().isNull())
        return QStringLiteral("image does not decode (%1)").arg(reader.errorString());
    return QString();
}

class Checker {
public:
    explicit Checker(const QSqlDatabase &db)
        : m_db(db)
    {
    }

    void settings()
    {
        QSqlQuery query(m_db);
        if (!query.exec(QStringLiteral("SELECT ID, COLLECTION_ID, NAME, VALUE FROM SETTING "
                                       "ORDER BY COLLECTION_ID, NAME COLLATE NOCASE, VALUE_INDEX")))
            return;
        QVariant firstId;
        QString collection;
        QString name;
        QStringList values;
        auto flush = [&] {
            if (name.isEmpty() || SettingKinds::kindOf(name) == SettingKinds::Kind::Unknown)
                return;
            const QString problem = SettingKinds::checkAndNormalize(name, values);
            if (!problem.isEmpty())
                m_problems << QStringLiteral("%1 (collection %2): %3").arg(where(QStringLiteral("SETTING"), firstId, name),
                                                                           collection, problem);
        };
        while (query.next()) {
            const QString rowCollection = query.value(1).toString();
            const QString rowName = query.value(2).toString();
            if (rowCollection != collection || rowName.compare(name, Qt::CaseInsensitive) != 0) {
                flush();
                firstId = query.value(0);
                collection = rowCollection;
                name = rowName;
                values.clear();
            }
            if (query.value(3).isNull())
                m_problems << QStringLiteral("%1: is NULL").arg(where(QStringLiteral("SETTING"), query.value(0), rowName));
            values << query.value(3).toString();
        }
        flush();
    }

    void colours()
    {
        QSqlQuery query(m_db);
        if (!query.exec(QStringLiteral("SELECT ID, RED, GREEN, BLUE, L, A, B FROM \"ROW\" ORDER BY ID")))
            return;
        struct Column {
            const char *key;
            double low;
            double high;
            bool integer;
        };
        static const Column columns[] = {{"RED", 0, 255, true}, {"GREEN", 0, 255, true}, {"BLUE", 0, 255, true},
                                         {"L", 0, 100, false},  {"A", -128, 127, false}, {"B", -128, 127, false}};
        while (query.next()) {
            for (int i = 0; i < int(std::size(columns)); ++i) {
                const QString problem
                    = numberProblem(query.value(i + 1), columns[i].low, columns[i].high, columns[i].integer);
                if (!problem.isEmpty())
                    m_problems << QStringLiteral("%1: %2").arg(
                        where(QStringLiteral("ROW"), query.value(0), QString::fromLatin1(columns[i].key)), problem);
            }
        }
    }

    // Names and codes are searched and completed; bytes that are not UTF-8
    // read differently on different paths.
    void texts(const QString &table, const QString &idColumn, const QString &column)
    {
        QSqlQuery query(m_db);
        if (!query.exec(QStringLiteral("SELECT %1, CAST(%2 AS BLOB) FROM \"%3\" ORDER BY %1")
                            .arg(idColumn, column, table)))
            return;
        while (query.next()) {
            if (!isUtf8(query.value(1).toByteArray()))
                m_problems << QStringLiteral("%1: is not valid UTF-8").arg(where(table, query.value(0), column));
        }
    }

    // Interface texts are cut for display; the two documents are shown whole.
    void localeLengths()
    {
        QSqlQuery query(m_db);
        if (!query.exec(QStringLiteral("SELECT ID, \"KEY\", length(STRING) FROM LOCALE WHERE length(STRING) > %1 "
                                       "AND \"KEY\" NOT IN ('license.copyright', 'motto') COLLATE NOCASE ORDER BY ID")
                            .arg(DB::kMaxInterfaceTextLength)))
            return;
        while (query.next())
            m_problems << QStringLiteral("%1: is %2 characters long; shown cut to %3")
                              .arg(where(QStringLiteral("LOCALE"), query.value(0), query.value(1).toString()))
                              .arg(query.value(2).toLongLong())
                              .arg(DB::kMaxInterfaceTextLength);
    }

    void images(const QString &table, const QString &keyColumn, const QString &dataColumn, const QString &filter)
    {
        QSqlQuery query(m_db);
        if (!query.exec(QStringLiteral("SELECT ID, %1, %2 FROM %3 %4 ORDER BY ID")
                            .arg(keyColumn, dataColumn, table, filter)))
            return;
        while (query.next()) {
            const QString problem = imageProblem(query.value(2).toByteArray());
            if (!problem.isEmpty())
                m_problems << QStringLiteral("%1: %2").arg(where(table, query.value(0), query.value(1).toString()),
                                                           problem);
        }
    }

    QStringList problems() const { return m_problems; }

private:
    QSqlDatabase m_db;
    QStringList m_problems;
};

} // namespace

QStringList ValueCheck::check(const QSqlDatabase &db)
{
    Checker checker(db);
    checker.settings();
    checker.colours();
    checker.texts(QStringLiteral("ROW"), QStringLiteral("ID"), QStringLiteral("CODE"));
    checker.texts(QStringLiteral("ROW"), QStringLiteral("ID"), QStringLiteral("NAME"));
    checker.texts(QStringLiteral("ROW_NAME"), QStringLiteral("ROW_ID"), QStringLiteral("NAME"));
    checker.texts(QStringLiteral("PAGE"), QStringLiteral("ID"), QStringLiteral("NAME"));
    checker.localeLengths();
    checker.images(QStringLiteral("THEME"), QStringLiteral("ITEM_KEY"), QStringLiteral("ITEM_DATA"),
                   QStringLiteral("WHERE ITEM_KEY LIKE 'image.%'"));
    checker.images(QStringLiteral("TEXTURE"), QStringLiteral("NAME"), QStringLiteral("IMAGE"), QString());
    return checker.problems();
}

} // namespace Tintor
