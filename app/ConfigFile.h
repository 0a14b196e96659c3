#pragma once
// "JavaOrvel.cfg": the two documentation roots, one a line, kept between runs.

#include <QByteArray>
#include <QString>

namespace app {

inline constexpr char kConfigFileName[] = "JavaOrvel.cfg";
inline constexpr char kConfigReadError[] = "Unable to read config file\n\n";

// What loading saw, kept until the save so that closing loses nothing: a file
// that exists but could not be read is left as it is, and a root the user did
// not change goes back with the very bytes it was read from (they need not be
// UTF-8).
struct ConfigOrigin {
    // Unreadable: the file exists but could not be opened or read (no
    // permission, not a regular file, an I/O error, a line over the cap).
    // Short: it was read but ended inside or right after its first line.
    enum class State { Missing, Read, Short, Unreadable };
    State state = State::Missing;
    QString docpath, docpath2;  // the roots as loaded
    QByteArray bytes, bytes2;   // their bytes in the file
    bool hasBytes = false, hasBytes2 = false;
};

// Reads the first two lines into docpath and docpath2. A missing file is no
// failure and changes nothing. Returns false when the file exists but could not
// be read as two lines; what was read before the failure is kept. Only a
// regular file is read; a line over 1 MiB is a read failure.
bool loadConfig(const QString& path, QString& docpath, QString& docpath2, ConfigOrigin* origin = nullptr);

// Writes docpath "\n" docpath2 "\n". The text goes to a temporary file beside the
// target that is then renamed over it, so a failed save leaves the old file whole.
// Given what loading saw, a file that could not be read is left untouched while
// both roots are as loaded, and an unchanged root is written as its original
// bytes. Returns false on failure (callers stay silent about it); true also
// when the file was rightly left alone.
bool saveConfig(
    const QString& path, const QString& docpath, const QString& docpath2, const ConfigOrigin* origin = nullptr);

}  // namespace app
