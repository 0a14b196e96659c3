#include "platform/classlib/MemberPrinter.h"

#include "platform/classlib/LoadedClass.h"

#include "platform/SwingNaming.h"
#include <algorithm>

namespace platform::classlib {

namespace {

// java.lang.reflect.Modifier.methodModifiers() and constructorModifiers().
constexpr unsigned kMethodModifiers = ACC_PUBLIC | ACC_PROTECTED | ACC_PRIVATE | ACC_ABSTRACT | ACC_STATIC | ACC_FINAL |
    ACC_SYNCHRONIZED | ACC_NATIVE | ACC_STRICT;
constexpr unsigned kConstructorModifiers = ACC_PUBLIC | ACC_PROTECTED | ACC_PRIVATE;
constexpr unsigned kAccessModifiers = ACC_PUBLIC | ACC_PROTECTED | ACC_PRIVATE;

// Modifier.toString order. (transient and volatile share bits with varargs
// and bridge but are never in the method or constructor mask.)
void appendModifierWords(std::string& out, unsigned mod)
{
    static const struct {
        unsigned bit;
        const char* word;
    } order[] = {
        {ACC_PUBLIC, "public "},
        {ACC_PROTECTED, "protected "},
        {ACC_PRIVATE, "private "},
        {ACC_ABSTRACT, "abstract "},
        {ACC_STATIC, "static "},
        {ACC_FINAL, "final "},
        {ACC_SYNCHRONIZED, "synchronized "},
        {ACC_NATIVE, "native "},
        {ACC_STRICT, "strictfp "},
    };
    for (const auto& o : order)
        if (mod & o.bit)
            out += o.word;
}

void appendDottedName(std::string& out, std::string_view internalName, bool oldSwing)
{
    if (oldSwing)
        internalName.remove_prefix(platform::appendOldSwingRoot(out, internalName));
    for (const char c : internalName) out += c == '/' ? '.' : c;
}

void appendExecutableTail(
    std::string& out, std::string_view descriptor, const std::vector<std::string>& exceptions, bool oldSwing)
{
    out += '(';
    size_t i = 1;
    bool first = true;
    while (i < descriptor.size() && descriptor[i] != ')') {
        if (!first)
            out += ',';
        first = false;
        appendDescriptorType(out, descriptor, i, oldSwing);
    }
    out += ')';
    for (size_t k = 0; k < exceptions.size(); ++k) {
        out += k == 0 ? " throws " : ",";
        appendClassName(out, exceptions[k], oldSwing);
    }
}

}  // namespace

void appendModifiers(std::string& out, unsigned access, unsigned mask, bool isDefault)
{
    // Executable.printModifiersIfNonzero.
    unsigned mod = access & mask;
    if (mod != 0 && !isDefault) {
        appendModifierWords(out, mod);
    } else {
        appendModifierWords(out, mod & kAccessModifiers);
        if (isDefault)
            out += "default ";
        appendModifierWords(out, mod & ~kAccessModifiers);
    }
}

void appendDescriptorType(std::string& out, std::string_view d, size_t& i, bool oldSwing)
{
    size_t dims = 0;
    while (i < d.size() && d[i] == '[') {
        ++dims;
        ++i;
    }
    if (i < d.size()) {
        switch (d[i]) {
        case 'B':
            out += "byte";
            ++i;
            break;
        case 'C':
            out += "char";
            ++i;
            break;
        case 'D':
            out += "double";
            ++i;
            break;
        case 'F':
            out += "float";
            ++i;
            break;
        case 'I':
            out += "int";
            ++i;
            break;
        case 'J':
            out += "long";
            ++i;
            break;
        case 'S':
            out += "short";
            ++i;
            break;
        case 'Z':
            out += "boolean";
            ++i;
            break;
        case 'V':
            out += "void";
            ++i;
            break;
        case 'L': {
            size_t end = d.find(';', i);
            if (end == std::string_view::npos)
                end = d.size();
            appendDottedName(out, d.substr(i + 1, end - i - 1), oldSwing);
            i = end + 1;
            break;
        }
        default:
            ++i;  // descriptors are checked by the parser; never loop forever
            break;
        }
    }
    for (size_t k = 0; k < dims; ++k) out += "[]";
}

void appendClassName(std::string& out, std::string_view internalName, bool oldSwing)
{
    if (!internalName.empty() && internalName[0] == '[') {
        size_t i = 0;
        appendDescriptorType(out, internalName, i, oldSwing);
        return;
    }
    appendDottedName(out, internalName, oldSwing);
}

void printMethod(const MethodRef& m, bool oldSwing, std::string& out)
{
    const MethodInfo& info = *m.method;
    out.clear();
    // Method.isDefault(): public, neither abstract nor static, declared in an interface.
    const bool isDefault =
        (info.access & (ACC_ABSTRACT | ACC_PUBLIC | ACC_STATIC)) == ACC_PUBLIC && m.declaringClassIsInterface();
    appendModifiers(out, info.access, kMethodModifiers, isDefault);
    const std::string_view d = info.descriptor;
    size_t r = d.find(')') + 1;
    appendDescriptorType(out, d, r, oldSwing);
    out += ' ';
    appendClassName(out, m.declaringClassName(), oldSwing);
    out += '.';
    out += info.name;
    appendExecutableTail(out, d, info.exceptions, oldSwing);
}

void printConstructor(const MethodRef& m, bool oldSwing, std::string& out)
{
    const MethodInfo& info = *m.method;
    out.clear();
    appendModifiers(out, info.access, kConstructorModifiers, false);
    appendClassName(out, m.declaringClassName(), oldSwing);
    appendExecutableTail(out, info.descriptor, info.exceptions, oldSwing);
}

const QString& MemberValues::shared(const std::string& text)
{
    auto it = texts_.find(text);
    if (it == texts_.end())
        it = texts_.emplace(text, QString::fromStdString(text)).first;
    return it->second;
}

platform::Member MemberValues::make(const MethodRef& m, platform::MemberKind kind, QString printed)
{
    platform::Member member;
    buffer_.clear();
    appendClassName(buffer_, m.declaringClassName(), false);
    member.declaringClass = shared(buffer_);
    member.kind = kind;
    if (kind == platform::MemberKind::Constructor) {
        const qsizetype cut = std::max(
            member.declaringClass.lastIndexOf(QLatin1Char('.')), member.declaringClass.lastIndexOf(QLatin1Char('$')));
        member.name = member.declaringClass.mid(cut + 1);
    } else {
        member.name = shared(m.method->name);
    }
    const std::string_view d = m.method->descriptor;
    for (size_t i = 1; i < d.size() && d[i] != ')';) {
        buffer_.clear();
        appendDescriptorType(buffer_, d, i, false);
        member.parameterTypes << shared(buffer_);
    }
    member.printed = std::move(printed);
    return member;
}

LoadedClass::MemberValueLists LoadedClass::computeMemberValues() const
{
    MemberValueLists lists;
    MemberValues values;
    const std::vector<MethodRef>& methods = publicMethods();
    lists.methods.reserve(methods.size());
    for (const MethodRef& m : methods) lists.methods.push_back(values.make(m, platform::MemberKind::Method, QString()));
    if (!isInterface) {
        for (const MethodInfo& m : info.methods)
            if (m.name == "<init>")
                lists.constructors.push_back(values.make({this, &m}, platform::MemberKind::Constructor, QString()));
    }
    return lists;
}

std::string printMethod(unsigned access, bool declaredInInterface, std::string_view declaringClass,
    std::string_view name, std::string_view descriptor, const std::vector<std::string>& exceptions, bool oldSwing)
{
    std::string out;
    const bool isDefault = (access & (ACC_ABSTRACT | ACC_PUBLIC | ACC_STATIC)) == ACC_PUBLIC && declaredInInterface;
    appendModifiers(out, access, kMethodModifiers, isDefault);
    size_t r = descriptor.find(')');
    r = r == std::string_view::npos ? descriptor.size() : r + 1;
    appendDescriptorType(out, descriptor, r, oldSwing);
    out += ' ';
    appendClassName(out, declaringClass, oldSwing);
    out += '.';
    out += name;
    appendExecutableTail(out, descriptor, exceptions, oldSwing);
    return out;
}

}  // namespace platform::classlib
