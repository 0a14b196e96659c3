#include "cli/Commands.h"

namespace cli {

// Placeholder until the doc subcommand is built.
int runDoc(const QStringList&)
{
    err(QStringLiteral("javaorvel-cli: 'doc' is not available yet\n"));
    return 2;
}

}  // namespace cli
