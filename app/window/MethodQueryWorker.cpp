#include "app/window/MethodQueryWorker.h"

#include "platform/classlib/ClassLibrary.h"

namespace app {

MethodQueryWorker::MethodQueryWorker(QObject* parent)
    : QObject(parent), thread_([this](quint64 id, Job& job, const auto& stale) { answer(id, job, stale); })
{ }

void MethodQueryWorker::ask(quint64 id, const QString& text, size_t limit)
{
    thread_.post(id, Job {text, limit});
}

void MethodQueryWorker::answer(quint64 id, const Job& job, const std::function<bool()>& stale)
{
    // Taken at the first query, not when the thread starts: the library may be
    // held back until a project's classpath is appended to it.
    platform::classlib::ClassLibrary& library = platform::classlib::ClassLibrary::system();
    if (!index_)
        index_ = lookup::MemberIndex::open(library);
    std::vector<lookup::MethodHit> hits =
        index_ ? index_->find(library, job.text, job.limit) : std::vector<lookup::MethodHit>();
    if (stale())
        return;  // a newer query is waiting: this answer is already stale
    QMetaObject::invokeMethod(
        this, [this, id, hits = std::move(hits)] { emit answered(id, hits); }, Qt::QueuedConnection);
}

}  // namespace app
