#include "cli/Commands.h"

namespace cli {

// Placeholder until the members subcommand is built.
int runMembers(const QStringList&)
{
    err(QStringLiteral("javaorvel-cli: 'members' is not available yet\n"));
    return 2;
}

}  // namespace cli
