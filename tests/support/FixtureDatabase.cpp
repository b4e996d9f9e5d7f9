#include "support/FixtureDatabase.h"

#include "color/ColorScience.h"
#include "db/Schema.h"

#include <QBuffer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

int connectionCounter = 0;

// Adds the NAME0.. and EXTRA0.. columns of `names` and `extras` and returns the INSERT statement for all columns.
QString insertStatement(const QString &table, QStringList &columns, QVariantList &values, const QStringList &names,
    const QStringList &extras)
{
    for (const auto &[prefix, texts] :
        { std::pair(QStringLiteral("NAME%1"), names), std::pair(QStringLiteral("EXTRA%1"), extras) }) {
        for (int i = 0; i < texts.size() && i < 10; ++i) {
            columns << prefix.arg(i);
            values << texts.at(i);
        }
    }
    const QString marks = QStringLiteral("?,").repeated(columns.size()).chopped(1);
    return QStringLiteral("INSERT INTO %1(%2) VALUES(%3)").arg(table, columns.join(QLatin1Char(',')), marks);
}

} // namespace

FixtureDatabase::FixtureDatabase(const QString &path)
    : m_path(path)
    , m_connection(QStringLiteral("fixture-%1").arg(++connectionCounter))
{
    QFile::remove(path);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(path);
    m_open = db.open();
    if (!m_open)
        return;
    exec(QStringLiteral("BEGIN"));
    using namespace Tintor::DB;
    for (const QString &sql : Schema::declaredStatements() + Schema::readerStatements() + Schema::seedStatements())
        m_open = exec(sql) && m_open;
    exec(QStringLiteral("COMMIT"));
}

FixtureDatabase::~FixtureDatabase()
{
    database().close();
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase FixtureDatabase::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

bool FixtureDatabase::exec(const QString &sql, const QVariantList &values)
{
    QSqlQuery query(database());
    if (!query.prepare(sql)) {
        qWarning() << "fixture prepare failed:" << sql << query.lastError().text();
        return false;
    }
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        qWarning() << "fixture statement failed:" << sql << query.lastError().text();
        return false;
    }
    m_lastId = query.lastInsertId().isValid() ? query.lastInsertId().toLongLong() : -1;
    return true;
}

qint64 FixtureDatabase::addCollection(
    const QUuid &uuid, const QString &systemId, int order, bool enabled, const QString &name)
{
    if (!exec(QStringLiteral("INSERT INTO COLLECTION(UUID, SYSTEMID, VERSION, NAME, \"ORDER\") VALUES(?, ?, 1, ?, ?)"),
            { uuid.toString(QUuid::WithBraces), systemId, name.isEmpty() ? systemId : name, order }))
        return -1;
    const qint64 id = m_lastId;
    addSetting(id, QStringLiteral("collection.enabled"), enabled ? 1 : 0);
    return id;
}

void FixtureDatabase::addSetting(qint64 collectionId, const QString &name, const QVariant &value, int valueIndex)
{
    exec(QStringLiteral("INSERT INTO SETTING(COLLECTION_ID, NAME, VALUE, VALUE_INDEX) VALUES(?, ?, ?, ?)"),
        { collectionId, name, value, valueIndex });
}

void FixtureDatabase::addLocale(qint64 collectionId, const QString &key, const QString &text)
{
    exec(QStringLiteral("INSERT INTO LOCALE(COLLECTION_ID, LOCALE, \"KEY\", STRING) VALUES(?, 'en', ?, ?)"),
        { collectionId, key, text });
}

void FixtureDatabase::addTheme(qint64 collectionId, const QString &key, const QByteArray &data)
{
    exec(QStringLiteral("INSERT INTO THEME(COLLECTION_ID, ITEM_KEY, ITEM_DATA) VALUES(?, ?, ?)"),
        { collectionId, key, data });
}

qint64 FixtureDatabase::addPage(qint64 collectionId, const Page &page)
{
    QStringList columns = QStringLiteral("COLLECTION_ID,PAGE_INDEX,SEGMENT,NAME,EXTERIOR,MOOD").split(QLatin1Char(','));
    // The declared NAME must be unique per collection.
    QVariantList values { collectionId, page.pageIndex, page.segment,
        QStringLiteral("page-%1-%2").arg(collectionId).arg(page.pageIndex), page.exterior ? 1 : 0, page.mood };
    if (!exec(insertStatement(QStringLiteral("PAGE"), columns, values, page.names, page.extras), values))
        return -1;
    const qint64 id = m_lastId;
    mapPage(collectionId, id);
    return id;
}

void FixtureDatabase::mapPage(qint64 collectionId, qint64 pageId)
{
    exec(QStringLiteral("INSERT INTO COLLECTION_PAGE_MAP(COLLECTION_ID, PAGE_ID) VALUES(?, ?)"),
        { collectionId, pageId });
}

qint64 FixtureDatabase::addRow(qint64 collectionId, qint64 pageId, const Row &row)
{
    const Tintor::ColorTriple lab = row.lab.size() == 3
        ? Tintor::ColorTriple { row.lab.at(0), row.lab.at(1), row.lab.at(2) }
        : Tintor::colorToLab(row.color);
    const QStringList pageSegment
        = rows(database(), QStringLiteral("SELECT SEGMENT FROM PAGE WHERE ID = %1").arg(pageId));
    const int segment = row.segment > 0 ? row.segment : pageSegment.value(0, QStringLiteral("1")).toInt();
    QStringList columns = QStringLiteral("COLLECTION_ID,PAGE_ID,ROW_INDEX,CODE,SEGMENT,RED,GREEN,BLUE,L,A,B,NEUTRAL,"
                                         "WHITE,MOOD,SCHEME_POS,NSCHEME_POS,IS_MTO")
                              .split(QLatin1Char(','));
    QVariantList values { collectionId, pageId, row.rowIndex, row.code, segment, row.color.red(), row.color.green(),
        row.color.blue(), lab[0], lab[1], lab[2], row.neutral ? 1 : 0, row.white ? 1 : 0, row.mood, row.schemePos,
        row.nschemePos, row.madeToOrder ? 1 : 0 };
    if (!exec(insertStatement(QStringLiteral("\"ROW\""), columns, values, row.names, row.extras), values))
        return -1;
    return m_lastId;
}

QByteArray FixtureDatabase::png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray FixtureDatabase::png(const QSize &size, const QColor &color)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    return png(image);
}

QStringList FixtureDatabase::rows(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        return { QStringLiteral("FAILED: ") + query.lastError().text() };
    QStringList result;
    while (query.next()) {
        QStringList values;
        for (int i = 0; i < query.record().count(); ++i)
            values << query.value(i).toString();
        result << values.join(QLatin1Char('|'));
    }
    return result;
}

QStringList FixtureDatabase::query(const QString &path, const QStringList &statements)
{
    const QString name = QStringLiteral("query-%1").arg(++connectionCounter);
    QStringList result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.open();
        for (int i = 0; i < statements.size() && !result.value(0).startsWith(QLatin1String("FAILED")); ++i)
            result = rows(db, statements.at(i));
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

bool FixtureDatabase::writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray FixtureDatabase::readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
