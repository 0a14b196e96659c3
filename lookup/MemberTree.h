#pragma once
// The member tree's node texts, built from printed signatures: filtered by the
// search text, sorted by member name, shortened, grouped by declaring class.

#include <QString>
#include <QStringList>
#include <vector>

#include "lookup/SinceFilter.h"

namespace lookup {

struct MemberNode {
    QString text;
    std::vector<MemberNode> children;
};

// Everything reDisplay does before the tree widget is made: returns the root
// ("Methods") with its groups and leaves. classes receives the group names in
// group order (it keeps at least 25 entries and grows when there are more groups;
// entries past the current groups keep what earlier trees left). `since`
// serves a search text "since:N" (see keepsLeaf).
MemberNode buildMemberTree(const QStringList& n, const QString& searchText, const QString& nameFieldText,
    QStringList& classes, const SinceTable* since = nullptr);

}  // namespace lookup
