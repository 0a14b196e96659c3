#include "javadoc/source/SourceLocator.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>

#include "javadoc/source/JavaSourceScanner.h"
#include "platform/RegularFile.h"

namespace javadoc::source {

namespace {

// Archives kept open at once: the JDK's src.zip and a few libraries' jars.
constexpr size_t kMaxOpenArchives = 16;

std::string parentOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

QString decodeSource(const QByteArray& bytes)
{
    return translateUnicodeEscapes(QString::fromUtf8(bytes));
}

}  // namespace

namespace {

constexpr quint64 kMaxDirectoryBytes = 64u << 20;

quint32 u16At(const char* p)
{
    const auto* b = reinterpret_cast<const uchar*>(p);
    return quint32(b[0]) | quint32(b[1]) << 8;
}

quint32 u32At(const char* p)
{
    const auto* b = reinterpret_cast<const uchar*>(p);
    return quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24;
}

bool readAt(int fd, char* into, size_t size, quint64 offset)
{
    size_t got = 0;
    while (got < size) {
        const ssize_t n = ::pread(fd, into + got, size - got, off_t(offset + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        got += size_t(n);
    }
    return true;
}

}  // namespace

ZipIndex::~ZipIndex()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::unique_ptr<ZipIndex> ZipIndex::open(const std::string& path)
{
    std::unique_ptr<ZipIndex> zip(new ZipIndex);
    std::string reason;
    zip->fd_ = platform::openRegularFile(path, reason);
    struct stat st;
    if (zip->fd_ < 0 || fstat(zip->fd_, &st) != 0 || st.st_size < 22)
        return nullptr;
    zip->fileSize_ = quint64(st.st_size);
    // The end record: in the last 22 bytes, or before a comment of up to 64 KB.
    const quint64 tailSize = std::min<quint64>(zip->fileSize_, 22 + 0xFFFF);
    QByteArray tail(qsizetype(tailSize), Qt::Uninitialized);
    if (!readAt(zip->fd_, tail.data(), size_t(tailSize), zip->fileSize_ - tailSize))
        return nullptr;
    qsizetype end = -1;
    for (qsizetype i = tail.size() - 22; i >= 0; --i) {
        if (u32At(tail.constData() + i) == 0x06054b50) {
            end = i;
            break;
        }
    }
    if (end < 0)
        return nullptr;
    const char* e = tail.constData() + end;
    const quint64 count = u16At(e + 10), size = u32At(e + 12), offset = u32At(e + 16);
    if (count == 0xFFFF || size == 0xFFFFFFFF || offset == 0xFFFFFFFF || size > kMaxDirectoryBytes ||
        offset + size > zip->fileSize_)
        return nullptr;
    zip->directory_ = QByteArray(qsizetype(size), Qt::Uninitialized);
    if (!readAt(zip->fd_, zip->directory_.data(), size_t(size), offset))
        return nullptr;
    return zip;
}

// Walks the central directory; stops when `visit` returns true.
template <typename Visit> void walkDirectory(const QByteArray& directory, Visit visit)
{
    const char* d = directory.constData();
    const quint64 size = quint64(directory.size());
    for (quint64 at = 0; at + 46 <= size && u32At(d + at) == 0x02014b50;) {
        const char* h = d + at;
        const quint64 nameLength = u16At(h + 28), next = at + 46 + nameLength + u16At(h + 30) + u16At(h + 32);
        if (next > size)
            break;
        if (visit(std::string_view(h + 46, size_t(nameLength)), h))
            break;
        at = next;
    }
}

std::optional<ZipIndex::Entry> ZipIndex::find(const std::string& name) const
{
    const auto entryAt = [](const char* h) {
        return Entry {u32At(h + 16), u32At(h + 20), u32At(h + 24), u32At(h + 42), quint16(u16At(h + 10))};
    };
    // The first lookup walks the directory; a second one (an archive kept open
    // for the window) builds the hash index once.
    if (lookups_++ == 0) {
        std::optional<Entry> found;
        walkDirectory(directory_, [&](std::string_view entryName, const char* h) {
            if (entryName != name)
                return false;
            found = entryAt(h);
            return true;
        });
        return found;
    }
    if (entries_.empty()) {
        walkDirectory(directory_, [&](std::string_view entryName, const char* h) {
            entries_.emplace(entryName, entryAt(h));  // the first of a name wins
            return false;
        });
    }
    const auto it = entries_.find(name);
    if (it == entries_.end())
        return std::nullopt;
    return it->second;
}

std::optional<QByteArray> ZipIndex::read(const std::string& name, qsizetype maxBytes) const
{
    const std::optional<Entry> found = find(name);
    if (!found)
        return std::nullopt;
    const Entry& entry = *found;
    if (qint64(entry.size) > maxBytes || qint64(entry.compressedSize) > maxBytes ||
        (entry.method != 0 && entry.method != 8))
        return std::nullopt;
    char local[30];
    if (!readAt(fd_, local, sizeof local, entry.localHeader) || u32At(local) != 0x04034b50)
        return std::nullopt;
    const quint64 dataAt = quint64(entry.localHeader) + 30 + u16At(local + 26) + u16At(local + 28);
    if (dataAt + entry.compressedSize > fileSize_)
        return std::nullopt;
    QByteArray packed(qsizetype(entry.compressedSize), Qt::Uninitialized);
    if (!readAt(fd_, packed.data(), size_t(packed.size()), dataAt))
        return std::nullopt;
    QByteArray bytes;
    if (entry.method == 0) {
        if (entry.compressedSize != entry.size)
            return std::nullopt;
        bytes = std::move(packed);
    } else {
        bytes = QByteArray(qsizetype(entry.size), Qt::Uninitialized);
        z_stream z {};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
            return std::nullopt;
        z.next_in = reinterpret_cast<Bytef*>(packed.data());
        z.avail_in = uInt(packed.size());
        z.next_out = reinterpret_cast<Bytef*>(bytes.data());
        z.avail_out = uInt(bytes.size());
        const int status = inflate(&z, Z_FINISH);
        const bool whole = status == Z_STREAM_END && z.total_out == entry.size;
        inflateEnd(&z);
        if (!whole)
            return std::nullopt;
    }
    if (crc32(0, reinterpret_cast<const Bytef*>(bytes.constData()), uInt(bytes.size())) != entry.crc)
        return std::nullopt;  // a corrupt entry: no part of it is trusted
    return bytes;
}

SourceLocator::~SourceLocator() = default;

const ZipIndex* SourceLocator::archive(const std::string& path)
{
    for (auto it = archives_.begin(); it != archives_.end(); ++it) {
        if (it->path == path) {
            archives_.splice(archives_.begin(), archives_, it);
            return archives_.front().index.get();
        }
    }
    archives_.push_front(Archive {path, ZipIndex::open(path)});
    if (archives_.size() > kMaxOpenArchives)
        archives_.pop_back();
    return archives_.front().index.get();
}

std::optional<QByteArray> SourceLocator::readEntry(const std::string& archivePath, const std::string& entry)
{
    const ZipIndex* zip = archive(archivePath);
    if (!zip)
        return std::nullopt;
    return zip->read(entry, kMaxSourceBytes);
}

std::optional<QString> SourceLocator::topLevelSource(const platform::classlib::ClassLibrary::Origin& origin,
    const std::string& jdkHome, const std::string& topInternalName)
{
    using Kind = platform::classlib::ClassLibrary::Origin::Kind;
    const std::string file = topInternalName + ".java";
    std::optional<QByteArray> bytes;
    switch (origin.kind) {
    case Kind::None:
        return std::nullopt;
    case Kind::JdkImage:
        if (!origin.module.empty())
            bytes = readEntry(jdkHome + "/lib/src.zip", origin.module + "/" + file);
        if (!bytes)
            bytes = readEntry(jdkHome + "/src.zip", file);
        break;
    case Kind::JdkJar:
        // JDK 8: src.zip at the JDK's top; rt.jar may sit in jre/lib below it.
        bytes = readEntry(jdkHome + "/src.zip", file);
        if (!bytes)
            bytes = readEntry(parentOf(jdkHome) + "/src.zip", file);
        break;
    case Kind::Jar: {
        std::string base = origin.location;
        if (base.size() > 4 && (base.ends_with(".jar") || base.ends_with(".JAR") || base.ends_with(".zip")))
            base.resize(base.size() - 4);
        bytes = readEntry(base + "-sources.jar", file);
        if (!bytes)
            bytes = readEntry(origin.location, file);
        break;
    }
    case Kind::Folder:
        bytes = readRegularFile(origin.location + "/" + file, kMaxSourceBytes);
        break;
    }
    if (!bytes)
        return std::nullopt;
    return decodeSource(*bytes);
}

}  // namespace javadoc::source
