#pragma once
// The window's Back and Forward: every SEARCH is a step, remembered with what
// the window showed when it was left (the selected member, the documentation's
// scroll position), so that going back shows the same view again. Widget-free.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace app {

// A member of a class, as a link or the method list names it.
struct MemberRef {
    QString name;
    // Erased, as reflection names them ("java.lang.Object[]"); nothing when the
    // target gave no parameter list (any member of the name will do).
    std::optional<QStringList> parameterTypes;

    bool operator==(const MemberRef&) const = default;
};

struct BrowseStep {
    QString classText;
    QString searchText;
    QString docName;                  // the name the documentation is looked up by (the window's name2)
    std::optional<MemberRef> member;  // the selected leaf's
    int docScroll = 0;

    bool operator==(const BrowseStep&) const = default;
};

class BrowseHistory {
public:
    static constexpr int kMaxSteps = 100;

    // A new step after the current one; the steps ahead of it are dropped, and
    // the oldest when there are more than kMaxSteps.
    void record(BrowseStep step);
    // What the current step shows now, kept for coming back to it.
    void updateCurrent(const BrowseStep& step);
    // The step before / after the current one, which becomes current; nothing
    // (and no change) at either end.
    std::optional<BrowseStep> back();
    std::optional<BrowseStep> forward();

    // Nothing before the first step.
    const BrowseStep* current() const { return current_ < 0 ? nullptr : &steps_[size_t(current_)]; }
    int size() const { return int(steps_.size()); }
    int currentIndex() const { return current_; }

private:
    std::vector<BrowseStep> steps_;
    int current_ = -1;
};

// "java.util.List#add(int,java.lang.Object)" → class and member; a target
// without "#" names the class only, one without "(...)" any member of the name.
struct BrowseTarget {
    QString className;
    std::optional<MemberRef> member;
};
BrowseTarget parseBrowseTarget(const QString& target);

}  // namespace app
