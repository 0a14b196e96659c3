#pragma once
// A small zip writer for tests: stored or deflated entries with the flags a
// test needs, and where its records start, so that a test can make any field lie.

#include <zlib.h>

#include <QByteArray>
#include <vector>

namespace test_support {

struct ZipEntry {
    QByteArray name;
    QByteArray bytes;
    bool deflate = true;
    quint16 flags = 0;  // 1: encrypted
};

struct BuiltZip {
    QByteArray bytes;
    qsizetype directoryAt = 0;  // the first central directory header
    qsizetype endAt = 0;        // the end record
};

// Field positions from the start of the end record and of a central header.
constexpr qsizetype kEndCount = 10, kEndDirectorySize = 12, kEndDirectoryOffset = 16;
constexpr qsizetype kCentralMethod = 10, kCentralCrc = 16, kCentralCompressedSize = 20, kCentralSize = 24,
                    kCentralLocalHeader = 42;

inline void put16(QByteArray& b, quint32 v)
{
    b.append(char(v & 0xFF)).append(char(v >> 8 & 0xFF));
}
inline void put32(QByteArray& b, quint32 v)
{
    put16(b, v & 0xFFFF), put16(b, v >> 16);
}
inline void set32(QByteArray& b, qsizetype at, quint32 v)
{
    QByteArray field;
    put32(field, v);
    b.replace(at, 4, field);
}

inline QByteArray rawDeflate(const QByteArray& in)
{
    z_stream z {};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&z, uLong(in.size()))), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    z.avail_in = uInt(in.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.truncate(qsizetype(z.total_out));
    deflateEnd(&z);
    return out;
}

inline BuiltZip buildZip(const std::vector<ZipEntry>& entries, const QByteArray& comment = {})
{
    BuiltZip zip;
    QByteArray central;
    for (const ZipEntry& e : entries) {
        const QByteArray data = e.deflate ? rawDeflate(e.bytes) : e.bytes;
        const quint32 crc =
            quint32(crc32(0, reinterpret_cast<const Bytef*>(e.bytes.constData()), uInt(e.bytes.size())));
        const auto common = [&](QByteArray& b) {
            put16(b, 20), put16(b, e.flags), put16(b, e.deflate ? 8 : 0), put16(b, 0), put16(b, 0x21);
            put32(b, crc), put32(b, quint32(data.size())), put32(b, quint32(e.bytes.size()));
            put16(b, quint32(e.name.size())), put16(b, 0);
        };
        put32(central, 0x02014b50), put16(central, 20), common(central);
        put16(central, 0), put16(central, 0), put16(central, 0), put32(central, 0),
            put32(central, quint32(zip.bytes.size()));
        central.append(e.name);
        put32(zip.bytes, 0x04034b50), common(zip.bytes);
        zip.bytes.append(e.name).append(data);
    }
    zip.directoryAt = zip.bytes.size();
    zip.bytes.append(central);
    zip.endAt = zip.bytes.size();
    put32(zip.bytes, 0x06054b50), put32(zip.bytes, 0);
    put16(zip.bytes, quint32(entries.size())), put16(zip.bytes, quint32(entries.size()));
    put32(zip.bytes, quint32(central.size())), put32(zip.bytes, quint32(zip.directoryAt));
    put16(zip.bytes, quint32(comment.size()));
    zip.bytes.append(comment);
    return zip;
}

}  // namespace test_support
