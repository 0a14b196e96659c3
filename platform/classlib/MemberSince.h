#pragma once
// Since-versions over a class library: each public constructor and method of
// a class, with the first release (of those the JDK holds, up to the one the
// library reads) in which the class has it public, and whether the release
// read marks it (or its declaring class) deprecated for removal.

#include <optional>
#include <string>
#include <vector>

#include "platform/classlib/SinceVersion.h"

namespace platform::classlib {

class ClassLibrary;

struct MemberSince {
    std::string printed;  // as the member list prints it (Method.toString())
    std::string key;      // memberKey(): name and erased parameter types
    // Release 0 for a class that is not the JDK's. A bridge method takes the
    // release of its name and parameters: ct.sym has no bridges, but the
    // member they stand for (inherited, or the interface's) is there.
    Since since;
    bool bridge = false;
    bool forRemoval = false;
};

// The class's public constructors, then its public methods, in the library's
// release. Empty when the class cannot be loaded. `binaryName` may be an old
// Swing name ("com.sun.java.swing.JTable"), printed the old way, as forName does.
std::vector<MemberSince> membersSince(ClassLibrary& library, const std::string& binaryName);

// The documentation's question: for a member of a class, given by its name
// ("<init>" for a constructor) and its erased parameter types as reflection
// names them ("int", "java.lang.String[]"), its since-version and removal
// mark. Nothing when the class has no such public member in the library's release.
struct SinceAnswer {
    Since since;
    bool forRemoval = false;
};
std::optional<SinceAnswer> sinceOfMember(ClassLibrary& library, const std::string& binaryName,
    const std::string& memberName, const std::vector<std::string>& erasedParameterTypes);

}  // namespace platform::classlib
