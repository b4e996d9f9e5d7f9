#pragma once

#include "formats/SwatchChip.h"
#include "formats/SwatchColor.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace Tintor {

// Style sheets (".css") as web developers take colours: written as one
// ":root" rule with a custom property per chip, named from its code, the
// value "#rrggbb" and the chip's name and collection in a comment. Read
// back: every "#rgb" or "#rrggbb" in a declaration's value, named by its
// custom property or, for an ordinary property, by the rule's selector.
class CssFormat {
public:
    static bool read(const QByteArray &bytes, QList<SwatchColor> &colors, QString &error);
    static QByteArray write(const QString &description, const QList<SwatchChip> &chips, bool appendProductCodes);

    // "--" and the code as an identifier, escaped where CSS asks for it.
    static QString propertyName(const QString &code);
    // Resolves the backslash escapes of an identifier.
    static QString unescapeIdentifier(const QString &text);
};

} // namespace Tintor
