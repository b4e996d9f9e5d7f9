#include "SummaryCommand.h"

#include "ReaderRequirements.h"
#include "ValueCheck.h"
#include "db/Schema.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <cstdio>

namespace Tintor {

namespace {

void print(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
}

class Summary {
public:
    explicit Summary(const QSqlDatabase &db)
        : m_db(db)
    {
    }

    QVariant value(const QString &sql, const QVariantList &values = {}) const
    {
        QSqlQuery query(m_db);
        query.prepare(sql);
        for (const QVariant &value : values)
            query.addBindValue(value);
        if (query.exec() && query.next())
            return query.value(0);
        return QVariant();
    }

    QStringList values(const QString &sql, const QVariantList &values = {}) const
    {
        QStringList result;
        QSqlQuery query(m_db);
        query.prepare(sql);
        for (const QVariant &value : values)
            query.addBindValue(value);
        if (query.exec())
            while (query.next())
                result << query.value(0).toString();
        return result;
    }

    QString setting(qint64 collection, const QString &name) const
    {
        return value(QStringLiteral("SELECT VALUE FROM SETTING WHERE COLLECTION_ID = ? AND NAME = ? COLLATE NOCASE "
                                    "AND VALUE_INDEX = 0"),
                     {collection, name})
            .toString();
    }

    QStringList settingList(qint64 collection, const QString &name) const
    {
        return values(QStringLiteral("SELECT VALUE FROM SETTING WHERE COLLECTION_ID = ? AND NAME = ? COLLATE NOCASE "
                                     "ORDER BY VALUE_INDEX"),
                      {collection, name});
    }

    QString onOff(qint64 collection, const QString &name, bool fallback) const
    {
        const QString text = setting(collection, name);
        const bool on = text.isEmpty() ? fallback : text.toInt() != 0;
        return QStringLiteral("%1 %2").arg(name, on ? QStringLiteral("on") : QStringLiteral("off"));
    }

    qint64 count(const QString &sql, const QVariantList &values = {}) const { return value(sql, values).toLongLong(); }

private:
    QSqlDatabase m_db;
};

void printSummary(const QSqlDatabase &db, const QString &path)
{
    const Summary s(db);
    print(QStringLiteral("File %1 (%2 bytes)").arg(path).arg(QFileInfo(path).size()));
    const qint64 systemWide
        = s.count(QStringLiteral("SELECT COUNT(*) FROM COLLECTION WHERE ID = 0 AND UUID = ? COLLATE NOCASE"),
                  {DB::Schema::systemWideCollectionUuid().toString(QUuid::WithBraces)});
    print(QStringLiteral("System-wide collection: %1; %2 setting(s), %3 locale text(s), %4 theme item(s), "
                         "%5 shared foresight group(s), %6 shared texture(s)")
              .arg(systemWide ? QStringLiteral("present") : QStringLiteral("absent"))
              .arg(s.count(QStringLiteral("SELECT COUNT(*) FROM SETTING WHERE COLLECTION_ID = 0")))
              .arg(s.count(QStringLiteral("SELECT COUNT(*) FROM LOCALE WHERE COLLECTION_ID = 0")))
              .arg(s.count(QStringLiteral("SELECT COUNT(*) FROM THEME WHERE COLLECTION_ID = 0")))
              .arg(s.count(QStringLiteral("SELECT COUNT(*) FROM FORESIGHT_GROUP WHERE COLLECTION_ID = 0")))
              .arg(s.count(QStringLiteral("SELECT COUNT(*) FROM TEXTURE WHERE COLLECTION_ID = 0"))));
    print(QStringLiteral("Products %1, product groups %2")
              .arg(s.count(QStringLiteral("SELECT COUNT(*) FROM PRODUCT")))
              .arg(s.count(QStringLiteral("SELECT COUNT(*) FROM PRODUCT_GROUP"))));

    QSqlQuery collections(db);
    collections.exec(QStringLiteral("SELECT ID, UUID, SYSTEMID, \"ORDER\", VERSION, NAME FROM COLLECTION WHERE ID != 0 "
                                    "ORDER BY \"ORDER\""));
    int number = 0;
    while (collections.next()) {
        ++number;
        const qint64 id = collections.value(0).toLongLong();
        const QString enabled = s.setting(id, QStringLiteral("collection.enabled"));
        print(QString());
        print(
            QStringLiteral("Collection %1 \"%2\" %3 order %4 version %5 (ID %6): %7")
                .arg(collections.value(2).toString(), collections.value(5).toString(), collections.value(1).toString())
                .arg(collections.value(3).toInt())
                .arg(collections.value(4).toLongLong())
                .arg(id)
                .arg(enabled.toInt() == 1 ? QStringLiteral("enabled") : QStringLiteral("DISABLED")));
        const QString shownName = s.setting(id, QStringLiteral("collection.name"));
        if (!shownName.isEmpty())
            print(QStringLiteral("  shown as \"%1\"").arg(shownName));
        const qint64 cards
            = s.count(QStringLiteral("SELECT COUNT(*) FROM COLLECTION_PAGE_MAP WHERE COLLECTION_ID = ?"), {id});
        const qint64 shared
            = s.count(QStringLiteral("SELECT COUNT(*) FROM COLLECTION_PAGE_MAP M JOIN PAGE P "
                                     "ON P.ID = M.PAGE_ID WHERE M.COLLECTION_ID = ? AND P.COLLECTION_ID != ?"),
                      {id, id});
        const qint64 chips = s.count(QStringLiteral("SELECT COUNT(*) FROM \"ROW\" R JOIN COLLECTION_PAGE_MAP M "
                                                    "ON M.PAGE_ID = R.PAGE_ID WHERE M.COLLECTION_ID = ?"),
                                     {id});
        const qint64 madeToOrder
            = s.count(QStringLiteral("SELECT COUNT(*) FROM \"ROW\" R JOIN COLLECTION_PAGE_MAP M "
                                     "ON M.PAGE_ID = R.PAGE_ID WHERE M.COLLECTION_ID = ? AND R.IS_MTO != 0"),
                      {id});
        print(QStringLiteral("  cards %1 (%2 shared from other collections), chips %3 (%4 made to order)")
                  .arg(cards)
                  .arg(shared)
                  .arg(chips)
                  .arg(madeToOrder));
        const QString segmentSetting = s.setting(id, QStringLiteral("num.of.segments"));
        const QStringList used
            = s.values(QStringLiteral("SELECT DISTINCT P.SEGMENT FROM PAGE P JOIN COLLECTION_PAGE_MAP M "
                                      "ON M.PAGE_ID = P.ID WHERE M.COLLECTION_ID = ? ORDER BY P.SEGMENT"),
                       {id});
        print(QStringLiteral("  segments: %1 (num.of.segments %2); used: %3")
                  .arg(used.size())
                  .arg(segmentSetting.isEmpty() ? QStringLiteral("unset, 12") : segmentSetting)
                  .arg(used.join(QLatin1Char(','))));
        print(
            QStringLiteral("  card.type %1, mode.card %2, mode.mood %3")
                .arg(s.setting(id, QStringLiteral("card.type")).isEmpty() ? QStringLiteral("-")
                                                                          : s.setting(id, QStringLiteral("card.type")),
                     s.setting(id, QStringLiteral("mode.card")).isEmpty() ? QStringLiteral("-")
                                                                          : s.setting(id, QStringLiteral("mode.card")),
                     s.setting(id, QStringLiteral("mode.mood")).isEmpty()
                         ? QStringLiteral("-")
                         : s.setting(id, QStringLiteral("mode.mood"))));
        print(QStringLiteral("  pages: %1, %2, %3, %4 (system-wide %5)")
                  .arg(s.onOff(id, QStringLiteral("has.color.schemes.page"), false),
                       s.onOff(id, QStringLiteral("has.product.groups.page"), false),
                       s.onOff(id, QStringLiteral("has.color.foresight.page"), false),
                       s.onOff(id, QStringLiteral("has.textures.page"), false),
                       s.onOff(0, QStringLiteral("has.textures.page"), false)));
        const QStringList tabs = s.settingList(id, QStringLiteral("tab.bar.page"));
        const QStringList schemes = s.settingList(id, QStringLiteral("schemes"));
        print(QStringLiteral("  tab.bar.page: %1; schemes: %2")
                  .arg(tabs.isEmpty() ? QStringLiteral("(all)") : tabs.join(QStringLiteral(", ")),
                       schemes.isEmpty() ? QStringLiteral("(none)") : schemes.join(QStringLiteral(", "))));
        print(QStringLiteral("  filters: %1, %2")
                  .arg(s.onOff(id, QStringLiteral("has.exterior.filter"), true),
                       s.onOff(id, QStringLiteral("mood.visible"), true)));
        const QString capsure = s.setting(id, QStringLiteral("capsure.enabled"));
        print(QStringLiteral("  capsure: %1")
                  .arg(capsure.toInt() == 1 ? QStringLiteral("enabled, priority %1")
                                                  .arg(s.setting(id, QStringLiteral("capsure.priority")).isEmpty()
                                                           ? QStringLiteral("(none: not in the priority view)")
                                                           : s.setting(id, QStringLiteral("capsure.priority")))
                                            : QStringLiteral("off")));
        print(QStringLiteral("  settings %1, locale texts %2, theme items %3, foresight groups %4, textures %5")
                  .arg(s.count(QStringLiteral("SELECT COUNT(*) FROM SETTING WHERE COLLECTION_ID = ?"), {id}))
                  .arg(s.count(QStringLiteral("SELECT COUNT(*) FROM LOCALE WHERE COLLECTION_ID = ?"), {id}))
                  .arg(s.count(QStringLiteral("SELECT COUNT(*) FROM THEME WHERE COLLECTION_ID = ?"), {id}))
                  .arg(s.count(QStringLiteral("SELECT COUNT(*) FROM FORESIGHT_GROUP WHERE COLLECTION_ID = ?"), {id}))
                  .arg(s.count(QStringLiteral("SELECT COUNT(*) FROM TEXTURE WHERE COLLECTION_ID = ?"), {id})));
        print(
            QStringLiteral("  PAGE_SCHEME %1, ROW_SCHEME_MAP %2, ROW_TO_PAGE_SCHEME %3 row(s); chips with products %4")
                .arg(s.count(QStringLiteral("SELECT COUNT(*) FROM PAGE_SCHEME WHERE COLLECTION_ID = ?"), {id}))
                .arg(s.count(QStringLiteral("SELECT COUNT(*) FROM ROW_SCHEME_MAP WHERE COLLECTION_ID = ?"), {id}))
                .arg(s.count(QStringLiteral("SELECT COUNT(*) FROM ROW_TO_PAGE_SCHEME WHERE COLLECTION_ID = ?"), {id}))
                .arg(s.count(
                    QStringLiteral("SELECT COUNT(DISTINCT ROW_ID) FROM ROW_PRODUCT_MAP WHERE COLLECTION_ID = ?"),
                    {id})));
    }
    if (number == 0)
        print(QStringLiteral("No collections besides the system-wide one."));
}

} // namespace

const char *SummaryCommand::usage()
{
    return "inspect FILE.db [--check]  summarize a collection file; --check verifies the tables, columns and values";
}

int SummaryCommand::run(const QStringList &arguments)
{
    QString path;
    bool check = false;
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--check")) {
            check = true;
        } else if (argument.startsWith(QLatin1Char('-')) || !path.isEmpty()) {
            std::fprintf(stderr, "inspect: unexpected argument \"%s\"\nusage: huelink-collection %s\n",
                         argument.toUtf8().constData(), usage());
            return 2;
        } else {
            path = argument;
        }
    }
    if (path.isEmpty()) {
        std::fprintf(stderr, "usage: huelink-collection %s\n", usage());
        return 2;
    }
    if (!QFileInfo(path).isFile()) {
        std::fprintf(stderr, "%s: no such file\n", path.toUtf8().constData());
        return 1;
    }

    const QString connection = QStringLiteral("huelink-collection-inspect");
    int result = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QSqlQuery probe(db);
        if (!db.open() || !probe.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master"))) {
            std::fprintf(stderr, "%s: not a readable SQLite database\n", path.toUtf8().constData());
            result = 1;
        } else if (check) {
            const ReaderRequirements::Findings findings = ReaderRequirements::check(db);
            for (const QString &note : findings.notes)
                std::printf("%s: note: %s (the program does not read it)\n", path.toUtf8().constData(),
                            note.toUtf8().constData());
            for (const QString &problem : findings.errors)
                std::fprintf(stderr, "%s: %s\n", path.toUtf8().constData(), problem.toUtf8().constData());
            if (findings.errors.isEmpty())
                std::printf("%s: every table and column the program reads is present\n", path.toUtf8().constData());
            const QStringList valueProblems = ValueCheck::check(db);
            for (const QString &problem : valueProblems)
                std::fprintf(stderr, "%s: %s\n", path.toUtf8().constData(), problem.toUtf8().constData());
            result = findings.errors.isEmpty() && valueProblems.isEmpty() ? 0 : 1;
        } else {
            if (!ReaderRequirements::check(db).errors.isEmpty())
                print(QStringLiteral("(the file lacks tables or columns the program reads; see --check)"));
            printSummary(db, path);
        }
        probe.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return result;
}

} // namespace Tintor
