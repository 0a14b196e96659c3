#pragma once
// Where a class's documentation and sources may be, found from the class
// library's entries alone: NAME-javadoc.jar and NAME-sources.jar beside a jar
// (a folder of jars, a Maven repository) or in a sibling folder of a Gradle
// cache, the JDK's own documentation, the folders of JAVAORVEL_DOC_PATH and
// the installed javadoc packages. Finding them stats a few paths per jar and
// reads nothing; a root's package list is read only when a class asks.

#include <QString>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace javadoc::source {

struct RootCandidate {
    enum class Kind {
        JavadocJar,     // NAME-javadoc.jar of a class library jar
        JdkDocs,        // the documentation of the JDK being read
        DocPath,        // a folder of JAVAORVEL_DOC_PATH
        InstalledDocs,  // an installed javadoc package
        SourcesJar,     // NAME-sources.jar of a class library jar
        JdkSources,     // the JDK's src.zip
    };
    Kind kind;
    std::string path;  // a folder, or an archive when isArchive
    bool isArchive;
};

// The archives NAME+suffix ("-javadoc.jar", "-sources.jar") that exist for
// the jar NAME.jar: beside it (a folder of jars, a Maven repository's version
// folder), then in the sibling hash folders of a Gradle cache
// (files-2.1/GROUP/ARTIFACT/VERSION/HASH/FILE).
std::vector<std::string> archivesBeside(const std::string& jar, const char* suffix);

// "javadoc-jar", "jdk-docs", ...: for listings.
const char* kindName(RootCandidate::Kind kind);

struct RootEnvironment {
    std::vector<std::string> classPathEntries;  // jars and class folders, in search order
    std::string jdkHome;                        // "" when none
    std::string docPath;                        // JAVAORVEL_DOC_PATH
    // Folders whose */api subfolders are installed javadoc, and folders whose
    // every subfolder is: /usr/share/doc and /usr/share/javadoc.
    std::vector<std::string> installedApiParents = {"/usr/share/doc"};
    std::vector<std::string> installedDocFolders = {"/usr/share/javadoc"};
    // Where the JDK's packaged documentation lives (Debian's openjdk-N-*).
    std::string packagedDocRoot = "/usr/share/doc";
};

class RootFinder {
public:
    explicit RootFinder(const RootEnvironment& env);

    // Every candidate in the order they are tried.
    const std::vector<RootCandidate>& documentation() const { return docs_; }
    const std::vector<RootCandidate>& sources() const { return sources_; }

    // Whether the documentation root's element-list or package-list names the
    // package ("java.util"); read once per root. The default package is never named.
    bool namesPackage(const std::string& root, bool isArchive, const std::string& package);
    // Whether the source root holds the top-level class's file
    // ("java/util/Map" → java/util/Map.java, or MODULE/java/util/Map.java).
    bool holdsSource(const RootCandidate& root, const std::string& topInternalName, const std::string& module) const;

    // The documentation candidates whose package list names the package, in order.
    std::vector<const RootCandidate*> documentationFor(const std::string& package);

private:
    std::vector<RootCandidate> docs_;
    std::vector<RootCandidate> sources_;
    std::unordered_map<std::string, std::set<std::string, std::less<>>> packages_;  // by root
};

// The package names of an element-list or package-list ("module:" lines skipped).
std::set<std::string, std::less<>> parsePackageList(std::string_view text);

}  // namespace javadoc::source
