#include "lookup/MemberSearch.h"

#include <algorithm>

#include "platform/JavaText.h"

namespace lookup {

namespace {

char lowerChar(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool isUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}

std::string utf8(QStringView s)
{
    const QByteArray bytes = s.toUtf8();
    return std::string(bytes.constData(), size_t(bytes.size()));
}

}  // namespace

bool qualifiedLess(std::string_view a, std::string_view b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = a[i] == '/' ? '.' : static_cast<unsigned char>(a[i]);
        const unsigned char y = b[i] == '/' ? '.' : static_cast<unsigned char>(b[i]);
        if (x != y)
            return x < y;
    }
    return a.size() < b.size();
}

std::string lowerAscii(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = lowerChar(c);
    return out;
}

MemberQuery MemberQuery::parse(const QString& text)
{
    MemberQuery q;
    const QString trimmed = platform::javaTrim(text);
    if (trimmed.isEmpty() || trimmed.size() > kMaxTextLength)
        return q;
    // "#" splits first, so that the class may be qualified; else the last ".".
    qsizetype cut = trimmed.indexOf(QLatin1Char('#'));
    if (cut < 0)
        cut = trimmed.lastIndexOf(QLatin1Char('.'));
    const QStringView whole(trimmed);
    const QString className = cut < 0 ? QString() : platform::javaTrim(whole.left(cut).toString());
    const QString methodName = platform::javaTrim(cut < 0 ? trimmed : whole.mid(cut + 1).toString());
    q.methodName = utf8(methodName);
    if (!className.isEmpty()) {
        q.kind = Kind::ClassMethods;
        q.className = utf8(className);
    } else if (!q.methodName.empty()) {
        q.kind = Kind::MethodName;
    }
    return q;
}

NamePattern::NamePattern(std::string_view query) : query_(query), lowered_(lowerAscii(query))
{
    // Humps: a capital and what follows it up to the next capital; the first
    // hump is whatever comes before the first capital after the start.
    size_t start = 0;
    for (size_t i = 1; i <= query_.size(); ++i) {
        if (i == query_.size() || isUpper(query_[i])) {
            humps_.push_back(std::string_view(query_).substr(start, i - start));
            start = i;
        }
    }
}

NameMatch NamePattern::match(std::string_view name) const
{
    if (query_.empty())
        return NameMatch::None;
    if (name == query_)
        return NameMatch::Exact;
    if (name.size() >= query_.size() && lowerAscii(name.substr(0, query_.size())) == lowered_)
        return NameMatch::Prefix;
    return usesCapitals() && matchesCapitals(name) ? NameMatch::Capitals : NameMatch::None;
}

bool NamePattern::matchesCapitals(std::string_view name) const
{
    size_t at = 0;
    for (size_t h = 0; h < humps_.size(); ++h) {
        const std::string_view hump = humps_[h];
        bool found = false;
        while (at < name.size() && !found) {
            const size_t start = at;
            do ++at;
            while (at < name.size() && !isUpper(name[at]));
            if (start == 0 || isUpper(name[start])) {
                const std::string_view part = name.substr(start);
                found = part.size() >= hump.size() && part[0] == hump[0] &&
                    std::equal(hump.begin() + 1, hump.end(), part.begin() + 1,
                        [](char a, char b) { return lowerChar(a) == lowerChar(b); });
            }
            if (h == 0 && !found)
                return false;  // the first hump belongs at the start
        }
        if (!found)
            return false;
    }
    return true;
}

bool ranksBefore(const ClassRankKey& a, const ClassRankKey& b)
{
    if (a.source != b.source)
        return a.source < b.source;
    if (a.moduleRank != b.moduleRank)
        return a.moduleRank < b.moduleRank;
    if (a.deprecated != b.deprecated)
        return b.deprecated;
    if (a.internalName.size() != b.internalName.size())
        return a.internalName.size() < b.internalName.size();
    return qualifiedLess(a.internalName, b.internalName);
}

bool placedBefore(const MethodPlace& a, const MethodPlace& b)
{
    if (a.match != b.match)
        return a.match < b.match;
    if (a.classRank != b.classRank)
        return a.classRank < b.classRank;
    if (a.name != b.name)
        return a.name < b.name;
    return a.ordinal < b.ordinal;
}

}  // namespace lookup
