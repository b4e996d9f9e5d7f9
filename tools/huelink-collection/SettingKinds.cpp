#include "SettingKinds.h"

#include "db/CollectionSettings.h"
#include "db/Schema.h"

#include <QHash>

#include <climits>
#include <cmath>

namespace Tintor::SettingKinds {

namespace {

const QHash<QString, Kind> &kindTable()
{
    static const QHash<QString, Kind> table = [] {
        QHash<QString, Kind> t;
        for (const char *key : {"collection.enabled", "has.exterior.filter", "mood.visible", "has.color.schemes.page",
                                "has.product.groups.page", "has.textures.page", "has.color.foresight.page",
                                "export.color.name.append.product.code", "capsure.enabled", "save.palette.text.format",
                                "must.fill", "color.match.show.rgb.and.de"})
            t.insert(QString::fromLatin1(key), Kind::Flag);
        t.insert(QStringLiteral("max.chips.on.a.page"), Kind::NonNegativeInteger);
        t.insert(QStringLiteral("num.of.segments"), Kind::PositiveInteger);
        t.insert(QStringLiteral("widget.color.foresight.chip.width"), Kind::PositiveInteger);
        t.insert(QStringLiteral("widget.color.foresight.chip.height"), Kind::PositiveInteger);
        t.insert(QStringLiteral("capsure.priority"), Kind::Integer);
        t.insert(QStringLiteral("first.segment.angle"), Kind::Number);
        for (const char *key :
             {"card.type", "segment.increment.orientation", "mode.card", "mode.mood", "product.groups.mode"})
            t.insert(QString::fromLatin1(key), Kind::Choice);
        t.insert(QStringLiteral("texture.size"), Kind::Size);
        t.insert(QStringLiteral("cie2000.delta.intervals"), Kind::NumberList);
        t.insert(QStringLiteral("tab.bar.page"), Kind::PageList);
        t.insert(QStringLiteral("schemes"), Kind::SchemeList);
        for (const char *key : {"page.name.search.order", "page.name.display.order", "page.extra.display.order",
                                "row.name.search.order", "row.name.display.order", "row.extra.display.order"})
            t.insert(QString::fromLatin1(key), Kind::NameOrder);
        for (const char *key :
             {"collection.name", "header.link", "help.link", "product.group.productname.productcode.separator:string",
              "capsure.folder.to.watch.windows", "capsure.folder.to.watch.macos", "capsure.filename.to.watch",
              "opacities", "color.name.order", "color.auxiliary.order", "color.name.search.order"})
            t.insert(QString::fromLatin1(key), Kind::Text);
        return t;
    }();
    return table;
}

QStringList choicesOf(const QString &key)
{
    if (key == QLatin1String("card.type"))
        return {QStringLiteral("normal"), QStringLiteral("pelvon")};
    if (key == QLatin1String("segment.increment.orientation"))
        return {QStringLiteral("CW"), QStringLiteral("CCW")};
    if (key == QLatin1String("mode.card"))
        return {QStringLiteral("ModeColorToColor"), QStringLiteral("ModeColorToCard"),
                QStringLiteral("ModeCardToCard")};
    if (key == QLatin1String("mode.mood"))
        return {QStringLiteral("MoodModeNormal"), QStringLiteral("MoodModeWarmFreshEquals")};
    if (key == QLatin1String("product.groups.mode"))
        return {QStringLiteral("Products"), QStringLiteral("GroupsWithProductTooltip")};
    return {};
}

bool containsWord(const QStringList &words, const QString &text)
{
    for (const QString &word : words) {
        if (word.compare(text.trimmed(), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The only decimal setting is an angle in degrees; far beyond a few turns
// it can only be a damaged value.
constexpr double kLargestAngle = 3600.0;

// The largest value the program takes for an integer key; beyond it the
// program reads the setting's default.
qint64 upperBoundOf(const QString &key)
{
    const QString lower = key.toLower();
    if (lower == QLatin1String("num.of.segments"))
        return CollectionSettings::kMaxSegments;
    if (lower == QLatin1String("max.chips.on.a.page"))
        return CollectionSettings::kMaxChipsOnAPage;
    if (lower.startsWith(QLatin1String("widget.color.foresight.chip.")))
        return CollectionSettings::kMaxImageSide;
    return INT_MAX;
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

Kind kindOf(const QString &key)
{
    const QString lower = key.toLower();
    const auto it = kindTable().constFind(lower);
    if (it != kindTable().constEnd())
        return it.value();
    if (lower.startsWith(QLatin1String("color.tooltip.show.")))
        return Kind::Flag;
    return Kind::Unknown;
}

bool isListKind(Kind kind)
{
    return kind == Kind::PageList || kind == Kind::SchemeList || kind == Kind::NameOrder;
}

bool parseFlag(const QString &text, bool *ok)
{
    const QString t = text.trimmed().toLower();
    *ok = true;
    if (t == QLatin1String("1") || t == QLatin1String("true") || t == QLatin1String("yes"))
        return true;
    if (t == QLatin1String("0") || t == QLatin1String("false") || t == QLatin1String("no"))
        return false;
    *ok = false;
    return false;
}

int schemeNumber(const QString &text)
{
    bool isNumber = false;
    const int number = text.trimmed().toInt(&isNumber);
    if (isNumber)
        return number >= 1 && number <= 9 ? number : 0;
    QString compact = text.trimmed().toLower();
    compact.remove(QLatin1Char(' '));
    const QStringList names = DB::Schema::schemeNames();
    for (int i = 0; i < names.size(); ++i) {
        if (names.at(i) == compact)
            return i + 1;
    }
    return compact == QLatin1String("naturalneutral") ? 9 : 0;
}

int moodNumber(const QString &text)
{
    bool isNumber = false;
    const int number = text.trimmed().toInt(&isNumber);
    if (isNumber)
        return number >= 0 && number <= 6 ? number : -1;
    const int index = DB::Schema::moodNames().indexOf(text.trimmed().toLower());
    return index >= 0 ? index + 1 : -1;
}

QString checkAndNormalize(const QString &key, QStringList &values)
{
    const Kind kind = kindOf(key);
    if (values.isEmpty())
        return QStringLiteral("no value");
    if (values.size() > 1 && !isListKind(kind) && kind != Kind::Unknown && kind != Kind::NumberList)
        return QStringLiteral("takes a single value, not a list");

    for (int i = 0; i < values.size(); ++i) {
        QString &value = values[i];
        const QString shown = quoted(value);
        bool ok = false;
        switch (kind) {
        case Kind::Unknown:
        case Kind::Text:
            break;
        case Kind::Flag: {
            const bool flag = parseFlag(value, &ok);
            if (!ok)
                return QStringLiteral("%1 is not a flag (0 or 1)").arg(shown);
            value = flag ? QStringLiteral("1") : QStringLiteral("0");
            break;
        }
        case Kind::Integer:
        case Kind::PositiveInteger:
        case Kind::NonNegativeInteger: {
            const qint64 number = value.trimmed().toLongLong(&ok);
            if (!ok)
                return QStringLiteral("%1 is not an integer").arg(shown);
            if (kind == Kind::PositiveInteger && number < 1)
                return QStringLiteral("%1 must be at least 1").arg(shown);
            if (kind == Kind::NonNegativeInteger && number < 0)
                return QStringLiteral("%1 must not be negative").arg(shown);
            if (number > upperBoundOf(key) || number < INT_MIN)
                return QStringLiteral("%1 is beyond %2, the largest the program takes").arg(shown).arg(
                    upperBoundOf(key));
            value = QString::number(number);
            break;
        }
        case Kind::Number:
            if (const double number = value.trimmed().toDouble(&ok); !ok)
                return QStringLiteral("%1 is not a number").arg(shown);
            else if (!std::isfinite(number))
                return QStringLiteral("%1 is not finite").arg(shown);
            else if (std::fabs(number) > kLargestAngle)
                return QStringLiteral("%1 is beyond %2 degrees either way").arg(shown).arg(kLargestAngle);
            value = value.trimmed();
            break;
        case Kind::Choice:
            if (!containsWord(choicesOf(key.toLower()), value))
                return QStringLiteral("%1 is not one of %2")
                    .arg(shown, choicesOf(key.toLower()).join(QStringLiteral(", ")));
            value = value.trimmed();
            break;
        case Kind::Size: {
            const QStringList parts = value.split(QLatin1Char(','), Qt::SkipEmptyParts);
            bool widthOk = false;
            bool heightOk = false;
            const auto side = [](const QString &part, bool *sideOk) {
                const int length = part.trimmed().toInt(sideOk);
                *sideOk = *sideOk && length >= 1 && length <= CollectionSettings::kMaxImageSide;
                return length;
            };
            if (parts.size() != 2 || (side(parts.at(0), &widthOk), !widthOk) || (side(parts.at(1), &heightOk), !heightOk))
                return QStringLiteral("%1 is not a size \"width,height\" of two integers 1..%2")
                    .arg(shown)
                    .arg(CollectionSettings::kMaxImageSide);
            break;
        }
        case Kind::NumberList: {
            // Given as a JSON array, the elements arrive separately.
            const QStringList parts = values.join(QLatin1Char(',')).split(QLatin1Char(','), Qt::SkipEmptyParts);
            if (parts.isEmpty())
                return QStringLiteral("no numbers");
            for (const QString &part : parts) {
                const double number = part.trimmed().toDouble(&ok);
                if (!ok || number <= 0)
                    return QStringLiteral("%1 is not a positive number").arg(quoted(part.trimmed()));
                if (!std::isfinite(number))
                    return QStringLiteral("%1 is not finite").arg(quoted(part.trimmed()));
            }
            values = QStringList{values.join(QLatin1Char(','))};
            return QString();
        }
        case Kind::PageList:
            if (!containsWord({QStringLiteral("PageOfColorSchemes"), QStringLiteral("PageOfProducts"),
                               QStringLiteral("PageOfColorForesight"), QStringLiteral("PageOfTextures")},
                              value))
                return QStringLiteral("element %1: %2 is not one of PageOfColorSchemes, PageOfProducts, "
                                      "PageOfColorForesight, PageOfTextures")
                    .arg(i)
                    .arg(shown);
            value = value.trimmed();
            break;
        case Kind::SchemeList: {
            bool isNumber = false;
            value.trimmed().toInt(&isNumber);
            if (isNumber || schemeNumber(value) == 0)
                return QStringLiteral("element %1: %2 is not a scheme name (harmonic, contrast, wide contrast, "
                                      "dynamic, dramatic, neutral, tonal neutral, complementary neutral, "
                                      "natural neutral)")
                    .arg(i)
                    .arg(shown);
            value = value.trimmed();
            break;
        }
        case Kind::NameOrder: {
            const int index = value.trimmed().toInt(&ok);
            if (!ok || index < 0 || index > 9)
                return QStringLiteral("element %1: %2 is not a name index 0..9").arg(i).arg(shown);
            value = QString::number(index);
            break;
        }
        }
    }
    return QString();
}

} // namespace Tintor::SettingKinds
