#pragma once
// What the SEARCH command does to the class field before the lookup: complete a
// short name through the catalogue and move a Swing name to the class library's
// old "com.sun.java" naming.

#include <QString>

class PathsData;

namespace app {

// On a catalogue hit for fieldText: startAt gets the dotted name, name2 and
// fieldText get the (renamed) qualified name, and true is returned. On a miss
// nothing changes and false is returned.
bool completeSearchName(const PathsData& pathsData, QString& fieldText, QString& startAt, QString& name2);

// "javax.swing.JTree" -> "com.sun.java.swing.JTree": a name containing "javax"
// anywhere loses its first five characters to "com.sun.java".
QString toClassLibraryNaming(const QString& documentationName);

}  // namespace app
