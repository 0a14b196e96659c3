#pragma once
// Every class name the class library can serve, read from the sources' own
// tables: the jimage's location table (only the packages a module exports to
// everyone), a jar's central directory, a folder's files. Built once, then
// read from any thread. Whether a class is public or deprecated is read from
// its class file only when somebody asks, and remembered.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace platform::classlib {

class ClassLibrary;
class ClassSource;

class ClassIndex {
public:
    // Caps that keep a hostile CLASSPATH from taking unbounded time or memory.
    static constexpr size_t kMaxClasses = 1'000'000;
    static constexpr size_t kMaxNameBytes = 64u << 20;
    static constexpr size_t kMaxFolderFiles = 200'000;

    // Lists every source of the library (the library must outlive the index).
    static std::unique_ptr<ClassIndex> build(ClassLibrary& library);

    // Only the classes of one simple binary name ("Optional", "Map$Entry"): for
    // a single resolution, the image is asked for that name in each exported
    // package instead of being listed whole.
    static std::unique_ptr<ClassIndex> buildForName(ClassLibrary& library, std::string_view simpleBinaryName);

    // Only the classes whose innermost name (memberForm: whose simple binary
    // name) starts with `initial`, in either letter case: all that one
    // completion query can return (the CLI's).
    static std::unique_ptr<ClassIndex> buildForInitial(ClassLibrary& library, char initial, bool memberForm);

    size_t size() const { return entries_.size(); }

    // "java/util/Map$Entry".
    std::string_view internalName(uint32_t id) const;
    // "Map$Entry": the internal name after its package.
    std::string_view simpleBinaryName(uint32_t id) const;
    // "Entry": the innermost name of a member class, else the simple binary name.
    std::string_view innerName(uint32_t id) const { return simpleBinaryName(id).substr(entries_[id].innerStart); }
    // "entry", "map$entry": lower-case (ASCII) forms the sorted views compare.
    std::string_view lowerInnerName(uint32_t id) const;
    std::string_view lowerSimpleBinaryName(uint32_t id) const;
    // Position of the source in the library's search order.
    uint16_t source(uint32_t id) const { return entries_[id].source; }
    // 0 java.base, 1 another java.* module, 2 any other module; 0 outside the image.
    uint8_t moduleRank(uint32_t id) const { return entries_[id].moduleRank; }

    struct Traits {
        bool isPublic = false;  // the class and, for a member class, every enclosing class
        bool deprecated = false;
    };
    // Reads the class file (and its enclosing classes') on the first call.
    Traits traits(uint32_t id) const;

    // Ids sorted by lowerInnerName (ties by id), and by lowerSimpleBinaryName;
    // each made on its first call.
    const std::vector<uint32_t>& byLowerInnerName() const;
    const std::vector<uint32_t>& byLowerSimpleBinaryName() const;

    // Bytes held, for the benchmark.
    size_t memoryBytes() const;

private:
    struct Entry {
        uint32_t offset;         // into names_ and lower_
        uint16_t length;         // of the internal name
        uint16_t packageLength;  // bytes before the simple binary name, '/' included
        uint16_t innerStart;     // where the innermost name starts, from the simple binary name
        uint16_t source;
        uint8_t moduleRank;
    };
    void add(std::string_view package, std::string_view simple, uint16_t source, uint8_t moduleRank);
    void listJImage(const class JImage& image, uint16_t source);
    bool probeJImage(const class JImage& image, const std::string& jdkHome, uint16_t source);
    void listSources(ClassLibrary& library, bool probeImage);
    void listJar(const std::string& path, uint16_t source);
    void listFolder(const std::string& root, uint16_t source);
    void listCtSym(class CtSym& ctSym, int release, uint16_t source);
    bool full() const { return entries_.size() >= kMaxClasses || names_.size() >= kMaxNameBytes; }
    // Access flags after InnerClasses, the outer class, deprecation; false when unreadable.
    struct ClassHeader;
    bool readHeader(uint16_t source, const std::string& internalName, ClassHeader& header) const;

    ClassLibrary* library_ = nullptr;
    std::string only_;  // buildForName's name; "" lists every class
    char initial_ = 0;  // buildForInitial's letter, lower case; 0 for all
    bool memberForm_ = false;
    std::string names_;
    std::string lower_;
    std::vector<Entry> entries_;
    std::vector<uint32_t> sortedBy(std::string_view (ClassIndex::*key)(uint32_t) const) const;
    mutable std::once_flag innerOnce_, simpleOnce_;
    mutable std::vector<uint32_t> byInner_;
    mutable std::vector<uint32_t> bySimple_;

    // 0 unknown, else 1 | public << 1 | deprecated << 2; read and written
    // through std::atomic_ref, from any thread.
    mutable std::vector<uint8_t> traits_;
};

// The exported packages of a module-info class file ("java/util"), those
// without a "to" clause; none for a module the JVM does not resolve by default
// (ModuleResolution's DO_NOT_RESOLVE_BY_DEFAULT, the incubator modules). False
// when the file is not a readable module-info.
bool readUnqualifiedExports(const uint8_t* data, size_t size, std::vector<std::string>& packages);

}  // namespace platform::classlib
