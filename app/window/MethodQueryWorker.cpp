#include "app/window/MethodQueryWorker.h"

#include "platform/classlib/ClassLibrary.h"

namespace app {

MethodQueryWorker::MethodQueryWorker(QObject* parent) : QObject(parent), thread_([this] { run(); }) { }

MethodQueryWorker::~MethodQueryWorker()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quitting_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void MethodQueryWorker::ask(quint64 id, const QString& text, size_t limit)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        next_ = Job {id, text, limit};
    }
    wake_.notify_one();
}

void MethodQueryWorker::run()
{
    // Taken at the first query, not at the thread's start: the library may be
    // held back until a project's classpath is appended to it.
    platform::classlib::ClassLibrary* library = nullptr;
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
        if (!library)
            library = &platform::classlib::ClassLibrary::system();
        if (!index_)
            index_ = lookup::MemberIndex::open(*library);
        std::vector<lookup::MethodHit> hits =
            index_ ? index_->find(*library, job.text, job.limit) : std::vector<lookup::MethodHit>();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (quitting_ || next_)
                continue;  // a newer query is waiting: this answer is already stale
        }
        QMetaObject::invokeMethod(
            this, [this, id = job.id, hits = std::move(hits)] { emit answered(id, hits); }, Qt::QueuedConnection);
    }
}

}  // namespace app
