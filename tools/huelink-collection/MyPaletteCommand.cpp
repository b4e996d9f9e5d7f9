#include "MyPaletteCommand.h"

#include "ChipSource.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <string>
#include <vector>

namespace Tintor {

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char *const kUsage = "usage: huelink-collection my-palette [--json]\n"
                           "\n"
                           "Prints My Palette's chips, row by row: \"#rrggbb code - name\" per line, or\n"
                           "with --json one object {\"description\", \"chips\": [{\"code\", \"name\", \"rgb\"}],\n"
                           "\"missing\"}, where missing counts cells of collections no longer installed.\n";

QString hexColor(const ChipSource::Rgb &color)
{
    return QStringLiteral("#%1%2%3")
        .arg(color.red, 2, 16, QLatin1Char('0'))
        .arg(color.green, 2, 16, QLatin1Char('0'))
        .arg(color.blue, 2, 16, QLatin1Char('0'));
}

} // namespace

const char *myPaletteCommandUsage()
{
    return kUsage;
}

int runMyPaletteCommand(const QStringList &arguments)
{
    bool json = false;
    for (const QString &argument : arguments) {
        if (argument != QLatin1String("--json")) {
            std::fprintf(stderr, "huelink-collection my-palette: unknown argument \"%s\"\n%s",
                         qPrintable(argument), kUsage);
            return kExitUsage;
        }
        json = true;
    }
    std::string description;
    std::vector<ChipSource::NamedColor> chips;
    int missing = 0;
    std::string error;
    if (!ChipSource::myPalette(description, chips, missing, error)) {
        std::fprintf(stderr, "huelink-collection my-palette: %s\n", error.c_str());
        return kExitFailure;
    }
    QByteArray output;
    if (json) {
        QJsonArray list;
        for (const ChipSource::NamedColor &chip : chips) {
            list.append(QJsonObject{ { QStringLiteral("code"), QString::fromStdString(chip.code) },
                                     { QStringLiteral("name"), QString::fromStdString(chip.name) },
                                     { QStringLiteral("rgb"), hexColor(chip.color) } });
        }
        const QJsonObject root{ { QStringLiteral("description"), QString::fromStdString(description) },
                                { QStringLiteral("chips"), list },
                                { QStringLiteral("missing"), missing } };
        output = QJsonDocument(root).toJson(QJsonDocument::Compact) + '\n';
    } else {
        for (const ChipSource::NamedColor &chip : chips)
            output += (hexColor(chip.color) + QLatin1Char(' ') + QString::fromStdString(chip.name)).toUtf8() + '\n';
    }
    // A reader must not take a cut list for the whole palette.
    if (std::fwrite(output.constData(), 1, size_t(output.size()), stdout) != size_t(output.size())
        || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "huelink-collection my-palette: cannot write the list\n");
        return kExitFailure;
    }
    return 0;
}

} // namespace Tintor
