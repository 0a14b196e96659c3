// CtSymZip over the zip's own central directory, read once at open from a
// read-only mapping of the file, so that neither the directory nor a stub is
// copied before use. (libzip converts every entry's DOS time through the time zone as it
// opens an archive, which costs a file-system call per entry: tens of
// milliseconds for ct.sym's sixteen thousand.) Stored and deflated entries;
// no ZIP64, which ct.sym never needs.

#include "platform/classlib/CtSymZip.h"

#include <sys/mman.h>
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

struct Entry {
    uint32_t nameOffset;  // into the mapping
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
    CentralDirectoryZip(const uint8_t* data, uint64_t fileSize) : data_(data), fileSize_(fileSize) { }
    ~CentralDirectoryZip() override { ::munmap(const_cast<uint8_t*>(data_), fileSize_); }

    // "" when the central directory was read, else the reason.
    std::string load()
    {
        const size_t tail = size_t(std::min<uint64_t>(fileSize_, kEndSize + kMaxComment));
        if (tail < kEndSize)
            return "not a zip file";
        const uint8_t* end = data_ + (fileSize_ - tail);
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
        entries_.reserve(count);
        size_t p = directoryOffset;
        const size_t directoryEnd = size_t(directoryOffset) + directorySize;
        for (uint16_t i = 0; i < count; ++i) {
            if (p + kCentralSize > directoryEnd || le32(data_ + p) != kCentralSignature)
                return "damaged central directory";
            const uint8_t* h = data_ + p;
            const size_t variable = size_t(le16(h + 28)) + le16(h + 30) + le16(h + 32);
            if (p + kCentralSize + variable > directoryEnd)
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
        return {reinterpret_cast<const char*>(data_) + e.nameOffset, e.nameLength};
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
        if (uint64_t(e.localOffset) + kLocalSize > fileSize_ || le32(data_ + e.localOffset) != kLocalSignature) {
            error = "damaged local header";
            return false;
        }
        const uint8_t* local = data_ + e.localOffset;
        const uint64_t data = uint64_t(e.localOffset) + kLocalSize + le16(local + 26) + le16(local + 28);
        if (data + e.compressedSize > fileSize_) {
            error = "entry past the end of the file";
            return false;
        }
        const uint8_t* packed = data_ + data;
        if (e.method == kStored) {
            if (e.compressedSize != e.size) {
                error = "stored entry of two sizes";
                return false;
            }
            out.owned.assign(packed, packed + e.size);
        } else if (!inflateAll(packed, e.compressedSize, e.size, out.owned)) {
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
    static bool inflateAll(const uint8_t* packed, uint32_t packedSize, uint32_t size, std::vector<uint8_t>& out)
    {
        out.resize(size);
        z_stream z {};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
            return false;
        z.next_in = const_cast<uint8_t*>(packed);  // zlib's API; it never writes there
        z.avail_in = uInt(packedSize);
        z.next_out = out.data();
        z.avail_out = uInt(out.size());
        int rc = inflate(&z, Z_FINISH);
        const bool ok = rc == Z_STREAM_END && z.total_out == size;
        inflateEnd(&z);
        return ok;
    }

    const uint8_t* data_;
    uint64_t fileSize_;
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
    if (st.st_size < off_t(kEndSize)) {
        error = path + ": not a zip file";
        ::close(fd);
        return nullptr;
    }
    void* map = ::mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED) {
        error = path + ": " + std::strerror(errno);
        return nullptr;
    }
    auto zip = std::make_unique<CentralDirectoryZip>(static_cast<const uint8_t*>(map), uint64_t(st.st_size));
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
