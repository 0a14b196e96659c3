#pragma once
// Class introspection over the installed JDK's class files, answering what the
// JVM's reflection answers (Class.forName, getMethods, getConstructors,
// Method/Constructor.toString) without starting a JVM.

#include <QString>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/Member.h"

namespace platform {

// No class of that binary name in the class library.
class ClassNotFoundException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The class (or one of its supertypes) exists but cannot be read: malformed,
// truncated, unsupported compression. what() is one line naming the class and the reason.
class ClassFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A public method or constructor, as reflection reports it.
class JavaMember {
public:
    JavaMember() = default;
    explicit JavaMember(QString printed) { member_.printed = std::move(printed); }
    explicit JavaMember(Member member) : member_(std::move(member)) { }
    // Method.toString() / Constructor.toString() of the JDK being read.
    const QString& toString() const { return member_.printed; }
    // The member as a value (its class, kind, name and parameter types).
    const Member& member() const { return member_; }

private:
    Member member_;
};

class JavaClass {
public:
    virtual ~JavaClass() = default;

    // Binary names ("java.util.Map$Entry"). Non-public classes are found too.
    // Throws ClassNotFoundException or ClassFormatError. Classes are cached for the process.
    static std::shared_ptr<const JavaClass> forName(const QString& binaryName);

    virtual QString getName() const = 0;
    // May throw ClassFormatError when a supertype cannot be read.
    // Class.getMethods()'s members by the JDK 9+ rules; the order is ours
    // (see PublicMethods in ClassLibrary.cpp).
    virtual std::vector<JavaMember> getMethods() const = 0;
    virtual std::vector<JavaMember> getConstructors() const = 0;
};

// "" when a class library was found; otherwise the one line (without line end)
// to print on standard error at start-up.
QString classLibraryStartupWarning();

// After a class was not found: the one line explaining why classes may be
// missing (a damaged JDK image), the first time it is asked; "" otherwise.
QString classLibraryNotFoundWarning();

}  // namespace platform
