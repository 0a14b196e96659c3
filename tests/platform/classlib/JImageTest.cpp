// The jimage reader: synthetic images in both byte orders, compressed
// resources, corrupted and truncated headers, tables and data. (Images jlink
// writes are the oracle test's; random damage is the jimage fuzzer's.)

#include <gtest/gtest.h>

#include "platform/classlib/JImage.h"
#include "tests/support/ClassFileBuilder.h"
#include "tests/support/JImageBuilder.h"

using namespace platform::classlib;
using namespace testing_classlib;
using Result = JImage::Result;
using Compression = JImageBuilder::Compression;

namespace {

std::vector<uint8_t> smallClass(const std::string& name)
{
    return buildClass(classDef(name).method(kPublic, "<init>", "()V").method(kPublic, "run", "(I)V"));
}

std::vector<uint8_t> sampleImage(bool bigEndian)
{
    JImageBuilder b;
    b.bigEndian = bigEndian;
    b.addClass("java.base", "java/lang/Object", smallClass("java/lang/Object"));
    b.addClass("m.one", "p/A", smallClass("p/A"));
    b.addClass("m.one", "p/A$Inner", smallClass("p/A$Inner"));
    b.addClass("m.two", "p/q/B", smallClass("p/q/B"));
    b.addClass("m.two", "p/q/Zipped", smallClass("p/q/Zipped"), Compression::Zip);
    b.addClass("m.two", "p/q/Packed", smallClass("p/q/Packed"), Compression::Other);
    for (int i = 0; i < 30; ++i)
        b.add("m.one", "p", "R" + std::to_string(i), "txt", std::vector<uint8_t>(size_t(i), uint8_t(i)));
    return b.build();
}

std::vector<uint8_t> bytesOf(const ResourceBytes& r)
{
    return {r.data, r.data + r.size};
}

// The result of reading the class from the image, with the error.
std::string readClass(const std::vector<uint8_t>& image, const char* name, std::vector<uint8_t>* bytes = nullptr)
{
    std::string error;
    const auto img = JImage::fromBuffer(image.data(), image.size(), error);
    ResourceBytes r;
    if (!img)
        return "no image: " + error;
    const Result result = img->readClass(name, r, error);
    if (bytes)
        *bytes = bytesOf(r);
    return result == Result::Found ? "found" : result == Result::NotFound ? "not found" : error;
}

}  // namespace

TEST(JImage, ReadsClassesThroughTheirPackagesModuleInBothByteOrders)
{
    for (const bool big : {false, true}) {
        const auto image = sampleImage(big);
        std::string error;
        const auto img = JImage::fromBuffer(image.data(), image.size(), error);
        ResourceBytes r;
        ASSERT_TRUE(img) << error;
        for (const auto& [package, module] :
            {std::pair {"p", "m.one"}, {"p.q", "m.two"}, {"p/q", "m.two"}, {"nope", ""}})
            EXPECT_EQ(img->moduleOfPackage(package), module);
        std::vector<uint8_t> bytes;
        for (const char* name : {"p/A", "p/A$Inner", "p/q/B", "p/q/Zipped"}) {
            EXPECT_EQ(readClass(image, name, &bytes), "found") << name;
            EXPECT_EQ(bytes, smallClass(name)) << name;
        }
        EXPECT_EQ(readClass(image, "p/q/Packed"), "unsupported jimage compression \"compact-cp\"");
        ASSERT_EQ(img->read("/m.one/p/R7.txt", r, error), Result::Found);
        EXPECT_EQ(bytesOf(r), std::vector<uint8_t>(7, 7));
        // Names that are not there, some of which hash onto used slots.
        for (const char* missing : {"p/Nope", "p/q/A", "p/A$Inner$X", "Unnamed", "q/A"})
            EXPECT_EQ(readClass(image, missing), "not found") << missing;
        for (const char* missing : {"/m.two/p/A.class", "/m.one/p/A", "/m.one/p/A.clas", "/m.one/p/A.classes", "", "/",
                 "/m.one/p/R7", "m.one/p/R7.txt"})
            EXPECT_EQ(img->read(missing, r, error), Result::NotFound) << missing;
        for (int i = 0; i < 2000; ++i)
            EXPECT_EQ(img->read("/m.one/p/X" + std::to_string(i) + ".txt", r, error), Result::NotFound);
    }
}

TEST(JImage, BadHeadersTablesAndData)
{
    const auto image = sampleImage(false);
    auto patched = [&](size_t at, uint8_t value) {
        auto b = image;
        b[at] = value;
        return b;
    };
    const std::string pastEnd = "no image: jimage index tables reach past the end of the file";
    const std::pair<std::vector<uint8_t>, std::string> cases[] = {
        {{image.begin(), image.begin() + 27}, "no image: too short for a jimage header"},
        {patched(0, 0), "no image: not a jimage file (bad magic number)"},
        {patched(6, 2), "no image: unsupported jimage version 2.0"}, {patched(16 + 3, 0x7F), pastEnd},  // table length
        {patched(20 + 3, 0x7F), pastEnd},  // locations size
        {patched(24 + 3, 0x7F), pastEnd},  // strings size
    };
    for (const auto& [bytes, expected] : cases) EXPECT_EQ(readClass(bytes, "p/A"), expected);
    std::string error;
    EXPECT_FALSE(JImage::open("/no/such/file", error));
    EXPECT_NE(error.find("/no/such/file"), std::string::npos) << error;

    // A location offset far past the locations: an error only in p/A's own slot.
    JImageBuilder one;
    one.addClass("m", "p/A", smallClass("p/A"));
    const auto small = one.build();
    int errors = 0;
    for (uint32_t slot = 0; slot < small[16]; ++slot) {
        auto broken = small;
        broken[28 + 4 * small[16] + 4 * slot + 2] = 0x40;
        const std::string result = readClass(broken, "p/A");
        errors += result != "found" && result != "not found";
    }
    EXPECT_EQ(errors, 1);

    auto corrupt = image;  // inside the one zip stream, p/q/Zipped's
    const uint8_t zlibHeader[] = {0x78, 0xDA};
    const auto at = std::search(corrupt.begin(), corrupt.end(), zlibHeader, zlibHeader + 2);
    ASSERT_NE(at, corrupt.end());
    at[6] ^= 0xFF;
    EXPECT_EQ(readClass(corrupt, "p/q/Zipped"), "corrupt zip-compressed resource");
}
