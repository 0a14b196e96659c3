// Writes the seed images of fuzz/corpus/fuzz_jimage/ (run by hand:
// classlib_make_fuzz_corpus DIR). Small synthetic jimage files: stored,
// zip-compressed and "compact-cp" resources, both byte orders, an empty
// image, one with enough names for seeded redirect slots, and one whose
// classes loop or miss a supertype.
#include <cstdio>
#include <string>

#include "ClassFileBuilder.h"
#include "JImageBuilder.h"

using namespace testing_classlib;

namespace {

std::vector<uint8_t> smallClass(const std::string& name, const std::string& super = "java/lang/Object")
{
    ClassSpec c;
    c.name = name;
    c.super = super;
    c.method(kPublic, "<init>", "()V").method(kPublic, "run", "(I[Ljava/lang/String;)J", {"java/io/IOException"});
    return buildClass(c);
}

void write(const std::string& dir, const std::string& name, JImageBuilder& b)
{
    const auto bytes = b.build();
    writeBytes(QString::fromStdString(dir + "/" + name), bytes);
    std::printf("%s: %zu bytes\n", name.c_str(), bytes.size());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    ClassSpec object;
    object.name = "java/lang/Object";
    object.super = "";
    object.method(kPublic, "<init>", "()V").method(kPublic | kNative, "hashCode", "()I");
    for (const bool big : {false, true}) {
        JImageBuilder b;
        b.bigEndian = big;
        b.addClass("java.base", "java/lang/Object", buildClass(object));
        b.addClass("m", "p/A", smallClass("p/A"));
        b.addClass("m", "p/q/B", smallClass("p/q/B", "p/A"));
        b.addClass("java.desktop", "javax/swing/JX", smallClass("javax/swing/JX", "p/q/B"));
        write(dir, big ? "stored-big-endian.jimage" : "stored.jimage", b);
    }
    {
        JImageBuilder b;
        b.addClass("java.base", "java/lang/Object", buildClass(object), JImageBuilder::Compression::Zip);
        b.addClass("m", "p/A", smallClass("p/A"));
        b.addClass("m", "p/Zipped", smallClass("p/Zipped"), JImageBuilder::Compression::Zip);
        b.addClass("m", "p/Packed", smallClass("p/Packed"), JImageBuilder::Compression::Other);
        write(dir, "compressed.jimage", b);
    }
    {
        JImageBuilder b;
        write(dir, "empty.jimage", b);
    }
    {
        JImageBuilder b;  // a superclass loop and a missing supertype
        b.addClass("java.base", "java/lang/Object", buildClass(object));
        b.addClass("m", "p/A", smallClass("p/A", "p/q/B"));
        b.addClass("m", "p/q/B", smallClass("p/q/B", "p/A"));
        b.addClass("m", "p/Zipped", smallClass("p/Zipped", "p/Gone"));
        write(dir, "broken-hierarchy.jimage", b);
    }
    {
        JImageBuilder b;
        b.addClass("java.base", "java/lang/Object", buildClass(object));
        for (int i = 0; i < 40; ++i)
            b.add("m", "p", "R" + std::to_string(i), "txt", {uint8_t(i)});
        b.addClass("m", "p/A", smallClass("p/A"));
        write(dir, "many.jimage", b);
    }
    return 0;
}
