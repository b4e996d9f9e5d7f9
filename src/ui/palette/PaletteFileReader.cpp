#include "ui/palette/PaletteFileReader.h"

#include "engine/inc/XmlPointer.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <array>
#include <iterator>

namespace Tintor {

namespace {

constexpr int kColumnCount = 6;
constexpr int kRowCount = 4;

QString fromXml(const xmlChar *text)
{
    return text ? QString::fromUtf8(reinterpret_cast<const char *>(text)) : QString();
}

// The node's text content; null when it has none.
QString contentOf(xmlNode *node)
{
    xmlChar *content = xmlNodeGetContent(node);
    const QString text = fromXml(content);
    xmlFree(content);
    return text;
}

QString attributeOf(xmlNode *node, const char *name)
{
    xmlChar *value = xmlGetProp(node, reinterpret_cast<const xmlChar *>(name));
    const QString text = fromXml(value);
    xmlFree(value);
    return text;
}

// A missing or non-numeric value reads as 0.
int integerOf(const QString &text)
{
    return text.trimmed().toInt();
}

xmlNode *firstNode(const XmlPointer<xmlXPathObject> &result)
{
    if (!result || result->type != XPATH_NODESET || !result->nodesetval || result->nodesetval->nodeNr < 1)
        return nullptr;
    return result->nodesetval->nodeTab[0];
}

// The text value of the attribute an expression names; null when the
// first node found is no attribute or has no value.
QString attributeAt(xmlXPathContext *context, const char *expression)
{
    const XmlPointer<xmlXPathObject> result(
        xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>(expression), context));
    xmlNode *node = firstNode(result);
    if (!node || node->type != XML_ATTRIBUTE_NODE || !node->children)
        return QString();
    return contentOf(node);
}

bool isNamed(const xmlNode *node, const char *name)
{
    return node && node->type == XML_ELEMENT_NODE
        && fromXml(node->name).compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

} // namespace

PaletteFileReader::Status PaletteFileReader::readFile(const QString &path, Document &document)
{
    document = Document();
    // Only regular files: a device or a pipe could block or never end.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxFileSize)
        return CannotOpen;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return CannotOpen;
    // The file may have grown since it was looked at.
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (bytes.size() > kMaxFileSize)
        return CannotOpen;
    return parse(bytes, document);
}

PaletteFileReader::Status PaletteFileReader::parse(const QByteArray &bytes, Document &document)
{
    document = Document();
    if (bytes.isEmpty() || bytes.size() > kMaxFileSize)
        return NotParsed;
    initXmlLibraryOnce();
    XmlPointer<xmlParserCtxt> parser(xmlNewParserCtxt());
    if (!parser)
        return NotParsed;
    // No network, no DTD loading, no entity substitution and the library's
    // default limits (no XML_PARSE_HUGE); parse errors are not printed into
    // the host's output.
    const int options
        = XML_PARSE_NOBLANKS | XML_PARSE_NONET | XML_PARSE_COMPACT | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    const XmlPointer<xmlDoc> xml(
        xmlCtxtReadMemory(parser.get(), bytes.constData(), int(bytes.size()), "", "UTF-8", options));
    if (!xml)
        return NotParsed;
    // Palette files never carry a DTD; one could only declare entities.
    if (xml->intSubset || xml->extSubset)
        return Rejected;
    const XmlPointer<xmlXPathContext> context(xmlXPathNewContext(xml.get()));
    if (!context)
        return Rejected;

    const QStringList versionParts
        = attributeAt(context.get(), "/vestrel-palette/@version").split(QLatin1Char('.'), Qt::SkipEmptyParts);
    if (versionParts.size() != 2 || integerOf(versionParts.at(1)) != 0)
        return Rejected;
    document.majorVersion = integerOf(versionParts.at(0));
    document.system = attributeAt(context.get(), "/vestrel-palette/@system");
    if (document.system.isEmpty())
        return Rejected;
    if (document.majorVersion == 3) {
        if (document.system.compare(QLatin1String("multi-collection"), Qt::CaseInsensitive) != 0)
            return Rejected;
    } else if (document.majorVersion != 2) {
        return Rejected;
    }

    {
        const XmlPointer<xmlXPathObject> result(
            xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>("/vestrel-palette/description"), context.get()));
        xmlNode *description = firstNode(result);
        if (description && description->type == XML_ELEMENT_NODE && description->children)
            document.description = contentOf(description->children);
    }

    const XmlPointer<xmlXPathObject> chips(
        xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>("/vestrel-palette/chips/chip"), context.get()));
    if (!chips || chips->type != XPATH_NODESET || !chips->nodesetval)
        return Read;
    // From the last element back, so that each cell keeps only its last
    // usable elements: a file of any length costs at most that many
    // lookups per cell.
    std::array<int, kColumnCount * kRowCount> kept{};
    QList<Chip> newestFirst;
    for (int index = chips->nodesetval->nodeNr - 1; index >= 0; --index) {
        xmlNode *node = chips->nodesetval->nodeTab[index];
        if (!node || node->type != XML_ELEMENT_NODE)
            continue;
        Chip chip;
        chip.cell = QPoint(integerOf(attributeOf(node, "col")), integerOf(attributeOf(node, "row")));
        if (chip.cell.x() < 0 || chip.cell.x() >= kColumnCount || chip.cell.y() < 0 || chip.cell.y() >= kRowCount)
            continue;
        int &keptOfCell = kept[std::size_t(chip.cell.y() * kColumnCount + chip.cell.x())];
        if (keptOfCell >= kMaxChipsPerCell)
            continue;
        xmlNode *child = node->children;
        if (document.majorVersion == 3) {
            if (!isNamed(child, "entry"))
                continue;
            chip.collection = QUuid::fromString(attributeOf(child, "uuid-of-collection"));
            chip.pageIndex = integerOf(attributeOf(child, "page-index"));
            chip.rowIndex = integerOf(attributeOf(child, "row-index"));
            chip.code = attributeOf(child, "color-code");
        } else {
            if (!child || child->type != XML_TEXT_NODE)
                continue;
            chip.phrase = contentOf(child);
            if (chip.phrase.isEmpty())
                continue;
        }
        ++keptOfCell;
        newestFirst.append(chip);
    }
    document.chips.reserve(newestFirst.size());
    std::copy(newestFirst.crbegin(), newestFirst.crend(), std::back_inserter(document.chips));
    return Read;
}

} // namespace Tintor
