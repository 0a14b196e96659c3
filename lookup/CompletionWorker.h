#pragma once
// Runs completion queries (the completion list, the suggestions after a failed
// lookup) on a thread of its own, so that the class-file reads of the ranking
// never hold up the event thread. Each query carries the asker's id and the
// answer comes back by a queued call, as answered(id, choices) on the worker
// object's thread; a newer query makes an older one still waiting or running
// stop early and go unanswered, and the asker drops any answer whose id is not
// its latest.

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "lookup/ClassCompletion.h"
#include "platform/LatestJobThread.h"

namespace lookup {

class CompletionWorker : public QObject {
    Q_OBJECT
public:
    enum class Query { Complete, Suggest };

    explicit CompletionWorker(QObject* parent = nullptr);

    // Never waits for a running query: it only swaps the waiting one.
    void ask(
        quint64 id, Query query, std::shared_ptr<const ClassCompletion> completion, const QString& text, size_t limit);

signals:
    void answered(quint64 id, const std::vector<lookup::ClassChoice>& choices);

private:
    struct Job {
        Query query = Query::Complete;
        std::shared_ptr<const ClassCompletion> completion;
        QString text;
        size_t limit = 0;
    };
    void answer(quint64 id, Job& job, const StopQuery& stale);
    platform::LatestJobThread<Job> thread_;
};

}  // namespace lookup
