#include "platform/classlib/MemberSince.h"

#include <algorithm>
#include <unordered_map>

#include "platform/classlib/ClassLibrary.h"
#include "platform/classlib/LoadedClass.h"
#include "platform/classlib/MemberPrinter.h"

namespace platform::classlib {

namespace {

const std::string kConstructorName = "<init>";

std::string internalNameOf(std::string name)
{
    std::replace(name.begin(), name.end(), '.', '/');
    return name;
}

// The class's public members in one release, the constructors first.
std::vector<MethodRef> publicMembers(const LoadedClass& cls)
{
    std::vector<MethodRef> members;
    if (!cls.isInterface)
        for (const MethodInfo& m : cls.info.methods)
            if (m.name == kConstructorName)
                members.push_back(MethodRef {&cls, &m});
    const auto& methods = cls.publicMethods();
    members.insert(members.end(), methods.begin(), methods.end());
    return members;
}

std::string keyOf(const MethodRef& m)
{
    return memberKey(m.nameView(), m.parametersView());
}

bool isJdkClass(ClassLibrary& library, const std::string& internalName)
{
    const auto kind = library.originOf(internalName).kind;
    return kind == ClassLibrary::Origin::Kind::JdkImage || kind == ClassLibrary::Origin::Kind::JdkJar;
}

// The since-version of every member key the class has had, up to the library's release.
std::unordered_map<std::string, Since> historyOf(ClassLibrary& library, const std::string& internalName)
{
    std::vector<ReleaseMembers> history;
    for (const int release : library.releasesUpToThis()) {
        ReleaseMembers& members = history.emplace_back();
        members.release = release;
        ClassLibrary* then = library.releaseLibrary(release);
        const auto cls = then ? then->linkedClass(internalName) : nullptr;
        if (cls)
            for (const MethodRef& m : publicMembers(*cls)) members.keys.push_back(keyOf(m));
    }
    return sinceOfMembers(history);
}

struct Resolved {
    std::shared_ptr<const LoadedClass> cls;
    bool oldSwing = false;
};

Resolved resolve(ClassLibrary& library, const std::string& binaryName)
{
    static const std::string oldPrefix = "com.sun.java.";
    Resolved r {library.linkedClass(internalNameOf(binaryName)), false};
    if (!r.cls && binaryName.rfind(oldPrefix, 0) == 0)
        r = {library.linkedClass(internalNameOf("javax." + binaryName.substr(oldPrefix.size()))), true};
    return r;
}

bool forRemovalOf(const MethodRef& m)
{
    return m.method->deprecatedForRemoval || m.declaringClass->info.deprecatedForRemoval;
}

}  // namespace

std::vector<MemberSince> membersSince(ClassLibrary& library, const std::string& binaryName)
{
    std::vector<MemberSince> out;
    const Resolved r = resolve(library, binaryName);
    if (!r.cls)
        return out;
    const bool fromJdk = isJdkClass(library, r.cls->internalName);
    const auto since = fromJdk ? historyOf(library, r.cls->internalName) : std::unordered_map<std::string, Since>();
    for (const MethodRef& m : publicMembers(*r.cls)) {
        MemberSince& member = out.emplace_back();
        if (m.method->name == kConstructorName)
            printConstructor(m, r.oldSwing, member.printed);
        else
            printMethod(m, r.oldSwing, member.printed);
        member.key = keyOf(m);
        member.bridge = (m.method->access & ACC_BRIDGE) != 0;
        if (const auto it = since.find(member.key); it != since.end())
            member.since = it->second;
        member.forRemoval = forRemovalOf(m);
    }
    return out;
}

std::optional<SinceAnswer> sinceOfMember(ClassLibrary& library, const std::string& binaryName,
    const std::string& memberName, const std::vector<std::string>& erasedParameterTypes)
{
    std::string parameters;
    const Resolved r = resolve(library, binaryName);
    if (!r.cls || !parameterDescriptors(erasedParameterTypes, parameters))
        return std::nullopt;
    const std::string key = memberKey(memberName, parameters);
    const auto members = publicMembers(*r.cls);
    const auto m = std::find_if(members.begin(), members.end(), [&key](const MethodRef& x) { return keyOf(x) == key; });
    if (m == members.end())
        return std::nullopt;
    SinceAnswer answer;
    answer.forRemoval = forRemovalOf(*m);
    if (isJdkClass(library, r.cls->internalName)) {
        const auto since = historyOf(library, r.cls->internalName);
        if (const auto it = since.find(key); it != since.end())
            answer.since = it->second;
    }
    return answer;
}

}  // namespace platform::classlib
