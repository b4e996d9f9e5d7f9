#pragma once

#include <QtGlobal>

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>
#include <libxml/xmlwriter.h>
#include <libxml/xpath.h>

namespace Tintor {

// The libxml2 free function of each object kind the module owns.
inline void xmlRelease(xmlDoc *p)
{
    xmlFreeDoc(p);
}
inline void xmlRelease(xmlParserCtxt *p)
{
    xmlFreeParserCtxt(p);
}
inline void xmlRelease(xmlXPathContext *p)
{
    xmlXPathFreeContext(p);
}
inline void xmlRelease(xmlXPathObject *p)
{
    xmlXPathFreeObject(p);
}
inline void xmlRelease(xmlTextWriter *p)
{
    xmlFreeTextWriter(p);
}
inline void xmlRelease(xmlBuffer *p)
{
    xmlBufferFree(p);
}

// Owns one libxml2 object (document, parser context, XPath context or
// result, text writer, buffer) and frees it with its own free function.
// Only our objects are freed: the library itself is never cleaned up,
// because the host may use libxml2 as well.
template <typename T> class XmlPointer {
public:
    explicit XmlPointer(T *p = nullptr)
        : px(p)
    {
    }
    ~XmlPointer() { reset(); }
    XmlPointer(const XmlPointer &) = delete;
    XmlPointer &operator=(const XmlPointer &) = delete;

    void reset(T *p = nullptr)
    {
        // Taking over what it already holds would free it twice.
        Q_ASSERT(p == 0 || p != px);
        T *old = px;
        px = p;
        if (old)
            xmlRelease(old);
    }
    // Gives up ownership without freeing.
    T *release()
    {
        T *p = px;
        px = nullptr;
        return p;
    }
    T *get() const { return px; }
    T *operator->() const { return px; }
    explicit operator bool() const { return px != nullptr; }

private:
    T *px;
};

// Checks the library version and initialises it, once per process; never
// paired with a cleanup.
inline void initXmlLibraryOnce()
{
    static const bool initialised = [] {
        LIBXML_TEST_VERSION
        xmlInitParser();
        return true;
    }();
    Q_UNUSED(initialised);
}

} // namespace Tintor
