#include "support/FixtureDatabase.h"

#include "color/ColorScience.h"
#include "db/Schema.h"

#include <QBuffer>
#include <QDebug>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

namespace {

int connectionCounter = 0;

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
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
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

qint64 FixtureDatabase::addCollection(const QUuid &uuid, const QString &systemId, int order, bool enabled,
                                      const QString &name)
{
    if (!exec(QStringLiteral("INSERT INTO COLLECTION(UUID, SYSTEMID, VERSION, NAME, \"ORDER\") VALUES(?, ?, 1, ?, ?)"),
              {uuid.toString(QUuid::WithBraces), systemId, name.isEmpty() ? systemId : name, order}))
        return -1;
    const qint64 id = m_lastId;
    addSetting(id, QStringLiteral("collection.enabled"), enabled ? 1 : 0);
    return id;
}

void FixtureDatabase::addSetting(qint64 collectionId, const QString &name, const QVariant &value, int valueIndex)
{
    exec(QStringLiteral("INSERT INTO SETTING(COLLECTION_ID, NAME, VALUE, VALUE_INDEX) VALUES(?, ?, ?, ?)"),
         {collectionId, name, value, valueIndex});
}

void FixtureDatabase::addLocale(qint64 collectionId, const QString &key, const QString &text)
{
    exec(QStringLiteral("INSERT INTO LOCALE(COLLECTION_ID, LOCALE, \"KEY\", STRING) VALUES(?, 'en', ?, ?)"),
         {collectionId, key, text});
}

void FixtureDatabase::addTheme(qint64 collectionId, const QString &key, const QByteArray &data)
{
    exec(QStringLiteral("INSERT INTO THEME(COLLECTION_ID, ITEM_KEY, ITEM_DATA) VALUES(?, ?, ?)"),
         {collectionId, key, data});
}

qint64 FixtureDatabase::addPage(qint64 collectionId, const Page &page)
{
    QStringList columns{QStringLiteral("COLLECTION_ID"), QStringLiteral("PAGE_INDEX"), QStringLiteral("SEGMENT"),
                        QStringLiteral("NAME"), QStringLiteral("EXTERIOR"), QStringLiteral("MOOD")};
    // The declared NAME must be unique per collection.
    QVariantList values{collectionId, page.pageIndex, page.segment,
                        QStringLiteral("page-%1-%2").arg(collectionId).arg(page.pageIndex),
                        page.exterior ? 1 : 0, page.mood};
    for (int i = 0; i < page.names.size() && i < 10; ++i) {
        columns << QStringLiteral("NAME%1").arg(i);
        values << page.names.at(i);
    }
    for (int i = 0; i < page.extras.size() && i < 10; ++i) {
        columns << QStringLiteral("EXTRA%1").arg(i);
        values << page.extras.at(i);
    }
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    if (!exec(QStringLiteral("INSERT INTO PAGE(%1) VALUES(%2)").arg(columns.join(QLatin1Char(',')),
                                                                  marks.join(QLatin1Char(','))),
              values))
        return -1;
    const qint64 id = m_lastId;
    mapPage(collectionId, id);
    return id;
}

void FixtureDatabase::mapPage(qint64 collectionId, qint64 pageId)
{
    exec(QStringLiteral("INSERT INTO COLLECTION_PAGE_MAP(COLLECTION_ID, PAGE_ID) VALUES(?, ?)"),
         {collectionId, pageId});
}

qint64 FixtureDatabase::addRow(qint64 collectionId, qint64 pageId, const Row &row)
{
    double l = 0, a = 0, b = 0;
    if (row.lab.size() == 3) {
        l = row.lab.at(0);
        a = row.lab.at(1);
        b = row.lab.at(2);
    } else {
        const Tintor::ColorTriple lab = Tintor::colorToLab(row.color);
        l = lab[0];
        a = lab[1];
        b = lab[2];
    }
    int segment = row.segment;
    if (segment <= 0) {
        QSqlQuery query(database());
        query.prepare(QStringLiteral("SELECT SEGMENT FROM PAGE WHERE ID = ?"));
        query.addBindValue(pageId);
        segment = query.exec() && query.next() ? query.value(0).toInt() : 1;
    }
    QStringList columns{QStringLiteral("COLLECTION_ID"), QStringLiteral("PAGE_ID"), QStringLiteral("ROW_INDEX"),
                        QStringLiteral("CODE"), QStringLiteral("SEGMENT"), QStringLiteral("RED"),
                        QStringLiteral("GREEN"), QStringLiteral("BLUE"), QStringLiteral("L"), QStringLiteral("A"),
                        QStringLiteral("B"), QStringLiteral("NEUTRAL"), QStringLiteral("WHITE"),
                        QStringLiteral("MOOD"), QStringLiteral("SCHEME_POS"), QStringLiteral("NSCHEME_POS"),
                        QStringLiteral("IS_MTO")};
    QVariantList values{collectionId, pageId, row.rowIndex, row.code, segment, row.color.red(),
                        row.color.green(), row.color.blue(), l, a, b, row.neutral ? 1 : 0, row.white ? 1 : 0,
                        row.mood, row.schemePos, row.nschemePos, row.madeToOrder ? 1 : 0};
    for (int i = 0; i < row.names.size() && i < 10; ++i) {
        columns << QStringLiteral("NAME%1").arg(i);
        values << row.names.at(i);
    }
    for (int i = 0; i < row.extras.size() && i < 10; ++i) {
        columns << QStringLiteral("EXTRA%1").arg(i);
        values << row.extras.at(i);
    }
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    if (!exec(QStringLiteral("INSERT INTO \"ROW\"(%1) VALUES(%2)").arg(columns.join(QLatin1Char(',')),
                                                                     marks.join(QLatin1Char(','))),
              values))
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
