#pragma once

#include <QSqlDatabase>
#include <QString>

class QSqlQuery;

namespace Tintor {

struct CollectionSource;

// Fills ROW_SCHEME_MAP and ROW_TO_PAGE_SCHEME from PAGE_SCHEME for the
// collections whose source gives no such table. For a chip on card P and a
// scheme S of P, the scheme chip on each scheme card is the chip with the
// same scheme position (the neutral position for schemes 6 to 8) when the
// chip has one above 0 and the card holds it, else the chip with the same
// row index, else the card's last chip. Runs as SQL over the written and
// indexed tables: at a hundred thousand chips that is several times faster
// than binding the rows one by one.
class ComputedSchemeMaps {
public:
    explicit ComputedSchemeMaps(const QSqlDatabase &db);

    bool write(const CollectionSource &source);
    QString error() const { return m_error; }
    int rowSchemeRows() const { return m_rowSchemeRows; }
    int rowPageSchemeRows() const { return m_rowPageSchemeRows; }

private:
    bool exec(const QString &sql);
    bool prepare(QSqlQuery &query, const QString &sql);
    bool run(QSqlQuery &query);

    QSqlDatabase m_db;
    QString m_error;
    int m_rowSchemeRows = 0;
    int m_rowPageSchemeRows = 0;
};

} // namespace Tintor
