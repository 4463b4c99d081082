#include "common/AppendFile.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool failWith(int err, QString *error)
{
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(err));
    return false;
}

} // namespace

bool AppendFile::append(const QString &path, const QByteArray &bytes, QString *error)
{
    const QByteArray name = QFile::encodeName(path);
    bool created = false;
    int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CLOEXEC | O_CREAT | O_EXCL, 0666);
        created = fd >= 0;
    }
    if (fd < 0)
        return failWith(errno, error);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return failWith(err, error);
    }
    const off_t before = st.st_size;

    // A short write is followed by another: that one gives the reason.
    qsizetype done = 0;
    int err = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            err = n < 0 ? errno : EIO;
            break;
        }
        done += n;
    }
    if (err != 0) {
        if (done > 0 && S_ISREG(st.st_mode))
            (void)::ftruncate(fd, before);
        ::close(fd);
        if (created)
            ::unlink(name.constData());
        return failWith(err, error);
    }
    if (::close(fd) != 0)
        return failWith(errno, error);
    return true;
}
