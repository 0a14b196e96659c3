#pragma once
// What the SEARCH command does to the class field before the lookup: complete a
// short name through the catalogue and move a Swing name to the class library's
// old "com.sun.java" naming.

#include <QString>

class PathsData;

namespace lookup {
class ClassCompletion;
}

namespace app {

// On a catalogue hit for fieldText: startAt gets the dotted name, name2 and
// fieldText get the (renamed) qualified name, and true is returned. On a miss
// nothing changes and false is returned.
bool completeSearchName(const PathsData& pathsData, QString& fieldText, QString& startAt, QString& name2);

// "javax.swing.JTree" -> "com.sun.java.swing.JTree": a name containing "javax"
// anywhere loses its first five characters to "com.sun.java".
QString toClassLibraryNaming(const QString& documentationName);

// After a catalogue miss: a simple name that the class index knows ("Optional",
// "Map.Entry", "Map$Entry") becomes the binary name of the class the rank picks,
// in the old Swing naming where that naming ever applied. On a hit name2 and
// fieldText get it and true is returned; on a miss nothing changes.
bool completeFromIndex(const lookup::ClassCompletion& completion, QString& fieldText, QString& name2);

// "javax.swing.JTree" -> "com.sun.java.swing.JTree", for the two package trees
// the old naming covered (javax.swing, javax.accessibility); any other name,
// "javax.crypto.Cipher" included, is returned as it is.
QString toOldSwingNaming(const QString& binaryName);

}  // namespace app
