// CtSymZip over libzip: the archive stays open for the life of the object, so
// the central directory is read once, however many stubs are asked for.

#include "platform/classlib/CtSymZip.h"

#include <unistd.h>
#include <zip.h>

#include <cstdio>
#include <mutex>

#include "platform/RegularFile.h"

namespace platform::classlib {

namespace {

std::string zipReason(zip_error_t* error, const char* fallback)
{
    return zip_error_code_zip(error) == ZIP_ER_OK ? fallback : zip_error_strerror(error);
}

class LibzipCtSym final : public CtSymZip {
public:
    explicit LibzipCtSym(zip_t* zip) : zip_(zip)
    {
        const zip_int64_t count = zip_get_num_entries(zip_, 0);
        names_.reserve(count > 0 ? size_t(count) : 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            const char* raw = zip_get_name(zip_, zip_uint64_t(i), ZIP_FL_ENC_RAW);
            names_.emplace_back(raw ? raw : "");
        }
    }
    ~LibzipCtSym() override { zip_discard(zip_); }

    size_t entryCount() const override { return names_.size(); }
    std::string_view name(size_t i) const override { return names_[i]; }

    bool read(size_t i, ResourceBytes& out, std::string& error) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(zip_, i, 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE)) {
            error = zipReason(zip_get_error(zip_), "no size recorded");
            return false;
        }
        if (st.size > JImage::kMaxResourceSize) {
            error = "entry too large";
            return false;
        }
        zip_file_t* file = zip_fopen_index(zip_, i, 0);
        if (!file) {
            error = zipReason(zip_get_error(zip_), "cannot open the entry");
            return false;
        }
        out.owned.assign(size_t(st.size), 0);
        size_t got = 0;
        zip_int64_t n = 0;
        while (got < out.owned.size() && (n = zip_fread(file, out.owned.data() + got, out.owned.size() - got)) > 0)
            got += size_t(n);
        // One more read lets libzip check the CRC and shows data past the recorded size.
        char extra;
        if (n >= 0 && got == out.owned.size())
            n = zip_fread(file, &extra, 1);
        const bool ok = n == 0 && got == out.owned.size();
        if (!ok)
            error = zipReason(zip_file_get_error(file), "entry not of its recorded size");
        zip_fclose(file);
        if (!ok)
            return false;
        out.data = out.owned.data();
        out.size = out.owned.size();
        return true;
    }

private:
    zip_t* zip_;
    std::vector<std::string> names_;
    std::mutex mutex_;
};

}  // namespace

std::unique_ptr<CtSymZip> CtSymZip::open(const std::string& path, std::string& error)
{
    // Opened by us first, so that a FIFO named ct.sym is refused, not waited on.
    std::string reason;
    const int fd = platform::openRegularFile(path, reason);
    if (fd < 0) {
        error = path + ": " + reason;
        return nullptr;
    }
    FILE* stream = ::fdopen(fd, "rb");
    if (!stream) {
        ::close(fd);
        error = path + ": out of memory";
        return nullptr;
    }
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* source = zip_source_filep_create(stream, 0, -1, &ze);
    zip_t* zip = source ? zip_open_from_source(source, ZIP_RDONLY, &ze) : nullptr;
    if (!zip) {
        if (source)
            zip_source_free(source);  // closes the stream
        else
            std::fclose(stream);
        error = path + ": " + zipReason(&ze, "not a zip file");
        zip_error_fini(&ze);
        return nullptr;
    }
    zip_error_fini(&ze);
    return std::make_unique<LibzipCtSym>(zip);
}

}  // namespace platform::classlib
