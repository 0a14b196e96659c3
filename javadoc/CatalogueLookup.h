#pragma once
// Short class name ("Vector") to the dotted qualified name of its page ("java.util.Vector").

#include <QString>

class PathsData;

namespace javadoc {

// The first catalogue page whose path contains "/" + text + "." wins; the text is
// used as typed (untrimmed, case-sensitive). On a hit startAt receives the dotted
// name and true is returned; on a miss startAt is left alone.
bool loadTxt(const PathsData& pathsData, const QString& text, QString& startAt);

}  // namespace javadoc
