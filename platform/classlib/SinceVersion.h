#pragma once
// In which release a member first appeared, from the members a class had in
// each release looked at. Pure: no class library, no files.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform::classlib {

struct Since {
    int release = 0;       // the first release looked at that has the member; 0 for none
    bool orOlder = false;  // that is the oldest release looked at: the member may be older still
};

// A member as the releases are compared: its name ("<init>" for a
// constructor) and its erased parameter types as a descriptor's middle:
// "of()", "<init>(ILjava/lang/String;)". Return types are left out, so a
// method keeps its release when an override narrows its return type.
std::string memberKey(std::string_view name, std::string_view parameterDescriptors);

// The member keys public in a class in one release; a release without the
// class has none.
struct ReleaseMembers {
    int release = 0;
    std::vector<std::string> keys;
};

// For every key of any release: the first release (of `history`, which is
// ordered oldest first) that has it.
std::unordered_map<std::string, Since> sinceOfMembers(const std::vector<ReleaseMembers>& history);

// The column the CLI prints: "9", "≤7" (UTF-8), "-" for none; "!" after it
// when the member is deprecated for removal.
std::string formatSince(const Since& since, bool forRemoval);

// Erased Java types as reflection names them ("int", "java.lang.String[]",
// "java.util.Map$Entry") to descriptors concatenated ("I[Ljava/lang/String;");
// false for a text that is no type.
bool parameterDescriptors(const std::vector<std::string>& erasedTypes, std::string& out);

}  // namespace platform::classlib
