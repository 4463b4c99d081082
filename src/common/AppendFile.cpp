#include "common/AppendFile.h"

#include "common/RegularFile.h"

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
    // Only a regular file is appended to: a FIFO at the path would hold the
    // window thread in open() or write() for good.
    bool created = false;
    bool missing = false;
    int fd = RegularFile::open(path, O_WRONLY | O_APPEND, error, &missing);
    if (fd < 0 && missing) {
        fd = RegularFile::open(path, O_WRONLY | O_APPEND | O_CREAT | O_EXCL, error);
        created = fd >= 0;
    }
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return failWith(err, error);
    }
    const off_t before = st.st_size;

    // A short write is followed by another: that one gives the reason.
    qsizetype done = 0;
    const int err = RegularFile::writeAll(fd, bytes, &done);
    if (err != 0) {
        if (done > 0)
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
