#include "project/ClasspathCache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QList>

#include "platform/AtomicFile.h"
#include "platform/RegularFile.h"

namespace project {

namespace {

// The first line names the format; a file of any other format is not read.
constexpr char kHeader[] = "javaorvel-project-classpath 1";
// The last line: a file cut short has none, and is not believed.
constexpr char kTrailer[] = "end";
constexpr qsizetype kMaxCacheBytes = 16 << 20;

}  // namespace

QString defaultCacheDir()
{
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.cache");
    return base + QStringLiteral("/javaorvel");
}

QString ClasspathCache::fileFor(const QString& projectDir) const
{
    const QByteArray digest = QCryptographicHash::hash(projectDir.toUtf8(), QCryptographicHash::Sha1).toHex();
    return dir_ + QStringLiteral("/projects/") + QString::fromLatin1(digest) + QStringLiteral(".classpath");
}

std::optional<std::vector<std::string>> ClasspathCache::load(const QString& projectDir, const QByteArray& key) const
{
    const std::optional<QByteArray> bytes =
        platform::readRegularFile(fileFor(projectDir).toStdString(), kMaxCacheBytes);
    if (!bytes || !bytes->endsWith('\n'))
        return std::nullopt;
    QList<QByteArray> lines = bytes->chopped(1).split('\n');
    // header, project, key, entries..., trailer
    if (lines.size() < 4 || lines.first() != kHeader || lines.last() != kTrailer ||
        lines.at(1) != "project " + projectDir.toUtf8() || lines.at(2) != "key " + key)
        return std::nullopt;
    std::vector<std::string> entries;
    for (qsizetype i = 3; i + 1 < lines.size(); ++i) {
        if (!lines.at(i).startsWith('/'))
            return std::nullopt;
        entries.push_back(lines.at(i).toStdString());
    }
    return entries;
}

bool ClasspathCache::store(
    const QString& projectDir, const QByteArray& key, const std::vector<std::string>& entries) const
{
    QByteArray bytes = QByteArray(kHeader) + '\n' + "project " + projectDir.toUtf8() + '\n' + "key " + key + '\n';
    for (const std::string& entry : entries) bytes += QByteArray::fromStdString(entry) + '\n';
    bytes += QByteArray(kTrailer) + '\n';
    const QString file = fileFor(projectDir);
    return QDir().mkpath(QFileInfo(file).absolutePath()) && platform::writeFileAtomically(file, bytes);
}

}  // namespace project
