// The capture schedule: the hour window, the camera indicators and which
// charts a poll captures and puts on the web.
#include "common/Clock.h"
#include "notify/CaptureSchedule.h"
#include "settings/SettingsStore.h"

#include <QTemporaryDir>

#include <ctime>
#include <gtest/gtest.h>

namespace {

TSettings freshSettings()
{
    SettingsEnvironment env;
    env.settingsPath = QStringLiteral("/nonexistent/veltrano.ini");
    env.now = QDateTime(QDate(2026, 3, 5), QTime(8, 0));
    return settingsstore::load(env).settings;
}

struct CaptureScheduleTest : ::testing::Test {
    ManualClock clock{QDateTime(QDate(2026, 3, 5), QTime(0, 0), Qt::UTC)};
    TSettings s = freshSettings();
    RunState run;
    QTemporaryDir dir;

    void SetUp() override
    {
        Clock::setInstance(&clock);
        s.Capture.Folder = dir.path();
    }
    void TearDown() override
    {
        Clock::setInstance(nullptr);
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void mode(bool always, bool between, bool never)
    {
        s.Capture.AllTheTime = always;
        s.Capture.BetweenHours = between;
        s.Capture.Never = never;
    }
    const CameraIndicator &indicatorOf(const std::vector<CameraIndicator> &all, int chart)
    {
        for (const CameraIndicator &i : all)
            if (i.chart == chart)
                return i;
        static CameraIndicator none;
        ADD_FAILURE() << "no indicator for chart " << chart;
        return none;
    }
};

} // namespace

TEST_F(CaptureScheduleTest, HourWindowAcrossMidnight)
{
    mode(false, true, false);
    s.Capture.FromHours = 20;
    s.Capture.ToHours = 5;
    for (int h = 0; h < 24; ++h) {
        clock.set(QDateTime(QDate(2026, 3, 5), QTime(h, 59, 59), Qt::UTC));
        run.CaptureActive = !(h >= 20 || h < 5); // the opposite, to see it change
        CaptureSchedule::CheckCameras(s, run);
        EXPECT_EQ(run.CaptureActive, h >= 20 || h < 5) << "hour " << h;
        EXPECT_EQ(run.SampleStamp, clock.currentDateTime());
    }
}

TEST_F(CaptureScheduleTest, ModesAndTheOpenCases)
{
    struct Case {
        bool always, between, never;
        int from, to, hour;
        bool previous, expected;
    };
    const Case cases[] = {
        {true, false, true, 20, 5, 12, false, true},    // AllTheTime wins
        {false, true, true, 20, 5, 22, true, false},    // then Never
        {false, true, false, 8, 17, 8, false, true},    // From <= h
        {false, true, false, 8, 17, 16, false, true},
        {false, true, false, 8, 17, 17, true, false},   // h < To
        {false, true, false, 8, 17, 7, true, false},
        {false, true, false, 9, 9, 9, true, true},      // From = To keeps the value
        {false, true, false, 9, 9, 3, false, false},
        {false, false, false, 20, 5, 22, true, true},   // no mode: unchanged
        {false, false, false, 20, 5, 22, false, false},
        {false, true, false, 20, 5, 4, false, true},
        {false, true, false, 20, 5, 5, true, false},
    };
    for (const Case &c : cases) {
        mode(c.always, c.between, c.never);
        s.Capture.FromHours = c.from;
        s.Capture.ToHours = c.to;
        EXPECT_EQ(CaptureSchedule::captureActiveAt(s, c.hour, c.previous), c.expected)
            << c.from << "-" << c.to << " at " << c.hour;
    }
}

TEST_F(CaptureScheduleTest, UtcSettingTestsTheWindowInUtc)
{
    setenv("TZ", "Asia/Tokyo", 1); // UTC+9, no summer time
    tzset();
    mode(false, true, false);
    s.Capture.FromHours = 20;
    s.Capture.ToHours = 23;
    clock.set(QDateTime(QDate(2026, 3, 5), QTime(12, 30), Qt::UTC)); // 21:30 in Tokyo
    CaptureSchedule::CheckCameras(s, run);
    EXPECT_TRUE(run.CaptureActive);
    s.Graph.UTCTime = true;
    CaptureSchedule::CheckCameras(s, run);
    EXPECT_FALSE(run.CaptureActive);
    EXPECT_EQ(run.SampleStamp.time(), QTime(12, 30));
}

TEST_F(CaptureScheduleTest, CameraIndicators)
{
    s.Capture.Noise = true;
    s.CaptureTelnetFlags[2] = true; // Chart5
    s.Telnet.CaptureBits = true;    // Chart21, only with its plot box
    s.Telnet.BitsGraph = false;
    s.Capture.CaptureAt = true;

    mode(true, false, false);
    auto all = CaptureSchedule::CheckCameras(s, run);
    EXPECT_EQ(all.size(), 31u);
    EXPECT_TRUE(indicatorOf(all, 1).active);
    EXPECT_FALSE(indicatorOf(all, 1).inactive);
    EXPECT_TRUE(indicatorOf(all, 1).daily);
    EXPECT_TRUE(indicatorOf(all, 5).active);
    EXPECT_FALSE(indicatorOf(all, 2).active || indicatorOf(all, 2).inactive || indicatorOf(all, 2).daily);
    EXPECT_FALSE(indicatorOf(all, 21).active || indicatorOf(all, 21).daily);

    s.Telnet.BitsGraph = true;
    all = CaptureSchedule::indicators(s, false);
    EXPECT_TRUE(indicatorOf(all, 21).inactive);
    EXPECT_TRUE(indicatorOf(all, 1).inactive);

    // No folder, or Never: neither camera shows, the daily mark still does.
    s.Capture.Folder = dir.filePath(QStringLiteral("missing"));
    all = CaptureSchedule::indicators(s, true);
    EXPECT_FALSE(indicatorOf(all, 1).active || indicatorOf(all, 1).inactive);
    EXPECT_TRUE(indicatorOf(all, 1).daily);
    s.Capture.Folder.clear();
    EXPECT_FALSE(CaptureSchedule::captureFolderExists(s));
    s.Capture.Folder = dir.path();
    mode(false, false, true);
    all = CaptureSchedule::indicators(s, true);
    EXPECT_FALSE(indicatorOf(all, 1).active || indicatorOf(all, 1).inactive);
}

TEST_F(CaptureScheduleTest, ChartsOfAPoll)
{
    s.Capture.Noise = s.Capture.UNoise = s.Capture.User2 = true;
    s.Graph.cbUHNoise = false;
    s.CaptureTelnetFlags[0] = true; // Chart16
    s.CaptureTelnetFlags[2] = true; // Chart5, box off by default
    s.Telnet.CaptureUserUp = s.Telnet.cbUserUp = true;
    s.Ping.Capture = s.Ping.Ping = true;
    s.Telnet.SepCapture = true;
    s._585Telnet.ThomsonBitswapCap = true;
    s.Capture.HTTPWeb = QStringLiteral("1001");
    s.Telnet.TelnetWeb = QStringLiteral("010000000000000001");
    s.Ping.Web = true;
    s._585Telnet.WebServerTime585 = true;

    EXPECT_EQ(CaptureSchedule::autoCaptureCharts(s), (std::vector<int>{1, 19, 29, 25}));
    EXPECT_EQ(CaptureSchedule::webImageCharts(s), (std::vector<int>{1, 25}));

    s.Router.Telnet = true;
    s.Router.ST585 = true;
    s.Graph.cbUHNoise = true;
    EXPECT_EQ(CaptureSchedule::autoCaptureCharts(s), (std::vector<int>{1, 18, 19, 16, 31, 29, 25, 27}));
    s.Telnet.cbUserUp = true;
    EXPECT_EQ(CaptureSchedule::webImageCharts(s), (std::vector<int>{1, 18, 17, 31, 25, 28}));
}

TEST_F(CaptureScheduleTest, CaptureSwitchesSetWhatTheIndicatorsRead)
{
    // Every chart with a camera: switching on is read back as on, and off as off.
    const int charts[] = {1, 18, 2, 20, 3, 19, 16, 17, 5, 6, 7, 4, 8, 9, 12, 11,
                          10, 15, 14, 13, 23, 24, 30, 31, 21, 29, 22, 25, 26, 27, 28};
    s.Telnet.BitsGraph = true;
    for (int chart : charts) {
        SCOPED_TRACE(chart);
        ASSERT_TRUE(CaptureSchedule::setCaptureSwitch(s, chart, true));
        EXPECT_TRUE(CaptureSchedule::captureSwitch(s, chart));
        ASSERT_TRUE(CaptureSchedule::setCaptureSwitch(s, chart, false));
        EXPECT_FALSE(CaptureSchedule::captureSwitch(s, chart));
    }
    EXPECT_FALSE(CaptureSchedule::setCaptureSwitch(s, 99, true));
    // The telnet charts' flags are indexed by their position, not their number.
    CaptureSchedule::setCaptureSwitch(s, 5, true);
    EXPECT_TRUE(s.CaptureTelnetFlags[2]);
    CaptureSchedule::setCaptureSwitch(s, 19, true);
    EXPECT_TRUE(s.Capture.User2);
}

TEST_F(CaptureScheduleTest, CaptureAllTakesTheMarkedChartsInTheButtonsOrder)
{
    EXPECT_TRUE(CaptureSchedule::captureAllCharts(s).empty()) << "nothing marked, nothing captured";

    s.Capture.Noise = s.Capture.User2 = s.Capture.Sync = true;
    s.Graph.cbHNoise = s.Graph.cbHUser2 = true;
    s.Graph.cbHSync = false; // marked but not plotted
    s.CaptureTelnetFlags[0] = s.CaptureTelnetFlags[15] = true; // Chart16 and Chart24
    s.CaptureTelnetFlags[16] = true;                            // Chart30: not among capture all's charts
    s.Telnet.cbNoise = s.Telnet.TxTotal = s.Telnet.cbUserDown = true;
    s.Telnet.CaptureBits = true;
    s.Telnet.BitsGraph = true;
    s.Telnet.BitswapCapture = true;
    s.Ping.Capture = s.Ping.Ping = true; // the ping chart is not part of it
    EXPECT_EQ(CaptureSchedule::captureAllCharts(s), (std::vector<int>{1, 19, 16, 24, 21, 22}));

    s.Telnet.BitsGraph = false; // the bits chart needs its box
    EXPECT_EQ(CaptureSchedule::captureAllCharts(s), (std::vector<int>{1, 19, 16, 24, 22}));
}
