// Rewrites and appends on a disk that fills up: the old file stays whole, a
// log line lands whole or not at all, and the failure carries the system's
// own reason. Run on a full tmpfs (where it can be mounted) and under a file
// size limit.
#include "FullDisk.h"
#include "common/AppendFile.h"
#include "common/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace {

struct FullDiskWrites : ::testing::TestWithParam<FullDisk::Kind> {
    FullDisk disk{GetParam()};

    void SetUp() override
    {
        if (!disk.whyNot().empty())
            GTEST_SKIP() << disk.whyNot();
    }
    // What the system says when the disk (or the size limit) is reached.
    QString fullText() const
    {
        return QString::fromLocal8Bit(std::strerror(GetParam() == FullDisk::Kind::Tmpfs ? ENOSPC : EFBIG));
    }
};

QByteArray bytesOf(qsizetype n, char c = 'x') { return QByteArray(n, c); }

} // namespace

TEST_P(FullDiskWrites, ARewriteThatDoesNotFitLeavesTheOldFileAndNoTemporaryFile)
{
    const QByteArray old = "[System]\r\nConf=1\r\n";
    struct Case {
        const char *what;
        qsizetype size;
        bool ownTemp; // through a named temporary file instead of a unique one
    };
    // Smaller than the write buffer is the case a buffered save got wrong.
    const Case cases[] = {
        {"small, unique temporary", 300, false},
        {"larger than the buffer, unique temporary", 100 * 1024, false},
        {"small, named temporary", 300, true},
        {"larger than the buffer, named temporary", 100 * 1024, true},
    };
    const QString target = disk.path(QStringLiteral("target.ini"));
    testsupport::writeAll(target, old);
    disk.fill();
    for (const Case &c : cases) {
        AtomicFile file(target, c.ownTemp ? disk.path(QStringLiteral("target.tmp")) : QString());
        ASSERT_TRUE(file.open()) << c.what << ": " << file.errorString().toStdString();
        file.write(bytesOf(c.size));
        EXPECT_FALSE(file.commit()) << c.what;
        EXPECT_EQ(file.errorString(), fullText()) << c.what;
        EXPECT_EQ(testsupport::readAll(target), old) << c.what;
        EXPECT_EQ(disk.files(), QStringList{QStringLiteral("target.ini")}) << c.what;

        QString error;
        EXPECT_FALSE(AtomicFile::writeFile(target, bytesOf(c.size), &error)) << c.what;
        EXPECT_EQ(error, fullText()) << c.what;
        EXPECT_EQ(testsupport::readAll(target), old) << c.what;
    }
    disk.makeRoom();
    QString error;
    EXPECT_TRUE(AtomicFile::writeFile(target, "new", &error)) << error.toStdString();
    EXPECT_EQ(testsupport::readAll(target), "new");
}

TEST_P(FullDiskWrites, ALineIsAppendedWholeOrNotAtAll)
{
    // Ten bytes of room at the end of the log's last page.
    const QString log = disk.path(QStringLiteral("line.txt"));
    const QByteArray old = bytesOf(FullDisk::pageSize() - 12) + "\r\n";
    testsupport::writeAll(log, old);
    disk.fill(log, 10);

    const QByteArray line = "Sun 06 Dec 2026  08:47:39\tRx-Noise=6.5\r\n";
    QString error;
    EXPECT_FALSE(AppendFile::append(log, line, &error));
    EXPECT_EQ(error, fullText());
    EXPECT_EQ(testsupport::readAll(log), old) << "the part that fitted is cut off again";

    // What fits is written.
    EXPECT_TRUE(AppendFile::append(log, "short\r\n", &error)) << error.toStdString();
    EXPECT_EQ(testsupport::readAll(log), old + "short\r\n");

    disk.makeRoom();
    EXPECT_TRUE(AppendFile::append(log, line, &error)) << error.toStdString();
    EXPECT_EQ(testsupport::readAll(log), old + "short\r\n" + line) << "the next line starts a line of its own";
}

TEST_P(FullDiskWrites, AnAppendThatCreatesNothingLeavesNoFile)
{
    disk.fill();
    QString error;
    EXPECT_FALSE(AppendFile::append(disk.path(QStringLiteral("alarms.txt")), "a line\r\n", &error));
    EXPECT_EQ(error, fullText());
    EXPECT_TRUE(disk.files().isEmpty()) << disk.files().join(QLatin1Char(' ')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Disk, FullDiskWrites, FULL_DISK_KINDS, FullDiskKindName);

TEST(AppendFile, CreatesAMissingFileAndAppendsToAnExistingOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    QString error;
    ASSERT_TRUE(AppendFile::append(path, "one\r\n", &error)) << error.toStdString();
    ASSERT_TRUE(AppendFile::append(path, "two\r\n", &error)) << error.toStdString();
    EXPECT_EQ(testsupport::readAll(path), "one\r\ntwo\r\n");
    EXPECT_FALSE(AppendFile::append(dir.path(), "x", &error)) << "a folder is not a log";
    EXPECT_FALSE(error.isEmpty());
}
