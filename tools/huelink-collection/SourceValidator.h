#pragma once

#include "CollectionSource.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

namespace Tintor {

class ProblemList;

// Checks a read source as a whole — uniqueness of identities, indexes and
// keys, segments against "num.of.segments", references from schemes,
// textures, foresight entries and product maps — and resolves every chip
// and card reference to its position in the source. Fills the defaults
// that depend on other records (orders, declared card names, colours of
// foresight entries taken from their chip).
class SourceValidator {
public:
    explicit SourceValidator(ProblemList &problems);

    void validate(CollectionSource &source);

    // A card or chip by its position in the source.
    struct Slot {
        int collection = -1;
        int index = -1;
    };

    // Cards visible in a collection by page index (own and shared), and
    // the chips on them by (page index, row index) and by code.
    struct CollectionIndex {
        QHash<int, Slot> pages;
        QHash<qint64, Slot> chips;
        QHash<QString, QList<Slot>> chipsByCode;
        // Own cards only: the chips (indexes into the collection's chips) per page index.
        QHash<int, QList<int>> chipsOfPage;
    };

    static qint64 chipKey(int pageIndex, int rowIndex) { return (qint64(pageIndex) << 32) | quint32(rowIndex); }

private:
    void checkCollections(CollectionSource &source);
    void checkPagesAndChips(CollectionSource &source, int c);
    void indexSharedPages(CollectionSource &source, int c);
    void checkSettingsAndTexts(SourceCollection &collection);
    void checkSchemes(CollectionSource &source, int c);
    void checkForesight(CollectionSource &source, int c);
    void checkTextures(CollectionSource &source, int c);
    void checkProducts(CollectionSource &source);

    bool resolve(const CollectionSource &source, int c, ChipReference &reference);
    bool resolve(const CollectionSource &source, int c, PageReference &reference);

    ProblemList &m_problems;
    QList<CollectionIndex> m_index;
    // Unique across the file: the format's indexes on PAGE_SCHEME and
    // TEXTURE_MAP do not include the collection.
    // (card and scheme, order) and (card and scheme, -1 - scheme card).
    using SchemeKey = QPair<qint64, qint64>;
    QHash<SchemeKey, QString> m_pageSchemeKeys;
    // Cards numbered across the file: a collection's first card's number.
    QList<qint64> m_pageBase;
    QList<qint64> m_chipBase;
};

} // namespace Tintor
