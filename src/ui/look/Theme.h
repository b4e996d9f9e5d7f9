#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QUuid>

// Theme images and theme colours: rows of a collection's THEME table,
// normally the system-wide collection's, so the data alone dresses the
// interface. Interface thread only.
namespace Tintor {

// The fixed theme keys, in the order of the key table. The last entry is
// not a key of its own but the platform suffix some keys take.
enum class ThemeItem {
    MainBackground,
    BarBackground,
    DropdownArrowUp,
    DropdownArrowDown,
    CollectionSelectorTextColor,
    ColorWheelBackground,
    MoodCalmNormal,
    MoodCalmSelected,
    MoodFreshNormal,
    MoodFreshSelected,
    MoodNeutralNormal,
    MoodNeutralSelected,
    MoodOffWhiteNormal,
    MoodOffWhiteSelected,
    MoodRichNormal,
    MoodRichSelected,
    MoodWarmNormal,
    MoodWarmSelected,
    TickNormal,
    MoodAllMoods,
    MoodExternalColorsOnly,
    MoodDisabled,
    SearchMagnifyingGlass,
    RollBackwardNormal,
    RollBackwardDown,
    RollForwardNormal,
    RollForwardDown,
    SchemeContrastingNormal,
    SchemeContrastingSelected,
    SchemeDramaticNormal,
    SchemeDramaticSelected,
    SchemeDynamicNormal,
    SchemeDynamicSelected,
    SchemeHarmonisingNormal,
    SchemeHarmonisingSelected,
    SchemeTonalNeutralNormal,
    SchemeTonalNeutralSelected,
    SchemeWideContrastNormal,
    SchemeWideContrastSelected,
    MyPaletteEraser,
    MyPaletteGridOff,
    MyPaletteTrash,
    MyPaletteZoom,
    MyPaletteClearQuestionIcon,
    MyPaletteFullBack,
    MyPaletteFullSliderBackground,
    MyPaletteFullSliderBackgroundMask,
    MyPaletteFullSliderThumb,
    ColorForesightGroupOpen,
    ColorForesightGroupClosed,
    VerticalScrollbarThumb,
    ComplementaryNeutralMarkerNormal,
    ComplementaryNeutralMarkerSelected,
    Banner,
    WindowIcon,
    CapsureButtonNormal,
    PreferredFontFaces,
    AboutLogo,
    Mto,
    PlatformSuffix,
};

inline constexpr int kThemeItemCount = int(ThemeItem::PlatformSuffix) + 1;

// The key text of an item ("image.widget.main.background", ...).
QString themeItemKey(ThemeItem item);

// The collection's theme image under `key`, decoded once per process
// (ThemeImageCache). A missing item, one that does not decode or one over a
// decoding limit gives placeholderImage(wantedSize), so a missing picture
// shows as a red frame instead of leaving a hole.
QImage themeImage(const QUuid &collection, const QString &key, const QSize &wantedSize = QSize(16, 16));
QImage themeImage(const QUuid &collection, ThemeItem item, const QSize &wantedSize = QSize(16, 16));
// The same from the system-wide collection, which holds most images.
QImage themeImage(const QString &key, const QSize &wantedSize = QSize(16, 16));
QImage themeImage(ThemeItem item, const QSize &wantedSize = QSize(16, 16));

// A white image of `size` with a red cosmetic frame one pixel inside its
// edge; a null image when either side is below 1.
QImage placeholderImage(const QSize &size);

// The system-wide theme colour under `key`, written as "r,g,b" or
// "r,g,b,a"; `defaultColor` when missing or malformed.
QColor themeColor(const QString &key, const QColor &defaultColor);
QColor themeColor(ThemeItem item, const QColor &defaultColor);

// The parsing behind themeColor, on the raw item bytes.
QColor parseThemeColor(const QByteArray &data, const QColor &defaultColor);

} // namespace Tintor
