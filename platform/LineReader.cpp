#include "platform/LineReader.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <new>
#include <unistd.h>

#include "platform/RegularFile.h"

namespace platform {

namespace {
constexpr qint64 kChunk = 64 * 1024;

// The first "\n" or "\r" in [p, end), or null. memchr is vectorised where a
// byte loop is not; the window keeps a file whose lines end in "\r" alone
// from scanning the whole buffer for a "\n" on every line.
const char* findLineEnd(const char* p, const char* end)
{
    constexpr qsizetype kWindow = 1024;
    while (p < end) {
        const char* windowEnd = end - p > kWindow ? p + kWindow : end;
        const auto* lf = static_cast<const char*>(std::memchr(p, '\n', windowEnd - p));
        const char* stop = lf ? lf : windowEnd;
        if (const auto* cr = static_cast<const char*>(std::memchr(p, '\r', stop - p)))
            return cr;
        if (lf)
            return lf;
        p = windowEnd;
    }
    return nullptr;
}
}  // namespace

LineReader::LineReader(const QString& path, qsizetype maxLineBytes) : maxLine_(maxLineBytes)
{
    fd_ = openRegularFile(path, openError_);
}

LineReader::LineReader(QByteArray bytes, qsizetype maxLineBytes)
    : maxLine_(maxLineBytes), buf_(std::move(bytes)), eof_(true), inMemory_(true)
{ }

LineReader::~LineReader()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool LineReader::fill()
{
    if (eof_ || failed_)
        return false;
    if (pos_ > 0) {
        buf_.remove(0, pos_);
        pos_ = 0;
    }
    const qsizetype old = buf_.size();
    buf_.resize(old + kChunk);
    ssize_t got;
    do got = ::read(fd_, buf_.data() + old, size_t(kChunk));
    while (got < 0 && errno == EINTR);
    if (got < 0) {
        buf_.resize(old);
        failed_ = true;
        return false;
    }
    buf_.resize(old + got);
    if (got == 0) {
        eof_ = true;
        return false;
    }
    return true;
}

std::optional<QByteArray> LineReader::next()
{
    qsizetype scanFrom = pos_;
    for (;;) {
        if (skipLf_) {
            if (pos_ >= buf_.size() && !fill()) {
                skipLf_ = false;
                return std::nullopt;
            }
            if (buf_.at(pos_) == '\n')
                ++pos_;
            skipLf_ = false;
            scanFrom = pos_;
        }
        const char* data = buf_.constData();
        if (const char* end = findLineEnd(data + scanFrom, data + buf_.size())) {
            const qsizetype i = end - data;
            if (i - pos_ > maxLine_)
                break;
            QByteArray line(data + pos_, i - pos_);
            pos_ = i + 1;
            skipLf_ = (*end == '\r');
            return line;
        }
        // No terminator yet: keep what we have and read on, up to the cap.
        const qsizetype scanned = buf_.size() - pos_;
        if (scanned > maxLine_)
            break;
        if (!fill()) {
            if (failed_ || pos_ >= buf_.size())
                return std::nullopt;
            QByteArray line(buf_.constData() + pos_, buf_.size() - pos_);
            pos_ = buf_.size();
            return line;
        }
        scanFrom = pos_ + scanned;  // fill() moved the pending bytes to the front
    }
    tooLong_ = true;
    failed_ = true;
    buf_ = QByteArray();
    pos_ = 0;
    return std::nullopt;
}

std::optional<QByteArray> LineReader::readLineBytes()
{
    if (!isOpen() || failed_)
        return std::nullopt;
    // Memory is bounded by the line cap; should even that not be had, the
    // read fails like any other rather than ending the process.
    try {
        return next();
    } catch (const std::bad_alloc&) {
        failed_ = true;
        buf_ = QByteArray();
        pos_ = 0;
        return std::nullopt;
    }
}

std::optional<QString> LineReader::readLine()
{
    std::optional<QByteArray> bytes = readLineBytes();
    if (!bytes)
        return std::nullopt;
    try {
        return QString::fromUtf8(*bytes);
    } catch (const std::bad_alloc&) {
        failed_ = true;
        return std::nullopt;
    }
}

bool fileExists(const QString& path)
{
    return QFileInfo::exists(path);
}

}  // namespace platform
