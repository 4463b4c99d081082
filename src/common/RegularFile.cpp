#include "common/RegularFile.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int failWith(const QString &why, QString *error)
{
    if (error)
        *error = why;
    return -1;
}

QString systemError(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

} // namespace

int RegularFile::open(const QString &path, int flags, QString *error, bool *missing, mode_t mode)
{
    if (missing)
        *missing = false;
    const QByteArray name = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(name.constData(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int err = errno;
        if (missing)
            *missing = err == ENOENT;
        // A FIFO without a reader, or a socket, refuses a non-blocking writer.
        return failWith(err == ENXIO ? notRegularText() : systemError(err), error);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return failWith(systemError(err), error);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return failWith(S_ISDIR(st.st_mode) ? systemError(EISDIR) : notRegularText(), error);
    }
    // A regular file never blocks; the flag goes so later calls behave as usual.
    const int fl = ::fcntl(fd, F_GETFL);
    if (fl >= 0)
        (void)::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
    return fd;
}

bool RegularFile::readAll(const QString &path, qint64 maxBytes, QByteArray *bytes, QString *error, bool *missing)
{
    bytes->clear();
    const int fd = open(path, O_RDONLY, error, missing);
    if (fd < 0)
        return false;
    // The size may change while it is read: the bound counts what is read.
    QByteArray data;
    char block[16384];
    int err = 0;
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            err = errno;
            break;
        }
        if (n == 0)
            break;
        if (data.size() > maxBytes - n) {
            err = EFBIG;
            break;
        }
        data.append(block, n);
    }
    ::close(fd);
    if (err != 0) {
        failWith(systemError(err), error);
        return false;
    }
    *bytes = std::move(data);
    return true;
}

int RegularFile::writeAll(int fd, const QByteArray &bytes, qsizetype *written)
{
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
    if (written)
        *written = done;
    return err;
}
