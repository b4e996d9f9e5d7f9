#include "MeasurementCommand.h"

#include "engine/inc/AtomicFileWriter.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QXmlStreamWriter>

#include <cstdio>

namespace Tintor {

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char *const kUsage = "usage: huelink-collection measurement OUT.cxf --name TEXT [--name TEXT ...]\n"
                           "\n"
                           "Writes a CxF3 measurement as the Capsure device software does, one measured\n"
                           "object per --name (in order; a name may repeat or be empty), to a temporary\n"
                           "file beside OUT.cxf that is then renamed to OUT.cxf. The folder must exist.\n";

void printError(const QString &message)
{
    std::fprintf(stderr, "huelink-collection measurement: %s\n", qPrintable(message));
}

// XML 1.0 has no way to write these, not even as character references.
bool isXmlText(const QString &text)
{
    for (const char32_t c : text.toUcs4()) {
        const bool allowed = c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF)
            || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
        if (!allowed)
            return false;
    }
    return true;
}

QByteArray measurementDocument(const QStringList &names)
{
    const QString core = QStringLiteral("http://colorexchangeformat.com/CxF3-core");
    QByteArray bytes;
    QXmlStreamWriter writer(&bytes);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeNamespace(core, QStringLiteral("cc"));
    writer.writeStartElement(core, QStringLiteral("CxF"));
    writer.writeStartElement(core, QStringLiteral("FileInformation"));
    writer.writeTextElement(core, QStringLiteral("Creator"), QStringLiteral("huelink-collection measurement"));
    writer.writeTextElement(core, QStringLiteral("CreationDate"),
                            QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    writer.writeTextElement(core, QStringLiteral("Description"), QStringLiteral("Capsure stand-in measurement"));
    writer.writeEndElement();
    writer.writeStartElement(core, QStringLiteral("Resources"));
    writer.writeStartElement(core, QStringLiteral("ObjectCollection"));
    for (int i = 0; i < names.size(); ++i) {
        writer.writeEmptyElement(core, QStringLiteral("Object"));
        writer.writeAttribute(QStringLiteral("ObjectType"), QStringLiteral("Standard"));
        writer.writeAttribute(QStringLiteral("Name"), names.at(i));
        writer.writeAttribute(QStringLiteral("Id"), QStringLiteral("m%1").arg(i + 1));
    }
    writer.writeEndDocument();
    return bytes;
}

} // namespace

const char *measurementCommandUsage()
{
    return "measurement OUT.cxf --name TEXT [--name TEXT ...]   write a Capsure measurement";
}

int runMeasurementCommand(const QStringList &arguments)
{
    QString output;
    QStringList names;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &word = arguments.at(i);
        if (word == QLatin1String("--help") || word == QLatin1String("-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (word == QLatin1String("--name")) {
            if (i + 1 >= arguments.size()) {
                printError(QStringLiteral("--name needs a value"));
                return kExitUsage;
            }
            names.append(arguments.at(++i));
            if (!isXmlText(names.last())) {
                printError(QStringLiteral("the name \"%1\" holds a character XML cannot carry").arg(names.last()));
                return kExitUsage;
            }
        } else if (word.startsWith(QLatin1String("--")) || !output.isEmpty()) {
            printError(QStringLiteral("unexpected argument \"%1\"").arg(word));
            std::fputs(kUsage, stderr);
            return kExitUsage;
        } else {
            output = word;
        }
    }
    if (output.isEmpty() || names.isEmpty()) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    if (!QFileInfo(output).absoluteDir().exists()) {
        printError(QStringLiteral("the folder of %1 does not exist").arg(output));
        return kExitFailure;
    }
    // A reader (the watcher of the module) sees the old file or the new one.
    QString reason;
    if (!AtomicFileWriter::write(output, measurementDocument(names), reason)) {
        printError(QStringLiteral("cannot write %1: %2").arg(output, reason));
        return kExitFailure;
    }
    return 0;
}

} // namespace Tintor
