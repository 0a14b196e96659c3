#include "cli/Commands.h"
#include "platform/classlib/ClassLibrary.h"

namespace cli {

std::optional<lookup::LookupResult> lookUpForCli(const QString& name, int& exitStatus)
{
    printStartupWarningOnce();
    lookup::LookupResult result = lookup::lookUpClass(platform::classlib::ClassLibrary::system(), name);
    switch (result.status) {
    case lookup::LookupResult::Status::Blank:
        exitStatus = 0;
        return std::nullopt;
    case lookup::LookupResult::Status::NotFound:
        out(result.message + QLatin1Char('\n'));
        if (const QString why = platform::classLibraryNotFoundWarning(); !why.isEmpty())
            err(why + QLatin1Char('\n'));
        exitStatus = 1;
        return std::nullopt;
    case lookup::LookupResult::Status::Unreadable:
        err(result.message + QLatin1Char('\n'));
        exitStatus = 1;
        return std::nullopt;
    case lookup::LookupResult::Status::Found:
        break;
    }
    exitStatus = 0;
    return result;
}

}  // namespace cli
