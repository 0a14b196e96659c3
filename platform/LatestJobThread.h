#pragma once
// A thread of its own that runs only the newest job: posting a job replaces
// one still waiting, and the job running can ask whether it has gone stale (a
// newer one was posted, or the owner is going away) to stop early and go
// unanswered. Posting never waits for a running job, so the event thread can
// post at every keystroke; owners hand answers back by a queued call and drop
// any whose id is not their latest.
#include <QtGlobal>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace platform {

template <typename Job> class LatestJobThread {
public:
    using Stale = std::function<bool()>;
    // Runs on the thread, one job at a time; the job is the worker's to
    // consume (whatever it holds is released on the thread, not the poster's).
    using Work = std::function<void(quint64 id, Job& job, const Stale& stale)>;

    explicit LatestJobThread(Work work) : work_(std::move(work)), thread_([this] { run(); }) { }

    // Asks a running job to stop and waits for it.
    ~LatestJobThread()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            quitting_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

    LatestJobThread(const LatestJobThread&) = delete;
    LatestJobThread& operator=(const LatestJobThread&) = delete;

    void post(quint64 id, Job job)
    {
        latest_ = id;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            next_.emplace(id, std::move(job));
        }
        wake_.notify_one();
    }

private:
    void run()
    {
        while (true) {
            std::optional<std::pair<quint64, Job>> taken;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [this] { return quitting_ || next_; });
                if (quitting_)
                    return;
                taken.swap(next_);
            }
            const quint64 id = taken->first;
            const Stale stale = [this, id] { return quitting_ || latest_ != id; };
            work_(id, taken->second, stale);
        }
    }

    Work work_;
    std::mutex mutex_;  // guards next_; never held while a job runs
    std::condition_variable wake_;
    std::optional<std::pair<quint64, Job>> next_;
    std::atomic<quint64> latest_ {0};
    std::atomic<bool> quitting_ {false};  // set under mutex_, read anywhere
    std::thread thread_;                  // last: it starts once everything above is ready
};

}  // namespace platform
