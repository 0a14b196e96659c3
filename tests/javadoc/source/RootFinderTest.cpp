// Documentation roots and source archives found beside the class library's
// entries, in a made-up layout of every kind: no JDK or installed package needed.

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "javadoc/source/RootFinder.h"
#include "tests/support/Files.h"
#include "tests/support/ZipWriter.h"

using javadoc::source::RootCandidate;
using javadoc::source::RootEnvironment;
using javadoc::source::RootFinder;
using Kind = RootCandidate::Kind;

namespace {

// A zip of stored entries: what a -javadoc.jar or -sources.jar is to the reader.
QByteArray storedZip(const std::vector<std::pair<QByteArray, QByteArray>>& entries)
{
    std::vector<test_support::ZipEntry> stored;
    for (const auto& [name, data] : entries) stored.push_back({name, data, false});
    return test_support::buildZip(stored).bytes;
}

class RootFinderTest : public ::testing::Test {
protected:
    std::string at(const char* relative) const { return (dir_.path() + "/" + relative).toStdString(); }
    void file(const char* relative, const QByteArray& bytes) const
    {
        ASSERT_TRUE(test_support::writeFile(dir_.path() + "/" + relative, bytes));
    }

    // Every layout at once: a folder of jars, a Maven repository, a Gradle
    // cache, a JDK with its docs and src.zip, a JAVAORVEL_DOC_PATH folder and
    // installed packages (one of them another JDK's documentation).
    RootEnvironment layout() const
    {
        file("lib/alpha-1.0.jar", storedZip({{"a/A.class", "x"}}));
        file("lib/alpha-1.0-javadoc.jar", storedZip({{"element-list", "org.alpha\norg.alpha.util\n"}}));
        file("lib/alpha-1.0-sources.jar", storedZip({{"org/alpha/A.java", "class A {}"}}));
        file("lib/plain.jar", "");
        file("m2/org/beta/beta/2.0/beta-2.0.jar", "");
        file("m2/org/beta/beta/2.0/beta-2.0-javadoc.jar", storedZip({{"package-list", "org.beta\r\n"}}));
        const char* gradle = "gradle/caches/modules-2/files-2.1/org.gamma/gamma/3.0/";
        file((std::string(gradle) + "aaaa/gamma-3.0.jar").c_str(), "");
        file((std::string(gradle) + "bbbb/gamma-3.0-javadoc.jar").c_str(), storedZip({{"package-list", "org.gamma"}}));
        file((std::string(gradle) + "cccc/gamma-3.0-sources.jar").c_str(), storedZip({}));
        file("jdk/release", "JAVA_VERSION=\"17.0.9\"\n");
        file("jdk/lib/src.zip", storedZip({{"java.base/java/util/Vector.java", "class Vector {}"}}));
        file("share/doc/openjdk-17-jre-headless/api/element-list", "module:java.base\njava.util\n");
        file("share/doc/openjdk-21-jre-headless/api/element-list", "module:java.base\njava.util\n");
        file("share/doc/libdelta-java/api/package-list", "org.delta\n");
        file("share/doc/libnothing-java/copyright", "");
        file("mine/element-list", "org.alpha\n");

        RootEnvironment env;
        env.classPathEntries = {at("lib/alpha-1.0.jar"), at("lib/plain.jar"), at("m2/org/beta/beta/2.0/beta-2.0.jar"),
            at("gradle/caches/modules-2/files-2.1/org.gamma/gamma/3.0/aaaa/gamma-3.0.jar"), at("lib")};
        env.jdkHome = at("jdk");
        env.packagedDocRoot = at("share/doc");
        env.docPath = ":" + at("mine") + ":" + at("nowhere");
        env.installedApiParents = {at("share/doc")};
        env.installedDocFolders = {at("javadoc-missing")};
        return env;
    }

    QTemporaryDir dir_;
};

TEST_F(RootFinderTest, CandidatesInTheOrderTheyAreTried)
{
    RootFinder finder(layout());
    std::vector<std::pair<Kind, std::string>> docs, sources;
    for (const RootCandidate& r : finder.documentation()) docs.emplace_back(r.kind, r.path);
    for (const RootCandidate& r : finder.sources()) sources.emplace_back(r.kind, r.path);
    const std::vector<std::pair<Kind, std::string>> wantDocs {
        {Kind::JavadocJar, at("lib/alpha-1.0-javadoc.jar")},
        {Kind::JavadocJar, at("m2/org/beta/beta/2.0/beta-2.0-javadoc.jar")},
        {Kind::JavadocJar, at("gradle/caches/modules-2/files-2.1/org.gamma/gamma/3.0/bbbb/gamma-3.0-javadoc.jar")},
        {Kind::JdkDocs, at("share/doc/openjdk-17-jre-headless/api")},
        {Kind::DocPath, at("mine")},
        // Not openjdk-21's: that JDK is not the one read.
        {Kind::InstalledDocs, at("share/doc/libdelta-java/api")},
    };
    const std::vector<std::pair<Kind, std::string>> wantSources {
        {Kind::SourcesJar, at("lib/alpha-1.0-sources.jar")},
        {Kind::SourcesJar, at("gradle/caches/modules-2/files-2.1/org.gamma/gamma/3.0/cccc/gamma-3.0-sources.jar")},
        {Kind::JdkSources, at("jdk/lib/src.zip")},
    };
    EXPECT_EQ(docs, wantDocs);
    EXPECT_EQ(sources, wantSources);
}

TEST_F(RootFinderTest, RootAnswersOnlyForThePackagesItLists)
{
    RootFinder finder(layout());
    const struct {
        const char* package;
        std::vector<std::string> roots;
    } cases[] = {
        {"java.util", {at("share/doc/openjdk-17-jre-headless/api")}},
        {"org.alpha", {at("lib/alpha-1.0-javadoc.jar"), at("mine")}},
        {"org.alpha.util", {at("lib/alpha-1.0-javadoc.jar")}},
        {"org.beta", {at("m2/org/beta/beta/2.0/beta-2.0-javadoc.jar")}},
        {"org.gamma", {at("gradle/caches/modules-2/files-2.1/org.gamma/gamma/3.0/bbbb/gamma-3.0-javadoc.jar")}},
        {"org.delta", {at("share/doc/libdelta-java/api")}},
        {"java.base", {}},  // a module line is no package
        {"org", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> got;
        for (const RootCandidate* root : finder.documentationFor(c.package)) got.push_back(root->path);
        EXPECT_EQ(got, c.roots) << c.package;
    }
}

TEST_F(RootFinderTest, SourceArchivesHoldingTheTopLevelFile)
{
    RootFinder finder(layout());
    const auto& sources = finder.sources();
    ASSERT_EQ(sources.size(), 3u);
    EXPECT_TRUE(finder.holdsSource(sources[0], "org/alpha/A", ""));
    EXPECT_FALSE(finder.holdsSource(sources[1], "org/alpha/A", ""));
    EXPECT_TRUE(finder.holdsSource(sources[2], "java/util/Vector", "java.base"));
    EXPECT_FALSE(finder.holdsSource(sources[2], "java/util/Vector", ""));
}

}  // namespace
