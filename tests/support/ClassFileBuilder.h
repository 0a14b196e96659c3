#pragma once
// Assembles small class files for the tests: a class or interface with its
// supertypes and methods (Code and Exceptions attributes), a private field,
// a long constant (two pool slots), any extra constants and attributes the
// parser must skip.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/support/Files.h"

namespace testing_classlib {

constexpr uint16_t kPublic = 0x1, kPrivate = 0x2, kProtected = 0x4, kStatic = 0x8, kFinal = 0x10, kSynchronized = 0x20,
                   kBridge = 0x40, kVarargs = 0x80, kNative = 0x100, kInterface = 0x200, kAbstract = 0x400,
                   kStrict = 0x800, kSynthetic = 0x1000;

// Bytes appended most significant first, as class files store them.
struct Bytes {
    std::vector<uint8_t> b;
    Bytes& u1(unsigned v) { return b.push_back(uint8_t(v)), *this; }
    Bytes& u2(unsigned v) { return u1(v >> 8).u1(v); }
    Bytes& u4(uint32_t v) { return u2(v >> 16).u2(v & 0xFFFF); }
    Bytes& raw(const std::vector<uint8_t>& v) { return b.insert(b.end(), v.begin(), v.end()), *this; }
    Bytes& utf8(const std::string& s) { return u1(1).u2(unsigned(s.size())).raw({s.begin(), s.end()}); }
};

struct ClassDef {
    struct Method {
        uint16_t access;
        std::string name, descriptor;
        std::vector<std::string> exceptions;
    };
    std::string name;                        // internal, "p/C"
    std::string super = "java/lang/Object";  // "" for none
    std::vector<std::string> interfaces;
    uint16_t access = kPublic | 0x20;  // public super
    std::vector<Method> methods;
    uint16_t major = 61;
    // Extra constant-pool entries, each one slot with its tag, placed before
    // every name the class file uses, so that all of those read wrong unless
    // these are walked at their right size.
    std::vector<std::vector<uint8_t>> constants;

    ClassDef& method(uint16_t acc, std::string n, std::string d, std::vector<std::string> ex = {})
    {
        methods.push_back({acc, std::move(n), std::move(d), std::move(ex)});
        return *this;
    }
};

inline ClassDef classDef(std::string name, std::string super = "java/lang/Object",
    std::vector<std::string> interfaces = {}, uint16_t access = kPublic | 0x20)
{
    return {std::move(name), std::move(super), std::move(interfaces), access, {}, 61, {}};
}

inline ClassDef ifaceDef(std::string name, std::vector<std::string> supers = {})
{
    return classDef(std::move(name), "java/lang/Object", std::move(supers), kPublic | kInterface | kAbstract);
}

inline std::vector<uint8_t> buildClass(const ClassDef& s)
{
    Bytes pool, body;
    unsigned next = 3;  // after the long constant's two slots
    pool.u1(5).u4(0x01234567).u4(0x89ABCDEF);
    for (const auto& c : s.constants) pool.raw(c), ++next;
    // Each text stored once, so that a class of tens of thousands of methods fits the pool.
    std::map<std::string, unsigned> texts;
    auto utf8 = [&](const std::string& v) {
        const auto [it, fresh] = texts.try_emplace(v, next);
        if (fresh)
            pool.utf8(v), next++;
        return it->second;
    };
    auto cls = [&](const std::string& v) {
        const unsigned n = utf8(v);
        return pool.u1(7).u2(n), next++;
    };
    const unsigned code = utf8("Code"), exceptions = utf8("Exceptions"), source = utf8("SourceFile"),
                   sourceName = utf8("Built.java");
    body.u2(s.access).u2(cls(s.name)).u2(s.super.empty() ? 0 : cls(s.super)).u2(unsigned(s.interfaces.size()));
    for (const auto& i : s.interfaces) body.u2(cls(i));
    body.u2(1).u2(kPrivate).u2(utf8("aField")).u2(utf8("[[Ljava/lang/String;")).u2(1).u2(source).u4(2).u2(sourceName);
    body.u2(unsigned(s.methods.size()));
    for (const auto& m : s.methods) {
        const bool hasCode = !(m.access & (kAbstract | kNative));
        body.u2(m.access).u2(utf8(m.name)).u2(utf8(m.descriptor)).u2(hasCode + !m.exceptions.empty());
        if (hasCode)  // max stack and locals 1, one "return", no handlers, no attributes
            body.u2(code).u4(13).u2(1).u2(1).u4(1).u1(0xB1).u2(0).u2(0);
        if (!m.exceptions.empty())
            body.u2(exceptions).u4(uint32_t(2 + 2 * m.exceptions.size())).u2(unsigned(m.exceptions.size()));
        for (const auto& e : m.exceptions) body.u2(cls(e));
    }
    body.u2(1).u2(source).u4(2).u2(sourceName);
    return Bytes().u4(0xCAFEBABE).u2(0).u2(s.major).u2(next).raw(pool.b).raw(body.b).b;
}

inline bool writeBytes(const QString& file, const std::vector<uint8_t>& bytes)
{
    return test_support::writeFile(
        file, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
}

}  // namespace testing_classlib
