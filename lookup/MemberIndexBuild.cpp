// MemberIndex::build: the class files of every public class read once.

#include <algorithm>
#include <numeric>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "lookup/MemberIndex.h"
#include "platform/classlib/ClassFile.h"
#include "platform/classlib/ClassIndex.h"
#include "platform/classlib/ClassLibrary.h"

namespace lookup {

using platform::classlib::ClassFileInfo;
using platform::classlib::ClassIndex;
using platform::classlib::ClassLibrary;
using platform::classlib::MethodInfo;

namespace {

// Caps that keep a hostile CLASSPATH from outgrowing the index's 32-bit offsets.
constexpr size_t kMaxMethods = 16u << 20;
constexpr size_t kMaxTextBytes = 512u << 20;

std::string_view parametersOf(std::string_view descriptor)
{
    const size_t close = descriptor.find(')');
    return close == std::string_view::npos ? std::string_view() : descriptor.substr(1, close - 1);
}

// A class's methods as read, before the classes are put in rank order.
struct ReadClass {
    uint32_t indexId;
    ClassRankKey rank;
    std::vector<std::pair<uint32_t, uint32_t>> methods;  // name id, parameters id (both interned)
};

class Builder {
public:
    explicit Builder(ClassLibrary& library) : library_(library), index_(ClassIndex::build(library)) { }

    std::unique_ptr<MemberIndex> run()
    {
        readClasses();
        MemberIndex::Tables t;
        t.text = std::move(text_);
        const std::vector<uint32_t> rankOrder = classesInRankOrder(t);
        fillMethods(t, rankOrder);
        t.parameters = std::move(parameters_);
        return MemberIndex::fromTables(std::move(t));
    }

private:
    uint32_t intern(std::unordered_map<std::string, uint32_t>& ids, std::string_view s, bool isName)
    {
        auto [it, fresh] = ids.try_emplace(std::string(s), 0);
        if (fresh) {
            const uint32_t offset = uint32_t(text_.size());
            text_ += s;
            if (isName) {
                it->second = uint32_t(nameTexts_.size());
                nameTexts_.push_back({offset, uint32_t(s.size())});
            } else {
                it->second = uint32_t(parameters_.size());
                parameters_.push_back({offset, uint32_t(s.size())});
            }
        }
        return it->second;
    }

    void readClasses()
    {
        const ClassIndex& x = *index_;
        // A class found again in a later source is the earlier one's shadow:
        // the library never serves it.
        std::unordered_set<std::string_view> seen;
        for (uint32_t id = 0; id < x.size(); ++id) {
            if (!seen.insert(x.internalName(id)).second)
                continue;
            const ClassIndex::Traits traits = x.traits(id);
            if (!traits.isPublic)
                continue;
            ClassFileInfo info;
            if (!parse(id, info))
                continue;
            ReadClass c {id, {x.source(id), x.moduleRank(id), traits.deprecated, x.internalName(id)}, {}};
            addMethods(info, c);
            classes_.push_back(std::move(c));
        }
    }

    bool parse(uint32_t id, ClassFileInfo& info)
    {
        const ClassIndex& x = *index_;
        if (x.source(id) >= library_.sources().size())
            return false;
        platform::classlib::ResourceBytes bytes;
        std::string error;
        return library_.sources()[x.source(id)]->find(std::string(x.internalName(id)), bytes, error) ==
            platform::classlib::ClassSource::Result::Found &&
            platform::classlib::parseClassFile(bytes.data, bytes.size, info).empty();
    }

    void addMethods(const ClassFileInfo& info, ReadClass& c)
    {
        const std::unordered_set<std::string_view> plainNames = namesOfPlainMethods(info.methods);
        std::unordered_set<uint64_t> seen;  // one entry per name and parameter list
        for (const MethodInfo& m : info.methods) {
            if (methods_ >= kMaxMethods || text_.size() >= kMaxTextBytes)
                return;
            if (m.name == "<init>" || ((m.access & kLeftOut) && plainNames.count(m.name)))
                continue;
            const uint32_t name = intern(nameIds_, m.name, true);
            const uint32_t parameters = intern(parameterIds_, parametersOf(m.descriptor), false);
            if (seen.insert(uint64_t(name) << 32 | parameters).second) {
                c.methods.emplace_back(name, parameters);
                ++methods_;
            }
        }
    }

    std::vector<uint32_t> classesInRankOrder(MemberIndex::Tables& t)
    {
        std::vector<uint32_t> order(classes_.size());
        std::iota(order.begin(), order.end(), 0u);
        std::sort(order.begin(), order.end(),
            [this](uint32_t a, uint32_t b) { return ranksBefore(classes_[a].rank, classes_[b].rank); });
        const ClassIndex& x = *index_;
        t.classes.reserve(order.size());
        for (const uint32_t k : order) {
            const ReadClass& c = classes_[k];
            const std::string_view name = x.internalName(c.indexId);
            const uint32_t offset = uint32_t(t.text.size());
            t.text += name;
            t.classes.push_back(
                {offset, uint32_t(name.size()), uint32_t(name.size() - x.simpleBinaryName(c.indexId).size()),
                    uint32_t(c.rank.source) << 16 | uint32_t(c.rank.moduleRank) << 8 | (c.rank.deprecated ? 1u : 0u)});
        }
        return order;
    }

    // Methods grouped by name (names by lower case, then as they are), each
    // group in class rank, each class's in class-file order.
    void fillMethods(MemberIndex::Tables& t, const std::vector<uint32_t>& rankOrder)
    {
        std::vector<uint32_t> counts(nameTexts_.size(), 0);
        for (const ReadClass& c : classes_)
            for (const auto& m : c.methods) ++counts[m.first];
        std::vector<uint32_t> nameOrder(nameTexts_.size());
        std::iota(nameOrder.begin(), nameOrder.end(), 0u);
        std::vector<std::string> lowered(nameTexts_.size());
        for (uint32_t i = 0; i < lowered.size(); ++i) lowered[i] = lowerAscii(nameText(t, i));
        std::sort(nameOrder.begin(), nameOrder.end(), [&](uint32_t a, uint32_t b) {
            return lowered[a] != lowered[b] ? lowered[a] < lowered[b] : nameText(t, a) < nameText(t, b);
        });
        std::vector<uint32_t> next(nameTexts_.size());
        uint32_t at = 0;
        for (const uint32_t n : nameOrder) {
            t.names.push_back({nameTexts_[n].first, nameTexts_[n].second, at, counts[n]});
            next[n] = at;
            at += counts[n];
        }
        t.methods.resize(at);
        for (uint32_t rank = 0; rank < rankOrder.size(); ++rank)
            for (const auto& m : classes_[rankOrder[rank]].methods) t.methods[next[m.first]++] = {rank, m.second};
    }

    std::string_view nameText(const MemberIndex::Tables& t, uint32_t name) const
    {
        return std::string_view(t.text).substr(nameTexts_[name].first, nameTexts_[name].second);
    }

    ClassLibrary& library_;
    std::unique_ptr<ClassIndex> index_;
    std::vector<ReadClass> classes_;
    size_t methods_ = 0;
    std::string text_;
    std::unordered_map<std::string, uint32_t> nameIds_, parameterIds_;
    std::vector<std::pair<uint32_t, uint32_t>> nameTexts_;  // offset, length
    std::vector<MemberIndex::ParameterRecord> parameters_;
};

}  // namespace

std::unique_ptr<MemberIndex> MemberIndex::build(ClassLibrary& library)
{
    return Builder(library).run();
}

}  // namespace lookup
