// Documentation with no root configured: a library's -javadoc.jar found
// beside its jar (a folder, a Maven repository, a Gradle cache) and read in
// place; a damaged one leaves the rest working.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QTemporaryDir>

#include "javadoc/PageSource.h"
#include "javadoc/source/FoundRoots.h"
#include "tests/support/Files.h"
#include "tests/support/ZipWriter.h"

namespace {

const QByteArray kElementList = "org.example\n";
// A JDK 17 method section, as javadoc writes it.
const QByteArray kPage =
    "<!DOCTYPE HTML>\n<html lang=\"en\">\n<head>\n"
    "<meta name=\"generator\" content=\"javadoc/ClassWriterImpl\">\n</head>\n<body>\n"
    "<section class=\"detail\" id=\"length()\">\n<h3>length</h3>\n"
    "<div class=\"member-signature\"><span class=\"modifiers\">public</span>&nbsp;"
    "<span class=\"return-type\">int</span>&nbsp;<span class=\"element-name\">length</span>()"
    "</div>\n<div class=\"block\">Counts the widget's parts.</div>\n</section>\n</body>\n</html>\n";

QByteArray javadocJar(const QByteArray& list = kElementList, const QByteArray& page = kPage)
{
    return test_support::buildZip(
        {{"element-list", list}, {"org/example/Widget.html", page}, {"org/example/Widget.Part.html", page}})
        .bytes;
}

std::optional<javadoc::MemberDoc> lengthDoc(const QStringList& extra, const QString& className = "org.example.Widget")
{
    const javadoc::DocService service({{}, {}, extra});
    javadoc::DocSelection selection;
    selection.args = {"length", 0, className, QStringList {}};
    selection.nameText = selection.name2 = className;
    return service.document(selection);
}

}  // namespace

TEST(JavadocJar, FoundBesideTheLibraryInEveryLayoutAndReadInPlace)
{
    const char* layouts[][2] = {
        {"lib/widget.jar", "lib/widget-javadoc.jar"},
        {"m2/org/example/widget/1.0/widget-1.0.jar", "m2/org/example/widget/1.0/widget-1.0-javadoc.jar"},
        {"gradle/files-2.1/org.example/widget/1.0/aa11/widget-1.0.jar",
            "gradle/files-2.1/org.example/widget/1.0/bb22/widget-1.0-javadoc.jar"},
    };
    for (const auto& [jar, docs] : layouts) {
        QTemporaryDir dir;
        ASSERT_TRUE(test_support::writeFile(dir.filePath(jar), test_support::buildZip({{"x", "y"}}).bytes));
        ASSERT_TRUE(test_support::writeFile(dir.filePath(docs), javadocJar()));
        javadoc::source::RootEnvironment env;
        env.classPathEntries = {dir.filePath(jar).toStdString()};
        env.installedApiParents = env.installedDocFolders = {};
        javadoc::source::RootFinder finder(env);
        const QStringList roots = javadoc::source::foundDocRoots(finder, "org.example.Widget");
        ASSERT_EQ(roots, QStringList {javadoc::jarRoot(dir.filePath(docs))}) << jar;
        const auto doc = lengthDoc(roots);
        ASSERT_TRUE(doc) << jar;
        EXPECT_TRUE(doc->text.contains("Counts the widget's parts.")) << jar;
        const auto nested = lengthDoc(roots, "org.example.Widget$Part");  // found through the element-list
        EXPECT_TRUE(nested && nested->text.contains("Counts the widget's parts.")) << jar;
        // A library's root never answers for the JDK's packages.
        EXPECT_TRUE(javadoc::source::foundDocRoots(finder, "java.util.Map").isEmpty()) << jar;
    }
}

TEST(JavadocJar, ADamagedJarIsNoPageAndTheNextRootStillAnswers)
{
    QTemporaryDir dir;
    const QString good = dir.filePath("good-javadoc.jar");
    ASSERT_TRUE(test_support::writeFile(good, javadocJar()));
    test_support::BuiltZip huge = test_support::buildZip({{"org/example/Widget.html", kPage, false}});
    test_support::set32(huge.bytes, huge.directoryAt + test_support::kCentralSize, 1u << 30);
    test_support::set32(huge.bytes, huge.directoryAt + test_support::kCentralCompressedSize, 1u << 30);
    std::vector<test_support::ZipEntry> many;
    for (int i = 0; i < 100000; ++i) many.push_back({"p/C" + QByteArray::number(i) + ".html", "", false});
    many.push_back({"org/example/Widget.html", "<html></html>\n", false});
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"text-javadoc.jar", "not a zip at all\n"},
        {"huge-javadoc.jar", huge.bytes},  // a page claiming 1 GB
        {"many-javadoc.jar", test_support::buildZip(many).bytes},
        {"lying-javadoc.jar", test_support::buildZip({{"element-list", kElementList}}).bytes},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(test_support::writeFile(dir.filePath(c.name), c.bytes));
        EXPECT_FALSE(lengthDoc({javadoc::jarRoot(dir.filePath(c.name))})) << c.name;
        const auto doc = lengthDoc({javadoc::jarRoot(dir.filePath(c.name)), javadoc::jarRoot(good)});
        EXPECT_TRUE(doc && doc->text.contains("Counts the widget's parts.")) << c.name;
    }
    const QString fifo = dir.filePath("fifo-javadoc.jar");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    EXPECT_FALSE(lengthDoc({javadoc::jarRoot(fifo)}));
}
