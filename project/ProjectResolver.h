#pragma once
// A project's classpath resolved on a worker thread, so that the window shows
// at once while the build tool runs (up to its time limit). The answer comes
// back to the owner's thread by a queued call; destroying the resolver stops
// the tool and waits only for it to be killed, and nothing is cached then.

#include <QObject>
#include <atomic>
#include <thread>

#include "project/ProjectClasspath.h"

namespace project {

class ProjectResolver : public QObject {
    Q_OBJECT
public:
    explicit ProjectResolver(QObject* parent = nullptr);
    ~ProjectResolver() override;

    // Resolves the project in dir (resolveProjectClasspath); once per resolver.
    // options.stopRequested is replaced by the resolver's own.
    void start(const QString& dir, ResolveOptions options = {});
    bool isRunning() const { return worker_.joinable() && !finished_; }

signals:
    // On the owner's thread, once; never after the resolver is gone.
    void resolved(const project::ProjectClasspath& classpath);

private:
    std::atomic<bool> stop_ {false};
    bool finished_ = false;
    std::thread worker_;
};

}  // namespace project
