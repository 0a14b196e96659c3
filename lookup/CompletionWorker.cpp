#include "lookup/CompletionWorker.h"

namespace lookup {

CompletionWorker::CompletionWorker(QObject* parent)
    : QObject(parent), thread_([this](quint64 id, Job& job, const StopQuery& stale) { answer(id, job, stale); })
{ }

void CompletionWorker::ask(
    quint64 id, Query query, std::shared_ptr<const ClassCompletion> completion, const QString& text, size_t limit)
{
    thread_.post(id, Job {query, std::move(completion), text, limit});
}

void CompletionWorker::answer(quint64 id, Job& job, const StopQuery& stale)
{
    std::vector<ClassChoice> choices;
    if (job.completion)
        choices = job.query == Query::Complete ? job.completion->complete(job.text, job.limit, stale)
                                               : job.completion->suggest(job.text, job.limit, stale);
    job = Job();  // the index is released here, not on the event thread
    if (stale())
        return;
    QMetaObject::invokeMethod(
        this, [this, id, choices = std::move(choices)] { emit answered(id, choices); }, Qt::QueuedConnection);
}

}  // namespace lookup
