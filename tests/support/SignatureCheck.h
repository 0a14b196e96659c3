#pragma once
// Whether a shown member text is the documentation of the selected leaf: its
// first line must name the member with the leaf's own parameter types. Shared
// by the hit-rate walk in bench/ and the installed-library tests.

#include <QString>
#include <QStringList>
#include <optional>

namespace javadoc_check {

inline QString lastPart(QString type)
{
    type.replace('$', '.');
    return type.mid(type.lastIndexOf('.') + 1);
}

// The types inside the first parenthesised list after `name(`, generics and
// annotations dropped, "..." written as "[]", qualifiers cut.
inline std::optional<QStringList> signatureTypes(const QString& line, const QString& name)
{
    qsizetype at = -1;
    for (qsizetype from = 0; (at = line.indexOf(name, from)) >= 0; from = at + 1) {
        const bool startsWord = at == 0 || !(line.at(at - 1).isLetterOrNumber() || line.at(at - 1) == '_');
        if (startsWord && line.mid(at + name.size()).startsWith('('))
            break;
    }
    if (at < 0)
        return std::nullopt;
    QStringList types;
    QString param;
    int angle = 0, paren = 0;
    for (qsizetype i = at + name.size() + 1; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == '<')
            ++angle;
        else if (c == '>')
            --angle;
        else if (c == '(' && angle == 0)
            ++paren;  // an annotation's arguments
        else if (c == ')' && paren > 0)
            --paren;
        else if ((c == ',' || c == ')') && angle == 0 && paren == 0) {
            QStringList words = param.simplified().split(' ', Qt::SkipEmptyParts);
            while (!words.isEmpty() && (words.first().startsWith('@') || words.first() == "final")) words.removeFirst();
            if (words.size() >= 2)
                words.removeLast();  // the parameter's name
            QString type = words.join("");
            type.replace("...", "[]");
            if (!type.isEmpty())
                types << lastPart(type);
            param.clear();
            if (c == ')')
                return types;
        } else if (angle == 0 && paren == 0)
            param += c;
    }
    return std::nullopt;
}

inline bool isPrimitive(const QString& t)
{
    static const QStringList p = {"boolean", "byte", "char", "short", "int", "long", "float", "double"};
    return p.contains(t);
}

// A page type that is a type variable by javadoc's usual naming (E, T, K2).
inline bool looksLikeTypeVariable(const QString& t)
{
    return !t.isEmpty() && t.size() <= 2 && t.at(0).isUpper() && (t.size() == 1 || !t.at(1).isLower());
}

// HitLoosely: agreed only where a page type variable or a bridge's Object stood in.
enum class Verdict { Hit, HitLoosely, Empty, Other };

// leafTypes: the leaf's own erased simple types; member: its simple name.
inline Verdict judge(const QString& text, const QString& member, const QStringList& leafTypes)
{
    if (text.isEmpty())
        return Verdict::Empty;
    const QString first = text.section('\n', 0, 0);
    const std::optional<QStringList> page = signatureTypes(first, lastPart(member));
    if (!page && leafTypes.isEmpty()) {
        // javadoc writes an annotation's elements without "()": "String description".
        const QStringList words = first.simplified().split(' ');
        const qsizetype at = words.indexOf(lastPart(member));
        if (at > 0 && (at == words.size() - 1 || words.at(at + 1) == "default"))
            return Verdict::Hit;
    }
    if (!page || page->size() != leafTypes.size())
        return Verdict::Other;
    bool loose = false;
    for (qsizetype i = 0; i < leafTypes.size(); ++i) {
        QString want = lastPart(leafTypes[i]), got = page->at(i);
        if (want == got)
            continue;
        QString wantBase = want, gotBase = got;
        while (wantBase.endsWith("[]") && gotBase.endsWith("[]")) {
            wantBase.chop(2);
            gotBase.chop(2);
        }
        const bool reference = !isPrimitive(wantBase) && !wantBase.endsWith("[]");
        // A type variable erases to its bound; a bridge's Object stands for the page's type.
        if (reference && !isPrimitive(gotBase) && (looksLikeTypeVariable(gotBase) || wantBase == "Object")) {
            loose = true;
            continue;
        }
        return Verdict::Other;
    }
    return loose ? Verdict::HitLoosely : Verdict::Hit;
}

}  // namespace javadoc_check
