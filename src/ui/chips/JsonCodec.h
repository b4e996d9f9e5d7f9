#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace Tintor {

// The small JSON text codec of the chip drag payload. Its output format
// (separators, number forms, key order) is part of the payload format that
// other instances of the program read, so it is not the toolkit's JSON
// writer. Objects read back as QVariantMap, arrays as QVariantList. The
// parser is lenient (missing or repeated commas, trailing text), but since
// a drag payload can come from any application it never recurses deeper
// than kMaxNestingDepth. Needs QtCore only.
class JsonCodec
{
public:
    JsonCodec() = delete;

    // Objects and arrays nested deeper than this fail to parse.
    static constexpr int kMaxNestingDepth = 256;

    // UTF-8 text of `value`; on failure `ok` is false and the result null.
    static QByteArray serialize(const QVariant &value, bool &ok);
    static QByteArray serialize(const QVariant &value);

    // On failure `ok` is false and the result invalid. A null text is an
    // invalid value that parsed fine.
    static QVariant parse(const QString &text, bool &ok);
    static QVariant parse(const QString &text);
};

} // namespace Tintor
