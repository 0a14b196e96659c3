#pragma once
// The class-file parser: just what reflection's public members need
// (JVMS chapter 4). Every index, length and count is checked against the
// buffer; a bad file gives an error text, never a read out of bounds.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::classlib {

enum AccessFlag : uint16_t {
    ACC_PUBLIC = 0x0001,
    ACC_PRIVATE = 0x0002,
    ACC_PROTECTED = 0x0004,
    ACC_STATIC = 0x0008,
    ACC_FINAL = 0x0010,
    ACC_SYNCHRONIZED = 0x0020,
    ACC_BRIDGE = 0x0040,
    ACC_VARARGS = 0x0080,
    ACC_NATIVE = 0x0100,
    ACC_INTERFACE = 0x0200,
    ACC_ABSTRACT = 0x0400,
    ACC_STRICT = 0x0800,
    ACC_SYNTHETIC = 0x1000,
    ACC_ANNOTATION = 0x2000,
    ACC_ENUM = 0x4000,
    ACC_MODULE = 0x8000,
};

constexpr uint32_t kClassFileMagic = 0xCAFEBABE;

// The kinds of constant-pool entry. None marks slot 0, the unusable slot
// after a Long or Double, and an index out of range.
enum class ConstantTag : uint8_t {
    None = 0,
    Utf8 = 1,
    Integer = 3,
    Float = 4,
    Long = 5,
    Double = 6,
    Class = 7,
    String = 8,
    Fieldref = 9,
    Methodref = 10,
    InterfaceMethodref = 11,
    NameAndType = 12,
    MethodHandle = 15,
    MethodType = 16,
    Dynamic = 17,
    InvokeDynamic = 18,
    Module = 19,
    Package = 20,
};

// A class file's constant pool as the kind and position of each entry; the
// one walker of the pool, for the parser below and the class index alike.
// The bytes must outlive it.
class ConstantPool {
public:
    // Walks the pool that starts at data[pos] (its count first) and moves pos
    // past it. "" when every entry fits the buffer, else why not (one line).
    const char* read(const uint8_t* data, size_t size, size_t& pos);

    ConstantTag tag(uint16_t index) const { return index < tags_.size() ? tags_[index] : ConstantTag::None; }
    // A Utf8 entry's bytes as stored (modified UTF-8); nullopt when the index
    // is 0, out of range or of another kind.
    std::optional<std::string_view> utf8(uint16_t index) const;
    // An Integer entry's value (also a boolean's); nullopt as above.
    std::optional<int32_t> integer(uint16_t index) const;
    // The Utf8 entry that a Class, Module or Package entry (`kind`) names;
    // nullopt as above.
    std::optional<std::string_view> nameOf(uint16_t index, ConstantTag kind) const;

private:
    uint16_t u2At(uint32_t offset) const { return uint16_t(data_[offset] << 8 | data_[offset + 1]); }

    const uint8_t* data_ = nullptr;
    std::vector<ConstantTag> tags_;
    std::vector<uint32_t> offsets_;  // of each entry's body, after its tag
};

// Oldest and newest class-file major versions read (JDK 1.1 .. JDK 27).
constexpr uint16_t kMinMajorVersion = 45;
constexpr uint16_t kMaxMajorVersion = 71;

struct MethodInfo {
    uint16_t access = 0;
    std::string name;                     // UTF-8
    std::string descriptor;               // "(I[Ljava/lang/String;)V", UTF-8, checked
    std::vector<std::string> exceptions;  // internal names ("java/io/IOException")
    bool deprecatedForRemoval = false;    // @Deprecated(forRemoval = true), visible at run time
};

struct ClassFileInfo {
    uint16_t minorVersion = 0;
    uint16_t majorVersion = 0;
    uint16_t access = 0;
    std::string thisClass;   // internal name "java/util/Map$Entry"
    std::string superClass;  // "" only for java/lang/Object
    std::vector<std::string> interfaces;
    // Only the methods that reflection can list: the public ones other than
    // <clinit> (public constructors, "<init>", are kept), in class-file order.
    std::vector<MethodInfo> methods;
    // The protected methods other than constructors, as name and descriptor
    // (modified UTF-8 as stored): what a public method may override, for the
    // documentation's "Overrides"; reflection never lists them.
    std::vector<std::pair<std::string, std::string>> protectedMethods;
    bool deprecatedForRemoval = false;  // the class's @Deprecated(forRemoval = true)
};

// Parses a whole class file. Returns "" on success, otherwise a short reason
// (one line, no class name). `out` is unspecified after a failure.
std::string parseClassFile(const uint8_t* data, size_t size, ClassFileInfo& out);

// Checks a method descriptor's syntax: "(" field types ")" (field type | "V").
bool isValidMethodDescriptor(std::string_view descriptor);

// Checks an internal class name as found in a CONSTANT_Class entry that must
// name a class or interface (not an array): non-empty segments split by "/",
// none holding ".", ";" or "[".
bool isValidInternalClassName(std::string_view name);

}  // namespace platform::classlib
