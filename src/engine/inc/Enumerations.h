#pragma once

// Enumerations whose numbers are shared between the collection files, the
// user state and the widgets. Engine header: no widget code may be needed
// to include it.
namespace Tintor {

// Direction of a roll of the card roller.
enum Direction {
    Forward = 0,
    Backward = 1,
};

// Mood numbers as stored in PAGE.MOOD and "ROW".MOOD; MoodAll is the filter
// value for every mood except offwhite and neutral.
enum Mood {
    MoodFresh = 1,
    MoodWarm = 2,
    MoodCalm = 3,
    MoodRich = 4,
    MoodOffwhite = 5,
    MoodNeutral = 6,
    MoodAll = 7,
};

// Pages of the tab bar, used as bit flags.
enum TabBarPage {
    PageOfColorSchemes = 1,
    PageOfProducts = 2,
    PageOfColorForesight = 4,
    PageOfTextures = 8,
};

// Scheme kinds; 1 to 8 equal SCHEME_ID in the collection files, 9 has no
// scheme row of its own.
enum SchemeKind {
    SchemeHarmonic = 1,
    SchemeContrast = 2,
    SchemeWideContrast = 3,
    SchemeDynamic = 4,
    SchemeDramatic = 5,
    SchemeNeutral = 6,
    SchemeTonalNeutral = 7,
    SchemeComplementaryNeutral = 8,
    SchemeNaturalNeutral = 9,
};

// The collection setting "card.type".
enum CardType {
    CardOther = 0,
    CardNormal = 1,
    CardPelvon = 2,
};

// Palette file formats: the XML palette file and the plain text list.
enum PaletteFileFormat {
    PaletteXml = 0,
    PaletteText = 1,
};

} // namespace Tintor
