#pragma once
// The old Swing naming, in one place. The classes of javax.swing and
// javax.accessibility once lived under com.sun.java ("com.sun.java.swing.JTree"),
// and the class field, the printed signatures and the documentation roots
// still speak that naming. The rule is one swap, "javax" <-> "com.sun.java",
// at the start of a name; the functions differ only in which names take it.

#include <QChar>
#include <QString>
#include <string>
#include <string_view>

namespace platform {

inline constexpr std::string_view kModernSwingRoot = "javax";
inline constexpr std::string_view kOldSwingRoot = "com.sun.java";

// "javax.swing.JTree" -> "com.sun.java.swing.JTree": the first five characters
// (the "javax") give way to "com.sun.java", whatever they are; the caller
// decides which names take the old naming.
QString toOldSwingRoot(const QString& modernName);

// The old naming back: a name starting "com.sun.java." gets "javax." there
// instead ("com.sun.java.swing.JTree" -> "javax.swing.JTree"); any other name
// is returned as it is.
QString toModernSwingRoot(const QString& name);
bool hasOldSwingRoot(const QString& name);

// A documentation path or name in either naming: the first "com<separator>sun"
// and the eleven characters after its "c" ("com.sun.java" with '.', "com\sun\java"
// with '\') become "javax"; a text without "com<separator>sun" is returned as it is.
QString withModernSwingRoot(const QString& text, QChar separator);

// Whether a documentation name belongs to the Swing root: it mentions "javax",
// "com.sun" or "com\sun" anywhere.
bool mentionsSwingRoot(const QString& name);

// Printing an internal name in the old naming: for "javax/..." appends
// "com.sun.java." to `out` and returns how many characters of the internal
// name that stands for (6); for any other name appends nothing and returns 0.
size_t appendOldSwingRoot(std::string& out, std::string_view internalName);

}  // namespace platform
