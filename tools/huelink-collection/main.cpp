// huelink-collection: builds, inspects and synthesizes collection files.

#include "BuildCommand.h"
#include "SummaryCommand.h"
#include "MatchCommand.h"
#include "MeasurementCommand.h"
#include "MyPaletteCommand.h"
#include "SynthCommand.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>

namespace {

struct Command {
    const char *name;
    int (*run)(const QStringList &arguments);
    const char *(*usage)();
};

// One line per subcommand.
const Command kCommands[] = {
    {"build", &Tintor::BuildCommand::run, &Tintor::BuildCommand::usage},
    {"inspect", &Tintor::SummaryCommand::run, &Tintor::SummaryCommand::usage},
    {"match", &Tintor::runMatchCommand, &Tintor::matchCommandUsage},
    {"synth", &Tintor::SynthCommand::run, &Tintor::SynthCommand::usage},
    {"measurement", &Tintor::runMeasurementCommand, &Tintor::measurementCommandUsage},
    {"my-palette", &Tintor::runMyPaletteCommand, &Tintor::myPaletteCommandUsage},
};

int printUsage(FILE *stream)
{
    std::fprintf(stream, "usage: huelink-collection COMMAND ...\n");
    for (const Command &command : kCommands)
        std::fprintf(stream, "  %s\n", command.usage());
    return stream == stdout ? 0 : 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (arguments.isEmpty())
        return printUsage(stderr);
    const QString name = arguments.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help"))
        return printUsage(stdout);
    for (const Command &command : kCommands) {
        if (name == QLatin1String(command.name))
            return command.run(arguments);
    }
    std::fprintf(stderr, "huelink-collection: unknown command \"%s\"\n", name.toUtf8().constData());
    return printUsage(stderr);
}
