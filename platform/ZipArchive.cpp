#include "platform/ZipArchive.h"

#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <new>

#include "platform/RegularFile.h"

namespace platform {

namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr uint64_t kEndSize = 22, kCentralSize = 46, kLocalSize = 30, kZip64LocatorSize = 20;
constexpr uint64_t kMaxComment = 0xFFFF;
// Most archives carry no comment: the end record is in the last bytes, found
// without reading the 64 KB a comment may take.
constexpr uint64_t kFirstTail = 1024;
// The directory is read in growing chunks, each checked before the next, so
// a directory that only claims to be large costs what it really holds.
constexpr uint64_t kFirstChunk = 64 << 10;
constexpr size_t kInflateChunk = 64 << 10;

enum class Method : uint16_t { Stored = 0, Deflated = 8 };
constexpr uint16_t kEncryptedFlag = 1;

uint32_t u16At(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8;
}

uint32_t u32At(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

bool readAt(int fd, void* into, size_t size, uint64_t offset)
{
    size_t got = 0;
    while (got < size) {
        const ssize_t n = ::pread(fd, static_cast<char*>(into) + got, size - got, off_t(offset + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        got += size_t(n);
    }
    return true;
}

// Where the end record starts in `tail`, or -1.
int64_t findEndRecord(const std::vector<char>& tail)
{
    for (int64_t i = int64_t(tail.size()) - int64_t(kEndSize); i >= 0; --i) {
        if (u32At(tail.data() + i) == kEndSignature)
            return i;
    }
    return -1;
}

ZipArchive::OpenError::Kind kindOfOpenFailure(int error)
{
    using Kind = ZipArchive::OpenError::Kind;
    if (error == EMFILE)
        return Kind::OutOfDescriptors;
    return error == ENFILE || error == ENOMEM ? Kind::OutOfResources : Kind::Unreadable;
}

uint64_t fnv1a(std::string_view s)
{
    uint64_t h = 0xcbf29ce484222325u;
    for (const char c : s) h = (h ^ uint8_t(c)) * 0x100000001b3u;
    return h;
}

}  // namespace

ZipArchive::~ZipArchive()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::unique_ptr<ZipArchive> ZipArchive::open(const std::string& path, OpenError& error)
{
    using Kind = OpenError::Kind;
    error = OpenError {};
    const auto fail = [&](Kind kind, std::string reason) {
        error = OpenError {kind, std::move(reason)};
        return nullptr;
    };
    try {
        std::unique_ptr<ZipArchive> zip(new ZipArchive);
        std::string reason;
        qint64 end = 0;
        zip->fd_ = openRegularFile(path, reason, &end);
        if (zip->fd_ < 0)
            return fail(kindOfOpenFailure(errno), reason);
        if (end < qint64(kEndSize))
            return fail(Kind::Unreadable, "not a zip archive (too short)");
        zip->fileSize_ = uint64_t(end);

        std::vector<char> tail(size_t(std::min(zip->fileSize_, kFirstTail)));
        int64_t at = -1;
        for (;;) {
            const uint64_t tailAt = zip->fileSize_ - tail.size();
            if (!readAt(zip->fd_, tail.data(), tail.size(), tailAt))
                return fail(Kind::Unreadable, "read error");
            at = findEndRecord(tail);
            const uint64_t widest = std::min(zip->fileSize_, kEndSize + kMaxComment);
            if (at >= 0 || tail.size() == widest)
                break;
            tail.resize(size_t(widest));  // a comment follows the end record
        }
        if (at < 0)
            return fail(Kind::Unreadable, "not a zip archive (no end record)");
        const uint64_t endAt = zip->fileSize_ - tail.size() + uint64_t(at);
        const char* e = tail.data() + at;
        const uint64_t size = u32At(e + 12), offset = u32At(e + 16);
        const bool zip64Locator = endAt >= kZip64LocatorSize && uint64_t(at) >= kZip64LocatorSize &&
            u32At(e - kZip64LocatorSize) == kZip64LocatorSignature;
        if (zip64Locator || size == 0xFFFFFFFF || offset == 0xFFFFFFFF)
            return fail(Kind::Unreadable, "ZIP64 archive (not supported)");
        if (size > kMaxDirectoryBytes)
            return fail(Kind::Unreadable, "central directory too large");
        // The directory ends where the end record starts; data prepended to
        // the archive (a launcher script) shifts every offset by its length.
        if (size > endAt || endAt - size < offset)
            return fail(Kind::Unreadable, "central directory past its end record");
        zip->base_ = endAt - size - offset;
        std::string damage = zip->readDirectory(endAt - size, size, u16At(e + 10));
        if (!damage.empty())
            return fail(Kind::Unreadable, std::move(damage));
        return zip;
    } catch (const std::bad_alloc&) {
        return fail(Kind::OutOfResources, "out of memory");
    }
}

std::string ZipArchive::readDirectory(uint64_t start, uint64_t size, uint64_t claimedCount)
{
    if (size == 0)
        return {};
    if (size < kCentralSize)
        return "central directory cut short";
    // The first chunk shows whether a directory starts there at all before
    // room for the whole claim is taken; that room is then only reserved,
    // and filled chunk by chunk as the entries before prove real.
    uint64_t have = std::min(size, kFirstChunk);
    directory_ = std::make_unique_for_overwrite<char[]>(size_t(have));
    if (!readAt(fd_, directory_.get(), size_t(have), start))
        return "read error";
    if (u32At(directory_.get()) != kCentralSignature)
        return "bad central directory entry";
    if (size > have) {
        auto whole = std::make_unique_for_overwrite<char[]>(size_t(size));
        std::copy_n(directory_.get(), have, whole.get());
        directory_ = std::move(whole);
    }
    directorySize_ = size_t(size);
    headers_.reserve(size_t(std::min(claimedCount, size / kCentralSize)));
    const auto reach = [&](uint64_t need) {
        while (have < need) {
            const uint64_t chunk = std::min(size - have, have);
            if (!readAt(fd_, directory_.get() + have, size_t(chunk), start + have))
                return false;
            have += chunk;
        }
        return true;
    };
    for (uint64_t at = 0; at < size;) {
        if (at + kCentralSize > size)
            return "central directory cut short";
        if (!reach(at + kCentralSize))
            return "read error";
        const char* h = directory_.get() + at;
        if (u32At(h) != kCentralSignature)
            return "bad central directory entry";
        const uint64_t next = at + kCentralSize + u16At(h + 28) + u16At(h + 30) + u16At(h + 32);
        if (next > size)
            return "central directory cut short";
        if (!reach(next))
            return "read error";
        headers_.push_back(uint32_t(at));
        at = next;
    }
    return {};
}

std::string_view ZipArchive::name(size_t index) const
{
    const char* h = directory_.get() + headers_[index];
    return std::string_view(h + kCentralSize, u16At(h + 28));
}

ZipArchive::Entry ZipArchive::entry(size_t index) const
{
    const char* h = directory_.get() + headers_[index];
    return Entry {name(index), u32At(h + 16), u32At(h + 20), u32At(h + 24), u32At(h + 42), uint16_t(u16At(h + 10)),
        uint16_t(u16At(h + 8))};
}

void ZipArchive::buildIndex()
{
    size_t slotCount = 8;
    while (slotCount < 2 * headers_.size()) slotCount *= 2;
    index_.assign(slotCount, 0);
    for (size_t i = 0; i < headers_.size(); ++i) {
        const std::string_view n = name(i);
        for (size_t s = fnv1a(n) & (slotCount - 1);; s = (s + 1) & (slotCount - 1)) {
            if (index_[s] == 0) {
                index_[s] = uint32_t(i + 1);
                break;
            }
            if (name(index_[s] - 1) == n)
                break;  // the first of a name wins
        }
    }
}

std::optional<ZipArchive::Entry> ZipArchive::find(std::string_view wanted)
{
    // One lookup (a listing, a single class) is cheaper as a walk; an archive
    // kept open for more gets the index.
    if (lookups_++ == 0) {
        for (size_t i = 0; i < headers_.size(); ++i) {
            if (name(i) == wanted)
                return entry(i);
        }
        return std::nullopt;
    }
    if (index_.empty())
        buildIndex();
    const size_t mask = index_.size() - 1;
    for (size_t s = fnv1a(wanted) & mask; index_[s] != 0; s = (s + 1) & mask) {
        if (name(index_[s] - 1) == wanted)
            return entry(index_[s] - 1);
    }
    return std::nullopt;
}

bool ZipArchive::read(const Entry& entry, uint64_t maxBytes, std::vector<uint8_t>& out, std::string& error) const
{
    if (entry.size > maxBytes) {
        error = "entry too large";
        return false;
    }
    try {
        out.assign(entry.size, 0);
    } catch (const std::bad_alloc&) {
        error = "out of memory";
        return false;
    }
    return readInto(entry, out.data(), error);
}

bool ZipArchive::read(const Entry& entry, uint64_t maxBytes, QByteArray& out, std::string& error) const
{
    if (entry.size > maxBytes) {
        error = "entry too large";
        return false;
    }
    try {
        out = QByteArray(qsizetype(entry.size), Qt::Uninitialized);
    } catch (const std::bad_alloc&) {
        error = "out of memory";
        return false;
    }
    return readInto(entry, reinterpret_cast<uint8_t*>(out.data()), error);
}

bool ZipArchive::readInto(const Entry& entry, uint8_t* into, std::string& error) const
{
    const auto fail = [&](std::string reason) {
        error = std::move(reason);
        return false;
    };
    if (entry.flags & kEncryptedFlag)
        return fail("entry is encrypted");
    if (entry.method != uint16_t(Method::Stored) && entry.method != uint16_t(Method::Deflated))
        return fail("unsupported compression method " + std::to_string(entry.method));
    if (entry.size == 0xFFFFFFFF || entry.compressedSize == 0xFFFFFFFF || entry.localHeader == 0xFFFFFFFF)
        return fail("ZIP64 entry (not supported)");
    const uint64_t localAt = base_ + entry.localHeader;
    char local[kLocalSize];
    if (localAt + kLocalSize > fileSize_)
        return fail("local header past the end of the file");
    if (!readAt(fd_, local, sizeof local, localAt))
        return fail("read error");
    if (u32At(local) != kLocalSignature)
        return fail("bad local header");
    const uint64_t dataAt = localAt + kLocalSize + u16At(local + 26) + u16At(local + 28);
    if (dataAt + entry.compressedSize > fileSize_)
        return fail("entry data past the end of the file");
    if (entry.method == uint16_t(Method::Stored)) {
        if (entry.compressedSize != entry.size)
            return fail(entry.compressedSize < entry.size ? "entry shorter than its recorded size"
                                                          : "entry longer than its recorded size");
        if (!readAt(fd_, into, entry.size, dataAt))
            return fail("read error");
    } else if (!inflateInto(entry, dataAt, into, error)) {
        return false;
    }
    // A corrupt entry is refused whole: no part of it is trusted.
    if (crc32_z(0, into, entry.size) != entry.crc)
        return fail("CRC error");
    return true;
}

bool ZipArchive::inflateInto(const Entry& entry, uint64_t dataAt, uint8_t* into, std::string& error) const
{
    z_stream z {};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) {
        error = "out of memory";
        return false;
    }
    std::vector<uint8_t> chunk(std::min<size_t>(kInflateChunk, std::max<size_t>(entry.compressedSize, 1)));
    uint64_t unread = entry.compressedSize;
    uint8_t spare = 0;
    bool overflow = false;  // the output is full: one byte more proves the entry longer than recorded
    z.next_out = into;
    z.avail_out = entry.size;
    const char* reason = nullptr;
    for (;;) {
        if (z.avail_in == 0 && unread > 0) {
            const size_t n = size_t(std::min<uint64_t>(unread, chunk.size()));
            if (!readAt(fd_, chunk.data(), n, dataAt + entry.compressedSize - unread)) {
                reason = "read error";
                break;
            }
            unread -= n;
            z.next_in = chunk.data();
            z.avail_in = uInt(n);
        }
        if (z.avail_out == 0) {
            if (overflow) {
                reason = "entry longer than its recorded size";
                break;
            }
            overflow = true;
            z.next_out = &spare;
            z.avail_out = 1;
        }
        const int status = inflate(&z, Z_NO_FLUSH);
        if (status == Z_STREAM_END) {
            if (overflow && z.avail_out == 0)
                reason = "entry longer than its recorded size";
            else if (z.total_out != entry.size)
                reason = "entry shorter than its recorded size";
            break;
        }
        if (status == Z_OK || (status == Z_BUF_ERROR && z.avail_out == 0))
            continue;
        if (status == Z_BUF_ERROR && z.avail_in == 0 && unread == 0)
            reason = z.total_out < entry.size ? "entry shorter than its recorded size" : "deflated data cut short";
        else
            reason = status == Z_MEM_ERROR ? "out of memory" : "bad deflated data";
        break;
    }
    inflateEnd(&z);
    if (reason)
        error = reason;
    return !reason;
}

}  // namespace platform
