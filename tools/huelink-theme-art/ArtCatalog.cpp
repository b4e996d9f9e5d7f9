#include "ArtCatalog.h"

#include "ControlArt.h"
#include "SurfaceArt.h"
#include "TextureArt.h"

#include <QPainter>

namespace Tintor::ThemeArt {

namespace {

struct NamedLook
{
    QString folder;
    CollectionLook look;
};

QVector<NamedLook> collectionLooks()
{
    return {
        {QStringLiteral("systemwide"),
         {QStringLiteral("Huelink"), QStringLiteral("Colour collections for the image editor"),
          {QColor(226, 88, 64), QColor(242, 168, 76), QColor(240, 216, 110), QColor(126, 190, 120),
           QColor(70, 160, 170), QColor(64, 118, 186), QColor(122, 96, 170)},
          QColor(31, 149, 201)}},
        {QStringLiteral("interior"),
         {QStringLiteral("Vestrel Interiors"), QStringLiteral("Over a thousand colours for walls, wood and ceilings"),
          {QColor(239, 233, 218), QColor(214, 196, 168), QColor(168, 184, 170), QColor(120, 150, 170),
           QColor(70, 92, 120), QColor(176, 110, 86), QColor(122, 58, 66)},
          QColor(208, 150, 92)}},
        {QStringLiteral("heritage"),
         {QStringLiteral("Vestrel Heritage Facades"), QStringLiteral("Historic exterior colours, card by card"),
          {QColor(226, 214, 188), QColor(196, 172, 132), QColor(150, 96, 70), QColor(110, 122, 98),
           QColor(86, 100, 112), QColor(64, 70, 74)},
          QColor(150, 170, 120)}},
        {QStringLiteral("trade"),
         {QStringLiteral("Vestrel Trade Facades"), QStringLiteral("Facade colours, scheme cards for every chip"),
          {QColor(214, 204, 184), QColor(170, 150, 118), QColor(132, 84, 64), QColor(96, 112, 92),
           QColor(74, 88, 104), QColor(52, 58, 64)},
          QColor(120, 150, 176)}},
        {QStringLiteral("pelvon"),
         {QStringLiteral("Pelvon Made to Order"), QStringLiteral("Three-colour schemes, mixed on request"),
          {QColor(30, 76, 116), QColor(222, 170, 60), QColor(190, 62, 60), QColor(236, 230, 214),
           QColor(44, 110, 96)},
          QColor(220, 120, 70)}},
        {QStringLiteral("archive"),
         {QStringLiteral("Vestrel Archive"), QStringLiteral("Retired colours, kept for reference"),
          {QColor(180, 170, 150), QColor(150, 140, 128), QColor(120, 112, 104)},
          QColor(150, 140, 128)}},
    };
}

} // namespace

QVector<ArtPiece> artCatalog()
{
    QVector<ArtPiece> pieces;
    const QString theme = QStringLiteral("theme");
    auto add = [&pieces](const QString &folder, const QString &name, QSize size, Backdrop backdrop,
                         std::function<void(QPainter &, const QSizeF &)> paint) {
        pieces.push_back({folder, name, size, backdrop, std::move(paint)});
    };

    add(theme, QStringLiteral("image.widget.main.background"), {800, 600}, Backdrop::Opaque, paintMainBackground);
    add(theme, QStringLiteral("image.widget.bar.background"), {256, 30}, Backdrop::Opaque, paintBarBackground);
    add(theme, QStringLiteral("image.widget.dropdown.arrow.up"), {12, 12}, Backdrop::Light,
        [](QPainter &p, const QSizeF &s) { paintDropDownArrow(p, s, true); });
    add(theme, QStringLiteral("image.widget.dropdown.arrow.down"), {12, 12}, Backdrop::Light,
        [](QPainter &p, const QSizeF &s) { paintDropDownArrow(p, s, false); });
    add(theme, QStringLiteral("image.widget.color.wheel.background"), {122, 122}, Backdrop::Dark,
        [](QPainter &p, const QSizeF &s) { paintColorWheel(p, s, WheelLayout()); });

    const struct
    {
        const char *name;
        MoodArt mood;
    } moods[] = {{"calm", MoodArt::Calm},         {"fresh", MoodArt::Fresh}, {"neutral", MoodArt::Neutral},
                 {"offwhite", MoodArt::Offwhite}, {"rich", MoodArt::Rich},   {"warm", MoodArt::Warm}};
    for (const auto &entry : moods) {
        for (bool selected : {false, true}) {
            const MoodArt mood = entry.mood;
            add(theme,
                QStringLiteral("image.mood.%1.%2")
                    .arg(QLatin1String(entry.name), selected ? QStringLiteral("selected") : QStringLiteral("normal")),
                {23, 21}, Backdrop::Dark,
                [mood, selected](QPainter &p, const QSizeF &s) { paintMoodButton(p, s, mood, selected); });
        }
    }
    add(theme, QStringLiteral("image.tick.normal"), {12, 11}, Backdrop::Dark, paintTick);
    add(theme, QStringLiteral("image.mood.all.moods"), {23, 21}, Backdrop::Dark, paintAllMoods);
    add(theme, QStringLiteral("image.mood.external.colors.only"), {23, 21}, Backdrop::Dark, paintExteriorOnly);
    add(theme, QStringLiteral("image.mood.disabled"), {11, 11}, Backdrop::Dark, paintMoodDisabled);
    add(theme, QStringLiteral("image.widget.search.magnifying.glass"), {16, 16}, Backdrop::Dark,
        paintMagnifyingGlass);
    for (bool forward : {false, true}) {
        for (bool pressed : {false, true}) {
            add(theme,
                QStringLiteral("image.widget.roll.%1.%2")
                    .arg(forward ? QStringLiteral("forward") : QStringLiteral("backward"),
                         pressed ? QStringLiteral("down") : QStringLiteral("normal")),
                {22, 22}, Backdrop::Dark,
                [forward, pressed](QPainter &p, const QSizeF &s) { paintRollButton(p, s, forward, pressed); });
        }
    }
    const struct
    {
        const char *name;
        SchemeArt scheme;
    } schemes[] = {{"contrasting", SchemeArt::Contrasting},
                   {"dramatic", SchemeArt::Dramatic},
                   {"dynamic", SchemeArt::Dynamic},
                   {"harmonising", SchemeArt::Harmonising},
                   {"tonal.neutral", SchemeArt::TonalNeutral},
                   {"wide.contrast", SchemeArt::WideContrast}};
    for (const auto &entry : schemes) {
        for (bool selected : {false, true}) {
            const SchemeArt scheme = entry.scheme;
            add(theme,
                QStringLiteral("image.scheme.%1.%2")
                    .arg(QLatin1String(entry.name), selected ? QStringLiteral("selected") : QStringLiteral("normal")),
                {44, 44}, Backdrop::Dark,
                [scheme, selected](QPainter &p, const QSizeF &s) { paintSchemeButton(p, s, scheme, selected); });
        }
    }
    const struct
    {
        const char *key;
        BarIcon icon;
    } barIcons[] = {{"image.mypalette.eraser", BarIcon::Eraser},
                    {"image.mypalette.grid.off", BarIcon::Grid},
                    {"image.mypalette.trash", BarIcon::Trash},
                    {"image.mypalette.zoom", BarIcon::Zoom}};
    for (const auto &entry : barIcons) {
        const BarIcon icon = entry.icon;
        add(theme, QLatin1String(entry.key), {16, 16}, Backdrop::Light,
            [icon](QPainter &p, const QSizeF &s) { paintBarIcon(p, s, icon); });
    }
    add(theme, QStringLiteral("image.mypalette.clear.question.icon"), {128, 128}, Backdrop::Light, paintQuestionIcon);
    add(theme, QStringLiteral("image.mypalettefull.back"), {16, 16}, Backdrop::Light,
        [](QPainter &p, const QSizeF &s) { paintBarIcon(p, s, BarIcon::Back); });
    add(theme, QStringLiteral("image.mypalettefull.slider.background"), {21, 7}, Backdrop::Light, paintSliderGroove);
    add(theme, QStringLiteral("image.mypalettefull.slider.background.mask"), {21, 7}, Backdrop::Opaque,
        paintSliderGrooveMask);
    add(theme, QStringLiteral("image.mypalettefull.slider.thumb"), {13, 17}, Backdrop::Light, paintSliderThumb);
    add(theme, QStringLiteral("image.color.foresight.group.open"), {12, 12}, Backdrop::Dark,
        [](QPainter &p, const QSizeF &s) { paintDisclosure(p, s, true); });
    add(theme, QStringLiteral("image.color.foresight.group.closed"), {12, 12}, Backdrop::Dark,
        [](QPainter &p, const QSizeF &s) { paintDisclosure(p, s, false); });
    add(theme, QStringLiteral("image.vertical.scrollbar.thumb"), {6, 32}, Backdrop::Dark, paintScrollBarThumb);
    add(theme, QStringLiteral("image.complementary.neutral.marker.normal"), {9, 9}, Backdrop::Dark,
        [](QPainter &p, const QSizeF &s) { paintNeutralMarker(p, s, false); });
    add(theme, QStringLiteral("image.complementary.neutral.marker.selected"), {9, 9}, Backdrop::Dark,
        [](QPainter &p, const QSizeF &s) { paintNeutralMarker(p, s, true); });
    add(theme, QStringLiteral("image.window.icon"), {64, 64}, Backdrop::Dark, paintWindowIcon);
    add(theme, QStringLiteral("image.capsure.button.normal"), {16, 16}, Backdrop::Light, paintCapsureButton);

    // The banner, the about logo and the made-to-order marker are read from
    // each collection's own rows; the system-wide set is the fallback art.
    for (const NamedLook &named : collectionLooks()) {
        const QString folder = named.folder == QLatin1String("systemwide")
                                   ? theme
                                   : QStringLiteral("collections/") + named.folder;
        const CollectionLook look = named.look;
        add(folder, QStringLiteral("image.banner"), {800, 70}, Backdrop::Opaque,
            [look](QPainter &p, const QSizeF &s) { paintBanner(p, s, look); });
        add(folder, QStringLiteral("image.about.logo"), {128, 48}, Backdrop::Light,
            [look](QPainter &p, const QSizeF &s) { paintAboutLogo(p, s, look); });
        add(folder, QStringLiteral("image.mto"), {96, 50}, Backdrop::Opaque, paintMadeToOrderMarker);
    }

    for (const TextureInfo &texture : textureCatalog()) {
        const TextureKind kind = texture.kind;
        add(QStringLiteral("textures"), texture.fileName, {148, 96}, Backdrop::Opaque,
            [kind](QPainter &p, const QSizeF &s) { paintTexture(p, s, kind); });
    }
    return pieces;
}

} // namespace Tintor::ThemeArt
