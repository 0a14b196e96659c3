// CtSymZip over the program's one zip reader: the central directory is read
// once at open; stubs are read by position, each checked against its size and CRC.

#include "platform/classlib/CtSymZip.h"

#include "platform/ZipArchive.h"

namespace platform::classlib {

namespace {

class ArchiveCtSymZip : public CtSymZip {
public:
    explicit ArchiveCtSymZip(std::unique_ptr<ZipArchive> zip) : zip_(std::move(zip)) { }
    size_t entryCount() const override { return zip_->count(); }
    std::string_view name(size_t i) const override { return zip_->name(i); }
    bool read(size_t i, ResourceBytes& out, std::string& error) override
    {
        // The reader's entry reads are positioned reads of a shared descriptor:
        // several threads may read at once.
        if (!zip_->read(zip_->entry(i), JImage::kMaxResourceSize, out.owned, error))
            return false;
        out.data = out.owned.data();
        out.size = out.owned.size();
        return true;
    }

private:
    std::unique_ptr<ZipArchive> zip_;
};

}  // namespace

std::unique_ptr<CtSymZip> CtSymZip::open(const std::string& path, std::string& error)
{
    ZipArchive::OpenError openError;
    std::unique_ptr<ZipArchive> zip = ZipArchive::open(path, openError);
    if (!zip) {
        error = path + ": " + openError.reason;
        return nullptr;
    }
    return std::make_unique<ArchiveCtSymZip>(std::move(zip));
}

}  // namespace platform::classlib
