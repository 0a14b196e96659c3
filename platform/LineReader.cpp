#include "platform/LineReader.h"

#include <QFileInfo>
#include <cstring>

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

LineReader::LineReader(const QString& path) : file_(path)
{
    if (QFileInfo(path).isDir())
        return;
    open_ = file_.open(QIODevice::ReadOnly);
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
    const qint64 got = file_.read(buf_.data() + old, kChunk);
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

std::optional<QString> LineReader::readLine()
{
    if (!open_)
        return std::nullopt;
    qsizetype scanFrom = pos_;
    for (;;) {
        if (skipLf_) {
            if (pos_ >= buf_.size() && !fill()) {
                if (failed_)
                    return std::nullopt;
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
            QString line = QString::fromUtf8(data + pos_, i - pos_);
            pos_ = i + 1;
            skipLf_ = (*end == '\r');
            return line;
        }
        // No terminator yet: keep what we have and read on.
        const qsizetype scanned = buf_.size() - pos_;
        if (!fill()) {
            if (failed_)
                return std::nullopt;
            if (pos_ >= buf_.size())
                return std::nullopt;
            QString line = QString::fromUtf8(buf_.constData() + pos_, buf_.size() - pos_);
            pos_ = buf_.size();
            return line;
        }
        scanFrom = pos_ + scanned;  // fill() moved the pending bytes to the front
    }
}

bool fileExists(const QString& path)
{
    return QFileInfo::exists(path);
}

}  // namespace platform
