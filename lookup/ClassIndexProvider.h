#pragma once
// The window's class index: built on a worker thread from the moment it is
// asked for, and handed to the thread the provider lives in (the event
// thread) by a queued call, after which ready() is emitted there. Nobody
// waits for it: before ready() completion() is nullptr and callers go on
// without the index (the CLI builds its own, synchronously, through
// ClassCompletion::resolveOnce and completeOnce).

#include <QObject>
#include <memory>
#include <thread>

#include "lookup/ClassCompletion.h"

namespace platform::classlib {
class ClassLibrary;
}

namespace lookup {

class ClassIndexProvider : public QObject {
    Q_OBJECT
public:
    // Starts building the index of `library` (which must outlive the provider).
    explicit ClassIndexProvider(platform::classlib::ClassLibrary& library, QObject* parent = nullptr);
    // Waits for a build still running (only at exit or in tests).
    ~ClassIndexProvider() override;

    // The provider over ClassLibrary::system(), made on first use on the
    // calling thread (the event thread) and kept until exit.
    static ClassIndexProvider& system();

    // The index once ready() was emitted, else nullptr. Shared: a query running
    // on a worker keeps it alive.
    std::shared_ptr<const ClassCompletion> completion() const { return completion_; }
    bool isReady() const { return completion_ != nullptr; }

signals:
    void ready();

private:
    void handOver(std::shared_ptr<const ClassCompletion> completion);

    std::shared_ptr<const ClassCompletion> completion_;
    std::thread builder_;
};

}  // namespace lookup
