#pragma once
// The member tree's leaf filter. A search text "since:N" keeps the members
// added after release N; any other text keeps the members whose printed
// signature contains it.

#include <QHash>
#include <QString>

#include "platform/classlib/SinceVersion.h"

namespace platform::classlib {
class ClassLibrary;
}

namespace lookup {

// Printed signature -> the first release that has the member.
using SinceTable = QHash<QString, platform::classlib::Since>;

// The since-versions of the public members of a class found by lookUpClass
// (its JavaClass::getName()), keyed by their printed signatures.
SinceTable sinceTableOf(platform::classlib::ClassLibrary& library, const QString& className);

// N of a search text "since:N"; 0 for any other text.
int sinceFilterRelease(const QString& searchText);

// Whether the leaf of `printed` stays. With "since:N" and a table, a member
// stays when its first release is known to be after N (one found in the
// oldest release held may be older still, so it goes); without a table the
// text is a plain search text.
bool keepsLeaf(const QString& printed, const QString& searchText, const SinceTable* since);

}  // namespace lookup
