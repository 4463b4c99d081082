// The daily timer: each action at its minute, once, in order; a bad time
// skips only its own action.
#include "common/Clock.h"
#include "notify/DailyTimer.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

namespace {

TSettings freshSettings()
{
    SettingsEnvironment env;
    env.settingsPath = QStringLiteral("/nonexistent/veltrano.ini");
    env.now = QDateTime(QDate(2026, 3, 5), QTime(8, 0));
    return settingsstore::load(env).settings;
}

struct DailyTimerTest : ::testing::Test {
    ManualClock clock{QDateTime(QDate(2026, 3, 5), QTime(2, 59, 10))};
    TSettings s = freshSettings();
    RunState run;
    QStringList fired;
    QStringList messages;
    std::unique_ptr<DailyTimer> timer;

    void SetUp() override
    {
        Clock::setInstance(&clock);
        s.Capture.DeleteImages = true;
        s.Capture.DeleteDaily = true;
        s.Capture.DeleteTime = QTime(3, 0, 0);
        s.Log.TrimLog = true;
        s.Log.TrimTime = QStringLiteral("03:00");
        s.Telnet.ResetDailyAt = true;
        s.Telnet.ResetIncAt = QStringLiteral("03:00");
        s.Capture.CaptureAt = true;
        s.Capture.CaptureAtTime = QStringLiteral("03:00");
        s.Email.Enable = true;
        s.Email.DailyTime = QStringLiteral("03:00");
        timer = std::make_unique<DailyTimer>(s, run);
        QObject::connect(timer.get(), &DailyTimer::imageCleanUpDue, [this] { fired << "cleanup"; });
        QObject::connect(timer.get(), &DailyTimer::logTrimDue, [this] { fired << "trim"; });
        QObject::connect(timer.get(), &DailyTimer::resetIncrementalDue, [this] { fired << "rebase"; });
        QObject::connect(timer.get(), &DailyTimer::dailyCapturesDue, [this](const QList<int> &) { fired << "captures"; });
        QObject::connect(timer.get(), &DailyTimer::dailyEmailDue, [this] { fired << "email"; });
        QObject::connect(timer.get(), &DailyTimer::systemMessage, [this](const QString &m) { messages << m; });
    }
    void TearDown() override { Clock::setInstance(nullptr); }

    void tickAt(int h, int m, int sec)
    {
        clock.set(QDateTime(QDate(2026, 3, 5), QTime(h, m, sec)));
        timer->DailyTimerTimer();
    }
};

TEST_F(DailyTimerTest, AllDueInOneMinuteRunInOrderOnceEvenWithTwoTicks)
{
    tickAt(2, 59, 10);
    EXPECT_TRUE(fired.isEmpty());
    tickAt(3, 0, 5);
    tickAt(3, 0, 55); // a second tick in the same minute
    EXPECT_EQ(fired, QStringList({"cleanup", "trim", "rebase", "captures", "email"}));
    tickAt(3, 1, 5);
    EXPECT_EQ(fired.size(), 5);
    // The next day it runs again.
    clock.set(QDateTime(QDate(2026, 3, 6), QTime(3, 0, 30)));
    timer->DailyTimerTimer();
    EXPECT_EQ(fired.size(), 10);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(DailyTimerTest, EachActionAtItsOwnMinuteOnce)
{
    s.Capture.DeleteTime = QTime(1, 1);
    s.Log.TrimTime = QStringLiteral("1:02");
    s.Telnet.ResetIncAt = QStringLiteral("01:03");
    s.Capture.CaptureAtTime = QStringLiteral("01:04:00");
    s.Email.DailyTime = QStringLiteral("01:05");
    const struct { int minute; const char *action; } rows[] = {
        {1, "cleanup"}, {2, "trim"}, {3, "rebase"}, {4, "captures"}, {5, "email"}};
    for (const auto &row : rows) {
        fired.clear();
        tickAt(1, row.minute, 0);
        tickAt(1, row.minute, 59);
        EXPECT_EQ(fired, QStringList({row.action})) << row.action;
    }
}

TEST_F(DailyTimerTest, UnparsableTimeSkipsOnlyItsOwnAction)
{
    struct Row { const char *broken; QStringList expected; };
    const Row rows[] = {
        {"cleanup", {"trim", "rebase", "captures", "email"}},
        {"trim", {"cleanup", "rebase", "captures", "email"}},
        {"rebase", {"cleanup", "trim", "captures", "email"}},
        {"captures", {"cleanup", "trim", "rebase", "email"}},
        {"email", {"cleanup", "trim", "rebase", "captures"}},
    };
    for (const auto &row : rows) {
        SetUp();
        const QString b = QString::fromLatin1(row.broken);
        if (b == "cleanup") s.Capture.DeleteTime = QTime();
        if (b == "trim") s.Log.TrimTime = QStringLiteral("25:99");
        if (b == "rebase") s.Telnet.ResetIncAt = QString();
        if (b == "captures") s.Capture.CaptureAtTime = QStringLiteral("noon");
        if (b == "email") s.Email.DailyTime = QStringLiteral("3:0x");
        fired.clear();
        messages.clear();
        tickAt(3, 0, 0);
        tickAt(3, 1, 0);
        EXPECT_EQ(fired, row.expected) << row.broken;
        EXPECT_EQ(messages.size(), 1) << row.broken; // reported once, not every tick
        TearDown();
    }
}

TEST_F(DailyTimerTest, DisabledActionsDoNotRunNorComplain)
{
    s.Capture.DeleteDaily = false;
    s.Log.TrimLog = false;
    s.Telnet.ResetDailyAt = false;
    s.Capture.CaptureAt = false;
    s.Email.Enable = false;
    s.Log.TrimTime = QStringLiteral("garbage");
    tickAt(3, 0, 0);
    EXPECT_TRUE(fired.isEmpty());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(DailyTimerTest, StampsSampleStampAndStartsAndStops)
{
    tickAt(10, 0, 0);
    EXPECT_EQ(run.SampleStamp, clock.currentDateTime());
    EXPECT_FALSE(timer->isActive());
    timer->start();
    EXPECT_TRUE(timer->isActive());
    timer->stop();
    EXPECT_FALSE(timer->isActive());
}

TEST(DailyCaptureCharts, FollowsSwitchesAndBoxesInTableOrder)
{
    TSettings s = freshSettings();
    s.Capture.Sync = true;  s.Graph.cbHSync = true;    // Chart2
    s.Capture.Noise = true; s.Graph.cbHNoise = false;  // Chart1: box off
    s.CaptureTelnetFlags[5] = true; s.Telnet.cbFastCRC = true; // Chart4
    s.CaptureTelnetFlags[16] = true; // beyond the 16 listed: not by flag
    s.Telnet.SepCapture = true; s.Telnet.BitsGraph = false;   // Chart29 needs no bits box
    s.Telnet.CaptureBits = true;                              // Chart21 needs it
    s.Ping.Capture = true; s.Ping.Ping = true;                // Chart25
    EXPECT_EQ(DailyTimer::dailyCaptureCharts(s), QList<int>({2, 4, 25, 29}));
}

} // namespace
