#pragma once

#include "color/ColorScience.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <vector>

namespace Tintor::DB {

// The nearest search over the chips of several collections at once, for the
// views and tools that match a whole list of colours: each collection's Lab
// list comes from the candidate cache once, and every colour is then ranked
// against all of them together by the pruned CIEDE2000 search.
class CollectionMatcher {
public:
    struct Match {
        QUuid collection;
        qint64 rowId = -1;
        double deltaE = 0.0;
    };

    // Replaces what was loaded. False, with `error` set, when a collection
    // cannot be read; a collection without usable chips adds nothing.
    bool load(const QList<QUuid> &collections, QString *error = nullptr);
    bool isEmpty() const { return m_candidates.empty(); }
    // Up to `count` chips, nearest first; of equal distances the chip of the
    // collection listed first wins.
    QList<Match> nearest(const ColorTriple &lab, int count) const;

private:
    struct Origin {
        int collection = 0;
        qint64 rowId = -1;
    };

    QList<QUuid> m_collections;
    std::vector<LabCandidate> m_candidates;
    std::vector<Origin> m_origins;
};

} // namespace Tintor::DB
