#include "platform/RegularFile.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

int openRegularFile(const std::string& path, std::string& reason, qint64* size)
{
    // Non-blocking, so that opening a FIFO returns at once; the type is then
    // checked on the open descriptor, which no rename can swap underneath.
    int fd;
    do fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        reason = std::strerror(errno);
        return -1;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        reason = "not a regular file";
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    // O_NONBLOCK stays: it has no effect on a regular file's reads, and
    // clearing it would cost two system calls an open (800 for a CLASSPATH of
    // /usr/share/java/*).
    if (size)
        *size = qint64(st.st_size);
    return fd;
}

int openRegularFile(const QString& path, std::string& reason, qint64* size)
{
    const QByteArray name = QFile::encodeName(path);
    return openRegularFile(std::string(name.constData(), size_t(name.size())), reason, size);
}

std::optional<QByteArray> readRegularFile(const std::string& path, qsizetype maxBytes)
{
    std::string reason;
    qint64 size = 0;
    const int fd = openRegularFile(path, reason, &size);
    if (fd < 0)
        return std::nullopt;
    if (size > maxBytes) {
        ::close(fd);
        return std::nullopt;
    }
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    ::close(fd);
    bytes.truncate(got);
    return bytes;
}

}  // namespace platform
