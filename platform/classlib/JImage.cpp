#include "platform/classlib/JImage.h"

#include <fcntl.h>
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

constexpr uint32_t kMagic = 0xCAFEDADAu;
constexpr uint32_t kSwappedMagic = 0xDADAFECAu;
constexpr uint32_t kHeaderSize = 7 * 4;
constexpr uint32_t kResourceHeaderMagic = 0xCAFEFAFAu;
constexpr size_t kResourceHeaderSize = 29;  // packed: u4, u8, u8, u4, u4, u1
constexpr int kMaxCompressionLayers = 8;

enum Attribute { A_END, A_MODULE, A_PARENT, A_BASE, A_EXTENSION, A_OFFSET, A_COMPRESSED, A_UNCOMPRESSED };

uint32_t readU4(const uint8_t* p, bool bigEndian)
{
    if (bigEndian)
        return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
    return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

uint64_t readU8(const uint8_t* p, bool bigEndian)
{
    const uint64_t a = readU4(p, bigEndian);
    const uint64_t b = readU4(p + 4, bigEndian);
    return bigEndian ? (a << 32 | b) : (b << 32 | a);
}

// Inflates a zlib stream of `inSize` bytes into exactly `outSize` bytes.
bool inflateExactly(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize)
{
    z_stream zs;
    std::memset(&zs, 0, sizeof zs);
    if (inflateInit(&zs) != Z_OK)
        return false;
    zs.next_in = const_cast<Bytef*>(in);
    zs.avail_in = uInt(inSize);
    zs.next_out = out;
    zs.avail_out = uInt(outSize);
    int rc = inflate(&zs, Z_FINISH);
    const bool ok = rc == Z_STREAM_END && zs.total_out == outSize;
    inflateEnd(&zs);
    return ok;
}

}  // namespace

JImage::~JImage()
{
    if (mapping_)
        munmap(mapping_, mappingSize_);
}

uint32_t JImage::hashCode(std::string_view name, uint32_t seed)
{
    for (const char c : name) seed = (seed * 0x01000193u) ^ uint8_t(c);
    return seed & 0x7FFFFFFFu;
}

std::unique_ptr<JImage> JImage::open(const std::string& path, std::string& error, bool* damaged)
{
    if (damaged)
        *damaged = false;
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
    const size_t size = size_t(st.st_size);
    if (size < kHeaderSize) {
        ::close(fd);
        error = path + ": too short for a jimage header";
        if (damaged)
            *damaged = true;
        return nullptr;
    }
    void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED) {
        error = path + ": cannot map: " + std::strerror(errno);
        return nullptr;
    }
    std::unique_ptr<JImage> image(new JImage);
    image->mapping_ = map;
    image->mappingSize_ = size;
    image->data_ = static_cast<const uint8_t*>(map);
    image->size_ = size;
    if (!image->init(reason)) {
        error = path + ": " + reason;
        if (damaged)
            *damaged = true;
        return nullptr;
    }
    return image;
}

std::unique_ptr<JImage> JImage::fromBuffer(const uint8_t* data, size_t size, std::string& error)
{
    std::unique_ptr<JImage> image(new JImage);
    image->data_ = data;
    image->size_ = size;
    if (!image->init(error))
        return nullptr;
    return image;
}

bool JImage::init(std::string& error)
{
    if (size_ < kHeaderSize) {
        error = "too short for a jimage header";
        return false;
    }
    const uint32_t magic = readU4(data_, false);
    if (magic == kMagic)
        bigEndian_ = false;
    else if (magic == kSwappedMagic)
        bigEndian_ = true;
    else {
        error = "not a jimage file (bad magic number)";
        return false;
    }
    const uint32_t version = u4At(4);
    if (version >> 16 != 1 || (version & 0xFFFF) != 0) {
        error = "unsupported jimage version " + std::to_string(version >> 16) + "." + std::to_string(version & 0xFFFF);
        return false;
    }
    tableLength_ = u4At(16);
    locationsSize_ = u4At(20);
    stringsSize_ = u4At(24);
    indexSize_ = uint64_t(kHeaderSize) + 8ull * tableLength_ + locationsSize_ + stringsSize_;
    if (indexSize_ > size_) {
        error = "jimage index tables reach past the end of the file";
        return false;
    }
    redirectOffset_ = kHeaderSize;
    offsetsOffset_ = redirectOffset_ + 4ull * tableLength_;
    locationsOffset_ = offsetsOffset_ + 4ull * tableLength_;
    stringsOffset_ = locationsOffset_ + locationsSize_;
    return true;
}

uint32_t JImage::u4At(size_t offset) const
{
    return readU4(data_ + offset, bigEndian_);
}

int64_t JImage::findSlot(std::string_view path) const
{
    if (tableLength_ == 0)
        return -1;
    const uint32_t i = hashCode(path) % tableLength_;
    const int32_t value = int32_t(u4At(redirectOffset_ + 4ull * i));
    if (value > 0)
        return hashCode(path, uint32_t(value)) % tableLength_;
    if (value < 0) {
        const int64_t index = -1 - int64_t(value);
        return index < int64_t(tableLength_) ? index : -1;
    }
    return -1;
}

bool JImage::decodeLocation(uint32_t slot, Location& loc) const
{
    const uint32_t offset = u4At(offsetsOffset_ + 4ull * slot);
    const uint8_t* p = data_ + locationsOffset_;
    size_t pos = offset;
    while (pos < locationsSize_) {
        const uint8_t b = p[pos++];
        const unsigned kind = b >> 3;
        if (kind == A_END)
            return true;
        if (kind > A_UNCOMPRESSED)
            return false;
        const unsigned len = (b & 7u) + 1;
        if (len > locationsSize_ - pos)
            return false;
        uint64_t value = 0;
        for (unsigned k = 0; k < len; ++k) value = value << 8 | p[pos++];
        loc.attr[kind] = value;
    }
    return false;  // ran off the end without an end marker
}

std::optional<std::string_view> JImage::stringAt(uint64_t offset) const
{
    if (offset >= stringsSize_)
        return std::nullopt;
    const char* s = reinterpret_cast<const char*>(data_ + stringsOffset_);
    const void* nul = std::memchr(s + offset, 0, stringsSize_ - offset);
    if (!nul)
        return std::nullopt;
    return std::string_view(s + offset, static_cast<const char*>(nul) - (s + offset));
}

bool JImage::verify(const Location& loc, std::string_view path) const
{
    const auto module = stringAt(loc.attr[A_MODULE]);
    const auto parent = stringAt(loc.attr[A_PARENT]);
    const auto base = stringAt(loc.attr[A_BASE]);
    const auto extension = stringAt(loc.attr[A_EXTENSION]);
    if (!module || !parent || !base || !extension)
        return false;
    auto take = [&path](std::string_view part) {
        if (path.substr(0, part.size()) != part)
            return false;
        path.remove_prefix(part.size());
        return true;
    };
    if (!module->empty() && !(take("/") && take(*module) && take("/")))
        return false;
    if (!parent->empty() && !(take(*parent) && take("/")))
        return false;
    if (!take(*base))
        return false;
    if (!extension->empty() && !(take(".") && take(*extension)))
        return false;
    return path.empty();
}

JImage::Result JImage::read(std::string_view path, ResourceBytes& out, std::string& error) const
{
    const int64_t slot = findSlot(path);
    if (slot < 0)
        return Result::NotFound;
    Location loc;
    if (!decodeLocation(uint32_t(slot), loc)) {
        error = "bad location entry in the jimage for " + std::string(path);
        return Result::Error;
    }
    if (!verify(loc, path))
        return Result::NotFound;  // the slot belongs to another resource
    return readLocation(loc, out, error);
}

bool JImage::contains(std::string_view path) const
{
    const int64_t slot = findSlot(path);
    Location loc;
    return slot >= 0 && decodeLocation(uint32_t(slot), loc) && verify(loc, path);
}

JImage::Result JImage::readLocation(const Location& loc, ResourceBytes& out, std::string& error) const
{
    const uint64_t compressed = loc.attr[A_COMPRESSED];
    const uint64_t uncompressed = loc.attr[A_UNCOMPRESSED];
    const uint64_t stored = compressed ? compressed : uncompressed;
    const uint64_t offset = loc.attr[A_OFFSET];
    if (offset > size_ || stored > size_ || indexSize_ + offset > size_ - stored) {
        error = "resource reaches past the end of the jimage";
        return Result::Error;
    }
    if (uncompressed > kMaxResourceSize || stored > kMaxResourceSize) {
        error = "resource too large";
        return Result::Error;
    }
    const uint8_t* bytes = data_ + indexSize_ + offset;
    out.owned.clear();
    if (compressed == 0) {
        out.data = bytes;
        out.size = size_t(stored);
        return Result::Found;
    }
    // A stack of compressed layers, each with its header (imageDecompressor.cpp).
    std::vector<uint8_t> current(bytes, bytes + stored);
    for (int layer = 0;; ++layer) {
        if (current.size() < kResourceHeaderSize || readU4(current.data(), bigEndian_) != kResourceHeaderMagic)
            break;
        if (layer == kMaxCompressionLayers) {
            error = "too many compression layers";
            return Result::Error;
        }
        const uint64_t size = readU8(current.data() + 4, bigEndian_);
        const uint64_t unpacked = readU8(current.data() + 12, bigEndian_);
        const uint32_t nameOffset = readU4(current.data() + 20, bigEndian_);
        const auto name = stringAt(nameOffset);
        if (!name) {
            error = "bad decompressor name in the jimage";
            return Result::Error;
        }
        if (*name != "zip") {
            error = "unsupported jimage compression \"" + std::string(*name) + "\"";
            return Result::Error;
        }
        if (size > current.size() - kResourceHeaderSize || unpacked > kMaxResourceSize) {
            error = "bad compressed resource header";
            return Result::Error;
        }
        std::vector<uint8_t> next(static_cast<size_t>(unpacked));
        if (!inflateExactly(current.data() + kResourceHeaderSize, size_t(size), next.data(), next.size())) {
            error = "corrupt zip-compressed resource";
            return Result::Error;
        }
        current.swap(next);
    }
    if (current.size() != uncompressed) {
        error = "decompressed resource has the wrong size";
        return Result::Error;
    }
    out.owned = std::move(current);
    out.data = out.owned.data();
    out.size = out.owned.size();
    return Result::Found;
}

std::string JImage::moduleOfPackage(std::string_view package) const
{
    std::string dotted(package);
    for (char& c : dotted)
        if (c == '/')
            c = '.';
    {
        std::lock_guard<std::mutex> lock(packageMutex_);
        const auto it = packageModules_.find(dotted);
        if (it != packageModules_.end())
            return it->second;
    }
    std::string module;
    ResourceBytes bytes;
    std::string error;
    if (read("/packages/" + dotted, bytes, error) == Result::Found) {
        for (size_t i = 0; i + 8 <= bytes.size; i += 8) {
            const uint32_t isEmpty = readU4(bytes.data + i, bigEndian_);
            const uint32_t nameOffset = readU4(bytes.data + i + 4, bigEndian_);
            if (isEmpty == 0) {
                if (const auto name = stringAt(nameOffset))
                    module = std::string(*name);
                break;
            }
        }
    }
    std::lock_guard<std::mutex> lock(packageMutex_);
    packageModules_.emplace(std::move(dotted), module);
    return module;
}

JImage::Result JImage::readClass(std::string_view internalName, ResourceBytes& out, std::string& error) const
{
    const size_t slash = internalName.rfind('/');
    if (slash == std::string_view::npos)
        return Result::NotFound;  // the unnamed package is never in the image
    const std::string module = moduleOfPackage(internalName.substr(0, slash));
    if (module.empty())
        return Result::NotFound;
    std::string path;
    path.reserve(module.size() + internalName.size() + 8);
    path += '/';
    path += module;
    path += '/';
    path += internalName;
    path += ".class";
    return read(path, out, error);
}

std::string JImage::damage() const
{
    uint64_t end = indexSize_;
    for (uint32_t slot = 0; slot < tableLength_; ++slot) {
        Location loc;
        if (!decodeLocation(slot, loc))
            return "location entry " + std::to_string(slot) + " is malformed";
        const uint64_t stored = loc.attr[A_COMPRESSED] ? loc.attr[A_COMPRESSED] : loc.attr[A_UNCOMPRESSED];
        // Far past any real file; keeps the sum below from overflowing.
        constexpr uint64_t kFar = uint64_t(1) << 62;
        if (loc.attr[A_OFFSET] >= kFar || stored >= kFar)
            return "location entry " + std::to_string(slot) + " points far past the end of the file";
        end = std::max(end, indexSize_ + loc.attr[A_OFFSET] + stored);
    }
    if (end > size_)
        return "the file has " + std::to_string(size_) + " bytes but its resources reach to byte " +
            std::to_string(end) + " (cut short?)";
    return {};
}

}  // namespace platform::classlib
