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

struct SelectionArgs {
    QString memberName;
    int commaCount = 0;
    QString groupName;
};

// From the reported path's node texts (root first). Nothing for the root alone.
std::optional<SelectionArgs> deriveSelection(const QStringList& pathTexts);

}  // namespace javadoc
