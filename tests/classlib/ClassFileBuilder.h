#pragma once
// Assembles small class files for the tests: a class or interface with its
// supertypes and methods (with their Exceptions attributes), a field, a long
// constant (two pool slots) and attributes that the parser must skip.

#include <cstdint>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace testing_classlib {

struct MethodSpec {
    uint16_t access;
    std::string name;
    std::string descriptor;
    std::vector<std::string> exceptions;
};

struct ClassSpec {
    std::string name;                       // internal, "p/C"
    std::string super = "java/lang/Object";  // "" for none
    std::vector<std::string> interfaces;
    uint16_t access = 0x0021;  // public super
    std::vector<MethodSpec> methods;
    uint16_t major = 61;

    ClassSpec& method(uint16_t acc, std::string n, std::string d, std::vector<std::string> ex = {})
    {
        methods.push_back({acc, std::move(n), std::move(d), std::move(ex)});
        return *this;
    }
};

constexpr uint16_t kPublic = 0x1, kPrivate = 0x2, kProtected = 0x4, kStatic = 0x8, kFinal = 0x10,
                   kSynchronized = 0x20, kBridge = 0x40, kVarargs = 0x80, kNative = 0x100, kInterface = 0x200,
                   kAbstract = 0x400, kStrict = 0x800, kSynthetic = 0x1000, kAnnotation = 0x2000, kEnum = 0x4000;

class Pool {
public:
    uint16_t utf8(const std::string& s)
    {
        const auto it = utf8_.find(s);
        if (it != utf8_.end())
            return it->second;
        bytes_.push_back(1);
        u2(uint16_t(s.size()));
        bytes_.insert(bytes_.end(), s.begin(), s.end());
        return utf8_[s] = next_++;
    }
    uint16_t cls(const std::string& name)
    {
        const auto it = class_.find(name);
        if (it != class_.end())
            return it->second;
        const uint16_t n = utf8(name);
        bytes_.push_back(7);
        u2(n);
        return class_[name] = next_++;
    }
    uint16_t longConstant(uint64_t v)
    {
        bytes_.push_back(5);
        for (int i = 7; i >= 0; --i)
            bytes_.push_back(uint8_t(v >> (8 * i)));
        const uint16_t index = next_;
        next_ += 2;
        return index;
    }
    uint16_t count() const { return next_; }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    void u2(uint16_t v)
    {
        bytes_.push_back(uint8_t(v >> 8));
        bytes_.push_back(uint8_t(v));
    }
    std::vector<uint8_t> bytes_;
    std::map<std::string, uint16_t> utf8_, class_;
    uint16_t next_ = 1;
};

inline void put2(std::vector<uint8_t>& b, uint32_t v)
{
    b.push_back(uint8_t(v >> 8));
    b.push_back(uint8_t(v));
}

inline void put4(std::vector<uint8_t>& b, uint32_t v)
{
    for (int i = 3; i >= 0; --i)
        b.push_back(uint8_t(v >> (8 * i)));
}

inline std::vector<uint8_t> buildClass(const ClassSpec& spec)
{
    Pool pool;
    pool.longConstant(0x0123456789ABCDEFull);
    const uint16_t thisIndex = pool.cls(spec.name);
    const uint16_t superIndex = spec.super.empty() ? 0 : pool.cls(spec.super);
    std::vector<uint16_t> interfaces;
    for (const auto& i : spec.interfaces)
        interfaces.push_back(pool.cls(i));
    const uint16_t fieldName = pool.utf8("aField");
    const uint16_t fieldType = pool.utf8("[[Ljava/lang/String;");
    const uint16_t code = pool.utf8("Code");
    const uint16_t exceptions = pool.utf8("Exceptions");
    const uint16_t sourceFile = pool.utf8("SourceFile");
    const uint16_t sourceName = pool.utf8("Built.java");
    struct M {
        uint16_t access, name, desc;
        std::vector<uint16_t> ex;
    };
    std::vector<M> methods;
    for (const auto& m : spec.methods) {
        M x{m.access, pool.utf8(m.name), pool.utf8(m.descriptor), {}};
        for (const auto& e : m.exceptions)
            x.ex.push_back(pool.cls(e));
        methods.push_back(x);
    }

    std::vector<uint8_t> b;
    put4(b, 0xCAFEBABE);
    put2(b, 0);
    put2(b, spec.major);
    put2(b, pool.count());
    b.insert(b.end(), pool.bytes().begin(), pool.bytes().end());
    put2(b, spec.access);
    put2(b, thisIndex);
    put2(b, superIndex);
    put2(b, uint16_t(interfaces.size()));
    for (const uint16_t i : interfaces)
        put2(b, i);
    put2(b, 1);  // one field, with an attribute to skip
    put2(b, 0x0002);
    put2(b, fieldName);
    put2(b, fieldType);
    put2(b, 1);
    put2(b, sourceFile);
    put4(b, 2);
    put2(b, sourceName);
    put2(b, uint16_t(methods.size()));
    for (const auto& m : methods) {
        put2(b, m.access);
        put2(b, m.name);
        put2(b, m.desc);
        const bool hasCode = !(m.access & (kAbstract | kNative));
        put2(b, uint16_t((hasCode ? 1 : 0) + (m.ex.empty() ? 0 : 1)));
        if (hasCode) {  // a Code attribute: skipped by length
            put2(b, code);
            put4(b, 13);
            put2(b, 1);  // max stack
            put2(b, 1);  // max locals
            put4(b, 1);  // code length
            b.push_back(0xB1);  // return
            put2(b, 0);  // exception table
            put2(b, 0);  // attributes
        }
        if (!m.ex.empty()) {
            put2(b, exceptions);
            put4(b, uint32_t(2 + 2 * m.ex.size()));
            put2(b, uint16_t(m.ex.size()));
            for (const uint16_t e : m.ex)
                put2(b, e);
        }
    }
    put2(b, 1);  // class attributes
    put2(b, sourceFile);
    put4(b, 2);
    put2(b, sourceName);
    return b;
}

// Writes the class under root/<internal name>.class, creating folders.
inline bool writeClass(const std::string& root, const ClassSpec& spec);

}  // namespace testing_classlib

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace testing_classlib {

inline bool writeBytes(const QString& file, const std::vector<uint8_t>& bytes)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) == qint64(bytes.size());
}

inline bool writeClass(const std::string& root, const ClassSpec& spec)
{
    return writeBytes(QString::fromStdString(root + "/" + spec.name + ".class"), buildClass(spec));
}

}  // namespace testing_classlib
