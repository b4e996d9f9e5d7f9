#include "ui/look/ProgramFont.h"

#include "db/CollectionLookups.h"
#include "db/Schema.h"
#include "db/Status.h"
#include "ui/look/Theme.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>

namespace Tintor {

namespace {

const char kBuiltInFontList[] = "Myriad Pro,10;Arial,8";

struct FontState
{
    bool chosen = false;
    QString family;
    int baseSize = 0;
    QHash<QString, QFont> cache;
};

FontState &fontState()
{
    static FontState state;
    return state;
}

QString fontListText()
{
    const QUuid systemWide = DB::Schema::systemWideCollectionUuid();
    const QString key = themeItemKey(ThemeItem::PreferredFontFaces);
    QByteArray data;
    if (DB::themeData(systemWide, key, data) == DB::StatusOk)
        return QString::fromUtf8(data);
    if (DB::themeData(systemWide, key + themeItemKey(ThemeItem::PlatformSuffix), data) == DB::StatusOk)
        return QString::fromUtf8(data);
    return QString::fromLatin1(kBuiltInFontList);
}

constexpr int kFallbackBaseSize = 9;

void choosePreferredFamily(FontState &state)
{
    // The font database needs the GUI application; choosing without one
    // would find nothing and stick.
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return;
    state.chosen = true;
    const FontList list = parseFontList(fontListText());
    const int index = firstInstalledFamily(list, QFontDatabase::families());
    if (index < 0) {
        // No listed family is installed: the toolkit's default family at the
        // size the list names first, never at 0 points (unreadable text).
        state.baseSize = list.families.isEmpty() ? kFallbackBaseSize
                                                 : list.sizes.value(list.families.first(), kFallbackBaseSize);
        return;
    }
    state.family = list.families.at(index);
    state.baseSize = list.sizes.value(state.family);
}

QString fontKey(const QString &family, int pointSize, int weight, bool italic, int letterSpacing, int stretch)
{
    return QStringLiteral("%1,%2,%3,%4,%5,%6")
        .arg(family)
        .arg(pointSize)
        .arg(weight)
        .arg(italic ? 1 : 0)
        .arg(letterSpacing)
        .arg(stretch);
}

} // namespace

int programFontPointSize(int baseSize, int step)
{
    switch (step) {
    case 0:
        return baseSize - 2;
    case 1:
        return baseSize - 1;
    case 3:
        return baseSize + 1;
    case 4:
        return baseSize + 2;
    default:
        return baseSize;
    }
}

FontList builtInFontList()
{
    FontList list;
    list.families = {QStringLiteral("Myriad Pro"), QStringLiteral("Arial")};
    list.sizes.insert(list.families.at(0), 10);
    list.sizes.insert(list.families.at(1), 8);
    return list;
}

FontList parseFontList(const QString &text)
{
    FontList list;
    const QStringList entries = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &entry : entries) {
        const QStringList parts = entry.split(QLatin1Char(','), Qt::SkipEmptyParts);
        if (parts.size() != 2)
            continue;
        bool ok = false;
        const int size = parts.at(1).toInt(&ok, 10);
        const QString family = parts.at(0).trimmed();
        if (!ok || size <= 0 || family.isEmpty())
            continue;
        list.families.append(family);
        list.sizes.insert(family, size);
    }
    if (list.families.isEmpty() || list.sizes.size() < list.families.size())
        return builtInFontList();
    return list;
}

int firstInstalledFamily(const FontList &list, const QStringList &installed)
{
    for (int i = 0; i < list.families.size(); ++i) {
        if (installed.contains(list.families.at(i), Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

QString preferredFontFamily()
{
    FontState &state = fontState();
    if (!state.chosen)
        choosePreferredFamily(state);
    return state.family;
}

int programFontBaseSize()
{
    preferredFontFamily();
    return fontState().baseSize;
}

QFont programFont(FontStyle style, int step)
{
    FontState &state = fontState();
    const QString family = preferredFontFamily();
    const int pointSize = programFontPointSize(state.baseSize, step);
    const int weight = style == FontStyle::Bold ? QFont::Bold : QFont::Normal;
    const bool italic = style == FontStyle::Italic;
    const int letterSpacing = 100;
    const int stretch = QFont::Unstretched;

    const QString key = fontKey(family, pointSize, weight, italic, letterSpacing, stretch);
    auto it = state.cache.constFind(key);
    if (it == state.cache.cend()) {
        if (state.cache.isEmpty()) {
            qRemovePostRoutine(releaseProgramFonts);
            qAddPostRoutine(releaseProgramFonts);
        }
        QFont font(family, pointSize, weight, italic);
        font.setStyleStrategy(QFont::PreferAntialias);
        font.setLetterSpacing(QFont::PercentageSpacing, letterSpacing);
        font.setStretch(stretch);
        it = state.cache.insert(key, font);
    }
    return *it;
}

void releaseProgramFonts()
{
    fontState().cache.clear();
}

void forgetPreferredFontFamily()
{
    FontState &state = fontState();
    state.cache.clear();
    state.chosen = false;
    state.family.clear();
    state.baseSize = 0;
}

} // namespace Tintor
