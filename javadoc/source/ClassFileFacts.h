#pragma once
// The documentation service's class-file facts over a class library: a
// member's first release (MemberSince) and its removal mark, in the release
// the library reads.

#include "javadoc/DocSections.h"

namespace platform::classlib {
class ClassLibrary;
}

namespace javadoc::source {

class ClassFileFacts final : public MemberFactsReader {
public:
    // The library must outlive the reader.
    explicit ClassFileFacts(platform::classlib::ClassLibrary& library) : library_(library) { }
    std::optional<MemberFacts> facts(const platform::Member& member) override;

private:
    platform::classlib::ClassLibrary& library_;
};

// Over the process's class library (its --release, when one was asked for).
MemberFactsReader& systemMemberFacts();

}  // namespace javadoc::source
