#pragma once
// One public constructor or method as a value: what the lookup knows of it,
// handed from the member tree to the documentation side without going through
// display text. Both sides link platform_core and nothing of each other, so the
// value lives here.

#include <QLatin1String>
#include <QMetaType>
#include <QString>
#include <QStringList>

namespace platform {

// The tree's group of the looked-up class's own constructors is named this,
// whatever its declaring class; the documentation side reads the class from the
// class field for it.
inline constexpr QLatin1String kConstructorsGroup("constructors");

enum class MemberKind { Constructor, Method };

struct Member {
    QString declaringClass;  // binary name: "java.util.Map$Entry", "javax.swing.JTree"
    MemberKind kind = MemberKind::Method;
    // The method's name; a constructor's is its class's simple name as Java
    // source writes it ("Entry" for "java.util.Map$Entry").
    QString name;
    // Erased, as reflection's getParameterTypes() names them (Class.getTypeName):
    // "int", "java.lang.Object[]" (also for varargs), "java.util.Map$Entry". An
    // inner class's constructor takes the enclosing instance first.
    QStringList parameterTypes;
    QString printed;  // Method.toString() / Constructor.toString(), as the tree's leaf shows it shortened

    bool operator==(const Member&) const = default;
};

// The part of a binary type name after its package: "Map$Entry", "Object[]".
inline QString withoutPackage(const QString& typeName)
{
    return typeName.mid(typeName.lastIndexOf(QLatin1Char('.')) + 1);
}

// The parameter types as the tree's leaf spells them ("Object", "int[]", "Map$Entry").
inline QStringList leafParameterTypes(const Member& member)
{
    QStringList types;
    types.reserve(member.parameterTypes.size());
    for (const QString& type : member.parameterTypes) types << withoutPackage(type);
    return types;
}

}  // namespace platform

Q_DECLARE_METATYPE(platform::Member)
