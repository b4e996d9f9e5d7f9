#include "BuildCommand.h"

#include "CollectionWriter.h"
#include "ProblemList.h"
#include "SourceReader.h"
#include "SourceValidator.h"

#include <cstdio>

namespace Tintor {

const char *BuildCommand::usage()
{
    return "build SOURCE -o FILE.db    build a collection file from a source folder (or its manifest)";
}

int BuildCommand::run(const QStringList &arguments)
{
    QString sourcePath;
    QString outputPath;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if ((argument == QLatin1String("-o") || argument == QLatin1String("--output")) && i + 1 < arguments.size()) {
            outputPath = arguments.at(++i);
        } else if (argument.startsWith(QLatin1Char('-')) || !sourcePath.isEmpty()) {
            std::fprintf(stderr, "build: unexpected argument \"%s\"\nusage: huelink-collection %s\n",
                         argument.toUtf8().constData(), usage());
            return 2;
        } else {
            sourcePath = argument;
        }
    }
    if (sourcePath.isEmpty() || outputPath.isEmpty()) {
        std::fprintf(stderr, "usage: huelink-collection %s\n", usage());
        return 2;
    }

    ProblemList problems;
    CollectionSource source;
    SourceReader reader(problems);
    if (reader.read(sourcePath, source) && !problems.hasErrors())
        SourceValidator(problems).validate(source);
    if (problems.hasErrors()) {
        problems.print();
        std::fprintf(stderr, "%s: %d error(s); no file written\n", sourcePath.toUtf8().constData(),
                     problems.errorCount());
        return 1;
    }
    CollectionWriter writer(problems);
    if (!writer.write(source, outputPath)) {
        problems.print();
        return 1;
    }
    problems.print(); // warnings
    const CollectionWriter::Counts counts = writer.counts();
    std::printf("%s: %d collection(s), %d card(s), %d chip(s)\n", outputPath.toUtf8().constData(), counts.collections,
                counts.pages, counts.chips);
    return 0;
}

} // namespace Tintor
