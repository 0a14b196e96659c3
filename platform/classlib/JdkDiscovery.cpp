// Which class library the process reads: the JDK (JAVA_HOME, else the java on
// PATH, else the system default), then the CLASSPATH entries.

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <unordered_set>

#include "platform/classlib/ClassLibrary.h"
#include "platform/classlib/CtSym.h"

namespace platform::classlib {

namespace {

bool isDirectory(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegularFile(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::string> splitPathList(const std::string& list)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t colon = list.find(':', start);
        parts.push_back(list.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
        if (colon == std::string::npos)
            break;
        start = colon + 1;
    }
    return parts;
}

// JDK home of the `java` found on PATH, following its links; "" when none.
std::string javaHomeFromPath(const std::string& path)
{
    for (const std::string& dir : splitPathList(path)) {
        // An empty PATH entry is the working folder. (Assigning "." to the
        // entry itself makes GCC 12 at -O3 warn of an overlapping copy.)
        const std::string candidate = (dir.empty() ? std::string(".") : dir) + "/java";
        if (!isRegularFile(candidate) || access(candidate.c_str(), X_OK) != 0)
            continue;
        char resolved[PATH_MAX];
        if (!realpath(candidate.c_str(), resolved))
            continue;
        std::string real(resolved);
        // .../bin/java → ...
        size_t slash = real.rfind('/');
        if (slash == std::string::npos || slash == 0)
            continue;
        real.resize(slash);  // .../bin
        slash = real.rfind('/');
        if (slash == std::string::npos)
            continue;
        real.resize(slash == 0 ? 1 : slash);
        return real;
    }
    return {};
}

// Whether a CLASSPATH entry names a file or folder not met before. A jar
// reached twice (/usr/share/java links versioned and plain names to one jar)
// would only be searched twice for the same classes; the first occurrence
// keeps its place. A file is known by its device and inode: one stat an
// entry, where resolving the path would read every link on the way (a few
// system calls an entry, 3,800 for /usr/share/java/*). An entry that cannot
// be read is kept by its own name.
bool firstOccurrence(const std::string& entry, std::unordered_set<std::string>& seen)
{
    struct stat st { };
    std::string key;
    if (::stat(entry.c_str(), &st) == 0) {
        key = std::to_string(st.st_dev);
        key += ':';
        key += std::to_string(st.st_ino);
    } else {
        key.reserve(entry.size() + 1);
        key += '\0';  // no file's key starts with NUL
        key += entry;
    }
    return seen.insert(std::move(key)).second;
}

// A CLASSPATH entry that is no wildcard: a class folder or a jar.
void addClassPathEntry(const std::string& entry, std::vector<std::unique_ptr<ClassSource>>& sources)
{
    if (isDirectory(entry))
        sources.push_back(std::make_unique<FolderSource>(entry));
    else
        sources.push_back(std::make_unique<JarSource>(entry));
}

// The JDK's own release: java.lang.Object's class-file version less 44; 0
// when unknown.
int releaseOfJdk(ClassSource& jdk)
{
    ResourceBytes bytes;
    std::string error;
    constexpr int kMajorVersionOffset = 6;
    constexpr int kFirstMajorVersion = 44;  // release 1's is 45
    if (jdk.find("java/lang/Object", bytes, error) != ClassSource::Result::Found || bytes.size < 8)
        return 0;
    const int major = bytes.data[kMajorVersionOffset] << 8 | bytes.data[kMajorVersionOffset + 1];
    return major > kFirstMajorVersion ? major - kFirstMajorVersion : 0;
}

std::string heldReleases(const CtSym* ctSym, int own)
{
    const int oldest = ctSym ? std::min(ctSym->releases().front(), own) : own;
    const int newest = ctSym ? std::max(ctSym->releases().back(), own) : own;
    if (oldest == newest)
        return "this JDK holds release " + std::to_string(own) + " only";
    return "this JDK holds releases " + std::to_string(oldest) + " to " + std::to_string(newest);
}

// Swaps the JDK's own classes for an earlier release's stubs from its
// lib/ct.sym. Returns the release now read; on a release the JDK cannot
// serve, warns in one line and keeps the JDK's own.
int applyRelease(std::unique_ptr<ClassSource>& jdk, const std::string& home, const std::string& text,
    std::shared_ptr<CtSym>& ctSym, std::string& warning)
{
    const int own = releaseOfJdk(*jdk);
    const int wanted = parseRelease(text);
    if (wanted != 0 && wanted == own)
        return own;
    std::string error;
    ctSym = CtSym::open(home + "/lib/ct.sym", error);
    if (wanted != 0 && ctSym && ctSym->holds(wanted)) {
        jdk = std::make_unique<CtSymSource>(ctSym, wanted);
        return wanted;
    }
    std::string line = "javaorvel: --release " + text + ": " + heldReleases(ctSym.get(), own);
    if (!ctSym)
        line += " (" + error + ")";
    line += "; reading release " + std::to_string(own);
    warning += (warning.empty() ? "" : "\n") + line;
    return own;
}

}  // namespace

std::vector<std::string>& ClassLibrary::systemAppendedClassPath()
{
    static std::vector<std::string> entries;
    return entries;
}

ClassLibrary::Environment ClassLibrary::Environment::fromProcess()
{
    Environment env;
    if (const char* v = std::getenv("JAVA_HOME"))
        env.javaHome = v;
    if (const char* v = std::getenv("PATH"))
        env.path = v;
    if (const char* v = std::getenv("CLASSPATH")) {
        env.classPath = v;
        env.classPathSet = true;
    }
    env.appendedClassPath = systemAppendedClassPath();
    return env;
}

std::unique_ptr<ClassLibrary> ClassLibrary::discover(const Environment& env)
{
    std::vector<std::unique_ptr<ClassSource>> sources;
    std::string home;
    std::string warning;
    bool jdkOpened = false;

    std::vector<std::string> candidates;
    if (!env.javaHome.empty())
        candidates.push_back(env.javaHome);
    const std::string fromPath = javaHomeFromPath(env.path);
    if (!fromPath.empty())
        candidates.push_back(fromPath);
    candidates.push_back(env.defaultJava);

    for (const std::string& candidate : candidates) {
        if (candidate.empty())
            continue;
        const std::string modules = candidate + "/lib/modules";
        if (isRegularFile(modules)) {
            home = candidate;
            std::string error;
            bool damaged = false;
            const std::string damagedImage = "javaorvel: JDK image " + modules + " is damaged: ";
            if (auto image = JImage::open(modules, error, &damaged)) {
                // A damaged image still serves what it holds; whether it is
                // damaged is asked only once a class is not found
                // (ClassLibrary::notFoundExplanation), not on every start.
                sources.push_back(std::make_unique<JImageSource>(modules, std::move(image)));
                jdkOpened = true;
            } else if (damaged) {
                warning = damagedImage + error.substr(std::min(error.size(), modules.size() + 2));
            } else {
                warning = "javaorvel: cannot read the Java class library " + error;
            }
            break;
        }
        bool found = false;
        for (const char* jar : {"/jre/lib/rt.jar", "/lib/rt.jar"}) {
            const std::string rt = candidate + jar;
            if (!isRegularFile(rt))
                continue;
            home = candidate;
            auto source = std::make_unique<JarSource>(rt);
            const std::string error = source->open();
            if (error.empty()) {
                sources.push_back(std::move(source));
                jdkOpened = true;
            } else {
                warning = "javaorvel: cannot read the Java class library " + error;
            }
            found = true;
            break;
        }
        if (found)
            break;
    }
    int release = 0;
    std::shared_ptr<CtSym> ctSym;
    if (jdkOpened)
        release = env.release.empty() ? releaseOfJdk(*sources.front())
                                      : applyRelease(sources.front(), home, env.release, ctSym, warning);
    if (home.empty())
        warning = "javaorvel: no Java class library found (no JDK under JAVA_HOME, the java on PATH or " +
            env.defaultJava + "); every class lookup will report the class as not found";
    else if (!env.javaHome.empty() && home != env.javaHome)
        // A JAVA_HOME set on purpose and passed over deserves a word.
        warning = "javaorvel: JAVA_HOME " + env.javaHome + " is not a JDK (it has no lib/modules or rt.jar); using " +
            home + " instead" + (warning.empty() ? "" : "\n" + warning);

    // CLASSPATH, in order; an empty entry is the current folder and "dir/*"
    // every jar in dir, as for the JVM.
    std::unordered_set<std::string> seen;
    if (env.classPathSet && !env.classPath.empty()) {
        for (std::string entry : splitPathList(env.classPath)) {
            if (entry.empty())
                entry = ".";
            if (entry == "*" || (entry.size() >= 2 && entry.compare(entry.size() - 2, 2, "/*") == 0)) {
                const std::string dir = entry.size() == 1 ? "." : entry.substr(0, entry.size() - 2);
                std::vector<std::string> jars;
                if (DIR* d = opendir(dir.c_str())) {
                    while (const dirent* e = readdir(d)) {
                        const std::string file = e->d_name;
                        if (file.size() > 4 &&
                            (file.compare(file.size() - 4, 4, ".jar") == 0 ||
                                file.compare(file.size() - 4, 4, ".JAR") == 0))
                            jars.push_back(dir + "/" + file);
                    }
                    closedir(d);
                }
                std::sort(jars.begin(), jars.end());
                for (auto& jar : jars)
                    if (firstOccurrence(jar, seen))
                        sources.push_back(std::make_unique<JarSource>(std::move(jar)));
            } else if (firstOccurrence(entry, seen)) {
                addClassPathEntry(entry, sources);
            }
        }
    }
    for (const std::string& entry : env.appendedClassPath)
        if (!entry.empty() && firstOccurrence(entry, seen))
            addClassPathEntry(entry, sources);
    auto library = std::make_unique<ClassLibrary>(std::move(sources), std::string(), std::move(warning));
    library->jdkHome_ = home;
    library->release_ = release;
    library->ctSym_ = std::move(ctSym);
    library->ctSymTried_ = library->ctSym_ != nullptr;
    if (jdkOpened)
        library->jdkLibrary_ = library->sources_.front()->location();
    return library;
}

}  // namespace platform::classlib
