#include "lookup/MemberIndex.h"

#include <algorithm>
#include <unordered_map>

#include "lookup/StripQualifiers.h"
#include "platform/classlib/ClassFile.h"
#include "platform/classlib/ClassLibrary.h"
#include "platform/classlib/LoadedClass.h"
#include "platform/classlib/MemberPrinter.h"

namespace lookup {

namespace {

QString fromUtf8(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QString dotted(std::string_view internalName)
{
    return fromUtf8(internalName).replace(QLatin1Char('/'), QLatin1Char('.'));
}

bool within(uint64_t offset, uint64_t length, uint64_t size)
{
    return offset <= size && length <= size - offset;
}

// The name in lower case (ASCII) against an already lowered text, as
// std::string_view::compare orders them.
int compareLowered(std::string_view name, std::string_view lowered)
{
    const size_t n = std::min(name.size(), lowered.size());
    for (size_t i = 0; i < n; ++i) {
        const char c = name[i] >= 'A' && name[i] <= 'Z' ? char(name[i] - 'A' + 'a') : name[i];
        if (c != lowered[i])
            return static_cast<unsigned char>(c) < static_cast<unsigned char>(lowered[i]) ? -1 : 1;
    }
    return name.size() < lowered.size() ? -1 : name.size() > lowered.size() ? 1 : 0;
}

// A found method before it is turned into text.
struct Candidate {
    MethodPlace place;
    uint32_t method;
};

void keepBest(std::vector<Candidate>& found, size_t limit)
{
    const auto less = [](const Candidate& a, const Candidate& b) { return placedBefore(a.place, b.place); };
    if (limit != 0 && limit < found.size()) {
        std::partial_sort(found.begin(), found.begin() + qsizetype(limit), found.end(), less);
        found.resize(limit);
    } else {
        std::sort(found.begin(), found.end(), less);
    }
}

}  // namespace

std::unordered_set<std::string_view> namesOfPlainMethods(const std::vector<platform::classlib::MethodInfo>& declared)
{
    std::unordered_set<std::string_view> names;
    for (const platform::classlib::MethodInfo& m : declared)
        if (!(m.access & kLeftOut))
            names.insert(m.name);
    return names;
}

QString MethodHit::line() const
{
    return QString(binaryName).replace(QLatin1Char('$'), QLatin1Char('.')) + QLatin1Char('.') + methodName +
        QLatin1Char('(') + displayParameters.join(QStringLiteral(", ")) + QLatin1Char(')');
}

void describeParameters(std::string_view parameters, QStringList& erased, QStringList& display)
{
    // A descriptor read from disk may be damaged: appendDescriptorType stops at
    // its end, and so does this loop.
    // Appended into a reserved string: GCC 12 at -O3 misreads `"(" + std::string(...)`
    // as an overlapping copy (-Wrestrict).
    std::string descriptor;
    descriptor.reserve(parameters.size() + 2);
    descriptor += '(';
    descriptor += parameters;
    descriptor += ')';
    size_t i = 1;
    while (i < descriptor.size() && descriptor[i] != ')') {
        std::string type;
        const size_t before = i;
        platform::classlib::appendDescriptorType(type, descriptor, i, false);
        if (i <= before)
            break;
        const QString name = fromUtf8(type);
        erased.push_back(name);
        display.push_back(StripQualifiers::stripNames(name));
    }
}

std::unique_ptr<MemberIndex> MemberIndex::fromTables(Tables t)
{
    const uint64_t textSize = t.text.size();
    for (const ClassRecord& c : t.classes)
        if (!within(c.nameOffset, c.nameLength, textSize) || c.packageLength >= c.nameLength)
            return nullptr;
    for (const ParameterRecord& p : t.parameters)
        if (!within(p.textOffset, p.textLength, textSize))
            return nullptr;
    for (const NameRecord& n : t.names)
        if (!within(n.textOffset, n.textLength, textSize) || !within(n.firstMethod, n.methodCount, t.methods.size()))
            return nullptr;
    for (const MethodRecord& m : t.methods)
        if (m.classId >= t.classes.size() || m.parametersId >= t.parameters.size())
            return nullptr;
    return std::unique_ptr<MemberIndex>(new MemberIndex(std::move(t)));
}

size_t MemberIndex::memoryBytes() const
{
    return sizeof(*this) + t_.classes.capacity() * sizeof(ClassRecord) + t_.names.capacity() * sizeof(NameRecord) +
        t_.parameters.capacity() * sizeof(ParameterRecord) + t_.methods.capacity() * sizeof(MethodRecord) +
        t_.text.capacity();
}

std::string_view MemberIndex::internalName(uint32_t classId) const
{
    const ClassRecord& c = t_.classes[classId];
    return text(c.nameOffset, c.nameLength);
}

std::vector<MethodHit> MemberIndex::find(
    platform::classlib::ClassLibrary& library, const QString& query, size_t limit) const
{
    const MemberQuery q = MemberQuery::parse(query);
    switch (q.kind) {
    case MemberQuery::Kind::Nothing:
        return {};
    case MemberQuery::Kind::MethodName:
        return findByName(q.methodName, limit);
    case MemberQuery::Kind::ClassMethods:
        return findInClass(library, q, limit);
    }
    return {};
}

std::vector<MethodHit> MemberIndex::findByName(const std::string& name, size_t limit) const
{
    const NamePattern pattern(name);
    // Names sit by lower case: those with the query as prefix, then those of
    // its first letter, which a capitals match must start with.
    const auto rangeOf = [this](std::string_view prefix) {
        const auto first =
            std::lower_bound(t_.names.begin(), t_.names.end(), prefix, [this](const NameRecord& n, std::string_view p) {
                return compareLowered(text(n.textOffset, n.textLength), p) < 0;
            });
        auto last = first;
        while (last != t_.names.end() &&
            compareLowered(text(last->textOffset, last->textLength).substr(0, prefix.size()), prefix) == 0)
            ++last;
        return std::make_pair(first, last);
    };
    std::vector<Candidate> found;
    const auto take = [&](const NameRecord& n, NameMatch match) {
        const std::string_view text = this->text(n.textOffset, n.textLength);
        for (uint32_t k = n.firstMethod; k < n.firstMethod + n.methodCount; ++k)
            found.push_back({{match, t_.methods[k].classId, text, k}, k});
    };
    const auto [first, last] = rangeOf(pattern.lowered());
    for (auto it = first; it != last; ++it) take(*it, pattern.match(text(it->textOffset, it->textLength)));
    if (pattern.usesCapitals()) {
        const auto [from, to] = rangeOf(std::string_view(pattern.lowered()).substr(0, 1));
        for (auto it = from; it != to; ++it)
            if ((it < first || it >= last) && pattern.matchesCapitals(text(it->textOffset, it->textLength)))
                take(*it, NameMatch::Capitals);
    }
    keepBest(found, limit);
    std::vector<MethodHit> hits;
    hits.reserve(found.size());
    for (const Candidate& c : found) {
        const MethodRecord& m = t_.methods[c.method];
        const ParameterRecord& p = t_.parameters[m.parametersId];
        MethodHit hit;
        hit.binaryName = dotted(internalName(m.classId));
        hit.methodName = fromUtf8(c.place.name);
        describeParameters(text(p.textOffset, p.textLength), hit.erasedParameters, hit.displayParameters);
        hits.push_back(std::move(hit));
    }
    return hits;
}

int64_t MemberIndex::classNamed(std::string_view name) const
{
    // Classes are in rank order: the first that fits is the one.
    for (uint32_t id = 0; id < t_.classes.size(); ++id) {
        const std::string_view internal = internalName(id);
        const std::string_view simple = internal.substr(t_.classes[id].packageLength);
        const auto fits = [](std::string_view ours, std::string_view typed) {
            return ours.size() == typed.size() &&
                std::equal(ours.begin(), ours.end(), typed.begin(),
                    [](char a, char b) { return a == b || ((a == '/' || a == '$') && (b == '.' || b == '$')); });
        };
        if (fits(simple, name) || fits(internal, name))
            return id;
    }
    return -1;
}

std::vector<MethodHit> MemberIndex::findInClass(
    platform::classlib::ClassLibrary& library, const MemberQuery& query, size_t limit) const
{
    const int64_t id = classNamed(query.className);
    if (id < 0)
        return {};
    const auto cls = library.linkedClass(std::string(internalName(uint32_t(id))));
    if (!cls)
        return {};
    const NamePattern pattern(query.methodName);
    std::vector<Candidate> found;
    const std::vector<platform::classlib::MethodRef>& methods = cls->publicMethods();
    std::unordered_map<const platform::classlib::LoadedClass*, std::unordered_set<std::string_view>> plainNames;
    for (uint32_t k = 0; k < methods.size(); ++k) {
        const platform::classlib::MethodRef& m = methods[k];
        if (m.nameView() == "<init>")
            continue;
        if (m.method->access & kLeftOut) {
            auto [names, fresh] = plainNames.try_emplace(m.declaringClass);
            if (fresh)
                names->second = namesOfPlainMethods(m.declaringClass->info.methods);
            if (names->second.count(m.nameView()))
                continue;
        }
        const NameMatch match = query.methodName.empty() ? NameMatch::Exact : pattern.match(m.nameView());
        if (match != NameMatch::None)
            found.push_back({{match, 0, m.nameView(), k}, k});
    }
    keepBest(found, limit);
    std::vector<MethodHit> hits;
    for (const Candidate& c : found) {
        const platform::classlib::MethodRef& m = methods[c.method];
        MethodHit hit;
        hit.binaryName = QString::fromStdString(m.declaringClass->binaryName);
        hit.methodName = fromUtf8(m.nameView());
        describeParameters(m.parametersView(), hit.erasedParameters, hit.displayParameters);
        hits.push_back(std::move(hit));
    }
    return hits;
}

}  // namespace lookup
