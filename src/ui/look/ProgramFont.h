#pragma once

#include <QFont>
#include <QHash>
#include <QString>
#include <QStringList>

// The program's fonts: one family, chosen once from the system-wide
// collection's font list, in five sizes around its base size. Fonts are
// cached by their attributes. Interface thread only.
namespace Tintor {

enum class FontStyle {
    Normal,
    Italic,
    Bold,
};

// The font of `style` at `step`: 0 is base - 2 points, 1 base - 1,
// 2 the base size, 3 base + 1, 4 base + 2; any other step the base size.
QFont programFont(FontStyle style, int step);

// The chosen family, chosen on first use; empty when no listed family is
// installed (the fonts then take the toolkit's default family).
QString preferredFontFamily();
// The point size the chosen family is listed with (the first listed size
// when no listed family is installed); 0 until the list was read.
int programFontBaseSize();

// The point size of `step` around `baseSize`.
int programFontPointSize(int baseSize, int step);

// A parsed font list: families in order with their base sizes.
struct FontList
{
    QStringList families;
    QHash<QString, int> sizes;
};

// Reads "Family,size;Family,size;...". Entries that are not exactly a
// family and a size above 0 are dropped; an empty result or a family named
// twice gives the built-in list.
FontList parseFontList(const QString &text);
FontList builtInFontList();

// The index in `list` of the first family that `installed` names, compared
// without regard to case; -1 when there is none.
int firstInstalledFamily(const FontList &list, const QStringList &installed);

// Drops the cached fonts. Done automatically when the application object
// goes, since fonts must not outlive the font database they came from.
void releaseProgramFonts();
// Forgets the chosen family and base size as well, so the next call
// chooses again.
void forgetPreferredFontFamily();

} // namespace Tintor
