#pragma once
// A type's name as a Java source writes it ("List", "Map.Entry",
// "java.util.List", "Inner") turned into the class it means, in the order the
// language gives: the member types of the type and its enclosing types, the
// file's single-type imports, its package, its on-demand imports, java.lang.
// The class library is asked only whether a class exists, so the rules can be
// exercised without one.

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>

namespace javadoc::source {

// Whether the class of that binary name ("java.util.Map$Entry") exists.
using ClassExists = std::function<bool(const QString& binaryName)>;

// Where in a file a name is read.
struct TypeScope {
    QString packageName;          // "java.util"; "" for the unnamed package
    QStringList typeImports;      // "java.util.Map.Entry"
    QStringList onDemandImports;  // "java.io" for "import java.io.*;"
    // The binary names whose member types a simple name may mean, nearest
    // first: the type, its superclasses, then its enclosing types.
    QStringList memberScopes;
};

class TypeResolver {
public:
    TypeResolver(TypeScope scope, ClassExists exists);

    // The binary name ("java.util.Map$Entry"), or "" when the name means no
    // class, or two on-demand imports both offer one.
    QString resolve(QStringView written) const;

    const TypeScope& scope() const { return scope_; }

private:
    QString simpleName(const QString& name) const;
    // A canonical name ("java.util.Map.Entry") as a binary name, the longest
    // package that holds it first.
    QString binaryOf(const QStringList& parts) const;

    TypeScope scope_;
    ClassExists exists_;
    mutable QHash<QString, QString> resolved_;
};

}  // namespace javadoc::source
