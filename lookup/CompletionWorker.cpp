#include "lookup/CompletionWorker.h"

namespace lookup {

CompletionWorker::CompletionWorker(QObject* parent) : QObject(parent), thread_([this] { run(); }) { }

CompletionWorker::~CompletionWorker()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quitting_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void CompletionWorker::ask(
    quint64 id, Query query, std::shared_ptr<const ClassCompletion> completion, const QString& text, size_t limit)
{
    latest_ = id;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        next_ = Job {id, query, std::move(completion), text, limit};
    }
    wake_.notify_one();
}

void CompletionWorker::run()
{
    while (true) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return quitting_ || next_; });
            if (quitting_)
                return;
            job = std::move(*next_);
            next_.reset();
        }
        const quint64 id = job.id;
        const StopQuery stop = [this, id] { return quitting_ || latest_ != id; };
        std::vector<ClassChoice> choices;
        if (job.completion)
            choices = job.query == Query::Complete ? job.completion->complete(job.text, job.limit, stop)
                                                   : job.completion->suggest(job.text, job.limit, stop);
        job = Job();  // the index is released here, not on the event thread
        if (stop())
            continue;
        QMetaObject::invokeMethod(
            this, [this, id, choices = std::move(choices)] { emit answered(id, choices); }, Qt::QueuedConnection);
    }
}

}  // namespace lookup
