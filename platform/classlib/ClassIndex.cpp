#include "platform/classlib/ClassIndex.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "platform/RegularFile.h"
#include "platform/ZipArchive.h"
#include "platform/classlib/ClassFile.h"
#include "platform/classlib/ClassLibrary.h"
#include "platform/classlib/ClassSource.h"
#include "platform/classlib/CtSym.h"
#include "platform/classlib/JImage.h"

namespace platform::classlib {

namespace {

constexpr uint16_t kInnerPublic = ACC_PUBLIC;
constexpr int kMaxEnclosingDepth = 64;
constexpr int kMaxAnnotationDepth = 32;

// A bounds-checked reader over one class file; any overrun sets `bad` and
// reads zeros from then on.
struct Reader {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
    bool bad = false;

    bool need(size_t n)
    {
        if (bad || n > size - pos) {
            bad = true;
            return false;
        }
        return true;
    }
    uint8_t u1() { return need(1) ? data[pos++] : 0; }
    uint16_t u2()
    {
        if (!need(2))
            return 0;
        const uint16_t v = uint16_t(data[pos] << 8 | data[pos + 1]);
        pos += 2;
        return v;
    }
    uint32_t u4()
    {
        const uint32_t hi = u2();
        return hi << 16 | u2();
    }
    void skip(size_t n)
    {
        if (need(n))
            pos += n;
    }
};

// The magic number, the version and the constant pool: what every class file
// starts with, read by the class-file parser's own pool walker.
bool readPoolHeader(Reader& r, ConstantPool& pool)
{
    if (r.u4() != kClassFileMagic)
        return false;
    r.skip(4);
    if (r.bad || *pool.read(r.data, r.size, r.pos))
        return r.bad = true, false;
    return true;
}

// A Utf8 entry's bytes, "" when the index names none.
std::string_view utf8(const ConstantPool& pool, uint16_t index)
{
    return pool.utf8(index).value_or(std::string_view());
}

// The name a Class, Module or Package entry gives, "" when it names none.
std::string_view nameOf(const ConstantPool& pool, uint16_t index, ConstantTag kind)
{
    return pool.nameOf(index, kind).value_or(std::string_view());
}

void skipMembers(Reader& r)
{
    const uint16_t count = r.u2();
    for (uint32_t i = 0; i < count && !r.bad; ++i) {
        r.skip(6);
        const uint16_t attributes = r.u2();
        for (uint32_t k = 0; k < attributes && !r.bad; ++k) {
            r.skip(2);
            r.skip(r.u4());
        }
    }
}

bool skipAnnotation(Reader& r, const ConstantPool& pool, bool& deprecated, int depth);

bool skipElementValue(Reader& r, const ConstantPool& pool, int depth)
{
    if (depth > kMaxAnnotationDepth)
        return false;
    bool ignored = false;
    switch (r.u1()) {
    case 'e':
        r.skip(4);
        break;
    case '@':
        return skipAnnotation(r, pool, ignored, depth + 1);
    case '[': {
        const uint16_t n = r.u2();
        for (uint32_t i = 0; i < n && !r.bad; ++i)
            if (!skipElementValue(r, pool, depth + 1))
                return false;
        break;
    }
    default:
        r.skip(2);
    }
    return !r.bad;
}

bool skipAnnotation(Reader& r, const ConstantPool& pool, bool& deprecated, int depth)
{
    if (utf8(pool, r.u2()) == "Ljava/lang/Deprecated;")
        deprecated = true;
    const uint16_t pairs = r.u2();
    for (uint32_t i = 0; i < pairs && !r.bad; ++i) {
        r.skip(2);
        if (!skipElementValue(r, pool, depth))
            return false;
    }
    return !r.bad;
}

uint8_t moduleRankOf(std::string_view module)
{
    if (module == "java.base")
        return 0;
    return module.substr(0, 5) == "java." ? 1 : 2;
}

bool endsWith(std::string_view s, std::string_view tail)
{
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Walks the attributes at r: visit(name, a reader over the attribute's bytes)
// returns false to give up. False also when the file is cut short.
template <class Visit> bool forEachAttribute(Reader& r, const uint8_t* data, const ConstantPool& pool, Visit&& visit)
{
    const uint16_t attributes = r.u2();
    for (uint32_t i = 0; i < attributes && !r.bad; ++i) {
        const std::string_view name = utf8(pool, r.u2());
        const uint32_t length = r.u4();
        if (!r.need(length))
            return false;
        Reader a {data, r.pos + length, r.pos};
        r.skip(length);
        if (!visit(name, a))
            return false;
    }
    return !r.bad;
}

}  // namespace

bool readUnqualifiedExports(const uint8_t* data, size_t size, std::vector<std::string>& packages)
{
    Reader r {data, size};
    ConstantPool pool;
    if (!readPoolHeader(r, pool))
        return false;
    r.skip(6);
    r.skip(2 * size_t(r.u2()));
    skipMembers(r);
    skipMembers(r);
    // The Module attribute holds the exports; ModuleResolution may mark the
    // module as one the JVM leaves out unless asked (the incubator modules).
    std::vector<std::string> found;
    bool haveModule = false;
    bool notResolvedByDefault = false;
    const bool whole = forEachAttribute(r, data, pool, [&](std::string_view name, Reader& m) {
        if (name == "ModuleResolution") {
            notResolvedByDefault = (m.u2() & 0x0001) != 0;
            if (m.bad)
                return false;
        } else if (name == "Module") {
            haveModule = true;
            m.skip(6);
            m.skip(6 * size_t(m.u2()));  // requires
            const uint16_t exports = m.u2();
            for (uint32_t k = 0; k < exports && !m.bad; ++k) {
                const std::string_view package = nameOf(pool, m.u2(), ConstantTag::Package);
                m.skip(2);
                const uint16_t to = m.u2();
                m.skip(2 * size_t(to));
                if (!m.bad && to == 0 && !package.empty())
                    found.emplace_back(package);
            }
            if (m.bad)
                return false;
        }
        return true;
    });
    if (!whole || !haveModule)
        return false;
    if (!notResolvedByDefault)
        packages.insert(packages.end(), found.begin(), found.end());
    return true;
}

struct ClassIndex::ClassHeader {
    uint16_t access = 0;
    bool member = false;  // an InnerClasses entry names an outer class
    bool localOrAnonymous = false;
    std::string outer;
    bool deprecated = false;
};

bool ClassIndex::readHeader(uint16_t source, const std::string& internalName, ClassHeader& header) const
{
    ResourceBytes bytes;
    std::string error;
    if (source >= library_->sources().size() ||
        library_->sources()[source]->find(internalName, bytes, error) != ClassSource::Result::Found)
        return false;
    Reader r {bytes.data, bytes.size};
    ConstantPool pool;
    if (!readPoolHeader(r, pool))
        return false;
    header.access = r.u2();
    const std::string_view self = nameOf(pool, r.u2(), ConstantTag::Class);
    if (self != internalName)
        return false;
    r.skip(2);
    r.skip(2 * size_t(r.u2()));
    skipMembers(r);
    skipMembers(r);
    return forEachAttribute(r, bytes.data, pool, [&](std::string_view name, Reader& a) {
        if (name == "Deprecated") {
            header.deprecated = true;
        } else if (name == "RuntimeVisibleAnnotations") {
            const uint16_t n = a.u2();
            for (uint32_t k = 0; k < n && !a.bad; ++k)
                if (!skipAnnotation(a, pool, header.deprecated, 0))
                    break;
        } else if (name == "InnerClasses") {
            const uint16_t n = a.u2();
            for (uint32_t k = 0; k < n && !a.bad; ++k) {
                const uint16_t inner = a.u2();
                const uint16_t outer = a.u2();
                a.skip(2);
                const uint16_t flags = a.u2();
                if (a.bad || nameOf(pool, inner, ConstantTag::Class) != internalName)
                    continue;
                // The member's own flags: a private or protected member class
                // says public or package in its class file's access flags.
                header.access = flags;
                if (outer == 0) {
                    header.localOrAnonymous = true;
                } else {
                    header.member = true;
                    header.outer = std::string(nameOf(pool, outer, ConstantTag::Class));
                }
            }
        }
        return true;
    });
}

ClassIndex::Traits ClassIndex::traits(uint32_t id) const
{
    // No lock around the reading: a query on a worker may read many class
    // files, and a lookup on the event thread must never wait for it. Two
    // threads reading the same class store the same byte.
    std::atomic_ref<uint8_t> cached(traits_[id]);
    if (const uint8_t t = cached.load(std::memory_order_relaxed))
        return Traits {(t & 2) != 0, (t & 4) != 0};
    Traits result;
    ClassHeader header;
    std::string name(internalName(id));
    if (readHeader(entries_[id].source, name, header) && !header.localOrAnonymous && (header.access & kInnerPublic)) {
        result.deprecated = header.deprecated;
        result.isPublic = true;
        // Every enclosing class must be public too, read from the same source.
        ClassHeader outer = header;
        for (int depth = 0; outer.member && result.isPublic; ++depth) {
            const std::string next = outer.outer;
            outer = ClassHeader();
            result.isPublic = depth < kMaxEnclosingDepth && !next.empty() &&
                readHeader(entries_[id].source, next, outer) && !outer.localOrAnonymous &&
                (outer.access & kInnerPublic);
        }
    }
    cached.store(uint8_t(1 | (result.isPublic ? 2 : 0) | (result.deprecated ? 4 : 0)), std::memory_order_relaxed);
    return result;
}

std::string_view ClassIndex::internalName(uint32_t id) const
{
    const Entry& e = entries_[id];
    return std::string_view(names_).substr(e.offset, e.length);
}

std::string_view ClassIndex::simpleBinaryName(uint32_t id) const
{
    return internalName(id).substr(entries_[id].packageLength);
}

std::string_view ClassIndex::lowerSimpleBinaryName(uint32_t id) const
{
    const Entry& e = entries_[id];
    return std::string_view(lower_).substr(e.offset + e.packageLength, e.length - e.packageLength);
}

std::string_view ClassIndex::lowerInnerName(uint32_t id) const
{
    return lowerSimpleBinaryName(id).substr(entries_[id].innerStart);
}

// The sorted views are made on first use: a single resolution needs neither.
std::vector<uint32_t> ClassIndex::sortedBy(std::string_view (ClassIndex::*key)(uint32_t) const) const
{
    std::vector<std::pair<std::string_view, uint32_t>> keyed(entries_.size());
    for (uint32_t i = 0; i < keyed.size(); ++i) keyed[i] = {(this->*key)(i), i};
    std::sort(keyed.begin(), keyed.end());
    std::vector<uint32_t> ids(keyed.size());
    for (size_t i = 0; i < keyed.size(); ++i) ids[i] = keyed[i].second;
    return ids;
}

const std::vector<uint32_t>& ClassIndex::byLowerInnerName() const
{
    std::call_once(innerOnce_, [this] { byInner_ = sortedBy(&ClassIndex::lowerInnerName); });
    return byInner_;
}

const std::vector<uint32_t>& ClassIndex::byLowerSimpleBinaryName() const
{
    std::call_once(simpleOnce_, [this] { bySimple_ = sortedBy(&ClassIndex::lowerSimpleBinaryName); });
    return bySimple_;
}

size_t ClassIndex::memoryBytes() const
{
    return sizeof(*this) + names_.capacity() + lower_.capacity() + entries_.capacity() * sizeof(Entry) +
        (byInner_.capacity() + bySimple_.capacity()) * sizeof(uint32_t) + traits_.capacity();
}

namespace {

// A control character (C0, DEL, C1 in UTF-8) in a name: no class a program
// could name, and a line feed in a listed name would forge another line.
bool holdsControlChar(std::string_view name)
{
    for (size_t i = 0; i < name.size(); ++i) {
        const auto c = uint8_t(name[i]);
        if (c < 0x20 || c == 0x7F || (c == 0xC2 && i + 1 < name.size() && (uint8_t(name[i + 1]) & 0xE0) == 0x80))
            return true;
    }
    return false;
}

}  // namespace

void ClassIndex::add(std::string_view package, std::string_view simple, uint16_t source, uint8_t moduleRank)
{
    if (simple.empty() || simple == "package-info" || simple == "module-info" || full() ||
        (!only_.empty() && simple != only_))
        return;
    // Anonymous and local classes ("Outer$1", "Outer$1Local") are never API.
    size_t innerStart = 0;
    for (size_t i = simple.find('$'); i != std::string_view::npos; i = simple.find('$', i + 1)) {
        if (i + 1 >= simple.size() || (simple[i + 1] >= '0' && simple[i + 1] <= '9'))
            return;
        innerStart = i + 1;
    }
    if (initial_ && lowerAscii(simple[memberForm_ ? 0 : innerStart]) != initial_)
        return;
    const size_t packageLength = package.empty() ? 0 : package.size() + 1;
    if (packageLength + simple.size() > 0xFFFF || simple.front() == '$')
        return;
    const std::string_view check = simple;
    if (check.find_first_of("/.;[") != std::string_view::npos || holdsControlChar(package) || holdsControlChar(simple))
        return;
    Entry e;
    e.offset = uint32_t(names_.size());
    e.length = uint16_t(packageLength + simple.size());
    e.packageLength = uint16_t(packageLength);
    e.innerStart = uint16_t(innerStart);
    e.source = source;
    e.moduleRank = moduleRank;
    if (!package.empty()) {
        names_ += package;
        names_ += '/';
    }
    names_ += simple;
    for (size_t i = e.offset; i < names_.size(); ++i) lower_ += lowerAscii(names_[i]);
    entries_.push_back(e);
}

namespace {

// "/java.base/module-info.class". Built by appending into a reserved string:
// GCC 12 at -O3 misreads `"/" + std::string(module) + "..."` as an
// overlapping copy (-Wrestrict) and stops a -Werror build.
std::string moduleInfoPath(std::string_view module)
{
    static constexpr std::string_view kSuffix = "/module-info.class";
    std::string path;
    path.reserve(1 + module.size() + kSuffix.size());
    path += '/';
    path += module;
    path += kSuffix;
    return path;
}

}  // namespace

void ClassIndex::listJImage(const JImage& image, uint16_t source)
{
    // The location table is read as offsets, and a name is looked at once per
    // distinct offset: a few extensions, a thousand packages, the modules.
    std::vector<JImage::LocationNames> classes;
    classes.reserve(image.tableLength());
    // Few extensions, each stored once: remembered by offset in a short list.
    std::vector<std::pair<uint32_t, bool>> isClass;
    std::unordered_map<uint64_t, int8_t> packages;  // module << 32 | parent -> exported
    image.forEachLocation([&](const JImage::LocationNames& n) {
        auto ext = std::find_if(isClass.begin(), isClass.end(), [&n](const auto& e) { return e.first == n.extension; });
        if (ext == isClass.end()) {
            isClass.emplace_back(n.extension, image.name(n.extension) == std::optional<std::string_view>("class"));
            ext = isClass.end() - 1;
        }
        if (!ext->second)
            return;
        classes.push_back(n);
        packages.try_emplace(uint64_t(n.module) << 32 | n.parent, 0);
    });
    std::unordered_map<uint32_t, std::unordered_set<std::string>> exports;  // module offset -> packages
    for (auto& [key, exported] : packages) {
        const uint32_t moduleOffset = uint32_t(key >> 32);
        const auto module = image.name(moduleOffset);
        const auto package = image.name(uint32_t(key));
        if (!module || !package || module->empty() || package->empty())
            continue;
        auto [it, fresh] = exports.try_emplace(moduleOffset);
        if (fresh) {
            ResourceBytes bytes;
            std::string error;
            std::vector<std::string> list;
            // A damaged module-info exports nothing: its classes stay out of the index.
            if (image.read(moduleInfoPath(*module), bytes, error) == JImage::Result::Found &&
                readUnqualifiedExports(bytes.data, bytes.size, list))
                it->second.insert(list.begin(), list.end());
        }
        exported = it->second.count(std::string(*package)) ? 1 : 0;
    }
    for (const JImage::LocationNames& n : classes) {
        if (!packages[uint64_t(n.module) << 32 | n.parent])
            continue;
        const auto module = image.name(n.module);
        const auto package = image.name(n.parent);
        const auto simple = image.name(n.base);
        if (module && package && simple)
            add(*package, *simple, source, moduleRankOf(*module));
    }
}

// The JDK's release file names its modules (MODULES="java.base ..."); each
// module-info names its exported packages; the image's hash table answers
// whether a package holds the class. False when the release file says nothing.
bool ClassIndex::probeJImage(const JImage& image, const std::string& jdkHome, uint16_t source)
{
    std::string modules;
    std::string reason;
    const int fd = platform::openRegularFile(jdkHome + "/release", reason);
    FILE* f = fd < 0 ? nullptr : ::fdopen(fd, "r");
    if (!f && fd >= 0)
        ::close(fd);
    if (f) {
        char line[8192];
        while (std::fgets(line, sizeof line, f)) {
            const std::string_view l(line);
            if (l.substr(0, 9) == "MODULES=\"") {
                modules = std::string(l.substr(9, l.find('"', 9) == std::string_view::npos ? 0 : l.find('"', 9) - 9));
                break;
            }
        }
        std::fclose(f);
    }
    if (modules.empty())
        return false;
    std::string path;
    for (size_t at = 0; at < modules.size();) {
        const size_t end = std::min(modules.find(' ', at), modules.size());
        const std::string module = modules.substr(at, end - at);
        at = end + 1;
        if (module.empty())
            continue;
        ResourceBytes bytes;
        std::string error;
        std::vector<std::string> packages;
        if (image.read("/" + module + "/module-info.class", bytes, error) != JImage::Result::Found ||
            !readUnqualifiedExports(bytes.data, bytes.size, packages))
            continue;
        for (const std::string& package : packages) {
            path = "/" + module + "/" + package + "/" + only_ + ".class";
            if (image.contains(path))
                add(package, only_, source, moduleRankOf(module));
        }
    }
    return true;
}

void ClassIndex::listJar(const std::string& path, uint16_t source)
{
    // A jar that cannot be read lists nothing: the lookup reports it when it meets one.
    platform::ZipArchive::OpenError failure;
    const std::unique_ptr<platform::ZipArchive> zip = platform::ZipArchive::open(path, failure);
    if (!zip)
        return;
    for (size_t i = 0; i < zip->count() && !full(); ++i) {
        std::string_view name = zip->name(i);
        if (!endsWith(name, ".class") || name.substr(0, 9) == "META-INF/")
            continue;
        name.remove_suffix(6);
        if (!isValidInternalClassName(name) || name.find('\0') != std::string_view::npos)
            continue;
        const size_t slash = name.rfind('/');
        if (slash == std::string_view::npos)
            add({}, name, source, 0);
        else
            add(name.substr(0, slash), name.substr(slash + 1), source, 0);
    }
}

void ClassIndex::listFolder(const std::string& root, uint16_t source)
{
    // Breadth first over the package folders, bounded in files and depth.
    struct Pending {
        std::string package;
        int depth;
    };
    std::vector<Pending> pending {{std::string(), 0}};
    size_t files = 0;
    while (!pending.empty() && files < kMaxFolderFiles && !full()) {
        const Pending here = pending.back();
        pending.pop_back();
        const std::string dir = here.package.empty() ? root : root + "/" + here.package;
        DIR* d = opendir(dir.c_str());
        if (!d)
            continue;
        while (const dirent* e = readdir(d)) {
            if (++files >= kMaxFolderFiles)
                break;
            const std::string_view file = e->d_name;
            if (file.empty() || file[0] == '.')
                continue;
            const std::string child = dir + "/" + std::string(file);
            struct stat st;
            if (stat(child.c_str(), &st) != 0)
                continue;
            if (S_ISDIR(st.st_mode)) {
                if (here.depth < 32 && file.find_first_of(".;[") == std::string_view::npos)
                    pending.push_back(
                        {here.package.empty() ? std::string(file) : here.package + "/" + std::string(file),
                            here.depth + 1});
            } else if (S_ISREG(st.st_mode) && endsWith(file, ".class")) {
                add(here.package, file.substr(0, file.size() - 6), source, 0);
            }
        }
        closedir(d);
    }
}

// An earlier release's classes from ct.sym. From 9 on, only the packages the
// release's module-info exports to everyone; 7 and 8 had no modules, and
// their stubs already hold only the API javac compiles against, so all of
// them are listed.
void ClassIndex::listCtSym(CtSym& ctSym, int release, uint16_t source)
{
    constexpr int kFirstModularRelease = 9;
    std::unordered_map<std::string, std::unordered_set<std::string>> exports;  // module -> packages
    ctSym.forEachClass(release, [&](std::string_view module, std::string_view package, std::string_view simple) {
        if (release >= kFirstModularRelease) {
            auto [it, fresh] = exports.try_emplace(std::string(module));
            if (fresh) {
                ResourceBytes bytes;
                std::vector<std::string> list;
                if (ctSym.readModuleInfo(release, module, bytes) &&
                    readUnqualifiedExports(bytes.data, bytes.size, list))
                    it->second.insert(list.begin(), list.end());
            }
            if (!it->second.count(std::string(package)))
                return;
        }
        add(package, simple, source, moduleRankOf(module));
    });
}

void ClassIndex::listSources(ClassLibrary& library, bool probeImage)
{
    const auto& sources = library.sources();
    for (size_t i = 0; i < sources.size() && i <= 0xFFFF; ++i) {
        const uint16_t source = uint16_t(i);
        ClassSource* s = sources[i].get();
        if (const auto* image = dynamic_cast<const JImageSource*>(s)) {
            if (!probeImage || !probeJImage(image->image(), library.jdkHome(), source))
                listJImage(image->image(), source);
        } else if (dynamic_cast<const JarSource*>(s)) {
            listJar(s->location(), source);
        } else if (dynamic_cast<const FolderSource*>(s)) {
            listFolder(s->location(), source);
        } else if (const auto* stubs = dynamic_cast<const CtSymSource*>(s)) {
            listCtSym(stubs->ctSym(), stubs->release(), source);
        }
    }
}

std::unique_ptr<ClassIndex> ClassIndex::buildForName(ClassLibrary& library, std::string_view simpleBinaryName)
{
    std::unique_ptr<ClassIndex> index(new ClassIndex);
    index->library_ = &library;
    if (simpleBinaryName.empty() || simpleBinaryName.find_first_of("/.;[") != std::string_view::npos)
        return index;
    index->only_ = std::string(simpleBinaryName);
    index->listSources(library, true);
    index->traits_.assign(index->entries_.size(), 0);
    return index;
}

std::unique_ptr<ClassIndex> ClassIndex::buildForInitial(ClassLibrary& library, char initial, bool memberForm)
{
    std::unique_ptr<ClassIndex> index(new ClassIndex);
    index->library_ = &library;
    index->initial_ = lowerAscii(initial);
    index->memberForm_ = memberForm;
    if (initial != 0)
        index->listSources(library, false);
    index->traits_.assign(index->entries_.size(), 0);
    return index;
}

std::unique_ptr<ClassIndex> ClassIndex::build(ClassLibrary& library)
{
    std::unique_ptr<ClassIndex> index(new ClassIndex);
    index->library_ = &library;
    index->names_.reserve(1u << 20);
    index->lower_.reserve(1u << 20);
    index->entries_.reserve(1u << 15);
    index->listSources(library, false);
    index->names_.shrink_to_fit();
    index->lower_.shrink_to_fit();
    index->entries_.shrink_to_fit();
    index->traits_.assign(index->entries_.size(), 0);
    return index;
}

}  // namespace platform::classlib
