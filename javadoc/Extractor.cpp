#include "javadoc/Extractor.h"

#include <QDir>
#include <QFileInfo>

#include "javadoc/AnchoredPage.h"
#include "javadoc/EraPage.h"
#include "javadoc/LinkTarget.h"
#include "javadoc/ModernPage.h"
#include "javadoc/PageGeneration.h"
#include "javadoc/PageSource.h"
#include "platform/ControlChars.h"
#include "platform/LineReader.h"
#include "platform/Member.h"
#include "platform/SwingNaming.h"

namespace javadoc {

namespace {

// Paths are built with "\" as the pages' original platform wrote them; the
// file system here wants "/".
QString toFileSystem(QString path)
{
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}

// A page of a folder, or of a javadoc jar read in place.
bool exists(const QString& fsPath)
{
    return pageExists(fsPath) || platform::fileExists(fsPath);
}

bool namesSwing(const QString& name2)
{
    return platform::mentionsSwingRoot(name2);
}

AnchoredMember anchoredMember(const DocRequest& request, const QString& simpleClassName)
{
    return AnchoredMember {request.memberName, request.commaCount, request.paramTypes, simpleClassName};
}

ModernMember modernMember(const DocRequest& request, const QString& simpleClassName)
{
    return ModernMember {request.memberName, request.commaCount, simpleClassName, request.paramTypes};
}

// The page is read once; its generation picks the reader, and the era reader
// is the last resort on a page that names no member at all.
// `era` tells whether the era reader answered (its text has a shape of its own).
std::optional<QString> readMember(const Page& page, const DocRequest& request, std::vector<DocLink>& links, bool& era)
{
    // The page's own name: the class may have come from a package group.
    const QString simpleClassName = QFileInfo(page.path()).completeBaseName();
    const PageGeneration generation = pageGeneration(page);
    switch (generation) {
    case PageGeneration::Sections:
        if (std::optional<QString> text = extractModernPage(page, modernMember(request, simpleClassName), &links))
            return text;
        // javadoc 14 and 15 put the member's id on an anchor inside its section.
        if (std::optional<QString> text = extractAnchoredPage(page, anchoredMember(request, simpleClassName), &links))
            return text;
        break;
    case PageGeneration::Anchored:
        if (std::optional<QString> text = extractAnchoredPage(page, anchoredMember(request, simpleClassName), &links))
            return text;
        break;
    case PageGeneration::Unknown:
        // What cannot be told from a javadoc 1.2 page is read the era way
        // first, and its result stands when it found the member.
        if (std::optional<QString> eraText = extractEraPage(page, request.memberName, request.commaCount)) {
            era = true;
            return eraText;
        }
        return extractAnchoredPage(page, anchoredMember(request, simpleClassName), &links);
    }
    const MemberMarks marks = memberMarks(page);
    if (marks.memberAnchor || (generation == PageGeneration::Sections && marks.detailSection))
        return std::nullopt;
    std::optional<QString> eraText = extractEraPage(page, request.memberName, request.commaCount);
    era = eraText.has_value();
    return eraText;
}

// The readers' links with the page's hrefs made targets; those that name no
// class page, or lie past the text's end, are dropped.
std::vector<DocLink> pageLinks(const QString& fsRoot, const QString& fsPath, std::vector<DocLink> hrefs, qsizetype size)
{
    std::vector<DocLink> links;
    if (hrefs.empty())
        return links;
    std::optional<PagePlace> place = pagePlace(fsRoot, fsPath);
    if (!place)  // a module-layout page found beside the root
        place = pagePlace(QFileInfo(QDir::cleanPath(fsRoot)).path(), fsPath);
    if (!place)
        return links;
    for (DocLink& link : hrefs) {
        if (link.start + link.length > size)
            break;
        if (std::optional<QString> target = hrefTarget(*place, link.target))
            links.push_back(DocLink {link.start, link.length, std::move(*target)});
    }
    return links;
}

}  // namespace

void capDocText(QString& text)
{
    if (text.size() <= kMaxDocChars)
        return;
    // Back to the last whole line within the cap; but a line that crosses the
    // cap and is longer than the cap itself could never be shown whole, so it
    // keeps what fits rather than taking the text before it down with it.
    const qsizetype lineEnd = text.lastIndexOf(QLatin1Char('\n'), kMaxDocChars - 1);
    const qsizetype nextEnd = text.indexOf(QLatin1Char('\n'), kMaxDocChars - 1);
    const qsizetype crossing = (nextEnd < 0 ? text.size() : nextEnd) - (lineEnd + 1);
    if (lineEnd > 0 && crossing < kMaxDocChars) {
        text.truncate(lineEnd + 1);
    } else {
        text.truncate(kMaxDocChars - 1);
        text += QLatin1Char('\n');
    }
}

DocResult doit(const DocRequest& request)
{
    DocResult result;
    const QString className = request.groupName == platform::kConstructorsGroup ? request.nameText : request.groupName;
    const QString& root = namesSwing(request.name2) ? request.docpath2 : request.docpath;
    const QString pageName = request.selectionCount > 0 ? className : request.name2;

    QString path = root + QLatin1Char('\\') + pageName + QLatin1String(".html");
    if (!exists(toFileSystem(path))) {
        QString folders = pageName;
        folders.replace(QLatin1Char('.'), QLatin1Char('\\'));
        path = root + QLatin1Char('\\') + folders + QLatin1String(".html");
        path = platform::withModernSwingRoot(path, QLatin1Char('\\'));
    }
    QString fsPath = toFileSystem(path);
    if (!exists(fsPath)) {
        // Neither of the two classic layouts: a module-layout tree, perhaps.
        std::optional<QString> modulePage = modulePageCandidate(toFileSystem(root), pageName, request.memberName);
        if (!modulePage)
            return result;
        fsPath = *modulePage;
    }
    result.pageOpened = true;
    std::vector<DocLink> hrefs;
    // Only a regular file is read: a folder, a device or a pipe would either
    // fail at once or never end.
    const QString text =
        pageExists(fsPath) ? readMember(Page(fsPath), request, hrefs, result.eraPage).value_or(QString()) : QString();
    result.text = platform::showControlChars(text);
    capDocText(result.text);
    // Escaped control characters move the text after them; such a page
    // keeps its text and loses its links.
    if (result.text.size() <= text.size() && QStringView(text).startsWith(result.text))
        result.links = pageLinks(toFileSystem(root), fsPath, std::move(hrefs), result.text.size());
    return result;
}

}  // namespace javadoc
