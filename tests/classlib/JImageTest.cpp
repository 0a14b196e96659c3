// The jimage reader: synthetic images in both byte orders, compressed
// resources, corrupted headers and tables, the installed JDK's lib/modules,
// and images written by jlink with zip and compact-cp compression.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstring>
#include <random>

#include "ClassFileBuilder.h"
#include "JImageBuilder.h"
#include "platform/classlib/ClassFile.h"
#include "platform/classlib/ClassLibrary.h"
#include "platform/classlib/JImage.h"

using namespace platform::classlib;
using namespace testing_classlib;

namespace {

std::vector<uint8_t> smallClass(const std::string& name)
{
    ClassSpec c;
    c.name = name;
    c.method(kPublic, "<init>", "()V").method(kPublic, "run", "(I)V");
    return buildClass(c);
}

std::vector<uint8_t> sampleImage(bool bigEndian)
{
    JImageBuilder b;
    b.bigEndian = bigEndian;
    b.addClass("java.base", "java/lang/Object", smallClass("java/lang/Object"));
    b.addClass("m.one", "p/A", smallClass("p/A"));
    b.addClass("m.one", "p/A$Inner", smallClass("p/A$Inner"));
    b.addClass("m.two", "p/q/B", smallClass("p/q/B"));
    b.addClass("m.two", "p/q/Zipped", smallClass("p/q/Zipped"), JImageBuilder::Compression::Zip);
    b.addClass("m.two", "p/q/Packed", smallClass("p/q/Packed"), JImageBuilder::Compression::Other);
    for (int i = 0; i < 30; ++i)
        b.add("m.one", "p", "R" + std::to_string(i), "txt", std::vector<uint8_t>(size_t(i), uint8_t(i)));
    return b.build();
}

std::vector<uint8_t> bytesOf(const ResourceBytes& r) { return {r.data, r.data + r.size}; }

}  // namespace

TEST(JImage, ReadsClassesThroughTheirPackagesModule)
{
    for (const bool big : {false, true}) {
        const auto image = sampleImage(big);
        std::string error;
        const auto img = JImage::fromBuffer(image.data(), image.size(), error);
        ASSERT_TRUE(img) << error;
        EXPECT_EQ(img->moduleOfPackage("p"), "m.one");
        EXPECT_EQ(img->moduleOfPackage("p.q"), "m.two");
        EXPECT_EQ(img->moduleOfPackage("p/q"), "m.two");
        EXPECT_EQ(img->moduleOfPackage("nope"), "");
        ResourceBytes r;
        ASSERT_EQ(img->readClass("p/A", r, error), JImage::Result::Found) << error;
        EXPECT_EQ(bytesOf(r), smallClass("p/A"));
        ASSERT_EQ(img->readClass("p/A$Inner", r, error), JImage::Result::Found);
        EXPECT_EQ(bytesOf(r), smallClass("p/A$Inner"));
        ASSERT_EQ(img->read("/m.two/p/q/B.class", r, error), JImage::Result::Found);
        EXPECT_EQ(bytesOf(r), smallClass("p/q/B"));
        ASSERT_EQ(img->read("/m.one/p/R7.txt", r, error), JImage::Result::Found);
        EXPECT_EQ(bytesOf(r), std::vector<uint8_t>(7, 7));
        // Names that are not there, some of which hash onto used slots.
        for (const char* missing : {"p/Nope", "p/q/A", "p/A$Inner$X", "Unnamed", "q/A"})
            EXPECT_EQ(img->readClass(missing, r, error), JImage::Result::NotFound) << missing;
        for (const char* missing : {"/m.two/p/A.class", "/m.one/p/A", "/m.one/p/A.clas", "/m.one/p/A.classes", "",
                                    "/", "/m.one/p/R7", "m.one/p/R7.txt"})
            EXPECT_EQ(img->read(missing, r, error), JImage::Result::NotFound) << missing;
        int found = 0;
        for (int i = 0; i < 2000; ++i)
            found += img->read("/m.one/p/X" + std::to_string(i) + ".txt", r, error) == JImage::Result::Found;
        EXPECT_EQ(found, 0);
    }
}

TEST(JImage, ZipCompressedResourcesAreInflated)
{
    const auto image = sampleImage(false);
    std::string error;
    const auto img = JImage::fromBuffer(image.data(), image.size(), error);
    ASSERT_TRUE(img);
    ResourceBytes r;
    ASSERT_EQ(img->readClass("p/q/Zipped", r, error), JImage::Result::Found) << error;
    EXPECT_EQ(bytesOf(r), smallClass("p/q/Zipped"));
    EXPECT_FALSE(r.owned.empty());
}

TEST(JImage, OtherCompressionIsAnErrorForThatResourceOnly)
{
    const auto image = sampleImage(true);
    std::string error;
    const auto img = JImage::fromBuffer(image.data(), image.size(), error);
    ASSERT_TRUE(img);
    ResourceBytes r;
    EXPECT_EQ(img->readClass("p/q/Packed", r, error), JImage::Result::Error);
    EXPECT_EQ(error, "unsupported jimage compression \"compact-cp\"");
    EXPECT_EQ(img->readClass("p/q/B", r, error), JImage::Result::Found);
}

TEST(JImage, BadHeaders)
{
    auto image = sampleImage(false);
    std::string error;
    EXPECT_FALSE(JImage::fromBuffer(image.data(), 27, error));
    EXPECT_EQ(error, "too short for a jimage header");
    auto broken = image;
    broken[0] = 0;
    EXPECT_FALSE(JImage::fromBuffer(broken.data(), broken.size(), error));
    EXPECT_EQ(error, "not a jimage file (bad magic number)");
    broken = image;
    broken[6] = 2;  // version 2.0
    EXPECT_FALSE(JImage::fromBuffer(broken.data(), broken.size(), error));
    EXPECT_EQ(error, "unsupported jimage version 2.0");
    for (const int field : {16, 20, 24}) {  // table length, locations size, strings size
        broken = image;
        broken[size_t(field) + 3] = 0x7F;
        EXPECT_FALSE(JImage::fromBuffer(broken.data(), broken.size(), error)) << field;
        EXPECT_EQ(error, "jimage index tables reach past the end of the file");
    }
}

TEST(JImage, EveryTruncationAndRandomDamageIsSafe)
{
    const auto image = sampleImage(false);
    const char* const names[] = {"p/A", "p/q/B", "p/q/Zipped", "p/q/Packed", "java/lang/Object", "p/Nope"};
    for (size_t n = 0; n < image.size(); ++n) {
        std::string error;
        const auto img = JImage::fromBuffer(image.data(), n, error);
        if (!img)
            continue;
        for (const char* name : names) {
            ResourceBytes r;
            img->readClass(name, r, error);
        }
    }
    std::mt19937 rng(7);
    int errors = 0;
    for (int round = 0; round < 3000; ++round) {
        auto broken = image;
        for (int k = 0; k < 3; ++k)
            broken[28 + rng() % (broken.size() - 28)] = uint8_t(rng());
        std::string error;
        const auto img = JImage::fromBuffer(broken.data(), broken.size(), error);
        if (!img)
            continue;
        for (const char* name : names) {
            ResourceBytes r;
            errors += img->readClass(name, r, error) == JImage::Result::Error;
        }
    }
    EXPECT_GT(errors, 0);
}

TEST(JImage, TablesPointingPastTheirEnds)
{
    JImageBuilder b;
    b.addClass("m", "p/A", smallClass("p/A"));
    const auto image = b.build();
    const uint32_t n = image[16];  // table length (little-endian, small)
    const size_t offsets = 28 + 4 * n;
    std::string error;
    ResourceBytes r;
    int errors = 0;
    for (uint32_t slot = 0; slot < n; ++slot) {
        auto broken = image;
        broken[offsets + 4 * slot + 2] = 0x40;  // location offset far past the locations
        const auto img = JImage::fromBuffer(broken.data(), broken.size(), error);
        ASSERT_TRUE(img);
        errors += img->readClass("p/A", r, error) == JImage::Result::Error;
    }
    EXPECT_EQ(errors, 1);  // the slot of p/A's own location
}

TEST(JImage, CorruptZipDataIsAnError)
{
    JImageBuilder b;
    b.addClass("m", "p/Z", smallClass("p/Z"), JImageBuilder::Compression::Zip);
    auto image = b.build();
    const uint8_t zlibHeader[] = {0x78, 0xDA};
    const auto at = std::search(image.begin(), image.end(), zlibHeader, zlibHeader + 2);
    ASSERT_NE(at, image.end());
    at[6] ^= 0xFF;
    std::string error;
    const auto img = JImage::fromBuffer(image.data(), image.size(), error);
    ASSERT_TRUE(img);
    ResourceBytes r;
    EXPECT_EQ(img->readClass("p/Z", r, error), JImage::Result::Error);
    EXPECT_EQ(error, "corrupt zip-compressed resource");
}

TEST(JImage, InstalledJdkLibModules)
{
    const std::string home = ClassLibrary::system().jdkHome();
    const std::string modules = home + "/lib/modules";
    if (home.empty() || !QFileInfo::exists(QString::fromStdString(modules)))
        GTEST_SKIP() << "no JDK 9+ installed";
    std::string error;
    const auto img = JImage::open(modules, error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->moduleOfPackage("java.lang"), "java.base");
    EXPECT_EQ(img->moduleOfPackage("javax.swing"), "java.desktop");
    ResourceBytes r;
    ASSERT_EQ(img->readClass("java/lang/String", r, error), JImage::Result::Found) << error;
    ClassFileInfo info;
    ASSERT_EQ(parseClassFile(r.data, r.size, info), "");
    EXPECT_EQ(info.thisClass, "java/lang/String");
    EXPECT_EQ(img->readClass("java/util/Map$Entry", r, error), JImage::Result::Found);
    EXPECT_EQ(img->read("/java.base/java/lang/Nope.class", r, error), JImage::Result::NotFound);
    EXPECT_EQ(img->read("/java.desktop/java/lang/String.class", r, error), JImage::Result::NotFound);
    EXPECT_EQ(img->readClass("java/lang/Nope", r, error), JImage::Result::NotFound);
    EXPECT_FALSE(JImage::open(home + "/release", error));
    EXPECT_FALSE(JImage::open(home + "/no/such/file", error));
    EXPECT_NE(error.find("no/such/file"), std::string::npos);
}

// jlink writes images whose resources are zip-compressed (--compress=2) or
// string-shared (--compress=1): the first must read exactly like the
// installed JDK, the second must fail per class with a clear reason.
TEST(JImage, ImagesWrittenByJlink)
{
    const std::string home = ClassLibrary::system().jdkHome();
    const QString jlink = QString::fromStdString(home + "/bin/jlink");
    const QString jmods = QString::fromStdString(home + "/jmods");
    if (home.empty() || !QFileInfo(jlink).isExecutable() || !QFileInfo::exists(jmods + "/java.base.jmod"))
        GTEST_SKIP() << "no jlink with jmods in the installed JDK";
    QTemporaryDir dir;
    auto link = [&](const QString& compress, const QString& out) {
        QProcess p;
        p.start(jlink, {"--module-path", jmods, "--add-modules", "java.base", "--compress=" + compress, "--output",
                        dir.path() + "/" + out});
        EXPECT_TRUE(p.waitForFinished(240000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return (dir.path() + "/" + out + "/lib/modules").toStdString();
    };
    const std::string zipped = link("2", "zip");
    std::string error;
    auto image = JImage::open(zipped, error);
    ASSERT_TRUE(image) << error;
    std::vector<std::unique_ptr<ClassSource>> sources;
    sources.push_back(std::make_unique<JImageSource>(zipped, std::move(image)));
    ClassLibrary fromZipped(std::move(sources));
    for (const char* name : {"java.lang.String", "java.util.HashMap", "java.lang.StringBuilder", "java.util.List"}) {
        const auto ours = fromZipped.forName(name);
        const auto installed = ClassLibrary::system().forName(name);
        std::vector<std::string> a, b;
        for (const auto& m : ours->getMethods())
            a.push_back(m.toString().toStdString());
        for (const auto& m : installed->getMethods())
            b.push_back(m.toString().toStdString());
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        EXPECT_EQ(a, b) << name;
        EXPECT_EQ(ours->getConstructors().size(), installed->getConstructors().size());
    }

    const std::string shared = link("1", "cp");
    image = JImage::open(shared, error);
    ASSERT_TRUE(image) << error;
    ResourceBytes r;
    EXPECT_EQ(image->readClass("java/lang/String", r, error), JImage::Result::Error);
    EXPECT_EQ(error, "unsupported jimage compression \"compact-cp\"");
    std::vector<std::unique_ptr<ClassSource>> sources2;
    sources2.push_back(std::make_unique<JImageSource>(shared, std::move(image)));
    ClassLibrary fromShared(std::move(sources2));
    try {
        fromShared.forName("java.lang.String");
        ADD_FAILURE() << "no error";
    } catch (const platform::ClassFormatError& e) {
        EXPECT_NE(std::string(e.what()).find("compact-cp"), std::string::npos) << e.what();
        EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos);
    }
}
