#include "ComputedSchemeMaps.h"

#include "CollectionSource.h"

#include <QSqlError>
#include <QSqlQuery>

namespace Tintor {

ComputedSchemeMaps::ComputedSchemeMaps(const QSqlDatabase &db)
    : m_db(db)
{
}

bool ComputedSchemeMaps::exec(const QString &sql)
{
    QSqlQuery query(m_db);
    if (!query.exec(sql)) {
        m_error = QStringLiteral("SQL failed: %1: %2").arg(sql, query.lastError().text());
        return false;
    }
    return true;
}

bool ComputedSchemeMaps::prepare(QSqlQuery &query, const QString &sql)
{
    if (!query.prepare(sql)) {
        m_error = QStringLiteral("SQL failed: %1: %2").arg(sql, query.lastError().text());
        return false;
    }
    return true;
}

bool ComputedSchemeMaps::run(QSqlQuery &query)
{
    if (!query.exec()) {
        m_error = QStringLiteral("SQL failed: %1: %2").arg(query.lastQuery(), query.lastError().text());
        return false;
    }
    return true;
}

bool ComputedSchemeMaps::write(const CollectionSource &source)
{
    // The rank of each non-empty scheme card within its scheme is worked
    // out once per PAGE_SCHEME row instead of once per chip. Rows go in by
    // card, scheme, order and row index, the order the indexes give, so the
    // file stays the same from build to build.
    const QString position = QStringLiteral("(CASE WHEN PS.SCHEME_ID BETWEEN 6 AND 8 THEN %1.NSCHEME_POS "
                                            "ELSE %1.SCHEME_POS END)");
    const QString ranks = QStringLiteral(
        "INSERT INTO temp.SCHEME_RANK(PAGE_SCHEME_ID, RANK) SELECT PS.ID, ROW_NUMBER() OVER "
        "(PARTITION BY PS.PAGE_ID, PS.SCHEME_ID ORDER BY PS.\"ORDER\") FROM PAGE_SCHEME PS "
        "WHERE PS.COLLECTION_ID = ? AND EXISTS (SELECT 1 FROM \"ROW\" S WHERE S.PAGE_ID = PS.SCHEME_PAGE_ID)");
    const QString rowSchemes
        = QStringLiteral(
              "INSERT INTO ROW_SCHEME_MAP(COLLECTION_ID, ROW_ID, SCHEME_ID, SCHEME_ROW_ID, PAGE_ORDER, ROW_ORDER) "
              "SELECT PS.COLLECTION_ID, R.ID, PS.SCHEME_ID, COALESCE("
              "(SELECT S.ID FROM \"ROW\" S WHERE S.PAGE_ID = PS.SCHEME_PAGE_ID AND %1 > 0 AND %2 = %1 "
              "ORDER BY S.ROW_INDEX LIMIT 1), "
              "(SELECT S.ID FROM \"ROW\" S WHERE S.PAGE_ID = PS.SCHEME_PAGE_ID AND S.ROW_INDEX = R.ROW_INDEX "
              "ORDER BY S.ID LIMIT 1), "
              "(SELECT S.ID FROM \"ROW\" S WHERE S.PAGE_ID = PS.SCHEME_PAGE_ID ORDER BY S.ROW_INDEX DESC LIMIT 1)), "
              "PS.\"ORDER\", K.RANK "
              "FROM PAGE_SCHEME PS JOIN temp.SCHEME_RANK K ON K.PAGE_SCHEME_ID = PS.ID "
              "JOIN \"ROW\" R ON R.PAGE_ID = PS.PAGE_ID WHERE PS.COLLECTION_ID = ? "
              "ORDER BY PS.PAGE_ID, PS.SCHEME_ID, PS.\"ORDER\", R.ROW_INDEX")
              .arg(position.arg(QStringLiteral("R")), position.arg(QStringLiteral("S")));
    const QString rowPageSchemes
        = QStringLiteral("INSERT INTO ROW_TO_PAGE_SCHEME(COLLECTION_ID, ROW_ID, SCHEME_ID, SCHEME_PAGE_ID, \"ORDER\") "
                         "SELECT PS.COLLECTION_ID, R.ID, PS.SCHEME_ID, PS.SCHEME_PAGE_ID, PS.\"ORDER\" "
                         "FROM PAGE_SCHEME PS JOIN \"ROW\" R ON R.PAGE_ID = PS.PAGE_ID WHERE PS.COLLECTION_ID = ? "
                         "ORDER BY PS.PAGE_ID, PS.SCHEME_ID, PS.\"ORDER\", R.ROW_INDEX");
    if (!exec(QStringLiteral("CREATE TEMP TABLE SCHEME_RANK(PAGE_SCHEME_ID INTEGER PRIMARY KEY, RANK INTEGER)")))
        return false;
    QSqlQuery rank(m_db);
    QSqlQuery rowScheme(m_db);
    QSqlQuery rowPageScheme(m_db);
    if (!prepare(rank, ranks) || !prepare(rowScheme, rowSchemes) || !prepare(rowPageScheme, rowPageSchemes))
        return false;
    for (int c = 0; c < source.collections.size(); ++c) {
        const SourceCollection &collection = source.collections.at(c);
        if (collection.pageSchemes.isEmpty())
            continue;
        if (!collection.hasRowSchemes) {
            rank.addBindValue(c);
            rowScheme.addBindValue(c);
            if (!exec(QStringLiteral("DELETE FROM temp.SCHEME_RANK")) || !run(rank) || !run(rowScheme))
                return false;
            m_rowSchemeRows += rowScheme.numRowsAffected();
        }
        if (!collection.hasRowPageSchemes) {
            rowPageScheme.addBindValue(c);
            if (!run(rowPageScheme))
                return false;
            m_rowPageSchemeRows += rowPageScheme.numRowsAffected();
        }
    }
    rank.finish();
    rowScheme.finish();
    rowPageScheme.finish();
    return exec(QStringLiteral("DROP TABLE temp.SCHEME_RANK"));
}

} // namespace Tintor
