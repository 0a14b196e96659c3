#include "platform/classlib/ClassSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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
    zip_.reset();
    openJars.erase(std::find(openJars.begin(), openJars.end(), this));
}

platform::ZipArchive* JarSource::archive(std::string& error)
{
    using Kind = platform::ZipArchive::OpenError::Kind;
    if (zip_) {
        const auto it = std::find(openJars.begin(), openJars.end(), this);
        std::rotate(it, it + 1, openJars.end());
        return zip_.get();
    }
    if (broken_) {
        error = openError_;
        return nullptr;
    }
    if (openJars.size() >= kMaxOpenJars)
        openJars.front()->close();
    platform::ZipArchive::OpenError failure;
    zip_ = platform::ZipArchive::open(path_, failure);
    // Under a file limit lower than ours, the jars used longest ago give way.
    while (!zip_ && failure.kind == Kind::OutOfDescriptors && !openJars.empty()) {
        openJars.front()->close();
        zip_ = platform::ZipArchive::open(path_, failure);
    }
    if (!zip_) {
        // Out of descriptors or memory passes; the jar is tried again later.
        error = path_ + ": " + failure.reason;
        if (failure.kind == Kind::Unreadable) {
            broken_ = true;
            openError_ = error;
        }
        return nullptr;
    }
    openJars.push_back(this);
    return zip_.get();
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
    platform::ZipArchive* zip = archive(openError);
    if (!zip) {
        if (broken_)
            return Result::NotFound;
        error = openError;  // every entry must stay searchable: say why this one is not
        return Result::Error;
    }
    const std::string entry = internalName + ".class";
    const std::optional<platform::ZipArchive::Entry> found = zip->find(entry);
    if (!found)
        return Result::NotFound;
    std::string reason;
    if (!zip->read(*found, JImage::kMaxResourceSize, out.owned, reason)) {
        error = entry + " in " + path_ + ": " + reason;
        return Result::Error;
    }
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
