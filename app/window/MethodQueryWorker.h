#pragma once
// Answers the class field's method queries ("#toUnm", "Collectors#toU") on a
// thread of its own: the member index is opened (or built) there on the first
// query, and a class query reads class files under the library's lock, so
// neither may run on the event thread. Answers come back queued as
// answered(id, hits); a newer query replaces one still waiting, and the asker
// drops any answer whose id is not its latest.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "lookup/MemberIndex.h"
#include "platform/LatestJobThread.h"

namespace app {

class MethodQueryWorker : public QObject {
    Q_OBJECT
public:
    explicit MethodQueryWorker(QObject* parent = nullptr);

    // Never waits for a running query.
    void ask(quint64 id, const QString& text, size_t limit);

signals:
    void answered(quint64 id, const std::vector<lookup::MethodHit>& hits);

private:
    struct Job {
        QString text;
        size_t limit = 0;
    };
    void answer(quint64 id, const Job& job, const std::function<bool()>& stale);
    std::unique_ptr<lookup::MemberIndex> index_;  // the worker thread's own
    platform::LatestJobThread<Job> thread_;       // last: stopped before index_ goes
};

}  // namespace app
