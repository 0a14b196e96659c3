#include "platform/classlib/JavaClass.h"

#include <atomic>

#include "platform/classlib/ClassLibrary.h"

namespace platform {

std::shared_ptr<const JavaClass> JavaClass::forName(const QString& binaryName)
{
    return classlib::ClassLibrary::system().forName(binaryName);
}

QString classLibraryStartupWarning()
{
    return QString::fromStdString(classlib::ClassLibrary::system().warning());
}

QString classLibraryNotFoundWarning()
{
    static std::atomic<bool> told {false};
    const std::string line = classlib::ClassLibrary::system().notFoundExplanation();
    if (line.empty() || told.exchange(true))
        return QString();
    return QString::fromStdString(line);
}

}  // namespace platform
