// Captured image clean-up: only old images of the current type, directly in
// the capture folder, go; everything else stays.
#include "notify/ImageCleanup.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QDateTime kNow(QDate(2026, 3, 10), QTime(12, 0));

struct ImageCleanupTest : ::testing::Test {
    QTemporaryDir dir, outside;
    TSettings s;
    QStringList recycled;

    void SetUp() override
    {
        SettingsEnvironment env;
        env.settingsPath = QStringLiteral("/nonexistent/veltrano.ini");
        env.now = kNow;
        s = settingsstore::load(env).settings;
        s.Capture.Folder = dir.path();
        s.Capture.DeleteDays = 5;
        s.System.ShowSystem = true;
        s.Capture.ListPurged = true;
    }
    QString make(const QString &folder, const QString &name, const QDateTime &written)
    {
        const QString p = folder + QLatin1Char('/') + name;
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        f.flush();
        f.setFileTime(written, QFileDevice::FileModificationTime);
        f.close();
        return p;
    }
    ImageCleanupResult run(const QString &settingsPath = {})
    {
        return ImageCleanup::DeleteFiles(s, kNow, settingsPath, [this](const QString &p) {
            recycled << p;
            return QFile::remove(p);
        });
    }
};

TEST_F(ImageCleanupTest, RemovesOnlyOldImagesOfTheFolder)
{
    const QDateTime old = kNow.addDays(-5).addSecs(-60);
    const QString oldJpg = make(dir.path(), "RxNoise-old.jpg", old);
    const QString oldUpper = make(dir.path(), "Sync.JPG", old);
    const QString newJpg = make(dir.path(), "RxNoise-new.jpg", kNow.addDays(-4));
    const QString oldTxt = make(dir.path(), "notes.txt", old);
    const QString oldPng = make(dir.path(), "other.png", old);
    const QString target = make(outside.path(), "precious.jpg", old);
    QFile::link(target, dir.path() + "/link.jpg");
    QDir(dir.path()).mkdir("sub.jpg");
    const QString nested = make(dir.path() + "/sub.jpg", "inner.jpg", old);
    const QString ini = make(dir.path(), "veltrano.jpg", old);

    s.Capture.Recycle = false;
    const auto r = run(ini);
    EXPECT_FALSE(QFile::exists(oldJpg));
    EXPECT_FALSE(QFile::exists(oldUpper));
    for (const QString &kept : {newJpg, oldTxt, oldPng, target, nested, ini, dir.path() + "/link.jpg"})
        EXPECT_TRUE(QFileInfo(kept).exists()) << kept.toStdString();
    EXPECT_TRUE(recycled.isEmpty());
    EXPECT_EQ(r.removed, 2);
    EXPECT_EQ(r.messages.first(), "Starting captured image maintenance...");
    EXPECT_EQ(r.messages.last(), "Deleted 2 captured images.");
    EXPECT_TRUE(r.messages.contains("Deleted file: " + oldJpg));
}

TEST_F(ImageCleanupTest, RecycleOrDeleteAndTheListing)
{
    struct Row { bool recycle, list; int recycledCalls; const char *last; int messageCount; };
    const Row rows[] = {
        {true, true, 1, "Recycled 1 captured images.", 3},
        {true, false, 1, "Recycled 1 captured images.", 2},
        {false, true, 0, "Deleted 1 captured images.", 3},
    };
    for (const auto &row : rows) {
        recycled.clear();
        const QString p = make(dir.path(), "a.jpg", kNow.addDays(-6));
        s.Capture.Recycle = row.recycle;
        s.Capture.ListPurged = row.list;
        const auto r = run();
        EXPECT_FALSE(QFile::exists(p));
        EXPECT_EQ(recycled.size(), row.recycledCalls);
        EXPECT_EQ(r.messages.last(), row.last);
        EXPECT_EQ(r.messages.size(), row.messageCount);
        if (row.recycle && row.list) {
            EXPECT_EQ(r.messages.at(1), "Recycled file: " + p);
        }
    }
}

TEST_F(ImageCleanupTest, FormatSwitchAndFailuresAndMissingFolder)
{
    const QString jpg = make(dir.path(), "a.jpg", kNow.addDays(-9));
    const QString png = make(dir.path(), "b.png", kNow.addDays(-9));
    s.Capture.IsPNG = true; // png is the last that applies
    s.Capture.Recycle = true;
    auto r = ImageCleanup::DeleteFiles(s, kNow, {}, [](const QString &) { return false; });
    EXPECT_TRUE(QFile::exists(jpg));
    EXPECT_TRUE(QFile::exists(png));
    EXPECT_EQ(r.removed, 0); // a failed removal is not counted as done
    EXPECT_EQ(r.messages.last(), "Recycled 0 captured images.");
    EXPECT_TRUE(r.messages.contains("Could not recycle file: " + png));

    for (const QString &folder : {QString(), dir.path() + "/missing"}) {
        s.Capture.Folder = folder;
        s.Capture.Recycle = false;
        r = run();
        EXPECT_EQ(r.messages, QStringList({"Starting captured image maintenance...", "Deleted 0 captured images."}));
    }
    EXPECT_TRUE(QFile::exists(png));
}

} // namespace

TEST(ImageCleanupRecycle, GoesToTheUsersTrashEvenBeforeItsFolderExists)
{
    // Without the data folder the trash must not be made in the current folder.
    QTemporaryDir home;
    const QString data = home.filePath(QStringLiteral("data"));
    qputenv("XDG_DATA_HOME", data.toUtf8());
    const QString file = home.filePath(QStringLiteral("old.jpg"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_TRUE(ImageCleanup::RecycleFile(file));
    qunsetenv("XDG_DATA_HOME");
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(QFile::exists(data + QStringLiteral("/Trash/files/old.jpg")));
    EXPECT_FALSE(QFile::exists(QDir::current().filePath(QStringLiteral("files/old.jpg"))));
}
