#include "SourceValidator.h"

#include "ProblemList.h"
#include "db/Schema.h"

#include <QSet>

#include <algorithm>

namespace Tintor {

namespace {

int numberOfSegments(const SourceCollection &collection)
{
    // The reader's default when the setting is missing.
    return collection.settingText(QStringLiteral("num.of.segments"), QStringLiteral("12")).toInt();
}

QString chipName(const ChipReference &reference)
{
    const QString in = reference.collection.isEmpty()
        ? QString()
        : QStringLiteral(" in collection \"%1\"").arg(reference.collection);
    if (reference.byCode)
        return QStringLiteral("chip with code \"%1\"%2").arg(reference.code, in);
    return QStringLiteral("chip at page %1, row %2%3").arg(reference.pageIndex).arg(reference.rowIndex).arg(in);
}

} // namespace

SourceValidator::SourceValidator(ProblemList &problems)
    : m_problems(problems)
{
}

void SourceValidator::validate(CollectionSource &source)
{
    m_index.clear();
    m_pageSchemeKeys.clear();
    m_pageBase.clear();
    m_chipBase.clear();
    qint64 pages = 0;
    qint64 chips = 0;
    for (const SourceCollection &collection : std::as_const(source.collections)) {
        m_pageBase << pages;
        m_chipBase << chips;
        pages += collection.pages.size();
        chips += collection.chips.size();
    }
    for (int c = 0; c < source.collections.size(); ++c)
        m_index << CollectionIndex();
    checkCollections(source);
    checkProducts(source);
    QHash<QString, QString> globalNames;
    for (const SourceGlobalSetting &setting : std::as_const(source.globalSettings)) {
        const QString key = setting.name.toLower();
        if (globalNames.contains(key))
            m_problems.error(setting.where,
                             QStringLiteral("global setting \"%1\" is already given at %2")
                                 .arg(setting.name, globalNames.value(key)));
        globalNames.insert(key, setting.where);
    }
    for (int c = 0; c < source.collections.size(); ++c) {
        checkSettingsAndTexts(source.collections[c]);
        checkPagesAndChips(source, c);
    }
    // Shared cards need every collection's own cards indexed first.
    for (int c = 1; c < source.collections.size(); ++c)
        indexSharedPages(source, c);
    for (int c = 0; c < source.collections.size(); ++c) {
        checkSchemes(source, c);
        checkForesight(source, c);
        checkTextures(source, c);
    }
}

void SourceValidator::checkCollections(CollectionSource &source)
{
    QHash<QUuid, QString> uuids;
    QHash<QString, QString> systemIds;
    QHash<int, QString> orders;
    for (int c = 1; c < source.collections.size(); ++c) {
        const SourceCollection &collection = source.collections.at(c);
        if (!collection.uuid.isNull()) {
            if (collection.uuid == DB::Schema::systemWideCollectionUuid())
                m_problems.error(collection.where + QStringLiteral(".uuid"),
                                 QStringLiteral("the all-ones UUID belongs to the system-wide collection"));
            else if (uuids.contains(collection.uuid))
                m_problems.error(collection.where + QStringLiteral(".uuid"),
                                 QStringLiteral("UUID %1 is already used by %2")
                                     .arg(collection.uuid.toString(), uuids.value(collection.uuid)));
            else
                uuids.insert(collection.uuid, collection.where);
        }
        if (!collection.systemId.isEmpty()) {
            const QString key = collection.systemId.toLower();
            if (key == QLatin1String("virtual"))
                m_problems.error(collection.where + QStringLiteral(".systemId"),
                                 QStringLiteral("\"VIRTUAL\" is the system-wide collection's systemId"));
            else if (systemIds.contains(key))
                m_problems.error(collection.where + QStringLiteral(".systemId"),
                                 QStringLiteral("systemId \"%1\" is already used by %2")
                                     .arg(collection.systemId, systemIds.value(key)));
            else
                systemIds.insert(key, collection.where);
        }
        if (collection.order >= 1) {
            if (orders.contains(collection.order))
                m_problems.error(collection.where + QStringLiteral(".order"),
                                 QStringLiteral("order %1 is already used by %2")
                                     .arg(collection.order)
                                     .arg(orders.value(collection.order)));
            else
                orders.insert(collection.order, collection.where);
        }
    }
}

void SourceValidator::checkSettingsAndTexts(SourceCollection &collection)
{
    // Setting names and keys compare without regard to case in the file.
    QHash<QString, QString> keys;
    for (const SourceSetting &setting : collection.settings) {
        const QString key = setting.name.toLower();
        if (keys.contains(key))
            m_problems.error(
                setting.where,
                QStringLiteral("setting \"%1\" is already given at %2").arg(setting.name, keys.value(key)));
        else
            keys.insert(key, setting.where);
    }
    keys.clear();
    for (const SourceLocaleText &text : collection.locale) {
        const QString key = text.key.toLower();
        if (keys.contains(key))
            m_problems.error(text.where,
                             QStringLiteral("locale key \"%1\" is already given at %2").arg(text.key, keys.value(key)));
        else
            keys.insert(key, text.where);
    }
    keys.clear();
    for (const SourceThemeItem &item : collection.theme) {
        const QString key = item.key.toLower();
        if (keys.contains(key))
            m_problems.error(item.where,
                             QStringLiteral("theme key \"%1\" is already given at %2").arg(item.key, keys.value(key)));
        else
            keys.insert(key, item.where);
    }
}

void SourceValidator::checkPagesAndChips(CollectionSource &source, int c)
{
    SourceCollection &collection = source.collections[c];
    CollectionIndex &index = m_index[c];
    if (collection.isSystemWide)
        return;
    const int segments = numberOfSegments(collection);

    QSet<QString> declaredNames;
    for (const SourcePage &page : std::as_const(collection.pages)) {
        if (!page.declaredName.isEmpty())
            declaredNames.insert(page.declaredName.toLower());
    }
    QHash<QString, QString> givenNames;
    for (int p = 0; p < collection.pages.size(); ++p) {
        SourcePage &page = collection.pages[p];
        if (index.pages.contains(page.pageIndex)) {
            m_problems.error(page.where,
                             QStringLiteral("page %1 is already defined at %2")
                                 .arg(page.pageIndex)
                                 .arg(collection.pages.at(index.pages.value(page.pageIndex).index).where));
            continue;
        }
        index.pages.insert(page.pageIndex, {c, p});
        if (page.segment > segments)
            m_problems.error(page.where,
                             QStringLiteral("segment %1 is outside 1..%2 (setting \"num.of.segments\")")
                                 .arg(page.segment)
                                 .arg(segments));
        if (!page.declaredName.isEmpty()) {
            const QString key = page.declaredName.toLower();
            if (givenNames.contains(key))
                m_problems.error(page.where,
                                 QStringLiteral("card name \"%1\" is already used at %2")
                                     .arg(page.declaredName, givenNames.value(key)));
            givenNames.insert(key, page.where);
        } else {
            // PAGE.NAME is unique per collection but never shown; any unique text does.
            QString name = page.names.at(0);
            if (name.isEmpty() || declaredNames.contains(name.toLower()))
                name = QStringLiteral("Card %1").arg(page.pageIndex);
            for (int n = 2; declaredNames.contains(name.toLower()); ++n)
                name = QStringLiteral("Card %1 (%2)").arg(page.pageIndex).arg(n);
            page.declaredName = name;
            declaredNames.insert(name.toLower());
        }
    }

    for (int i = 0; i < collection.chips.size(); ++i) {
        const SourceChip &chip = collection.chips.at(i);
        const auto page = index.pages.constFind(chip.pageIndex);
        if (page == index.pages.constEnd()) {
            m_problems.error(chip.where,
                             QStringLiteral("page %1 is not a card of this collection").arg(chip.pageIndex));
            continue;
        }
        const qint64 key = chipKey(chip.pageIndex, chip.rowIndex);
        if (index.chips.contains(key)) {
            m_problems.error(chip.where,
                             QStringLiteral("row %1 of page %2 is already defined at %3")
                                 .arg(chip.rowIndex)
                                 .arg(chip.pageIndex)
                                 .arg(collection.chips.at(index.chips.value(key).index).where));
            continue;
        }
        if (chip.segment > segments)
            m_problems.error(chip.where,
                             QStringLiteral("segment %1 is outside 1..%2 (setting \"num.of.segments\")")
                                 .arg(chip.segment)
                                 .arg(segments));
        index.chips.insert(key, {c, i});
        index.chipsOfPage[chip.pageIndex] << i;
        if (!chip.code.isEmpty())
            index.chipsByCode[chip.code.toLower()] << Slot{c, i};
    }
}

void SourceValidator::indexSharedPages(CollectionSource &source, int c)
{
    SourceCollection &collection = source.collections[c];
    CollectionIndex &index = m_index[c];
    const int segments = numberOfSegments(collection);
    for (SourceSharedPages &shared : collection.sharedPages) {
        const int owner = source.collectionIndex(shared.collection);
        if (shared.collection.isEmpty())
            continue;
        if (owner <= 0) {
            m_problems.error(shared.where, QStringLiteral("no collection with systemId \"%1\"").arg(shared.collection));
            continue;
        }
        if (owner == c) {
            m_problems.error(shared.where, QStringLiteral("a collection cannot share its own cards"));
            continue;
        }
        shared.ownerCollection = owner;
        const SourceCollection &ownerCollection = source.collections.at(owner);
        QList<int> pageIndexes = shared.pageIndexes;
        if (shared.all) {
            for (const SourcePage &page : ownerCollection.pages)
                pageIndexes << page.pageIndex;
        }
        for (int pageIndex : pageIndexes) {
            const auto page = m_index.at(owner).pages.constFind(pageIndex);
            if (page == m_index.at(owner).pages.constEnd()) {
                m_problems.error(
                    shared.where,
                    QStringLiteral("collection \"%1\" has no page %2").arg(shared.collection).arg(pageIndex));
                continue;
            }
            if (index.pages.contains(pageIndex)) {
                m_problems.error(shared.where,
                                 QStringLiteral("page %1 is already a card of this collection "
                                                "(page indexes must stay unique)")
                                     .arg(pageIndex));
                continue;
            }
            index.pages.insert(pageIndex, page.value());
            const SourcePage &card = ownerCollection.pages.at(page.value().index);
            if (card.segment > segments)
                m_problems.error(shared.where,
                                 QStringLiteral("shared page %1 has segment %2, outside 1..%3 "
                                                "(setting \"num.of.segments\" of this collection)")
                                     .arg(pageIndex)
                                     .arg(card.segment)
                                     .arg(segments));
        }
        shared.pageIndexes = pageIndexes;
        shared.all = false;
    }
    // The chips of the shared cards.
    for (const SourceSharedPages &shared : std::as_const(collection.sharedPages)) {
        if (shared.ownerCollection < 0)
            continue;
        const SourceCollection &owner = source.collections.at(shared.ownerCollection);
        for (int pageIndex : shared.pageIndexes) {
            if (index.pages.value(pageIndex).collection != shared.ownerCollection)
                continue;
            for (int i : m_index.at(shared.ownerCollection).chipsOfPage.value(pageIndex)) {
                const SourceChip &chip = owner.chips.at(i);
                index.chips.insert(chipKey(chip.pageIndex, chip.rowIndex), {shared.ownerCollection, i});
                if (!chip.code.isEmpty())
                    index.chipsByCode[chip.code.toLower()] << Slot{shared.ownerCollection, i};
            }
        }
    }
}

bool SourceValidator::resolve(const CollectionSource &source, int c, ChipReference &reference)
{
    int in = c;
    if (!reference.collection.isEmpty()) {
        in = source.collectionIndex(reference.collection);
        if (in <= 0) {
            m_problems.error(reference.where,
                             QStringLiteral("no collection with systemId \"%1\"").arg(reference.collection));
            return false;
        }
    }
    const CollectionIndex &index = m_index.at(in);
    Slot slot;
    if (reference.byCode) {
        const QList<Slot> slots = index.chipsByCode.value(reference.code.toLower());
        if (slots.size() > 1) {
            m_problems.error(reference.where,
                             QStringLiteral("code \"%1\" names %2 chips; use \"page\" and \"row\"")
                                 .arg(reference.code)
                                 .arg(slots.size()));
            return false;
        }
        if (!slots.isEmpty())
            slot = slots.first();
    } else {
        slot = index.chips.value(chipKey(reference.pageIndex, reference.rowIndex));
    }
    if (slot.collection < 0) {
        m_problems.error(reference.where, QStringLiteral("no %1").arg(chipName(reference)));
        return false;
    }
    reference.ownerCollection = slot.collection;
    reference.chip = slot.index;
    return true;
}

bool SourceValidator::resolve(const CollectionSource &source, int c, PageReference &reference)
{
    int in = c;
    if (!reference.collection.isEmpty()) {
        in = source.collectionIndex(reference.collection);
        if (in <= 0) {
            m_problems.error(reference.where,
                             QStringLiteral("no collection with systemId \"%1\"").arg(reference.collection));
            return false;
        }
    }
    const Slot slot = m_index.at(in).pages.value(reference.pageIndex);
    if (slot.collection < 0) {
        m_problems.error(reference.where,
                         QStringLiteral("no card with page index %1 in collection \"%2\"")
                             .arg(reference.pageIndex)
                             .arg(source.collections.at(in).systemId));
        return false;
    }
    reference.ownerCollection = slot.collection;
    reference.page = slot.index;
    return true;
}

void SourceValidator::checkSchemes(CollectionSource &source, int c)
{
    SourceCollection &collection = source.collections[c];
    // Integer keys: a large source has a hundred thousand of these rows.
    auto card
        = [&](const PageReference &reference) { return m_pageBase.at(reference.ownerCollection) + reference.page; };
    QHash<qint64, int> nextOrder;
    for (SourcePageScheme &scheme : collection.pageSchemes) {
        const bool ok = resolve(source, c, scheme.page) & resolve(source, c, scheme.schemePage);
        if (!ok)
            continue;
        const qint64 group = card(scheme.page) * 16 + scheme.scheme;
        if (scheme.order < 0)
            scheme.order = nextOrder.value(group, 0);
        nextOrder[group] = std::max(nextOrder.value(group, 0), scheme.order + 1);
        const SchemeKey orderKey{group, scheme.order};
        const SchemeKey pageKey{group, -1 - card(scheme.schemePage)};
        if (m_pageSchemeKeys.contains(orderKey))
            m_problems.error(scheme.where,
                             QStringLiteral("page %1 already has a card at order %2 of scheme %3 (%4)")
                                 .arg(scheme.page.pageIndex)
                                 .arg(scheme.order)
                                 .arg(scheme.scheme)
                                 .arg(m_pageSchemeKeys.value(orderKey)));
        else if (m_pageSchemeKeys.contains(pageKey))
            m_problems.error(scheme.where,
                             QStringLiteral("page %1 already lists page %2 in scheme %3 (%4)")
                                 .arg(scheme.page.pageIndex)
                                 .arg(scheme.schemePage.pageIndex)
                                 .arg(scheme.scheme)
                                 .arg(m_pageSchemeKeys.value(pageKey)));
        m_pageSchemeKeys.insert(orderKey, scheme.where);
        m_pageSchemeKeys.insert(pageKey, scheme.where);
    }

    // Defaults per chip and scheme, in the order the rows come. Chips are
    // numbered across the file for the keys.
    auto group = [&](const ChipReference &chip, int scheme) {
        return (m_chipBase.at(chip.ownerCollection) + chip.chip) * 16 + scheme;
    };
    QHash<qint64, QList<qint64>> schemePagesSeen;
    QHash<qint64, int> rowCounter;
    for (SourceRowScheme &scheme : collection.rowSchemes) {
        const bool ok = resolve(source, c, scheme.chip) & resolve(source, c, scheme.schemeChip);
        if (!ok)
            continue;
        const qint64 key = group(scheme.chip, scheme.scheme);
        const SourceChip &schemeChip
            = source.collections.at(scheme.schemeChip.ownerCollection).chips.at(scheme.schemeChip.chip);
        const qint64 schemePage = (qint64(scheme.schemeChip.ownerCollection) << 32) | quint32(schemeChip.pageIndex);
        QList<qint64> &pages = schemePagesSeen[key];
        if (!pages.contains(schemePage))
            pages << schemePage;
        if (scheme.pageOrder < 0)
            scheme.pageOrder = int(pages.indexOf(schemePage));
        const int position = ++rowCounter[key];
        if (scheme.rowOrder < 0)
            scheme.rowOrder = position;
    }
    QHash<qint64, int> pageCounter;
    for (SourceRowPageScheme &scheme : collection.rowPageSchemes) {
        const bool ok = resolve(source, c, scheme.chip) & resolve(source, c, scheme.schemePage);
        if (!ok)
            continue;
        const int position = pageCounter[group(scheme.chip, scheme.scheme)]++;
        if (scheme.order < 0)
            scheme.order = position;
    }
}

void SourceValidator::checkForesight(CollectionSource &source, int c)
{
    SourceCollection &collection = source.collections[c];
    for (SourceForesightGroup &group : collection.foresight) {
        QHash<int, QString> orders;
        for (SourceForesightEntry &entry : group.entries) {
            if (orders.contains(entry.order))
                m_problems.error(entry.where,
                                 QStringLiteral("order %1 is already used in this group at %2")
                                     .arg(entry.order)
                                     .arg(orders.value(entry.order)));
            orders.insert(entry.order, entry.where);
            if (!entry.chip.isGiven() || !resolve(source, c, entry.chip))
                continue;
            if (!entry.hasColor) {
                const SourceChip &chip = source.collections.at(entry.chip.ownerCollection).chips.at(entry.chip.chip);
                entry.red = chip.red;
                entry.green = chip.green;
                entry.blue = chip.blue;
                entry.hasColor = true;
            }
        }
    }
}

void SourceValidator::checkTextures(CollectionSource &source, int c)
{
    SourceCollection &collection = source.collections[c];
    for (SourceTexture &texture : collection.textures) {
        QHash<QString, QString> pages;
        for (SourceTextureMap &map : texture.maps) {
            if (!resolve(source, c, map.page))
                continue;
            const QString key = QStringLiteral("%1/%2").arg(map.page.ownerCollection).arg(map.page.page);
            if (pages.contains(key))
                m_problems.error(
                    map.where,
                    QStringLiteral("this texture is already mapped to that card at %1").arg(pages.value(key)));
            pages.insert(key, map.where);
        }
    }
}

void SourceValidator::checkProducts(CollectionSource &source)
{
    QHash<QString, QString> products;
    for (const SourceProduct &product : source.products) {
        if (product.key.isEmpty())
            continue;
        if (products.contains(product.key))
            m_problems.error(product.where,
                             QStringLiteral("product key \"%1\" is already used at %2")
                                 .arg(product.key, products.value(product.key)));
        products.insert(product.key, product.where);
    }
    QHash<QString, QString> groups;
    for (const SourceProductGroup &group : source.productGroups) {
        if (group.key.isEmpty())
            continue;
        if (groups.contains(group.key))
            m_problems.error(group.where,
                             QStringLiteral("product group key \"%1\" is already used at %2")
                                 .arg(group.key, groups.value(group.key)));
        groups.insert(group.key, group.where);
        QSet<QString> listed;
        for (const QString &key : group.productKeys) {
            if (!products.contains(key))
                m_problems.error(group.where, QStringLiteral("no product with key \"%1\"").arg(key));
            else if (listed.contains(key))
                m_problems.error(group.where, QStringLiteral("product \"%1\" is listed twice").arg(key));
            listed.insert(key);
        }
    }
    for (const SourceCollection &collection : source.collections) {
        for (const SourceChip &chip : collection.chips) {
            // A chip lists a handful of keys; a linear look for repeats is cheapest.
            for (int k = 0; k < chip.productKeys.size(); ++k) {
                const QString &key = chip.productKeys.at(k);
                if (!products.contains(key))
                    m_problems.error(chip.where, QStringLiteral("no product with key \"%1\"").arg(key));
                else if (chip.productKeys.indexOf(key) != k)
                    m_problems.error(chip.where, QStringLiteral("product \"%1\" is listed twice").arg(key));
            }
            for (int k = 0; k < chip.productGroupKeys.size(); ++k) {
                const QString &key = chip.productGroupKeys.at(k);
                if (!groups.contains(key))
                    m_problems.error(chip.where, QStringLiteral("no product group with key \"%1\"").arg(key));
                else if (chip.productGroupKeys.indexOf(key) != k)
                    m_problems.error(chip.where, QStringLiteral("product group \"%1\" is listed twice").arg(key));
            }
        }
    }
}

} // namespace Tintor
