#pragma once
// The printed form of a method or constructor: exactly Method.toString() and
// Constructor.toString() (java.lang.reflect.Executable.sharedToString).

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Member.h"
#include "platform/classlib/ClassFile.h"

namespace platform::classlib {

struct LoadedClass;

// A method together with the class that declares it.
struct MethodRef {
    const LoadedClass* declaringClass = nullptr;
    const MethodInfo* method = nullptr;

    std::string_view nameView() const;
    std::string_view parametersView() const;  // descriptor between "(" and ")"
    std::string_view returnView() const;      // descriptor after ")"
    bool declaringClassIsInterface() const;
    const std::string& declaringClassName() const;  // internal name
};

// Modifier.toString(access & mask) with "default" after the access modifier
// when isDefault; each word followed by a blank. Empty when nothing to print.
void appendModifiers(std::string& out, unsigned access, unsigned mask, bool isDefault);

// Appends one field type of a descriptor, starting at `i` (advanced past it),
// as Class.getTypeName() prints it: "int", "java.util.Map$Entry", "byte[][]".
// oldSwing: a name beginning "javax." is printed as "com.sun.java." + the rest.
void appendDescriptorType(std::string& out, std::string_view descriptor, size_t& i, bool oldSwing);

// Appends a class given by its internal name, or by an array descriptor.
void appendClassName(std::string& out, std::string_view internalName, bool oldSwing);

// Replace `out` with the printed form.
void printMethod(const MethodRef& m, bool oldSwing, std::string& out);
void printConstructor(const MethodRef& m, bool oldSwing, std::string& out);

// The members of one class as values: each one's declaring class and
// parameter types by their binary names (never the old Swing names, which only
// the printed form uses), and `printed`, the form printMethod or
// printConstructor gave. A class's members share a few declaring classes,
// names and types; each such text is made once and shared by every member
// that has it, so that a SEARCH does not make hundreds of copies of
// "java.lang.Object".
class MemberValues {
public:
    platform::Member make(const MethodRef& m, platform::MemberKind kind, QString printed);

private:
    const QString& shared(const std::string& text);

    std::unordered_map<std::string, QString> texts_;
    std::string buffer_;
};

// Method.toString's printed form from plain parts, for the tests and fuzzers.
std::string printMethod(unsigned access, bool declaredInInterface, std::string_view declaringClass,
    std::string_view name, std::string_view descriptor, const std::vector<std::string>& exceptions,
    bool oldSwing = false);

}  // namespace platform::classlib
