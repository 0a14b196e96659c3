#pragma once
// The class lookup behind SEARCH: the class field's text to the printed
// signatures of the class's public constructors, then its public methods.

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "platform/classlib/JavaClass.h"

namespace platform::classlib {
class ClassLibrary;
}

namespace lookup {

struct LookupResult {
    enum class Status { Blank, Found, NotFound, Unreadable };
    Status status = Status::Blank;
    std::shared_ptr<const platform::JavaClass> cl;
    std::vector<platform::JavaMember> m;     // public methods
    std::vector<platform::JavaMember> ctor;  // public constructors
    QStringList n;                           // printed forms, constructors first
    std::vector<platform::Member> members;   // the same members as values, in n's order
    // NotFound: "Class not found : " + the trimmed name (for standard output).
    // Unreadable: one line naming the class and the reason (for standard error).
    QString message;
    // Found through a member class's binary form: that name ("java.util.Map$Entry"
    // for "java.util.Map.Entry"), which the class field takes from then on.
    QString binaryName;
};

// Trims the field text as Java's trim does and looks the name up in `library`
// (the window and the CLI pass ClassLibrary::system()); a blank name gives
// Status::Blank with an empty n and no lookup. A dotted name that is not found
// as written is tried in its member-class forms from the right ("a.B.C.D" ->
// "a.B.C$D" -> "a.B$C$D"), at most kMaxMemberForms of them.
constexpr int kMaxMemberForms = 8;
LookupResult lookUpClass(platform::classlib::ClassLibrary& library, const QString& nameFieldText);

}  // namespace lookup
