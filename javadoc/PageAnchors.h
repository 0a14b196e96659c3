#pragma once
// The member anchors of a class page: "<a name=...>", "<A NAME=...>" and
// "<a id=...>", found on one line. Shared by the page-kind look and the reader
// of anchored pages.

#include <QList>
#include <QString>
#include <QStringView>

namespace javadoc {

inline bool containsCi(QStringView line, QLatin1String what)
{
    return line.contains(what, Qt::CaseInsensitive);
}

struct Anchor {
    qsizetype at = 0;   // where the tag starts
    qsizetype end = 0;  // one past its ">" (or the line's end)
    QString id;         // the name or id value
};

// Anchors with a name or id on the line, in the order they stand.
QList<Anchor> anchorsIn(QStringView line);

}  // namespace javadoc
