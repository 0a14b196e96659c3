#include "javadoc/ModernPage.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include "javadoc/DocWriter.h"
#include "javadoc/Extractor.h"
#include "javadoc/MemberTypes.h"
#include "javadoc/PageSource.h"
#include "javadoc/PageText.h"
#include "javadoc/SelectionArgs.h"
#include "platform/JavaText.h"
#include "platform/LineReader.h"
#include "platform/SwingNaming.h"

namespace javadoc {

namespace {

// element-list of a whole JDK has a few hundred lines; anything far beyond that
// is not one, and reading stops rather than growing the table without end.
constexpr int kMaxElementListLines = 100000;
constexpr qsizetype kMaxPackageNameLength = 1024;
// A signature longer than this many lines is cut there.
constexpr int kMaxSignatureLines = 200;

const QLatin1String kDetailSection("<section class=\"detail\"");
const QLatin1String kMemberSignature("class=\"member-signature\"");
const QLatin1String kMemberSignature15("class=\"memberSignature\"");  // javadoc 14 and 15
const QLatin1String kSectionEnd("</section>");

bool isPackageName(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (!c.isLetterOrNumber() && c != QLatin1Char('_') && c != QLatin1Char('.') && c != QLatin1Char('$'))
            return false;
    return true;
}

QHash<QString, QString> readElementList(const QString& path, bool& hasModules)
{
    QHash<QString, QString> moduleOf;
    hasModules = false;
    const std::unique_ptr<platform::LineReader> opened = openPage(path);  // a file, or a jar's entry
    platform::LineReader& reader = *opened;
    QString module;
    for (int i = 0; i < kMaxElementListLines; ++i) {
        std::optional<QString> line = reader.readLine();
        if (!line)
            break;
        if (line->size() > kMaxPackageNameLength)
            continue;
        const QString text = platform::javaTrim(*line);
        if (text.startsWith(QLatin1String("module:"))) {
            module = text.mid(7);
            hasModules = true;
        } else if (isPackageName(text) && !moduleOf.contains(text)) {
            moduleOf.insert(text, module);  // a package listed twice keeps its first module
        }
    }
    // A list of modules names no package outside them; one without modules
    // (package-list, an element-list of JDK 8 to 10) names folders of the root.
    if (hasModules)
        moduleOf.removeIf([](const auto& entry) { return entry.value().isEmpty(); });
    return moduleOf;
}

std::optional<QString> pageInModules(
    const QString& apiDir, const QHash<QString, QString>& moduleOf, const QString& dotted)
{
    // The package is the longest dotted prefix that some module lists; what
    // follows it is the page name, nested classes keeping their dots.
    for (qsizetype dot = dotted.lastIndexOf(QLatin1Char('.')); dot > 0;
         dot = dotted.lastIndexOf(QLatin1Char('.'), dot - 1)) {
        const QString package = dotted.left(dot);
        const auto it = moduleOf.constFind(package);
        if (it == moduleOf.constEnd())
            continue;
        QString folders = package;
        folders.replace(QLatin1Char('.'), QLatin1Char('/'));
        const QString moduleDir = it.value().isEmpty() ? QString() : it.value() + QLatin1Char('/');
        const QString path = apiDir + QLatin1Char('/') + moduleDir + folders + QLatin1Char('/') + dotted.mid(dot + 1) +
            QLatin1String(".html");
        if (pageExists(path))
            return path;
        return std::nullopt;
    }
    return std::nullopt;
}

QString sectionId(const QString& line, qsizetype sectionAt)
{
    const qsizetype idAt = line.indexOf(QLatin1String("id=\""), sectionAt);
    if (idAt < 0)
        return QString();
    const qsizetype idEnd = line.indexOf(QLatin1Char('"'), idAt + 4);
    if (idEnd < 0)
        return QString();
    return line.mid(idAt + 4, idEnd - idAt - 4);
}

// Whether a section id names the member, leaving the parameter count aside.
bool sameName(const QString& id, const ModernMember& member)
{
    const qsizetype paren = id.indexOf(QLatin1Char('('));
    if (paren < 0)
        return false;  // a field
    if (member.memberName.isEmpty())
        return true;
    const QString name = id.left(paren);
    if (name == member.memberName || name == simpleNameOf(member.memberName))
        return true;
    const bool isInit = name == QLatin1String("&lt;init&gt;") || name == QLatin1String("<init>");
    return isInit && simpleNameOf(member.memberName) == simpleNameOf(member.simpleClassName);
}

bool hasLink(QStringView html)
{
    return findText(html, QLatin1String("href=")) >= 0 || findText(html, QLatin1String("HREF=")) >= 0;
}

// The signature's text, and the spans of it the page links (its types and
// exceptions).
QString signatureText(QString html, std::vector<DocLink>& spans)
{
    // Annotations stand before the modifiers; the line should start like the
    // declaration itself.
    const qsizetype ann = html.indexOf(QLatin1String("<span class=\"annotations\">"));
    if (ann >= 0) {
        const qsizetype annEnd = html.indexOf(QLatin1String("</span>"), ann);
        if (annEnd >= 0)
            html.remove(ann, annEnd + 7 - ann);
    }
    return hasLink(html) ? plainTextWithLinks(html, spans) : plainText(html);
}

class ModernBuilder {
public:
    DocWriter writer;

    void signature(const QString& html)
    {
        std::vector<DocLink> spans;
        const QString line = signatureText(html, spans);
        writer.signature(line, spans);
    }

    void body(QStringView html)
    {
        std::vector<DocLink> spans;
        const QString text = hasLink(html) ? plainTextWithLinks(html, spans) : plainText(html);
        if (text.isEmpty())
            return;
        // Tag labels ("Parameters:", "Since:", ...) as the era pages' lower-case
        // markup shows them: a line of two blanks, then the label in upper case.
        if (platform::javaTrim(html.toString()).startsWith(QLatin1String("<dt>")) && text.endsWith(QLatin1Char(':'))) {
            writer.label(text.toUpper());
            return;
        }
        writer.line(text, spans);
    }
};

}  // namespace

std::optional<QString> modulePageCandidate(const QString& fsRoot, const QString& pageName, const QString& memberName)
{
    if (fsRoot.isEmpty() || pageName.isEmpty())
        return std::nullopt;
    QString dotted = pageName;
    dotted.replace(QLatin1Char('$'), QLatin1Char('.'));
    QStringList names;
    if (const QString modern = platform::withModernSwingRoot(dotted, QLatin1Char('.')); modern != dotted)
        names << modern;
    names << dotted;  // a class that really lives under com.sun

    const QString root = QDir::cleanPath(fsRoot);
    const QString parent = QFileInfo(root).path();
    for (const QString& dir : {root, parent}) {
        QString list = dir + QLatin1String("/element-list");
        if (!pageExists(list))
            list = dir + QLatin1String("/package-list");  // javadoc 8 and older
        if (!pageExists(list))
            continue;
        bool hasModules = false;
        const QHash<QString, QString> moduleOf = readElementList(list, hasModules);
        if (moduleOf.isEmpty())
            continue;
        for (const QString& name : names) {
            if (auto page = pageInModules(dir, moduleOf, name))
                return page;
        }
        const QString simpleName = simpleNameOf(memberName);
        for (const QString& name : names) {
            if (moduleOf.contains(name) && !simpleName.isEmpty()) {
                if (auto page = pageInModules(dir, moduleOf, name + QLatin1Char('.') + simpleName))
                    return page;
            }
        }
        return std::nullopt;
    }
    return std::nullopt;
}

namespace {

struct Scan {
    std::optional<QString> text;  // nothing: no detail section on the page
    std::vector<DocLink> links;   // the text's, their targets the page's hrefs
    bool matched = false;
    int fewerCommaSections = 0;  // sections of the member's name with parameters but fewer commas
    QString fewerCommaId;        // the first of them
    // Typed choice: the best section that fits only loosely, and whether
    // another fitted as well.
    std::optional<int> looseFit;
    QString looseId;
    bool looseTie = false;
};

// exactId set: the section with that id; else the member by name and count.
Scan scanModernPage(const Page& page, const ModernMember& member, const QString& exactId)
{
    Scan scan;
    const std::unique_ptr<platform::LineReader> lines = page.lines();
    platform::LineReader& reader = *lines;

    enum class State { Seeking, BeforeSignature, Signature, Body };
    State state = State::Seeking;
    bool sawDetail = false;
    QString signature;
    int signatureLines = 0;
    ModernBuilder out;

    for (;;) {
        std::optional<QString> read = reader.readLine();
        if (!read)
            break;
        QString line = std::move(*read);
        qsizetype from = 0;  // where the part of the line not yet used starts

        if (state == State::Seeking) {
            const qsizetype at = findText(line, kDetailSection);
            if (at < 0)
                continue;
            sawDetail = true;
            const QString id = sectionId(line, at);
            const bool named = sameName(id, member);
            const int count = named ? commaCount(id) : 0;
            if (named && count >= 0 && count < member.commaCount && ++scan.fewerCommaSections == 1)
                scan.fewerCommaId = id;
            bool match = false;
            if (!exactId.isEmpty()) {
                match = id == exactId;
            } else if (member.paramTypes && !member.memberName.isEmpty()) {
                const std::optional<MemberAnchor> anchor = named ? parseMemberAnchor(id) : std::nullopt;
                const std::optional<int> fit = anchor ? typeFit(anchor->types, *member.paramTypes) : std::nullopt;
                match = fit == 0;
                if (fit && *fit > 0) {
                    if (!scan.looseFit || *fit < *scan.looseFit) {
                        scan.looseFit = fit;
                        scan.looseId = id;
                        scan.looseTie = false;
                    } else if (*fit == *scan.looseFit) {
                        scan.looseTie = true;
                    }
                }
            } else {
                match = named && count == member.commaCount;
            }
            if (!match)
                continue;
            scan.matched = true;
            state = State::BeforeSignature;
            from = at + kDetailSection.size();
        }
        if (state == State::BeforeSignature) {
            qsizetype sig = findText(line, kMemberSignature, from);
            if (sig < 0)
                sig = findText(line, kMemberSignature15, from);
            const qsizetype end = findText(line, kSectionEnd, from);
            if (end >= 0 && (sig < 0 || end < sig)) {
                scan.text = out.writer.text();  // a member section without a signature
                scan.links = out.writer.links();
                return scan;
            }
            if (sig < 0)
                continue;
            const qsizetype tagStart = line.lastIndexOf(QLatin1Char('<'), sig);
            signature = line.mid(tagStart < 0 ? sig : tagStart);
            state = State::Signature;
            from = line.size();
        } else if (state == State::Signature) {
            signature += QLatin1Char(' ');
            signature += platform::javaTrim(line);
            from = line.size();
            ++signatureLines;
        }
        if (state == State::Signature) {
            const qsizetype close = signature.indexOf(QLatin1String("</div>"));
            if (close < 0 && signatureLines < kMaxSignatureLines && signature.size() < kMaxDocChars)
                continue;
            const QString rest = close < 0 ? QString() : signature.mid(close + 6);
            out.signature(close < 0 ? signature : signature.left(close));
            signature.clear();
            state = State::Body;
            line = rest;
            from = 0;
        }
        // Body
        const qsizetype end = findText(line, kSectionEnd, from);
        if (end >= 0) {
            out.body(QStringView(line).mid(from, end - from));
            scan.text = out.writer.text();
            scan.links = out.writer.links();
            return scan;
        }
        out.body(QStringView(line).mid(from));
        if (out.writer.size() >= kMaxDocChars)
            break;  // a section that never closes: the rest of the page is not its text
    }
    if (!sawDetail)
        return scan;
    if (state == State::Signature)
        out.signature(signature);
    scan.text = out.writer.text();
    scan.links = out.writer.links();
    return scan;
}

Scan chooseModernSection(const Page& page, const ModernMember& member)
{
    Scan scan = scanModernPage(page, member, QString());
    if (member.paramTypes && !member.memberName.isEmpty()) {
        // The section ids name their types: a section that fits only loosely
        // (a type variable, a bridge) is taken when it is the only best one,
        // and no section is better than another overload's.
        if (!scan.text || scan.matched)
            return scan;
        if (scan.looseFit && !scan.looseTie)
            return scanModernPage(page, member, scan.looseId);
        Scan none;
        none.text = QString();
        return none;
    }
    // The tree counts the commas of a throws clause too ("m(int) throws A,B"
    // gives 2), a section id only the parameters'. When no section has the
    // count but exactly one of the name has parameters and fewer commas, that
    // one is the member.
    if (scan.text && !scan.matched && scan.fewerCommaSections == 1 && !member.memberName.isEmpty())
        scan = scanModernPage(page, member, scan.fewerCommaId);
    return scan;
}

}  // namespace

std::optional<QString> extractModernPage(const Page& page, const ModernMember& member, std::vector<DocLink>* links)
{
    Scan scan = chooseModernSection(page, member);
    if (!scan.text || scan.text->isEmpty())
        return std::nullopt;
    if (links)
        *links = std::move(scan.links);
    return scan.text;
}

}  // namespace javadoc
