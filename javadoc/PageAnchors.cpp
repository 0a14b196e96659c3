#include "javadoc/PageAnchors.h"

namespace javadoc {

namespace {

// The value of name="..." or id="..." inside one tag.
QString attributeValue(QStringView tag)
{
    for (qsizetype eq = tag.indexOf(QLatin1Char('=')); eq >= 0; eq = tag.indexOf(QLatin1Char('='), eq + 1)) {
        if (eq + 1 >= tag.size() || tag[eq + 1] != QLatin1Char('"'))
            continue;
        // " name=" and " id=", not "classname=": the attribute starts after a blank.
        const QStringView before = tag.left(eq);
        const bool isName = before.endsWith(QLatin1String(" name"), Qt::CaseInsensitive);
        const bool isId = before.endsWith(QLatin1String(" id"), Qt::CaseInsensitive);
        if (!isName && !isId)
            continue;
        const qsizetype close = tag.indexOf(QLatin1Char('"'), eq + 2);
        return close < 0 ? QString() : tag.mid(eq + 2, close - eq - 2).toString();
    }
    return QString();
}

}  // namespace

// Anchors with a name or id on the line: "<a name=...>", "<A NAME=...>", "<a id=...>".
// Every line of the page comes through here, so the loop looks at each
// character once rather than searching for each "<" in turn.
QList<Anchor> anchorsIn(QStringView line)
{
    QList<Anchor> anchors;
    const QChar* data = line.data();
    const qsizetype n = line.size();
    for (qsizetype at = 0; at + 2 < n; ++at) {
        if (data[at] != QLatin1Char('<') || (data[at + 1] != QLatin1Char('a') && data[at + 1] != QLatin1Char('A')) ||
            data[at + 2] != QLatin1Char(' '))
            continue;
        const qsizetype close = line.indexOf(QLatin1Char('>'), at);
        const qsizetype end = close < 0 ? n : close + 1;
        const QString id = attributeValue(line.mid(at, end - at));
        if (!id.isEmpty())
            anchors.append({at, end, id});
        at = end - 1;
    }
    return anchors;
}

}  // namespace javadoc
