#include "javadoc/source/CommentRenderer.h"

#include <QHash>

#include "javadoc/Extractor.h"
#include "javadoc/source/MarkdownComment.h"
#include "platform/JavaText.h"

namespace javadoc::source {

void appendMarkupEscaped(QString& out, QStringView text, bool braces)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('<'))
            out += QLatin1String("&lt;");
        else if (c == QLatin1Char('>'))
            out += QLatin1String("&gt;");
        else if (c == QLatin1Char('&'))
            out += QLatin1String("&amp;");
        else if (braces && c == QLatin1Char('{'))
            out += QLatin1String("&#123;");
        else
            out += c;
    }
}

namespace {

constexpr int kMaxInheritDocs = 16;

bool isBlank(QChar c)
{
    return c.unicode() <= ' ';
}

QString escapeMarkup(QStringView text)
{
    QString out;
    out.reserve(text.size());
    appendMarkupEscaped(out, text);
    return out;
}

// The end of an inline tag that opens at `open` ("{@"): its braces balance.
qsizetype inlineTagEnd(const QString& text, qsizetype open)
{
    int depth = 0;
    for (qsizetype i = open; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('{'))
            ++depth;
        else if (text[i] == QLatin1Char('}') && --depth == 0)
            return i;
    }
    return -1;
}

QString stripPackages(const QString& name)
{
    // "java.util.Map.Entry" → "Map.Entry": package words begin in lower case.
    const QStringList parts = name.split(QLatin1Char('.'));
    qsizetype first = 0;
    while (first + 1 < parts.size() && !parts[first].isEmpty() && parts[first][0].isLower()) ++first;
    return parts.mid(first).join(QLatin1Char('.'));
}

const QHash<QString, QString>& namedEntities()
{
    static const QHash<QString, QString> entities {
        {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},
        {QStringLiteral("amp"), QStringLiteral("&")},
        {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")},
        {QStringLiteral("nbsp"), QStringLiteral(" ")},
        {QStringLiteral("mdash"), QString(QChar(0x2014))},
        {QStringLiteral("ndash"), QString(QChar(0x2013))},
        {QStringLiteral("copy"), QString(QChar(0x00A9))},
        {QStringLiteral("reg"), QString(QChar(0x00AE))},
        {QStringLiteral("hellip"), QString(QChar(0x2026))},
        {QStringLiteral("le"), QString(QChar(0x2264))},
        {QStringLiteral("ge"), QString(QChar(0x2265))},
        {QStringLiteral("ne"), QString(QChar(0x2260))},
        {QStringLiteral("times"), QString(QChar(0x00D7))},
        {QStringLiteral("middot"), QString(QChar(0x00B7))},
        {QStringLiteral("pi"), QString(QChar(0x03C0))},
        {QStringLiteral("infin"), QString(QChar(0x221E))},
    };
    return entities;
}

QString decodeEntities(const QString& text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            const qsizetype semi = text.indexOf(QLatin1Char(';'), i + 1);
            if (semi > i + 1 && semi - i <= 10) {
                const QString name = text.mid(i + 1, semi - i - 1);
                if (name.startsWith(QLatin1Char('#'))) {
                    bool ok = false;
                    const uint code = name.size() > 1 && (name[1] == QLatin1Char('x') || name[1] == QLatin1Char('X'))
                        ? name.mid(2).toUInt(&ok, 16)
                        : name.mid(1).toUInt(&ok, 10);
                    if (ok && code > 0 && code <= 0x10FFFF) {
                        const char32_t c = code;
                        out += QString::fromUcs4(&c, 1);
                        i = semi;
                        continue;
                    }
                } else if (const auto it = namedEntities().constFind(name); it != namedEntities().constEnd()) {
                    out += it.value();
                    i = semi;
                    continue;
                }
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace

const CommentTag* CommentParts::find(const QString& name, const QString& word) const
{
    for (const CommentTag& tag : tags) {
        if (tag.name != name)
            continue;
        if (word.isNull() || firstWord(tag.text).first == word)
            return &tag;
    }
    return nullptr;
}

CommentParts splitComment(const QString& commentBody)
{
    CommentParts parts;
    QString* current = &parts.description;
    int braceDepth = 0;
    bool inPre = false;
    const QStringList lines = commentBody.split(QLatin1Char('\n'));
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        qsizetype i = 0;
        while (i < line.size() && isBlank(line[i])) ++i;
        while (i < line.size() && line[i] == QLatin1Char('*')) ++i;
        line = line.mid(i);
        const QString trimmed = platform::javaTrim(line);
        if (braceDepth == 0 && !inPre && trimmed.startsWith(QLatin1Char('@')) && trimmed.size() > 1 &&
            trimmed[1].isLetter()) {
            qsizetype end = 1;
            while (end < trimmed.size() && !isBlank(trimmed[end])) ++end;
            parts.tags.push_back({trimmed.mid(1, end - 1), trimmed.mid(end + 1)});
            current = &parts.tags.back().text;
        } else {
            if (n > 0 && !(current->isEmpty() && current == &parts.description))
                *current += QLatin1Char('\n');
            *current += line;
        }
        for (qsizetype k = 0; k < line.size(); ++k) {
            if (line[k] == QLatin1Char('{') && k + 1 < line.size() && line[k + 1] == QLatin1Char('@'))
                ++braceDepth;
            else if (line[k] == QLatin1Char('{') && braceDepth > 0)
                ++braceDepth;
            else if (line[k] == QLatin1Char('}') && braceDepth > 0)
                --braceDepth;
        }
        if (line.contains(QLatin1String("<pre"), Qt::CaseInsensitive))
            inPre = true;
        if (line.contains(QLatin1String("</pre>"), Qt::CaseInsensitive))
            inPre = false;
    }
    return parts;
}

CommentParts splitComment(const QString& commentBody, CommentSyntax syntax)
{
    return syntax == CommentSyntax::Markdown ? splitMarkdownComment(commentBody) : splitComment(commentBody);
}

std::pair<QString, QString> firstWord(const QString& text)
{
    const QString t = platform::javaTrim(text);
    qsizetype end = 0;
    while (end < t.size() && !isBlank(t[end])) ++end;
    return {t.left(end), platform::javaTrim(t.mid(end))};
}

std::pair<QString, QString> splitReference(const QString& text)
{
    const QString t = platform::javaTrim(text);
    qsizetype end = 0;
    while (end < t.size() && !isBlank(t[end]) && t[end] != QLatin1Char('(')) ++end;
    if (end < t.size() && t[end] == QLatin1Char('(')) {
        const qsizetype close = t.indexOf(QLatin1Char(')'), end);
        end = close < 0 ? t.size() : close + 1;
    }
    return {t.left(end), platform::javaTrim(t.mid(end))};
}

QString referenceLabel(const QString& reference)
{
    QString ref = platform::javaTrim(reference);
    const qsizetype hash = ref.indexOf(QLatin1Char('#'));
    QString cls = hash < 0 ? ref : ref.left(hash);
    QString member = hash < 0 ? QString() : ref.mid(hash + 1);
    cls = stripPackages(cls);
    const qsizetype paren = member.indexOf(QLatin1Char('('));
    if (paren >= 0) {
        // The parameter types stay as the reference writes them.
        const qsizetype close = member.lastIndexOf(QLatin1Char(')'));
        if (close > paren)
            member.truncate(close + 1);
    }
    if (cls.isEmpty())
        return member;
    if (member.isEmpty())
        return cls;
    return cls + QLatin1Char('.') + member;
}

QString renderInlineTags(const QString& raw, const ValueLookup& value, QStringList* linkRefs)
{
    QString out;
    out.reserve(raw.size());
    qsizetype i = 0;
    while (i < raw.size()) {
        const qsizetype open = raw.indexOf(QLatin1String("{@"), i);
        if (open < 0) {
            out += QStringView(raw).mid(i);
            break;
        }
        out += QStringView(raw).mid(i, open - i);
        const qsizetype close = inlineTagEnd(raw, open);
        if (close < 0) {
            out += QStringView(raw).mid(open);  // unterminated: left as written
            break;
        }
        const QString inner = raw.mid(open + 2, close - open - 2);
        qsizetype nameEnd = 0;
        while (nameEnd < inner.size() && !isBlank(inner[nameEnd])) ++nameEnd;
        const QString name = inner.left(nameEnd);
        // One blank after the name belongs to the tag; the rest is content.
        const QString content = inner.mid(nameEnd < inner.size() ? nameEnd + 1 : nameEnd);
        if (name == QLatin1String("code") || name == QLatin1String("literal")) {
            out += escapeMarkup(content);
        } else if (name == QLatin1String("link") || name == QLatin1String("linkplain")) {
            const auto [ref, label] = splitReference(content);
            if (linkRefs) {
                out += QChar(kLinkOpen);
                *linkRefs << ref;
            }
            out += label.isEmpty() ? escapeMarkup(referenceLabel(ref)) : label;
            if (linkRefs)
                out += QChar(kLinkClose);
        } else if (name == QLatin1String("value")) {
            const QString v = value ? value(platform::javaTrim(content)) : QString();
            out += escapeMarkup(v.isEmpty() ? referenceLabel(content) : v);
        } else if (name == QLatin1String("docRoot") || name == QLatin1String("inheritDoc")) {
            // nothing to show
        } else if (name == QLatin1String("index")) {
            QString term = platform::javaTrim(content);
            if (term.startsWith(QLatin1Char('"'))) {
                const qsizetype q = term.indexOf(QLatin1Char('"'), 1);
                term = q > 0 ? term.mid(1, q - 1) : term.mid(1);
            } else {
                term = firstWord(term).first;
            }
            out += term;
        } else {
            out += content;  // {@summary}, {@systemProperty} and tags of other tools
        }
        i = close + 1;
    }
    return out;
}

QStringList markupLines(const QString& markup)
{
    QString text;
    text.reserve(markup.size());
    qsizetype i = 0;
    while (i < markup.size()) {
        const qsizetype open = markup.indexOf(QLatin1Char('<'), i);
        if (open < 0) {
            text += QStringView(markup).mid(i);
            break;
        }
        const qsizetype close = markup.indexOf(QLatin1Char('>'), open);
        // A "<" that opens no tag (no ">", or a blank right after it) is text.
        if (close < 0 || open + 1 >= markup.size() || isBlank(markup[open + 1])) {
            text += QStringView(markup).mid(i, open + 1 - i);
            i = open + 1;
            continue;
        }
        text += QStringView(markup).mid(i, open - i);
        // A tag's own line breaks stay, so that the lines keep their places.
        for (qsizetype k = open; k < close; ++k)
            if (markup[k] == QLatin1Char('\n'))
                text += QLatin1Char('\n');
        i = close + 1;
    }
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString t = platform::javaTrim(decodeEntities(line));
        if (!t.isEmpty())
            lines << t;
    }
    return lines;
}

bool hasInheritDoc(const QString& raw)
{
    return raw.contains(QLatin1String("{@inheritDoc"));
}

QString replaceInheritDoc(const QString& raw, const QString& inherited)
{
    // The inherited text comes expanded once for its level; each tag takes a
    // copy of it, and the result stops growing at the documentation's cap: 16
    // tags a level would otherwise multiply the text by 16 a superclass.
    QString out;
    const auto append = [&out](QStringView piece) {
        out.append(piece.left(std::max<qsizetype>(0, kMaxDocChars - out.size())));
    };
    qsizetype from = 0;
    for (int n = 0; n < kMaxInheritDocs && out.size() < kMaxDocChars; ++n) {
        const qsizetype open = raw.indexOf(QLatin1String("{@inheritDoc"), from);
        if (open < 0)
            break;
        const qsizetype close = raw.indexOf(QLatin1Char('}'), open);
        if (close < 0)
            break;
        append(QStringView(raw).mid(from, open - from));
        append(inherited);
        from = close + 1;
    }
    append(QStringView(raw).mid(from));
    return out;
}

}  // namespace javadoc::source
