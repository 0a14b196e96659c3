#include "app/BrowseHistory.h"

#include "platform/JavaText.h"

namespace app {

void BrowseHistory::record(BrowseStep step)
{
    steps_.erase(steps_.begin() + (current_ + 1), steps_.end());
    steps_.push_back(std::move(step));
    if (steps_.size() > size_t(kMaxSteps))
        steps_.erase(steps_.begin());
    current_ = int(steps_.size()) - 1;
}

void BrowseHistory::updateCurrent(const BrowseStep& step)
{
    if (current_ >= 0)
        steps_[size_t(current_)] = step;
}

std::optional<BrowseStep> BrowseHistory::back()
{
    if (current_ <= 0)
        return std::nullopt;
    return steps_[size_t(--current_)];
}

std::optional<BrowseStep> BrowseHistory::forward()
{
    if (current_ + 1 >= int(steps_.size()))
        return std::nullopt;
    return steps_[size_t(++current_)];
}

BrowseTarget parseBrowseTarget(const QString& target)
{
    const QString text = platform::javaTrim(target);
    const qsizetype hash = text.indexOf(QLatin1Char('#'));
    if (hash < 0)
        return {text, std::nullopt};
    BrowseTarget out {text.left(hash), MemberRef {}};
    const QString member = text.mid(hash + 1);
    const qsizetype open = member.indexOf(QLatin1Char('('));
    out.member->name = open < 0 ? member : member.left(open);
    if (open >= 0 && member.endsWith(QLatin1Char(')'))) {
        QStringList types;
        const QString list = member.mid(open + 1, member.size() - open - 2);
        for (const QString& t : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) types << platform::javaTrim(t);
        out.member->parameterTypes = types;
    }
    if (out.member->name.isEmpty())
        out.member.reset();
    return out;
}

}  // namespace app
