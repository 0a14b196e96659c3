#include "javadoc/SelectionArgs.h"

#include "platform/JavaText.h"

namespace javadoc {

int commaCount(const QString& text)
{
    int count = 0;
    qsizetype from = text.indexOf(QLatin1Char('('));
    if (from >= 0) {
        // Capped so that a long parameter list costs the same as a seven-parameter one;
        // the page and the tree are counted alike, so both sides saturate at 6.
        for (int search = 0; search < 6; ++search) {
            const qsizetype comma = text.indexOf(QLatin1Char(','), from + 1);
            if (comma < 0)
                break;
            ++count;
            from = comma;
        }
    }
    if (text.contains(QLatin1String("()")))
        count = -1;
    return count;
}

std::optional<QStringList> parameterTypes(const QString& text)
{
    const qsizetype open = text.indexOf(QLatin1Char('('));
    if (open < 0)
        return std::nullopt;
    const qsizetype close = text.indexOf(QLatin1Char(')'), open);
    if (close < 0)
        return std::nullopt;
    QStringList types;
    const QString inside = platform::javaTrim(text.mid(open + 1, close - open - 1));
    if (inside.isEmpty())
        return types;
    for (const QString& type : inside.split(QLatin1Char(','))) types << platform::javaTrim(type);
    return types;
}

std::optional<SelectionArgs> deriveSelection(const QStringList& pathTexts)
{
    if (pathTexts.size() < 2)
        return std::nullopt;
    const QString chosen = platform::javaTrim(pathTexts.last());
    SelectionArgs args;
    const qsizetype blank = chosen.indexOf(QLatin1Char(' '));
    if (blank >= 0)
        args.memberName = chosen.left(blank);
    args.commaCount = commaCount(chosen);
    if (!args.memberName.isEmpty())
        args.paramTypes = parameterTypes(chosen);
    args.groupName = platform::javaTrim(pathTexts.at(1));
    return args;
}

}  // namespace javadoc
