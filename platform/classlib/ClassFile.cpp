#include "platform/classlib/ClassFile.h"

#include <cstring>

namespace platform::classlib {

namespace {

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
    // A reader over the next `length` bytes, which must remain.
    Reader window(size_t length) const { return Reader(data_ + pos_, length); }
    void readPool(ConstantPool& pool)
    {
        if (const char* why = pool.read(data_, size_, pos_); *why)
            throw Failure {why};
    }

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
    Parser(const uint8_t* data, size_t size) : r_(data, size) { }

    void parse(ClassFileInfo& out)
    {
        if (r_.u4() != kClassFileMagic)
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
    void readConstantPool() { r_.readPool(pool_); }

    // The raw bytes of a Utf8 entry.
    std::string_view rawUtf8At(uint16_t index)
    {
        const std::optional<std::string_view> raw = pool_.utf8(index);
        if (!raw)
            throw Failure {"constant pool index out of range or of the wrong kind"};
        return *raw;
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
        if (pool_.tag(index) != ConstantTag::Class)
            throw Failure {"constant pool index out of range or of the wrong kind"};
        const std::optional<std::string_view> raw = pool_.nameOf(index, ConstantTag::Class);
        if (!raw)
            throw Failure {"constant pool index out of range or of the wrong kind"};
        std::string name;
        if (!decodeModifiedUtf8(reinterpret_cast<const uint8_t*>(raw->data()), raw->size(), name))
            throw Failure {"malformed modified UTF-8 in the constant pool"};
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
        Reader a = r_.window(length);
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
        const std::optional<int32_t> value = pool_.integer(index);
        if (!value)
            throw Failure {"constant pool index out of range or of the wrong kind"};
        return *value;
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

    Reader r_;
    ConstantPool pool_;
};

// The size of an entry's body after its tag, for the kinds of fixed size.
std::optional<size_t> fixedBodySize(ConstantTag tag)
{
    switch (tag) {
    case ConstantTag::Class:
    case ConstantTag::String:
    case ConstantTag::MethodType:
    case ConstantTag::Module:
    case ConstantTag::Package:
        return 2;
    case ConstantTag::MethodHandle:
        return 3;
    case ConstantTag::Integer:
    case ConstantTag::Float:
    case ConstantTag::Fieldref:
    case ConstantTag::Methodref:
    case ConstantTag::InterfaceMethodref:
    case ConstantTag::NameAndType:
    case ConstantTag::Dynamic:
    case ConstantTag::InvokeDynamic:
        return 4;
    case ConstantTag::Long:
    case ConstantTag::Double:
        return 8;
    case ConstantTag::None:
    case ConstantTag::Utf8:
        break;
    }
    return std::nullopt;
}

bool knownTag(uint8_t tag)
{
    return tag == uint8_t(ConstantTag::Utf8) || fixedBodySize(ConstantTag(tag)).has_value();
}

}  // namespace

const char* ConstantPool::read(const uint8_t* data, size_t size, size_t& pos)
{
    data_ = data;
    tags_.clear();
    offsets_.clear();
    const auto fits = [&](size_t n) { return pos <= size && n <= size - pos; };
    if (!fits(2))
        return "truncated class file";
    const uint16_t count = u2At(uint32_t(pos));
    pos += 2;
    if (count == 0)
        return "empty constant pool";
    tags_.assign(count, ConstantTag::None);
    offsets_.assign(count, 0);
    for (uint32_t i = 1; i < count; ++i) {
        if (!fits(1))
            return "truncated class file";
        const uint8_t raw = data[pos++];
        if (!knownTag(raw))
            return "unknown constant pool tag";
        const ConstantTag tag = ConstantTag(raw);
        tags_[i] = tag;
        offsets_[i] = uint32_t(pos);
        size_t body = 0;
        if (tag == ConstantTag::Utf8) {
            if (!fits(2))
                return "truncated class file";
            body = 2 + size_t(u2At(uint32_t(pos)));
        } else {
            body = *fixedBodySize(tag);
        }
        if (!fits(body))
            return "truncated class file";
        pos += body;
        if (tag == ConstantTag::Long || tag == ConstantTag::Double) {
            if (++i >= count)
                return "long or double constant in the last pool slot";
            // tags_[i] stays None: the unusable second slot
        }
    }
    return "";
}

std::optional<std::string_view> ConstantPool::utf8(uint16_t index) const
{
    if (index == 0 || tag(index) != ConstantTag::Utf8)
        return std::nullopt;
    const uint32_t at = offsets_[index];
    return std::string_view(reinterpret_cast<const char*>(data_ + at + 2), u2At(at));  // checked when walked
}

std::optional<int32_t> ConstantPool::integer(uint16_t index) const
{
    if (index == 0 || tag(index) != ConstantTag::Integer)
        return std::nullopt;
    const uint8_t* p = data_ + offsets_[index];
    return int32_t(uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]);
}

std::optional<std::string_view> ConstantPool::nameOf(uint16_t index, ConstantTag kind) const
{
    if (index == 0 || tag(index) != kind)
        return std::nullopt;
    return utf8(u2At(offsets_[index]));
}

bool isValidInternalClassName(std::string_view name)
{
    // Every segment non-empty, none holding '.', ';' or '['. The class index
    // asks this of every jar entry (100,000s a start): one pass, one test a
    // character on the usual path.
    if (name.empty() || name.front() == '/' || name.back() == '/')
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (c > '/' && c != ';' && c != '[')
            continue;
        if (c == '.' || c == ';' || c == '[' || (c == '/' && name[i - 1] == '/'))
            return false;
    }
    return true;
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
