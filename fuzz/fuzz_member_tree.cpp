// Arbitrary text as a list of printed signatures (one a line, UTF-16 taken from
// the bytes), the first line as the search text and the second as the class
// field: the tree builder must neither crash, nor read out of bounds, nor lose a member.

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "lookup/MemberTree.h"
#include "lookup/StripQualifiers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = (size % 2 == 0) ? QString(reinterpret_cast<const QChar*>(data), qsizetype(size / 2))
                                         : QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QStringList lines = text.split(QLatin1Char('\n'));
    const QString search = lines.size() > 2 ? lines.takeFirst() : QString();
    const QString field = lines.size() > 1 ? lines.takeFirst() : QString();
    for (const QString& line : lines) (void)lookup::StripQualifiers::strip(line);
    QStringList classes;
    // Whatever the texts, with no search text each one is exactly one leaf.
    qsizetype leaves = 0;
    for (const lookup::MemberNode& group : lookup::buildMemberTree(lines, search, field, classes).children)
        leaves += qsizetype(group.children.size());
    if (search.isEmpty() && leaves != lines.size())
        std::abort();
    return 0;
}
