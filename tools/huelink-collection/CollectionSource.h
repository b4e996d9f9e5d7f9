#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

namespace Tintor {

// The in-memory form of a collection source: what the reader takes from the
// manifest and its tables, what the validator checks and resolves, and what
// the writer turns into a collection file. Database IDs appear nowhere;
// chips and cards are named by page index, row index or code, and every
// item keeps the place it came from for error messages.
struct SourceSetting {
    QString name;
    QStringList values; // one per VALUE_INDEX
    QString where;
};

struct SourceLocaleText {
    QString key;
    QString text;
    QString locale;
    QString where;
};

struct SourceThemeItem {
    QString key;
    QByteArray data;
    QString where;
};

struct SourcePage {
    int pageIndex = 0;
    int segment = 0;
    QStringList names; // ten
    QStringList extras; // ten
    bool exterior = false;
    int mood = 0;
    QString declaredName; // PAGE.NAME; filled by the validator when not given
    QString where;
};

struct SourceChip {
    int pageIndex = 0;
    int rowIndex = 0;
    QString code;
    QStringList names; // ten
    QStringList extras; // ten
    int red = 0;
    int green = 0;
    int blue = 0;
    bool hasLab = false;
    double l = 0.0;
    double a = 0.0;
    double b = 0.0;
    int segment = 0; // 0: the card's segment
    bool neutral = false;
    bool white = false;
    bool madeToOrder = false;
    int mood = 0;
    int schemePos = 0;
    int nschemePos = 0;
    QStringList productKeys;
    QStringList productGroupKeys;
    QString where;
};

// A chip named in a table. `collection` is a SYSTEMID or empty for the
// table's own collection. The validator fills the resolved position.
struct ChipReference {
    QString collection;
    bool byCode = false;
    QString code;
    int pageIndex = 0;
    int rowIndex = 0;
    QString where;

    bool isGiven() const { return byCode || pageIndex != 0 || rowIndex != 0; }

    int ownerCollection = -1; // index into CollectionSource::collections
    int chip = -1; // index into that collection's chips
};

// A card named by page index in a collection (empty: the table's own).
struct PageReference {
    QString collection;
    int pageIndex = 0;
    QString where;

    int ownerCollection = -1;
    int page = -1;
};

struct SourcePageScheme {
    PageReference page;
    int scheme = 0;
    PageReference schemePage;
    int order = 0;
    QString where;
};

struct SourceRowScheme {
    ChipReference chip;
    int scheme = 0;
    ChipReference schemeChip;
    int pageOrder = 0;
    int rowOrder = 0;
    QString where;
};

struct SourceRowPageScheme {
    ChipReference chip;
    int scheme = 0;
    PageReference schemePage;
    int order = 0;
    QString where;
};

struct SourceForesightEntry {
    int order = 0;
    QString name1;
    QString name2;
    bool hasColor = false;
    int red = 0;
    int green = 0;
    int blue = 0;
    ChipReference chip;
    QString where;
};

struct SourceForesightGroup {
    QString name;
    bool defaultOpen = false;
    int order = 0;
    QList<SourceForesightEntry> entries;
    QString where;
};

struct SourceTextureMap {
    PageReference page;
    double alpha = 1.0;
    QString name;
    QString where;
};

struct SourceTexture {
    QString name;
    QByteArray image;
    double baseAlpha = 1.0;
    QList<SourceTextureMap> maps;
    QString where;
};

struct SourceSharedPages {
    QString collection;
    bool all = false;
    QList<int> pageIndexes;
    QString where;

    int ownerCollection = -1;
};

struct SourceCollection {
    bool isSystemWide = false;
    QUuid uuid;
    QString systemId;
    QString name;
    int version = 1;
    int order = 0;
    bool enabled = true;
    QString where;

    QList<SourceSetting> settings;
    QList<SourceLocaleText> locale;
    QList<SourceThemeItem> theme;
    QList<SourcePage> pages;
    QList<SourceChip> chips;
    QList<SourceSharedPages> sharedPages;
    QList<SourcePageScheme> pageSchemes;
    bool hasRowSchemes = false; // false: computed from the page schemes
    QList<SourceRowScheme> rowSchemes;
    bool hasRowPageSchemes = false; // false: computed from the page schemes
    QList<SourceRowPageScheme> rowPageSchemes;
    QList<SourceForesightGroup> foresight;
    QList<SourceTexture> textures;

    // The value of a single-valued setting, or `fallback`.
    QString settingText(const QString &name, const QString &fallback = QString()) const;
};

struct SourceProduct {
    QString key;
    QString name;
    QString code;
    QString where;
};

struct SourceProductGroup {
    QString key;
    QString name;
    QStringList productKeys;
    QString where;
};

struct SourceGlobalSetting {
    QString name;
    QString value;
    QString where;
};

struct CollectionSource {
    // Index 0 is the system-wide collection; the others follow in manifest
    // order, and the index is the COLLECTION.ID they get.
    QList<SourceCollection> collections;
    QList<SourceProduct> products;
    QList<SourceProductGroup> productGroups;
    QList<SourceGlobalSetting> globalSettings;

    // An empty source: only the system-wide collection.
    CollectionSource();

    // Index of the collection with that SYSTEMID (case-insensitive), or -1.
    int collectionIndex(const QString &systemId) const;
};

// The ten-element lists chips and cards carry.
QStringList tenEmptyTexts();

} // namespace Tintor
