#pragma once
// A folder on a disk that fills up, for the tests of saves and appended logs.
//
// Two ways, and every full-disk test runs with both where it can:
// - Tmpfs: a small tmpfs is mounted on the folder and filled with a filler
//   file, so writes fail with the real "No space left on device". Needs the
//   right to mount (root in CI); elsewhere those cases are skipped.
// - SizeLimit: the process's file size limit (RLIMIT_FSIZE) stops files
//   growing, so writes fail part-way with "File too large". Runs anywhere.
// Either way a write that crosses the edge is short, then the next fails.
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

class FullDisk {
public:
    enum class Kind { Tmpfs, SizeLimit };

    explicit FullDisk(Kind kind) : m_kind(kind)
    {
        if (kind == Kind::Tmpfs) {
            if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                        "size=512k,mode=0700")
                != 0)
                m_whyNot = std::string("cannot mount a tmpfs here (") + std::strerror(errno)
                           + "); the file-size-limit cases cover the same paths";
            else
                m_mounted = true;
        }
    }
    ~FullDisk()
    {
        restoreLimit();
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    // Empty when usable; else why not, for GTEST_SKIP.
    const std::string &whyNot() const { return m_whyNot; }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString dir() const { return m_dir.path(); }
    static const char *kindName(Kind k) { return k == Kind::Tmpfs ? "Tmpfs" : "SizeLimit"; }

    // Existing files keep what they hold; from now on no file grows beyond
    // the end of the page it ends in (tmpfs), or any file beyond `room` bytes
    // more than `growing` holds now (size limit). A new file gets nothing
    // with either when room is 0. Give `growing` a size of a page minus
    // `room` for it to take exactly `room` more bytes with both.
    void fill(const QString &growing = QString(), qint64 room = 0)
    {
        if (m_kind == Kind::Tmpfs) {
            const int fd = ::open(QFile::encodeName(path(QStringLiteral("filler"))).constData(),
                                  O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
            static const char block[4096] = {};
            while (fd >= 0 && ::write(fd, block, sizeof block) > 0) {
            }
            if (fd >= 0)
                ::close(fd);
            return;
        }
        const qint64 base = growing.isEmpty() ? 0 : QFileInfo(growing).size();
        ::getrlimit(RLIMIT_FSIZE, &m_savedLimit);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_savedLimit;
        limit.rlim_cur = rlim_t(base + room);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        m_limited = true;
    }

    // Full but for `room` bytes (whole pages on a tmpfs: a multiple of pageSize()) that a new
    // file may take: a write that crosses them stops part-way.
    void fillLeaving(qint64 room)
    {
        if (m_kind == Kind::SizeLimit) {
            fill(QString(), room);
            return;
        }
        fill();
        const QString filler = path(QStringLiteral("filler"));
        QFile::resize(filler, qMax<qint64>(0, QFileInfo(filler).size() - room));
    }

    // Room again, as after the user cleared the disk.
    void makeRoom()
    {
        QFile::remove(path(QStringLiteral("filler")));
        restoreLimit();
    }

    static qint64 pageSize() { return ::sysconf(_SC_PAGESIZE); }

    // Files in the folder other than the filler.
    QStringList files() const
    {
        QStringList names = QDir(dir()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        names.removeAll(QStringLiteral("filler"));
        return names;
    }

private:
    void restoreLimit()
    {
        if (!m_limited)
            return;
        ::setrlimit(RLIMIT_FSIZE, &m_savedLimit);
        std::signal(SIGXFSZ, m_oldHandler);
        m_limited = false;
    }

    Kind m_kind;
    QTemporaryDir m_dir;
    bool m_mounted = false;
    bool m_limited = false;
    rlimit m_savedLimit {};
    void (*m_oldHandler)(int) = SIG_DFL;
    std::string m_whyNot;
};

// For INSTANTIATE_TEST_SUITE_P(..., FULL_DISK_KINDS, FullDiskKindName).
#define FULL_DISK_KINDS ::testing::Values(FullDisk::Kind::Tmpfs, FullDisk::Kind::SizeLimit)
inline std::string FullDiskKindName(const ::testing::TestParamInfo<FullDisk::Kind> &info)
{
    return FullDisk::kindName(info.param);
}
