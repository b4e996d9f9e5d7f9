#include "formats/CssFormat.h"

#include "formats/SwatchLimits.h"

#include <QRegularExpression>
#include <QHash>
#include <QStringList>

namespace Tintor {

namespace {

constexpr int kMaximumNesting = 64;

// Comment text must not close the comment early.
QString commentText(const QString &text)
{
    QString safe = text;
    safe.replace(QStringLiteral("*/"), QStringLiteral("* /"));
    safe.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return safe;
}

QString hexOf(QRgb rgb)
{
    return QStringLiteral("#%1%2%3")
        .arg(qRed(rgb), 2, 16, QLatin1Char('0'))
        .arg(qGreen(rgb), 2, 16, QLatin1Char('0'))
        .arg(qBlue(rgb), 2, 16, QLatin1Char('0'));
}

bool isHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
        || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

bool appendColorsOf(const QString &declaration, const QString &selector, QList<SwatchColor> &colors, QString &error)
{
    const qsizetype colon = declaration.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return true;
    const QString property = declaration.left(colon).trimmed();
    // A colour inside a string (a URL, generated content) is no colour.
    static const QRegularExpression strings(QStringLiteral("\"(?:[^\"\\\\]|\\\\.)*\"|'(?:[^'\\\\]|\\\\.)*'"));
    const QString value = declaration.mid(colon + 1).remove(strings);
    static const QRegularExpression hex(QStringLiteral("#([0-9A-Fa-f]{6}|[0-9A-Fa-f]{3})(?![0-9A-Za-z_-])"));
    QString name = property.startsWith(QLatin1String("--")) ? CssFormat::unescapeIdentifier(property.mid(2))
                                                            : selector.simplified();
    for (auto match = hex.globalMatch(value); match.hasNext();) {
        if (colors.size() >= kMaximumSwatchColors) {
            error = QStringLiteral("the file holds more than %1 colours").arg(kMaximumSwatchColors);
            return false;
        }
        QString digits = match.next().captured(1);
        if (digits.size() == 3)
            digits = QString(digits[0]) + digits[0] + digits[1] + digits[1] + digits[2] + digits[2];
        const uint rgb = digits.toUInt(nullptr, 16);
        colors.append(SwatchColor::fromSrgb(
            name, { ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0 }));
    }
    return true;
}

} // namespace

QString CssFormat::propertyName(const QString &code)
{
    QString name = QStringLiteral("--");
    for (const QChar c : code) {
        const ushort unit = c.unicode();
        if (c.isLetterOrNumber() && unit < 0x80)
            name += c;
        else if (unit == '-' || unit == '_' || unit >= 0x80)
            name += c;
        else if (unit < 0x20 || unit == 0x7F || c.isSpace())
            name += QStringLiteral("\\%1 ").arg(unit, 0, 16); // hex escape: a space ends it
        else
            name += QLatin1Char('\\') + c;
    }
    return name;
}

QString CssFormat::unescapeIdentifier(const QString &text)
{
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('\\') || i + 1 >= text.size()) {
            plain += text.at(i);
            continue;
        }
        qsizetype end = i + 1;
        while (end < text.size() && end < i + 7 && isHexDigit(text.at(end)))
            ++end;
        if (end == i + 1) {
            plain += text.at(++i);
            continue;
        }
        char32_t code = char32_t(text.mid(i + 1, end - i - 1).toUInt(nullptr, 16));
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            code = 0xFFFD; // as CSS reads an escape of no character
        plain += QString::fromUcs4(&code, 1);
        if (end < text.size() && text.at(end).isSpace())
            ++end;
        i = end - 1;
    }
    return plain;
}

bool CssFormat::read(const QByteArray &bytes, QList<SwatchColor> &colors, QString &error)
{
    const QString text = QString::fromUtf8(bytes);
    QStringList selectors;
    QString pending; // text since the last '{', '}' or ';'
    QList<SwatchColor> read;
    QChar quote;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!quote.isNull()) {
            pending += c;
            if (c == QLatin1Char('\\') && i + 1 < text.size())
                pending += text.at(++i);
            else if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('/') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('*')) {
            const qsizetype end = text.indexOf(QStringLiteral("*/"), i + 2);
            i = end < 0 ? text.size() : end + 1;
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
            pending += c;
        } else if (c == QLatin1Char('{')) {
            if (selectors.size() >= kMaximumNesting) {
                error = QStringLiteral("rules are nested more than %1 deep").arg(kMaximumNesting);
                return false;
            }
            selectors.append(pending.trimmed());
            pending.clear();
        } else if (c == QLatin1Char(';') || c == QLatin1Char('}')) {
            if (!selectors.isEmpty() && !appendColorsOf(pending, selectors.last(), read, error))
                return false;
            pending.clear();
            if (c == QLatin1Char('}') && !selectors.isEmpty())
                selectors.removeLast();
        } else if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            pending += c;
            pending += text.at(++i);
        } else {
            pending += c;
        }
    }
    if (read.isEmpty()) {
        error = QStringLiteral("no #rgb or #rrggbb colour in any rule");
        return false;
    }
    colors = read;
    return true;
}

QByteArray CssFormat::write(const QString &description, const QList<SwatchChip> &chips, bool appendProductCodes)
{
    QString text = QStringLiteral("/* %1 */\n:root {\n").arg(commentText(description));
    QHash<QString, QString> chipOfName;
    for (qsizetype index = 0; index < chips.size(); ++index) {
        const SwatchChip &chip = chips.at(index);
        QString name = propertyName(chip.code.trimmed().isEmpty() ? QStringLiteral("color-%1").arg(index + 1)
                                                                  : chip.code.trimmed());
        // The same chip in two cells needs one property; two chips of one
        // code from different collections need two.
        const QString chipKey = chip.collectionUuid.toString() + chip.code;
        if (chipOfName.value(name) == chipKey)
            continue;
        const QString base = name;
        for (int suffix = 2; chipOfName.contains(name); ++suffix)
            name = base + QStringLiteral("-%1").arg(suffix);
        chipOfName.insert(name, chipKey);
        QString comment = chip.swatchName(appendProductCodes);
        if (!chip.collectionName.isEmpty())
            comment += QStringLiteral(", ") + chip.collectionName;
        text += QStringLiteral("  %1: %2; /* %3 */\n").arg(name, hexOf(chip.rgb), commentText(comment));
    }
    text += QStringLiteral("}\n");
    return text.toUtf8();
}

} // namespace Tintor
