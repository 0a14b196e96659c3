#pragma once
// Java's string semantics where they differ from Qt's.

#include <QString>

namespace platform {

// String.trim(): removes every character up to U+0020 at both ends.
// QString::trimmed() removes Unicode white space instead, which is not the same set.
QString javaTrim(const QString& s);

// String.startsWith / indexOf etc. are QString's own; only trim differs.

}  // namespace platform
