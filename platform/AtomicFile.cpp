#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool writeAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

}  // namespace

bool writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    if (QFileInfo(path).isDir())
        return false;
    // A write past a file size limit must fail, not end the process.
    std::signal(SIGXFSZ, SIG_IGN);
    QByteArray temp = QFile::encodeName(path) + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, bytes.constData(), bytes.size());
    ok = (::fsync(fd) == 0) && ok;
    ok = (::close(fd) == 0) && ok;
    if (ok) {
        // mkstemp makes the file private; give it the usual permissions.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::chmod(temp.constData(), 0666 & ~mask);
        ok = ::rename(temp.constData(), QFile::encodeName(path).constData()) == 0;
    }
    if (!ok)
        ::unlink(temp.constData());
    return ok;
}

}  // namespace platform
