#include "platform/classlib/ClassSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/RegularFile.h"

namespace platform::classlib {

ClassSource::Result JImageSource::find(const std::string& internalName, ResourceBytes& out, std::string& error)
{
    switch (image_->readClass(internalName, out, error)) {
    case JImage::Result::Found:
        return Result::Found;
    case JImage::Result::NotFound:
        return Result::NotFound;
    case JImage::Result::Error:
        break;
    }
    error += " (in " + path_ + ")";
    return Result::Error;
}

namespace {

// The jars now open, the one used last at the back; guarded by jarMutex.
std::mutex jarMutex;
std::vector<JarSource*> openJars;

// libzip's text for an error, never its "No error".
std::string zipReason(zip_error_t* error, const char* fallback)
{
    return zip_error_code_zip(error) == ZIP_ER_OK ? fallback : zip_error_strerror(error);
}

}  // namespace

JarSource::~JarSource()
{
    std::lock_guard<std::mutex> lock(jarMutex);
    close();
}

void JarSource::close()
{
    if (!zip_)
        return;
    zip_discard(zip_);
    zip_ = nullptr;
    openJars.erase(std::find(openJars.begin(), openJars.end(), this));
}

::zip* JarSource::archive(std::string& error)
{
    if (zip_) {
        const auto it = std::find(openJars.begin(), openJars.end(), this);
        std::rotate(it, it + 1, openJars.end());
        return zip_;
    }
    if (broken_) {
        error = openError_;
        return nullptr;
    }
    if (openJars.size() >= kMaxOpenJars)
        openJars.front()->close();
    // Opened here, not by libzip, so that a FIFO or device named like a jar
    // is refused instead of blocking the lookup.
    std::string reason;
    int fd = platform::openRegularFile(path_, reason);
    // Under a file limit lower than ours, the jars used longest ago give way.
    while (fd < 0 && errno == EMFILE && !openJars.empty()) {
        openJars.front()->close();
        fd = platform::openRegularFile(path_, reason);
    }
    if (fd < 0) {
        // Out of descriptors or memory passes; the jar is tried again later.
        const bool passing = errno == EMFILE || errno == ENFILE || errno == ENOMEM;
        error = path_ + ": " + reason;
        if (!passing) {
            broken_ = true;
            openError_ = error;
        }
        return nullptr;
    }
    // Over a stream of our own descriptor: zip_fdopen would need a second
    // one for its dup, which a full descriptor table cannot give.
    FILE* stream = ::fdopen(fd, "rb");
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* source = stream ? zip_source_filep_create(stream, 0, -1, &ze) : nullptr;
    zip_ = source ? zip_open_from_source(source, ZIP_RDONLY, &ze) : nullptr;
    if (!zip_) {
        if (source)
            zip_source_free(source);  // closes the stream
        else if (stream)
            std::fclose(stream);
        else
            ::close(fd);
        const int code = stream ? zip_error_code_zip(&ze) : ZIP_ER_MEMORY;
        error = path_ + ": " + zipReason(&ze, "cannot open");
        zip_error_fini(&ze);
        if (code != ZIP_ER_MEMORY) {
            broken_ = true;
            openError_ = error;
        }
        return nullptr;
    }
    zip_error_fini(&ze);
    openJars.push_back(this);
    return zip_;
}

std::string JarSource::open()
{
    std::lock_guard<std::mutex> lock(jarMutex);
    std::string error;
    return archive(error) ? std::string() : error;
}

ClassSource::Result JarSource::find(const std::string& internalName, ResourceBytes& out, std::string& error)
{
    std::lock_guard<std::mutex> lock(jarMutex);
    std::string openError;
    ::zip* zip = archive(openError);
    if (!zip) {
        if (broken_)
            return Result::NotFound;
        error = openError;  // every entry must stay searchable: say why this one is not
        return Result::Error;
    }
    const std::string entry = internalName + ".class";
    const zip_int64_t index = zip_name_locate(zip, entry.c_str(), 0);
    if (index < 0)
        return Result::NotFound;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(zip, zip_uint64_t(index), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE)) {
        error = entry + " in " + path_ + ": " + zipReason(zip_get_error(zip), "no size recorded");
        return Result::Error;
    }
    if (st.size > JImage::kMaxResourceSize) {
        error = entry + " in " + path_ + ": entry too large";
        return Result::Error;
    }
    zip_file_t* file = zip_fopen_index(zip, zip_uint64_t(index), 0);
    if (!file) {
        error = entry + " in " + path_ + ": " + zipReason(zip_get_error(zip), "cannot open the entry");
        return Result::Error;
    }
    out.owned.assign(size_t(st.size), 0);
    size_t got = 0;
    bool failed = false;
    while (got < out.owned.size()) {
        const zip_int64_t n = zip_fread(file, out.owned.data() + got, out.owned.size() - got);
        if (n < 0) {
            failed = true;
            break;
        }
        if (n == 0)
            break;
        got += size_t(n);
    }
    // Reading to the end lets libzip check the CRC; data beyond the recorded
    // size is damage of its own.
    const char* reason = "entry shorter than its recorded size";
    char extra;
    if (!failed && got == out.owned.size()) {
        const zip_int64_t n = zip_fread(file, &extra, 1);
        failed = n != 0;
        reason = n > 0 ? "entry longer than its recorded size" : "read error";
    }
    if (failed || got != out.owned.size()) {
        error = entry + " in " + path_ + ": " + (failed ? zipReason(zip_file_get_error(file), reason) : reason);
        zip_fclose(file);
        return Result::Error;
    }
    zip_fclose(file);
    out.data = out.owned.data();
    out.size = out.owned.size();
    return Result::Found;
}

ClassSource::Result FolderSource::find(const std::string& internalName, ResourceBytes& out, std::string& error)
{
    const std::string file = path_ + "/" + internalName + ".class";
    // A FIFO or device in the folder is no class file, and must not block.
    std::string reason;
    const int fd = platform::openRegularFile(file, reason);
    if (fd < 0)
        return Result::NotFound;
    struct stat st;
    if (fstat(fd, &st) != 0) {
        ::close(fd);
        return Result::NotFound;
    }
    if (uint64_t(st.st_size) > JImage::kMaxResourceSize) {
        ::close(fd);
        error = file + ": file too large";
        return Result::Error;
    }
    out.owned.assign(size_t(st.st_size), 0);
    size_t got = 0;
    while (got < out.owned.size()) {
        const ssize_t n = ::read(fd, out.owned.data() + got, out.owned.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += size_t(n);
    }
    ::close(fd);
    if (got != out.owned.size()) {
        error = file + ": read error";
        return Result::Error;
    }
    out.data = out.owned.data();
    out.size = out.owned.size();
    return Result::Found;
}

}  // namespace platform::classlib
