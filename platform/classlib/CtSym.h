#pragma once
// A JDK's lib/ct.sym: the public API of earlier releases, as class-file stubs
// ("879A/java.base/java/util/Optional.sig"). The top folder's name is the set
// of releases the stub serves, one character each ('7'..'9', then 'A' = 10,
// 'B' = 11, ...); below it the module, then the package path. The central
// directory is read once, at open; stubs are read when asked for.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/classlib/ClassSource.h"
#include "platform/classlib/CtSymZip.h"

namespace platform::classlib {

// A release's folder character; 0 for a release no character names.
char releaseLetter(int release);
// The release a folder character names; 0 for any other character.
int releaseOfLetter(char letter);
// A release number as typed ("8", "11"); 0 for anything else ("", "abc", "-1", "08x").
int parseRelease(std::string_view text);

class CtSym {
public:
    // nullptr with `error` set to one line when the file cannot be read or
    // serves no release.
    static std::shared_ptr<CtSym> open(const std::string& path, std::string& error);

    const std::string& path() const { return path_; }
    // The releases it serves, ascending.
    const std::vector<int>& releases() const { return releases_; }
    bool holds(int release) const;

    // The stub of an internal name in a release.
    ClassSource::Result find(int release, const std::string& internalName, ResourceBytes& out, std::string& error);
    // The module that holds the class in the release; "" when none does.
    std::string moduleOf(int release, const std::string& internalName) const;
    // Every class of the release: module, package ("java/util", "" for none), simple binary name.
    void forEachClass(int release,
        const std::function<void(std::string_view module, std::string_view package, std::string_view simple)>& visit)
        const;
    // The release's module-info stub of a module (9 and later); false when it has none.
    bool readModuleInfo(int release, std::string_view module, ResourceBytes& out);

private:
    using ReleaseMask = uint64_t;  // bit r: release r
    static constexpr uint32_t kNoStub = UINT32_MAX;
    struct Stub {
        ReleaseMask releases;
        uint32_t entry;
        uint32_t moduleStart;  // the module's range of the entry's name
        uint32_t moduleLength;
        uint32_t next = kNoStub;  // the class's next stub in stubs_
    };
    std::string_view moduleName(const Stub& s) const;
    const Stub* stubOf(int release, const std::string& internalName) const;

    std::string path_;
    std::unique_ptr<CtSymZip> zip_;
    std::vector<int> releases_;
    // Internal name (a view into the entry names, which live as long as zip_)
    // -> its first stub; no string is copied.
    std::unordered_map<std::string_view, uint32_t> classes_;
    std::vector<Stub> stubs_;
    std::vector<Stub> moduleInfos_;
};

// ClassSource over one release of a ct.sym.
class CtSymSource : public ClassSource {
public:
    CtSymSource(std::shared_ptr<CtSym> ctSym, int release) : ctSym_(std::move(ctSym)), release_(release) { }
    Result find(const std::string& internalName, ResourceBytes& out, std::string& error) override
    {
        return ctSym_->find(release_, internalName, out, error);
    }
    const std::string& location() const override { return ctSym_->path(); }
    CtSym& ctSym() const { return *ctSym_; }
    int release() const { return release_; }

private:
    std::shared_ptr<CtSym> ctSym_;
    int release_;
};

}  // namespace platform::classlib
