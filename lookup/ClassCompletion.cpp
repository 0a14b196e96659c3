#include "lookup/ClassCompletion.h"

#include "lookup/MemberSearch.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_set>

#include "platform/JavaText.h"
#include "platform/classlib/ClassLibrary.h"

namespace lookup {

using platform::classlib::ClassIndex;

namespace {

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}
bool isUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}

std::string lowered(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = lowerAscii(c);
    return out;
}

std::string utf8(const QString& s)
{
    const QByteArray bytes = s.toUtf8();
    return std::string(bytes.constData(), size_t(bytes.size()));
}

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// Ids of a sorted view whose key starts with `prefix`.
template <class Key>
std::pair<size_t, size_t> prefixRange(const std::vector<uint32_t>& sorted, std::string_view prefix, Key key)
{
    const auto first = std::lower_bound(
        sorted.begin(), sorted.end(), prefix, [&key](uint32_t id, std::string_view p) { return key(id) < p; });
    auto last = first;
    while (last != sorted.end() && key(*last).substr(0, prefix.size()) == prefix) ++last;
    return {size_t(first - sorted.begin()), size_t(last - sorted.begin())};
}

// "CoHaMa" against "ConcurrentHashMap": each hump of the pattern (a capital
// and what follows up to the next capital) starts a hump of the name, in
// order; the first humps of both must meet.
bool matchesCapitals(const std::vector<std::string_view>& humps, std::string_view name)
{
    size_t at = 0;
    for (size_t h = 0; h < humps.size(); ++h) {
        const std::string_view hump = humps[h];
        bool found = false;
        while (at < name.size()) {
            const size_t start = at;
            do ++at;
            while (at < name.size() && !isUpper(name[at]));
            if (start == 0 || isUpper(name[start])) {
                const std::string_view part = name.substr(start);
                if (part.size() >= hump.size() && part[0] == hump[0] &&
                    std::equal(hump.begin() + 1, hump.end(), part.begin() + 1,
                        [](char a, char b) { return lowerAscii(a) == lowerAscii(b); })) {
                    found = true;
                    break;
                }
            }
            if (h == 0)
                return false;
        }
        if (!found)
            return false;
    }
    return true;
}

std::vector<std::string_view> capitalHumps(std::string_view pattern)
{
    std::vector<std::string_view> humps;
    size_t start = 0;
    for (size_t i = 1; i <= pattern.size(); ++i) {
        if (i == pattern.size() || isUpper(pattern[i])) {
            humps.push_back(pattern.substr(start, i - start));
            start = i;
        }
    }
    return humps;
}

// Levenshtein distance when at most `limit`, else limit + 1.
int editDistance(std::string_view a, std::string_view b, int limit)
{
    if (int(a.size()) - int(b.size()) > limit || int(b.size()) - int(a.size()) > limit)
        return limit + 1;
    std::vector<int> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = int(j);
    for (size_t i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        int best = row[0];
        for (size_t j = 1; j <= b.size(); ++j) {
            const int up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = up;
            best = std::min(best, row[j]);
        }
        if (best > limit)
            return limit + 1;
    }
    return std::min(row[b.size()], limit + 1);
}

bool stopped(const StopQuery& stop)
{
    return stop && stop();
}

}  // namespace

ClassCompletion::ClassCompletion(std::unique_ptr<ClassIndex> index) : index_(std::move(index)) { }

ClassChoice ClassCompletion::choice(uint32_t id) const
{
    const std::string_view internal = index_->internalName(id);
    const std::string_view simple = index_->simpleBinaryName(id);
    ClassChoice c;
    c.binaryName = text(internal).replace(QLatin1Char('/'), QLatin1Char('.'));
    c.simpleName = text(simple).replace(QLatin1Char('$'), QLatin1Char('.'));
    const size_t packageLength = internal.size() - simple.size();
    c.packageName =
        text(internal.substr(0, packageLength ? packageLength - 1 : 0)).replace(QLatin1Char('/'), QLatin1Char('.'));
    return c;
}

std::vector<uint32_t> ClassCompletion::rank(
    std::vector<Candidate>& candidates, size_t limit, const StopQuery& stop) const
{
    const ClassIndex& x = *index_;
    // Everything but deprecation is in the table; deprecation (and being
    // public) is read from the class file, so only for the classes that can
    // still make the list.
    std::sort(candidates.begin(), candidates.end(), [&x](const Candidate& a, const Candidate& b) {
        if (a.tier != b.tier)
            return a.tier < b.tier;
        if (x.source(a.id) != x.source(b.id))
            return x.source(a.id) < x.source(b.id);
        if (x.moduleRank(a.id) != x.moduleRank(b.id))
            return x.moduleRank(a.id) < x.moduleRank(b.id);
        const std::string_view na = x.internalName(a.id), nb = x.internalName(b.id);
        if (na.size() != nb.size())
            return na.size() < nb.size();
        return qualifiedLess(na, nb);
    });
    std::vector<uint32_t> out;
    std::unordered_set<std::string_view> seen;
    auto take = [&](uint32_t id) {
        if (seen.insert(x.internalName(id)).second)
            out.push_back(id);
    };
    const auto full = [&] { return limit != 0 && out.size() >= limit; };
    size_t i = 0;
    while (i < candidates.size() && !full() && !stopped(stop)) {
        size_t j = i;
        const Candidate& head = candidates[i];
        while (j < candidates.size() && candidates[j].tier == head.tier &&
            x.source(candidates[j].id) == x.source(head.id) && x.moduleRank(candidates[j].id) == x.moduleRank(head.id))
            ++j;
        std::vector<uint32_t> deprecated;
        for (size_t k = i; k < j && !full() && !stopped(stop); ++k) {
            const ClassIndex::Traits t = x.traits(candidates[k].id);
            if (!t.isPublic)
                continue;
            if (t.deprecated)
                deprecated.push_back(candidates[k].id);
            else
                take(candidates[k].id);
        }
        for (size_t k = 0; k < deprecated.size() && !full(); ++k) take(deprecated[k]);
        i = j;
    }
    return out;
}

std::string ClassCompletion::resolutionKey(const QString& typed)
{
    const QString trimmed = platform::javaTrim(typed);
    if (trimmed.isEmpty() || trimmed.size() > kMaxTextLength)
        return {};
    std::string key = utf8(trimmed);
    std::replace(key.begin(), key.end(), '.', '$');
    if (key.front() == '$' || key.back() == '$' || key.find("$$") != std::string::npos)
        return {};
    return key;
}

QString ClassCompletion::resolveOnce(platform::classlib::ClassLibrary& library, const QString& text)
{
    const std::string key = resolutionKey(text);
    if (key.empty())
        return QString();
    return ClassCompletion(ClassIndex::buildForName(library, key)).resolve(text);
}

std::vector<ClassChoice> ClassCompletion::completeOnce(
    platform::classlib::ClassLibrary& library, const QString& text, size_t limit)
{
    const QString trimmed = platform::javaTrim(text);
    if (trimmed.isEmpty() || trimmed.size() > kMaxTextLength || trimmed.at(0).unicode() >= 0x80)
        return {};
    const bool memberForm = trimmed.contains(QLatin1Char('.')) || trimmed.contains(QLatin1Char('$'));
    // A qualified name may start with any package: that needs every class.
    if (memberForm && trimmed.count(QLatin1Char('.')) + trimmed.count(QLatin1Char('$')) > 1)
        return ClassCompletion(ClassIndex::build(library)).complete(text, limit);
    const char initial = char(trimmed.at(0).unicode());
    return ClassCompletion(ClassIndex::buildForInitial(library, initial, memberForm)).complete(text, limit);
}

QString ClassCompletion::resolve(const QString& typed) const
{
    const std::string key = resolutionKey(typed);
    if (key.empty())
        return QString();
    // One name: a plain scan, so that a single resolution (the CLI's) never
    // waits for a sorted view.
    const ClassIndex& x = *index_;
    std::vector<Candidate> candidates;
    for (uint32_t id = 0; id < x.size(); ++id) {
        if (x.simpleBinaryName(id) == key)
            candidates.push_back({id, 0});
    }
    const std::vector<uint32_t> best = rank(candidates, 1);
    return best.empty() ? QString() : choice(best.front()).binaryName;
}

std::vector<ClassChoice> ClassCompletion::complete(const QString& typed, size_t limit, const StopQuery& stop) const
{
    std::vector<ClassChoice> out;
    const QString trimmed = platform::javaTrim(typed);
    if (trimmed.isEmpty() || trimmed.size() > kMaxTextLength)
        return out;
    std::string key = utf8(trimmed);
    const ClassIndex& x = *index_;
    std::vector<Candidate> candidates;
    if (key.find_first_of(".$") != std::string::npos) {
        // A qualified name ("java.util.Ha", "java.util.Map.En"): the classes
        // whose innermost name starts with the last part and whose enclosing
        // class or package is the rest, in either letter case.
        const size_t cut = key.find_last_of(".$");
        const std::string head = lowered(std::string_view(key).substr(0, cut));
        const std::string tail = key.substr(cut + 1);
        const auto [from, to] =
            prefixRange(x.byLowerInnerName(), lowered(tail), [&x](uint32_t id) { return x.lowerInnerName(id); });
        for (size_t k = from; k < to; ++k) {
            const uint32_t id = x.byLowerInnerName()[k];
            const std::string_view internal = x.internalName(id);
            const std::string_view inner = x.innerName(id);
            const std::string_view outer =
                internal.substr(0, internal.size() - inner.size() - (inner.size() < internal.size()));
            if (outer.size() != head.size() ||
                !std::equal(outer.begin(), outer.end(), head.begin(), [](char a, char b) {
                    return (a == '/' || a == '$' ? '.' : lowerAscii(a)) == (b == '$' ? '.' : b);
                }))
                continue;
            const bool sameCase = std::equal(outer.begin(), outer.end(), key.begin(),
                [](char a, char b) { return (a == '/' || a == '$' ? '.' : a) == (b == '$' ? '.' : b); });
            candidates.push_back({id,
                uint8_t(sameCase && inner == tail                          ? 0
                        : sameCase && inner.substr(0, tail.size()) == tail ? 1
                                                                           : 2)});
        }
        std::replace(key.begin(), key.end(), '.', '$');
        const auto [first, last] = prefixRange(
            x.byLowerSimpleBinaryName(), lowered(key), [&x](uint32_t id) { return x.lowerSimpleBinaryName(id); });
        for (size_t k = first; k < last; ++k) {
            const uint32_t id = x.byLowerSimpleBinaryName()[k];
            const std::string_view name = x.simpleBinaryName(id);
            candidates.push_back({id, uint8_t(name == key ? 0 : name.substr(0, key.size()) == key ? 1 : 2)});
        }
    } else {
        const std::string low = lowered(key);
        const auto inner = [&x](uint32_t id) { return x.lowerInnerName(id); };
        const auto [first, last] = prefixRange(x.byLowerInnerName(), low, inner);
        for (size_t k = first; k < last; ++k) {
            const uint32_t id = x.byLowerInnerName()[k];
            const std::string_view name = x.innerName(id);
            candidates.push_back({id, uint8_t(name == key ? 0 : name.substr(0, key.size()) == key ? 1 : 2)});
        }
        const std::vector<std::string_view> humps = capitalHumps(key);
        if (humps.size() >= 2 && isUpper(key[0])) {
            const auto [from, to] = prefixRange(x.byLowerInnerName(), low.substr(0, 1), inner);
            for (size_t k = from; k < to; ++k) {
                if (k >= first && k < last)
                    continue;  // already a prefix match
                const uint32_t id = x.byLowerInnerName()[k];
                if (matchesCapitals(humps, x.innerName(id)))
                    candidates.push_back({id, 3});
            }
        }
    }
    for (const uint32_t id : rank(candidates, limit, stop)) out.push_back(choice(id));
    return out;
}

std::vector<ClassChoice> ClassCompletion::suggest(const QString& name, size_t limit, const StopQuery& stop) const
{
    std::vector<ClassChoice> out;
    const QString trimmed = platform::javaTrim(name);
    if (trimmed.isEmpty() || trimmed.size() > kMaxTextLength)
        return out;
    const std::string whole = utf8(trimmed);
    const size_t dot = whole.rfind('.');
    const std::string simple = dot == std::string::npos ? whole : whole.substr(dot + 1);
    if (simple.empty())
        return out;
    const std::string low = lowered(simple);
    const ClassIndex& x = *index_;
    std::vector<Candidate> candidates;
    const int maxEdits = simple.size() >= 5 ? 2 : simple.size() >= 3 ? 1 : 0;
    std::string_view previous;
    bool havePrevious = false;
    int previousDistance = 0;
    for (const uint32_t id : x.byLowerInnerName()) {
        const std::string_view lowInner = x.lowerInnerName(id);
        int tier;
        if (x.innerName(id) == simple || x.simpleBinaryName(id) == simple) {
            tier = 0;
        } else if (lowInner == low) {
            tier = 1;
        } else {
            // Equal lower-case names sit together in the sorted view.
            if (!havePrevious || lowInner != previous) {
                havePrevious = true;
                previous = lowInner;
                previousDistance = maxEdits > 0 ? editDistance(low, lowInner, maxEdits) : 1;
            }
            if (previousDistance > maxEdits)
                continue;
            tier = 1 + previousDistance;
        }
        candidates.push_back({id, uint8_t(tier)});
    }
    if (stopped(stop))
        return out;
    for (const uint32_t id : rank(candidates, limit + 1, stop)) {
        ClassChoice c = choice(id);
        if (c.binaryName != trimmed && out.size() < limit)
            out.push_back(std::move(c));
    }
    return out;
}

}  // namespace lookup
