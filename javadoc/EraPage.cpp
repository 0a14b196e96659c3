#include "javadoc/EraPage.h"

#include "javadoc/Extractor.h"
#include "javadoc/PageSource.h"
#include "javadoc/SelectionArgs.h"
#include "platform/JavaText.h"
#include "platform/LineReader.h"

namespace javadoc {

namespace {

constexpr int kMaxPasses = 10000;
constexpr int kMaxTags = 25;
constexpr int kMaxEntities = 8;

// How often a character turns up in page text, roughly; lower is rarer.
int commonness(QChar c)
{
    static const char kByFrequency[] = "etaoinshrdlcumwfgypbvkjxqz";
    const char16_t u = c.unicode();
    if (u >= 'a' && u <= 'z') {
        for (int i = 0; kByFrequency[i]; ++i)
            if (kByFrequency[i] == u)
                return 100 - i;
    }
    if (u == ' ' || u == '<' || u == '>' || u == '/' || u == '"' || u == '=')
        return 200;
    return 10;  // capitals, digits, other punctuation
}

// Most of a page is read only to be tested for a few fixed words, so this is
// the hot loop: find the pattern's rarest character with the vectorised
// character search, then compare the whole pattern around it. Qt's general
// substring search rehashes at every position and took three quarters of the
// reading time.
class Pattern {
public:
    explicit Pattern(const QString& text) : text_(text)
    {
        for (qsizetype i = 1; i < text_.size(); ++i)
            if (commonness(text_.at(i)) < commonness(text_.at(anchor_)))
                anchor_ = i;
    }
    explicit Pattern(QLatin1String text) : Pattern(QString(text)) { }

    qsizetype in(QStringView hay) const
    {
        const qsizetype n = text_.size();
        if (n == 0)
            return 0;
        const QChar key = text_.at(anchor_);
        const qsizetype lastHit = hay.size() - n + anchor_;
        const QChar* needle = text_.constData();
        for (qsizetype search = anchor_; search <= lastHit;) {
            const qsizetype hit = hay.indexOf(key, search);
            if (hit < 0 || hit > lastHit)
                return -1;
            const qsizetype at = hit - anchor_;
            qsizetype i = 0;
            while (i < n && hay.at(at + i) == needle[i]) ++i;
            if (i == n)
                return at;
            search = hit + 1;
        }
        return -1;
    }

    bool isIn(QStringView hay) const { return in(hay) >= 0; }

private:
    QString text_;
    qsizetype anchor_ = 0;
};

const Pattern kDl(QLatin1String("</dl>"));
const Pattern kTrEnd(QLatin1String("</TR>"));
const Pattern kHr(QLatin1String("<HR>"));
const Pattern kSeeAlso(QLatin1String("See Also"));
const Pattern kOnstructor(QLatin1String("onstructor"));
const Pattern kConstructors(QLatin1String("constructors"));
const Pattern kConstructorDetail(QLatin1String("Constructor Detail"));
const Pattern kOverview(QLatin1String("Overview"));
const Pattern kAllPackages(QLatin1String("All Packages"));
const Pattern kPublic(QLatin1String("public"));

bool hasEndMarker(QStringView line)
{
    // "</dl></dd>" contains "</dl>", so one search covers both.
    return kDl.isIn(line) || kTrEnd.isIn(line) || kHr.isIn(line) || kSeeAlso.isIn(line);
}

bool hasOpeningMarker(QStringView line)
{
    // "<a name="constructors">" contains "constructors", and both words share
    // "onstructor", which few lines hold.
    if (!kOnstructor.isIn(line))
        return false;
    return kConstructors.isIn(line) || kConstructorDetail.isIn(line);
}

bool hasClosingMarker(QStringView line)
{
    return kOverview.isIn(line) || kAllPackages.isIn(line);
}

struct Emitter {
    QString result;
    QString previous;
    int appended = 0;
    bool firstHandled = false;

    void handle(QString line)
    {
        if (line.contains(QLatin1String("Method Detail")))
            line.prepend(QLatin1String("\n\n"));
        const QString trimmed = platform::javaTrim(line);
        const bool dropped = (trimmed.size() < 3 && previous.size() < 3) || line.size() == 1 || line.size() == 2;
        if (!dropped) {
            if (!line.startsWith(QLatin1String("  ")))
                line.prepend(QLatin1String("  "));
            static const struct {
                QLatin1String from, to;
            } labels[] = {
                {QLatin1String("Parameters:"), QLatin1String("PARAMETERS:")},
                {QLatin1String("Specified by:"), QLatin1String("SPECIFIED BY:")},
                {QLatin1String("Returns:"), QLatin1String("RETURNS:")},
                {QLatin1String("Throws:"), QLatin1String("THROWS:")},
                {QLatin1String("Overrides:"), QLatin1String("OVERRIDES:")},
            };
            for (const auto& label : labels) {
                const qsizetype at = line.indexOf(label.from);
                if (at >= 0)
                    line.replace(at, label.from.size(), label.to);
            }
            result += line;
            result += QLatin1Char('\n');
            if (++appended == 1)
                result += signatureRule();
        }
        previous = trimmed;
        if (!firstHandled) {
            firstHandled = true;
            result += QLatin1Char('\n');
        }
    }
};

}  // namespace

QString convertEraLine(QString line)
{
    for (int i = 0; i < kMaxTags; ++i) {
        const qsizetype open = line.indexOf(QLatin1Char('<'));
        if (open < 0)
            break;
        const qsizetype close = line.indexOf(QLatin1Char('>'), open);
        if (close < 0)
            break;
        const QStringView tag = QStringView(line).mid(open);
        const QStringView pre = QStringView(line).left(open);
        const QStringView post = QStringView(line).mid(close + 1);
        QString joined;
        joined.reserve(line.size() + 4);
        joined += pre;
        if (tag.startsWith(QLatin1String("<BR>")) || tag.startsWith(QLatin1String("<DT>")))
            joined += pre.isEmpty() ? QLatin1String(".\n  ") : QLatin1String("\n  ");
        else if (tag.startsWith(QLatin1String("<DD>")))
            joined += QLatin1Char(' ');
        joined += post;
        line = std::move(joined);
    }
    for (int i = 0; i < kMaxEntities; ++i) {
        const qsizetype at = line.indexOf(QLatin1String("&nbsp;"));
        if (at < 0)
            break;
        line.replace(at, 6, QLatin1Char(' '));
    }
    line = QLatin1String("  ") + platform::javaTrim(line);
    static const QLatin1String heads[] = {
        QLatin1String("  Parameters:"),
        QLatin1String("  Returns:"),
        QLatin1String("  Throws:"),
        QLatin1String("  Overrides:"),
    };
    for (const QLatin1String& head : heads) {
        if (!line.startsWith(head))
            continue;
        QString rest = line.mid(head.size());
        if (rest.size() > 2)
            rest.prepend(QLatin1String("\n  "));
        line = QLatin1Char('\n') + QString(head).toUpper() + rest;
        break;
    }
    return line;
}

std::optional<QString> extractEraPage(const Page& page, const QString& memberName, int commaCount)
{
    const std::unique_ptr<platform::LineReader> lines = page.lines();
    platform::LineReader& reader = *lines;
    Emitter out;

    const Pattern nameParen(memberName + QLatin1Char('('));
    const Pattern nameTag(memberName + QLatin1Char('<'));
    bool inDetail = false;
    bool found = false;
    bool ended = false;
    int lineCount = 0;

    do {
        ++lineCount;
        std::optional<QString> read = reader.readLine();
        if (!read)
            break;
        QString line = std::move(*read);
        if (!line.isEmpty() && line.back() == QLatin1Char(',')) {
            std::optional<QString> next = reader.readLine();
            if (!next)
                break;
            line += QLatin1Char(' ');
            line += platform::javaTrim(*next);
        }

        // The found test needs an open section, so the searches behind it are
        // skipped outside one; the outcome is the same.
        // "public" is tested first because few lines hold it.
        if (inDetail && !found) {
            const qsizetype pub = kPublic.in(line);
            if (pub >= 0) {
                qsizetype at = nameParen.in(line);
                if (at < 0)
                    at = nameTag.in(line);
                if (at > pub && javadoc::commaCount(line) == commaCount)
                    found = true;
            }
        }
        if (found && hasEndMarker(line))
            ended = true;
        if (hasOpeningMarker(line))
            inDetail = true;
        if (hasClosingMarker(line))
            inDetail = false;
        if (inDetail && found && !ended) {
            out.handle(convertEraLine(std::move(line)));
            // A block that never ends stops at the cap, not at the 10000th line.
            if (out.result.size() >= kMaxDocChars)
                ended = true;
        }
    } while (!ended && lineCount < kMaxPasses);
    if (out.result.isEmpty())
        return std::nullopt;
    return out.result;
}

QString extractEraPage(const QString& fsPath, const QString& memberName, int commaCount)
{
    return extractEraPage(Page(fsPath), memberName, commaCount).value_or(QString());
}

}  // namespace javadoc
