#include "base/ini_text.h"

#include <QDataStream>
#include <QIODevice>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringEncoder>

#include <algorithm>

namespace
{

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

int digitValue(char c, int base)
{
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

// One entry, section or comment of the text; a line goes on across a line break inside quotes or
// after a backslash. `equals` is the first '=' outside quotes, or -1.
struct Line {
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype equals = -1;
};

// The line from `pos` on, white space and whole-line comments before it skipped; false at the
// end of the text. A ';' outside quotes ends the line, and the comment after it is skipped as the
// next line's.
bool nextLine(const QByteArray &data, qsizetype &pos, Line &line)
{
    const qsizetype n = data.size();
    qsizetype start = pos;
    while (start < n && isBlank(data.at(start)))
        ++start;
    line.equals = -1;
    bool inQuotes = false;
    qsizetype i = start;
    while (i < n) {
        const char ch = data.at(i++);
        if (ch == '=') {
            if (!inQuotes && line.equals == -1)
                line.equals = i - 1;
        } else if (ch == '\n' || ch == '\r') {
            if (i == start + 1) {
                ++start;
            } else if (!inQuotes) {
                --i;
                break;
            }
        } else if (ch == '\\') {
            if (i < n) {
                const char escaped = data.at(i++);
                if (i < n) {
                    const char next = data.at(i);
                    if ((escaped == '\n' && next == '\r') || (escaped == '\r' && next == '\n'))
                        ++i;
                }
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else if (ch == ';') {
            if (i == start + 1) {
                while (i < n && data.at(i) != '\n' && data.at(i) != '\r')
                    ++i;
                while (i < n && isBlank(data.at(i)))
                    ++i;
                start = i;
            } else if (!inQuotes) {
                --i;
                break;
            }
        }
    }
    pos = i;
    line.start = start;
    line.length = i - start;
    return line.length > 0;
}

// A key as written: '/' as '\', letters, digits, '_', '-' and '.' as they are, the rest as %XX
// or %UXXXX.
void escapeKey(const QString &key, QByteArray &out)
{
    static const char hex[] = "0123456789ABCDEF";
    for (const QChar qc : key) {
        const char16_t c = qc.unicode();
        if (c == u'/') {
            out += '\\';
        } else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                   (c >= u'0' && c <= u'9') || c == u'_' || c == u'-' || c == u'.') {
            out += char(c);
        } else if (c <= 0xFF) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0xF];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += hex[(c >> shift) & 0xF];
        }
    }
}

QString unescapeKey(const QByteArray &key)
{
    const QString text = QString::fromUtf8(key);
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c == u'\\') {
            out += u'/';
            ++i;
            continue;
        }
        if (c != u'%' || i == text.size() - 1) {
            out += c;
            ++i;
            continue;
        }
        qsizetype first = i + 1;
        int digits = 2;
        if (text.at(first) == u'U') {
            ++first;
            digits = 4;
        }
        bool ok = false;
        const ushort code =
            first + digits <= text.size() ? text.mid(first, digits).toUShort(&ok, 16) : 0;
        if (!ok) {
            out += u'%';
            ++i;
            continue;
        }
        out += QChar(code);
        i = first + digits;
    }
    return out;
}

char namedEscape(char c)
{
    switch (c) {
    case 'a':
        return '\a';
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case 'v':
        return '\v';
    case '"':
    case '?':
    case '\'':
    case '\\':
        return c;
    default:
        return 0;
    }
}

void chopTrailingBlanks(QString &text, qsizetype keep)
{
    qsizetype n = text.size();
    while (n > keep && (text.at(n - 1) == u' ' || text.at(n - 1) == u'\t'))
        --n;
    text.truncate(n);
}

// The value part of an entry: one text, or a list when a comma outside quotes splits it. Blanks
// around an unquoted item are dropped, but never blanks that an escape or a quote made.
bool unescapeValue(const QByteArray &s, QString &text, QStringList &list)
{
    const qsizetype n = s.size();
    qsizetype i = 0;
    qsizetype keep = 0; // the characters before this survive the chop of trailing blanks
    bool isList = false;
    bool inQuotes = false;
    bool quoted = false;
    bool chop = true;
    const auto skipBlanks = [&] {
        while (i < n && (s.at(i) == ' ' || s.at(i) == '\t'))
            ++i;
        keep = text.size();
    };
    skipBlanks();
    while (i < n) {
        const char ch = s.at(i);
        if (ch == '\\') {
            if (++i >= n) {
                chop = false;
                break;
            }
            const char e = s.at(i++);
            if (const char named = namedEscape(e)) {
                text += QLatin1Char(named);
            } else if (e == 'x' || digitValue(e, 8) >= 0) {
                const int base = e == 'x' ? 16 : 8;
                if (e == 'x' && i >= n) {
                    chop = false;
                    break;
                }
                if (e == 'x' && digitValue(s.at(i), 16) < 0) {
                    keep = text.size();
                    continue;
                }
                char16_t code = e == 'x' ? 0 : char16_t(digitValue(e, 8));
                while (i < n && digitValue(s.at(i), base) >= 0)
                    code = char16_t(code * base + digitValue(s.at(i++), base));
                text += QChar(code);
                if (i >= n) {
                    chop = false;
                    break;
                }
            } else if (e == '\n' || e == '\r') {
                if (i < n && (s.at(i) == '\n' || s.at(i) == '\r') && s.at(i) != e)
                    ++i;
            }
            keep = text.size();
            continue;
        }
        if (ch == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks();
            continue;
        }
        if (ch == ',' && !inQuotes) {
            if (!quoted)
                chopTrailingBlanks(text, keep);
            isList = true;
            list.append(text);
            text.clear();
            quoted = false;
            ++i;
            skipBlanks();
            continue;
        }
        qsizetype j = i + 1;
        while (j < n && s.at(j) != '\\' && s.at(j) != '"' && s.at(j) != ',')
            ++j;
        text += QString::fromUtf8(s.constData() + i, j - i);
        i = j;
    }
    if (chop && !quoted)
        chopTrailingBlanks(text, keep);
    if (isList)
        list.append(text);
    return isList;
}

// The numbers of "@Rect(1 2 3 4)" from `open`, the index of its '('.
QStringList arguments(const QString &s, qsizetype open)
{
    return s.mid(open + 1, s.size() - open - 2).split(u' ');
}

QVariant fromStreamed(const QString &s, qsizetype offset, QDataStream::Version version)
{
    QByteArray bytes = s.mid(offset).toLatin1();
    QDataStream stream(&bytes, QIODevice::ReadOnly);
    stream.setVersion(version);
    QVariant value;
    stream >> value;
    return value;
}

QVariant toVariant(const QString &s)
{
    if (!s.startsWith(u'@'))
        return s;
    if (s.endsWith(u')')) {
        if (s.startsWith(QLatin1String("@ByteArray(")))
            return s.mid(11, s.size() - 12).toLatin1();
        if (s.startsWith(QLatin1String("@String(")))
            return s.mid(8, s.size() - 9);
        if (s.startsWith(QLatin1String("@Variant(")))
            return fromStreamed(s, 9, QDataStream::Qt_4_0);
        if (s.startsWith(QLatin1String("@DateTime(")))
            return fromStreamed(s, 10, QDataStream::Qt_5_6);
        if (s.startsWith(QLatin1String("@Rect("))) {
            const QStringList a = arguments(s, 5);
            if (a.size() == 4)
                return QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
        } else if (s.startsWith(QLatin1String("@Size("))) {
            const QStringList a = arguments(s, 5);
            if (a.size() == 2)
                return QSize(a[0].toInt(), a[1].toInt());
        } else if (s.startsWith(QLatin1String("@Point("))) {
            const QStringList a = arguments(s, 6);
            if (a.size() == 2)
                return QPoint(a[0].toInt(), a[1].toInt());
        } else if (s == QLatin1String("@Invalid()")) {
            return {};
        }
    }
    if (s.startsWith(QLatin1String("@@")))
        return s.mid(1);
    return s;
}

// A list of plain strings stays a string list; an item with a special value makes it a list of
// values.
QVariant toVariant(const QStringList &items)
{
    QStringList plain = items;
    for (QString &item : plain) {
        if (!item.startsWith(u'@'))
            continue;
        if (item.size() < 2 || item.at(1) != u'@') {
            QVariantList values;
            for (const QString &each : items)
                values.append(toVariant(each));
            return values;
        }
        item.remove(0, 1);
    }
    return plain;
}

QString streamed(const QVariant &v, const char *prefix, QDataStream::Version version)
{
    QByteArray bytes;
    {
        QDataStream stream(&bytes, QIODevice::WriteOnly);
        stream.setVersion(version);
        stream << v;
    }
    return QLatin1String(prefix) + QLatin1String(bytes.constData(), bytes.size()) + u')';
}

QString toText(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::UnknownType:
        return QStringLiteral("@Invalid()");
    case QMetaType::QByteArray: {
        const QByteArray bytes = v.toByteArray();
        return QLatin1String("@ByteArray(") + QLatin1String(bytes.constData(), bytes.size()) +
               u')';
    }
    case QMetaType::QString:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
    case QMetaType::Float:
    case QMetaType::Double: {
        QString text = v.toString();
        if (text.contains(QChar::Null))
            return QLatin1String("@String(") + text + u')';
        if (text.startsWith(u'@'))
            text.prepend(u'@');
        return text;
    }
    case QMetaType::QRect: {
        const QRect r = v.toRect();
        return QString::asprintf("@Rect(%d %d %d %d)", r.x(), r.y(), r.width(), r.height());
    }
    case QMetaType::QSize: {
        const QSize s = v.toSize();
        return QString::asprintf("@Size(%d %d)", s.width(), s.height());
    }
    case QMetaType::QPoint: {
        const QPoint p = v.toPoint();
        return QString::asprintf("@Point(%d %d)", p.x(), p.y());
    }
    case QMetaType::QDateTime:
        return streamed(v, "@DateTime(", QDataStream::Qt_5_6);
    default:
        return streamed(v, "@Variant(", QDataStream::Qt_4_0);
    }
}

// A text as written: escapes for control characters, quotes and backslashes, quotes around it
// when it holds ';', ',' or '=' or starts or ends with a blank. Byte arrays and streamed values
// are written byte by byte, the rest as UTF-8.
void escapeText(const QString &text, QByteArray &out)
{
    const bool utf8 = !(text.startsWith(QLatin1String("@ByteArray(")) ||
                        text.startsWith(QLatin1String("@Variant(")) ||
                        text.startsWith(QLatin1String("@DateTime(")));
    const qsizetype start = out.size();
    bool needsQuotes = false;
    bool escapeNextHexDigit = false; // a digit after "\0" or "\x.." would read as part of it
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == u';' || c == u',' || c == u'=')
            needsQuotes = true;
        if (escapeNextHexDigit && c < 0x80 && digitValue(char(c), 16) >= 0) {
            out += "\\x" + QByteArray::number(c, 16);
            continue;
        }
        escapeNextHexDigit = false;
        switch (c) {
        case u'\0':
            out += "\\0";
            escapeNextHexDigit = true;
            break;
        case u'\a':
            out += "\\a";
            break;
        case u'\b':
            out += "\\b";
            break;
        case u'\f':
            out += "\\f";
            break;
        case u'\n':
            out += "\\n";
            break;
        case u'\r':
            out += "\\r";
            break;
        case u'\t':
            out += "\\t";
            break;
        case u'\v':
            out += "\\v";
            break;
        case u'"':
        case u'\\':
            out += '\\';
            out += char(c);
            break;
        default:
            if (c <= 0x1F || (c >= 0x7F && !utf8)) {
                out += "\\x" + QByteArray::number(c, 16);
                escapeNextHexDigit = true;
            } else if (utf8) {
                out += toUtf8(QStringView(&qc, 1));
            } else {
                out += char(c);
            }
        }
    }
    if (needsQuotes ||
        (start < out.size() && (out.at(start) == ' ' || out.at(out.size() - 1) == ' '))) {
        out.insert(start, '"');
        out += '"';
    }
}

void escapeValue(const QVariant &value, QByteArray &out)
{
    const int type = value.metaType().id();
    // A list of one other than a string list is written as one streamed value.
    if (type == QMetaType::QStringList ||
        (type == QMetaType::QVariantList && value.toList().size() != 1)) {
        const QVariantList items = value.toList();
        if (items.isEmpty()) {
            // Distinct from a list holding one empty string.
            out += "@Invalid()";
            return;
        }
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (i != 0)
                out += ", ";
            escapeText(toText(items.at(i)), out);
        }
        return;
    }
    escapeText(toText(value), out);
}

} // namespace

namespace ini
{

bool parse(const QByteArray &text, QSettings::SettingsMap &map)
{
    // A byte order mark is skipped. (Qt 6.4 also counts it as a damaged line when a section
    // follows, though it reads every entry; a file saved by an editor that writes one is fine.)
    const QByteArray data = text.startsWith("\xef\xbb\xbf") ? text.mid(3) : text;
    bool wellFormed = true;
    QString section; // with its trailing '/', empty for [General]
    qsizetype pos = 0;
    Line line;
    while (nextLine(data, pos, line)) {
        const QByteArray entry = data.mid(line.start, line.length);
        if (entry.startsWith('[')) {
            qsizetype close = entry.indexOf(']');
            if (close < 0) {
                wellFormed = false;
                close = entry.size();
            }
            const QByteArray name = entry.mid(1, close - 1).trimmed();
            if (name.compare("general", Qt::CaseInsensitive) == 0) {
                section.clear();
            } else {
                section = name.compare("%general", Qt::CaseInsensitive) == 0
                              ? QString::fromLatin1(name.mid(1))
                              : unescapeKey(name);
                section += u'/';
            }
            continue;
        }
        if (line.equals < 0) {
            if (!entry.startsWith(';'))
                wellFormed = false;
            continue;
        }
        const qsizetype equals = line.equals - line.start;
        const QString key = section + unescapeKey(entry.left(equals).trimmed());
        QString value;
        QStringList items;
        map.insert(key, unescapeValue(entry.mid(equals + 1), value, items) ? toVariant(items)
                                                                           : toVariant(value));
    }
    return wellFormed;
}

QByteArray serialize(const QSettings::SettingsMap &map)
{
    // Sections by name, [General] first, and keys by name within them, as Qt 6.4 writes them
    // whatever order the file had.
    struct Entry {
        QString section;
        QString name;
        const QVariant *value;
    };
    std::vector<Entry> entries;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(u'/');
        entries.push_back({slash < 0 ? QString() : it.key().left(slash),
                           slash < 0 ? it.key() : it.key().mid(slash + 1), &it.value()});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return a.section != b.section ? a.section < b.section : a.name < b.name;
    });

    QByteArray out;
    const QString *section = nullptr;
    for (const Entry &e : entries) {
        if (!section || *section != e.section) {
            QByteArray header;
            escapeKey(e.section, header);
            if (header.isEmpty())
                header = "[General]";
            else if (header.compare("general", Qt::CaseInsensitive) == 0)
                header = "[%General]";
            else
                header = '[' + header + ']';
            if (section)
                out += '\n';
            out += header + '\n';
            section = &e.section;
        }
        escapeKey(e.name, out);
        out += '=';
        escapeValue(*e.value, out);
        out += '\n';
    }
    return out;
}

} // namespace ini
