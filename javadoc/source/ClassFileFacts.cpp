#include "javadoc/source/ClassFileFacts.h"

#include "platform/classlib/ClassLibrary.h"
#include "platform/classlib/MemberSince.h"

namespace javadoc::source {

std::optional<MemberFacts> ClassFileFacts::facts(const platform::Member& member)
{
    // The class file names every constructor "<init>"; the member value names
    // it as source does.
    const std::string name =
        member.kind == platform::MemberKind::Constructor ? std::string("<init>") : member.name.toStdString();
    std::vector<std::string> parameters;
    parameters.reserve(size_t(member.parameterTypes.size()));
    for (const QString& type : member.parameterTypes) parameters.push_back(type.toStdString());
    const std::optional<platform::classlib::SinceAnswer> answer =
        platform::classlib::sinceOfMember(library_, member.declaringClass.toStdString(), name, parameters);
    if (!answer)
        return std::nullopt;
    return MemberFacts {answer->since.release, answer->since.orOlder, answer->forRemoval};
}

MemberFactsReader& systemMemberFacts()
{
    static ClassFileFacts facts(platform::classlib::ClassLibrary::system());
    return facts;
}

}  // namespace javadoc::source
