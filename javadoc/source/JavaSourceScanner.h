#pragma once
// A small reader of Java source files: just enough of the language to find the
// declarations of a file's classes and members and the documentation comment
// before each (/** */, or a run of /// lines written in Markdown). Method bodies, initializers and local or anonymous classes are skipped
// as balanced blocks, never parsed. Any text at all gives a result: what does
// not parse is skipped, and what was found before it stays.

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

namespace javadoc::source {

// How a documentation comment is written: HTML between "/**" and "*/", or
// Markdown in consecutive "///" lines.
enum class CommentSyntax { Traditional, Markdown };

struct SourceParam {
    QString type;  // as javadoc prints it: simple names, generic arguments kept, "..." for varargs
    QString name;
};

struct SourceMember {
    enum class Kind { Method, Constructor, Field };
    Kind kind = Kind::Method;
    QString name;
    QStringList modifiers;   // the modifier keywords as written, annotations left out
    QString typeParameters;  // "<T extends Comparable<? super T>>", "" when none
    QString returnType;      // methods: the result type; fields: the field's type
    std::vector<SourceParam> params;
    QStringList throwsTypes;
    bool hasDoc = false;
    int deprecation = 0;  // 1: @Deprecated, 2: @Deprecated(forRemoval = true)
    QString doc;          // between "/**" and "*/", or the /// lines' Markdown (not kept for fields)
    CommentSyntax docSyntax = CommentSyntax::Traditional;
    QString initializer;  // fields: the initializer when it is one literal, else ""
};

struct SourceType {
    enum class Kind { Class, Interface, Enum, Record, Annotation };
    Kind kind = Kind::Class;
    QString name;
    QString typeParameters;
    std::vector<SourceParam> recordComponents;
    bool hasDoc = false;
    int deprecation = 0;
    QString doc;
    CommentSyntax docSyntax = CommentSyntax::Traditional;
    // Constructors and methods, and the fields whose initializer is one
    // literal ({@value} reads them; other fields are of no use); at most
    // 65536 members in a file.
    std::vector<SourceMember> members;
    std::vector<SourceType> nested;
};

struct SourceFile {
    std::vector<SourceType> types;
    // Member types imported by their own name ("import java.util.Map.Entry;"):
    // "Entry" → "Map.Entry", as javadoc writes them.
    QHash<QString, QString> nestedImports;
    // What names in the file's comments resolve against: its package
    // ("java.util", "" for none), its single-type imports as written
    // ("java.util.Map.Entry") and its on-demand ones without ".*" ("java.io").
    QString packageName;
    QStringList typeImports;
    QStringList onDemandImports;
};

// The text with its \uXXXX escapes translated (JLS 3.3): a "\" preceded by an
// odd number of "\" starts no escape, and a "\u" without four hex digits stays.
QString translateUnicodeEscapes(QStringView text);

// Reads the declarations of a compilation unit (escapes already translated).
SourceFile scanJavaSource(QStringView text);

// A type as the javadoc signature shows it after erasure, for matching the
// member tree's parameter types: generic arguments dropped, qualifiers cut,
// type variables replaced by their first bound's erasure (looked up in
// `typeVariables`, pairs of name and bound, the nearest scope first).
QString eraseType(const QString& type, const std::vector<std::pair<QString, QString>>& typeVariables);

// "<K, V extends Comparable<V>>" → (K, "Object"), (V, "Comparable<V>").
std::vector<std::pair<QString, QString>> typeVariablesOf(const QString& typeParameters);

}  // namespace javadoc::source
