#pragma once
// Where class files come from: the JDK's lib/modules, a jar (rt.jar or a
// CLASSPATH jar, through platform::ZipArchive), or a folder of .class files.

#include <memory>
#include <string>

#include "platform/ZipArchive.h"
#include "platform/classlib/JImage.h"

namespace platform::classlib {

class ClassSource {
public:
    enum class Result { Found, NotFound, Error };

    virtual ~ClassSource() = default;
    // The class file of an internal name ("java/util/Map$Entry"). Error:
    // `error` holds one line (the entry exists but cannot be read).
    virtual Result find(const std::string& internalName, ResourceBytes& out, std::string& error) = 0;
    // The file or folder read, for messages.
    virtual const std::string& location() const = 0;
};

// lib/modules.
class JImageSource : public ClassSource {
public:
    JImageSource(std::string path, std::unique_ptr<JImage> image) : path_(std::move(path)), image_(std::move(image)) { }
    Result find(const std::string& internalName, ResourceBytes& out, std::string& error) override;
    const std::string& location() const override { return path_; }
    const JImage& image() const { return *image_; }

private:
    std::string path_;
    std::unique_ptr<JImage> image_;
};

// A jar or zip file, opened on first use; one that is no readable zip finds
// nothing. A CLASSPATH may name more jars than the process may hold open
// files, so only the kMaxOpenJars used last stay open (all jars share one
// lock for this); the others are opened again when next asked. A jar that
// cannot be opened for want of descriptors or memory is an error with that
// reason, never a quiet miss.
class JarSource : public ClassSource {
public:
    static constexpr size_t kMaxOpenJars = 64;

    explicit JarSource(std::string path) : path_(std::move(path)) { }
    ~JarSource() override;
    Result find(const std::string& internalName, ResourceBytes& out, std::string& error) override;
    const std::string& location() const override { return path_; }
    // Opens the jar now. "" when it opened, else the reason.
    std::string open();

private:
    // Under the shared lock: the archive, opened (again) if need be.
    platform::ZipArchive* archive(std::string& error);
    void close();

    std::string path_;
    bool broken_ = false;  // not a readable zip: it stays shut
    std::string openError_;
    std::unique_ptr<platform::ZipArchive> zip_;
};

// A folder holding package folders of .class files.
class FolderSource : public ClassSource {
public:
    explicit FolderSource(std::string path) : path_(std::move(path)) { }
    Result find(const std::string& internalName, ResourceBytes& out, std::string& error) override;
    const std::string& location() const override { return path_; }

private:
    std::string path_;
};

}  // namespace platform::classlib
