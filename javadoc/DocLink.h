#pragma once
// A link inside a member's documentation text: a span of the text that names
// a class or one of its members. Formatting only: the text is the same with
// or without its links.

#include <QString>

namespace javadoc {

struct DocLink {
    qsizetype start = 0;   // offset of the span's first character in the text
    qsizetype length = 0;  // the span's length in characters
    // The qualified binary class name ("java.util.Map$Entry"), optionally
    // followed by "#name(Type,Type)" for a member: the parameter types as
    // simple names without type arguments, as the member tree's leaves spell
    // them ("#add(int,Object)", "#toArray(Object[])", varargs as "[]";
    // constructors "#<init>(int)"). A type variable stays its name ("#add(E)")
    // where the documentation does not give its erasure.
    QString target;
};

inline bool operator==(const DocLink& a, const DocLink& b)
{
    return a.start == b.start && a.length == b.length && a.target == b.target;
}

}  // namespace javadoc
