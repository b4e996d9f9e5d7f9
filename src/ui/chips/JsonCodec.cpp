#include "ui/chips/JsonCodec.h"

#include <QByteArrayList>
#include <QVariantHash>
#include <QVariantList>
#include <QVariantMap>

namespace Tintor {

namespace {

QByteArray escapedString(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('"'), QLatin1String("\\\""));
    escaped.replace(QLatin1Char('\b'), QLatin1String("\\b"));
    escaped.replace(QLatin1Char('\f'), QLatin1String("\\f"));
    escaped.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    escaped.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    escaped.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    return '"' + escaped.toUtf8() + '"';
}

QByteArray joined(const QByteArrayList &parts, const char *open, const char *close)
{
    return QByteArray(open) + parts.join(", ") + QByteArray(close);
}

// True when the variant's value converts to `Target`; the converted value
// goes to `out`.
template <typename Target>
bool convertedTo(const QVariant &value, Target &out)
{
    if (!value.canConvert<Target>())
        return false;
    QVariant copy = value;
    if (!copy.convert(QMetaType::fromType<Target>()))
        return false;
    out = copy.value<Target>();
    return true;
}

bool serializeInto(const QVariant &value, QByteArray &out);

template <typename Container>
bool serializePairs(const Container &container, QByteArray &out)
{
    QByteArrayList pairs;
    pairs.reserve(container.size());
    for (auto it = container.cbegin(); it != container.cend(); ++it) {
        QByteArray element;
        if (!serializeInto(it.value(), element))
            return false;
        pairs.append(escapedString(it.key()) + " : " + element);
    }
    out = joined(pairs, "{ ", " }");
    return true;
}

bool serializeInto(const QVariant &value, QByteArray &out)
{
    if (!value.isValid()) {
        out = "null";
        return true;
    }
    const int type = value.userType();
    if (type == QMetaType::QVariantList || type == QMetaType::QStringList) {
        const QVariantList list = value.toList();
        QByteArrayList elements;
        elements.reserve(list.size());
        for (const QVariant &element : list) {
            QByteArray text;
            if (!serializeInto(element, text))
                return false;
            elements.append(text);
        }
        out = joined(elements, "[ ", " ]");
        return true;
    }
    if (type == QMetaType::QVariantHash)
        return serializePairs(value.toHash(), out);
    if (type == QMetaType::QVariantMap)
        return serializePairs(value.toMap(), out);
    if (type == QMetaType::QString || type == QMetaType::QByteArray) {
        out = escapedString(value.toString());
        return true;
    }
    if (type == QMetaType::Double || type == QMetaType::Float) {
        out = QByteArray::number(value.toDouble(), 'g', 20);
        if (!out.contains('.') && !out.contains('e'))
            out += ".0";
        return true;
    }
    if (type == QMetaType::Bool) {
        out = value.toBool() ? "true" : "false";
        return true;
    }
    if (type == QMetaType::ULongLong) {
        out = QByteArray::number(value.toULongLong());
        return true;
    }
    qlonglong longLong = 0;
    if (convertedTo(value, longLong)) {
        out = QByteArray::number(longLong);
        return true;
    }
    long longValue = 0;
    if (convertedTo(value, longValue)) {
        out = QByteArray::number(longValue);
        return true;
    }
    QString text;
    if (convertedTo(value, text)) {
        out = escapedString(text);
        return true;
    }
    return false;
}

// Reads one value from a text. Every failure unwinds with false; nesting is
// counted so that a text of many opening brackets fails instead of
// exhausting the stack.
class Parser
{
public:
    explicit Parser(const QString &text)
        : m_text(text.constData())
        , m_length(text.size())
    {
    }

    bool readValue(QVariant &out)
    {
        skipBlanks();
        if (atEnd())
            return false;
        const QChar c = m_text[m_position];
        if (c == QLatin1Char('{'))
            return readObject(out);
        if (c == QLatin1Char('['))
            return readArray(out);
        if (c == QLatin1Char('"'))
            return readString(out);
        if (c == QLatin1Char('-') || (c.unicode() >= u'0' && c.unicode() <= u'9'))
            return readNumber(out);
        if (startsWithWord("true")) {
            m_position += 4;
            out = true;
            return true;
        }
        if (startsWithWord("false")) {
            m_position += 5;
            out = false;
            return true;
        }
        if (startsWithWord("null")) {
            m_position += 4;
            out = QVariant();
            return true;
        }
        return false;
    }

private:
    bool atEnd() const { return m_position >= m_length; }

    void skipBlanks()
    {
        while (!atEnd()) {
            const char16_t c = m_text[m_position].unicode();
            if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r')
                break;
            ++m_position;
        }
    }

    bool startsWithWord(const char *word) const
    {
        qsizetype index = m_position;
        for (; *word; ++word, ++index) {
            if (index >= m_length || m_text[index] != QLatin1Char(*word))
                return false;
        }
        return true;
    }

    // Skips blanks; true when the next character is `c` (not consumed).
    bool nextIs(char c)
    {
        skipBlanks();
        return !atEnd() && m_text[m_position] == QLatin1Char(c);
    }

    bool enter()
    {
        ++m_depth;
        return m_depth <= JsonCodec::kMaxNestingDepth;
    }

    bool readObject(QVariant &out)
    {
        if (!enter())
            return false;
        ++m_position;
        QVariantMap map;
        for (;;) {
            skipBlanks();
            if (atEnd())
                return false;
            const QChar c = m_text[m_position];
            if (c == QLatin1Char(',')) {
                ++m_position;
                continue;
            }
            if (c == QLatin1Char('}')) {
                ++m_position;
                break;
            }
            QVariant key;
            if (!readString(key) || !nextIs(':'))
                return false;
            ++m_position;
            QVariant value;
            if (!readValue(value))
                return false;
            map.insert(key.toString(), value);
        }
        --m_depth;
        out = map;
        return true;
    }

    bool readArray(QVariant &out)
    {
        if (!enter())
            return false;
        ++m_position;
        QVariantList list;
        for (;;) {
            skipBlanks();
            if (atEnd())
                return false;
            const QChar c = m_text[m_position];
            if (c == QLatin1Char(',')) {
                ++m_position;
                continue;
            }
            if (c == QLatin1Char(']')) {
                ++m_position;
                break;
            }
            QVariant value;
            if (!readValue(value))
                return false;
            list.append(value);
        }
        --m_depth;
        out = list;
        return true;
    }

    static int hexDigit(QChar c)
    {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            return u - u'0';
        if (u >= u'a' && u <= u'f')
            return u - u'a' + 10;
        if (u >= u'A' && u <= u'F')
            return u - u'A' + 10;
        return -1;
    }

    // The opening character is taken as the quote without looking at it.
    bool readString(QVariant &out)
    {
        skipBlanks();
        if (atEnd())
            return false;
        ++m_position;
        QString text;
        for (;;) {
            if (atEnd())
                return false;
            const QChar c = m_text[m_position++];
            if (c == QLatin1Char('"'))
                break;
            if (c != QLatin1Char('\\')) {
                text.append(c);
                continue;
            }
            if (atEnd())
                return false;
            const QChar escaped = m_text[m_position++];
            switch (escaped.unicode()) {
            case u'"':
            case u'\\':
            case u'/':
                text.append(escaped);
                break;
            case u'b':
                text.append(QLatin1Char('\b'));
                break;
            case u'f':
                text.append(QLatin1Char('\f'));
                break;
            case u'n':
                text.append(QLatin1Char('\n'));
                break;
            case u'r':
                text.append(QLatin1Char('\r'));
                break;
            case u't':
                text.append(QLatin1Char('\t'));
                break;
            case u'u': {
                if (m_length - m_position < 4)
                    return false;
                char16_t unit = 0;
                for (int i = 0; i < 4; ++i) {
                    const int digit = hexDigit(m_text[m_position + i]);
                    if (digit < 0) {
                        unit = 0;
                        break;
                    }
                    unit = char16_t(unit * 16 + digit);
                }
                m_position += 4;
                text.append(QChar(unit));
                break;
            }
            default:
                break; // unknown escapes are dropped
            }
        }
        out = text;
        return true;
    }

    bool readNumber(QVariant &out)
    {
        static const QString numberCharacters = QStringLiteral("0123456789+-.eE");
        const qsizetype start = m_position;
        while (!atEnd() && numberCharacters.contains(m_text[m_position]))
            ++m_position;
        const QString number(m_text + start, m_position - start);
        bool ok = false;
        if (number.contains(QLatin1Char('.'))) {
            const double value = number.toDouble(&ok);
            out = ok ? value : 0.0;
        } else if (number.startsWith(QLatin1Char('-'))) {
            const qint64 value = number.toLongLong(&ok, 10);
            out = ok ? value : qint64(0);
        } else {
            const quint64 value = number.toULongLong(&ok, 10);
            out = ok ? value : quint64(0);
        }
        return true;
    }

    const QChar *m_text;
    qsizetype m_length;
    qsizetype m_position = 0;
    int m_depth = 0;
};

} // namespace

QByteArray JsonCodec::serialize(const QVariant &value, bool &ok)
{
    QByteArray out;
    ok = serializeInto(value, out);
    return ok ? out : QByteArray();
}

QByteArray JsonCodec::serialize(const QVariant &value)
{
    bool ok = false;
    return serialize(value, ok);
}

QVariant JsonCodec::parse(const QString &text, bool &ok)
{
    if (text.isNull()) {
        ok = true;
        return QVariant();
    }
    Parser parser(text);
    QVariant value;
    ok = parser.readValue(value);
    return ok ? value : QVariant();
}

QVariant JsonCodec::parse(const QString &text)
{
    bool ok = false;
    return parse(text, ok);
}

} // namespace Tintor
