// The settings file as a whole: layout of a new file, defaults, the values
// that need care on the way in and out, and what a save must never do.
#include "FullDisk.h"
#include "SettingsTestEnv.h"
#include "settings/ColourNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray golden(const QString &name)
{
    return testsupport::readAll(qEnvironmentVariable("VELTRANO_TEST_DATA") + QStringLiteral("/settings/") + name);
}

// Section headers and the number of keys under each, in file order.
std::vector<std::pair<QByteArray, int>> layoutOf(const QByteArray &file)
{
    std::vector<std::pair<QByteArray, int>> out;
    for (const QByteArray &line : file.split('\n')) {
        if (line.startsWith('['))
            out.emplace_back(line, 0);
        else if (line.contains('=') && !out.empty())
            ++out.back().second;
    }
    return out;
}

} // namespace

TEST(SettingsFile, NewFileHasEverySectionInOrderWithItsKeys)
{
    SettingsTestEnv t;
    auto loaded = t.load();
    EXPECT_TRUE(loaded.problems.isEmpty()) << loaded.problems.join('\n').toStdString();
    ASSERT_TRUE(t.save(loaded.settings).ok);

    const std::vector<std::pair<QByteArray, int>> expected = {
        {"[Search]", 14}, {"[UpTime]", 2},  {"[Router]", 16},       {"[Graph]", 121},  {"[Capture]", 46},
        {"[IPAddress]", 3}, {"[Telnet]", 99}, {"[System]", 74},     {"[Alarm]", 42},   {"[CaptureTelnet]", 2},
        {"[Log]", 20},     {"[Email]", 25},  {"[RouterLog]", 8},    {"[Auth]", 1},     {"[WebServer]", 17},
        {"[Bias]", 1},     {"[Ping]", 15},   {"[585Telnet]", 18},
    };
    EXPECT_EQ(layoutOf(t.read()), expected);
}

TEST(SettingsFile, NewFileMatchesTheGoldenDefaults)
{
    SettingsTestEnv t;
    ASSERT_TRUE(t.save(t.load().settings).ok);
    QByteArray written = t.read();
    written.replace(t.dir.path().toUtf8(), "@DIR@");
    const QByteArray expected = golden(QStringLiteral("fresh-defaults.ini"));
    ASSERT_FALSE(expected.isEmpty());
    // Compare line by line so a failure names the first differing key.
    const auto got = written.split('\n'), want = expected.split('\n');
    for (qsizetype i = 0; i < qMin(got.size(), want.size()); ++i)
        ASSERT_EQ(got[i].toStdString(), want[i].toStdString()) << "line " << i + 1;
    EXPECT_EQ(got.size(), want.size());
}

TEST(SettingsFile, SavingWhatWasLoadedIsByteIdentical)
{
    SettingsTestEnv t;
    t.write("[Graph]\r\nUserLabel=Caf\xE9 line\r\nNoiseColour=$00123456\r\n[Search]\r\nNoiseText=a%\xA3%%$%b\r\n");
    ASSERT_TRUE(t.save(t.load().settings).ok);
    const QByteArray first = t.read();
    ASSERT_TRUE(t.save(t.load().settings).ok);
    EXPECT_EQ(t.read(), first);
}

TEST(SettingsFile, PasswordsAreScrambledAndUnrememberedOnesWrittenEmpty)
{
    SettingsTestEnv t;
    TSettings s = t.load().settings;
    s.Router.Password = QStringLiteral("abc");
    s.Email.Pass = QStringLiteral("secret");
    s.Email.Rempass = false; // not remembered
    s.WebServer.WebPassword = QString();
    ASSERT_TRUE(t.save(s).ok);

    EXPECT_EQ(t.fileValue("Router", "Password"), QByteArray("\x9E\x9D\x9C"));
    EXPECT_EQ(t.fileValue("Email", "Pass"), QByteArray(""));
    EXPECT_EQ(t.fileValue("WebServer", "WebPassword"), QByteArray(""));
    // The session keeps the password it was given.
    EXPECT_EQ(s.Email.Pass, QStringLiteral("secret"));

    const TSettings back = t.load().settings;
    EXPECT_EQ(back.Router.Password, QStringLiteral("abc"));
    EXPECT_EQ(back.Email.Pass, QString());
}

TEST(SettingsFile, PasswordsTheFileCannotHoldAreNotStoredAndSaid)
{
    SettingsTestEnv t;
    TSettings s = t.load().settings;
    // 0xF2 scrambles to CR, 0xDF at an end scrambles to a blank that readers trim.
    s.Router.Password = QString::fromLatin1("ab\xF2" "c");
    s.WebServer.WebPassword = QString::fromLatin1("x\xDF");
    s.Email.Pass = QString::fromLatin1("\xDFmiddle\xDF" "ok");
    s.Email.Rempass = true;
    const auto result = t.save(s);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.warnings.size(), 3);
    EXPECT_EQ(t.fileValue("Router", "Password"), QByteArray(""));
    EXPECT_EQ(t.fileValue("WebServer", "WebPassword"), QByteArray(""));
    EXPECT_EQ(s.Router.Password, QString::fromLatin1("ab\xF2" "c"));
}

TEST(SettingsFile, SearchTextsAreEscapedInTheFileOnly)
{
    SettingsTestEnv t;
    TSettings s = t.load().settings;
    s.Search.NoiseText = QStringLiteral("first\r\nsecond");
    s.UpTime.UpTimeText = QStringLiteral("up\r\ntime"); // not an escaped key: one line kept
    ASSERT_TRUE(t.save(s).ok);

    EXPECT_EQ(t.fileValue("Search", "NoiseText"), QByteArray("first%\xA3%%$%second"));
    EXPECT_EQ(t.fileValue("UpTime", "UpTimeText"), QByteArray("up"));
    // The search texts in use stay as they were: the next poll still finds its label.
    EXPECT_EQ(s.Search.NoiseText, QStringLiteral("first\r\nsecond"));
    EXPECT_EQ(t.load().settings.Search.NoiseText, QStringLiteral("first\r\nsecond"));

    // A file saved by a UTF-8 editor carries the pound sign as two bytes.
    t.write("[Search]\nSyncText=a%\xC2\xA3%%$%b%$%c\n");
    EXPECT_EQ(t.load().settings.Search.SyncText, QStringLiteral("a\r\nb\nc"));
}

TEST(SettingsFile, TolerantReadsFallBackOrClampAndSaySo)
{
    SettingsTestEnv t;
    t.write("[System]\n"
            "Sample=abc\n"
            "Points=5\n"
            "AutoStartDelay=$10\n"
            "SystemMessages=5\n"
            "StayOnTop=yes\n"
            "CSV=\n"
            "[Graph]\n"
            "NoiseColour=clPink\n"
            "NoiseMax=500\n"
            "[Email]\n"
            "Port=twenty-five\n"
            "DailyTime=18:30:00\n"
            "[Log]\n"
            "TrimTime=\n"
            "[WebServer]\n"
            "Port=99999\n"
            "[Capture]\n"
            "DeleteTime=25:99\n"
            "[Telnet]\n"
            "SFCounter=16,5\n"
            "ResetIncAt= 23:59 \n");
    const auto loaded = t.load();
    const TSettings &s = loaded.settings;
    EXPECT_EQ(s.System.Sample, 20);
    EXPECT_EQ(s.System.Points, 50);
    EXPECT_EQ(s.System.AutoStartDelay, 16);
    EXPECT_TRUE(s.System.SystemMessages);
    EXPECT_FALSE(s.System.StayOnTop);
    EXPECT_FALSE(s.System.CSV);
    EXPECT_EQ(s.Graph.NoiseColour, 0x800000u);
    EXPECT_EQ(s.Graph.NoiseMax, 100);
    EXPECT_EQ(s.Email.Port, QStringLiteral("25"));
    EXPECT_EQ(s.WebServer.Port, QStringLiteral("65535"));
    EXPECT_EQ(s.Capture.DeleteTime, QTime(8, 47, 39));
    EXPECT_DOUBLE_EQ(s.Telnet.SFCounter, 16.5);
    EXPECT_EQ(s.Email.DailyTime, QStringLiteral("08:47"));
    EXPECT_EQ(s.Log.TrimTime, QStringLiteral("08:47"));
    EXPECT_EQ(s.Telnet.ResetIncAt, QStringLiteral("23:59"));

    // One line per replaced or clamped value, naming the key; an empty value is no news.
    const QString all = loaded.problems.join('\n');
    for (const char *key : {"[System] Sample", "[System] Points", "[System] StayOnTop", "[Graph] NoiseColour",
                            "[Graph] NoiseMax", "[Email] Port", "[WebServer] Port", "[Capture] DeleteTime",
                            "[Email] DailyTime"})
        EXPECT_TRUE(all.contains(QLatin1String(key))) << key;
    EXPECT_FALSE(all.contains(QLatin1String("[System] CSV")));
    EXPECT_FALSE(all.contains(QLatin1String("[Log] TrimTime")));
    EXPECT_EQ(loaded.problems.size(), 9);
}

TEST(SettingsFile, UnknownKeysCommentsAndSpellingsSurviveASave)
{
    SettingsTestEnv t;
    t.write("; written by hand\n"
            "[graph]\n"
            "; my label\n"
            "USERLABEL=Mine\n"
            "FooBar=keep me\n"
            "[Extra]\n"
            "X=1\n"
            "[Telnet]\n"
            "ScrollHorizPos=7\n"
            "[WebServer]\n"
            "MaxUsers=3\n"
            "[Graph]\n"
            "NotANumber=1\n");
    const auto loaded = t.load();
    EXPECT_EQ(loaded.settings.Graph.UserLabel, QStringLiteral("Mine"));
    EXPECT_EQ(loaded.settings.WebServer.MaxUsers, 3);
    ASSERT_TRUE(t.save(loaded.settings).ok);

    const QByteArray file = t.read();
    for (const char *kept : {"; written by hand", "[graph]", "; my label", "USERLABEL=Mine", "FooBar=keep me", "[Extra]",
                             "X=1", "ScrollHorizPos=7", "MaxUsers=3", "NotANumber=1"})
        EXPECT_TRUE(file.contains(kept)) << kept;
    // The second [Graph] stays where it was; only the first is read and written.
    EXPECT_TRUE(file.contains("\n[Graph]\nNotANumber=1\n\n")) << file.constData();
    EXPECT_FALSE(loaded.settings.Graph.NotANumber);
}

TEST(SettingsFile, KeysReadUnderOneSpellingAreWrittenUnderAnother)
{
    SettingsTestEnv t;
    ASSERT_TRUE(t.save(t.load().settings).ok);
    const QByteArray file = t.read();
    for (const char *written : {"Userlabel=User-def 1", "Userlabel2=User-def 2", "RemPass=0", "\nAlarmLog=0"})
        EXPECT_TRUE(file.contains(written)) << written;
    for (const char *never : {"UserLabel=", "Rempass=", "ALarmLog=", "NotANumber", "ScrollHorizPos", "MaxUsers"})
        EXPECT_FALSE(file.contains(never)) << never;

    t.write("[Graph]\nUserlabel=Noise floor\n[Email]\nREMPASS=1\n");
    const TSettings s = t.load().settings;
    EXPECT_EQ(s.Graph.UserLabel, QStringLiteral("Noise floor"));
    EXPECT_TRUE(s.Email.Rempass);
    EXPECT_EQ(s.Capture.UserFile, QStringLiteral("Noisefloor"));
}

// A log item string shorter than its 8 switches logs every item.
TEST(SettingsFile, ShortLogItemStringLogsEverything)
{
    const std::pair<const char *, const char *> cases[] = {
        {"0", "11111111"}, {"0000000", "11111111"}, {"00000000", "00000000"}, {"010000001", "010000001"}};
    for (const auto &[written, loaded] : cases) {
        SettingsTestEnv t;
        t.write(QByteArray("[Log]\nLog=") + written + "\n");
        EXPECT_EQ(t.load().settings.Log.Log, QLatin1String(loaded)) << written;
    }
}

TEST(SettingsFile, FlagStringsArePaddedAndTelnetFlagsRebuilt)
{
    SettingsTestEnv t;
    t.write("[Telnet]\nTelnetAuto=011\nTelnetWeb=1\n[Log]\nLog=111\n"
            "[CaptureTelnet]\nLogTelnet=101\nCaptureTelnet=00000000000000001\n");
    TSettings s = t.load().settings;
    EXPECT_EQ(s.Telnet.TelnetAuto, QStringLiteral("0111111111111111111111"));
    EXPECT_EQ(s.Telnet.TelnetWeb, QStringLiteral("1000000000000000000000"));
    EXPECT_EQ(s.Log.Log, QStringLiteral("11111111"));
    for (int i = 0; i < 17; ++i) {
        EXPECT_EQ(s.LogTelnetFlags[i], i == 0 || i == 2) << i;
        EXPECT_EQ(s.CaptureTelnetFlags[i], i == 16) << i;
    }

    s.LogTelnetFlags[5] = true;
    ASSERT_TRUE(t.save(s).ok);
    EXPECT_EQ(t.fileValue("CaptureTelnet", "LogTelnet"), QByteArray("10100100000000000"));
    EXPECT_EQ(t.fileValue("CaptureTelnet", "CaptureTelnet"), QByteArray("00000000000000001"));
}

TEST(SettingsFile, ColoursAreNamedWhenTheyCanBe)
{
    SettingsTestEnv t;
    t.write("[Graph]\nBorder=clbtnFace\nGapColour=$00A79F85\nUserBack=255\nAvgColour=-16777201\n"
            "[System]\nColour=0x00FF00\n");
    const TSettings s = t.load().settings;
    EXPECT_EQ(s.Graph.Border, colours::clBtnFace);
    EXPECT_EQ(s.Graph.AvgColour, colours::clBtnFace);
    ASSERT_TRUE(t.save(s).ok);
    EXPECT_EQ(t.fileValue("Graph", "Border"), QByteArray("clBtnFace"));
    EXPECT_EQ(t.fileValue("Graph", "GapColour"), QByteArray("$00A79F85"));
    EXPECT_EQ(t.fileValue("Graph", "UserBack"), QByteArray("clRed"));
    EXPECT_EQ(t.fileValue("Graph", "AvgColour"), QByteArray("clBtnFace"));
    EXPECT_EQ(t.fileValue("System", "Colour"), QByteArray("clLime"));
}

TEST(SettingsFile, ComputedDefaultsFollowTheEnvironmentAndEarlierKeys)
{
    SettingsTestEnv t;
    t.write("[Router]\nV5=1\nUsername=bob\n");
    const TSettings s = t.load(QLocale(QLocale::German, QLocale::Germany)).settings;
    EXPECT_TRUE(s.Router.V5Telnet);
    EXPECT_EQ(s.Telnet.TelnetUsername, QStringLiteral("bob"));
    EXPECT_TRUE(s.System.Regional);
    EXPECT_TRUE(s.System.IsDG834);
    EXPECT_EQ(s.System.T, 1080 / 2 - 230);
    EXPECT_EQ(s.System.L, 1920 / 2 - 325);
    EXPECT_EQ(s.Email.DailyTime, QStringLiteral("08:47"));
    EXPECT_EQ(s.System.LogFile, t.dir.filePath(QStringLiteral("veltrano.txt")));
    EXPECT_EQ(s.Capture.Folder, t.dir.path());

    // An explicit value wins over the computed default.
    t.write("[Router]\nV5=1\nV5Telnet=0\n");
    EXPECT_FALSE(t.load().settings.Router.V5Telnet);
}

TEST(SettingsFile, WebPageDefaultLowersOnlyTheFileName)
{
    SettingsTestEnv t;
    SettingsEnvironment e = t.env();
    e.settingsPath = t.dir.filePath(QStringLiteral("Sub Dir/VelTrano.ini"));
    EXPECT_EQ(settingsstore::load(e).settings.WebServer.Webpage, t.dir.filePath(QStringLiteral("Sub Dir/veltrano.htm")));
}

TEST(SettingsFile, FloatsUseTheLocaleDecimalSign)
{
    SettingsTestEnv t;
    const QLocale german(QLocale::German, QLocale::Germany);
    ASSERT_TRUE(t.save(t.load(german).settings, german).ok);
    EXPECT_EQ(t.fileValue("Telnet", "SFCounter"), QByteArray("16,168"));
    EXPECT_DOUBLE_EQ(t.load(german).settings.Telnet.SFCounter, 16.168);
    EXPECT_DOUBLE_EQ(t.load(QLocale::c()).settings.Telnet.SFCounter, 16.168);
}

TEST(SettingsFile, PingMaxIsWrittenFromTheSpinEditLast)
{
    SettingsTestEnv t;
    t.write("[Ping]\nMax=4000\n");
    TSettings s = t.load().settings;
    EXPECT_EQ(s.Ping.MaxAxis, 4000);
    EXPECT_EQ(s.Ping.Max, 3000);
    s.Ping.MaxAxis = 40;
    s.Ping.Max = 60;
    ASSERT_TRUE(t.save(s).ok);
    EXPECT_EQ(t.fileValue("Ping", "Max"), QByteArray("60"));
    EXPECT_EQ(t.read().count("\nMax="), 1);
}

TEST(SettingsFile, AReadOnlyFileIsLeftAsItIsAndTheSaveFails)
{
    SettingsTestEnv t;
    const QByteArray before = "[System]\nSample=30\n";
    t.write(before);
    QFile::setPermissions(t.path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    const auto result = t.save(t.load().settings);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(QLatin1String("read-only")));
    EXPECT_EQ(t.read(), before);
}

TEST(SettingsFile, AFolderThatCannotHoldTheFileFailsTheSave)
{
    SettingsTestEnv t;
    const QString notAFolder = t.dir.filePath(QStringLiteral("plain-file"));
    testsupport::writeAll(notAFolder, "x");
    const auto result = settingsstore::save(t.load().settings, notAFolder + QStringLiteral("/veltrano.ini"));
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
}

TEST(SettingsFile, AnUnreadableFileGivesDefaultsAndIsNotOverwritten)
{
    SettingsTestEnv t;
    QDir(t.dir.path()).mkdir(QStringLiteral("veltrano.ini")); // a folder where the file should be
    const auto loaded = t.load();
    EXPECT_FALSE(loaded.readError.isEmpty());
    EXPECT_EQ(loaded.settings.System.Sample, 20);
    EXPECT_FALSE(t.save(loaded.settings).ok);
}

TEST(SettingsFile, WhatIsNotARegularFileGivesDefaultsAtOnceAndIsNotOverwritten)
{
    for (const bool fifo : {true, false}) {
        SCOPED_TRACE(fifo ? "FIFO" : "link to /dev/zero");
        SettingsTestEnv t;
        ASSERT_TRUE(fifo ? ::mkfifo(QFile::encodeName(t.path).constData(), 0600) == 0
                         : QFile::link(QStringLiteral("/dev/zero"), t.path));
        // Off the test's thread: a load stuck on the FIFO is let go (a writer comes and goes) and fails.
        auto loading = std::async(std::launch::async, [&t] { return t.load(); });
        if (loading.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
            ::close(::open(QFile::encodeName(t.path).constData(), O_WRONLY | O_NONBLOCK));
            ADD_FAILURE() << "the load did not return";
        }
        const SettingsLoadResult loaded = loading.get();
        EXPECT_TRUE(loaded.problems.join('\n').contains(QStringLiteral("Settings: cannot read %1 (").arg(t.path)));
        EXPECT_TRUE(loaded.problems.join('\n').contains(QLatin1String("; the defaults are used.")));
        EXPECT_EQ(loaded.settings.System.Sample, 20);
        EXPECT_FALSE(t.save(loaded.settings).ok);
        EXPECT_FALSE(QFileInfo(t.path).isFile());
    }
}

TEST(SettingsFile, SavedFileIsPrivateToItsOwner)
{
    SettingsTestEnv t;
    ASSERT_TRUE(t.save(t.load().settings).ok);
    const auto everyone = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                          | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                          | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ(QFile::permissions(t.path) & everyone, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST(SettingsFile, ProgressReachesOneHundredInTwentySteps)
{
    SettingsTestEnv t;
    std::vector<int> steps;
    ASSERT_TRUE(settingsstore::save(t.load().settings, t.path, QLocale::c(), [&](int p) { steps.push_back(p); }).ok);
    ASSERT_EQ(steps.size(), 20u);
    EXPECT_EQ(steps.front(), 5);
    EXPECT_EQ(steps.back(), 100);
}

// A save on a full disk keeps the file it would replace and says so, whatever
// the file's size (a small one once went out empty as "saved").
struct SettingsOnAFullDisk : ::testing::TestWithParam<FullDisk::Kind> {};

TEST_P(SettingsOnAFullDisk, TheSaveFailsAndTheOldFileStaysWhole)
{
    FullDisk disk(GetParam());
    if (!disk.whyNot().empty())
        GTEST_SKIP() << disk.whyNot();
    SettingsTestEnv t;
    t.path = disk.path(QStringLiteral("veltrano.ini"));
    TSettings s = t.load().settings;
    s.System.Sample = 30;
    ASSERT_TRUE(t.save(s).ok);
    const QByteArray before = t.read();
    ASSERT_LT(before.size(), 16 * 1024) << "a file smaller than the write buffer";

    disk.fill();
    s.System.Sample = 45;
    const SettingsSaveResult result = t.save(s);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.startsWith(QStringLiteral("cannot write "))) << result.error.toStdString();
    EXPECT_EQ(t.read(), before);
    EXPECT_EQ(disk.files(), QStringList{QStringLiteral("veltrano.ini")});

    disk.makeRoom();
    EXPECT_TRUE(t.save(s).ok);
    EXPECT_EQ(t.fileValue("System", "Sample"), "45");

    // A page of room: the save stops part-way, and once said "(Unknown error)".
    disk.fillLeaving(FullDisk::pageSize());
    s.System.Sample = 60;
    const QString full = QString::fromLocal8Bit(std::strerror(GetParam() == FullDisk::Kind::Tmpfs ? ENOSPC : EFBIG));
    EXPECT_EQ(t.save(s).error, QStringLiteral("cannot write %1 (%2).").arg(QDir::toNativeSeparators(t.path), full));
    EXPECT_EQ(t.fileValue("System", "Sample"), "45");
}

INSTANTIATE_TEST_SUITE_P(Disk, SettingsOnAFullDisk, FULL_DISK_KINDS, FullDiskKindName);
