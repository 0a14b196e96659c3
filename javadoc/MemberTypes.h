#pragma once
// Telling overloads apart: the member anchors and section ids of javadoc
// 1.3 and later name a member's parameter types, in one of two spellings:
// "add(int, java.lang.Object)" (1.3-7, 9 and later, also "<init>(...)" for a
// constructor) and "add-int-java.lang.Object-" (8, arrays as "int:A").

#include <QString>
#include <QStringList>
#include <optional>

namespace javadoc {

struct MemberAnchor {
    QString name;       // "add"; a constructor's is its class's simple name or "<init>"
    QStringList types;  // as the page spells them, "java.lang.Object", "E", "int[]", "T..."
};

// Nothing for an anchor that names no member: a field, a section ("method_detail",
// "navbar.top"), unbalanced parentheses, an empty type, or more parameters
// than a Java method can have.
std::optional<MemberAnchor> parseMemberAnchor(QStringView id);

// How well a page's types fit the leaf's erased simple types: 0 when they are
// the same types, higher when only a looser reading fits (a type variable
// taken at its erasure, a bridge's Object for the page's type); nothing when
// they cannot be the same member.
std::optional<int> typeFit(const QStringList& pageTypes, const QStringList& leafTypes);

// The capped comma count that a tree text with these parameters has, leaving
// a throws clause aside: -1 for none, n-1 for n, at most 6.
int commaCountOf(qsizetype parameterCount);

// Whether an anchor name is the member's: equal to it (or to the last part of
// a nested name), or "<init>" for the class's constructors.
bool namesMember(const QString& anchorName, const QString& memberName, const QString& simpleClassName);

// The part of a class name after its last "." or "$".
QString simpleNameOf(const QString& name);

}  // namespace javadoc
