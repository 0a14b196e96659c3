#include "project/ProjectResolver.h"

#include <QMetaObject>

namespace project {

ProjectResolver::ProjectResolver(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<project::ProjectClasspath>();
}

ProjectResolver::~ProjectResolver()
{
    stop_ = true;
    // The tool is killed within one poll of the stop flag; the answer posted
    // to this object, if any, is dropped with it.
    if (worker_.joinable())
        worker_.join();
}

void ProjectResolver::start(const QString& dir, ResolveOptions options)
{
    if (worker_.joinable())
        return;
    options.stopRequested = [this] { return stop_.load(); };
    worker_ = std::thread([this, dir, options = std::move(options)] {
        ProjectClasspath classpath = resolveProjectClasspath(dir, options);
        if (stop_)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, classpath = std::move(classpath)] {
                finished_ = true;
                emit resolved(classpath);
            },
            Qt::QueuedConnection);
    });
}

}  // namespace project
