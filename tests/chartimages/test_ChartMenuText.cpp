// Texts of the chart menus: the expected IP profile table at its edges, the
// timeline page length, the capture captions, statistics with their units
// and the running mean that needs enough points.
#include "ChartTestSupport.h"
#include "chartimages/ChartMenuText.h"
#include "charts/ChartSet.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(ChartMenuText, ExpectedIpProfileAtTheRowEdgesAndGaps)
{
    const std::pair<qint64, const char *> cases[] = {
        {-1, "Expected IP profile:"},
        {0, "Expected IP profile: 135 Kbps"},
        {256, "Expected IP profile: 135 Kbps"},
        {257, "Expected IP profile:"},
        {270, "Expected IP profile:"},
        {287, "Expected IP profile:"},
        {288, "Expected IP profile: 250 Kbps"},
        {1152, "Expected IP profile: 1,000 Kbps"},
        {8096, "Expected IP profile: 7,000 Kbps"},
        {8097, "Expected IP profile:"},
        {8127, "Expected IP profile:"},
        {8128, "Expected IP profile: 7,150 Kbps"},
        {9087, "Expected IP profile: 7,150 Kbps"},
        {9088, "Expected IP profile: 8,000 Kbps"},
        {25000, "Expected IP profile: 21,000 Kbps"},
        {25001, "Expected IP profile:"},
    };
    for (const auto &[k, text] : cases)
        EXPECT_EQ(ChartMenuText::expectedIpProfile(k), QString::fromLatin1(text)) << k;
}

TEST(ChartMenuText, RestoreTimelineCaptionGivesThePageLength)
{
    const std::tuple<int, int, const char *> cases[] = {
        {20, 250, "Restore Timeline (1 hr : 23 min per page)"}, // 83.3 min
        {60, 250, "Restore Timeline (4 hr : 10 min per page)"},
        {10, 6, "Restore Timeline (0 hr : 1 min per page)"},
        {15, 2, "Restore Timeline (0 hr : 1 min per page)"},    // 0.5 rounds up
        {3600, 250, "Restore Timeline (250 hr : 0 min per page)"},
    };
    for (const auto &[sample, points, text] : cases)
        EXPECT_EQ(ChartMenuText::restoreTimeline(sample, points), QString::fromLatin1(text));
}

TEST(ChartMenuText, CaptureCaptionsFollowFormatAndSchedule)
{
    TSettings s = charttest::defaultSettings();
    s.Capture.IsJPG = true;
    EXPECT_EQ(ChartMenuText::captureNow(s, true), QStringLiteral("Capture Now  [jpg]"));
    EXPECT_EQ(ChartMenuText::captureNow(s, false), QStringLiteral("Capture Now [jpg]"));
    // Flags set together: the caption names the format a capture writes, the first set.
    s.Capture.IsPNG = true;
    s.Capture.IsGIF = true;
    EXPECT_EQ(ChartMenuText::captureNow(s, false), QStringLiteral("Capture Now [jpg]"));
    s.Capture.IsJPG = false;
    EXPECT_EQ(ChartMenuText::captureNow(s, false), QStringLiteral("Capture Now [png]"));
    s.Capture.IsPNG = s.Capture.IsGIF = false;
    s.Capture.IsBMP = true;
    EXPECT_EQ(ChartMenuText::captureNow(s, true), QStringLiteral("Capture Now  [bmp]"));

    s.Capture.Never = false;
    s.Capture.AllTheTime = false;
    s.Capture.BetweenHours = true;
    s.Capture.FromHours = 20;
    s.Capture.ToHours = 5;
    EXPECT_EQ(ChartMenuText::scheduledCapture(s, true), QStringLiteral("Scheduled Capture [2000 - 0500]"));
    s.Capture.FromHours = 0;
    EXPECT_EQ(ChartMenuText::scheduledCapture(s, false), QStringLiteral("Scheduled Capture [0000 - 0500]"));
    s.Capture.AllTheTime = true;
    EXPECT_EQ(ChartMenuText::scheduledCapture(s, true), QStringLiteral("Scheduled Capture [Always]"));
    s.Capture.Never = true;
    EXPECT_EQ(ChartMenuText::scheduledCapture(s, true), QStringLiteral("Capture [No schedule configured]"));
    EXPECT_EQ(ChartMenuText::scheduledCapture(s, false), QStringLiteral("Capture (No schedule configured)"));
    s.Capture.Never = s.Capture.AllTheTime = s.Capture.BetweenHours = false;
    EXPECT_TRUE(ChartMenuText::scheduledCapture(s, true).isEmpty());
}

TEST(ChartMenuText, SwapCaptionNamesTheFigureCutToTwelve)
{
    TSettings s = charttest::defaultSettings();
    s.Graph.UserLabel = QStringLiteral("Line attenuation (dB)");
    s.Graph.UserLabel2 = QStringLiteral("CRC");
    EXPECT_EQ(ChartMenuText::swapPlots(1, s), QStringLiteral("Swap Plots (Noise Margin && Average)"));
    EXPECT_EQ(ChartMenuText::swapPlots(2, s), QStringLiteral("Swap Plots (Sync Speed && Average)"));
    EXPECT_EQ(ChartMenuText::swapPlots(3, s), QStringLiteral("Swap Plots (Line attenua && Average)"));
    EXPECT_EQ(ChartMenuText::swapPlots(19, s), QStringLiteral("Swap Plots (CRC && Average)"));
    EXPECT_EQ(ChartMenuText::swapPlots(18, s), QStringLiteral("Swap Plots"));
}

TEST(ChartMenuText, FiguresCarryGroupsAndSign)
{
    EXPECT_EQ(ChartMenuText::figure(12345.66, 1), QStringLiteral("12,345.7"));
    EXPECT_EQ(ChartMenuText::figure(8128, 0), QStringLiteral("8,128"));
    EXPECT_EQ(ChartMenuText::figure(-1234.5, 1), QStringLiteral("-1,234.5"));
    EXPECT_EQ(ChartMenuText::figure(-0.01, 1), QStringLiteral("0.0"));
    EXPECT_EQ(ChartMenuText::lastReset(QStringLiteral("06 Dec 26  08:47:39"), 1234.5),
              QStringLiteral("Last Reset: 06 Dec 26  08:47:39 at 1,234.500 MiB"));
}

struct StatisticsTest : ::testing::Test {
    ChartSet charts;
    ChartSeries *series = charts.series(QStringLiteral("Series1"));
};

TEST_F(StatisticsTest, EmptySeriesLeavesTheCaptionsBare)
{
    const ChartStatistics st = ChartMenuText::statistics(series, 1, QStringLiteral(" dB"), 100, 500);
    EXPECT_EQ(st.max, QStringLiteral("Max. value: "));
    EXPECT_EQ(st.min, QStringLiteral("Min. value: "));
    EXPECT_EQ(st.avg, QStringLiteral("Avg. value: "));
    EXPECT_EQ(st.runningAvg, QStringLiteral("Last 100 samples Avg: [not available]"));
}

TEST_F(StatisticsTest, MaxMinAndMeanWithUnitAndHolesSkipped)
{
    for (double v : {12.5, 10.0, std::nan(""), 11.1})
        series->add(v);
    const ChartStatistics st = ChartMenuText::statistics(series, 1, QStringLiteral(" dB"), 100, 4);
    EXPECT_EQ(st.max, QStringLiteral("Max. value: 12.5 dB"));
    EXPECT_EQ(st.min, QStringLiteral("Min. value: 10.0 dB"));
    EXPECT_EQ(st.avg, QStringLiteral("Avg. value: 11.2 dB"));
}

TEST_F(StatisticsTest, RunningMeanNeedsMorePollsAndEnoughPoints)
{
    // Points 1..101: the 99 points before the newest of the last 100 are 2..100.
    for (int i = 1; i <= 101; ++i)
        series->add(i);
    const struct {
        const char *name;
        qint64 polls;
        int samples;
        const char *text;
    } cases[] = {
        {"as many polls as samples", 100, 100, "Last 100 samples Avg: [not available]"},
        {"one poll more", 101, 100, "Last 100 samples Avg: 51.0 dB"},
        {"polls counted while the series held fewer points", 5000, 102,
         "Last 102 samples Avg: [not available]"},
        {"exactly as many points as samples", 5000, 101, "Last 101 samples Avg: 50.5 dB"},
        {"a single sample has no points before the newest", 5000, 1, "Last 1 samples Avg: [not available]"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ChartMenuText::statistics(series, 1, QStringLiteral(" dB"), c.samples, c.polls).runningAvg,
                  QString::fromLatin1(c.text));
    }
}
