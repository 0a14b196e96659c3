// The class-file parser on assembled class files, good and corrupted.

#include <gtest/gtest.h>

#include <random>

#include "ClassFileBuilder.h"
#include "platform/classlib/ClassFile.h"

using namespace platform::classlib;
using namespace testing_classlib;

namespace {

std::string parse(const std::vector<uint8_t>& bytes, ClassFileInfo& info)
{
    return parseClassFile(bytes.data(), bytes.size(), info);
}

ClassSpec sample()
{
    ClassSpec c;
    c.name = "p/Outer$Inner";
    c.super = "p/Base";
    c.interfaces = {"java/lang/Runnable", "p/I"};
    c.method(kPublic, "<init>", "(I[Ljava/lang/String;)V", {"java/io/IOException"})
        .method(kProtected, "<init>", "()V")
        .method(kStatic, "<clinit>", "()V")
        .method(kPublic | kStatic, "<clinit>", "()V")
        .method(kPublic | kFinal | kNative, "run", "()V")
        .method(kPrivate, "hidden", "(J)V")
        .method(kPublic | kVarargs, "format", "(Ljava/lang/String;[Ljava/lang/Object;)Ljava/lang/String;",
                {"java/io/IOException", "java/lang/Exception"})
        .method(kPublic | kAbstract, "grid", "([[I[[[Ljava/util/Map$Entry;)[[D");
    return c;
}

// A class file put together byte by byte, for the broken cases.
struct Raw {
    std::vector<uint8_t> b;
    Raw& u1(uint8_t v)
    {
        b.push_back(v);
        return *this;
    }
    Raw& u2(uint16_t v)
    {
        put2(b, v);
        return *this;
    }
    Raw& u4(uint32_t v)
    {
        put4(b, v);
        return *this;
    }
    Raw& utf8(const std::string& s)
    {
        u1(1).u2(uint16_t(s.size()));
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
};

// cp: 1 Utf8 "p/C", 2 Class #1, 3 Utf8 "java/lang/Object", 4 Class #3,
// 5 Utf8 "m", 6 Utf8 "()V", 7 Utf8 "Exceptions", 8 Utf8 "java/io/IOException", 9 Class #8
Raw header(uint16_t major = 61)
{
    Raw r;
    r.u4(0xCAFEBABE).u2(0).u2(major).u2(10);
    r.utf8("p/C").u1(7).u2(1).utf8("java/lang/Object").u1(7).u2(3);
    r.utf8("m").utf8("()V").utf8("Exceptions").utf8("java/io/IOException").u1(7).u2(8);
    return r;
}

}  // namespace

TEST(ClassFile, ReadsNamesSupertypesAndPublicMethods)
{
    ClassFileInfo info;
    ASSERT_EQ(parse(buildClass(sample()), info), "");
    EXPECT_EQ(info.majorVersion, 61);
    EXPECT_EQ(info.thisClass, "p/Outer$Inner");
    EXPECT_EQ(info.superClass, "p/Base");
    EXPECT_EQ(info.interfaces, (std::vector<std::string>{"java/lang/Runnable", "p/I"}));
    // Only public methods, <clinit> never; class-file order.
    ASSERT_EQ(info.methods.size(), 4u);
    EXPECT_EQ(info.methods[0].name, "<init>");
    EXPECT_EQ(info.methods[0].exceptions, std::vector<std::string>{"java/io/IOException"});
    EXPECT_EQ(info.methods[1].name, "run");
    EXPECT_EQ(info.methods[1].access, kPublic | kFinal | kNative);
    EXPECT_EQ(info.methods[2].name, "format");
    EXPECT_EQ(info.methods[2].exceptions, (std::vector<std::string>{"java/io/IOException", "java/lang/Exception"}));
    EXPECT_EQ(info.methods[3].descriptor, "([[I[[[Ljava/util/Map$Entry;)[[D");
}

TEST(ClassFile, ObjectHasNoSuperclass)
{
    ClassSpec c;
    c.name = "java/lang/Object";
    c.super = "";
    ClassFileInfo info;
    ASSERT_EQ(parse(buildClass(c), info), "");
    EXPECT_EQ(info.superClass, "");
    c.name = "p/NotObject";
    EXPECT_NE(parse(buildClass(c), info), "");
}

TEST(ClassFile, AcceptsOldAndNewVersionsOnly)
{
    ClassSpec c = sample();
    ClassFileInfo info;
    for (const uint16_t major : {45, 52, 61, 65, 69}) {
        c.major = major;
        EXPECT_EQ(parse(buildClass(c), info), "") << major;
    }
    for (const uint16_t major : {44, 200}) {
        c.major = major;
        EXPECT_EQ(parse(buildClass(c), info), "unsupported class file version") << major;
    }
}

TEST(ClassFile, EveryTruncationIsAnErrorNotACrash)
{
    const auto bytes = buildClass(sample());
    ClassFileInfo info;
    for (size_t n = 0; n < bytes.size(); ++n) {
        const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + ptrdiff_t(n));
        EXPECT_NE(parse(cut, info), "") << n;
    }
    auto longer = bytes;
    longer.push_back(0);
    EXPECT_EQ(parse(longer, info), "extra bytes at the end of the class file");
}

TEST(ClassFile, RandomCorruptionNeverCrashes)
{
    const auto bytes = buildClass(sample());
    std::mt19937 rng(12345);
    ClassFileInfo info;
    int failures = 0;
    for (int round = 0; round < 20000; ++round) {
        auto broken = bytes;
        const int flips = 1 + int(rng() % 4);
        for (int k = 0; k < flips; ++k)
            broken[rng() % broken.size()] = uint8_t(rng());
        if (!parse(broken, info).empty())
            ++failures;
    }
    EXPECT_GT(failures, 0);
}

TEST(ClassFile, BadMagic)
{
    auto bytes = buildClass(sample());
    bytes[0] = 0xCA;
    bytes[3] = 0x00;
    ClassFileInfo info;
    EXPECT_EQ(parse(bytes, info), "not a class file (bad magic number)");
    EXPECT_NE(parse({}, info), "");
}

TEST(ClassFile, PoolIndexOutOfRangeOrOfTheWrongKind)
{
    ClassFileInfo info;
    for (const uint16_t thisIndex : {0, 1 /* a Utf8 */, 10, 0xFFFF}) {
        Raw r = header();
        r.u2(0x21).u2(thisIndex).u2(4).u2(0).u2(0).u2(0).u2(0);
        EXPECT_EQ(parseClassFile(r.b.data(), r.b.size(), info),
                  "constant pool index out of range or of the wrong kind")
            << thisIndex;
    }
    // A method whose name index names a Class entry.
    Raw r = header();
    r.u2(0x21).u2(2).u2(4).u2(0).u2(0).u2(1).u2(1).u2(2).u2(6).u2(0).u2(0);
    EXPECT_EQ(parseClassFile(r.b.data(), r.b.size(), info), "constant pool index out of range or of the wrong kind");
}

TEST(ClassFile, GoodRawFileAndItsBrokenVariants)
{
    ClassFileInfo info;
    auto make = [](uint32_t exceptionsLength, uint16_t count, int attributes) {
        Raw r = header();
        r.u2(0x21).u2(2).u2(4).u2(0).u2(0);
        r.u2(1).u2(1).u2(5).u2(6).u2(uint16_t(attributes));
        for (int i = 0; i < attributes; ++i) {
            r.u2(7).u4(exceptionsLength).u2(count);
            for (uint16_t k = 0; k < count; ++k)
                r.u2(9);
        }
        r.u2(0);
        return r;
    };
    Raw good = make(4, 1, 1);
    ASSERT_EQ(parseClassFile(good.b.data(), good.b.size(), info), "");
    ASSERT_EQ(info.methods.size(), 1u);
    EXPECT_EQ(info.methods[0].exceptions, std::vector<std::string>{"java/io/IOException"});

    Raw wrongLength = make(6, 1, 1);
    EXPECT_EQ(parseClassFile(wrongLength.b.data(), wrongLength.b.size(), info),
              "Exceptions attribute of the wrong length");
    Raw twice = make(4, 1, 2);
    EXPECT_EQ(parseClassFile(twice.b.data(), twice.b.size(), info), "more than one Exceptions attribute in a method");
}

TEST(ClassFile, LongAndDoubleTakeTwoSlots)
{
    // #1 Long (slots 1-2), #3 Utf8 p/C, #4 Class #3, #5 Utf8 java/lang/Object, #6 Class #5
    Raw r;
    r.u4(0xCAFEBABE).u2(0).u2(52).u2(7);
    r.u1(5).u4(1).u4(2).utf8("p/C").u1(7).u2(3).utf8("java/lang/Object").u1(7).u2(5);
    r.u2(0x21).u2(4).u2(6).u2(0).u2(0).u2(0).u2(0);
    ClassFileInfo info;
    ASSERT_EQ(parseClassFile(r.b.data(), r.b.size(), info), "");
    EXPECT_EQ(info.thisClass, "p/C");
    // Pointing at the unusable second slot is an error.
    r.b[r.b.size() - 12] = 0;
    r.b[r.b.size() - 11] = 2;
    EXPECT_NE(parseClassFile(r.b.data(), r.b.size(), info), "");
    // A long in the last slot.
    Raw last;
    last.u4(0xCAFEBABE).u2(0).u2(52).u2(2).u1(6).u4(0).u4(0);
    EXPECT_EQ(parseClassFile(last.b.data(), last.b.size(), info), "long or double constant in the last pool slot");
}

TEST(ClassFile, UnknownTagAndBadNames)
{
    Raw r;
    r.u4(0xCAFEBABE).u2(0).u2(61).u2(2).u1(2).u2(0);
    ClassFileInfo info;
    EXPECT_EQ(parseClassFile(r.b.data(), r.b.size(), info), "unknown constant pool tag");

    ClassSpec c = sample();
    for (const std::string bad : {"", "p//C", "/p/C", "p/C/", "p.C", "[Lp/C;", "p/C;"}) {
        c.name = bad;
        EXPECT_EQ(parse(buildClass(c), info), "malformed class name") << bad;
    }
}

TEST(ClassFile, ModifiedUtf8)
{
    // "p/Ä" in modified UTF-8 is plain UTF-8 (C3 84); NUL is C0 80.
    ClassSpec c = sample();
    c.name = "p/\xC3\x84";
    ClassFileInfo info;
    ASSERT_EQ(parse(buildClass(c), info), "");
    EXPECT_EQ(info.thisClass, "p/\xC3\x84");
    c.name = "p/A\xC0\x80";
    ASSERT_EQ(parse(buildClass(c), info), "");
    EXPECT_EQ(info.thisClass, std::string("p/A\0", 4));
    // A supplementary character as a surrogate pair, six bytes.
    c.name = "p/\xED\xA0\xBD\xED\xB8\x80";
    ASSERT_EQ(parse(buildClass(c), info), "");
    EXPECT_EQ(info.thisClass, "p/\xF0\x9F\x98\x80");
    for (const std::string& bad : std::vector<std::string>{"p/\xC3", "p/\x80", "p/\xF0\x9F\x98\x80", std::string("p/A\0", 4)}) {
        c.name = bad;
        EXPECT_EQ(parse(buildClass(c), info), "malformed modified UTF-8 in the constant pool");
    }
}

TEST(ClassFile, MethodDescriptors)
{
    for (const char* good : {"()V", "(I)V", "([[Ljava/lang/String;JD)[I", "(Ljava/util/Map$Entry;)Ljava/lang/Object;"})
        EXPECT_TRUE(isValidMethodDescriptor(good)) << good;
    for (const char* bad : {"", "V", "()", "(V)V", "(I", "(L;)V", "(Ljava/lang/String)V", "()VV", "(Q)V", "()[V",
                            "(La.b;)V", "(L/a;)V"})
        EXPECT_FALSE(isValidMethodDescriptor(bad)) << bad;
    std::string deep = "(" + std::string(256, '[') + "I)V";
    EXPECT_FALSE(isValidMethodDescriptor(deep));
    ClassSpec c = sample();
    c.method(kPublic, "bad", "(I");
    ClassFileInfo info;
    EXPECT_EQ(parse(buildClass(c), info), "malformed method descriptor");
}
