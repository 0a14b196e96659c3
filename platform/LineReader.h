#pragma once
// A file read line by line, as a buffered reader over the platform's default
// character set (UTF-8, malformed bytes replaced) reads it: a line ends at
// "\n", "\r" or "\r\n", and the terminator is not part of the line.
// Only one line is held at a time.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>

namespace platform {

class LineReader {
public:
    explicit LineReader(const QString& path);

    // False when the file could not be opened: missing, a folder, unreadable.
    bool isOpen() const { return open_; }

    // The next line, or nothing at the end of the file or after a read failure.
    std::optional<QString> readLine();

    // True once a read has failed (as opposed to reaching the end).
    bool failed() const { return failed_; }

private:
    bool fill();

    QFile file_;
    QByteArray buf_;
    qsizetype pos_ = 0;
    bool open_ = false;
    bool eof_ = false;
    bool failed_ = false;
    bool skipLf_ = false;  // the last line ended at "\r": a following "\n" belongs to it
};

// Whether a file (or folder) exists at the path, as File.exists() answers.
bool fileExists(const QString& path);

}  // namespace platform
