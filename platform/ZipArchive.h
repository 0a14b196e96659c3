#pragma once
// A zip archive (a jar, a sources jar, src.zip, ct.sym) read in place. Opening
// reads only the end record and the central directory, so opening costs the
// same few system calls whatever the entries hold; entries are read one at a
// time, stored or deflated, bounded in size and checked against their CRC.
// Every damage is one line of reason, never a crash or an unbounded read.
// Not for use by two threads at once (lookups build an index lazily).

#include <QByteArray>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class ZipArchive {
public:
    // Largest central directory read; the JDK's src.zip needs about 3 MB.
    static constexpr uint64_t kMaxDirectoryBytes = 64u << 20;

    struct OpenError {
        enum class Kind {
            None,
            OutOfDescriptors,  // this process's descriptor table is full: closing another may help
            OutOfResources,    // the system's file table or memory: worth trying later
            Unreadable,        // missing, not a regular file, or no zip archive this reader reads
        };
        Kind kind = Kind::None;
        std::string reason;  // one line
    };

    struct Entry {
        std::string_view name;  // the raw bytes of the name, inside the archive's directory
        uint32_t crc = 0;
        uint32_t compressedSize = 0;
        uint32_t size = 0;
        uint32_t localHeader = 0;
        uint16_t method = 0;
        uint16_t flags = 0;
    };

    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    static std::unique_ptr<ZipArchive> open(const std::string& path, OpenError& error);

    size_t count() const { return headers_.size(); }
    std::string_view name(size_t index) const;
    Entry entry(size_t index) const;

    // The first entry of that name. The first lookup walks the directory; a
    // second one builds a hash index (4 bytes an entry) for the rest.
    std::optional<Entry> find(std::string_view name);

    // Every entry whose name starts with `prefix`, in directory order:
    // visit(name, index). Walks the directory; copies no name.
    template <typename Visit> void forEachName(std::string_view prefix, Visit visit) const
    {
        for (size_t i = 0; i < headers_.size(); ++i) {
            const std::string_view n = name(i);
            if (n.starts_with(prefix))
                visit(n, i);
        }
    }

    // The entry's bytes, at most maxBytes of them; false with `error` set to one
    // line ("entry too large", "CRC error", "entry longer than its recorded size").
    bool read(const Entry& entry, uint64_t maxBytes, std::vector<uint8_t>& out, std::string& error) const;
    bool read(const Entry& entry, uint64_t maxBytes, QByteArray& out, std::string& error) const;

    // The central directory kept in memory, in bytes (for benchmarks).
    size_t directoryBytes() const { return directorySize_ + headers_.size() * sizeof(uint32_t); }

private:
    ZipArchive() = default;
    std::string readDirectory(uint64_t start, uint64_t size, uint64_t claimedCount);
    // Checks the entry, then writes its entry.size bytes to `into`.
    bool readInto(const Entry& entry, uint8_t* into, std::string& error) const;
    bool inflateInto(const Entry& entry, uint64_t dataAt, uint8_t* into, std::string& error) const;
    void buildIndex();

    int fd_ = -1;
    uint64_t fileSize_ = 0;
    uint64_t base_ = 0;  // bytes before the archive (a launcher script), added to every offset
    std::unique_ptr<char[]> directory_;
    size_t directorySize_ = 0;
    std::vector<uint32_t> headers_;  // where each entry's header starts in directory_
    std::vector<uint32_t> index_;    // open addressing: entry number + 1, 0 for an empty slot
    int lookups_ = 0;
};

}  // namespace platform
