// libFuzzer target: the class-file parser, then the printed form of every
// method it keeps. Any input must give a result or an error text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/classlib/ClassFile.h"
#include "platform/classlib/MemberPrinter.h"

using namespace platform::classlib;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ClassFileInfo info;
    const std::string error = parseClassFile(data, size, info);
    if (!error.empty())
        return 0;
    const bool isInterface = (info.access & ACC_INTERFACE) != 0;
    size_t total = 0;
    for (const MethodInfo& m : info.methods) {
        total += printMethod(m.access, isInterface, info.thisClass, m.name, m.descriptor, m.exceptions).size();
        total += printMethod(m.access, isInterface, info.thisClass, m.name, m.descriptor, m.exceptions, true).size();
    }
    return total == size_t(-1) ? 1 : 0;
}
