#include "platform/classlib/ClassSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <cerrno>
#include <cstring>

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

JarSource::~JarSource()
{
    if (zip_)
        zip_discard(zip_);
}

std::string JarSource::open()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!tried_) {
        tried_ = true;
        int code = 0;
        zip_ = zip_open(path_.c_str(), ZIP_RDONLY, &code);
        if (!zip_) {
            zip_error_t ze;
            zip_error_init_with_code(&ze, code);
            openError_ = path_ + ": " + zip_error_strerror(&ze);
            zip_error_fini(&ze);
        }
    }
    return openError_;
}

ClassSource::Result JarSource::find(const std::string& internalName, ResourceBytes& out, std::string& error)
{
    if (!open().empty())
        return Result::NotFound;
    std::lock_guard<std::mutex> lock(mutex_);
    const std::string entry = internalName + ".class";
    const zip_int64_t index = zip_name_locate(zip_, entry.c_str(), 0);
    if (index < 0)
        return Result::NotFound;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(zip_, zip_uint64_t(index), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE)) {
        error = entry + " in " + path_ + ": " + zip_strerror(zip_);
        return Result::Error;
    }
    if (st.size > JImage::kMaxResourceSize) {
        error = entry + " in " + path_ + ": entry too large";
        return Result::Error;
    }
    zip_file_t* file = zip_fopen_index(zip_, zip_uint64_t(index), 0);
    if (!file) {
        error = entry + " in " + path_ + ": " + zip_strerror(zip_);
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
    // Reading to the end lets libzip check the CRC.
    char extra;
    if (!failed && got == out.owned.size() && zip_fread(file, &extra, 1) != 0)
        failed = true;
    if (failed || got != out.owned.size()) {
        error = entry + " in " + path_ + ": " + (failed ? zip_file_strerror(file) : "entry shorter than its size");
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
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Result::NotFound;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
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
