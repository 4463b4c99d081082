#include "common/AtomicFile.h"

#include "common/RegularFile.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

} // namespace

AtomicFile::AtomicFile(const QString &path, const QString &tempPath) : m_path(path), m_tempPath(tempPath)
{
    if (m_tempPath.isEmpty())
        m_save = std::make_unique<QSaveFile>(path);
    else
        m_temp = std::make_unique<QFile>(tempPath);
}

AtomicFile::~AtomicFile()
{
    if (!m_done && device()->isOpen())
        cancel();
}

QFileDevice *AtomicFile::device() const
{
    if (m_save)
        return m_save.get();
    return m_temp.get();
}

bool AtomicFile::fail(const QString &why)
{
    if (!m_failed) {
        m_failed = true;
        m_error = why.isEmpty() ? QStringLiteral("Unknown error") : why;
    }
    return false;
}

bool AtomicFile::open()
{
    m_failed = false;
    m_done = false;
    m_error.clear();
    // Only a regular file is replaced: what stands for a FIFO or a device
    // (a link to /dev/null) is left alone.
    struct stat st {};
    if (::stat(QFile::encodeName(m_path).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return fail(S_ISDIR(st.st_mode) ? systemError(EISDIR) : RegularFile::notRegularText());
    if (m_save) {
        if (!m_save->open(QIODevice::WriteOnly))
            return fail(m_save->errorString());
        return true;
    }
    // A named temporary file is one a FIFO may stand in for: never wait on it.
    QString why;
    const int fd = RegularFile::open(m_tempPath, O_WRONLY | O_CREAT | O_TRUNC, &why);
    if (fd < 0)
        return fail(why);
    if (!m_temp->open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(m_temp->errorString());
    }
    return true;
}

void AtomicFile::setPermissions(QFileDevice::Permissions permissions)
{
    if (!device()->setPermissions(permissions) && !m_failed)
        fail(device()->errorString());
}

bool AtomicFile::write(const QByteArray &bytes)
{
    if (m_failed || !device()->isOpen())
        return fail(QStringLiteral("The file is not open"));
    // Straight to the descriptor: a write that stops part-way (a full disk)
    // is followed by one that fails, and errno then holds the reason, which
    // Qt's buffered writes lose ("Unknown error").
    if (const int err = RegularFile::writeAll(device()->handle(), bytes))
        return fail(systemError(err));
    return true;
}

bool AtomicFile::commit()
{
    if (m_done)
        return !m_failed;
    if (!device()->isOpen())
        return fail(QStringLiteral("The file is not open"));
    // Every byte must be on the disk before the rename.
    if (!m_failed && ::fsync(device()->handle()) != 0 && errno != EINVAL)
        fail(systemError(errno));
    if (m_failed) {
        cancel();
        return false;
    }
    m_done = true;
    if (m_save) {
        if (!m_save->commit())
            return fail(m_save->errorString());
        return true;
    }
    m_temp->close();
    if (m_temp->error() != QFileDevice::NoError) {
        fail(m_temp->errorString());
        QFile::remove(m_tempPath);
        return false;
    }
    if (std::rename(QFile::encodeName(m_tempPath).constData(), QFile::encodeName(m_path).constData()) != 0) {
        fail(systemError(errno));
        QFile::remove(m_tempPath);
        return false;
    }
    return true;
}

void AtomicFile::cancel()
{
    m_done = true;
    if (m_save) {
        if (m_save->isOpen()) {
            // A cancelled save removes its temporary file in commit().
            m_save->cancelWriting();
            m_save->commit();
        }
        return;
    }
    if (m_temp->isOpen())
        m_temp->close();
    QFile::remove(m_tempPath);
}

bool AtomicFile::writeFile(const QString &path, const QByteArray &bytes, QString *error,
                           QFileDevice::Permissions permissions)
{
    AtomicFile file(path);
    bool ok = file.open();
    if (ok && permissions)
        file.setPermissions(permissions);
    ok = ok && file.write(bytes) && file.commit();
    if (!ok && error)
        *error = file.errorString();
    return ok;
}
