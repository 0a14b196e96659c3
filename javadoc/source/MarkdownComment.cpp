#include "javadoc/source/MarkdownComment.h"

#include <QSet>
#include <algorithm>
#include <optional>
#include <utility>

#include "platform/JavaText.h"

namespace javadoc::source {

namespace {

// Brackets and code spans nest no deeper than this in a real comment; a
// hostile one of thousands of "[" stays linear.
constexpr int kMaxLinkDepth = 32;
// How far a "[", "<" or "(" looks for its closing character: a link or a tag
// is a line or two, and a hostile comment of a million unclosed "[" would
// otherwise be read a million times over.
constexpr qsizetype kMaxSpanReach = 4096;

bool isSpaceOrTab(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isAsciiPunctuation(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '!' && u <= '/') || (u >= ':' && u <= '@') || (u >= '[' && u <= '`') || (u >= '{' && u <= '~');
}

// Columns of leading blanks, a tab to the next multiple of four.
int indentOf(QStringView line)
{
    int columns = 0;
    for (const QChar c : line) {
        if (c == QLatin1Char(' '))
            ++columns;
        else if (c == QLatin1Char('\t'))
            columns += 4 - columns % 4;
        else
            break;
    }
    return columns;
}

QStringView withoutIndent(QStringView line)
{
    qsizetype i = 0;
    while (i < line.size() && isSpaceOrTab(line[i])) ++i;
    return line.mid(i);
}

// Removes up to `columns` columns of leading blanks.
QStringView dropColumns(QStringView line, int columns)
{
    qsizetype i = 0;
    int seen = 0;
    while (i < line.size() && seen < columns && isSpaceOrTab(line[i])) {
        seen += line[i] == QLatin1Char('\t') ? 4 - seen % 4 : 1;
        ++i;
    }
    return line.mid(i);
}

bool isBlankLine(QStringView line)
{
    return withoutIndent(line).isEmpty();
}

// The fence a line opens ("```", "~~~~", ...), or "" when it opens none.
QString fenceOpened(QStringView line)
{
    if (indentOf(line) > 3)
        return QString();
    const QStringView t = withoutIndent(line);
    if (t.isEmpty() || (t[0] != QLatin1Char('`') && t[0] != QLatin1Char('~')))
        return QString();
    qsizetype n = 0;
    while (n < t.size() && t[n] == t[0]) ++n;
    if (n < 3 || (t[0] == QLatin1Char('`') && t.mid(n).contains(QLatin1Char('`'))))
        return QString();
    return t.left(n).toString();
}

bool closesFence(QStringView line, const QString& fence)
{
    const QString t = platform::javaTrim(line.toString());
    if (indentOf(line) > 3 || t.size() < fence.size() || !t.startsWith(fence))
        return false;
    for (const QChar c : t)
        if (c != fence[0])
            return false;
    return true;
}

bool isThematicBreak(QStringView line)
{
    if (indentOf(line) > 3)
        return false;
    const QStringView t = withoutIndent(line);
    if (t.isEmpty() || (t[0] != QLatin1Char('-') && t[0] != QLatin1Char('*') && t[0] != QLatin1Char('_')))
        return false;
    int marks = 0;
    for (const QChar c : t) {
        if (c == t[0])
            ++marks;
        else if (!isSpaceOrTab(c))
            return false;
    }
    return marks >= 3;
}

enum class ListKind { None, Bullet, Ordered };

struct ListItem {
    ListKind kind = ListKind::None;
    int contentIndent = 0;  // the column the item's text starts at
    QStringView text;
};

std::optional<ListItem> listItemOf(QStringView line)
{
    const int indent = indentOf(line);
    if (indent > 3)
        return std::nullopt;
    const QStringView t = withoutIndent(line);
    qsizetype marker = 0;
    ListKind kind = ListKind::Bullet;
    if (!t.isEmpty() && (t[0] == QLatin1Char('-') || t[0] == QLatin1Char('+') || t[0] == QLatin1Char('*'))) {
        marker = 1;
    } else {
        while (marker < t.size() && marker < 9 && t[marker].isDigit() && t[marker].unicode() < 128) ++marker;
        if (marker == 0 || marker >= t.size() || (t[marker] != QLatin1Char('.') && t[marker] != QLatin1Char(')')))
            return std::nullopt;
        ++marker;
        kind = ListKind::Ordered;
    }
    if (marker < t.size() && !isSpaceOrTab(t[marker]))
        return std::nullopt;
    const QStringView text = withoutIndent(t.mid(marker));
    if (text.isEmpty())
        return std::nullopt;  // an empty item would take a setext underline's "-"
    return ListItem {kind, indent + int(t.size() - text.size()), text};
}

bool opensHtmlBlock(QStringView line)
{
    if (indentOf(line) > 3)
        return false;
    const QStringView t = withoutIndent(line);
    return t.size() > 1 && t[0] == QLatin1Char('<') &&
        (t[1].isLetter() || t[1] == QLatin1Char('/') || t[1] == QLatin1Char('!') || t[1] == QLatin1Char('?'));
}

// "[label]: destination": a definition for reference links, not shown.
bool isLinkDefinition(QStringView line)
{
    const QStringView t = withoutIndent(line);
    if (indentOf(line) > 3 || !t.startsWith(QLatin1Char('[')))
        return false;
    const qsizetype close = t.indexOf(QLatin1String("]:"));
    return close > 1 && !t.left(close).contains(QLatin1Char(']'));
}

// Whether a link's text names a program element as javadoc resolves it:
// "List", "java.util.List#add(Object)", "#size()"; not "i" or "x, y".
bool looksLikeReference(const QString& ref)
{
    if (ref.isEmpty() || ref.size() > 1000)
        return false;
    const qsizetype paren = ref.indexOf(QLatin1Char('('));
    const QString head = paren < 0 ? ref : ref.left(paren);
    if (paren >= 0 && !ref.endsWith(QLatin1Char(')')))
        return false;
    bool upper = false;
    bool wordStart = true;
    for (const QChar c : head) {
        if (c == QLatin1Char('.') || c == QLatin1Char('#') || c == QLatin1Char('/')) {
            wordStart = true;
            continue;
        }
        if (!(c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$')))
            return false;
        upper = upper || (wordStart && c.isUpper());
        wordStart = false;
    }
    return upper || head.contains(QLatin1Char('#')) || head.contains(QLatin1Char('.'));
}

// Inline Markdown of one block to markup. Inline tags ("{@code ...}") pass
// untouched, for the comment renderer that follows.
class InlineWriter {
public:
    explicit InlineWriter(QStringView text, int depth = 0) : text_(text), depth_(depth) { }

    QString run()
    {
        markEmphasis();
        while (i_ < text_.size()) step();
        return out_;
    }

private:
    void step()
    {
        const QChar c = text_[i_];
        if (dropped_.contains(i_)) {
            ++i_;
        } else if (c == QLatin1Char('\\') && i_ + 1 < text_.size() && isAsciiPunctuation(text_[i_ + 1])) {
            appendMarkupEscaped(out_, text_.mid(i_ + 1, 1), true);
            i_ += 2;
        } else if (c == QLatin1Char('`')) {
            codeSpan();
        } else if (c == QLatin1Char('{') && i_ + 1 < text_.size() && text_[i_ + 1] == QLatin1Char('@')) {
            inlineTag();
        } else if (c == QLatin1Char('<')) {
            angle();
        } else if (c == QLatin1Char('[') && depth_ < kMaxLinkDepth) {
            link();
        } else if (c == QLatin1Char('>')) {
            out_ += QLatin1String("&gt;");
            ++i_;
        } else {
            out_ += c;
            ++i_;
        }
    }

    qsizetype boundedIndexOf(QChar c, qsizetype from) const
    {
        const qsizetype at = text_.mid(from, std::min(text_.size() - from, kMaxSpanReach)).indexOf(c);
        return at < 0 ? -1 : from + at;
    }

    qsizetype runLength(qsizetype at, QChar c) const
    {
        qsizetype n = 0;
        while (at + n < text_.size() && text_[at + n] == c) ++n;
        return n;
    }

    // `code`: a run of backticks closed by a run as long.
    void codeSpan()
    {
        const qsizetype n = runLength(i_, QLatin1Char('`'));
        qsizetype from = i_ + n;
        for (;;) {
            // Where no closing run of n follows one opening, none follows a later one.
            const qsizetype close = unclosedRuns_.contains(n) ? -1 : text_.indexOf(QString(n, QLatin1Char('`')), from);
            if (close < 0) {
                unclosedRuns_.insert(n);
                break;
            }
            const qsizetype m = runLength(close, QLatin1Char('`'));
            if (m != n) {
                from = close + m;
                continue;
            }
            QString content = text_.mid(i_ + n, close - i_ - n).toString();
            content.replace(QLatin1Char('\n'), QLatin1Char(' '));
            if (content.size() > 2 && content.startsWith(QLatin1Char(' ')) && content.endsWith(QLatin1Char(' ')) &&
                !platform::javaTrim(content).isEmpty())
                content = content.mid(1, content.size() - 2);
            out_ += QLatin1String("<code>");
            appendMarkupEscaped(out_, content, true);
            out_ += QLatin1String("</code>");
            i_ = close + n;
            return;
        }
        out_ += text_.mid(i_, n);  // no closing run: the backticks are text
        i_ += n;
    }

    void inlineTag()
    {
        int depth = 0;
        for (qsizetype k = i_; k < text_.size(); ++k) {
            if (text_[k] == QLatin1Char('{'))
                ++depth;
            else if (text_[k] == QLatin1Char('}') && --depth == 0) {
                out_ += text_.mid(i_, k + 1 - i_);
                i_ = k + 1;
                return;
            }
        }
        out_ += text_.mid(i_);
        i_ = text_.size();
    }

    // An autolink shows its address; a tag passes; any other "<" is text.
    void angle()
    {
        const qsizetype close = boundedIndexOf(QLatin1Char('>'), i_);
        const QStringView inner = close < 0 ? QStringView() : text_.mid(i_ + 1, close - i_ - 1);
        const bool blankInside = inner.contains(QLatin1Char(' ')) || inner.contains(QLatin1Char('\n'));
        if (close > 0 && !blankInside && (inner.contains(QLatin1String("://")) || inner.contains(QLatin1Char('@')))) {
            out_ += QLatin1String("<a>");
            appendMarkupEscaped(out_, inner, true);
            out_ += QLatin1String("</a>");
            i_ = close + 1;
            return;
        }
        if (close > 0 && opensHtmlBlock(text_.mid(i_, close + 1 - i_))) {
            out_ += text_.mid(i_, close + 1 - i_);
            i_ = close + 1;
            return;
        }
        out_ += QLatin1String("&lt;");
        ++i_;
    }

    // The "]" that closes the "[" at `open`, or -1.
    qsizetype closingBracket(qsizetype open) const
    {
        int depth = 0;
        const qsizetype reach = std::min(text_.size(), open + kMaxSpanReach);
        for (qsizetype k = open; k < reach; ++k) {
            const QChar c = text_[k];
            if (c == QLatin1Char('\\')) {
                ++k;
            } else if (c == QLatin1Char('`')) {
                const qsizetype n = runLength(k, c);
                const qsizetype end = text_.mid(k + n, std::max<qsizetype>(0, reach - k - n)).indexOf(QString(n, c));
                k = end < 0 ? k + n - 1 : k + n + end + n - 1;
            } else if (c == QLatin1Char('[')) {
                ++depth;
            } else if (c == QLatin1Char(']') && --depth == 0) {
                return k;
            }
        }
        return -1;
    }

    static QString unescaped(QStringView text)
    {
        QString out;
        for (qsizetype k = 0; k < text.size(); ++k) {
            if (text[k] == QLatin1Char('\\') && k + 1 < text.size() && isAsciiPunctuation(text[k + 1]))
                ++k;
            out += text[k];
        }
        return out;
    }

    void link()
    {
        const qsizetype close = closingBracket(i_);
        if (close < 0) {
            out_ += QLatin1Char('[');
            ++i_;
            return;
        }
        const QStringView label = text_.mid(i_ + 1, close - i_ - 1);
        if (close + 1 < text_.size() && text_[close + 1] == QLatin1Char('(')) {
            const qsizetype end = boundedIndexOf(QLatin1Char(')'), close + 1);
            if (end > 0) {
                writeLabel(label);
                i_ = end + 1;
                return;
            }
        }
        if (close + 1 < text_.size() && text_[close + 1] == QLatin1Char('[')) {
            const qsizetype end = closingBracket(close + 1);
            if (end > 0) {
                const QStringView ref = text_.mid(close + 2, end - close - 2);
                if (ref.isEmpty() && looksLikeReference(unescaped(label)))
                    writeReference(unescaped(label));
                else
                    writeLabel(label);
                i_ = end + 1;
                return;
            }
        }
        const QString ref = unescaped(label);
        if (looksLikeReference(ref)) {
            writeReference(ref);
            i_ = close + 1;
            return;
        }
        out_ += QLatin1Char('[');  // text in brackets: its inside is read on
        ++i_;
    }

    void writeLabel(QStringView label)
    {
        out_ += QLatin1String("<a>") + InlineWriter(label, depth_ + 1).run() + QLatin1String("</a>");
    }

    // A reference shows as {@link} shows it: its label, in code.
    void writeReference(const QString& ref)
    {
        out_ += QLatin1String("<a><code>");
        appendMarkupEscaped(out_, referenceLabel(ref), true);
        out_ += QLatin1String("</code></a>");
    }

    // Finds the emphasis delimiters ("*", "_", "**", ...) that pair up, to
    // be dropped: an opening run is followed by a non-blank, a closing one
    // preceded by one, and "_" inside a word ("snake_case") is no delimiter.
    void markEmphasis()
    {
        std::vector<std::pair<qsizetype, qsizetype>> open;  // start and length
        bool inCode = false;
        for (qsizetype k = 0; k < text_.size(); ++k) {
            const QChar c = text_[k];
            if (c == QLatin1Char('\\')) {
                ++k;
                continue;
            }
            if (c == QLatin1Char('`'))
                inCode = !inCode;
            if (inCode || (c != QLatin1Char('*') && c != QLatin1Char('_')))
                continue;
            const qsizetype n = runLength(k, c);
            const QChar before = k > 0 ? text_[k - 1] : QLatin1Char(' ');
            const QChar after = k + n < text_.size() ? text_[k + n] : QLatin1Char(' ');
            const bool intraword = c == QLatin1Char('_') && before.isLetterOrNumber() && after.isLetterOrNumber();
            const bool canClose = !before.isSpace() && !intraword;
            const bool canOpen = !after.isSpace() && !intraword;
            const auto match = std::find_if(
                open.rbegin(), open.rend(), [&](const auto& o) { return text_[o.first] == c && o.second == n; });
            if (canClose && match != open.rend()) {
                for (qsizetype d = 0; d < n; ++d) {
                    dropped_.insert(match->first + d);
                    dropped_.insert(k + d);
                }
                open.erase(std::next(match).base(), open.end());
            } else if (canOpen && open.size() < size_t(kMaxLinkDepth)) {
                open.emplace_back(k, n);
            }
            k += n - 1;
        }
    }

    QStringView text_;
    int depth_ = 0;
    qsizetype i_ = 0;
    QString out_;
    QSet<qsizetype> dropped_;
    QSet<qsizetype> unclosedRuns_;  // lengths of backtick runs with no closing run ahead
};

QString inlineMarkup(QStringView text)
{
    return InlineWriter(text).run();
}

// The block structure, line by line: each input line gives one output line,
// so that the text keeps the comment's line breaks.
class BlockWriter {
public:
    explicit BlockWriter(const QString& markdown) : lines_(markdown.split(QLatin1Char('\n'))) { }

    QString run()
    {
        for (const QString& raw : lines_) {
            QString line = raw;
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            next(line);
        }
        closeAll();
        return out_.join(QLatin1Char('\n'));
    }

private:
    enum class Mode { Normal, Fenced, IndentedCode, Html };

    void next(QStringView line)
    {
        switch (mode_) {
        case Mode::Fenced:
            return fencedLine(line);
        case Mode::IndentedCode:
            if (isBlankLine(line) || indentOf(line) >= 4 + listIndent_) {
                QString code;
                appendMarkupEscaped(code, dropColumns(line, 4 + listIndent_), true);
                return put(code);
            }
            mode_ = Mode::Normal;
            out_.last() += QLatin1String("</code></pre>");
            break;
        case Mode::Html:
            if (isBlankLine(line)) {
                mode_ = Mode::Normal;
                return put(QString());
            }
            return put(line.toString());
        case Mode::Normal:
            break;
        }
        normalLine(line);
    }

    void fencedLine(QStringView line)
    {
        if (closesFence(line, fence_)) {
            mode_ = Mode::Normal;
            return put(QStringLiteral("</code></pre>"));
        }
        QString code;
        appendMarkupEscaped(code, dropColumns(line, fenceIndent_), true);
        put(code);
    }

    void normalLine(QStringView line)
    {
        if (isBlankLine(line)) {
            endParagraph();
            blankBefore_ = true;
            return put(QString());
        }
        const bool afterBlank = std::exchange(blankBefore_, false);
        const int indent = indentOf(line);
        if (list_ != ListKind::None && afterBlank && indent < listIndent_ && !listItemOf(line))
            closeList();
        const QStringView inItem = dropColumns(line, listIndent_);
        if (const QString fence = fenceOpened(inItem); !fence.isEmpty()) {
            endParagraph();
            fence_ = fence;
            fenceIndent_ = listIndent_ + indentOf(inItem);
            mode_ = Mode::Fenced;
            return put(QStringLiteral("<pre><code>"));
        }
        if (indentOf(inItem) >= 4 && paragraph_.empty() && (afterBlank || out_.isEmpty() || list_ == ListKind::None)) {
            mode_ = Mode::IndentedCode;
            QString code = QStringLiteral("<pre><code>");
            appendMarkupEscaped(code, dropColumns(inItem, 4), true);
            return put(code);
        }
        blockLine(line, inItem);
    }

    void blockLine(QStringView line, QStringView inItem)
    {
        if (!paragraph_.empty() && indentOf(line) <= 3 && isSetextUnderline(withoutIndent(line))) {
            paragraph_.back().prefix += QLatin1String("<h3>");
            endParagraph();
            return put(QStringLiteral("</h3>"));
        }
        if (isThematicBreak(line)) {
            endParagraph();
            return put(QStringLiteral("<hr>"));
        }
        if (const std::optional<ListItem> item = listItemOf(line)) {
            endParagraph();
            startItem(*item);
            return;
        }
        const QStringView t = withoutIndent(inItem);
        if (t.startsWith(QLatin1Char('#')) && indentOf(inItem) <= 3) {
            qsizetype hashes = 0;
            while (hashes < t.size() && t[hashes] == QLatin1Char('#')) ++hashes;
            if (hashes <= 6 && (hashes == t.size() || isSpaceOrTab(t[hashes]))) {
                endParagraph();
                QString heading = platform::javaTrim(t.mid(hashes).toString());
                while (heading.endsWith(QLatin1Char('#'))) heading.chop(1);
                return put(QLatin1String("<h3>") + inlineMarkup(heading) + QLatin1String("</h3>"));
            }
        }
        if (paragraph_.empty() && opensHtmlBlock(inItem)) {
            mode_ = Mode::Html;
            return put(line.toString());
        }
        if (paragraph_.empty() && isLinkDefinition(inItem))
            return put(QString());
        QStringView text = t;
        if (text.startsWith(QLatin1Char('>')))  // a quotation: its text as a paragraph's
            text = withoutIndent(text.mid(1));
        paragraph_.push_back({QString(), text.toString()});
    }

    static bool isSetextUnderline(QStringView t)
    {
        const QString s = platform::javaTrim(t.toString());
        if (s.isEmpty() || (s[0] != QLatin1Char('=') && s[0] != QLatin1Char('-')))
            return false;
        for (const QChar c : s)
            if (c != s[0])
                return false;
        return true;
    }

    void startItem(const ListItem& item)
    {
        if (list_ != item.kind) {
            closeList();
            list_ = item.kind;
            pendingOpen_ = item.kind == ListKind::Bullet ? QStringLiteral("<ul>") : QStringLiteral("<ol>");
        } else {
            pendingOpen_ = QStringLiteral("</li>");
        }
        listIndent_ = item.contentIndent;
        paragraph_.push_back({pendingOpen_ + QLatin1String("<li>"), item.text.toString()});
        pendingOpen_.clear();
    }

    void closeList()
    {
        if (list_ == ListKind::None)
            return;
        endParagraph();
        put(list_ == ListKind::Bullet ? QStringLiteral("</li></ul>") : QStringLiteral("</li></ol>"));
        list_ = ListKind::None;
        listIndent_ = 0;
    }

    // A paragraph's lines go out together: its inline Markdown (a code span,
    // an emphasis) may cross their breaks.
    void endParagraph()
    {
        if (paragraph_.empty())
            return;
        QString joined;
        for (size_t k = 0; k < paragraph_.size(); ++k) {
            if (k > 0)
                joined += QLatin1Char('\n');
            joined += paragraph_[k].text;
        }
        const QStringList converted = inlineMarkup(joined).split(QLatin1Char('\n'));
        QString prefixes;
        for (const Piece& p : paragraph_) prefixes += p.prefix;
        // Item openings inside one paragraph run stay in front: they are tags only.
        for (qsizetype k = 0; k < converted.size(); ++k) put(k == 0 ? prefixes + converted[k] : converted[k]);
        paragraph_.clear();
    }

    void closeAll()
    {
        if (mode_ == Mode::Fenced || mode_ == Mode::IndentedCode)
            put(QStringLiteral("</code></pre>"));
        endParagraph();
        closeList();
    }

    void put(const QString& line) { out_ << line; }

    struct Piece {
        QString prefix;  // tags that open the line ("<ul><li>")
        QString text;
    };

    QStringList lines_;
    QStringList out_;
    std::vector<Piece> paragraph_;
    Mode mode_ = Mode::Normal;
    QString fence_;
    int fenceIndent_ = 0;
    ListKind list_ = ListKind::None;
    int listIndent_ = 0;
    QString pendingOpen_;
    bool blankBefore_ = false;
};

bool startsBlockTag(QStringView line)
{
    const QStringView t = withoutIndent(line);
    return indentOf(line) < 4 && t.size() > 1 && t[0] == QLatin1Char('@') && t[1].isLetter();
}

}  // namespace

QString markdownCommentBody(QStringView run)
{
    QStringList lines;
    for (QStringView line : run.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        line = withoutIndent(line);
        if (line.startsWith(QLatin1String("///")))
            line = line.mid(3);
        lines << line.toString();
    }
    int common = -1;
    for (const QString& line : lines)
        if (!isBlankLine(line))
            common = common < 0 ? indentOf(line) : std::min(common, indentOf(line));
    for (QString& line : lines) line = dropColumns(line, std::max(common, 0)).toString();
    return lines.join(QLatin1Char('\n'));
}

CommentParts splitMarkdownComment(const QString& markdown)
{
    QStringList description;
    std::vector<std::pair<QString, QStringList>> tags;  // name, lines
    QString fence;
    int braceDepth = 0;
    for (const QString& line : markdown.split(QLatin1Char('\n'))) {
        if (fence.isEmpty() && braceDepth == 0 && startsBlockTag(line)) {
            const QString t = withoutIndent(line).toString();
            qsizetype end = 1;
            while (end < t.size() && !t[end].isSpace()) ++end;
            tags.push_back({t.mid(1, end - 1), {t.mid(end + 1)}});
        } else {
            (tags.empty() ? description : tags.back().second) << line;
        }
        if (!fence.isEmpty())
            fence = closesFence(line, fence) ? QString() : fence;
        else if (const QString opened = fenceOpened(line); !opened.isEmpty())
            fence = opened;
        for (qsizetype k = 0; fence.isEmpty() && k < line.size(); ++k) {
            if (line[k] == QLatin1Char('{') && k + 1 < line.size() && line[k + 1] == QLatin1Char('@'))
                ++braceDepth;
            else if (line[k] == QLatin1Char('}') && braceDepth > 0)
                --braceDepth;
        }
    }
    CommentParts parts;
    parts.description = markdownToMarkup(description.join(QLatin1Char('\n')));
    for (const auto& [name, lines] : tags)
        parts.tags.push_back({name, markdownToMarkup(lines.join(QLatin1Char('\n')))});
    return parts;
}

QString markdownToMarkup(const QString& markdown)
{
    return BlockWriter(markdown).run();
}

}  // namespace javadoc::source
