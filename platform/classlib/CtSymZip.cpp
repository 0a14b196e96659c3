// CtSymZip over the zip's own central directory, read once at open with
// pread. (libzip converts every entry's DOS time through the time zone as it
// opens an archive, which costs a file-system call per entry: tens of
// milliseconds for ct.sym's sixteen thousand.) Stored and deflated entries;
// no ZIP64, which ct.sym never needs.

#include "platform/classlib/CtSymZip.h"

#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/RegularFile.h"

namespace platform::classlib {

namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr size_t kEndSize = 22;
constexpr size_t kCentralSize = 46;
constexpr size_t kLocalSize = 30;
constexpr size_t kMaxComment = 0xFFFF;
constexpr uint16_t kStored = 0;
constexpr uint16_t kDeflated = 8;
constexpr uint16_t kEncrypted = 1;

uint16_t le16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

uint32_t le32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool readAt(int fd, uint64_t offset, uint8_t* out, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::pread(fd, out, size, off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        out += n;
        size -= size_t(n);
        offset += uint64_t(n);
    }
    return true;
}

struct Entry {
    uint32_t nameOffset;  // into the names buffer
    uint16_t nameLength;
    uint16_t method;
    uint16_t flags;
    uint32_t crc;
    uint32_t compressedSize;
    uint32_t size;
    uint32_t localOffset;
};

class CentralDirectoryZip final : public CtSymZip {
public:
    CentralDirectoryZip(int fd, uint64_t fileSize) : fd_(fd), fileSize_(fileSize) { }
    ~CentralDirectoryZip() override { ::close(fd_); }

    // "" when the central directory was read, else the reason.
    std::string load()
    {
        const size_t tail = size_t(std::min<uint64_t>(fileSize_, kEndSize + kMaxComment));
        if (tail < kEndSize)
            return "not a zip file";
        std::vector<uint8_t> end(tail);
        if (!readAt(fd_, fileSize_ - tail, end.data(), tail))
            return "read error";
        size_t at = tail - kEndSize + 1;
        do {
            --at;
        } while (at > 0 && !(le32(&end[at]) == kEndSignature && at + kEndSize + le16(&end[at + 20]) == tail));
        if (le32(&end[at]) != kEndSignature)
            return "not a zip file";
        const uint16_t count = le16(&end[at + 10]);
        const uint32_t directorySize = le32(&end[at + 12]);
        const uint32_t directoryOffset = le32(&end[at + 16]);
        if (count == 0xFFFF || directoryOffset == 0xFFFFFFFF)
            return "ZIP64 archives are not read";
        if (uint64_t(directoryOffset) + directorySize > fileSize_)
            return "central directory past the end of the file";
        directory_.resize(directorySize);
        if (!readAt(fd_, directoryOffset, directory_.data(), directorySize))
            return "read error";
        entries_.reserve(count);
        size_t p = 0;
        for (uint16_t i = 0; i < count; ++i) {
            if (p + kCentralSize > directory_.size() || le32(&directory_[p]) != kCentralSignature)
                return "damaged central directory";
            const uint8_t* h = &directory_[p];
            const size_t variable = size_t(le16(h + 28)) + le16(h + 30) + le16(h + 32);
            if (p + kCentralSize + variable > directory_.size())
                return "damaged central directory";
            entries_.push_back(Entry {uint32_t(p + kCentralSize), le16(h + 28), le16(h + 10), le16(h + 8), le32(h + 16),
                le32(h + 20), le32(h + 24), le32(h + 42)});
            p += kCentralSize + variable;
        }
        return {};
    }

    size_t entryCount() const override { return entries_.size(); }
    std::string_view name(size_t i) const override
    {
        const Entry& e = entries_[i];
        return {reinterpret_cast<const char*>(directory_.data()) + e.nameOffset, e.nameLength};
    }

    bool read(size_t i, ResourceBytes& out, std::string& error) override
    {
        const Entry& e = entries_[i];
        if (e.flags & kEncrypted) {
            error = "encrypted entry";
            return false;
        }
        if (e.method != kStored && e.method != kDeflated) {
            error = "unsupported compression method";
            return false;
        }
        if (e.size > JImage::kMaxResourceSize || e.compressedSize > JImage::kMaxResourceSize) {
            error = "entry too large";
            return false;
        }
        uint8_t local[kLocalSize];
        if (!readAt(fd_, e.localOffset, local, kLocalSize) || le32(local) != kLocalSignature) {
            error = "damaged local header";
            return false;
        }
        const uint64_t data = uint64_t(e.localOffset) + kLocalSize + le16(local + 26) + le16(local + 28);
        if (data + e.compressedSize > fileSize_) {
            error = "entry past the end of the file";
            return false;
        }
        std::vector<uint8_t> packed(e.compressedSize);
        if (!readAt(fd_, data, packed.data(), packed.size())) {
            error = "read error";
            return false;
        }
        if (e.method == kStored) {
            if (e.compressedSize != e.size) {
                error = "stored entry of two sizes";
                return false;
            }
            out.owned = std::move(packed);
        } else if (!inflateAll(packed, e.size, out.owned)) {
            error = "damaged compressed data";
            return false;
        }
        if (crc32(0, out.owned.data(), uInt(out.owned.size())) != e.crc) {
            error = "CRC mismatch";
            return false;
        }
        out.data = out.owned.data();
        out.size = out.owned.size();
        return true;
    }

private:
    // Raw deflate to exactly `size` bytes; false on damage or another length.
    static bool inflateAll(std::vector<uint8_t>& packed, uint32_t size, std::vector<uint8_t>& out)
    {
        out.assign(size, 0);
        z_stream z {};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
            return false;
        z.next_in = packed.data();
        z.avail_in = uInt(packed.size());
        z.next_out = out.data();
        z.avail_out = uInt(out.size());
        int rc = inflate(&z, Z_FINISH);
        const bool ok = rc == Z_STREAM_END && z.total_out == size;
        inflateEnd(&z);
        return ok;
    }

    int fd_;
    uint64_t fileSize_;
    std::vector<uint8_t> directory_;
    std::vector<Entry> entries_;
};

}  // namespace

std::unique_ptr<CtSymZip> CtSymZip::open(const std::string& path, std::string& error)
{
    // A FIFO named ct.sym is refused, not waited on.
    std::string reason;
    const int fd = platform::openRegularFile(path, reason);
    if (fd < 0) {
        error = path + ": " + reason;
        return nullptr;
    }
    struct stat st;
    if (fstat(fd, &st) != 0) {
        error = path + ": " + std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    auto zip = std::make_unique<CentralDirectoryZip>(fd, uint64_t(st.st_size));
    try {
        reason = zip->load();
    } catch (const std::bad_alloc&) {
        reason = "out of memory";
    }
    if (!reason.empty()) {
        error = path + ": " + reason;
        return nullptr;
    }
    return zip;
}

}  // namespace platform::classlib
