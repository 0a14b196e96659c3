#pragma once
// Page markup turned into the plain text the documentation pane shows; shared
// by the readers of every javadoc generation after 1.2.

#include <QString>
#include <QStringView>
#include <vector>

#include "javadoc/DocLink.h"

namespace javadoc {

// Where needle occurs in hay at or after from, or -1: the vectorised search
// for its first character, then a comparison. Qt's general substring search
// builds a table for every call, which dominated reading a page.
inline qsizetype findText(QStringView hay, QLatin1String needle, qsizetype from = 0)
{
    if (needle.isEmpty())
        return from <= hay.size() ? from : -1;
    const QChar first(QLatin1Char(needle.front()));
    const QLatin1String rest = needle.sliced(1);
    for (qsizetype at = hay.indexOf(first, from); at >= 0; at = hay.indexOf(first, at + 1)) {
        if (hay.size() - at < needle.size())
            return -1;
        if (hay.sliced(at + 1, rest.size()) == rest)
            return at;
    }
    return -1;
}

// Named entities javadoc writes (&lt; &gt; &amp; &quot; &#39; &nbsp;) and
// numeric ones decoded; a zero-width space (javadoc 11 puts one before every
// parameter list) dropped; anything else left as written.
QString decodeEntities(QStringView text);

// Tags dropped (a "<" without ">" keeps the rest as it is), then entities
// decoded, so "&lt;init&gt;" is never mistaken for a tag; trimmed.
QString plainText(QStringView html);

// plainText(html), and the spans of it that the markup's <a href> anchors
// cover, each with its href as written (entities decoded) for a target.
QString plainTextWithLinks(QStringView html, std::vector<DocLink>& links);

// A signature's markup as one line: tags dropped, entities decoded, blank runs
// made one blank, annotations before the declaration left out.
QString signatureLine(QStringView html);

// signatureLine(html), and the spans of it that the markup's <a href>
// anchors cover (the types, the exceptions), as plainTextWithLinks gives them.
QString signatureLineWithLinks(QStringView html, std::vector<DocLink>& links);

}  // namespace javadoc
