#include "common/NewFile.h"

#include "common/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

// The temporary file, created (never opened) beside the target: a hidden
// name ending in ".tmp", which no image list, clean-up or web request takes.
int createTemporary(const QString &like, QByteArray *path, QString *error)
{
    const QFileInfo info(like);
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString name = QStringLiteral(".%1.%2.tmp")
                                 .arg(info.fileName())
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        *path = QFile::encodeName(info.dir().filePath(name));
        const int fd = ::open(path->constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST) {
            *error = systemError(errno);
            return -1;
        }
    }
    *error = systemError(EEXIST);
    return -1;
}

bool writeAll(int fd, const QByteArray &bytes, QString *error)
{
    if (const int err = RegularFile::writeAll(fd, bytes)) {
        *error = systemError(err);
        return false;
    }
    // Every byte on the disk before the file takes its name.
    if (::fsync(fd) != 0 && errno != EINVAL) {
        *error = systemError(errno);
        return false;
    }
    return true;
}

// Gives the temporary file the name unless a file holds it. 0, EEXIST or the failure.
int takeName(const QByteArray &temp, const QByteArray &target)
{
    if (::renameat2(AT_FDCWD, temp.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return errno;
    // A file system without that rename: a hard link is made only under a free name.
    if (::link(temp.constData(), target.constData()) == 0) {
        ::unlink(temp.constData());
        return 0;
    }
    if (errno != EPERM && errno != ENOTSUP && errno != ENOSYS)
        return errno;
    // Neither (a FAT stick on an old kernel): look first, then rename.
    struct stat st {};
    if (::lstat(target.constData(), &st) == 0)
        return EEXIST;
    return std::rename(temp.constData(), target.constData()) == 0 ? 0 : errno;
}

} // namespace

QString NewFile::write(const QByteArray &bytes, const std::function<QString(int)> &candidate, int first, int last,
                       int *taken, QString *error)
{
    QString why;
    QByteArray temp;
    const int fd = createTemporary(candidate(first), &temp, &why);
    if (fd < 0) {
        if (error)
            *error = why;
        return {};
    }
    const bool written = writeAll(fd, bytes, &why);
    if (::close(fd) != 0 && written)
        why = systemError(errno);
    QString path;
    if (written && why.isEmpty()) {
        for (int i = first; i <= last; ++i) {
            const QString name = candidate(i);
            const int err = takeName(temp, QFile::encodeName(name));
            if (err == 0) {
                path = name;
                if (taken)
                    *taken = i;
                break;
            }
            if (err != EEXIST) {
                why = systemError(err);
                break;
            }
        }
        if (path.isEmpty() && why.isEmpty())
            why = QStringLiteral("Every name up to %1 is taken").arg(QFileInfo(candidate(last)).fileName());
    }
    if (path.isEmpty()) {
        ::unlink(temp.constData());
        if (error)
            *error = why;
    }
    return path;
}
