#pragma once
// Where a javadoc page's href points, as a link target (see DocLink.h): the
// relative file path resolved against the page's place in its root, the
// file name turned into a binary class name, the anchor into a member.

#include <QString>
#include <QStringList>
#include <optional>

namespace javadoc {

// A class page's place under its documentation root.
struct PagePlace {
    QStringList package;  // {"java", "util"}; empty for the era's dotted file names
    QString baseName;     // the file name without ".html": "Vector", "Map.Entry"
};

// The page's place from its path and its root: the folders between them, a
// module folder ("java.base") left out. Nothing when the page is not under the root.
std::optional<PagePlace> pagePlace(const QString& fsRoot, const QString& fsPath);

// The target an href names: "java.util.Collection#add(E)", "java.util.Map$Entry",
// "java.util.Vector#<init>(int)", "java.lang.Integer#MAX_VALUE". Nothing for
// what is not a class page: a package summary, an index, another site.
std::optional<QString> hrefTarget(const PagePlace& page, QStringView href);

// A type as a target's parameter list spells it: generic arguments and the
// package dropped, varargs as an array ("java.util.List<E>..." is "List[]").
QString leafTypeName(QString type);

// The target of a member of a class by its binary name and the types its
// declaration spells: "java.util.List#add(int,E)".
QString memberTarget(const QString& binaryClassName, const QString& name, const QStringList& types);

}  // namespace javadoc
