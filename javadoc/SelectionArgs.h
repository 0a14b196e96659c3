#pragma once
// What a tree selection hands the extractor: member name, comma count, group.

#include <QString>
#include <QStringList>
#include <optional>

namespace javadoc {

// The comma count of a text: 0 without "("; else the number of successful
// searches for "," (each starting one past the previous hit, the first one past
// the "("), at most 6, stopping at the first miss; -1 when the text holds "()".
int commaCount(const QString& text);

// The parameter types of a member's tree text as the tree prints them (erased
// simple names: "Object", "int[]", "Map$Entry"), from the first "(" to its ")";
// nothing when the text has no complete parameter list.
std::optional<QStringList> parameterTypes(const QString& text);

struct SelectionArgs {
    QString memberName;
    int commaCount = 0;
    QString groupName;
    std::optional<QStringList> paramTypes;  // nothing for a group node
};

// From the reported path's node texts (root first). Nothing for the root alone.
std::optional<SelectionArgs> deriveSelection(const QStringList& pathTexts);

}  // namespace javadoc
