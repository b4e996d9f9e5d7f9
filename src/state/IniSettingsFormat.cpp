#include "state/IniSettingsFormat.h"

#include "engine/inc/Logging.h"

#include <QDataStream>
#include <QElapsedTimer>
#include <QFileDevice>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>

namespace Tintor {

namespace {

QElapsedTimer &sinceFailedWrite()
{
    static QElapsedTimer timer;
    return timer;
}

#ifdef Q_OS_WIN
const char kLineEnd[] = "\r\n";
#else
const char kLineEnd[] = "\n";
#endif

bool isHexDigit(char16_t ch)
{
    return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
}

int digitValue(char ch, int base)
{
    int value = -1;
    if (ch >= '0' && ch <= '9')
        value = ch - '0';
    else if (ch >= 'a' && ch <= 'f')
        value = ch - 'a' + 10;
    else if (ch >= 'A' && ch <= 'F')
        value = ch - 'A' + 10;
    return value < base ? value : -1;
}

char upperHex(uint digit)
{
    return "0123456789ABCDEF"[digit & 0xF];
}

// Keys and group names: letters, digits, '_', '-' and '.' as they are, '/'
// as '\', other Latin-1 as %XX and the rest as %UXXXX.
QByteArray escapedKey(const QString &key)
{
    QByteArray result;
    for (const QChar unit : key) {
        const char16_t ch = unit.unicode();
        if (ch == '/') {
            result += '\\';
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_'
            || ch == '-' || ch == '.') {
            result += char(ch);
        } else if (ch <= 0xFF) {
            result += '%';
            result += upperHex(ch >> 4);
            result += upperHex(ch);
        } else {
            result += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                result += upperHex(ch >> shift);
        }
    }
    return result;
}

QString unescapedKey(const QByteArray &key)
{
    const QString decoded = QString::fromUtf8(key);
    const qsizetype size = decoded.size();
    QString result;
    qsizetype index = 0;
    while (index < size) {
        const QChar unit = decoded.at(index);
        if (unit == QLatin1Char('\\')) {
            result += QLatin1Char('/');
            ++index;
            continue;
        }
        if (unit != QLatin1Char('%') || index == size - 1) {
            result += unit;
            ++index;
            continue;
        }
        qsizetype first = index + 1;
        int digits = 2;
        if (decoded.at(first) == QLatin1Char('U')) {
            ++first;
            digits = 4;
        }
        bool ok = false;
        const ushort code = first + digits <= size ? QStringView(decoded).mid(first, digits).toUShort(&ok, 16) : 0;
        if (!ok) {
            result += QLatin1Char('%');
            ++index;
            continue;
        }
        result += QChar(code);
        index = first + digits;
    }
    return result;
}

// A value's text: C escapes for control characters, quotes and
// backslashes; quoted as a whole when it holds ';', ',' or '=' or starts or
// ends with a blank. Stored binary forms stay Latin-1 with \x escapes.
void appendEscapedString(const QString &text, QByteArray &result)
{
    const bool asUtf8 = !(text.startsWith(QLatin1String("@ByteArray(")) || text.startsWith(QLatin1String("@Variant("))
        || text.startsWith(QLatin1String("@DateTime(")));
    const qsizetype start = result.size();
    bool needsQuotes = false;
    bool escapeNextHexDigit = false;
    QString plain;
    const auto flushPlain = [&] {
        result += plain.toUtf8();
        plain.clear();
    };
    for (const QChar unit : text) {
        const char16_t ch = unit.unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            needsQuotes = true;
        // A digit right after a numeric escape would be read as part of it.
        if (escapeNextHexDigit && isHexDigit(ch)) {
            flushPlain();
            result += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        escapeNextHexDigit = false;
        const char *escape = nullptr;
        switch (ch) {
        case '\0':
            escape = "\\0";
            escapeNextHexDigit = true;
            break;
        case '\a':
            escape = "\\a";
            break;
        case '\b':
            escape = "\\b";
            break;
        case '\f':
            escape = "\\f";
            break;
        case '\n':
            escape = "\\n";
            break;
        case '\r':
            escape = "\\r";
            break;
        case '\t':
            escape = "\\t";
            break;
        case '\v':
            escape = "\\v";
            break;
        case '"':
            escape = "\\\"";
            break;
        case '\\':
            escape = "\\\\";
            break;
        default:
            break;
        }
        if (escape) {
            flushPlain();
            result += escape;
        } else if (ch <= 0x1F || (ch >= 0x7F && !asUtf8)) {
            flushPlain();
            result += "\\x" + QByteArray::number(ch, 16);
            escapeNextHexDigit = true;
        } else if (asUtf8) {
            plain += unit;
        } else {
            result += char(ch);
        }
    }
    flushPlain();
    if (needsQuotes || (start < result.size() && (result.at(start) == ' ' || result.back() == ' '))) {
        result.insert(start, '"');
        result += '"';
    }
}

// A list is its items joined by ", "; an empty list is written as
// @Invalid(), told apart from a list of one empty text.
void appendEscapedStringList(const QStringList &items, QByteArray &result)
{
    if (items.isEmpty()) {
        result += "@Invalid()";
        return;
    }
    for (qsizetype index = 0; index < items.size(); ++index) {
        if (index != 0)
            result += ", ";
        appendEscapedString(items.at(index), result);
    }
}

char simpleEscape(char ch)
{
    static const char codes[][2] = { { 'a', '\a' }, { 'b', '\b' }, { 'f', '\f' }, { 'n', '\n' }, { 'r', '\r' },
        { 't', '\t' }, { 'v', '\v' }, { '"', '"' }, { '?', '?' }, { '\'', '\'' }, { '\\', '\\' } };
    for (const auto &code : codes) {
        if (ch == code[0])
            return code[1];
    }
    return 0;
}

void chopTrailingBlanks(QString &text, qsizetype limit)
{
    while (text.size() > limit && (text.back() == QLatin1Char(' ') || text.back() == QLatin1Char('\t')))
        text.chop(1);
}

// Undoes appendEscapedString/appendEscapedStringList. True when the text is
// a list (it has an unquoted comma); then `list` holds the items, otherwise
// `single` the one text. Blanks around unquoted items are dropped, except
// after an escape, and a value cut off inside an escape keeps its blanks.
bool unescapedValue(const QByteArray &text, QString &single, QStringList &list)
{
    const qsizetype size = text.size();
    qsizetype index = 0;
    bool isList = false;
    bool inQuotes = false;
    bool quoted = false;
    bool endedInEscape = false;
    const auto skipBlanks = [&] {
        while (index < size && (text.at(index) == ' ' || text.at(index) == '\t'))
            ++index;
    };
    skipBlanks();
    qsizetype chopLimit = 0;
    while (index < size && !endedInEscape) {
        char ch = text.at(index);
        if (ch == '\\') {
            if (++index >= size) {
                endedInEscape = true;
                break;
            }
            ch = text.at(index++);
            if (const char simple = simpleEscape(ch)) {
                single += QLatin1Char(simple);
            } else if ((ch == 'x' && index < size && digitValue(text.at(index), 16) != -1) || digitValue(ch, 8) != -1) {
                const int base = ch == 'x' ? 16 : 8;
                char16_t value = base == 8 ? char16_t(ch - '0') : 0;
                while (index < size && digitValue(text.at(index), base) != -1)
                    value = char16_t(value * base + digitValue(text.at(index++), base));
                single += QChar(value);
                endedInEscape = index >= size;
            } else if (ch == 'x') {
                endedInEscape = index >= size;
            } else if ((ch == '\n' || ch == '\r') && index < size) {
                // An escaped line end continues the value; a CR LF pair is one.
                const char next = text.at(index);
                if ((next == '\n' || next == '\r') && next != ch)
                    ++index;
            }
            chopLimit = single.size();
        } else if (ch == '"') {
            ++index;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipBlanks();
                chopLimit = single.size();
            }
        } else if (ch == ',' && !inQuotes) {
            if (!quoted)
                chopTrailingBlanks(single, chopLimit);
            if (!isList) {
                isList = true;
                list.clear();
            }
            list.append(single);
            single.clear();
            quoted = false;
            ++index;
            skipBlanks();
            chopLimit = 0;
        } else {
            qsizetype end = index + 1;
            while (end < size && text.at(end) != '\\' && text.at(end) != '"' && text.at(end) != ',')
                ++end;
            single += QString::fromUtf8(text.mid(index, end - index));
            index = end;
        }
    }
    if (!quoted && !endedInEscape)
        chopTrailingBlanks(single, chopLimit);
    if (isList)
        list.append(single);
    return isList;
}

// The numbers of "@Rect(x y w h)" and its kin.
QList<int> arguments(const QString &text, qsizetype open)
{
    QList<int> numbers;
    const QStringList parts = text.mid(open + 1, text.size() - open - 2).split(QLatin1Char(' '));
    for (const QString &part : parts)
        numbers.append(part.toInt());
    return numbers;
}

QVariant streamedVariant(const QString &text, qsizetype offset, QDataStream::Version version)
{
    QByteArray bytes = text.mid(offset, text.size() - offset - 1).toLatin1();
    QDataStream stream(&bytes, QIODevice::ReadOnly);
    stream.setVersion(version);
    QVariant result;
    stream >> result;
    return result;
}

// Plain text stays text; "@..." forms carry other types, "@@" a text that
// starts with '@'.
QVariant stringToVariant(const QString &text)
{
    if (!text.startsWith(QLatin1Char('@')))
        return text;
    if (text.endsWith(QLatin1Char(')'))) {
        if (text.startsWith(QLatin1String("@ByteArray(")))
            return text.mid(11, text.size() - 12).toLatin1();
        if (text.startsWith(QLatin1String("@String(")))
            return text.mid(8, text.size() - 9);
        if (text.startsWith(QLatin1String("@Variant(")))
            return streamedVariant(text, 9, QDataStream::Qt_4_0);
        if (text.startsWith(QLatin1String("@DateTime(")))
            return streamedVariant(text, 10, QDataStream::Qt_5_6);
        if (text.startsWith(QLatin1String("@Rect("))) {
            const QList<int> n = arguments(text, 5);
            if (n.size() == 4)
                return QRect(n[0], n[1], n[2], n[3]);
        } else if (text.startsWith(QLatin1String("@Size("))) {
            const QList<int> n = arguments(text, 5);
            if (n.size() == 2)
                return QSize(n[0], n[1]);
        } else if (text.startsWith(QLatin1String("@Point("))) {
            const QList<int> n = arguments(text, 6);
            if (n.size() == 2)
                return QPoint(n[0], n[1]);
        } else if (text == QLatin1String("@Invalid()")) {
            return QVariant();
        }
    }
    if (text.startsWith(QLatin1String("@@")))
        return text.mid(1);
    return text;
}

// A list of texts stays a text list unless an item carries a type of its
// own, then every item is converted.
QVariant stringListToVariant(QStringList items)
{
    for (QString &item : items) {
        if (!item.startsWith(QLatin1Char('@')))
            continue;
        if (item.size() < 2 || item.at(1) != QLatin1Char('@')) {
            QVariantList converted;
            for (const QString &each : std::as_const(items))
                converted.append(stringToVariant(each));
            return converted;
        }
        item.remove(0, 1);
    }
    return items;
}

QString variantToString(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::UnknownType:
        return QStringLiteral("@Invalid()");
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return QLatin1String("@ByteArray(") + QLatin1String(bytes.constData(), bytes.size()) + QLatin1Char(')');
    }
    case QMetaType::QKeySequence:
    case QMetaType::QString:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
    case QMetaType::Float:
    case QMetaType::Double: {
        QString text = value.toString();
        if (text.contains(QChar::Null))
            return QLatin1String("@String(") + text + QLatin1Char(')');
        if (text.startsWith(QLatin1Char('@')))
            text.prepend(QLatin1Char('@'));
        return text;
    }
    case QMetaType::QRect: {
        const QRect rect = value.toRect();
        return QString::asprintf("@Rect(%d %d %d %d)", rect.x(), rect.y(), rect.width(), rect.height());
    }
    case QMetaType::QSize: {
        const QSize size = value.toSize();
        return QString::asprintf("@Size(%d %d)", size.width(), size.height());
    }
    case QMetaType::QPoint: {
        const QPoint point = value.toPoint();
        return QString::asprintf("@Point(%d %d)", point.x(), point.y());
    }
    default: {
        const bool isDateTime = value.metaType().id() == QMetaType::QDateTime;
        QByteArray bytes;
        {
            QDataStream stream(&bytes, QIODevice::WriteOnly);
            stream.setVersion(isDateTime ? QDataStream::Qt_5_6 : QDataStream::Qt_4_0);
            stream << value;
        }
        return QLatin1String(isDateTime ? "@DateTime(" : "@Variant(") + QLatin1String(bytes.constData(), bytes.size())
            + QLatin1Char(')');
    }
    }
}

bool isSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f' || ch == '\v';
}

// The next logical line from `position`: it ends at an unquoted line end
// that no backslash escapes, or at an unquoted ';' that starts a comment.
// Whole comment lines and blank lines are passed over. `equalsAt` is the
// first unquoted '=' within the line, or -1.
bool nextLine(const QByteArray &data, qsizetype &position, QByteArray &line, qsizetype &equalsAt)
{
    const qsizetype size = data.size();
    qsizetype start = position;
    while (start < size && isSpace(data.at(start)))
        ++start;
    qsizetype index = start;
    qsizetype equals = -1;
    bool inQuotes = false;
    while (index < size) {
        const char ch = data.at(index++);
        if (ch == '=') {
            if (!inQuotes && equals == -1)
                equals = index - 1;
        } else if (ch == '\n' || ch == '\r') {
            if (index == start + 1) {
                ++start;
            } else if (!inQuotes) {
                --index;
                break;
            }
        } else if (ch == '\\') {
            if (index < size) {
                const char escaped = data.at(index++);
                if (index < size) {
                    const char next = data.at(index);
                    if ((escaped == '\n' && next == '\r') || (escaped == '\r' && next == '\n'))
                        ++index;
                }
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else if (ch == ';') {
            if (index == start + 1) {
                while (index < size && data.at(index) != '\n' && data.at(index) != '\r')
                    ++index;
                while (index < size && isSpace(data.at(index)))
                    ++index;
                start = index;
            } else if (!inQuotes) {
                --index;
                break;
            }
        }
    }
    position = index;
    line = data.mid(start, index - start);
    equalsAt = equals < 0 ? -1 : equals - start;
    return index > start;
}

} // namespace

QSettings::Format IniSettingsFormat::format()
{
    static const QSettings::Format registered = [] {
        const QSettings::Format own = QSettings::registerFormat(QStringLiteral("ini"), read, write);
        // The toolkit allows a few custom formats per process; without a
        // free one the store is still the same file.
        return own == QSettings::InvalidFormat ? QSettings::IniFormat : own;
    }();
    return registered;
}

QSettings::SettingsMap IniSettingsFormat::parse(const QByteArray &text)
{
    const QByteArray data = text.startsWith("\xEF\xBB\xBF") ? text.mid(3) : text;
    QSettings::SettingsMap map;
    QString group; // with its trailing '/', empty for [General]
    qsizetype position = 0;
    QByteArray line;
    qsizetype equalsAt = -1;
    while (nextLine(data, position, line, equalsAt)) {
        if (line.startsWith('[')) {
            const qsizetype close = line.indexOf(']');
            const QByteArray name = line.mid(1, (close < 0 ? line.size() : close) - 1).trimmed();
            const QByteArray lower = name.toLower();
            if (lower == "general") {
                group.clear();
            } else {
                // [%General] is the group named "General", not the top level.
                group = lower == "%general" ? QString::fromLatin1(name.mid(1)) : unescapedKey(name);
                group += QLatin1Char('/');
            }
            continue;
        }
        if (equalsAt < 0)
            continue;
        QString single;
        QStringList list;
        const bool isList = unescapedValue(line.mid(equalsAt + 1), single, list);
        map.insert(group + unescapedKey(line.left(equalsAt).trimmed()),
            isList ? stringListToVariant(list) : stringToVariant(single));
    }
    return map;
}

QByteArray IniSettingsFormat::text(const QSettings::SettingsMap &map)
{
    QMap<QString, QSettings::SettingsMap> groups;
    for (auto entry = map.cbegin(); entry != map.cend(); ++entry) {
        const qsizetype slash = entry.key().indexOf(QLatin1Char('/'));
        const QString group = slash < 0 ? QString() : entry.key().left(slash);
        groups[group].insert(entry.key().mid(slash + 1), entry.value());
    }
    QByteArray result;
    for (auto group = groups.cbegin(); group != groups.cend(); ++group) {
        QByteArray header = escapedKey(group.key());
        if (header.isEmpty())
            header = "[General]";
        else if (header.toLower() == "general")
            header = "[%General]";
        else
            header = '[' + header + ']';
        if (!result.isEmpty())
            result += kLineEnd;
        result += header + kLineEnd;
        for (auto entry = group->cbegin(); entry != group->cend(); ++entry) {
            result += escapedKey(entry.key()) + '=';
            const QVariant &value = entry.value();
            if (value.metaType().id() == QMetaType::QStringList
                || (value.metaType().id() == QMetaType::QVariantList && value.toList().size() != 1)) {
                QStringList items;
                for (const QVariant &item : value.toList())
                    items.append(variantToString(item));
                appendEscapedStringList(items, result);
            } else {
                appendEscapedString(variantToString(value), result);
            }
            result += kLineEnd;
        }
    }
    return result;
}

bool IniSettingsFormat::read(QIODevice &device, QSettings::SettingsMap &map)
{
    map = parse(device.readAll());
    return true;
}

bool IniSettingsFormat::write(QIODevice &device, const QSettings::SettingsMap &map)
{
    const QByteArray content = text(map);
    bool written = device.write(content) == content.size();
    // The store's save file only meets the disk when flushed; a failure
    // there must reach the store, which then keeps the old file.
    if (auto *file = qobject_cast<QFileDevice *>(&device); written && file)
        written = file->flush() && file->error() == QFileDevice::NoError;
    if (written) {
        sinceFailedWrite().invalidate();
    } else {
        sinceFailedWrite().start();
        qCDebug(lcHuelink) << "User state not written:" << device.errorString() << "- the previous file stays";
    }
    return written;
}

bool IniSettingsFormat::writeFailedWithin(qint64 milliseconds)
{
    return sinceFailedWrite().isValid() && !sinceFailedWrite().hasExpired(milliseconds);
}

} // namespace Tintor
