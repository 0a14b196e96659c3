#pragma once
// Finding a method by name: what a query asks for, how a name matches it and
// in which order the answers come. Pure functions over text, so that the rules
// are tested without a class library (MemberIndex applies them).
//
// A query is either a method name ("toUnmodifiableList", also "#name"), or a
// class and a method name ("Collectors#toList", "Collectors.toL", "Map.Entry#",
// "java.util.Map.Entry#getKey"); an empty method name after a class asks for
// all of its methods.
//
// A method name matches exactly (case-sensitive), else by prefix (in either
// letter case), else by capitals ("tUL": each hump of the query starts a hump
// of the name, in order, the first humps meeting at the start).

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lookup {

// The qualified names' code-unit order, shared by the completion list and
// the member search: internal names compared as if their "/" were ".".
bool qualifiedLess(std::string_view a, std::string_view b);

enum class NameMatch : uint8_t { Exact, Prefix, Capitals, None };

struct MemberQuery {
    enum class Kind : uint8_t { Nothing, MethodName, ClassMethods };
    static constexpr int kMaxTextLength = 1024;

    Kind kind = Kind::Nothing;
    std::string className;   // ClassMethods: as typed, "Map.Entry" or "java.util.Map$Entry"
    std::string methodName;  // UTF-8; "" in ClassMethods for every method

    // Trimmed; a text longer than kMaxTextLength, or with no name in it, asks
    // for nothing.
    static MemberQuery parse(const QString& text);
};

class NamePattern {
public:
    explicit NamePattern(std::string_view query);

    NameMatch match(std::string_view name) const;
    // The query in lower case (ASCII): the prefix the sorted names are searched by.
    const std::string& lowered() const { return lowered_; }
    // False for a query with a single hump, which the prefix already covers.
    bool usesCapitals() const { return humps_.size() >= 2; }
    bool matchesCapitals(std::string_view name) const;

private:
    std::string query_;
    std::string lowered_;
    std::vector<std::string_view> humps_;
};

std::string lowerAscii(std::string_view s);

// The completion list's rank among classes: the JDK before the CLASSPATH
// entries (in their order), java.base before the other java.* modules before
// the rest, not deprecated before deprecated, the shorter qualified name, code
// units (the internal name compared as if its "/" were ".").
struct ClassRankKey {
    uint16_t source = 0;
    uint8_t moduleRank = 0;
    bool deprecated = false;
    std::string_view internalName;
};
bool ranksBefore(const ClassRankKey& a, const ClassRankKey& b);

// One answer's place: by match, then by its class's rank, then by method name
// (code units), then by the declaring class's own order of its methods.
struct MethodPlace {
    NameMatch match = NameMatch::None;
    uint32_t classRank = 0;
    std::string_view name;
    uint32_t ordinal = 0;
};
bool placedBefore(const MethodPlace& a, const MethodPlace& b);

}  // namespace lookup
