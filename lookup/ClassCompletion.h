#pragma once
// Class names beyond the catalogue: the class index turned into answers for
// SEARCH (one name, one class), for the completion list (a prefix or the
// capitals of a name) and for the suggestions after a failed lookup.
//
// One name matching several classes is decided by rank: the JDK before the
// CLASSPATH entries (those in CLASSPATH order); java.base, then the other
// java.* modules, then the rest; a class not marked deprecated before a
// deprecated one; the shorter qualified name; code-unit order.

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "platform/classlib/ClassIndex.h"

namespace lookup {

struct ClassChoice {
    QString binaryName;   // "java.util.Map$Entry": what the lookup takes
    QString simpleName;   // "Map.Entry"
    QString packageName;  // "java.util"
};

// Asked between class-file reads by a query run off the event thread: true
// when its answer is no longer wanted (a newer keystroke), so it stops early
// with what it has.
using StopQuery = std::function<bool()>;

// Built once (ClassIndexProvider builds the window's off the event thread),
// then read from any thread.
class ClassCompletion {
public:
    static constexpr int kMaxTextLength = 1024;

    explicit ClassCompletion(std::unique_ptr<platform::classlib::ClassIndex> index);

    // A simple binary name ("Optional", "Map$Entry") or its dotted member form
    // ("Map.Entry"), trimmed: the binary name of the public class the rank
    // picks, or "" (also for a qualified name, which the lookup takes itself).
    QString resolve(const QString& text) const;
    // The same answer without the whole index: only the classes of that one
    // name are read from the library (a single resolution, the CLI's).
    static QString resolveOnce(platform::classlib::ClassLibrary& library, const QString& text);

    // The completion list: classes whose simple name starts with the text
    // (case-insensitive) or matches it by capitals ("CoHaMa"), exact names
    // first, then case-sensitive prefixes, case-insensitive prefixes,
    // capitals; each group by rank. A text with "." or "$" completes member
    // forms ("Map.En") and qualified names ("java.util.Ha"). limit 0: all.
    // Ranking reads candidates' class files (public, deprecated), so a query
    // over a large CLASSPATH may take long: the window runs it off the event
    // thread (CompletionWorker).
    std::vector<ClassChoice> complete(const QString& text, size_t limit, const StopQuery& stop = {}) const;

    // The same list without the whole index: only the classes of the text's
    // first letter are read from the library (a single query, the CLI's).
    static std::vector<ClassChoice> completeOnce(
        platform::classlib::ClassLibrary& library, const QString& text, size_t limit);

    // After a failed lookup of `name`: classes of the same simple name in other
    // packages, then of the same name in another letter case, then names
    // within two edits; each group by rank.
    std::vector<ClassChoice> suggest(const QString& name, size_t limit, const StopQuery& stop = {}) const;

    const platform::classlib::ClassIndex& index() const { return *index_; }

private:
    struct Candidate {
        uint32_t id;
        uint8_t tier;
    };
    // "Map.Entry" -> "Map$Entry"; "" for a text that names no simple binary name.
    static std::string resolutionKey(const QString& text);
    std::vector<uint32_t> rank(std::vector<Candidate>& candidates, size_t limit, const StopQuery& stop = {}) const;
    ClassChoice choice(uint32_t id) const;

    std::unique_ptr<platform::classlib::ClassIndex> index_;
};

}  // namespace lookup
