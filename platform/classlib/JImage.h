#pragma once
// A small read-only reader of the JDK's jimage file "lib/modules" (format of
// openjdk src/java.base/share/native/libjimage/imageFile.hpp). The file is
// memory-mapped, never read whole; an in-memory buffer works as well (tests,
// fuzzing). Every table offset is checked against the buffer.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform::classlib {

// Bytes of one resource: a view into the image when stored, or owned when it
// had to be decompressed.
struct ResourceBytes {
    const uint8_t* data = nullptr;
    size_t size = 0;
    std::vector<uint8_t> owned;
};

class JImage {
public:
    // Largest resource we decompress or hand out (class files are far smaller).
    static constexpr uint64_t kMaxResourceSize = 64u << 20;

    ~JImage();
    JImage(const JImage&) = delete;
    JImage& operator=(const JImage&) = delete;

    // Maps the file. nullptr and `error` set (one line) when it cannot be
    // opened or its header and tables do not fit the file; `damaged` (when
    // given) then tells a damaged file from one that could not be read.
    static std::unique_ptr<JImage> open(const std::string& path, std::string& error, bool* damaged = nullptr);
    // Over a caller-owned buffer that must outlive the image.
    static std::unique_ptr<JImage> fromBuffer(const uint8_t* data, size_t size, std::string& error);

    enum class Result { Found, NotFound, Error };

    // The resource named by a full path such as "/java.base/java/lang/String.class".
    // Error: `error` holds the reason (bad location, unsupported compression...).
    Result read(std::string_view path, ResourceBytes& out, std::string& error) const;

    // Whether the image holds a resource of that full path, without reading it.
    bool contains(std::string_view path) const;

    // The module holding a package ("java/lang" or "java.lang"), through the
    // "/packages/<pkg>" resource; "" when the image has no such package.
    std::string moduleOfPackage(std::string_view package) const;

    // A class file by internal name ("java/util/Map$Entry"): package → module → resource.
    Result readClass(std::string_view internalName, ResourceBytes& out, std::string& error) const;

    uint32_t tableLength() const { return tableLength_; }

    // "" when every location entry decodes and every resource lies inside the
    // file, else what is wrong (one line). A file cut short keeps a whole
    // index but loses the resources, so that every lookup would quietly miss.
    // Decodes every location entry and so touches the whole table: for
    // explaining a class that is not found, not for every opening.
    std::string damage() const;

    // The four names of a location as offsets into the strings table. The
    // table keeps each string once, so equal names have equal offsets.
    struct LocationNames {
        uint32_t module, parent, base, extension;
    };
    // Every location of the table that decodes, in slot order.
    template <class F> void forEachLocation(F&& visit) const
    {
        for (uint32_t slot = 0; slot < tableLength_; ++slot) {
            Location loc;
            if (decodeLocation(slot, loc) && (loc.attr[1] | loc.attr[2] | loc.attr[3] | loc.attr[4]) <= UINT32_MAX)
                visit(LocationNames {
                    uint32_t(loc.attr[1]), uint32_t(loc.attr[2]), uint32_t(loc.attr[3]), uint32_t(loc.attr[4])});
        }
    }
    // A name of the strings table; nullopt when the offset is out of range.
    std::optional<std::string_view> name(uint32_t offset) const { return stringAt(offset); }

    // The name hash of the format (ImageStrings::hash_code), exposed for tests.
    static uint32_t hashCode(std::string_view name, uint32_t seed = 0x01000193u);

private:
    JImage() = default;
    bool init(std::string& error);

    struct Location {
        uint64_t attr[8] = {};
    };
    uint32_t u4At(size_t offset) const;  // file byte order
    // Index of the location slot for a path, or -1.
    int64_t findSlot(std::string_view path) const;
    bool decodeLocation(uint32_t slot, Location& loc) const;
    // A NUL-terminated string of the strings table; nullopt when out of range.
    std::optional<std::string_view> stringAt(uint64_t offset) const;
    bool verify(const Location& loc, std::string_view path) const;
    Result readLocation(const Location& loc, ResourceBytes& out, std::string& error) const;

    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    void* mapping_ = nullptr;
    size_t mappingSize_ = 0;
    bool bigEndian_ = false;
    uint32_t tableLength_ = 0;
    uint32_t locationsSize_ = 0;
    uint32_t stringsSize_ = 0;
    size_t redirectOffset_ = 0;
    size_t offsetsOffset_ = 0;
    size_t locationsOffset_ = 0;
    size_t stringsOffset_ = 0;
    uint64_t indexSize_ = 0;

    mutable std::mutex packageMutex_;
    mutable std::unordered_map<std::string, std::string> packageModules_;
};

}  // namespace platform::classlib
