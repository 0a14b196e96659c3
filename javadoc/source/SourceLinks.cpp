#include "javadoc/source/SourceLinks.h"

#include "javadoc/LinkTarget.h"
#include "javadoc/source/CommentRenderer.h"
#include "platform/JavaText.h"

namespace javadoc::source {

namespace {

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

bool isKeyword(QStringView word)
{
    static const char* const words[] = {
        "boolean", "byte", "char", "double", "float", "int", "long", "short", "void", "extends", "super", "final"};
    for (const char* w : words)
        if (word == QLatin1String(w))
            return true;
    return false;
}

QString withoutMarks(QString text)
{
    text.remove(QChar(kLinkOpen));
    text.remove(QChar(kLinkClose));
    return text;
}

}  // namespace

SourceLinks::SourceLinks(TypeResolver types, QString selfBinary, MemberLookup members)
    : types_(std::move(types)), self_(std::move(selfBinary)), members_(std::move(members))
{ }

std::optional<QString> SourceLinks::target(const QString& reference) const
{
    if (reference.startsWith(QLatin1Char('<'))) {
        const qsizetype dot = self_.lastIndexOf(QLatin1Char('.'));
        const PagePlace place {dot < 0 ? QStringList() : self_.left(dot).split(QLatin1Char('.')),
            self_.mid(dot + 1).replace(QLatin1Char('$'), QLatin1Char('.'))};
        return hrefTarget(place, QStringView(reference).sliced(1));
    }
    const QString ref = platform::javaTrim(reference);
    const qsizetype hash = ref.indexOf(QLatin1Char('#'));
    const QString classPart = hash < 0 ? ref : ref.left(hash);
    if (classPart.contains(QLatin1Char('(')))
        return std::nullopt;  // "Math.max(int, int)": the old dotted member form
    const QString cls = classPart.isEmpty() ? self_ : types_.resolve(classPart);
    if (cls.isEmpty())
        return std::nullopt;
    if (hash < 0)
        return cls;
    QString name = ref.mid(hash + 1);
    std::optional<QStringList> types;
    if (const qsizetype paren = name.indexOf(QLatin1Char('(')); paren >= 0) {
        const qsizetype close = name.lastIndexOf(QLatin1Char(')'));
        if (close < paren)
            return std::nullopt;
        types.emplace();
        const QString list = platform::javaTrim(name.mid(paren + 1, close - paren - 1));
        if (!list.isEmpty()) {
            for (const QString& param : list.split(QLatin1Char(','))) {
                // A reference may name its parameters too: "#wait(long timeout)".
                QString type = platform::javaTrim(param).section(QLatin1Char(' '), 0, 0);
                *types << leafTypeName(type);
            }
        }
        name.truncate(paren);
    }
    if (name.isEmpty() || !std::all_of(name.begin(), name.end(), isNameChar))
        return std::nullopt;
    const QString simple = cls.mid(std::max(cls.lastIndexOf(QLatin1Char('.')), cls.lastIndexOf(QLatin1Char('$'))) + 1);
    if (name == simple && types)
        name = QStringLiteral("<init>");
    if (std::optional<QString> member = members_(cls, name, types))
        return member;
    if (!types)
        return cls + QLatin1Char('#') + name;  // a field: the class files do not list them
    return std::nullopt;
}

std::vector<DocLink> SourceLinks::typeSpans(
    QStringView text, qsizetype offset, const QHash<QString, QString>& typeVariables) const
{
    std::vector<DocLink> spans;
    qsizetype i = 0;
    while (i < text.size()) {
        if (!isNameChar(text[i]) || text[i].isDigit()) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < text.size() &&
            (isNameChar(text[i]) || (text[i] == QLatin1Char('.') && i + 1 < text.size() && isNameChar(text[i + 1]))))
            ++i;
        const QStringView name = text.sliced(start, i - start);
        if ((start > 0 && text[start - 1] == QLatin1Char('@')) || isKeyword(name))
            continue;
        if (const auto variable = typeVariables.constFind(name.toString()); variable != typeVariables.constEnd()) {
            if (!variable.value().isEmpty())
                spans.push_back(DocLink {offset + start, name.size(), variable.value()});
            continue;
        }
        if (const QString binary = types_.resolve(name); !binary.isEmpty())
            spans.push_back(DocLink {offset + start, name.size(), binary});
    }
    return spans;
}

std::optional<std::vector<MarkedLine>> markedLines(const QString& markup, qsizetype refCount)
{
    std::vector<MarkedLine> out;
    qsizetype refs = 0;
    int open = -1;  // the reference whose label a line break interrupted
    for (const QString& marked : markupLines(markup)) {
        MarkedLine line;
        qsizetype spanFrom = open >= 0 ? 0 : -1;
        for (const QChar c : marked) {
            if (c == QChar(kLinkOpen)) {
                open = int(refs++);
                spanFrom = line.text.size();
            } else if (c == QChar(kLinkClose) && open >= 0) {
                line.spans.push_back(DocLink {spanFrom, line.text.size() - spanFrom, QString::number(open)});
                open = -1;
            } else {
                line.text += c;
            }
        }
        if (open >= 0 && spanFrom >= 0)
            line.spans.push_back(DocLink {spanFrom, line.text.size() - spanFrom, QString::number(open)});
        // The marks kept blanks beside them from the trim.
        const QString trimmed = platform::javaTrim(line.text);
        if (trimmed.isEmpty())
            continue;
        const qsizetype lead = line.text.indexOf(trimmed.front());
        std::vector<DocLink> spans;
        for (DocLink& span : line.spans) {
            const qsizetype start = std::max<qsizetype>(span.start - lead, 0);
            const qsizetype end = std::min(span.start + span.length - lead, trimmed.size());
            if (end > start)
                spans.push_back(DocLink {start, end - start, std::move(span.target)});
        }
        out.push_back(MarkedLine {trimmed, std::move(spans)});
    }
    if (refs != refCount)
        return std::nullopt;
    const QStringList plain = markupLines(withoutMarks(markup));
    if (plain.size() != qsizetype(out.size()))
        return std::nullopt;
    for (qsizetype n = 0; n < plain.size(); ++n)
        if (plain[n] != out[size_t(n)].text)
            return std::nullopt;
    return out;
}

namespace {

// An anchor's tag longer than this is not looked into for its href.
constexpr qsizetype kMaxAnchorTag = 4096;

// The href of the "<a ...>" tag at `open`, or "" for any other tag.
QString anchorHref(QStringView tag)
{
    const qsizetype at = tag.indexOf(QLatin1String("href="), 0, Qt::CaseInsensitive);
    if (at < 0 || at + 5 >= tag.size() || (tag[at + 5] != QLatin1Char('"') && tag[at + 5] != QLatin1Char('\'')))
        return QString();
    const qsizetype end = tag.indexOf(tag[at + 5], at + 6);
    return end < 0 ? QString() : tag.sliced(at + 6, end - at - 6).toString();
}

}  // namespace

QString markAnchors(const QString& markup, QStringList& refs)
{
    if (!markup.contains(QLatin1String("</a>"), Qt::CaseInsensitive))
        return markup;
    // Each search goes on from where the last one found its answer, so that a
    // comment of a thousand "<a " and one "</a>" is read once, not a thousand times.
    struct Next {
        qsizetype at = -1;
        qsizetype find(const QString& text, QStringView needle, qsizetype from)
        {
            if (at < from) {
                at = text.indexOf(needle, from, Qt::CaseInsensitive);
                if (at < 0)
                    at = text.size();
            }
            return at;
        }
    };
    Next gt, end, anchor, mark;
    const char16_t openMark[] = {kLinkOpen, 0};
    QString out;
    out.reserve(markup.size());
    QStringList ordered;
    qsizetype nextRef = 0;
    qsizetype i = 0;
    while (i < markup.size()) {
        const QChar c = markup[i];
        if (c == QChar(kLinkOpen) && nextRef < refs.size())
            ordered << refs[nextRef++];
        const bool opensAnchor = c == QLatin1Char('<') && i + 2 < markup.size() &&
            (markup[i + 1] == QLatin1Char('a') || markup[i + 1] == QLatin1Char('A')) && markup[i + 2].unicode() <= ' ';
        const qsizetype tagEnd = opensAnchor ? gt.find(markup, u">", i) : markup.size();
        const qsizetype labelEnd =
            tagEnd < markup.size() && tagEnd - i <= kMaxAnchorTag ? end.find(markup, u"</a>", tagEnd) : markup.size();
        // A label with an anchor or a link of its own in it is left as it is.
        const bool plainLabel = labelEnd < markup.size() && anchor.find(markup, u"<a", tagEnd) > labelEnd &&
            mark.find(markup, openMark, tagEnd) > labelEnd;
        const QString href = plainLabel ? anchorHref(QStringView(markup).sliced(i, tagEnd - i)) : QString();
        if (href.isEmpty()) {
            out += c;
            ++i;
            continue;
        }
        ordered << QLatin1Char('<') + href;
        out += QChar(kLinkOpen);
        // The tag's own line breaks stay, as the tags' removal keeps them.
        for (qsizetype k = i; k < tagEnd; ++k)
            if (markup[k] == QLatin1Char('\n'))
                out += QLatin1Char('\n');
        out += QStringView(markup).sliced(tagEnd + 1, labelEnd - tagEnd - 1);
        out += QChar(kLinkClose);
        i = labelEnd + 4;
    }
    while (nextRef < refs.size()) ordered << refs[nextRef++];
    refs = ordered;
    return out;
}

bool hasLinkMarks(QStringView text)
{
    return text.contains(QChar(kLinkOpen)) || text.contains(QChar(kLinkClose));
}

}  // namespace javadoc::source
