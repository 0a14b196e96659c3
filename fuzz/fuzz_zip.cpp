// The zip reader over arbitrary bytes, as a file: open, list, look up and
// read every entry. Any input must end in an archive or one line of reason.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/ZipArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One in-memory file for the whole run, opened by its /proc name as a jar would be.
    static const int fd = memfd_create("fuzz_zip", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != ssize_t(size))
        return 0;
    platform::ZipArchive::OpenError failure;
    const auto zip = platform::ZipArchive::open(path, failure);
    if (!zip)
        return 0;
    size_t classes = 0;
    zip->forEachName("META-INF/", [&](std::string_view, size_t) { ++classes; });
    if (classes > zip->count())
        __builtin_trap();
    for (size_t i = 0; i < zip->count() && i < 64; ++i) {
        std::vector<uint8_t> bytes;
        std::string error;
        const platform::ZipArchive::Entry entry = zip->entry(i);
        zip->read(entry, 1 << 20, bytes, error);
        const auto found = zip->find(entry.name);  // the walk, then the index
        if (!found || found->name != entry.name)
            __builtin_trap();
    }
    return 0;
}
