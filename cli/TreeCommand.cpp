#include "cli/Commands.h"

namespace cli {

// Placeholder until the tree subcommand is built.
int runTree(const QStringList&)
{
    err(QStringLiteral("javaorvel-cli: 'tree' is not available yet\n"));
    return 2;
}

}  // namespace cli
