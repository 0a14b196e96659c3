#pragma once
// The class library: the JDK's classes and the CLASSPATH entries, searched in
// that order, with a process-wide cache of parsed classes. JavaClass::forName
// uses ClassLibrary::system(); tests build their own libraries.

#include <QString>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/classlib/ClassSource.h"
#include "platform/classlib/JavaClass.h"

namespace platform::classlib {

class CtSym;
struct LoadedClass;

class ClassLibrary {
public:
    // What discovery looks at; the process's own values by default.
    struct Environment {
        std::string javaHome;   // JAVA_HOME ("" when unset)
        std::string path;       // PATH
        std::string classPath;  // CLASSPATH
        bool classPathSet = false;
        // Entries searched after CLASSPATH's (a project's compile classpath):
        // jars or class folders, no wildcards.
        std::vector<std::string> appendedClassPath;
        std::string defaultJava = "/usr/lib/jvm/default-java";
        // The process's variables, and the entries given to appendToSystemClassPath.
        // The release whose API to read ("8", "11"), as typed after --release;
        // "" for the JDK's own. One the JDK cannot serve gives a warning and
        // the JDK's own.
        std::string release;
        static Environment fromProcess();
    };

    // Finds the JDK: JAVA_HOME, else the `java` on PATH followed through its
    // links, else defaultJava; in it lib/modules (JDK 9+), else jre/lib/rt.jar
    // or lib/rt.jar (JDK 8 and older). Then the CLASSPATH entries, in order.
    static std::unique_ptr<ClassLibrary> discover(const Environment& env);

    // The process's library, discovered once on first use.
    static ClassLibrary& system();
    // The release system() is to read (--release's text); call before its first use.
    static void requestSystemRelease(std::string release);

    // Adds entries after CLASSPATH's in the process's library, so that the
    // lookup, the class index and the completion all see them. Only before
    // system() is first used (the library is never changed under its
    // readers); false, with nothing added, afterwards.
    static bool appendToSystemClassPath(const std::vector<std::string>& entries);

    ClassLibrary(std::vector<std::unique_ptr<ClassSource>> sources, std::string jdkHome = {}, std::string warning = {});
    ~ClassLibrary();

    // JavaClass::forName's rules, the old Swing naming included.
    std::shared_ptr<const JavaClass> forName(const QString& binaryName);

    // The JDK whose classes are read ("" when none) and its class library file.
    const std::string& jdkHome() const { return jdkHome_; }
    const std::string& jdkLibrary() const { return jdkLibrary_; }
    // Lines for standard error at start-up (one per problem, joined by "\n"),
    // "" when all is well.
    const std::string& warning() const { return warning_; }
    // Why a class may be missing although it should be there: the line
    // "javaorvel: JDK image <file> is damaged: <reason>" for a JDK image whose
    // index reaches past its resources, else "". Checking decodes the image's
    // whole location table, so it is asked only after a class was not found;
    // the answer is kept.
    std::string notFoundExplanation();

    // The sources in search order: the JDK's first (when one was found), then
    // the CLASSPATH entries. The class index lists them.
    const std::vector<std::unique_ptr<ClassSource>>& sources() const { return sources_; }

    // Where a class's file was found, so that its source can be looked for beside it.
    struct Origin {
        enum class Kind { None, JdkImage, JdkJar, Jar, Folder };
        Kind kind = Kind::None;
        std::string location;  // lib/modules, rt.jar, the CLASSPATH jar or folder
        std::string module;    // JdkImage: the module that holds the class's package
    };
    Origin originOf(const std::string& internalName);

    // The class linked with its supertypes; nullptr when it cannot be loaded.
    std::shared_ptr<const LoadedClass> linkedClass(const std::string& internalName);

    // The release whose classes the JDK part serves: --release's, else the
    // JDK's own (from java.lang.Object's class-file version); 0 when unknown.
    int release() const { return release_; }
    // The releases whose libraries releaseLibrary() gives, ascending: the
    // JDK's lib/ct.sym's up to release(), and release() itself. Opens ct.sym
    // on first use; only release() when it cannot be read.
    std::vector<int> releasesUpToThis();
    // The library of an earlier release (the JDK's classes only, no
    // CLASSPATH), made on first use and kept; this library for release();
    // nullptr for a release not in releasesUpToThis().
    ClassLibrary* releaseLibrary(int release);

    // Drops every parsed class (the benchmark's cold start). Classes already
    // handed out stay valid.
    void clearCache();

private:
    static std::vector<std::string>& systemAppendedClassPath();
    static bool& systemDiscovered();
    std::shared_ptr<const LoadedClass> load(const std::string& internalName, int depth);
    std::shared_ptr<const LoadedClass> loadArray(const std::string& descriptor);
    std::shared_ptr<const JavaClass> findDirect(const QString& binaryName, bool oldSwing, const QString& shownName);

    std::vector<std::unique_ptr<ClassSource>> sources_;
    std::string jdkHome_;
    std::string jdkLibrary_;
    std::string warning_;
    std::mutex explanationMutex_;
    std::optional<std::string> explanation_;
    int release_ = 0;
    std::shared_ptr<CtSym> ctSym_;
    bool ctSymTried_ = false;
    std::unordered_map<int, std::unique_ptr<ClassLibrary>> releaseLibraries_;

    std::recursive_mutex mutex_;
    std::unordered_map<std::string, std::shared_ptr<const LoadedClass>> cache_;
    std::unordered_set<std::string> loading_;
};

}  // namespace platform::classlib
