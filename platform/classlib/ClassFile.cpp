#include "platform/classlib/ClassFile.h"

#include <cstring>

namespace platform::classlib {

namespace {

enum CpTag : uint8_t {
    CP_Utf8 = 1,
    CP_Integer = 3,
    CP_Float = 4,
    CP_Long = 5,
    CP_Double = 6,
    CP_Class = 7,
    CP_String = 8,
    CP_Fieldref = 9,
    CP_Methodref = 10,
    CP_InterfaceMethodref = 11,
    CP_NameAndType = 12,
    CP_MethodHandle = 15,
    CP_MethodType = 16,
    CP_Dynamic = 17,
    CP_InvokeDynamic = 18,
    CP_Module = 19,
    CP_Package = 20,
};

struct Failure {
    const char* reason;
};

// Big-endian reading with bounds checks; a short read throws Failure, which
// never leaves this file.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) { }

    size_t pos() const { return pos_; }
    size_t remaining() const { return size_ - pos_; }

    uint8_t u1()
    {
        need(1);
        return data_[pos_++];
    }
    uint16_t u2()
    {
        need(2);
        const uint16_t v = uint16_t(data_[pos_] << 8 | data_[pos_ + 1]);
        pos_ += 2;
        return v;
    }
    uint32_t u4()
    {
        need(4);
        const uint32_t v = uint32_t(data_[pos_]) << 24 | uint32_t(data_[pos_ + 1]) << 16 |
            uint32_t(data_[pos_ + 2]) << 8 | uint32_t(data_[pos_ + 3]);
        pos_ += 4;
        return v;
    }
    void skip(size_t n)
    {
        need(n);
        pos_ += n;
    }

private:
    void need(size_t n) const
    {
        if (n > size_ - pos_)
            throw Failure {"truncated class file"};
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// Modified UTF-8 (JVMS 4.4.7) to standard UTF-8. Returns false when ill-formed.
bool decodeModifiedUtf8(const uint8_t* p, size_t n, std::string& out)
{
    out.clear();
    bool ascii = true;
    for (size_t i = 0; i < n; ++i) {
        if (p[i] == 0 || p[i] >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        out.assign(reinterpret_cast<const char*>(p), n);
        return true;
    }
    // Decode to UTF-16 units, then re-encode (pairs of surrogates become one
    // four-byte sequence; a lone surrogate is kept as its three bytes).
    std::u16string units;
    units.reserve(n);
    for (size_t i = 0; i < n;) {
        const uint8_t b = p[i];
        if (b == 0 || (b >= 0xF0))
            return false;
        if (b < 0x80) {
            units.push_back(b);
            i += 1;
        } else if ((b & 0xE0) == 0xC0) {
            if (i + 1 >= n || (p[i + 1] & 0xC0) != 0x80)
                return false;
            units.push_back(char16_t((b & 0x1F) << 6 | (p[i + 1] & 0x3F)));
            i += 2;
        } else if ((b & 0xF0) == 0xE0) {
            if (i + 2 >= n || (p[i + 1] & 0xC0) != 0x80 || (p[i + 2] & 0xC0) != 0x80)
                return false;
            units.push_back(char16_t((b & 0x0F) << 12 | (p[i + 1] & 0x3F) << 6 | (p[i + 2] & 0x3F)));
            i += 3;
        } else {
            return false;
        }
    }
    out.reserve(n + 4);
    for (size_t i = 0; i < units.size(); ++i) {
        uint32_t c = units[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        }
        if (c < 0x80) {
            out.push_back(char(c));
        } else if (c < 0x800) {
            out.push_back(char(0xC0 | c >> 6));
            out.push_back(char(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(char(0xE0 | c >> 12));
            out.push_back(char(0x80 | (c >> 6 & 0x3F)));
            out.push_back(char(0x80 | (c & 0x3F)));
        } else {
            out.push_back(char(0xF0 | c >> 18));
            out.push_back(char(0x80 | (c >> 12 & 0x3F)));
            out.push_back(char(0x80 | (c >> 6 & 0x3F)));
            out.push_back(char(0x80 | (c & 0x3F)));
        }
    }
    return true;
}

// Parses one field type at `i`; advances past it.
bool parseFieldType(std::string_view d, size_t& i)
{
    size_t dims = 0;
    while (i < d.size() && d[i] == '[') {
        ++i;
        if (++dims > 255)
            return false;
    }
    if (i >= d.size())
        return false;
    switch (d[i]) {
    case 'B':
    case 'C':
    case 'D':
    case 'F':
    case 'I':
    case 'J':
    case 'S':
    case 'Z':
        ++i;
        return true;
    case 'L': {
        const size_t end = d.find(';', i + 1);
        if (end == std::string_view::npos)
            return false;
        if (!isValidInternalClassName(d.substr(i + 1, end - i - 1)))
            return false;
        i = end + 1;
        return true;
    }
    default:
        return false;
    }
}

constexpr std::string_view kVisibleAnnotations = "RuntimeVisibleAnnotations";

class Parser {
public:
    Parser(const uint8_t* data, size_t size) : data_(data), r_(data, size) { }

    void parse(ClassFileInfo& out)
    {
        if (r_.u4() != 0xCAFEBABE)
            throw Failure {"not a class file (bad magic number)"};
        out.minorVersion = r_.u2();
        out.majorVersion = r_.u2();
        if (out.majorVersion < kMinMajorVersion || out.majorVersion > kMaxMajorVersion)
            throw Failure {"unsupported class file version"};
        readConstantPool();

        out.access = r_.u2();
        out.thisClass = className(r_.u2(), false);
        const uint16_t superIndex = r_.u2();
        if (superIndex == 0) {
            if (out.thisClass != "java/lang/Object")
                throw Failure {"missing superclass"};
            out.superClass.clear();
        } else {
            out.superClass = className(superIndex, false);
        }
        const uint16_t interfaceCount = r_.u2();
        out.interfaces.clear();
        out.interfaces.reserve(interfaceCount);
        for (uint16_t i = 0; i < interfaceCount; ++i) out.interfaces.push_back(className(r_.u2(), false));

        const uint16_t fieldCount = r_.u2();
        for (uint16_t i = 0; i < fieldCount; ++i) {
            r_.u2();          // access
            utf8At(r_.u2());  // name
            utf8At(r_.u2());  // descriptor
            skipAttributes();
        }

        const uint16_t methodCount = r_.u2();
        out.methods.clear();
        out.methods.reserve(methodCount);
        for (uint16_t i = 0; i < methodCount; ++i) readMethod(out);

        const uint16_t classAttributes = r_.u2();
        for (uint16_t i = 0; i < classAttributes; ++i) {
            const std::string_view attrName = rawUtf8At(r_.u2());
            const uint32_t length = r_.u4();
            if (attrName == kVisibleAnnotations)
                out.deprecatedForRemoval = markedForRemoval(length);
            r_.skip(length);
        }
        if (r_.remaining() != 0)
            throw Failure {"extra bytes at the end of the class file"};
    }

private:
    void readConstantPool()
    {
        const uint16_t count = r_.u2();
        if (count == 0)
            throw Failure {"empty constant pool"};
        tags_.assign(count, 0);
        offsets_.assign(count, 0);
        for (uint32_t i = 1; i < count; ++i) {
            const uint8_t tag = r_.u1();
            tags_[i] = tag;
            offsets_[i] = uint32_t(r_.pos());
            switch (tag) {
            case CP_Utf8: {
                const uint16_t len = r_.u2();
                r_.skip(len);
                break;
            }
            case CP_Integer:
            case CP_Float:
                r_.skip(4);
                break;
            case CP_Long:
            case CP_Double:
                r_.skip(8);
                if (++i >= count)
                    throw Failure {"long or double constant in the last pool slot"};
                tags_[i] = 0;  // the unusable second slot
                break;
            case CP_Class:
            case CP_String:
            case CP_MethodType:
            case CP_Module:
            case CP_Package:
                r_.skip(2);
                break;
            case CP_Fieldref:
            case CP_Methodref:
            case CP_InterfaceMethodref:
            case CP_NameAndType:
            case CP_Dynamic:
            case CP_InvokeDynamic:
                r_.skip(4);
                break;
            case CP_MethodHandle:
                r_.skip(3);
                break;
            default:
                throw Failure {"unknown constant pool tag"};
            }
        }
    }

    // The raw bytes of a Utf8 entry.
    std::string_view rawUtf8At(uint16_t index)
    {
        if (index == 0 || index >= tags_.size() || tags_[index] != CP_Utf8)
            throw Failure {"constant pool index out of range or of the wrong kind"};
        const uint32_t off = offsets_[index];
        const uint16_t len = uint16_t(data_[off] << 8 | data_[off + 1]);  // checked when read
        return {reinterpret_cast<const char*>(data_ + off + 2), len};
    }

    std::string utf8At(uint16_t index)
    {
        const std::string_view raw = rawUtf8At(index);
        std::string s;
        if (!decodeModifiedUtf8(reinterpret_cast<const uint8_t*>(raw.data()), raw.size(), s))
            throw Failure {"malformed modified UTF-8 in the constant pool"};
        return s;
    }

    // A CONSTANT_Class entry's name; arrays only where allowed.
    std::string className(uint16_t index, bool arrayAllowed)
    {
        if (index == 0 || index >= tags_.size() || tags_[index] != CP_Class)
            throw Failure {"constant pool index out of range or of the wrong kind"};
        const uint32_t off = offsets_[index];
        const uint16_t nameIndex = uint16_t(data_[off] << 8 | data_[off + 1]);
        std::string name = utf8At(nameIndex);
        if (arrayAllowed && !name.empty() && name[0] == '[') {
            size_t i = 0;
            if (!parseFieldType(name, i) || i != name.size())
                throw Failure {"malformed class name"};
        } else if (!isValidInternalClassName(name)) {
            throw Failure {"malformed class name"};
        }
        return name;
    }

    void skipAttributes()
    {
        const uint16_t count = r_.u2();
        for (uint16_t i = 0; i < count; ++i) {
            rawUtf8At(r_.u2());
            r_.skip(r_.u4());
        }
    }

    // Whether the RuntimeVisibleAnnotations attribute of `length` bytes at the
    // reader holds @Deprecated(forRemoval = true). The reader does not move.
    // A malformed attribute marks nothing: the members stay listable.
    bool markedForRemoval(uint32_t length)
    {
        if (length > r_.remaining())
            return false;
        Reader a(data_ + r_.pos(), length);
        try {
            bool forRemoval = false;
            const uint16_t count = a.u2();
            for (uint16_t i = 0; i < count; ++i) readAnnotation(a, 0, forRemoval);
            return forRemoval;
        } catch (const Failure&) {
            return false;
        }
    }

    void readAnnotation(Reader& a, int depth, bool& forRemoval)
    {
        const bool deprecated = rawUtf8At(a.u2()) == "Ljava/lang/Deprecated;";
        const uint16_t pairs = a.u2();
        for (uint16_t i = 0; i < pairs; ++i) {
            const bool isForRemoval = rawUtf8At(a.u2()) == "forRemoval" && deprecated;
            const uint8_t tag = a.u1();
            if (isForRemoval && tag == 'Z') {
                const uint16_t index = a.u2();
                forRemoval = integerAt(index) != 0;
                continue;
            }
            skipElementValue(a, tag, depth);
        }
    }

    void skipElementValue(Reader& a, uint8_t tag, int depth)
    {
        constexpr int kMaxAnnotationDepth = 32;
        if (depth > kMaxAnnotationDepth)
            throw Failure {"annotations nested too deeply"};
        switch (tag) {
        case 'e':
            a.skip(4);
            break;
        case '@': {
            bool ignored = false;
            readAnnotation(a, depth + 1, ignored);
        } break;
        case '[': {
            const uint16_t n = a.u2();
            for (uint16_t i = 0; i < n; ++i) skipElementValue(a, a.u1(), depth + 1);
            break;
        }
        default:
            a.skip(2);  // a constant or a class
        }
    }

    int32_t integerAt(uint16_t index)
    {
        if (index == 0 || index >= tags_.size() || tags_[index] != CP_Integer)
            throw Failure {"constant pool index out of range or of the wrong kind"};
        const uint8_t* p = data_ + offsets_[index];
        return int32_t(uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]);
    }

    void readMethod(ClassFileInfo& out)
    {
        const uint16_t access = r_.u2();
        const std::string_view rawName = rawUtf8At(r_.u2());
        const std::string_view rawDescriptor = rawUtf8At(r_.u2());
        const bool keep = (access & ACC_PUBLIC) && rawName != "<clinit>";
        MethodInfo* m = nullptr;
        if (keep) {
            out.methods.emplace_back();
            m = &out.methods.back();
            m->access = access;
            if (!decodeModifiedUtf8(reinterpret_cast<const uint8_t*>(rawName.data()), rawName.size(), m->name) ||
                !decodeModifiedUtf8(
                    reinterpret_cast<const uint8_t*>(rawDescriptor.data()), rawDescriptor.size(), m->descriptor))
                throw Failure {"malformed modified UTF-8 in the constant pool"};
            if (m->name.empty())
                throw Failure {"empty method name"};
            if (!isValidMethodDescriptor(m->descriptor))
                throw Failure {"malformed method descriptor"};
        } else if (!isValidMethodDescriptor(rawDescriptor)) {
            throw Failure {"malformed method descriptor"};
        } else if ((access & ACC_PROTECTED) && rawName != "<init>" && rawName != "<clinit>") {
            out.protectedMethods.emplace_back(std::string(rawName), std::string(rawDescriptor));
        }
        const uint16_t attributeCount = r_.u2();
        bool seenExceptions = false;
        for (uint16_t i = 0; i < attributeCount; ++i) {
            const std::string_view attrName = rawUtf8At(r_.u2());
            const uint32_t length = r_.u4();
            if (m && attrName == kVisibleAnnotations)
                m->deprecatedForRemoval = markedForRemoval(length);
            if (attrName != "Exceptions") {
                r_.skip(length);
                continue;
            }
            if (seenExceptions)
                throw Failure {"more than one Exceptions attribute in a method"};
            seenExceptions = true;
            const size_t start = r_.pos();
            const uint16_t n = r_.u2();
            if (length != 2u + 2u * n)
                throw Failure {"Exceptions attribute of the wrong length"};
            for (uint16_t k = 0; k < n; ++k) {
                const uint16_t index = r_.u2();
                if (m)
                    m->exceptions.push_back(className(index, true));
                else
                    className(index, true);
            }
            (void)start;
        }
    }

    const uint8_t* data_;
    Reader r_;
    std::vector<uint8_t> tags_;
    std::vector<uint32_t> offsets_;
};

}  // namespace

bool isValidInternalClassName(std::string_view name)
{
    if (name.empty())
        return false;
    size_t segment = 0;
    for (const char c : name) {
        if (c == '/') {
            if (segment == 0)
                return false;
            segment = 0;
            continue;
        }
        if (c == '.' || c == ';' || c == '[')
            return false;
        ++segment;
    }
    return segment != 0;
}

bool isValidMethodDescriptor(std::string_view d)
{
    if (d.empty() || d[0] != '(')
        return false;
    size_t i = 1;
    while (i < d.size() && d[i] != ')') {
        if (!parseFieldType(d, i))
            return false;
    }
    if (i >= d.size())
        return false;
    ++i;  // ')'
    if (i < d.size() && d[i] == 'V')
        return i + 1 == d.size();
    return parseFieldType(d, i) && i == d.size();
}

std::string parseClassFile(const uint8_t* data, size_t size, ClassFileInfo& out)
{
    try {
        Parser(data, size).parse(out);
        return {};
    } catch (const Failure& f) {
        return f.reason;
    } catch (const std::bad_alloc&) {
        return "out of memory";
    }
}

}  // namespace platform::classlib
