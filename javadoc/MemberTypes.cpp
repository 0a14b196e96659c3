#include "javadoc/MemberTypes.h"

#include "platform/JavaText.h"

namespace javadoc {

namespace {

// The class file format's own limit on a method's parameters.
constexpr qsizetype kMaxParameters = 255;

bool isPrimitive(QStringView t)
{
    static const QLatin1String kPrimitives[] = {QLatin1String("boolean"), QLatin1String("byte"), QLatin1String("char"),
        QLatin1String("short"), QLatin1String("int"), QLatin1String("long"), QLatin1String("float"),
        QLatin1String("double")};
    for (const QLatin1String& p : kPrimitives)
        if (t == p)
            return true;
    return false;
}

bool isIdentifierPart(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// "java.util.List<E>" to "java.util.List", "T..." and "T:A" to "T[]",
// "java.util.Map$Entry" to "java.util.Map.Entry".
QString normalise(QString type)
{
    type = platform::javaTrim(type);
    for (qsizetype open = type.indexOf(QLatin1Char('<')); open >= 0; open = type.indexOf(QLatin1Char('<'))) {
        int depth = 0;
        qsizetype end = open;
        for (; end < type.size(); ++end) {
            if (type.at(end) == QLatin1Char('<'))
                ++depth;
            else if (type.at(end) == QLatin1Char('>') && --depth == 0)
                break;
        }
        type.remove(open, end + 1 - open);
    }
    type.remove(QLatin1Char(' '));
    int dims = 0;
    for (;;) {
        if (type.endsWith(QLatin1String("[]")) || type.endsWith(QLatin1String(":A")))
            type.chop(2);
        else if (type.endsWith(QLatin1String("...")))
            type.chop(3);
        else
            break;
        ++dims;
    }
    type.replace(QLatin1Char('$'), QLatin1Char('.'));
    for (int i = 0; i < dims; ++i) type += QLatin1String("[]");
    return type;
}

int arrayDepth(QString& type)
{
    int depth = 0;
    while (type.endsWith(QLatin1String("[]"))) {
        type.chop(2);
        ++depth;
    }
    return depth;
}

bool validType(const QString& type)
{
    if (type.isEmpty())
        return false;
    for (const QChar c : type)
        if (!isIdentifierPart(c) && c != QLatin1Char('.') && c != QLatin1Char('[') && c != QLatin1Char(']') &&
            c != QLatin1Char(':') && c != QLatin1Char('<') && c != QLatin1Char('>') && c != QLatin1Char(',') &&
            c != QLatin1Char('?') && c != QLatin1Char(' ') && c != QLatin1Char('&'))
            return false;
    return true;
}

bool validName(QStringView name)
{
    if (name == QLatin1String("<init>"))
        return true;
    if (name.isEmpty())
        return false;
    for (const QChar c : name)
        if (!isIdentifierPart(c))
            return false;
    return true;
}

}  // namespace

QString simpleNameOf(const QString& name)
{
    qsizetype cut = -1;
    for (qsizetype i = name.size() - 1; i >= 0; --i) {
        if (name.at(i) == QLatin1Char('.') || name.at(i) == QLatin1Char('$')) {
            cut = i;
            break;
        }
    }
    return name.mid(cut + 1);
}

std::optional<MemberAnchor> parseMemberAnchor(QStringView rawId)
{
    QString id = rawId.toString();
    if (id.contains(QLatin1Char('&')) || id.contains(QLatin1Char('%'))) {
        id.replace(QLatin1String("&lt;"), QLatin1String("<"));
        id.replace(QLatin1String("&gt;"), QLatin1String(">"));
        id.replace(QLatin1String("%3C"), QLatin1String("<"));
        id.replace(QLatin1String("%3E"), QLatin1String(">"));
    }
    MemberAnchor anchor;
    const qsizetype open = id.indexOf(QLatin1Char('('));
    if (open >= 0) {
        if (!id.endsWith(QLatin1Char(')')) || id.indexOf(QLatin1Char('('), open + 1) >= 0 ||
            id.indexOf(QLatin1Char(')')) != id.size() - 1)
            return std::nullopt;
        anchor.name = id.left(open);
        const QString inside = id.mid(open + 1, id.size() - open - 2);
        if (!platform::javaTrim(inside).isEmpty()) {
            // Generic arguments hold commas of their own ("java.util.Map<K,V>").
            QString part;
            int depth = 0;
            for (qsizetype i = 0; i <= inside.size(); ++i) {
                const QChar c = i < inside.size() ? inside.at(i) : QLatin1Char(',');
                if (c == QLatin1Char('<'))
                    ++depth;
                else if (c == QLatin1Char('>'))
                    --depth;
                if (c == QLatin1Char(',') && depth <= 0) {
                    if (anchor.types.size() >= kMaxParameters || !validType(platform::javaTrim(part)))
                        return std::nullopt;
                    anchor.types << platform::javaTrim(part);
                    part.clear();
                    depth = 0;
                } else {
                    part += c;
                }
            }
        }
    } else {
        // "name-type-type-": a Java name holds no "-", so a member anchor has one
        // after the name and ends in one ("size--" for no parameters).
        if (!id.endsWith(QLatin1Char('-')))
            return std::nullopt;
        const QStringList parts = id.split(QLatin1Char('-'));
        if (parts.size() < 3 || parts.size() - 2 > kMaxParameters)
            return std::nullopt;
        anchor.name = parts.first();
        anchor.types = parts.mid(1, parts.size() - 2);
        if (anchor.types == QStringList {QString()})
            anchor.types.clear();
        for (const QString& t : anchor.types)
            if (!validType(t))
                return std::nullopt;
    }
    if (!validName(anchor.name))
        return std::nullopt;
    return anchor;
}

std::optional<int> typeFit(const QStringList& pageTypes, const QStringList& leafTypes)
{
    if (pageTypes.size() != leafTypes.size())
        return std::nullopt;
    int fit = 0;
    for (qsizetype i = 0; i < pageTypes.size(); ++i) {
        QString page = normalise(pageTypes[i]);
        QString leaf = normalise(leafTypes[i]);
        if (page == leaf || page.endsWith(QLatin1Char('.') + leaf))
            continue;
        const int pageDepth = arrayDepth(page);
        const int leafDepth = arrayDepth(leaf);
        if (pageDepth != leafDepth || isPrimitive(page) || isPrimitive(leaf))
            return std::nullopt;
        // The page's qualified names are classes; an unqualified name that is
        // no primitive is a type variable ("E", "T"), which erases to Object
        // or to its bound, whatever the bound's name.
        if (!page.contains(QLatin1Char('.')))
            fit = std::max(fit, leaf == QLatin1String("Object") ? 1 : 2);
        else if (leaf == QLatin1String("Object"))
            fit = std::max(fit, 3);  // a bridge method stands for the page's member
        else
            return std::nullopt;
    }
    return fit;
}

int commaCountOf(qsizetype parameterCount)
{
    return parameterCount == 0 ? -1 : int(std::min<qsizetype>(parameterCount - 1, 6));
}

bool namesMember(const QString& anchorName, const QString& memberName, const QString& simpleClassName)
{
    const QString member = simpleNameOf(memberName);
    if (anchorName == memberName || anchorName == member)
        return true;
    return anchorName == QLatin1String("<init>") && member == simpleNameOf(simpleClassName);
}

}  // namespace javadoc
