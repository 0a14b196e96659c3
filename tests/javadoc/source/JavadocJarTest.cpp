// Documentation with no root configured: a library's -javadoc.jar found
// beside its jar (a folder, a Maven repository, a Gradle cache) and read in
// place; a damaged one leaves the next root working (a FIFO or an archive
// of 100,000 entries is refused or read as ZipArchiveTest shows).

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "javadoc/PageSource.h"
#include "javadoc/source/FoundRoots.h"
#include "tests/support/Files.h"
#include "tests/support/ZipWriter.h"

namespace {

// A JDK 17 method section, as javadoc writes it.
const QByteArray kPage = "<meta name=\"generator\" content=\"javadoc/ClassWriterImpl\">\n"
                         "<section class=\"detail\" id=\"length()\">\n<h3>length</h3>\n<div class=\"member-signature\">"
                         "<span class=\"modifiers\">public</span>&nbsp;<span class=\"return-type\">int</span>&nbsp;"
                         "<span class=\"element-name\">length</span>()</div>\n"
                         "<div class=\"block\">Counts the parts.</div>\n</section>\n";

bool documentsLength(const QStringList& extra, const QString& className = "org.example.Widget")
{
    javadoc::DocSelection selection;
    selection.args = {"length", 0, className, QStringList {}};
    selection.nameText = selection.name2 = className;
    const auto doc = javadoc::DocService({{}, {}, extra}).document(selection);
    return doc && doc->text.contains("Counts the parts.");
}

}  // namespace

// Found in the layout whose jars lie furthest apart (the other layouts are
// RootFinderTest's) and read in place.
TEST(JavadocJar, FoundBesideTheLibraryAndReadInPlace)
{
    const QString jar = "files-2.1/org.example/w/1.0/aa11/w-1.0.jar";
    const QString docs = "files-2.1/org.example/w/1.0/bb22/w-1.0-javadoc.jar";
    QTemporaryDir dir;
    ASSERT_TRUE(test_support::writeFile(dir.filePath(jar), test_support::buildZip({{"x", "y"}}).bytes));
    ASSERT_TRUE(test_support::writeFile(dir.filePath(docs),
        test_support::buildZip({{"element-list", "org.example\n"}, {"org/example/Widget.html", kPage},
                                   {"org/example/Widget.Part.html", kPage}})
            .bytes));
    javadoc::source::RootEnvironment env {{dir.filePath(jar).toStdString()}, "", "", {}, {}, ""};
    javadoc::source::RootFinder finder(env);
    const QStringList roots = javadoc::source::foundDocRoots(finder, "org.example.Widget");
    ASSERT_EQ(roots, QStringList {javadoc::jarRoot(dir.filePath(docs))});
    EXPECT_TRUE(documentsLength(roots));
    EXPECT_TRUE(documentsLength(roots, "org.example.Widget$Part"));  // through the element-list
    // A library's root never answers for the JDK's packages.
    EXPECT_TRUE(javadoc::source::foundDocRoots(finder, "java.util.Map").isEmpty());
}

TEST(JavadocJar, ADamagedJarIsNoPageAndTheNextRootStillAnswers)
{
    QTemporaryDir dir;
    const QString good = dir.filePath("good-javadoc.jar");
    ASSERT_TRUE(test_support::writeFile(good, test_support::buildZip({{"org/example/Widget.html", kPage}}).bytes));
    test_support::BuiltZip huge = test_support::buildZip({{"org/example/Widget.html", kPage, false}});
    for (const qsizetype field : {test_support::kCentralSize, test_support::kCentralCompressedSize})
        test_support::set32(huge.bytes, huge.directoryAt + field, 1u << 30);  // a page claiming 1 GB
    const std::pair<QString, QByteArray> cases[] = {
        {"text-javadoc.jar", "not a zip\n"},
        {"huge-javadoc.jar", huge.bytes},
        {"lying-javadoc.jar", test_support::buildZip({{"element-list", "org.example\n"}}).bytes},
    };
    for (const auto& [name, bytes] : cases) {
        ASSERT_TRUE(test_support::writeFile(dir.filePath(name), bytes));
        EXPECT_FALSE(documentsLength({javadoc::jarRoot(dir.filePath(name))})) << name.toStdString();
        EXPECT_TRUE(documentsLength({javadoc::jarRoot(dir.filePath(name)), javadoc::jarRoot(good)}))
            << name.toStdString();
    }
}
