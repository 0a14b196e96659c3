#pragma once
// What a class library gives for a class, as text: its members as reflection
// prints them, or the one-line error of reading them.

#include <string>
#include <vector>

#include "platform/classlib/ClassLibrary.h"

namespace testing_classlib {

using Lines = std::vector<std::string>;

template <typename Member> Lines lines(const std::vector<Member>& members)
{
    Lines out;
    for (const auto& m : members) out.push_back(m.toString().toStdString());
    return out;
}

// The constructors, then the methods.
inline Lines members(platform::classlib::ClassLibrary& library, const std::string& name)
{
    const auto cls = library.forName(QString::fromStdString(name));
    Lines out = lines(cls->getConstructors());
    const Lines methods = lines(cls->getMethods());
    out.insert(out.end(), methods.begin(), methods.end());
    return out;
}

// The error reading the class's methods, "not found: NAME", or "".
inline std::string readError(platform::classlib::ClassLibrary& library, const std::string& name)
{
    try {
        library.forName(QString::fromStdString(name))->getMethods();
    } catch (const platform::ClassFormatError& e) {
        return e.what();
    } catch (const platform::ClassNotFoundException& e) {
        return std::string("not found: ") + e.what();
    }
    return "";
}

}  // namespace testing_classlib
