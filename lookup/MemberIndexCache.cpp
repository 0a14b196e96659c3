// MemberIndex::open: the index kept on disk between runs. One file per set of
// class sources, named by their paths; inside, the sources' sizes and times
// as they were when it was written. A file that is not exactly what this
// version writes for these sources as they are now is built again.
//
// Layout (the machine's own byte order, which the order mark checks):
//   "JOMEMBRS" u32 version  u32 order mark  u64 checksum of the rest
//   u64 stamp length, stamp bytes (padded to 8)
//   u64 counts of classes, names, parameters, methods, text bytes
//   the four record tables, then the text.

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <sys/stat.h>

#include <cstring>

#include "lookup/MemberIndex.h"
#include "platform/AtomicFile.h"
#include "platform/RegularFile.h"
#include "platform/classlib/ClassIndex.h"
#include "platform/classlib/ClassLibrary.h"
#include "platform/classlib/ClassSource.h"

namespace lookup {

namespace {

constexpr char kMagic[8] = {'J', 'O', 'M', 'E', 'M', 'B', 'R', 'S'};
constexpr uint32_t kVersion = 1;
constexpr uint32_t kOrderMark = 0x01020304;
constexpr qsizetype kMaxFileBytes = qsizetype(1) << 30;

uint64_t checksum(const char* data, size_t size)
{
    // Eight bytes a step: damage anywhere changes it, and 10 MB take a few milliseconds.
    uint64_t h = 0xcbf29ce484222325ull;
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t w;
        std::memcpy(&w, data + i, 8);
        h = (h ^ w) * 0x100000001b3ull;
        h ^= h >> 29;
    }
    for (; i < size; ++i) h = (h ^ uint8_t(data[i])) * 0x100000001b3ull;
    return h;
}

template <class T> void put(QByteArray& out, const T& value)
{
    out.append(reinterpret_cast<const char*>(&value), qsizetype(sizeof value));
}

template <class T> void putTable(QByteArray& out, const std::vector<T>& table)
{
    out.append(reinterpret_cast<const char*>(table.data()), qsizetype(table.size() * sizeof(T)));
}

void pad(QByteArray& out)
{
    while (out.size() % 8) out.append('\0');
}

// A bounds-checked reader over the file; any overrun makes it bad.
struct Reader {
    const char* data;
    size_t size;
    size_t pos = 0;
    bool bad = false;

    template <class T> T get()
    {
        T value {};
        if (bad || sizeof(T) > size - pos) {
            bad = true;
            return value;
        }
        std::memcpy(&value, data + pos, sizeof(T));
        pos += sizeof(T);
        return value;
    }
    template <class T> void getTable(std::vector<T>& table, uint64_t count)
    {
        if (bad || count > (size - pos) / sizeof(T)) {
            bad = true;
            return;
        }
        table.resize(size_t(count));
        std::memcpy(table.data(), data + pos, size_t(count) * sizeof(T));
        pos += size_t(count) * sizeof(T);
    }
    void skipPadding() { pos = std::min(size, (pos + 7) / 8 * 8); }
};

void stampFile(std::string& stamp, const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        stamp += "missing\n";
        return;
    }
    stamp += std::to_string(uint64_t(st.st_mode)) + ' ' + std::to_string(uint64_t(st.st_ino)) + ' ' +
        std::to_string(int64_t(st.st_size)) + ' ' + std::to_string(int64_t(st.st_mtim.tv_sec)) + '.' +
        std::to_string(int64_t(st.st_mtim.tv_nsec)) + '\n';
}

// A folder's classes change without the folder's own time changing: every
// class file's size and time count, folded into one line.
void stampFolder(std::string& stamp, const std::string& root)
{
    QDirIterator it(
        QString::fromStdString(root), {QStringLiteral("*.class")}, QDir::Files, QDirIterator::Subdirectories);
    uint64_t files = 0, sum = 0;
    while (it.hasNext() && files < platform::classlib::ClassIndex::kMaxFolderFiles) {
        it.next();
        const QFileInfo info = it.fileInfo();
        const QByteArray name = it.filePath().toUtf8();
        ++files;
        sum = sum * 31 + checksum(name.constData(), size_t(name.size())) + uint64_t(info.size()) +
            uint64_t(info.lastModified().toMSecsSinceEpoch());
    }
    stamp += "folder " + std::to_string(files) + ' ' + std::to_string(sum) + '\n';
}

// What the sources are now: their paths, sizes and times.
std::string stampOf(platform::classlib::ClassLibrary& library)
{
    std::string stamp = library.jdkHome() + '\n';
    for (const auto& source : library.sources()) {
        stamp += source->location() + '\n';
        if (dynamic_cast<const platform::classlib::FolderSource*>(source.get()))
            stampFolder(stamp, source->location());
        else
            stampFile(stamp, source->location());
    }
    return stamp;
}

QString defaultCacheDir()
{
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.cache");
    return base + QStringLiteral("/javaorvel");
}

QByteArray serialize(const MemberIndex::Tables& t, const std::string& stamp)
{
    QByteArray body;
    put(body, uint64_t(stamp.size()));
    body.append(stamp.data(), qsizetype(stamp.size()));
    pad(body);
    for (const uint64_t count : {uint64_t(t.classes.size()), uint64_t(t.names.size()), uint64_t(t.parameters.size()),
             uint64_t(t.methods.size()), uint64_t(t.text.size())})
        put(body, count);
    putTable(body, t.classes);
    putTable(body, t.names);
    putTable(body, t.parameters);
    putTable(body, t.methods);
    body.append(t.text.data(), qsizetype(t.text.size()));
    QByteArray file(kMagic, sizeof kMagic);
    put(file, kVersion);
    put(file, kOrderMark);
    put(file, checksum(body.constData(), size_t(body.size())));
    return file + body;
}

std::unique_ptr<MemberIndex> deserialize(const QByteArray& file, const std::string& stamp)
{
    Reader r {file.constData(), size_t(file.size())};
    char magic[sizeof kMagic];
    for (char& c : magic) c = r.get<char>();
    if (r.bad || std::memcmp(magic, kMagic, sizeof kMagic) != 0 || r.get<uint32_t>() != kVersion ||
        r.get<uint32_t>() != kOrderMark)
        return nullptr;
    const uint64_t sum = r.get<uint64_t>();
    if (r.bad || sum != checksum(r.data + r.pos, r.size - r.pos))
        return nullptr;
    const uint64_t stampLength = r.get<uint64_t>();
    if (r.bad || stampLength != stamp.size() || stampLength > r.size - r.pos ||
        std::memcmp(r.data + r.pos, stamp.data(), stamp.size()) != 0)
        return nullptr;
    r.pos += stamp.size();
    r.skipPadding();
    uint64_t counts[5];
    for (uint64_t& c : counts) c = r.get<uint64_t>();
    MemberIndex::Tables t;
    r.getTable(t.classes, counts[0]);
    r.getTable(t.names, counts[1]);
    r.getTable(t.parameters, counts[2]);
    r.getTable(t.methods, counts[3]);
    if (r.bad || counts[4] != r.size - r.pos)
        return nullptr;
    t.text.assign(r.data + r.pos, size_t(counts[4]));
    return MemberIndex::fromTables(std::move(t));
}

}  // namespace

QString MemberIndex::cachePath(platform::classlib::ClassLibrary& library, const QString& cacheDir)
{
    // Named by the sources' paths, so that each CLASSPATH keeps its own file.
    std::string paths = library.jdkHome() + '\n';
    for (const auto& source : library.sources()) paths += source->location() + '\n';
    const uint64_t key = checksum(paths.data(), paths.size());
    return (cacheDir.isEmpty() ? defaultCacheDir() : cacheDir) + QStringLiteral("/members-") +
        QString::number(qulonglong(key), 16).rightJustified(16, QLatin1Char('0')) + QStringLiteral(".bin");
}

std::unique_ptr<MemberIndex> MemberIndex::open(platform::classlib::ClassLibrary& library, const QString& cacheDir)
{
    const QString path = cachePath(library, cacheDir);
    const std::string stamp = stampOf(library);
    if (const std::optional<QByteArray> file = platform::readRegularFile(path.toStdString(), kMaxFileBytes))
        if (std::unique_ptr<MemberIndex> index = deserialize(*file, stamp))
            return index;
    std::unique_ptr<MemberIndex> index = build(library);
    if (!index)
        return fromTables({});
    // Best effort: without a cache folder the next run builds again.
    if (QDir().mkpath(QFileInfo(path).absolutePath()))
        platform::writeFileAtomically(path, serialize(index->tables(), stamp));
    return index;
}

}  // namespace lookup
