#pragma once
// What the class files add to a member's text when the caller asks for it:
// a DEPRECATED FOR REMOVAL section when the release read marks the member (or
// its class) for removal and the text does not already say so, and a last
// SINCE section with the member's first release when the text names none.
// A text that has its own since keeps it; a differing first release is put in
// brackets after it, so that a reader sees both and where each came from.
//
// The facts come from the class library, which this library never reads: the
// caller hands them in through MemberFactsReader (see docs/ARCHITECTURE.md).

#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

#include "javadoc/DocLink.h"
#include "platform/Member.h"

namespace javadoc {

struct MemberFacts {
    // The first release that has the member public; 0 when not known (a
    // class that is not the JDK's).
    int sinceRelease = 0;
    // That release is the oldest the JDK holds: the member may be older still.
    bool sinceOrOlder = false;
    bool forRemoval = false;  // the member or its class, in the release read
};

class MemberFactsReader {
public:
    virtual ~MemberFactsReader() = default;
    // Nothing when the class library has no such public member.
    virtual std::optional<MemberFacts> facts(const platform::Member& member) = 0;
};

// "9", or "≤7" when the member may be older than the oldest release held.
QString sinceText(const MemberFacts& facts);

// The release a documentation text's since names: "9", "1.8" (8), "JDK1.2"
// (2), "1.4.2" (4), "Java SE 11" (11). Nothing for a text with no number.
std::optional<int> releaseOfSinceText(QStringView text);

// Adds the sections to a text written in the writer's shape (not to an era
// page's text, whose shape is its own). Links before a bracket keep their
// offsets; those after it move with the text.
void addClassFileSections(QString& text, std::vector<DocLink>& links, const MemberFacts& facts);

}  // namespace javadoc
