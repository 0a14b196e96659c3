#pragma once
// Every public method declared by a public class of the class index (the
// JDK's exported packages and CLASSPATH), for finding a method by name
// without knowing its class. Read from the class files once, then kept on
// disk (MemberIndexCache) and loaded from there in a few milliseconds.
//
// Bridge and synthetic methods: reflection lists them among a class's
// declared public methods, but a bridge beside the method it stands for
// (String.compareTo(Object) beside compareTo(String)) only repeats it under
// its erased form, so it is left out. A bridge with no method of its name in
// the same class is kept: that is how a public class passes on the public
// methods of a package-private superclass (StringBuilder's), and where users
// call them.
//
// Once made, an index is never changed: queries may run on any thread at once.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/classlib/ClassFile.h"

#include "lookup/MemberSearch.h"

namespace platform::classlib {
class ClassLibrary;
}

namespace lookup {

// One method found.
struct MethodHit {
    QString binaryName;             // the declaring class: "java.util.Map$Entry"
    QString methodName;             // "toUnmodifiableList"
    QStringList displayParameters;  // as the member tree shows them: "Object[]", "Map$Entry"
    QStringList erasedParameters;   // as reflection prints them: "java.lang.Object[]", "java.util.Map$Entry"

    // "java.util.Map.Entry.getKey()": the canonical class name, the method and
    // its displayed parameters.
    QString line() const;
};

class MemberIndex {
public:
    // Records as kept in memory and, byte for byte, on disk.
    struct ClassRecord {
        uint32_t nameOffset;  // the internal name, in the text pool
        uint32_t nameLength;
        uint32_t packageLength;  // bytes before the simple binary name, "/" included
        uint32_t rankKey;        // source << 16 | moduleRank << 8 | deprecated
    };
    struct NameRecord {
        uint32_t textOffset;
        uint32_t textLength;
        uint32_t firstMethod;  // its methods, by class rank, then class-file order
        uint32_t methodCount;
    };
    struct ParameterRecord {
        uint32_t textOffset;  // the descriptor's parameters: "[Ljava/lang/Object;I"
        uint32_t textLength;
    };
    struct MethodRecord {
        uint32_t classId;  // classes are kept in rank order: the id is the rank
        uint32_t parametersId;
    };

    // The parts of an index; counts and offsets must agree (see isConsistent).
    struct Tables {
        std::vector<ClassRecord> classes;
        std::vector<NameRecord> names;  // by lower-case name, then by name
        std::vector<ParameterRecord> parameters;
        std::vector<MethodRecord> methods;
        std::string text;
    };

    // Reads every public class of the library's class index.
    static std::unique_ptr<MemberIndex> build(platform::classlib::ClassLibrary& library);
    // Takes tables made by build() or read back from disk; nullptr when an
    // offset, count or id points outside them.
    static std::unique_ptr<MemberIndex> fromTables(Tables tables);

    // The index of the library from the cache folder, built and stored there
    // when missing or stale ("" for the default folder). Never fails: an
    // unwritable folder only costs the next run another build.
    static std::unique_ptr<MemberIndex> open(platform::classlib::ClassLibrary& library, const QString& cacheDir = {});
    // The file open() reads and writes for the library: in cacheDir, by
    // default $XDG_CACHE_HOME/javaorvel (~/.cache/javaorvel).
    static QString cachePath(platform::classlib::ClassLibrary& library, const QString& cacheDir = {});

    // The methods a query asks for, best first; limit 0 for all. A class
    // query (Class#name) asks the library for the class's public methods,
    // inherited ones included, so the library must outlive the call.
    std::vector<MethodHit> find(platform::classlib::ClassLibrary& library, const QString& query, size_t limit) const;

    const Tables& tables() const { return t_; }
    size_t classCount() const { return t_.classes.size(); }
    size_t methodCount() const { return t_.methods.size(); }
    // Bytes held, for the benchmark.
    size_t memoryBytes() const;

private:
    explicit MemberIndex(Tables tables) : t_(std::move(tables)) { }
    std::string_view text(uint32_t offset, uint32_t length) const
    {
        return std::string_view(t_.text).substr(offset, length);
    }
    std::string_view internalName(uint32_t classId) const;
    std::vector<MethodHit> findByName(const std::string& name, size_t limit) const;
    std::vector<MethodHit> findInClass(
        platform::classlib::ClassLibrary& library, const MemberQuery& query, size_t limit) const;
    // The best-ranked public class that the text names: a qualified name, or a
    // simple binary name in member form ("Map.Entry") as SEARCH resolves it.
    int64_t classNamed(std::string_view name) const;

    Tables t_;
};

// Bridges and synthetic methods are shown only when no other method of their
// name is declared beside them.
constexpr uint16_t kLeftOut = platform::classlib::ACC_BRIDGE | platform::classlib::ACC_SYNTHETIC;
std::unordered_set<std::string_view> namesOfPlainMethods(const std::vector<platform::classlib::MethodInfo>& declared);

// Parameter types out of a descriptor's parameters, as reflection prints them
// ("java.lang.Object[]") and stripped as the member tree shows them.
void describeParameters(std::string_view parameters, QStringList& erased, QStringList& display);

}  // namespace lookup
