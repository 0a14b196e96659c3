#pragma once
// A file read line by line, as a buffered reader over the platform's default
// character set (UTF-8, malformed bytes replaced) reads it: a line ends at
// "\n", "\r" or "\r\n", and the terminator is not part of the line.
// Only one line is held at a time.

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>

namespace platform {

class LineReader {
public:
    // A line longer than this many bytes is not read: the longest line of a
    // real javadoc page or element-list is about a kilobyte, the longest
    // configuration line a path, so a line a thousand times that is damage,
    // or a file that never ends. Holding it would cost memory without bound;
    // reading stops there as after a read failure (failed(), tooLong()).
    static constexpr qsizetype kMaxLineBytes = 1024 * 1024;

    // Only a regular file is opened (see RegularFile.h): a FIFO or a device
    // is refused without blocking.
    explicit LineReader(const QString& path, qsizetype maxLineBytes = kMaxLineBytes);
    // The lines of bytes already in memory (a page read from an archive): the
    // same line rules and cap as a file's.
    explicit LineReader(QByteArray bytes, qsizetype maxLineBytes = kMaxLineBytes);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // False when the file could not be opened: missing, a folder, a FIFO or
    // device, unreadable.
    bool isOpen() const { return fd_ >= 0 || inMemory_; }
    // Why it could not be opened, one line; "" when it is open.
    const std::string& openError() const { return openError_; }

    // The next line, or nothing at the end of the file or after a failure.
    std::optional<QString> readLine();
    // The same line as its undecoded bytes.
    std::optional<QByteArray> readLineBytes();

    // True once a read has failed (as opposed to reaching the end): an I/O
    // error, a line over the cap, or memory that could not be had.
    bool failed() const { return failed_; }
    bool tooLong() const { return tooLong_; }

private:
    bool fill();
    std::optional<QByteArray> next();

    int fd_ = -1;
    std::string openError_;
    qsizetype maxLine_;
    QByteArray buf_;
    qsizetype pos_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    bool tooLong_ = false;
    bool inMemory_ = false;  // buf_ holds the whole input; there is no file
    bool skipLf_ = false;    // the last line ended at "\r": a following "\n" belongs to it
};

// Whether a file (or folder) exists at the path, as File.exists() answers.
bool fileExists(const QString& path);

}  // namespace platform
