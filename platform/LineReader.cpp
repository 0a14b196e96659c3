#include "platform/LineReader.h"

#include <QFileInfo>
#include <cstring>

namespace platform {

namespace {
constexpr qint64 kChunk = 64 * 1024;
}

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
        for (qsizetype i = scanFrom; i < buf_.size(); ++i) {
            const char c = data[i];
            if (c == '\n' || c == '\r') {
                QString line = QString::fromUtf8(data + pos_, i - pos_);
                pos_ = i + 1;
                skipLf_ = (c == '\r');
                return line;
            }
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
