#include "lookup/MemberTree.h"

#include <QHash>
#include <memory>

#include "lookup/SortVector.h"
#include "lookup/StripQualifiers.h"
#include "platform/JavaText.h"

namespace lookup {

namespace {
const QString kNine = QStringLiteral("         ");
const QString kTwo = QStringLiteral("  ");
const QString kConstructors = platform::kConstructorsGroup;
constexpr int kNameWidth = 18;
constexpr qsizetype kClassesKept = 25;

// The member of each printed signature, keyed by the signature's character
// data: the sorted list holds shared copies of the members' own printed texts,
// so the key is found without hashing or comparing any text.
using MembersByPrinted = QHash<const QChar*, const platform::Member*>;

MemberNode buildTree(const QStringList& n, const QString& searchText, const QString& nameFieldText,
    QStringList& classes, const MembersByPrinted& members, const SinceTable* since)
{
    MemberNode root {QStringLiteral("Methods"), {}};

    auto sv = SortVector(std::make_shared<StringCompare>());
    sv.reserve(n.size());
    for (const QString& s : n) {
        if (keepsLeaf(s, searchText, since))
            sv.append(s);
    }
    sv.sort();

    while (classes.size() < kClassesKept) classes.append(QString());

    // There is no cap on the groups: classes grows past its usual 25 entries
    // when a class has more declaring classes than that.
    qsizetype groupCount = 0;
    for (const QString& s : sv) {
        const QString shortForm = StripQualifiers::strip(s);
        const QString qualifier = StripQualifiers::getQualifier();

        qsizetype group = -1;
        for (qsizetype k = 0; k < groupCount; ++k) {
            if (classes.at(k) == qualifier)
                group = k;
        }
        if (group < 0) {
            group = groupCount++;
            if (classes.size() <= group)
                classes.append(QString());
            classes[group] = qualifier;
            root.children.push_back(MemberNode {qualifier + kNine, {}, std::nullopt});
        }

        // Drops the leading modifier word ("public").
        QString display = shortForm;
        const qsizetype firstBlank = shortForm.indexOf(QLatin1Char(' '));
        if (!shortForm.isEmpty() && firstBlank > 0)
            display = shortForm.mid(firstBlank + 1);

        qsizetype p = display.lastIndexOf(QLatin1Char('('));
        if (p < 0)
            p = display.size();  // a printed signature always has one
        // Qt's lastIndexOf counts a negative start from the end, hence the p > 0 test.
        const qsizetype b = p > 0 ? QStringView(display).left(p).lastIndexOf(QLatin1Char(' ')) : -1;
        QString name = display.mid(b + 1, p - b - 1);
        if (name.size() < kNameWidth)
            name.append(QString(kNameWidth - name.size(), QLatin1Char(' ')));

        MemberNode leaf {name + kTwo + display + kNine, {}, std::nullopt};
        if (const auto found = members.constFind(s.constData()); found != members.constEnd())
            leaf.member = **found;
        root.children[group].children.push_back(std::move(leaf));
    }

    // The constructors group is found through the class field's text as typed:
    // a group named like the class, cut to its package, is the package group the
    // class's own constructors went into.
    QString best;
    for (qsizetype k = 0; k < groupCount; ++k) {
        // Java's contains: the empty text is in every text, the empty one included.
        if (nameFieldText.isEmpty() || classes.at(k).contains(nameFieldText))
            best = classes.at(k);
    }
    bool found = false;
    for (qsizetype k = 0; k < groupCount && !found; ++k)
        found = nameFieldText.isEmpty() || classes.at(k).contains(nameFieldText);
    if (found) {
        const qsizetype dot = best.lastIndexOf(QLatin1Char('.'));
        if (dot > 0)
            best.truncate(dot);
    } else {
        // A class that declares constructors but no public method of its own
        // (most exceptions and events) has no group named after it; its
        // constructors are grouped under the class name cut to its qualifier.
        const QString trimmed = platform::javaTrim(nameFieldText);
        const qsizetype dot = trimmed.lastIndexOf(QLatin1Char('.'));
        best = dot > 0 ? trimmed.left(dot) : QString();
    }
    for (qsizetype k = 0; k < groupCount; ++k) {
        if (classes.at(k) == best) {
            classes[k] = kConstructors;
            root.children[k].text = kConstructors;
        }
    }
    return root;
}

// A node text with its padding gone: one blank between words.
QString unpadded(const QString& text)
{
    return text.simplified();
}

}  // namespace

MemberNode buildMemberTree(const QStringList& n, const QString& searchText, const QString& nameFieldText,
    QStringList& classes, const SinceTable* since)
{
    return buildTree(n, searchText, nameFieldText, classes, MembersByPrinted(), since);
}

MemberNode buildMemberTree(const std::vector<platform::Member>& members, const QString& searchText,
    const QString& nameFieldText, QStringList& classes, const SinceTable* since)
{
    QStringList n;
    MembersByPrinted byPrinted;
    n.reserve(qsizetype(members.size()));
    byPrinted.reserve(qsizetype(members.size()));
    for (const platform::Member& member : members) {
        n.append(member.printed);
        byPrinted.insert(member.printed.constData(), &member);
    }
    return buildTree(n, searchText, nameFieldText, classes, byPrinted, since);
}

std::optional<platform::Member> leafMember(const MemberNode& root, const QString& groupText, const QString& leafText)
{
    const QString group = unpadded(groupText);
    const QString leaf = unpadded(leafText);
    std::optional<platform::Member> found;
    for (const MemberNode& g : root.children) {
        if (unpadded(g.text) != group)
            continue;
        for (const MemberNode& l : g.children) {
            if (!l.member || unpadded(l.text) != leaf)
                continue;
            if (found)
                return std::nullopt;
            found = l.member;
        }
    }
    return found;
}

}  // namespace lookup
