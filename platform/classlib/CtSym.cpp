#include "platform/classlib/CtSym.h"

#include <algorithm>

#include "platform/classlib/ClassFile.h"

namespace platform::classlib {

namespace {

constexpr int kOldestLetterRelease = 7;
constexpr int kNewestLetterRelease = 35;  // 'Z'
constexpr std::string_view kStubExtension = ".sig";
constexpr std::string_view kModuleInfo = "module-info.sig";

}  // namespace

char releaseLetter(int release)
{
    if (release < kOldestLetterRelease || release > kNewestLetterRelease)
        return 0;
    return release < 10 ? char('0' + release) : char('A' + release - 10);
}

int releaseOfLetter(char letter)
{
    if (letter >= '7' && letter <= '9')
        return letter - '0';
    if (letter >= 'A' && letter <= 'Z')
        return letter - 'A' + 10;
    return 0;
}

int parseRelease(std::string_view text)
{
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return 0;
    int n = 0;
    for (const char c : text) n = n * 10 + (c - '0');
    return n;
}

std::shared_ptr<CtSym> CtSym::open(const std::string& path, std::string& error)
{
    std::unique_ptr<CtSymZip> zip = CtSymZip::open(path, error);
    if (!zip)
        return nullptr;
    auto ct = std::shared_ptr<CtSym>(new CtSym);
    ct->path_ = path;
    ReleaseMask held = 0;
    ct->classes_.reserve(zip->entryCount());
    ct->stubs_.reserve(zip->entryCount());
    for (size_t i = 0; i < zip->entryCount() && i <= UINT32_MAX; ++i) {
        const std::string_view name = zip->name(i);
        const size_t setEnd = name.find('/');
        const size_t moduleEnd = setEnd == std::string_view::npos ? setEnd : name.find('/', setEnd + 1);
        if (setEnd == 0 || moduleEnd == std::string_view::npos || moduleEnd == setEnd + 1 ||
            name.size() <= kStubExtension.size() || name.substr(name.size() - kStubExtension.size()) != kStubExtension)
            continue;
        // A folder naming a release we do not know is passed over whole:
        // its stubs might belong to any release.
        ReleaseMask mask = 0;
        for (const char letter : name.substr(0, setEnd)) {
            const int release = releaseOfLetter(letter);
            if (release == 0) {
                mask = 0;
                break;
            }
            mask |= ReleaseMask(1) << release;
        }
        if (mask == 0)
            continue;
        const Stub stub {mask, uint32_t(i), uint32_t(setEnd + 1), uint32_t(moduleEnd - setEnd - 1)};
        const std::string_view rest = name.substr(moduleEnd + 1);
        if (rest == kModuleInfo) {
            ct->moduleInfos_.push_back(stub);
            continue;
        }
        const std::string_view internalName = rest.substr(0, rest.size() - kStubExtension.size());
        if (!isValidInternalClassName(internalName))
            continue;
        const auto [it, fresh] = ct->classes_.try_emplace(internalName, uint32_t(ct->stubs_.size()));
        if (!fresh) {
            // Chained behind the first: a class has a stub per release set, seldom more than four.
            uint32_t last = it->second;
            while (ct->stubs_[last].next != kNoStub) last = ct->stubs_[last].next;
            ct->stubs_[last].next = uint32_t(ct->stubs_.size());
        }
        ct->stubs_.push_back(stub);
        held |= mask;
    }
    for (int r = kOldestLetterRelease; r <= kNewestLetterRelease; ++r)
        if (held & (ReleaseMask(1) << r))
            ct->releases_.push_back(r);
    if (ct->releases_.empty()) {
        error = path + ": holds no release's class stubs";
        return nullptr;
    }
    ct->zip_ = std::move(zip);
    return ct;
}

bool CtSym::holds(int release) const
{
    return std::binary_search(releases_.begin(), releases_.end(), release);
}

std::string_view CtSym::moduleName(const Stub& s) const
{
    return zip_->name(s.entry).substr(s.moduleStart, s.moduleLength);
}

const CtSym::Stub* CtSym::stubOf(int release, const std::string& internalName) const
{
    if (!holds(release))
        return nullptr;
    const auto it = classes_.find(std::string_view(internalName));
    for (uint32_t i = it == classes_.end() ? kNoStub : it->second; i != kNoStub; i = stubs_[i].next)
        if (stubs_[i].releases & (ReleaseMask(1) << release))
            return &stubs_[i];
    return nullptr;
}

ClassSource::Result CtSym::find(int release, const std::string& internalName, ResourceBytes& out, std::string& error)
{
    const Stub* stub = stubOf(release, internalName);
    if (!stub)
        return ClassSource::Result::NotFound;
    std::string reason;
    if (!zip_->read(stub->entry, out, reason)) {
        error = std::string(zip_->name(stub->entry)) + " in " + path_ + ": " + reason;
        return ClassSource::Result::Error;
    }
    return ClassSource::Result::Found;
}

std::string CtSym::moduleOf(int release, const std::string& internalName) const
{
    const Stub* stub = stubOf(release, internalName);
    return stub ? std::string(moduleName(*stub)) : std::string();
}

void CtSym::forEachClass(int release,
    const std::function<void(std::string_view module, std::string_view package, std::string_view simple)>& visit) const
{
    if (!holds(release))
        return;
    for (const auto& [name, first] : classes_) {
        for (uint32_t i = first; i != kNoStub; i = stubs_[i].next) {
            const Stub& s = stubs_[i];
            if (!(s.releases & (ReleaseMask(1) << release)))
                continue;
            const size_t slash = name.rfind('/');
            if (slash == std::string_view::npos)
                visit(moduleName(s), {}, name);
            else
                visit(moduleName(s), name.substr(0, slash), name.substr(slash + 1));
            break;
        }
    }
}

bool CtSym::readModuleInfo(int release, std::string_view module, ResourceBytes& out)
{
    if (!holds(release))
        return false;
    for (const Stub& s : moduleInfos_) {
        std::string error;
        if ((s.releases & (ReleaseMask(1) << release)) && moduleName(s) == module)
            return zip_->read(s.entry, out, error);
    }
    return false;
}

}  // namespace platform::classlib
