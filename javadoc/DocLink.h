#pragma once
// A span of a member's documentation text that names another class or member.

#include <QString>

namespace javadoc {

struct DocLink {
    qsizetype start;
    qsizetype length;
    QString target;  // the qualified binary class name, optionally "#member(Type,Type)"
};

}  // namespace javadoc
