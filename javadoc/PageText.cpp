#include "javadoc/PageText.h"

#include "platform/JavaText.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace javadoc {

namespace {

constexpr char16_t kZeroWidthSpace = 0x200B;

// "&#8203;" or "&#x200b;" at text[i]: the character and the entity's length.
bool numericEntity(QStringView text, qsizetype i, char32_t& ch, qsizetype& length)
{
    if (!text.mid(i).startsWith(QLatin1String("&#")))
        return false;
    qsizetype j = i + 2;
    const bool hex = j < text.size() && (text[j] == QLatin1Char('x') || text[j] == QLatin1Char('X'));
    if (hex)
        ++j;
    const qsizetype digitsFrom = j;
    char32_t value = 0;
    while (j < text.size() && j - digitsFrom < 8) {
        const int digit = hex ? QChar(text[j]).toLatin1() : 0;
        int v = -1;
        if (text[j] >= QLatin1Char('0') && text[j] <= QLatin1Char('9'))
            v = text[j].unicode() - '0';
        else if (hex && digit >= 'a' && digit <= 'f')
            v = digit - 'a' + 10;
        else if (hex && digit >= 'A' && digit <= 'F')
            v = digit - 'A' + 10;
        if (v < 0)
            break;
        value = value * (hex ? 16 : 10) + char32_t(v);
        ++j;
    }
    if (j == digitsFrom || j >= text.size() || text[j] != QLatin1Char(';') || value == 0 || value > 0x10FFFF)
        return false;
    ch = value;
    length = j + 1 - i;
    return true;
}

}  // namespace

QString decodeEntities(QStringView text)
{
    static const struct {
        QLatin1String entity;
        QChar ch;
    } entities[] = {
        {QLatin1String("&lt;"), QLatin1Char('<')},
        {QLatin1String("&gt;"), QLatin1Char('>')},
        {QLatin1String("&amp;"), QLatin1Char('&')},
        {QLatin1String("&quot;"), QLatin1Char('"')},
        {QLatin1String("&#39;"), QLatin1Char('\'')},
        {QLatin1String("&nbsp;"), QLatin1Char(' ')},
    };
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (text[i] == QLatin1Char('&')) {
            bool decoded = false;
            for (const auto& e : entities) {
                if (text.mid(i).startsWith(e.entity)) {
                    out += e.ch;
                    i += e.entity.size();
                    decoded = true;
                    break;
                }
            }
            char32_t ch = 0;
            qsizetype length = 0;
            if (!decoded && numericEntity(text, i, ch, length)) {
                if (ch != kZeroWidthSpace)
                    out += QString::fromUcs4(&ch, 1);
                i += length;
                decoded = true;
            }
            if (decoded)
                continue;
        }
        if (text[i] != QChar(kZeroWidthSpace))
            out += text[i];
        ++i;
    }
    return out;
}

QString plainText(QStringView html)
{
    QString text;
    text.reserve(html.size());
    qsizetype i = 0;
    while (i < html.size()) {
        const qsizetype open = html.indexOf(QLatin1Char('<'), i);
        if (open < 0) {
            text += html.mid(i);
            break;
        }
        const qsizetype close = html.indexOf(QLatin1Char('>'), open);
        if (close < 0) {
            text += html.mid(i);
            break;
        }
        text += html.mid(i, open - i);
        i = close + 1;
    }
    return platform::javaTrim(decodeEntities(text));
}

namespace {

// The href of an "<a ...>" tag, or nothing for any other tag.
std::optional<QString> anchorHref(QStringView tag)
{
    if (tag.size() < 3 || (tag[1] != QLatin1Char('a') && tag[1] != QLatin1Char('A')) || !tag[2].isSpace())
        return std::nullopt;
    const qsizetype at = tag.indexOf(QLatin1String("href="), 0, Qt::CaseInsensitive);
    if (at < 0 || at + 5 >= tag.size())
        return std::nullopt;
    const QChar quote = tag[at + 5];
    if (quote != QLatin1Char('"') && quote != QLatin1Char('\''))
        return std::nullopt;
    const qsizetype end = tag.indexOf(quote, at + 6);
    return end < 0 ? std::nullopt : std::optional(decodeEntities(tag.mid(at + 6, end - at - 6)));
}

bool closesAnchor(QStringView tag)
{
    return tag.size() >= 4 && tag[1] == QLatin1Char('/') &&
        (tag[2] == QLatin1Char('a') || tag[2] == QLatin1Char('A')) && (tag[3] == QLatin1Char('>') || tag[3].isSpace());
}

}  // namespace

QString plainTextWithLinks(QStringView html, std::vector<DocLink>& links)
{
    // The text is built piece by piece, decoding each piece between tags, so
    // that the anchors' places are known; it is the text plainText gives
    // unless an entity is split by a tag, and then no link is kept.
    QString text;
    std::vector<DocLink> found;
    std::optional<QString> openHref;
    qsizetype openAt = 0;
    qsizetype i = 0;
    while (i < html.size()) {
        const qsizetype open = html.indexOf(QLatin1Char('<'), i);
        const qsizetype close = open < 0 ? -1 : html.indexOf(QLatin1Char('>'), open);
        if (close < 0) {
            text += decodeEntities(html.mid(i));
            break;
        }
        text += decodeEntities(html.mid(i, open - i));
        const QStringView tag = html.mid(open, close + 1 - open);
        if (std::optional<QString> href = anchorHref(tag)) {
            openHref = std::move(href);
            openAt = text.size();
        } else if (openHref && closesAnchor(tag)) {
            found.push_back(DocLink {openAt, text.size() - openAt, *openHref});
            openHref.reset();
        }
        i = close + 1;
    }
    const QString trimmed = platform::javaTrim(text);
    const QString plain = plainText(html);
    if (trimmed != plain)
        return plain;
    qsizetype lead = 0;
    while (lead < text.size() && text.at(lead).unicode() <= ' ') ++lead;
    for (DocLink& link : found) {
        const qsizetype start = std::max<qsizetype>(link.start - lead, 0);
        const qsizetype end = std::min(link.start + link.length - lead, trimmed.size());
        if (end > start)
            links.push_back(DocLink {start, end - start, std::move(link.target)});
    }
    return plain;
}

namespace {

// The blanks Java's trim takes off the front.
qsizetype leadingBlanks(QStringView text)
{
    qsizetype n = 0;
    while (n < text.size() && text.at(n).unicode() <= ' ') ++n;
    return n;
}

// One blank for every run: the page indents continuation lines to line the
// parameters up, and a non-breaking space stands between type and name.
// Spans, when given, move with the characters they cover.
QString collapseBlanks(const QString& text, std::vector<DocLink>* spans)
{
    QString line;
    line.reserve(text.size());
    std::vector<qsizetype> movedTo(spans ? size_t(text.size()) + 1 : 0);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (spans)
            movedTo[size_t(i)] = line.size();
        const QChar c = text.at(i);
        const bool blank = c.unicode() <= ' ' || c == QChar(0xA0);
        if (blank) {
            if (!line.isEmpty() && !line.endsWith(QLatin1Char(' ')))
                line += QLatin1Char(' ');
        } else {
            line += c;
        }
    }
    if (spans) {
        movedTo[size_t(text.size())] = line.size();
        for (DocLink& span : *spans) {
            const qsizetype start = movedTo[size_t(span.start)];
            span.length = movedTo[size_t(span.start + span.length)] - start;
            span.start = start;
        }
    }
    return line;
}

// The signature's line from its plain text; spans, when given, are moved to
// it, and those on what is left out (a leading annotation) dropped.
QString signatureFrom(const QString& text, std::vector<DocLink>* spans)
{
    QString line = collapseBlanks(text, spans);
    qsizetype cut = 0;  // characters taken off the front of the collapsed line
    // "@Deprecated", "@SafeVarargs(...)" and the like come before the modifiers.
    while (line.startsWith(QLatin1Char('@'))) {
        qsizetype end = 1;
        while (end < line.size() &&
            (line.at(end).isLetterOrNumber() || line.at(end) == QLatin1Char('.') || line.at(end) == QLatin1Char('_')))
            ++end;
        if (end < line.size() && line.at(end) == QLatin1Char('(')) {
            int depth = 0;
            for (; end < line.size(); ++end) {
                if (line.at(end) == QLatin1Char('('))
                    ++depth;
                else if (line.at(end) == QLatin1Char(')') && --depth == 0) {
                    ++end;
                    break;
                }
            }
        }
        if (end >= line.size())
            break;  // nothing but an annotation: keep it as it is
        cut += end + leadingBlanks(QStringView(line).mid(end));
        line = platform::javaTrim(line.mid(end));
    }
    cut += leadingBlanks(line);
    line = platform::javaTrim(line);
    if (spans) {
        std::vector<DocLink> kept;
        for (DocLink& span : *spans) {
            const qsizetype start = std::max<qsizetype>(span.start - cut, 0);
            const qsizetype end = std::min(span.start + span.length - cut, line.size());
            if (end > start)
                kept.push_back(DocLink {start, end - start, std::move(span.target)});
        }
        *spans = std::move(kept);
    }
    return line;
}

}  // namespace

QString signatureLine(QStringView html)
{
    return signatureFrom(plainText(html), nullptr);
}

QString signatureLineWithLinks(QStringView html, std::vector<DocLink>& links)
{
    std::vector<DocLink> spans;
    const QString line = signatureFrom(plainTextWithLinks(html, spans), &spans);
    links.insert(links.end(), std::make_move_iterator(spans.begin()), std::make_move_iterator(spans.end()));
    return line;
}

}  // namespace javadoc
