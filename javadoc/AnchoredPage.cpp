#include "javadoc/AnchoredPage.h"

#include <QStringView>
#include <algorithm>

#include "javadoc/DocWriter.h"
#include "javadoc/Extractor.h"
#include "javadoc/MemberTypes.h"
#include "javadoc/PageAnchors.h"
#include "javadoc/PageSource.h"
#include "javadoc/PageText.h"
#include "platform/JavaText.h"
#include "platform/LineReader.h"

namespace javadoc {

namespace {

// A member's block is a few dozen lines; one that does not end by this many is
// cut there, and its signature after this many lines.
constexpr int kMaxBlockLines = 5000;
constexpr int kMaxSignatureLines = 200;

// The tags of a line, one "<" after another.
template <typename F> qsizetype firstTag(QStringView line, F&& isWanted)
{
    for (qsizetype at = line.indexOf(QLatin1Char('<')); at >= 0; at = line.indexOf(QLatin1Char('<'), at + 1))
        if (isWanted(line.mid(at + 1, 32)))
            return at;
    return -1;
}

// Whether an anchor can be the member's at all, before its types are read.
bool mayName(const QString& id, const AnchoredMember& member)
{
    if (member.memberName.isEmpty())
        return true;
    for (const QString& name : {simpleNameOf(member.memberName), QStringLiteral("&lt;init&gt;"),
             QStringLiteral("<init>"), QStringLiteral("%3Cinit%3E")}) {
        if (id.size() > name.size() && id.startsWith(name) &&
            (id.at(name.size()) == QLatin1Char('(') || id.at(name.size()) == QLatin1Char('-')))
            return true;
    }
    return false;
}

// Where a block ends on the line, other than at an anchor: <HR> parts the
// members of 1.3-6 pages, a "<!-- ====" comment opens the next part of any
// page ("METHOD DETAIL", "END OF CLASS DATA"), </section> closes a 14-15 one.
qsizetype blockEndAt(QStringView line)
{
    return firstTag(line, [](QStringView tag) {
        return tag.startsWith(QLatin1String("hr"), Qt::CaseInsensitive) || tag.startsWith(QLatin1String("!-- ==")) ||
            tag.startsWith(QLatin1String("/section>")) || tag.startsWith(QLatin1String("/body"), Qt::CaseInsensitive);
    });
}

// Where a signature starts in the block's markup, and the tag that ends it.
struct SignatureStart {
    qsizetype tag = -1;      // where the opening tag's "<" is
    qsizetype at = -1;       // first character after the opening tag
    QLatin1String end {""};  // "</pre>" or "</div>"
};

SignatureStart findSignature(QStringView line)
{
    SignatureStart s;
    bool pre = false;
    const qsizetype tagAt = firstTag(line, [&pre](QStringView tag) {
        pre = tag.startsWith(QLatin1String("pre"), Qt::CaseInsensitive);
        return pre || tag.startsWith(QLatin1String("div class=\"memberSignature\"")) ||
            tag.startsWith(QLatin1String("div class=\"member-signature\""));
    });
    if (tagAt < 0)
        return s;
    const qsizetype close = line.indexOf(QLatin1Char('>'), tagAt);
    s.tag = tagAt;
    s.at = close < 0 ? line.size() : close + 1;
    s.end = pre ? QLatin1String("</pre>") : QLatin1String("</div>");
    return s;
}

// The text of a block in the HTML5 reader's shape.
class BlockText {
public:
    DocWriter writer;

    // The types and exceptions the page links are linked in the line too.
    void signature(const QString& html)
    {
        if (!html.contains(QLatin1String("href="), Qt::CaseInsensitive)) {
            writer.signature(signatureLine(html));
            return;
        }
        std::vector<DocLink> spans;
        const QString line = signatureLineWithLinks(html, spans);
        writer.signature(line, spans);
    }

    // Old pages put a label and its text on one line ("<DT><B>Throws:</B><DD>...");
    // each <dt>, <dd> and paragraph goes on a line of its own, as today's pages
    // write them.
    void body(QStringView html)
    {
        qsizetype start = 0;
        for (qsizetype i = 0; i < html.size(); ++i) {
            if (html[i] != QLatin1Char('<') || i == start)
                continue;
            const QStringView tag = html.mid(i + 1, 4);
            if (tag.startsWith(QLatin1String("dt"), Qt::CaseInsensitive) ||
                tag.startsWith(QLatin1String("dd"), Qt::CaseInsensitive) ||
                tag.startsWith(QLatin1String("p>"), Qt::CaseInsensitive) ||
                tag.startsWith(QLatin1String("p "), Qt::CaseInsensitive) ||
                tag.startsWith(QLatin1String("div"), Qt::CaseInsensitive) ||
                tag.startsWith(QLatin1String("li"), Qt::CaseInsensitive)) {
                piece(html.mid(start, i - start));
                start = i;
            }
        }
        piece(html.mid(start));
    }

private:
    void piece(QStringView html)
    {
        std::vector<DocLink> spans;
        const bool linked = html.contains(QLatin1String("href="), Qt::CaseInsensitive);
        const QString text = linked ? plainTextWithLinks(html, spans) : plainText(html);
        if (text.isEmpty())
            return;
        const QStringView trimmed = QStringView(html).trimmed();
        if (trimmed.startsWith(QLatin1String("<dt"), Qt::CaseInsensitive) && text.endsWith(QLatin1Char(':'))) {
            writer.label(text.toUpper());
            return;
        }
        writer.line(text, spans);
    }
};

std::optional<QString> convertBlock(const QStringList& block, std::vector<DocLink>* links)
{
    BlockText out;
    QString signature;
    int signatureLines = 0;
    bool inSignature = false, sawSignature = false;
    QLatin1String signatureEnd {""};
    for (const QString& line : block) {
        QStringView rest(line);
        if (!sawSignature) {
            const SignatureStart s = findSignature(rest);
            if (s.at < 0)
                continue;  // the heading, the anchor's own markup
            sawSignature = inSignature = true;
            signatureEnd = s.end;
            rest = rest.mid(s.at);
        }
        if (inSignature) {
            const qsizetype close = rest.indexOf(signatureEnd, 0, Qt::CaseInsensitive);
            if (!signature.isEmpty())
                signature += QLatin1Char(' ');
            signature += platform::javaTrim((close < 0 ? rest : rest.left(close)).toString());
            if (close < 0 && ++signatureLines < kMaxSignatureLines)
                continue;
            out.signature(signature);
            inSignature = false;
            if (close < 0)
                continue;
            rest = rest.mid(close + signatureEnd.size());
        }
        out.body(rest);
    }
    if (inSignature)
        out.signature(signature);
    if (!sawSignature)
        return std::nullopt;  // an anchor with no member block after it
    if (links)
        *links = out.writer.links();
    return out.writer.text();
}

// The first signature or block end at or after a position that only grows
// along one line. The line is searched again only once the position has
// passed the mark found, so that a line of many blocks is read about once,
// not once for every block.
class NextMarks {
public:
    explicit NextMarks(QStringView line) : line_(line) { }

    // Where the signature's text starts, or -1.
    qsizetype signature(qsizetype pos)
    {
        if (signatureFrom_ < 0 || (signature_.tag >= 0 && signature_.tag < pos)) {
            signature_ = findSignature(line_.mid(pos));
            if (signature_.tag >= 0) {
                signature_.tag += pos;
                signature_.at += pos;
            }
            signatureFrom_ = pos;
        }
        return signature_.at;
    }

    // Where the block ends other than at an anchor, or -1.
    qsizetype blockEnd(qsizetype pos)
    {
        if (blockEndFrom_ < 0 || (blockEnd_ >= 0 && blockEnd_ < pos)) {
            blockEnd_ = blockEndAt(line_.mid(pos));
            if (blockEnd_ >= 0)
                blockEnd_ += pos;
            blockEndFrom_ = pos;
        }
        return blockEnd_;
    }

private:
    QStringView line_;
    SignatureStart signature_;
    qsizetype signatureFrom_ = -1;
    qsizetype blockEnd_ = -1;
    qsizetype blockEndFrom_ = -1;
};

struct Candidate {
    int fit = 0;
    QStringList block;
    qsizetype chars = 0;  // the block's size, bounded like every member's text
};

}  // namespace

std::optional<QString> extractAnchoredPage(const Page& page, const AnchoredMember& member, std::vector<DocLink>* links)
{
    const std::unique_ptr<platform::LineReader> lines = page.lines();
    platform::LineReader& reader = *lines;

    std::optional<Candidate> best;
    bool ambiguous = false, sawMember = false, done = false;
    bool capturing = false, sawSignature = false;
    Candidate current;

    // The block being read is complete: keep it if it fits better than any before.
    auto finish = [&] {
        capturing = false;
        const bool exact = current.fit == 0;
        if (!best || current.fit < best->fit) {
            best = std::move(current);
            ambiguous = false;
        } else {
            ambiguous = true;  // two members fit equally well: neither is shown
        }
        current = Candidate();
        return exact;
    };

    while (!done) {
        std::optional<QString> read = reader.readLine();
        if (!read)
            break;
        // Positions on the line only grow: the anchors are found once, the
        // other marks from where the last one was.
        const QStringView line(*read);
        const QList<Anchor> anchors = anchorsIn(line);
        NextMarks marks(line);
        qsizetype pos = 0;
        const auto firstAnchorFrom = [&anchors](qsizetype at) {
            return std::lower_bound(
                anchors.begin(), anchors.end(), at, [](const Anchor& a, qsizetype p) { return a.at < p; });
        };
        while (!done) {
            if (capturing) {
                // A block runs to the next anchor once its signature is in, so
                // that two anchors of one member in a row make one block.
                const qsizetype signatureAt = marks.signature(pos);
                qsizetype end = marks.blockEnd(pos);
                if (sawSignature || signatureAt >= 0) {
                    const auto a = firstAnchorFrom(sawSignature ? pos : signatureAt);
                    if (a != anchors.end())
                        end = end < 0 ? a->at : std::min(end, a->at);
                }
                sawSignature = sawSignature || signatureAt >= 0;
                if (end < 0) {
                    current.block.append(line.mid(pos).toString());
                    current.chars += line.size() - pos;
                    if (current.block.size() >= kMaxBlockLines || current.chars >= kMaxDocChars)
                        done = finish();
                    break;
                }
                current.block.append(line.mid(pos, end - pos).toString());
                done = finish();
                pos = end;
                continue;
            }
            qsizetype next = -1;
            for (auto a = firstAnchorFrom(pos); a != anchors.end(); ++a) {
                const bool candidate = mayName(a->id, member);
                if (!candidate && sawMember)
                    continue;
                const std::optional<MemberAnchor> anchor = parseMemberAnchor(a->id);
                if (!anchor)
                    continue;
                sawMember = true;
                if (!candidate)
                    continue;
                std::optional<int> fit;
                if (member.memberName.isEmpty() || !member.paramTypes) {
                    if (member.memberName.isEmpty() ||
                        namesMember(anchor->name, member.memberName, member.simpleClassName))
                        if (member.commaCount == commaCountOf(anchor->types.size()))
                            fit = 0;
                } else if (namesMember(anchor->name, member.memberName, member.simpleClassName)) {
                    fit = typeFit(anchor->types, *member.paramTypes);
                }
                if (!fit || (best && *fit > best->fit))
                    continue;
                current.fit = *fit;
                capturing = true;
                sawSignature = false;
                next = a->end;
                break;
            }
            if (next < 0)
                break;
            pos = next;
        }
    }
    if (capturing)
        finish();
    if (!best || ambiguous)
        return std::nullopt;
    return convertBlock(best->block, links);
}

}  // namespace javadoc
