#include "javadoc/DocSections.h"

#include "javadoc/DocWriter.h"
#include "platform/JavaText.h"

namespace javadoc {

namespace {

// A labelled part as DocWriter starts it: a line of two blanks, the label.
const QLatin1String kSinceLabel("  \n  SINCE:\n");
const QLatin1String kRemovalLabel("DEPRECATED FOR REMOVAL:");

// How javadoc has said it since release 9, on pages and in our source
// reader's text alike: "Deprecated, for removal: This API element is subject
// to removal in a future version."
bool saysForRemoval(const QString& text)
{
    return text.contains(QLatin1String("Deprecated, for removal"), Qt::CaseInsensitive) ||
        text.contains(QLatin1String("subject to removal"), Qt::CaseInsensitive) || text.contains(kRemovalLabel);
}

// The first number in the text, and where it ends; -1 for none.
int leadingNumber(QStringView text, qsizetype& at)
{
    while (at < text.size() && !text[at].isDigit()) ++at;
    if (at >= text.size())
        return -1;
    int value = 0;
    for (; at < text.size() && text[at].isDigit(); ++at) {
        if (value > 10000)  // no release is this long; the rest is not a version
            return -1;
        value = value * 10 + text[at].digitValue();
    }
    return value;
}

bool agrees(int pageRelease, const MemberFacts& facts)
{
    return pageRelease == facts.sinceRelease || (facts.sinceOrOlder && pageRelease < facts.sinceRelease);
}

// The first line of the text's SINCE section: where it ends (before its
// newline) and what it says; nothing when the text has no SINCE section.
struct SinceLine {
    qsizetype end = 0;
    QString value;
};

std::optional<SinceLine> sinceLineOf(const QString& text)
{
    const qsizetype label = text.indexOf(kSinceLabel);
    if (label < 0)
        return std::nullopt;
    const qsizetype start = label + kSinceLabel.size();
    qsizetype end = text.indexOf(QLatin1Char('\n'), start);
    if (end < 0)
        end = text.size();
    return SinceLine {end, platform::javaTrim(text.mid(start, end - start))};
}

void insertBracket(QString& text, std::vector<DocLink>& links, qsizetype at, const QString& bracket)
{
    text.insert(at, bracket);
    for (DocLink& link : links)
        if (link.start >= at)
            link.start += bracket.size();
}

void appendSection(QString& text, QLatin1String label, const QString& line)
{
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    DocWriter writer;
    writer.label(label);
    writer.line(line);
    text += writer.text();
}

}  // namespace

QString sinceText(const MemberFacts& facts)
{
    const QString release = QString::number(facts.sinceRelease);
    return facts.sinceOrOlder ? QChar(0x2264) + release : release;
}

std::optional<int> releaseOfSinceText(QStringView text)
{
    qsizetype at = 0;
    const int major = leadingNumber(text, at);
    if (major < 0)
        return std::nullopt;
    // "1.N" is release N; 1.0 and 1.1 are both release 1.
    if (major == 1 && at + 1 < text.size() && text[at] == QLatin1Char('.') && text[at + 1].isDigit()) {
        const int minor = leadingNumber(text, ++at);
        return minor < 0 ? std::nullopt : std::optional(std::max(minor, 1));
    }
    return major;
}

void addClassFileSections(QString& text, std::vector<DocLink>& links, const MemberFacts& facts)
{
    if (facts.forRemoval && !saysForRemoval(text))
        appendSection(text, kRemovalLabel,
            QStringLiteral("This member, or its class, is marked to be removed in a "
                           "future release."));
    if (facts.sinceRelease <= 0)
        return;
    const std::optional<SinceLine> own = sinceLineOf(text);
    if (!own) {
        appendSection(text, QLatin1String("SINCE:"), sinceText(facts));
        return;
    }
    const std::optional<int> pageRelease = releaseOfSinceText(own->value);
    if (pageRelease && !agrees(*pageRelease, facts))
        insertBracket(text, links, own->end, QStringLiteral(" [class files: ") + sinceText(facts) + QLatin1Char(']'));
}

}  // namespace javadoc
