#pragma once
// The member tree's node texts, built from printed signatures: filtered by the
// search text, sorted by member name, shortened, grouped by declaring class.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "lookup/SinceFilter.h"
#include "platform/Member.h"

namespace lookup {

struct MemberNode {
    QString text;
    std::vector<MemberNode> children;
    std::optional<platform::Member> member = std::nullopt;  // a leaf built from a member value
};

// Everything reDisplay does before the tree widget is made: returns the root
// ("Methods") with its groups and leaves. classes receives the group names in
// group order (it keeps at least 25 entries and grows when there are more groups;
// entries past the current groups keep what earlier trees left). `since`
// serves a search text "since:N" (see keepsLeaf).
MemberNode buildMemberTree(const QStringList& n, const QString& searchText, const QString& nameFieldText,
    QStringList& classes, const SinceTable* since = nullptr);

// The same tree over the lookup's member values (LookupResult::members): the
// texts are those of their printed forms, and each leaf carries its member.
MemberNode buildMemberTree(const std::vector<platform::Member>& members, const QString& searchText,
    const QString& nameFieldText, QStringList& classes, const SinceTable* since = nullptr);

// The member of the leaf that a group text and a leaf text name, as a selection
// of that leaf in the tree would give it; blanks around and inside the texts
// do not count. Nothing when no leaf, or more than one, fits.
std::optional<platform::Member> leafMember(const MemberNode& root, const QString& groupText, const QString& leafText);

}  // namespace lookup
