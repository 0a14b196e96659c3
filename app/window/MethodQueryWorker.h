#pragma once
// Answers the class field's method queries ("#toUnm", "Collectors#toU") on a
// thread of its own: the member index is opened (or built) there on the first
// query, and a class query reads class files under the library's lock, so
// neither may run on the event thread. Answers come back queued as
// answered(id, hits); a newer query replaces one still waiting, and the asker
// drops any answer whose id is not its latest.

#include <QObject>
#include <QString>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "lookup/MemberIndex.h"

namespace app {

class MethodQueryWorker : public QObject {
    Q_OBJECT
public:
    explicit MethodQueryWorker(QObject* parent = nullptr);
    ~MethodQueryWorker() override;

    // Never waits for a running query.
    void ask(quint64 id, const QString& text, size_t limit);

signals:
    void answered(quint64 id, const std::vector<lookup::MethodHit>& hits);

private:
    struct Job {
        quint64 id = 0;
        QString text;
        size_t limit = 0;
    };
    void run();

    std::mutex mutex_;  // guards next_ and quitting_, never held while a query runs
    std::condition_variable wake_;
    std::optional<Job> next_;
    bool quitting_ = false;
    std::unique_ptr<lookup::MemberIndex> index_;  // the worker thread's own
    std::thread thread_;
};

}  // namespace app
