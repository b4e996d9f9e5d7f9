#include "formats/GplFormat.h"

#include "formats/SwatchLimits.h"

#include <QRegularExpression>

namespace Tintor {

namespace {

// A header value on one line: a line break would start a colour line.
QString oneLine(const QString &text)
{
    QString line = text;
    static const QRegularExpression breaks(QStringLiteral("[\\r\\n\\x{2028}\\x{2029}]+"));
    return line.replace(breaks, QStringLiteral(" ")).trimmed();
}

} // namespace

bool GplFormat::read(const QByteArray &bytes, QList<SwatchColor> &colors, QString &error)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    // Walked line by line rather than split: a file of empty lines must not
    // cost a string object per line.
    qsizetype begin = 0;
    const auto nextLine = [&text, &begin](QString &line) {
        if (begin > text.size())
            return false;
        qsizetype end = text.indexOf(QLatin1Char('\n'), begin);
        if (end < 0)
            end = text.size();
        line = text.mid(begin, end - begin).trimmed();
        begin = end + 1;
        return true;
    };
    QString line;
    if (!nextLine(line) || line != QLatin1String("GIMP Palette")) {
        error = QStringLiteral("not a palette file: the first line is not \"GIMP Palette\"");
        return false;
    }
    static const QRegularExpression colorLine(
        QStringLiteral("^(\\d{1,3})\\s+(\\d{1,3})\\s+(\\d{1,3})(?:\\s+(.*))?$"));
    static const QRegularExpression header(QStringLiteral("^(Name|Columns)\\s*:"));
    QList<SwatchColor> read;
    for (int lineNumber = 2; nextLine(line); ++lineNumber) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || header.match(line).hasMatch())
            continue;
        const QRegularExpressionMatch match = colorLine.match(line);
        if (!match.hasMatch()) {
            error = QStringLiteral("line %1 is not a colour (red green blue name): %2").arg(lineNumber).arg(line.left(80));
            return false;
        }
        const int red = match.captured(1).toInt();
        const int green = match.captured(2).toInt();
        const int blue = match.captured(3).toInt();
        if (red > 255 || green > 255 || blue > 255) {
            error = QStringLiteral("line %1 has a channel above 255").arg(lineNumber);
            return false;
        }
        if (read.size() >= kMaximumSwatchColors) {
            error = QStringLiteral("the file holds more than %1 colours").arg(kMaximumSwatchColors);
            return false;
        }
        read.append(SwatchColor::fromSrgb(match.captured(4), { red / 255.0, green / 255.0, blue / 255.0 }));
    }
    colors = read;
    return true;
}

QByteArray GplFormat::write(const QString &description, const QList<SwatchChip> &chips, bool appendProductCodes)
{
    QString text = QStringLiteral("GIMP Palette\nName: %1\nColumns: 6\n#\n").arg(oneLine(description));
    for (const SwatchChip &chip : chips) {
        text += QStringLiteral("%1 %2 %3\t%4\n")
                    .arg(qRed(chip.rgb), 3)
                    .arg(qGreen(chip.rgb), 3)
                    .arg(qBlue(chip.rgb), 3)
                    .arg(chip.swatchName(appendProductCodes));
    }
    return text.toUtf8();
}

} // namespace Tintor
