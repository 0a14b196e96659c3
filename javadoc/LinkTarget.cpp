#include "javadoc/LinkTarget.h"

#include <QDir>
#include <QUrl>

#include "javadoc/MemberTypes.h"
#include "javadoc/PageText.h"

namespace javadoc {

namespace {

bool isIdentifier(QStringView text)
{
    if (text.isEmpty() || text.front().isDigit())
        return false;
    for (const QChar c : text)
        if (!c.isLetterOrNumber() && c != QLatin1Char('_') && c != QLatin1Char('$'))
            return false;
    return true;
}

}  // namespace

QString leafTypeName(QString type)
{
    const qsizetype generic = type.indexOf(QLatin1Char('<'));
    if (generic >= 0) {
        const qsizetype close = type.lastIndexOf(QLatin1Char('>'));
        type.remove(generic, (close < generic ? type.size() : close + 1) - generic);
    }
    if (type.endsWith(QLatin1String("...")))
        type.replace(type.size() - 3, 3, QLatin1String("[]"));
    type.remove(QLatin1Char(' '));
    type.replace(QLatin1String(":A"), QLatin1String("[]"));  // javadoc 8's arrays
    return type.mid(type.lastIndexOf(QLatin1Char('.')) + 1);
}

QString memberTarget(const QString& binaryClassName, const QString& name, const QStringList& types)
{
    QStringList leafTypes;
    for (const QString& type : types) leafTypes << leafTypeName(type);
    return binaryClassName + QLatin1Char('#') + name + QLatin1Char('(') + leafTypes.join(QLatin1Char(',')) +
        QLatin1Char(')');
}

namespace {

// The part after "#": a member with its types, a field, or nothing for a
// section of the page ("method-summary", "navbar.top").
QString memberPart(const QString& fragment, const QString& simpleClassName)
{
    if (fragment.isEmpty())
        return QString();
    if (const std::optional<MemberAnchor> anchor = parseMemberAnchor(fragment)) {
        const QString name = anchor->name == simpleClassName ? QStringLiteral("<init>") : anchor->name;
        return memberTarget(QString(), name, anchor->types);
    }
    return isIdentifier(fragment) ? QLatin1Char('#') + fragment : QString();
}

}  // namespace

std::optional<PagePlace> pagePlace(const QString& fsRoot, const QString& fsPath)
{
    const QString root = QDir::cleanPath(fsRoot);
    const QString path = QDir::cleanPath(fsPath);
    if (root.isEmpty() || !path.startsWith(root + QLatin1Char('/')) || !path.endsWith(QLatin1String(".html")))
        return std::nullopt;
    QStringList parts = path.mid(root.size() + 1).split(QLatin1Char('/'));
    PagePlace place;
    place.baseName = parts.takeLast().chopped(5);
    if (!parts.isEmpty() && parts.front().contains(QLatin1Char('.')))
        parts.removeFirst();  // the module's folder
    place.package = parts;
    return place;
}

std::optional<QString> hrefTarget(const PagePlace& page, QStringView href)
{
    const QString decoded = QUrl::fromPercentEncoding(decodeEntities(href).toUtf8());
    if (decoded.contains(QLatin1Char(':')) && !decoded.contains(QLatin1Char('#')))
        return std::nullopt;  // "https://...", "mailto:..."
    const qsizetype hash = decoded.indexOf(QLatin1Char('#'));
    QString path = hash < 0 ? decoded : decoded.left(hash);
    if (path.contains(QLatin1String("://")) || path.startsWith(QLatin1Char('/')) || path.contains(QLatin1Char('?')))
        return std::nullopt;
    QStringList package = page.package;
    QString baseName = page.baseName;
    if (!path.isEmpty()) {
        if (!path.endsWith(QLatin1String(".html")))
            return std::nullopt;
        QStringList segments = path.chopped(5).split(QLatin1Char('/'));
        baseName = segments.takeLast();
        // Past the package root by one folder, the next one is a module's
        // ("../../../java.sql/java/sql/Date.html"); anything further is not a page of the root.
        int above = 0;
        for (const QString& segment : segments) {
            if (segment == QLatin1String("..")) {
                if (package.isEmpty())
                    ++above;
                else
                    package.removeLast();
            } else if (segment == QLatin1String(".") || segment.isEmpty()) {
                continue;
            } else if (above == 1) {
                above = 0;
            } else if (above > 1) {
                return std::nullopt;
            } else {
                package << segment;
            }
        }
        if (above > 0)
            return std::nullopt;
    }
    // The era's one folder of dotted names: the lower-case parts are the package.
    QStringList names = baseName.split(QLatin1Char('.'));
    while (names.size() > 1 && names.front().front().isLower()) package << names.takeFirst();
    for (const QStringList* parts : {&package, &names})
        for (const QString& part : *parts)
            if (!isIdentifier(part))
                return std::nullopt;
    const QString className = (package.isEmpty() ? QString() : package.join(QLatin1Char('.')) + QLatin1Char('.')) +
        names.join(QLatin1Char('$'));
    const QString fragment = hash < 0 ? QString() : decoded.mid(hash + 1);
    if (fragment.startsWith(QLatin1String("type-param-")))
        return std::nullopt;  // a type variable's own entry, no class of its own
    return className + memberPart(fragment, names.last());
}

}  // namespace javadoc
