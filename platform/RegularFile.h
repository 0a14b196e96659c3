#pragma once
// Opening a file for reading only when it is a regular file. A FIFO would
// block the open (and every read) until some writer came, and a device such as
// /dev/zero never ends, so both are refused before a byte is read.

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>

namespace platform {

// A read-only, close-on-exec descriptor of the regular file at `path`
// (symbolic links followed; reads block as on any regular file), and its
// size in `size` when asked; -1 otherwise, with `reason` set to one line ("No
// such file or directory", "not a regular file") and errno to the cause
// (EINVAL for a file that is not regular).
int openRegularFile(const std::string& path, std::string& reason, qint64* size = nullptr);
int openRegularFile(const QString& path, std::string& reason, qint64* size = nullptr);

// A whole regular file, or nothing (missing, not regular, larger than maxBytes).
std::optional<QByteArray> readRegularFile(const std::string& path, qsizetype maxBytes);

}  // namespace platform
