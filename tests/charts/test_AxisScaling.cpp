// AdjustYAxis and the reset items: widening for high values, following low
// values on the noise charts and the unpinned user charts, the pins, the right
// axes, the match switch, and a refused widening ending the call.
#include "ChartTestSupport.h"
#include "charts/AxisScaling.h"
#include "charts/ChartSet.h"

#include <gtest/gtest.h>
#include <qcustomplot.h>

namespace {

struct Range {
    double min;
    double max;
};

struct AdjustCase {
    const char *name;
    int chart;
    const char *axis;
    Range left;
    Range right;
    double value;
    Range expectLeft;
    Range expectRight;
    bool indicator = false;
    std::function<void(TSettings &)> set = {};
};

void setRange(ChartAxis a, Range r)
{
    ASSERT_TRUE(a.setLimitsInSafeOrder(r.min, r.max));
}

const AdjustCase kAdjust[] = {
    {"value at the top widens by P", 18, "", {0, 10}, {0, 10}, 10, {0, 15}, {0, 10}},
    {"the margin counts from the minimum", 18, "", {2, 10}, {0, 10}, 12, {2, 17}, {0, 10}},
    {"a value below the top changes nothing", 18, "", {0, 10}, {0, 10}, 9.99, {0, 10}, {0, 10}},
    {"Chart3 unpinned lifts its minimum", 3, "", {0, 10}, {0, 10}, 20, {10, 30}, {0, 10}, true},
    {"Chart3 pinned keeps its minimum", 3, "", {0, 10}, {0, 10}, 20, {0, 30}, {0, 10}, false,
     [](TSettings &s) { s.Graph.User1Pin = true; }},
    {"Chart19 unpinned lifts its minimum", 19, "", {0, 10}, {0, 10}, 20, {10, 30}, {0, 10}, true},
    {"Chart19's pin is its own", 19, "", {0, 10}, {0, 10}, 20, {10, 30}, {0, 10}, true,
     [](TSettings &s) { s.Graph.User1Pin = true; }},
    {"Chart3 pinned keeps its minimum for a zero", 3, "", {250, 700}, {0, 10}, 0, {250, 700}, {0, 10}, false,
     [](TSettings &s) { s.Graph.User1Pin = true; }},
    {"Chart1 follows a negative value down", 1, "", {-1, 25}, {500, 8500}, -3, {-3.6, 25}, {500, 8500}},
    {"Chart18 follows a zero value", 18, "", {0.5, 10}, {0, 10}, 0, {0, 10}, {0, 10}},
    {"Chart16 follows a negative value down", 16, "", {0, 10}, {0, 10}, -5, {-6, 10}, {0, 10}},
    {"Chart2 never lowers its minimum", 2, "", {500, 8500}, {0, 10}, -3, {500, 8500}, {0, 10}},
    {"Chart5 never lowers its minimum", 5, "", {0, 10}, {0, 10}, -2, {0, 10}, {0, 10}},
    {"a positive value at a raised noise minimum stays inside", 1, "", {5, 25}, {500, 8500}, 3, {2.4, 25},
     {500, 8500}},
    {"right axis at its top is not widened", 1, "r", {-1, 25}, {0, 1000}, 1000, {-1, 25}, {0, 1000}},
    {"right axis over its top takes 1.4 V", 1, "r", {-1, 25}, {0, 1000}, 1200, {-1, 25}, {0, 1680}},
    {"byte chart right axis takes P + 10", 23, "r", {0, 10}, {0, 10}, 100, {0, 10}, {0, 160}},
    {"byte chart right axis with P 20", 24, "r", {0, 10}, {0, 10}, 100, {0, 10}, {0, 130}, false,
     [](TSettings &s) { s.Graph.GraphPercent = 20; }},
    {"telnet overlay right axis", 16, "r", {0, 10}, {0, 10}, 100, {0, 10}, {0, 140}},
    {"a right-axis call leaves the left top alone", 18, "r", {0, 10}, {0, 10}, 50, {0, 10}, {0, 70}},
    {"a refused widening leaves the axis", 18, "", {0, 10}, {0, 10}, 10, {0, 10}, {0, 10}, false,
     [](TSettings &s) { s.Graph.GraphPercent = -300; }},
};

struct ScalingFixture : ::testing::Test {
    TSettings settings = charttest::defaultSettings();
    ChartSet charts;
    AxisScaling scaling{charts, settings};
};

using AxisScalingTest = ScalingFixture;

} // namespace

TEST_F(AxisScalingTest, AdjustYAxisEdgeCases)
{
    for (const AdjustCase &c : kAdjust) {
        TSettings s = charttest::defaultSettings();
        if (c.set)
            c.set(s);
        ChartSet set;
        AxisScaling sc(set, s);
        setRange(set.leftAxis(c.chart), c.left);
        setRange(set.rightAxis(c.chart), c.right);
        EXPECT_EQ(sc.AdjustYAxis(c.chart, QString::fromLatin1(c.axis), c.value), c.indicator) << c.name;
        EXPECT_NEAR(set.leftAxis(c.chart).minimum(), c.expectLeft.min, 1e-9) << c.name;
        EXPECT_NEAR(set.leftAxis(c.chart).maximum(), c.expectLeft.max, 1e-9) << c.name;
        EXPECT_NEAR(set.rightAxis(c.chart).minimum(), c.expectRight.min, 1e-9) << c.name;
        EXPECT_NEAR(set.rightAxis(c.chart).maximum(), c.expectRight.max, 1e-9) << c.name;
    }
}

// A figure per sample swings from its peak to 0: on an unpinned user chart
// every point stays above the bottom line.
TEST_F(AxisScalingTest, UnpinnedUserChartKeepsEveryPerSampleValueInView)
{
    const double perSample[] = {0, 158.6, 498.4, 39.1, 0, 0, 389.0, 26.6, 0, 350.7, 1200, 3, 0};
    for (int chart : {3, 19}) {
        setRange(charts.leftAxis(chart), {0, 100});
        for (double v : perSample) {
            scaling.AdjustYAxis(chart, QString(), v);
            EXPECT_TRUE(v > charts.leftAxis(chart).minimum() && v <= charts.leftAxis(chart).maximum()) << v;
        }
    }
}

TEST_F(AxisScalingTest, MatchBringsTheTopDownToTheLatestValue)
{
    struct Case {
        const char *name;
        int chart;
        QString http;
        QString telnet;
        std::vector<double> points;
        const char *axis;
        Range expect;
    };
    const QString off8(8, QLatin1Char('0')), off22(22, QLatin1Char('0'));
    const auto with = [](QString flags, int tag) {
        flags[tag] = QLatin1Char('1');
        return flags;
    };
    const Case cases[] = {
        {"last value 10", 18, with(off8, 3), off22, {1, 2, 3, 10}, "", {-1, 15.5}},
        {"last value 20: 100 is not above 5 x 20", 18, with(off8, 3), off22, {1, 2, 3, 20}, "", {-1, 100}},
        {"three points bring nothing down", 18, with(off8, 3), off22, {1, 2, 10}, "", {-3, 100}},
        {"switch off", 18, off8, off22, {1, 2, 3, 10}, "", {-3, 100}},
        {"another chart's flag", 18, with(off8, 4), off22, {1, 2, 3, 10}, "", {-3, 100}},
        {"telnet charts read the telnet string", 5, with(off8, 2), with(off22, 2), {1, 2, 3, 10}, "",
         {-1, 15.5}},
        {"not the status-page string", 5, with(off8, 2), off22, {1, 2, 3, 10}, "", {-3, 100}},
        {"a right-axis call still matches the left axis", 23, off8, with(off22, 14), {1, 2, 3, 10}, "r",
         {-1, 15.5}},
    };
    for (const Case &c : cases) {
        TSettings s = charttest::defaultSettings();
        s.Graph.AutoRestoreHTTP = c.http;
        s.Graph.AutoRestoreTelnet = c.telnet;
        s.Graph.GraphMaxError = 5;
        ChartSet set;
        AxisScaling sc(set, s);
        setRange(set.leftAxis(c.chart), {-3, 100});
        for (double v : c.points)
            set.valueSeries(c.chart)->add(v);
        sc.AdjustYAxis(c.chart, QString::fromLatin1(c.axis), 1);
        EXPECT_NEAR(set.leftAxis(c.chart).minimum(), c.expect.min, 1e-9) << c.name;
        EXPECT_NEAR(set.leftAxis(c.chart).maximum(), c.expect.max, 1e-9) << c.name;
    }
}

TEST_F(AxisScalingTest, MatchReadsThePlottedFigureWhereverTheSwapPutIt)
{
    settings.Graph.AutoRestoreHTTP = QStringLiteral("10000000");
    charts.swapFirstTwo(1);
    setRange(charts.leftAxis(1), {-3, 100});
    for (double v : {4.0, 6.0, 8.0, 10.0})
        charts.series(QStringLiteral("Series1"))->add(v);
    for (double v : {30.0, 30.0, 30.0, 30.0})
        charts.series(QStringLiteral("Series5"))->add(v);
    scaling.AdjustYAxis(charts.chart(1), QString(), 10);
    EXPECT_NEAR(charts.leftAxis(1).maximum(), 15.5, 1e-9);
}

TEST_F(AxisScalingTest, RefusedWideningEndsTheCallBeforeTheMatch)
{
    settings.Graph.GraphPercent = -300;
    settings.Graph.AutoRestoreHTTP = QStringLiteral("00010000");
    setRange(charts.leftAxis(18), {-3, 10});
    for (double v : {1.0, 1.0, 1.0, 10.0})
        charts.valueSeries(18)->add(v);
    scaling.AdjustYAxis(18, QString(), 10);
    // Had the match run, the minimum would be -1.
    EXPECT_DOUBLE_EQ(charts.leftAxis(18).minimum(), -3);
    EXPECT_DOUBLE_EQ(charts.leftAxis(18).maximum(), 10);
}

TEST_F(AxisScalingTest, AutoAdjustSwitches)
{
    const auto telnetWith = [](int tag, QChar c) {
        QString f(22, QLatin1Char('1'));
        f[tag] = c;
        return f;
    };
    struct Case {
        const char *name;
        std::function<void(TSettings &)> set;
        int chart;
        AxisSide side;
        bool on;
    };
    constexpr auto L = AxisSide::Left;
    constexpr auto R = AxisSide::Right;
    const Case cases[] = {
        {"Rx noise", [](TSettings &) {}, 1, L, true},
        {"sync overlay needs the overlay shown", [](TSettings &) {}, 1, R, false},
        {"sync overlay shown", [](TSettings &s) { s.Graph.ShowSync = true; }, 1, R, true},
        {"sync overlay follows RxSyncAuto", [](TSettings &s) { s.Graph.ShowSync = true, s.Graph.RxSyncAuto = false; },
         1, R, false},
        {"Tx sync off", [](TSettings &s) { s.Graph.TxSyncAuto = false; }, 20, L, false},
        {"User 2 switch", [](TSettings &s) { s.Graph.User1Auto = false; }, 19, L, false},
        {"counter at its Tag", [&](TSettings &s) { s.Telnet.TelnetAuto = telnetWith(2, '0'); }, 5, L, false},
        {"neighbour counter", [&](TSettings &s) { s.Telnet.TelnetAuto = telnetWith(2, '0'); }, 6, L, true},
        {"byte chart right axis", [&](TSettings &s) { s.Telnet.TelnetAuto = telnetWith(14, '0'); }, 23, R, false},
        {"telnet overlay needs it shown", [](TSettings &) {}, 16, R, false},
        {"telnet user chart, first value", [&](TSettings &s) { s.Telnet.TelnetAuto = telnetWith(16, '0'); }, 30,
         L, true},
        {"telnet user chart after its first value",
         [&](TSettings &s) { s.Telnet.TelnetAuto = telnetWith(16, '0'), s.Telnet.User1Adjusted = true; }, 30, L,
         false},
        {"ping chart", [](TSettings &) {}, 25, L, false},
        {"SNR scale fixed", [](TSettings &) {}, 21, R, false},
        {"SNR margin scale follows", [](TSettings &s) { s.Telnet.rbSNR = false; }, 21, R, true},
    };
    for (const Case &c : cases) {
        TSettings s = charttest::defaultSettings();
        c.set(s);
        ChartSet set;
        AxisScaling sc(set, s);
        EXPECT_EQ(sc.autoAdjustOn(c.chart, c.side), c.on) << c.name;
    }
}

TEST_F(AxisScalingTest, AddingAPointScalesAndReportsTheIndicator)
{
    // Without auto adjust: equal to the top shows the indicator, just below hides it.
    settings.Graph.RxNoiseAuto = false;
    EXPECT_TRUE(scaling.addPoint(QStringLiteral("Series1"), 25, QStringLiteral(" 10:00:00"), 0x800000));
    EXPECT_FALSE(scaling.addPoint(QStringLiteral("Series1"), 24.9, QStringLiteral(" 10:00:20"), 0x800000));
    EXPECT_DOUBLE_EQ(charts.leftAxis(1).maximum(), 25);
    EXPECT_EQ(charts.valueSeries(1)->colourAt(0), QColor(0, 0, 128));
    EXPECT_EQ(charts.valueSeries(1)->labelAt(1).value_or(QString()), QStringLiteral(" 10:00:20"));

    // With it the axis widens first, so the value fits.
    settings.Graph.RxNoiseAuto = true;
    EXPECT_FALSE(scaling.addPoint(QStringLiteral("Series1"), 25, QString(), 0x0000FF));
    EXPECT_DOUBLE_EQ(charts.leftAxis(1).maximum(), 38);

    // Averages and gap markers never move the axis.
    scaling.addPoint(QStringLiteral("Series5"), 100, QString(), 0xFF00FF);
    scaling.addPoint(QStringLiteral("Series21"), 188, QString(), 0xA79F85);
    EXPECT_DOUBLE_EQ(charts.leftAxis(1).maximum(), 38);

    // The telnet user charts fit their first value whatever the switch.
    settings.Telnet.TelnetAuto[16] = QLatin1Char('0');
    settings.Telnet.User1Adjusted = false;
    scaling.addPoint(QStringLiteral("FastLineSeries1"), 40, QString(), 0xFF0000);
    EXPECT_DOUBLE_EQ(charts.leftAxis(30).maximum(), 60);
    EXPECT_TRUE(settings.Telnet.User1Adjusted);
    EXPECT_TRUE(scaling.addPoint(QStringLiteral("FastLineSeries1"), 80, QString(), 0xFF0000));
    EXPECT_DOUBLE_EQ(charts.leftAxis(30).maximum(), 60);
}

TEST_F(AxisScalingTest, ResetItemsBringTheDefaultsBackFromAnyRange)
{
    settings.Graph.NoiseMin = -1, settings.Graph.NoiseMax = 25;
    const std::tuple<int, Range, Range> http[] = {
        {1, {30, 40}, {-1, 25}},      {1, {-5, -2}, {-1, 25}}, {2, {-0.1, 300}, {500, 8500}},
        {3, {200, 300}, {0, 100}},    {19, {-9, -5}, {0, 100}}, {18, {-5, 50}, {0, 10}},
        {20, {20, 30}, {0, 10}},
    };
    for (const auto &[chart, from, to] : http) {
        setRange(charts.leftAxis(chart), from);
        scaling.resetHttpAxes(chart);
        EXPECT_DOUBLE_EQ(charts.leftAxis(chart).minimum(), to.min) << chart;
        EXPECT_DOUBLE_EQ(charts.leftAxis(chart).maximum(), to.max) << chart;
    }

    settings.Telnet.User2Adjusted = true;
    setRange(charts.leftAxis(31), {40, 50});
    setRange(charts.rightAxis(31), {-20, -15});
    scaling.resetTelnetAxes(31);
    EXPECT_DOUBLE_EQ(charts.leftAxis(31).minimum(), 0);
    EXPECT_DOUBLE_EQ(charts.leftAxis(31).maximum(), 10);
    EXPECT_DOUBLE_EQ(charts.rightAxis(31).minimum(), 0);
    EXPECT_DOUBLE_EQ(charts.rightAxis(31).maximum(), 10);
    EXPECT_FALSE(settings.Telnet.User2Adjusted);
}

TEST(AxisScalingFlags, ShortOrMissingFlagsAreOff)
{
    EXPECT_TRUE(AxisScaling::flagAt(QStringLiteral("0001"), 3));
    EXPECT_FALSE(AxisScaling::flagAt(QStringLiteral("0001"), 4));
    EXPECT_FALSE(AxisScaling::flagAt(QStringLiteral("0001"), -1));
    EXPECT_FALSE(AxisScaling::flagAt(QString(), 0));
}
