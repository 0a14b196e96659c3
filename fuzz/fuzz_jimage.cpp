// libFuzzer target: the jimage reader over an in-memory image. Opens it,
// looks up the names that the seed images hold (and some they do not),
// decompresses what it finds and parses found classes; then the same image
// as a class library: forName, getMethods and getConstructors, whose
// hierarchy rules (loops, missing supertypes, merging) meet fuzzed classes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/classlib/ClassFile.h"
#include "platform/classlib/ClassLibrary.h"
#include "platform/classlib/JImage.h"

using namespace platform::classlib;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string error;
    const auto image = JImage::fromBuffer(data, size, error);
    if (!image)
        return 0;
    static const char* const classes[] = {"java/lang/Object", "java/lang/String", "p/A", "p/q/B", "p/Zipped",
        "p/Packed", "p/Nope", "Unnamed", "javax/swing/JX"};
    for (const char* name : classes) {
        ResourceBytes bytes;
        std::string why;
        if (image->readClass(name, bytes, why) == JImage::Result::Found) {
            ClassFileInfo info;
            parseClassFile(bytes.data, bytes.size, info);
        }
    }
    static const char* const paths[] = {"/packages/p", "/packages/java.lang", "/modules/java.base", "/m/p/A.class",
        "/java.base/java/lang/Object.class", ""};
    for (const char* path : paths) {
        ResourceBytes bytes;
        std::string why;
        image->read(path, bytes, why);
    }
    image->moduleOfPackage("p");

    std::vector<std::unique_ptr<ClassSource>> sources;
    sources.push_back(std::make_unique<JImageSource>("fuzz", JImage::fromBuffer(data, size, error)));
    ClassLibrary library(std::move(sources));
    static const char* const names[] = {
        "p.A", "p.q.B", "p.Zipped", "java.lang.Object", "com.sun.java.swing.JX", "[Lp.A;", "p.Nope"};
    for (const char* name : names) {
        try {
            const auto cls = library.forName(QString::fromLatin1(name));
            for (const auto& m : cls->getMethods()) (void)m.toString();
            for (const auto& c : cls->getConstructors()) (void)c.toString();
        } catch (const platform::ClassNotFoundException&) {
        } catch (const platform::ClassFormatError&) { }
    }
    return 0;
}
