// The blocked-address file: lookups, appends and the atomic removal.
#include "FullDisk.h"
#include "TestSupport.h"
#include "webserver/BlockedList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct BlockedListTest : ::testing::Test {
    QTemporaryDir dir;
    QString file() const { return dir.path() + QStringLiteral("/blocked.txt"); }
    QByteArray contents() const { return testsupport::readAll(file()); }
};

} // namespace

TEST_F(BlockedListTest, MissingFileListsNobody)
{
    EXPECT_EQ(BlockedList().check(file(), QStringLiteral("10.0.0.1")), BlockedList::Check::NotListed);
}

TEST_F(BlockedListTest, AppendCreatesThenAddsLinesEvenTwice)
{
    QString error;
    ASSERT_TRUE(BlockedList::append(file(), QStringLiteral("10.0.0.1"), &error)) << error.toStdString();
    ASSERT_TRUE(BlockedList::append(file(), QStringLiteral("10.0.0.2"), &error));
    ASSERT_TRUE(BlockedList::append(file(), QStringLiteral("10.0.0.1"), &error));
    EXPECT_EQ(contents(), QByteArray("10.0.0.1\n10.0.0.2\n10.0.0.1\n"));
    EXPECT_EQ(BlockedList().check(file(), QStringLiteral("10.0.0.2")), BlockedList::Check::Listed);
}

TEST_F(BlockedListTest, AppendAfterAnUnterminatedLastLineStartsANewLine)
{
    testsupport::writeAll(file(), "10.0.0.1");
    QString error;
    ASSERT_TRUE(BlockedList::append(file(), QStringLiteral("10.0.0.2"), &error));
    EXPECT_EQ(contents(), QByteArray("10.0.0.1\n10.0.0.2\n"));
    EXPECT_EQ(BlockedList().check(file(), QStringLiteral("10.0.0.1")), BlockedList::Check::Listed);
}

TEST_F(BlockedListTest, RemoveDropsEveryCopyAndKeepsTheRestByteForByte)
{
    testsupport::writeAll(file(), "10.0.0.1\r\n10.0.0.2\n10.0.0.1\n 10.0.0.1\n10.0.0.3");
    QString error;
    ASSERT_TRUE(BlockedList::remove(file(), QStringLiteral("10.0.0.1"), &error)) << error.toStdString();
    EXPECT_EQ(contents(), QByteArray("10.0.0.2\n 10.0.0.1\n10.0.0.3"));
    EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/blocked.tmp")));
}

TEST_F(BlockedListTest, RemoveReplacesTheFileInOneStep)
{
    // A reader holding the old file keeps reading the old list; the name
    // always names a complete list.
    testsupport::writeAll(file(), "10.0.0.1\n10.0.0.2\n");
    struct stat before {};
    ::stat(QFile::encodeName(file()).constData(), &before);
    QString error;
    ASSERT_TRUE(BlockedList::remove(file(), QStringLiteral("10.0.0.2"), &error));
    struct stat after {};
    ::stat(QFile::encodeName(file()).constData(), &after);
    EXPECT_NE(before.st_ino, after.st_ino);
    EXPECT_EQ(contents(), QByteArray("10.0.0.1\n"));
}

TEST_F(BlockedListTest, RemoveWithoutAFileReportsAndWritesNothing)
{
    QString error;
    EXPECT_FALSE(BlockedList::remove(file(), QStringLiteral("10.0.0.1"), &error));
    EXPECT_TRUE(error.contains(file())) << error.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 0);
}

TEST_F(BlockedListTest, AppendIntoAMissingFolderReports)
{
    QString error;
    EXPECT_FALSE(BlockedList::append(dir.path() + QStringLiteral("/gone/blocked.txt"), QStringLiteral("10.0.0.1"), &error));
    EXPECT_FALSE(error.isEmpty());
}

// Removal on a full disk keeps the list as it was and leaves no "blocked.tmp".
struct BlockedListOnAFullDisk : ::testing::TestWithParam<FullDisk::Kind> {};

TEST_P(BlockedListOnAFullDisk, RemovalThatCannotBeWrittenKeepsTheList)
{
    FullDisk disk(GetParam());
    if (!disk.whyNot().empty())
        GTEST_SKIP() << disk.whyNot();
    const QString file = disk.path(BlockedList::fileName());
    const QByteArray before = "10.0.0.1\n10.0.0.2\n";
    testsupport::writeAll(file, before);
    disk.fill();
    QString error;
    EXPECT_FALSE(BlockedList::remove(file, QStringLiteral("10.0.0.1"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(testsupport::readAll(file), before);
    EXPECT_EQ(disk.files(), QStringList{BlockedList::fileName()});
    EXPECT_EQ(BlockedList().check(file, QStringLiteral("10.0.0.1")), BlockedList::Check::Listed);
}

INSTANTIATE_TEST_SUITE_P(Disk, BlockedListOnAFullDisk, FULL_DISK_KINDS, FullDiskKindName);
