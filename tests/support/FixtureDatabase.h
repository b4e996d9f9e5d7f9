#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <QVariant>

// Writes small collection files with the format's own statements; every add* returns the new ID, or -1 on failure.
class FixtureDatabase {
public:
    struct Page {
        Page() = default;
        Page(int pageIndex, int segment, const QStringList &names = {}, bool exterior = false, int mood = 0)
            : pageIndex(pageIndex)
            , segment(segment)
            , names(names)
            , exterior(exterior)
            , mood(mood)
        {
        }
        int pageIndex = 1;
        int segment = 1;
        QStringList names; // NAME0.. (the rest empty)
        QStringList extras; // EXTRA0..
        bool exterior = false;
        int mood = 0;
    };
    struct Row {
        Row() = default;
        Row(int rowIndex, const QString &code, const QColor &color, const QStringList &names = {})
            : rowIndex(rowIndex)
            , code(code)
            , color(color)
            , names(names)
        {
        }
        int rowIndex = 1;
        QString code;
        QColor color; // RGB; Lab computed from it unless lab is set
        QList<double> lab; // optional L, a, b
        QStringList names;
        QStringList extras;
        int segment = 0; // 0: the page's segment
        int mood = 0;
        bool neutral = false;
        bool white = false;
        bool madeToOrder = false;
        int schemePos = 0;
        int nschemePos = 0;
    };

    // Creates (replacing) the file with the declared schema, the reader's tables and the seed rows.
    explicit FixtureDatabase(const QString &path);
    ~FixtureDatabase();
    FixtureDatabase(const FixtureDatabase &) = delete;
    FixtureDatabase &operator=(const FixtureDatabase &) = delete;

    bool isOpen() const { return m_open; }
    QString path() const { return m_path; }
    QSqlDatabase database() const;

    qint64 addCollection(
        const QUuid &uuid, const QString &systemId, int order, bool enabled = true, const QString &name = QString());
    void addSetting(qint64 collectionId, const QString &name, const QVariant &value, int valueIndex = 0);
    void addLocale(qint64 collectionId, const QString &key, const QString &text);
    void addTheme(qint64 collectionId, const QString &key, const QByteArray &data);
    qint64 addPage(qint64 collectionId, const Page &page);
    // Lists an existing page in another collection as well.
    void mapPage(qint64 collectionId, qint64 pageId);
    qint64 addRow(qint64 collectionId, qint64 pageId, const Row &row);
    // Runs any statement; returns false and prints the error on failure.
    bool exec(const QString &sql, const QVariantList &values = {});
    qint64 lastInsertId() const { return m_lastId; }

    // PNG bytes for theme and texture rows.
    static QByteArray png(const QImage &image);
    static QByteArray png(const QSize &size, const QColor &color);

    // Every row of `sql`, its values joined by '|'; a failed statement gives one "FAILED: <error>" row.
    static QStringList rows(const QSqlDatabase &db, const QString &sql);
    // Runs `statements` on the file at `path` over one fresh connection; the rows of the last.
    static QStringList query(const QString &path, const QStringList &statements);
    // Writes `bytes` to `path`, creating its folder.
    static bool writeFile(const QString &path, const QByteArray &bytes);
    // The whole file at `path`; a null array if it cannot be read.
    static QByteArray readFile(const QString &path);

private:
    QString m_path;
    QString m_connection;
    bool m_open = false;
    qint64 m_lastId = -1;
};
