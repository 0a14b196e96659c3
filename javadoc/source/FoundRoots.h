#pragma once
// The documentation roots found for a class with no set-up (RootFinder's
// candidates whose package list names its package), in the form the
// documentation service takes as DocRoots::extra: a folder as it is, a
// javadoc jar as its in-place root (javadoc/PageSource.h).

#include <QString>
#include <QStringList>

#include "javadoc/DocService.h"
#include "javadoc/source/RootFinder.h"

namespace platform::classlib {
class ClassLibrary;
}

namespace javadoc::source {

// The class library's jars and JDK, JAVAORVEL_DOC_PATH and the installed packages.
RootEnvironment rootEnvironment(const platform::classlib::ClassLibrary& library);

// The class the selection's page is for: the member's declaring class when
// known ("java.util.Map$Entry"), else the group's (or the field's, for constructors).
QString selectedClass(const DocSelection& selection);

// The roots for the class: those naming its package; a nested class spelled
// with dots ("a.b.Outer.Inner") is tried at each shorter prefix.
QStringList foundDocRoots(RootFinder& finder, const QString& className);

// Over a finder of the process's class library, built at the first call.
QStringList foundDocRoots(const QString& className);

}  // namespace javadoc::source
