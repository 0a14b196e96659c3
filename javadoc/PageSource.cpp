#include "javadoc/PageSource.h"

#include <QFile>
#include <QFileInfo>
#include <list>
#include <mutex>

#include "platform/RegularFile.h"
#include "platform/ZipArchive.h"

namespace javadoc {

namespace {

// A class page of the JDK is at most about 1.5 MB; a claimed size far over
// that is damage, and is not inflated.
constexpr qsizetype kMaxPageBytes = 16 << 20;
constexpr size_t kMaxOpenJars = 4;
constexpr size_t kMaxCachedPages = 2;
const QLatin1String kSeparator(".jar!/");

struct OpenJar {
    std::string path;
    std::unique_ptr<platform::ZipArchive> zip;  // null: not a zip this reader reads
};

struct CachedPage {
    QString path;
    QByteArray bytes;
};

// Selections come from the event thread; the lock is held only over one
// entry's read, never over a page's parse.
class JarCache {
public:
    static JarCache& instance()
    {
        static JarCache cache;
        return cache;
    }

    std::optional<QByteArray> read(const std::string& jar, const std::string& entry, qsizetype maxBytes)
    {
        const std::lock_guard lock(mutex_);
        platform::ZipArchive* zip = open(jar);
        const std::optional<platform::ZipArchive::Entry> found = zip ? zip->find(entry) : std::nullopt;
        QByteArray bytes;
        std::string damage;  // a damaged or oversized entry is no page
        if (!found || !zip->read(*found, uint64_t(maxBytes), bytes, damage))
            return std::nullopt;
        return bytes;
    }

    bool holds(const std::string& jar, const std::string& entry)
    {
        const std::lock_guard lock(mutex_);
        platform::ZipArchive* zip = open(jar);
        return zip && zip->find(entry).has_value();
    }

    std::optional<QByteArray> page(const QString& path, const std::string& jar, const std::string& entry)
    {
        {
            const std::lock_guard lock(mutex_);
            for (const CachedPage& cached : pages_)
                if (cached.path == path)
                    return cached.bytes;
        }
        std::optional<QByteArray> bytes = read(jar, entry, kMaxPageBytes);
        if (bytes) {
            const std::lock_guard lock(mutex_);
            pages_.push_front({path, *bytes});
            if (pages_.size() > kMaxCachedPages)
                pages_.pop_back();
        }
        return bytes;
    }

private:
    platform::ZipArchive* open(const std::string& path)
    {
        for (auto it = jars_.begin(); it != jars_.end(); ++it) {
            if (it->path == path) {
                jars_.splice(jars_.begin(), jars_, it);
                return jars_.front().zip.get();
            }
        }
        platform::ZipArchive::OpenError failure;  // not a jar (a FIFO, damage): no pages there
        jars_.push_front({path, platform::ZipArchive::open(path, failure)});
        if (jars_.size() > kMaxOpenJars)
            jars_.pop_back();
        return jars_.front().zip.get();
    }

    std::mutex mutex_;
    std::list<OpenJar> jars_;
    std::list<CachedPage> pages_;
};

// The jar and the entry a page path names; nothing for a file's path.
std::optional<std::pair<std::string, std::string>> splitJarPath(const QString& fsPath)
{
    const qsizetype at = fsPath.indexOf(kSeparator);
    if (at < 0)
        return std::nullopt;
    const qsizetype entryAt = at + kSeparator.size();
    return std::pair {fsPath.left(entryAt - 2).toStdString(), fsPath.mid(entryAt).toStdString()};
}

}  // namespace

QString jarRoot(const QString& jarPath)
{
    return jarPath + QLatin1Char('!');
}

std::unique_ptr<platform::LineReader> openPage(const QString& fsPath)
{
    if (const auto jar = splitJarPath(fsPath)) {
        std::optional<QByteArray> bytes = JarCache::instance().page(fsPath, jar->first, jar->second);
        if (bytes)
            return std::make_unique<platform::LineReader>(std::move(*bytes));
    }
    return std::make_unique<platform::LineReader>(fsPath);
}

Page::Page(QString fsPath) : path_(std::move(fsPath))
{
    if (const auto jar = splitJarPath(path_))
        bytes_ = JarCache::instance().page(path_, jar->first, jar->second);
    else
        bytes_ = platform::readRegularFile(QFile::encodeName(path_).toStdString(), kMaxPageBytes);
}

std::unique_ptr<platform::LineReader> Page::lines() const
{
    if (bytes_)
        return std::make_unique<platform::LineReader>(*bytes_);
    return openPage(path_);
}

bool pageExists(const QString& fsPath)
{
    if (const auto jar = splitJarPath(fsPath); jar && JarCache::instance().holds(jar->first, jar->second))
        return true;
    return QFileInfo(fsPath).isFile();
}

std::optional<QByteArray> readJarEntry(const std::string& jarPath, const std::string& entry, qsizetype maxBytes)
{
    return JarCache::instance().read(jarPath, entry, maxBytes);
}

}  // namespace javadoc
