#pragma once
// The zip reading ct.sym needs, and no more: its entry names, read once from
// the central directory, and one entry's bytes by position. Kept behind this
// small interface so that the archive reader underneath can be exchanged
// without touching the ct.sym logic.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/classlib/JImage.h"

namespace platform::classlib {

class CtSymZip {
public:
    virtual ~CtSymZip() = default;
    // nullptr with `error` set to one line (missing, not a regular file, not a zip).
    static std::unique_ptr<CtSymZip> open(const std::string& path, std::string& error);

    virtual size_t entryCount() const = 0;
    // The raw name of entry i ("879A/java.base/java/util/Optional.sig").
    virtual std::string_view name(size_t i) const = 0;
    // Entry i whole, checked against its recorded size and CRC. False with
    // `error` set (without the archive's path) when it cannot be read. Safe to
    // call from several threads.
    virtual bool read(size_t i, ResourceBytes& out, std::string& error) = 0;
};

}  // namespace platform::classlib
