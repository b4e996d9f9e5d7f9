#include "ui/matching/CapsureMeasurement.h"

#include <QFile>
#include <QFileInfo>

#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <memory>

namespace Tintor {

namespace {

struct ParserContextDeleter {
    void operator()(xmlParserCtxtPtr context) const { xmlFreeParserCtxt(context); }
};
struct DocumentDeleter {
    void operator()(xmlDocPtr document) const { xmlFreeDoc(document); }
};
struct XPathContextDeleter {
    void operator()(xmlXPathContextPtr context) const { xmlXPathFreeContext(context); }
};
struct XPathObjectDeleter {
    void operator()(xmlXPathObjectPtr object) const { xmlXPathFreeObject(object); }
};

// No network, no DTD loading, no entity substitution (XML_PARSE_NOENT,
// XML_PARSE_DTDLOAD left out) and libxml2's default limits on depth and text
// size (XML_PARSE_HUGE left out).
constexpr int kParseOptions = XML_PARSE_NOBLANKS | XML_PARSE_NONET | XML_PARSE_COMPACT | XML_PARSE_NOERROR
    | XML_PARSE_NOWARNING;

} // namespace

bool CapsureMeasurement::readFile(const QString &fileName, QByteArray &bytes)
{
    bytes.clear();
    const QFileInfo info(fileName);
    // A FIFO or device would block the interface or never end.
    if (fileName.isEmpty() || !info.isFile() || info.size() > kMaximumFileSize)
        return false;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Text))
        return false;
    // The file may have grown since it was measured.
    bytes = file.read(kMaximumFileSize + 1);
    file.close();
    if (bytes.size() > kMaximumFileSize) {
        bytes.clear();
        return false;
    }
    return true;
}

QStringList CapsureMeasurement::objectNames(const QByteArray &document)
{
    QStringList names;
    if (document.isEmpty() || document.size() > kMaximumFileSize)
        return names;
    xmlInitParser();
    std::unique_ptr<xmlParserCtxt, ParserContextDeleter> parser(xmlNewParserCtxt());
    if (!parser)
        return names;
    std::unique_ptr<xmlDoc, DocumentDeleter> doc(
        xmlCtxtReadMemory(parser.get(), document.constData(), int(document.size()), "", "UTF-8", kParseOptions));
    if (!doc)
        return names;
    std::unique_ptr<xmlXPathContext, XPathContextDeleter> xpath(xmlXPathNewContext(doc.get()));
    if (!xpath
        || xmlXPathRegisterNs(xpath.get(), reinterpret_cast<const xmlChar *>("cc"),
                              reinterpret_cast<const xmlChar *>(kCoreNamespace))
            != 0)
        return names;
    std::unique_ptr<xmlXPathObject, XPathObjectDeleter> result(
        xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>("//cc:Object/@Name"), xpath.get()));
    if (!result || result->type != XPATH_NODESET || !result->nodesetval)
        return names;
    const xmlNodeSetPtr nodes = result->nodesetval;
    for (int i = 0; i < nodes->nodeNr; ++i) {
        const xmlNodePtr node = nodes->nodeTab[i];
        // An entity reference in the value leaves a child that is not text:
        // such a name is skipped rather than expanded or cut short.
        if (!node || node->type != XML_ATTRIBUTE_NODE || !node->children || node->children->type != XML_TEXT_NODE
            || node->children->next || !node->children->content)
            continue;
        const QString name = QString::fromUtf8(reinterpret_cast<const char *>(node->children->content));
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

} // namespace Tintor
