#include "javadoc/source/RootFinder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QByteArray>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <optional>
#include <unordered_set>

#include "javadoc/PageSource.h"
#include "javadoc/source/SourceLocator.h"
#include "platform/RegularFile.h"
#include "platform/ZipArchive.h"

namespace javadoc::source {

namespace {

// A package list is a few kB; the JDK's element-list about 10 kB.
constexpr qsizetype kMaxPackageListBytes = 8 << 20;
constexpr char kGradleCache[] = "/files-2.1/";

// One entry of a zip archive; nothing when the archive or the entry cannot be
// read. The one place that knows which zip reader serves the roots.
std::optional<QByteArray> readArchiveEntry(const std::string& archive, const std::string& entry, qsizetype maxBytes)
{
    platform::ZipArchive::OpenError openError;
    const auto zip = platform::ZipArchive::open(archive, openError);
    if (!zip)
        return std::nullopt;
    const auto found = zip->find(entry);
    QByteArray bytes;
    std::string error;
    if (!found || !zip->read(*found, uint64_t(maxBytes), bytes, error))
        return std::nullopt;
    return bytes;
}

bool isRegularFile(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isDirectory(const std::string& path, struct stat* out = nullptr)
{
    struct stat st;
    const bool dir = ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    if (dir && out)
        *out = st;
    return dir;
}

bool endsWithJar(std::string_view path)
{
    if (path.size() < 5)
        return false;
    const std::string_view ext = path.substr(path.size() - 4);
    return ext == ".jar" || ext == ".JAR";
}

std::string parentOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash ? slash : 1);
}

std::string fileNameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Subfolder names of a folder ("." and ".." left out); none when unreadable.
std::vector<std::string> subfolders(const std::string& dir)
{
    std::vector<std::string> names;
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return names;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view name = e->d_name;
        if (name == "." || name == ".." || (e->d_type != DT_DIR && e->d_type != DT_LNK && e->d_type != DT_UNKNOWN))
            continue;
        names.emplace_back(name);
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

// The JDK's feature release from its `release` file (JAVA_VERSION="17.0.9"); 0 when unknown.
int jdkFeature(const std::string& jdkHome)
{
    const auto text = platform::readRegularFile(jdkHome + "/release", 1 << 16);
    if (!text)
        return 0;
    const qsizetype at = text->indexOf("JAVA_VERSION=\"");
    if (at < 0)
        return 0;
    QByteArray version = text->mid(at + 14, 12);
    if (version.startsWith("1."))  // 1.8.0_392
        version = version.mid(2);
    qsizetype digits = 0;
    while (digits < version.size() && version.at(digits) >= '0' && version.at(digits) <= '9') ++digits;
    return version.left(digits).toInt();
}

// Collects candidates in order, each root once (folders compared by identity,
// so a packaged link to the same documentation counts once).
class Collector {
public:
    explicit Collector(std::vector<RootCandidate>& into) : into_(into) { }

    void archive(RootCandidate::Kind kind, const std::string& path)
    {
        if (paths_.insert(path).second && isRegularFile(path))
            into_.push_back({kind, path, true});
    }
    void folder(RootCandidate::Kind kind, const std::string& path)
    {
        struct stat st;
        if (!paths_.insert(path).second || !isDirectory(path, &st))
            return;
        if (!identities_.insert((uint64_t(st.st_dev) << 40) ^ uint64_t(st.st_ino)).second)
            return;
        into_.push_back({kind, path, false});
    }

private:
    std::vector<RootCandidate>& into_;
    std::unordered_set<std::string> paths_;
    std::unordered_set<uint64_t> identities_;
};

void besideJar(const std::string& jar, const char* suffix, RootCandidate::Kind kind, Collector& out)
{
    for (const std::string& path : archivesBeside(jar, suffix)) out.archive(kind, path);
}

// A JDK's packaged documentation (openjdk-17-jre-headless/api, or a link to it).
// The PACKAGE/api folders under parent. Stat'ed relative to the open parent:
// /usr/share/doc holds a thousand packages, most without api documentation.
std::vector<std::string> apiFolders(const std::string& parent)
{
    std::vector<std::string> found;
    DIR* d = ::opendir(parent.c_str());
    if (!d)
        return found;
    const int fd = ::dirfd(d);
    while (const dirent* e = ::readdir(d)) {
        const std::string_view name = e->d_name;
        if (name == "." || name == ".." || e->d_type == DT_REG)
            continue;
        struct stat st;
        const std::string api = std::string(name) + "/api";
        if (::fstatat(fd, api.c_str(), &st, 0) == 0 && S_ISDIR(st.st_mode))
            found.push_back(parent + "/" + api);
    }
    ::closedir(d);
    std::sort(found.begin(), found.end());
    return found;
}

bool isJdkDocumentation(const std::string& folder)
{
    char resolved[PATH_MAX];
    if (!::realpath(folder.c_str(), resolved))
        return false;
    const std::string real = resolved;
    return fileNameOf(real).rfind("openjdk-", 0) == 0 || fileNameOf(parentOf(real)).rfind("openjdk-", 0) == 0;
}

}  // namespace

std::vector<std::string> archivesBeside(const std::string& jar, const char* suffix)
{
    std::vector<std::string> found;
    const std::string name = fileNameOf(jar);
    if (!endsWithJar(name))
        return found;
    const std::string wanted = name.substr(0, name.size() - 4) + suffix;
    const std::string hashFolder = parentOf(jar);
    if (isRegularFile(hashFolder + "/" + wanted))
        found.push_back(hashFolder + "/" + wanted);

    const size_t cache = jar.rfind(kGradleCache);
    if (cache == std::string::npos ||
        std::count(jar.begin() + ptrdiff_t(cache + sizeof kGradleCache - 1), jar.end(), '/') != 4)
        return found;
    const std::string versionFolder = parentOf(hashFolder);
    const std::string ownHash = fileNameOf(hashFolder);
    for (const std::string& hash : subfolders(versionFolder))
        if (const std::string path = versionFolder + "/" + hash + "/" + wanted; hash != ownHash && isRegularFile(path))
            found.push_back(path);
    return found;
}

const char* kindName(RootCandidate::Kind kind)
{
    switch (kind) {
    case RootCandidate::Kind::JavadocJar:
        return "javadoc-jar";
    case RootCandidate::Kind::JdkDocs:
        return "jdk-docs";
    case RootCandidate::Kind::DocPath:
        return "doc-path";
    case RootCandidate::Kind::InstalledDocs:
        return "installed";
    case RootCandidate::Kind::SourcesJar:
        return "sources-jar";
    case RootCandidate::Kind::JdkSources:
        return "jdk-sources";
    }
    return "";
}

RootFinder::RootFinder(const RootEnvironment& env)
{
    Collector docs(docs_);
    Collector sources(sources_);
    for (const std::string& entry : env.classPathEntries) {
        if (!endsWithJar(entry))
            continue;
        besideJar(entry, "-javadoc.jar", RootCandidate::Kind::JavadocJar, docs);
        besideJar(entry, "-sources.jar", RootCandidate::Kind::SourcesJar, sources);
    }
    if (!env.jdkHome.empty()) {
        docs.folder(RootCandidate::Kind::JdkDocs, env.jdkHome + "/docs/api");
        if (const int feature = jdkFeature(env.jdkHome); feature > 0) {
            const std::string packaged = env.packagedDocRoot + "/openjdk-" + std::to_string(feature);
            docs.folder(RootCandidate::Kind::JdkDocs, packaged + "-doc/api");
            docs.folder(RootCandidate::Kind::JdkDocs, packaged + "-jre-headless/api");
        }
        sources.archive(RootCandidate::Kind::JdkSources, env.jdkHome + "/lib/src.zip");
        sources.archive(RootCandidate::Kind::JdkSources, env.jdkHome + "/src.zip");
    }
    size_t start = 0;
    while (start <= env.docPath.size()) {
        const size_t colon = std::min(env.docPath.find(':', start), env.docPath.size());
        if (colon > start)
            docs.folder(RootCandidate::Kind::DocPath, env.docPath.substr(start, colon - start));
        start = colon + 1;
    }
    // Another JDK's documentation would answer for java.util wrongly: only
    // the JDK being read brings its own, above.
    for (const std::string& parent : env.installedApiParents)
        for (const std::string& api : apiFolders(parent))
            if (!isJdkDocumentation(api))
                docs.folder(RootCandidate::Kind::InstalledDocs, api);
    for (const std::string& parent : env.installedDocFolders)
        for (const std::string& package : subfolders(parent))
            if (const std::string folder = parent + "/" + package; !isJdkDocumentation(folder))
                docs.folder(RootCandidate::Kind::InstalledDocs, folder);
}

std::set<std::string, std::less<>> parsePackageList(std::string_view text)
{
    std::set<std::string, std::less<>> packages;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
        if (!line.empty() && line.rfind("module:", 0) != 0)
            packages.emplace(line);
        start = end + 1;
    }
    return packages;
}

bool RootFinder::namesPackage(const std::string& root, bool isArchive, const std::string& package)
{
    if (package.empty())
        return false;
    auto it = packages_.find(root);
    if (it == packages_.end()) {
        std::optional<QByteArray> list;
        for (const char* name : {"element-list", "package-list"}) {
            list = isArchive ? javadoc::readJarEntry(root, name, kMaxPackageListBytes)
                             : platform::readRegularFile(root + "/" + name, kMaxPackageListBytes);
            if (list)
                break;
        }
        it = packages_
                 .emplace(root,
                     list ? parsePackageList(std::string_view(list->constData(), size_t(list->size())))
                          : std::set<std::string, std::less<>>())
                 .first;
    }
    return it->second.count(package) != 0;
}

bool RootFinder::holdsSource(
    const RootCandidate& root, const std::string& topInternalName, const std::string& module) const
{
    const std::string file = topInternalName + ".java";
    if (readArchiveEntry(root.path, file, SourceLocator::kMaxSourceBytes))
        return true;
    return root.kind == RootCandidate::Kind::JdkSources && !module.empty() &&
        readArchiveEntry(root.path, module + "/" + file, SourceLocator::kMaxSourceBytes).has_value();
}

std::vector<const RootCandidate*> RootFinder::documentationFor(const std::string& package)
{
    std::vector<const RootCandidate*> found;
    for (const RootCandidate& root : docs_)
        if (namesPackage(root.path, root.isArchive, package))
            found.push_back(&root);
    return found;
}

}  // namespace javadoc::source
