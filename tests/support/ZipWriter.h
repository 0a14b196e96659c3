#pragma once
// Writes a zip of stored (uncompressed) entries, for fixtures too large to
// build through a zip library entry by entry: up to 65,535 entries, no zip64.

#include <zlib.h>

#include <QFile>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace test_support {

class ZipWriter {
public:
    void add(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const uint32_t crc = uint32_t(crc32(0, bytes.data(), uInt(bytes.size())));
        const uint32_t offset = uint32_t(out_.size());
        header(0x04034b50u, name, crc, uint32_t(bytes.size()), false, 0);
        out_.insert(out_.end(), bytes.begin(), bytes.end());
        std::vector<uint8_t> saved;
        saved.swap(out_);
        header(0x02014b50u, name, crc, uint32_t(bytes.size()), true, offset);
        central_.insert(central_.end(), out_.begin(), out_.end());
        out_.swap(saved);
        ++count_;
    }
    bool write(const QString& path)
    {
        const uint32_t at = uint32_t(out_.size());
        out_.insert(out_.end(), central_.begin(), central_.end());
        u4(0x06054b50u), u2(0), u2(0), u2(count_), u2(count_), u4(uint32_t(central_.size())), u4(at), u2(0);
        QFile file(path);
        return count_ <= 0xFFFF && file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
            file.write(reinterpret_cast<const char*>(out_.data()), qint64(out_.size())) == qint64(out_.size());
    }

private:
    void u2(uint32_t v) { out_.push_back(uint8_t(v)), out_.push_back(uint8_t(v >> 8)); }
    void u4(uint32_t v) { u2(v & 0xFFFF), u2(v >> 16); }
    void header(uint32_t signature, const std::string& name, uint32_t crc, uint32_t size, bool central, uint32_t offset)
    {
        u4(signature);
        if (central)
            u2(20);                             // made by
        u2(20), u2(0), u2(0), u2(0), u2(0x21);  // needed, flags, stored, time, date (1980-01-01)
        u4(crc), u4(size), u4(size), u2(uint32_t(name.size())), u2(0);
        if (central)
            u2(0), u2(0), u2(0), u4(0), u4(offset);  // comment, disk, attributes, offset
        out_.insert(out_.end(), name.begin(), name.end());
    }

    std::vector<uint8_t> out_, central_;
    uint32_t count_ = 0;
};

}  // namespace test_support
