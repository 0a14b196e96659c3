// Markdown comments against a newer JDK's javadoc: a small library written
// with /// comments, its page made by that javadoc, and each member's text
// from the source compared with the text our page reader takes from the page.
// Skipped when no JDK that knows /// comments is installed.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "javadoc/Extractor.h"
#include "javadoc/source/SourceDocs.h"
#include "platform/classlib/ClassLibrary.h"
#include "tests/support/JdkTools.h"
#include "tests/support/PageFiles.h"

using platform::classlib::ClassLibrary;
using test_support::runTool;

namespace {

const QString kMarkdownJdk = QStringLiteral("/usr/lib/jvm/temurin-25-jdk-amd64/bin/");

const char* const kSource = R"(package md;

import java.util.List;

/// A class documented in Markdown.
public class Notes {
    /// Creates it.
    public Notes() { }

    /// Joins two parts, see [#split(String)].
    ///
    /// A second paragraph with `code <b>`, *emphasis* and **strong** text,
    /// spanning two lines.
    ///
    /// @param a the first part
    /// @param b the `second` part
    /// @return the joined text
    /// @throws IllegalArgumentException when a part is empty
    /// @since 1.2
    public String join(String a, String b) { return a + b; }

    /// Splits the text:
    ///
    /// - at every comma
    /// - at every semicolon,
    ///   which ends a group
    ///
    /// 1. first the commas
    /// 2. then the rest
    ///
    /// @param text the text
    /// @return the parts, in a [List]
    public List<String> split(String text) { return null; }

    /// Runs the code:
    /// ```
    /// Notes n = new Notes();
    /// n.run(1 < 2);
    /// ```
    /// Indented code too:
    ///
    ///     int x = 1;
    ///
    /// Calls [java.util.List#add(Object)] and [the size][List#size()], as told
    /// [here](https://example.org/run) and {@link #join(String, String) there}.
    ///
    /// @param fast whether to hurry
    /// @see List
    public void run(boolean fast) { }

    /** A traditional comment next to them.
     * @param n the count */
    public void count(int n) { }
}
)";

// Methods only: this reader does not find constructors on the newer pages
// (their anchors changed), which is the page side's matter.
struct Member {
    const char* name;
    int commas;
    const char* leaf;  // the member tree's text
};

const Member kMembers[] = {
    {"join", 1, "join  String join(String,String)"},
    {"split", 0, "split  List split(String)"},
    {"run", 0, "run  void run(boolean)"},
    {"count", 0, "count  void count(int)"},
};

class MarkdownOracle : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!QFileInfo(kMarkdownJdk + "javadoc").isExecutable())
            return;
        dir_ = new QTemporaryDir;
        const QString d = dir_->path();
        const QString file = javadoc_test::writeFile(d + "/src", "md/Notes.java", kSource);
        built_ = runTool(kMarkdownJdk + "javac", {"--release", "17", "-d", d + "/classes", file}) &&
            runTool(kMarkdownJdk + "jar", {"cf", d + "/md.jar", "-C", d + "/classes", "."}) &&
            runTool(kMarkdownJdk + "jar", {"cf", d + "/md-sources.jar", "-C", d + "/src", "."}) &&
            runTool(kMarkdownJdk + "javadoc", {"-quiet", "-Xdoclint:none", "-d", d + "/api", file});
    }
    static void TearDownTestSuite() { delete dir_; }

    void SetUp() override
    {
        if (!dir_)
            GTEST_SKIP() << "no JDK with Markdown comments at " << kMarkdownJdk.toStdString();
        ASSERT_TRUE(built_) << "javac, jar or javadoc failed on the fixture";
    }

    static inline QTemporaryDir* dir_ = nullptr;
    static inline bool built_ = false;
};

}  // namespace

TEST_F(MarkdownOracle, SourceTextIsThePagesText)
{
    ClassLibrary::Environment env;
    env.javaHome = ClassLibrary::system().jdkHome();
    env.classPath = (dir_->path() + "/md.jar").toStdString();
    env.classPathSet = true;
    const std::unique_ptr<ClassLibrary> lib = ClassLibrary::discover(env);
    javadoc::source::SourceDocs docs(*lib);
    for (const Member& m : kMembers) {
        const QString group = "md.Notes";
        javadoc::DocRequest request = javadoc_test::request(dir_->path() + "/api", m.name, m.commas, group);
        request.nameText = request.name2 = "md.Notes";
        const QString page = javadoc::doit(request).text;
        const QString source = docs.document({m.name, m.commas, group, "md.Notes", m.leaf});
        ASSERT_FALSE(page.isEmpty()) << m.name;
        EXPECT_EQ(source, page) << m.name;
    }
}
