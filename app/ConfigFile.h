#pragma once
// "JavaOrvel.cfg": the two documentation roots, one a line, kept between runs.

#include <QString>

namespace app {

inline constexpr char kConfigFileName[] = "JavaOrvel.cfg";
inline constexpr char kConfigReadError[] = "Unable to read config file\n\n";

// Reads the first two lines into docpath and docpath2. A missing file is no
// failure and changes nothing. Returns false when the file exists but could not
// be read as two lines; what was read before the failure is kept.
bool loadConfig(const QString& path, QString& docpath, QString& docpath2);

// Writes docpath "\n" docpath2 "\n". The text goes to a temporary file beside the
// target that is then renamed over it, so a failed save leaves the old file whole.
// Returns false on failure (callers stay silent about it).
bool saveConfig(const QString& path, const QString& docpath, const QString& docpath2);

}  // namespace app
