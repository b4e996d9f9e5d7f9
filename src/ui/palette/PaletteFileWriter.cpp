#include "ui/palette/PaletteFileWriter.h"

#include "engine/inc/XmlPointer.h"

namespace Tintor {

namespace {

const QByteArray kByteOrderMark("\xEF\xBB\xBF");

// Characters XML 1.0 cannot carry (most control characters, lone
// surrogates, U+FFFE and U+FFFF) are left out, so that every file written
// can be read back.
QByteArray xmlText(const QString &text)
{
    QString clean;
    clean.reserve(text.size());
    for (qsizetype index = 0; index < text.size(); ++index) {
        const QChar unit = text.at(index);
        if (unit.isHighSurrogate() && index + 1 < text.size() && text.at(index + 1).isLowSurrogate()) {
            clean.append(unit);
            clean.append(text.at(++index));
            continue;
        }
        const char16_t code = unit.unicode();
        const bool allowed = (code >= 0x20 || code == 0x09 || code == 0x0A || code == 0x0D) && !unit.isSurrogate()
            && code != 0xFFFE && code != 0xFFFF;
        if (allowed)
            clean.append(unit);
    }
    return clean.toUtf8();
}

const xmlChar *bytes(const char *text)
{
    return reinterpret_cast<const xmlChar *>(text);
}

const xmlChar *bytes(const QByteArray &text)
{
    return reinterpret_cast<const xmlChar *>(text.constData());
}

void startElement(xmlTextWriter *writer, const char *name)
{
    xmlTextWriterStartElement(writer, bytes(name));
}

void writeAttribute(xmlTextWriter *writer, const char *name, const QString &value)
{
    xmlTextWriterWriteAttribute(writer, bytes(name), bytes(xmlText(value)));
}

void writeText(xmlTextWriter *writer, const char *text)
{
    xmlTextWriterWriteString(writer, bytes(text));
}

} // namespace

QByteArray PaletteFileWriter::paletteDocument(const QString &description, const QList<Chip> &chips)
{
    initXmlLibraryOnce();
    xmlDoc *built = nullptr;
    XmlPointer<xmlTextWriter> writer(xmlNewTextWriterDoc(&built, 0));
    // The writer leaves the document to its caller.
    const XmlPointer<xmlDoc> document(built);
    if (!writer || !document)
        return QByteArray();

    xmlTextWriterStartDocument(writer.get(), nullptr, "UTF-8", nullptr);
    startElement(writer.get(), "vestrel-palette");
    writeAttribute(writer.get(), "version", QStringLiteral("3.0"));
    writeAttribute(writer.get(), "system", QStringLiteral("multi-collection"));
    writeText(writer.get(), "\n\t");
    startElement(writer.get(), "description");
    xmlTextWriterWriteString(writer.get(), bytes(xmlText(description)));
    xmlTextWriterEndElement(writer.get());
    writeText(writer.get(), "\n\t");
    startElement(writer.get(), "chips");
    for (const Chip &chip : chips) {
        writeText(writer.get(), "\n\t\t");
        startElement(writer.get(), "chip");
        writeAttribute(writer.get(), "row", QString::number(chip.cell.y()));
        writeAttribute(writer.get(), "col", QString::number(chip.cell.x()));
        writeText(writer.get(), "\n\t\t\t");
        startElement(writer.get(), "entry");
        writeAttribute(writer.get(), "uuid-of-collection", chip.collection.toString());
        writeAttribute(writer.get(), "page-index", QString::number(chip.pageIndex));
        writeAttribute(writer.get(), "row-index", QString::number(chip.rowIndex));
        writeAttribute(writer.get(), "color-code", chip.code);
        xmlTextWriterEndElement(writer.get());
        writeText(writer.get(), "\n\t\t");
        xmlTextWriterEndElement(writer.get());
    }
    writeText(writer.get(), "\n\t");
    xmlTextWriterEndElement(writer.get());
    writeText(writer.get(), "\n");
    xmlTextWriterEndElement(writer.get());
    xmlTextWriterEndDocument(writer.get());
    writer.reset();

    // No re-indentation: the whitespace written above is the whole layout.
    const XmlPointer<xmlBuffer> buffer(xmlBufferCreate());
    if (!buffer)
        return QByteArray();
    xmlSaveCtxt *save = xmlSaveToBuffer(buffer.get(), "UTF-8", 0);
    if (!save)
        return QByteArray();
    const long saved = xmlSaveDoc(save, document.get());
    xmlSaveClose(save);
    if (saved < 0)
        return QByteArray();
    return kByteOrderMark
        + QByteArray(reinterpret_cast<const char *>(xmlBufferContent(buffer.get())), xmlBufferLength(buffer.get()));
}

QByteArray PaletteFileWriter::textList(const QList<Chip> &chips)
{
    if (chips.isEmpty())
        return QByteArray();
    QString text;
    for (const Chip &chip : chips) {
        if (!chip.collectionName.isEmpty())
            text += chip.collectionName + QStringLiteral(" : ");
        text += chip.code + QLatin1Char('\n');
    }
    return kByteOrderMark + text.toUtf8();
}

} // namespace Tintor
