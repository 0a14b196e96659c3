#include "platform/classlib/SinceVersion.h"

#include <algorithm>

#include "platform/classlib/ClassFile.h"

namespace platform::classlib {

std::string memberKey(std::string_view name, std::string_view parameterDescriptors)
{
    std::string key;
    key.reserve(name.size() + parameterDescriptors.size() + 2);
    key += name;
    key += '(';
    key += parameterDescriptors;
    key += ')';
    return key;
}

std::unordered_map<std::string, Since> sinceOfMembers(const std::vector<ReleaseMembers>& history)
{
    std::unordered_map<std::string, Since> since;
    for (size_t i = 0; i < history.size(); ++i)
        for (const std::string& key : history[i].keys) since.try_emplace(key, Since {history[i].release, i == 0});
    return since;
}

std::string formatSince(const Since& since, bool forRemoval)
{
    std::string text = since.release == 0 ? "-" : (since.orOlder ? "\u2264" : "") + std::to_string(since.release);
    if (forRemoval)
        text += '!';
    return text;
}

namespace {

constexpr std::pair<std::string_view, char> kPrimitives[] = {{"boolean", 'Z'}, {"byte", 'B'}, {"char", 'C'},
    {"short", 'S'}, {"int", 'I'}, {"long", 'J'}, {"float", 'F'}, {"double", 'D'}};

bool appendDescriptor(std::string_view type, std::string& out)
{
    while (type.size() > 2 && type.substr(type.size() - 2) == "[]") {
        out += '[';
        type.remove_suffix(2);
    }
    const auto primitive =
        std::find_if(std::begin(kPrimitives), std::end(kPrimitives), [type](const auto& p) { return p.first == type; });
    if (primitive != std::end(kPrimitives)) {
        out += primitive->second;
        return true;
    }
    std::string internal(type);
    std::replace(internal.begin(), internal.end(), '.', '/');
    if (!isValidInternalClassName(internal) || internal.find_first_of("[]") != std::string::npos)
        return false;
    out += 'L';
    out += internal;
    out += ';';
    return true;
}

}  // namespace

bool parameterDescriptors(const std::vector<std::string>& erasedTypes, std::string& out)
{
    out.clear();
    for (const std::string& type : erasedTypes)
        if (!appendDescriptor(type, out))
            return false;
    return true;
}

}  // namespace platform::classlib
