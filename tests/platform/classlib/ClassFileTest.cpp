// The class-file parser on assembled class files: good, damaged, malformed.

#include <gtest/gtest.h>

#include "platform/classlib/ClassFile.h"
#include "tests/support/ClassFileBuilder.h"

using namespace platform::classlib;
using namespace testing_classlib;

namespace {

std::string parse(const std::vector<uint8_t>& bytes, ClassFileInfo& info)
{
    return parseClassFile(bytes.data(), bytes.size(), info);
}

ClassDef sample()
{
    ClassDef c = classDef("p/Outer$Inner", "p/Base", {"java/lang/Runnable", "p/I"});
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

// Pool 1 "p/C", 2 Class #1, 3 "java/lang/Object", 4 Class #3, 5 "m", 6 "()V",
// 7 "Exceptions", 8 "java/io/IOException", 9 Class #8; then access, this, super.
Bytes header(uint16_t thisIndex = 2)
{
    Bytes b;
    b.u4(0xCAFEBABE).u2(0).u2(61).u2(10).utf8("p/C").u1(7).u2(1).utf8("java/lang/Object").u1(7).u2(3);
    b.utf8("m").utf8("()V").utf8("Exceptions").utf8("java/io/IOException").u1(7).u2(8);
    return b.u2(0x21).u2(thisIndex).u2(4);
}

// One method m()V with `attributes` Exceptions attributes of the given length.
std::vector<uint8_t> withExceptions(uint32_t length, int attributes)
{
    Bytes r = header().u2(0).u2(0).u2(1).u2(1).u2(5).u2(6).u2(unsigned(attributes));
    for (int i = 0; i < attributes; ++i) r.u2(7).u4(length).u2(1).u2(9);
    return r.u2(0).b;
}

std::vector<uint8_t> named(const std::string& name, uint16_t major = 61, std::string super = "java/lang/Object")
{
    ClassDef c = classDef(name, std::move(super));
    c.major = major;
    return buildClass(c);
}

}  // namespace

// What is read, and how it is printed, is the reflection rules' tests' (RulesTest.cpp).
TEST(ClassFile, ReadsOldAndNewVersionsAndModifiedUtf8)
{
    // (throws clauses and java.lang.Object's missing superclass: the JVM oracle's, over all of java.base)
    ClassFileInfo info;
    for (const uint16_t major : {45, 52, 65, 69}) EXPECT_EQ(parse(named("p/C", major), info), "") << major;
    // Modified UTF-8: plain two-byte forms, NUL as C0 80, a surrogate pair as six bytes.
    const std::pair<std::string, std::string> names[] = {{"p/\xC3\x84", "p/\xC3\x84"},
        {"p/A\xC0\x80", std::string("p/A\0", 4)}, {"p/\xED\xA0\xBD\xED\xB8\x80", "p/\xF0\x9F\x98\x80"}};
    for (const auto& [stored, decoded] : names) {
        ASSERT_EQ(parse(named(stored), info), "");
        EXPECT_EQ(info.thisClass, decoded);
    }
}

TEST(ClassFile, DynamicConstantsAreWalkedAtTheirSize)
{
    // CONSTANT_Dynamic and InvokeDynamic: bootstrap method and NameAndType, two
    // bytes each; MethodHandle three, MethodType two. Every name follows them.
    ClassDef c = sample();
    c.constants = {Bytes().u1(17).u2(0).u2(0).b, Bytes().u1(18).u2(0).u2(0).b, Bytes().u1(15).u1(6).u2(0).b,
        Bytes().u1(16).u2(0).b, Bytes().u1(17).u2(1).u2(2).b};
    ClassFileInfo info;
    ASSERT_EQ(parse(buildClass(c), info), "");
    EXPECT_EQ(info.thisClass, "p/Outer$Inner");
    EXPECT_EQ(info.interfaces, (std::vector<std::string> {"java/lang/Runnable", "p/I"}));
    ASSERT_EQ(info.methods.size(), 4u);
    EXPECT_EQ(info.methods.back().descriptor, "([[I[[[Ljava/util/Map$Entry;)[[D");
}

TEST(ClassFile, MalformedFilesGiveTheirReason)
{
    const std::string badIndex = "constant pool index out of range or of the wrong kind",
                      badName = "malformed class name", badUtf8 = "malformed modified UTF-8 in the constant pool";
    auto badMagic = buildClass(sample());
    badMagic[3] = 0;
    auto extra = buildClass(sample());
    extra.push_back(0);
    Bytes longAtEnd = Bytes().u4(0xCAFEBABE).u2(0).u2(52).u2(2).u1(6).u4(0).u4(0);
    // #1 Long (slots 1 and 2), #3 "p/C", #4 Class #3, #5 "java/lang/Object", #6 Class #5; this = #2.
    Bytes secondSlot = Bytes().u4(0xCAFEBABE).u2(0).u2(52).u2(7).u1(5).u4(1).u4(2).utf8("p/C").u1(7).u2(3);
    secondSlot.utf8("java/lang/Object").u1(7).u2(5).u2(0x21).u2(2).u2(6).u2(0).u2(0).u2(0).u2(0);
    const std::vector<std::pair<std::vector<uint8_t>, std::string>> cases = {
        {{}, "truncated class file"},
        {badMagic, "not a class file (bad magic number)"},
        {named("p/C", 44), "unsupported class file version"},
        {named("p/C", 200), "unsupported class file version"},
        {named("p/C", 61, ""), "missing superclass"},
        {extra, "extra bytes at the end of the class file"},
        {Bytes().u4(0xCAFEBABE).u2(0).u2(61).u2(2).u1(2).u2(0).b, "unknown constant pool tag"},
        {longAtEnd.b, "long or double constant in the last pool slot"},
        {secondSlot.b, badIndex},
        {header().u2(0).u2(0).u2(1).u2(1).u2(2).u2(6).u2(0).u2(0).b, badIndex},  // method name is a Class
        {withExceptions(6, 1), "Exceptions attribute of the wrong length"},
        {withExceptions(4, 2), "more than one Exceptions attribute in a method"},
    };
    ClassFileInfo info;
    for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(parse(cases[i].first, info), cases[i].second) << "case " << i;
    for (const uint16_t thisIndex : {0, 1 /* a Utf8 */, 10, 0xFFFF})
        EXPECT_EQ(parse(header(thisIndex).u2(0).u2(0).u2(0).u2(0).b, info), badIndex) << thisIndex;
    for (const std::string bad : {"", "p//C", "/p/C", "p/C/", "p.C", "[Lp/C;", "p/C;"})
        EXPECT_EQ(parse(named(bad), info), badName) << bad;
    for (const std::string& bad : std::vector<std::string> {"p/\xC3", "p/\x80", "p/\xF0\x9F\x98\x80", {"p/A\0", 4}})
        EXPECT_EQ(parse(named(bad), info), badUtf8) << bad;
    const std::string deep = "(" + std::string(256, '[') + "I)V";
    for (const char* bad : {"", "V", "()", "(V)V", "(I", "(L;)V", "(Ljava/lang/String)V", "()VV", "(Q)V", "()[V",
             "(La.b;)V", "(L/a;)V", deep.c_str()})
        EXPECT_EQ(parse(buildClass(sample().method(kPublic, "bad", bad)), info), "malformed method descriptor") << bad;
    // Every cut is an error (random damage is the class-file fuzzer's).
    const auto bytes = buildClass(sample());
    for (size_t n = 0; n < bytes.size(); ++n)
        EXPECT_NE(parse({bytes.begin(), bytes.begin() + ptrdiff_t(n)}, info), "") << n;
}

TEST(ClassFile, InternalClassNamesHaveNonEmptySegmentsWithoutDotsSemicolonsOrBrackets)
{
    for (const char* good : {"A", "java/util/Map$Entry", "a/b-c/D", "p/\xc3\xa9t\xc3\xa9", "_/$"})
        EXPECT_TRUE(isValidInternalClassName(good)) << good;
    for (const char* bad : {"", "/A", "A/", "a//B", "java.util.List", "a/B;", "[La/B", "a/.B"})
        EXPECT_FALSE(isValidInternalClassName(bad)) << bad;
}
