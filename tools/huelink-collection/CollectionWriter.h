#pragma once

#include "CollectionSource.h"

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVector>

class QSqlQuery;

namespace Tintor {

class ProblemList;

// Writes a validated source into a collection file: the format's declared
// tables, view and seed rows, the tables and columns the reading queries
// rely on, and their indexes. Everything goes into a temporary file in one
// transaction; only a complete file is renamed to the output path.
// Database IDs are handed out in source order, so the same source always
// gives the same file.
class CollectionWriter {
public:
    explicit CollectionWriter(ProblemList &problems);
    ~CollectionWriter();

    bool write(const CollectionSource &source, const QString &outputPath);

    // Figures of the last write, for the tool's summary line.
    struct Counts {
        int collections = 0;
        int pages = 0;
        int chips = 0;
        int rowSchemeRows = 0;
        int rowPageSchemeRows = 0;
    };
    Counts counts() const { return m_counts; }

private:
    bool writeContent(const CollectionSource &source);
    bool exec(const QString &sql);
    bool prepare(QSqlQuery &query, const QString &sql);
    bool run(QSqlQuery &query);
    void assignIds(const CollectionSource &source);

    bool writeCollections(const CollectionSource &source);
    bool writePagesAndChips(const CollectionSource &source);
    bool writeSchemes(const CollectionSource &source);
    bool writeProducts(const CollectionSource &source);
    bool writeForesightAndTextures(const CollectionSource &source);

    qint64 pageId(int collection, int page) const { return m_pageIds.at(collection).at(page); }
    qint64 rowId(int collection, int chip) const { return m_rowIds.at(collection).at(chip); }

    ProblemList &m_problems;
    QString m_connection;
    QSqlDatabase m_db;
    QString m_outputName;
    QVector<QVector<qint64>> m_pageIds;
    QVector<QVector<qint64>> m_rowIds;
    // Per collection: card position by page index.
    QVector<QHash<int, int>> m_pageOfIndex;
    Counts m_counts;
};

} // namespace Tintor
