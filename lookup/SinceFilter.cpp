#include "lookup/SinceFilter.h"

#include "platform/classlib/CtSym.h"
#include "platform/classlib/MemberSince.h"

namespace lookup {

SinceTable sinceTableOf(platform::classlib::ClassLibrary& library, const QString& className)
{
    SinceTable table;
    for (const auto& member : platform::classlib::membersSince(library, className.toStdString()))
        table.insert(QString::fromStdString(member.printed), member.since);
    return table;
}

int sinceFilterRelease(const QString& searchText)
{
    static const QString prefix = QStringLiteral("since:");
    if (!searchText.startsWith(prefix))
        return 0;
    return platform::classlib::parseRelease(searchText.mid(prefix.size()).toStdString());
}

bool keepsLeaf(const QString& printed, const QString& searchText, const SinceTable* since)
{
    if (const int release = since ? sinceFilterRelease(searchText) : 0; release != 0) {
        const auto it = since->constFind(printed);
        return it != since->constEnd() && it->release > release && !it->orOlder;
    }
    // A plain, case-sensitive substring test over the whole printed
    // signature, untrimmed: "String" also matches a return or parameter type.
    return searchText.isEmpty() || printed.contains(searchText);
}

}  // namespace lookup
