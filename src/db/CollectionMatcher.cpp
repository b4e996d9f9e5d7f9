#include "db/CollectionMatcher.h"

#include "db/SearchQueries.h"
#include "db/Status.h"

namespace Tintor::DB {

bool CollectionMatcher::load(const QList<QUuid> &collections, QString *error)
{
    m_collections.clear();
    m_candidates.clear();
    m_origins.clear();
    for (const QUuid &uuid : collections) {
        std::vector<LabCandidate> candidates;
        const int status = matchCandidates(uuid, candidates);
        if (status != StatusOk) {
            if (error) {
                *error = QStringLiteral("cannot read the colours of collection %1 (status %2)")
                             .arg(uuid.toString(QUuid::WithBraces))
                             .arg(status);
            }
            m_candidates.clear();
            m_origins.clear();
            return false;
        }
        const int index = int(m_collections.size());
        m_collections.append(uuid);
        // The reference becomes the position in the combined list: row IDs
        // of different files may coincide.
        for (LabCandidate candidate : candidates) {
            m_origins.push_back({ index, qint64(candidate.reference) });
            candidate.reference = quintptr(m_origins.size() - 1);
            m_candidates.push_back(candidate);
        }
    }
    return true;
}

QList<CollectionMatcher::Match> CollectionMatcher::nearest(const ColorTriple &lab, int count) const
{
    std::vector<NearestMatch> found;
    findNearestColors(lab, m_candidates, found, count);
    QList<Match> matches;
    matches.reserve(int(found.size()));
    for (const NearestMatch &match : found) {
        const Origin &origin = m_origins.at(std::size_t(match.reference));
        matches.append({ m_collections.at(origin.collection), origin.rowId, match.distance });
    }
    return matches;
}

} // namespace Tintor::DB
