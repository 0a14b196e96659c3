#include "lookup/ClassIndexProvider.h"

#include "platform/classlib/ClassIndex.h"
#include "platform/classlib/ClassLibrary.h"

namespace lookup {

ClassIndexProvider::ClassIndexProvider(platform::classlib::ClassLibrary& library, QObject* parent) : QObject(parent)
{
    builder_ = std::thread([this, &library] {
        auto completion = std::make_shared<const ClassCompletion>(platform::classlib::ClassIndex::build(library));
        // The completion list's first query finds the sorted views made.
        completion->index().byLowerInnerName();
        completion->index().byLowerSimpleBinaryName();
        // Queued to this object's thread; dropped by Qt if the provider is gone.
        QMetaObject::invokeMethod(
            this, [this, completion] { handOver(completion); }, Qt::QueuedConnection);
    });
}

ClassIndexProvider::~ClassIndexProvider()
{
    if (builder_.joinable())
        builder_.join();
}

ClassIndexProvider& ClassIndexProvider::system()
{
    // Kept for the run. Destroyed at exit, before the class sources' own
    // statics (made earlier), so a build still running is waited for first.
    static ClassIndexProvider provider(platform::classlib::ClassLibrary::system());
    return provider;
}

void ClassIndexProvider::handOver(std::shared_ptr<const ClassCompletion> completion)
{
    completion_ = std::move(completion);
    emit ready();
}

}  // namespace lookup
