#include "lookup/ClassLookup.h"

#include "platform/JavaText.h"
#include "platform/classlib/ClassLibrary.h"

namespace lookup {

LookupResult lookUpClass(platform::classlib::ClassLibrary& library, const QString& nameFieldText)
{
    LookupResult result;
    const QString name = platform::javaTrim(nameFieldText);
    if (name.isEmpty()) {
        result.status = LookupResult::Status::Blank;
        return result;
    }
    try {
        try {
            result.cl = library.forName(name);
        } catch (const platform::ClassNotFoundException&) {
            // "java.util.Map.Entry" as the catalogue and the documentation write
            // it: the dots from the right become "$" until a class is found.
            QString form = name;
            qsizetype dot = form.size();
            for (int tries = 0; !result.cl; ++tries) {
                dot = dot > 0 ? form.lastIndexOf(QLatin1Char('.'), dot - 1) : -1;
                if (dot <= 0 || tries == kMaxMemberForms || dot + 1 >= form.size())
                    throw;
                form[dot] = QLatin1Char('$');
                try {
                    result.cl = library.forName(form);
                    result.binaryName = form;
                } catch (const platform::ClassNotFoundException&) { }
            }
        }
        result.m = result.cl->getMethods();
        result.ctor = result.cl->getConstructors();
    } catch (const platform::ClassNotFoundException&) {
        result = LookupResult();
        result.status = LookupResult::Status::NotFound;
        result.message = QStringLiteral("Class not found : ") + name;
        return result;
    } catch (const platform::ClassFormatError& e) {
        result = LookupResult();
        result.status = LookupResult::Status::Unreadable;
        // One line, whatever the reason text holds.
        result.message = QString::fromUtf8(e.what())
                             .replace(QLatin1Char('\n'), QLatin1Char(' '))
                             .replace(QLatin1Char('\r'), QLatin1Char(' '));
        return result;
    }
    result.status = LookupResult::Status::Found;
    result.n.reserve(qsizetype(result.ctor.size() + result.m.size()));
    result.members.reserve(result.ctor.size() + result.m.size());
    for (const auto& c : result.ctor) result.members.push_back(c.member());
    for (const auto& m : result.m) result.members.push_back(m.member());
    for (const platform::Member& member : result.members) result.n.append(member.printed);
    return result;
}

}  // namespace lookup
