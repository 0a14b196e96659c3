#include "platform/classlib/JavaClass.h"

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

}  // namespace platform
