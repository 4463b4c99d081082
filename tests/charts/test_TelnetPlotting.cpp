// A poll's points on the telnet charts: alarm colours, averages, the counter
// bases, the byte restart rule and the telnet log items.
#include "charts/AxisScaling.h"
#include "charts/ChartSet.h"
#include "charts/TelnetPlotting.h"
#include "common/Clock.h"
#include "settings/ColourNames.h"
#include "settings/SettingsStore.h"

#include <qcustomplot.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct TelnetPlottingTest : ::testing::Test {
    TSettings settings = [] {
        SettingsEnvironment env;
        env.settingsPath = QStringLiteral("/nonexistent/veltrano.ini");
        env.now = QDateTime(QDate(2026, 12, 6), QTime(8, 0));
        TSettings s = settingsstore::load(env).settings;
        // Every telnet chart off unless a test turns it on.
        s.Telnet.cbNoise = false;
        s.Telnet.cbSync = false;
        s.LogTelnetFlags.fill(false);
        return s;
    }();
    RunState run;
    TelnetFigures figures;
    ChartSet charts;
    AxisScaling scaling{charts, settings};
    TelnetPlotting plotting{charts, scaling, settings, run, figures};
    ManualClock clock{QDateTime(QDate(2026, 12, 6), QTime(9, 30, 15))};

    void SetUp() override
    {
        Clock::setInstance(&clock);
        charts.applyStartup(settings);
    }
    void TearDown() override { Clock::setInstance(nullptr); }

    // A reply has read every figure since the last poll.
    void readAll()
    {
        figures.Fresh = {true, true, {}, true, true, true, true};
        figures.Fresh.Counters.fill(true);
    }
    QList<LogItem> poll() { readAll(); return pollWithoutReading(); }
    QList<LogItem> pollWithoutReading() { return plotting.plotTelnetCharts(QStringLiteral(" 09:30:15")); }
    ChartSeries *series(const char *name) { return charts.series(QLatin1String(name)); }
    QColor lastColour(const char *name) { return series(name)->colourAt(series(name)->count() - 1); }
};

QColor qc(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

} // namespace

TEST_F(TelnetPlottingTest, NoisePointColourClampAndClearing)
{
    settings.Telnet.cbNoise = true;
    settings.Alarm.NoiseAbove = true;
    settings.Alarm.NoiseAboveVal = 12;
    settings.Alarm.NoiseBelow = true;
    settings.Alarm.NoiseBelowVal = 3;
    struct Case {
        float noise;
        double plotted;
        bool red;
    } cases[] = {
        {12.0f, 12.0, false}, // at the set point: no alarm
        {12.1f, 12.1f, true},
        {3.0f, 3.0, false},
        {2.9f, 2.9f, true},
        {-7.5f, -5.0, true}, // coloured by the true value, drawn at the floor
        {2147483648.0f, 0.0, true}, // wrapped reading corrected, then below 3
    };
    for (const Case &c : cases) {
        figures.TelnetNoiseNow = c.noise;
        readAll();
        const TelnetPointShown shown = plotting.PlotTelnetNoise(QStringLiteral(" x"));
        SCOPED_TRACE(c.noise);
        EXPECT_TRUE(shown.plotted);
        EXPECT_NEAR(series("LineSeries13")->lastValue(), c.plotted, 1e-3);
        EXPECT_EQ(lastColour("LineSeries13"), qc(c.red ? colours::clRed : settings.Graph.NoiseColour));
        // The reading is spent, its value kept for the other readers.
        EXPECT_FALSE(figures.Fresh.Noise);
        EXPECT_EQ(figures.TelnetNoiseNow, c.noise);
        EXPECT_TRUE(shown.labelText.isEmpty());
    }
}

TEST_F(TelnetPlottingTest, TelnetOnlyKeepsTheNoiseValueAndShowsIt)
{
    settings.Telnet.cbNoise = true;
    settings.Telnet.DisableHTTP = true;
    figures.TelnetNoiseNow = 6.44f;
    readAll();
    const TelnetPointShown shown = plotting.PlotTelnetNoise(QStringLiteral(" x"));
    EXPECT_EQ(figures.TelnetNoiseNow, 6.44f);
    EXPECT_EQ(shown.labelText, QStringLiteral("6.4 dB"));
    EXPECT_TRUE(shown.redrawTrayIcon);
    EXPECT_FALSE(plotting.httpLabelsEnabled());
}

TEST_F(TelnetPlottingTest, SyncGoesToBothChartsAndIsCleared)
{
    settings.Telnet.cbSync = true;
    settings.Alarm.SyncBelow = true;
    settings.Alarm.SyncBelowVal = 1000;
    figures.TelnetSyncNow = 800;
    readAll();
    plotting.PlotTelnetSync(QStringLiteral(" x"));
    EXPECT_EQ(series("LineSeries14")->lastValue(), 800);
    EXPECT_EQ(series("Series12")->lastValue(), 800);
    EXPECT_EQ(lastColour("LineSeries14"), qc(colours::clRed));
    EXPECT_FALSE(figures.Fresh.Sync);
    EXPECT_TRUE(plotting.indicatorStates().contains(QStringLiteral("Image135")));
}

TEST_F(TelnetPlottingTest, AveragesOverTheLastSamples)
{
    settings.Telnet.cbNoise = true;
    settings.Telnet.cbSync = true;
    settings.Graph.RxNoiseAvg = true;
    settings.Graph.RxNoiseAvgSamples = 2;
    // No telnet point yet: the average is 0.
    plotting.telnetAverages(QString());
    EXPECT_EQ(series("Series10")->lastValue(), 0.0);
    for (float v : {2.0f, 4.0f, 8.0f}) {
        figures.TelnetNoiseNow = v;
        figures.TelnetSyncNow = int(v * 1000);
        readAll();
        plotting.PlotTelnetNoise(QString());
        plotting.PlotTelnetSync(QString());
    }
    // A poll without a reading: a gap, which the averages leave out.
    plotting.PlotTelnetNoise(QString());
    plotting.PlotTelnetSync(QString());
    EXPECT_TRUE(std::isnan(series("LineSeries13")->lastValue()));
    plotting.telnetAverages(QStringLiteral(" 10:00:20 "));
    EXPECT_DOUBLE_EQ(series("Series10")->lastValue(), 8.0);    // last two: the gap and 8
    // The average point carries the poll's own label.
    EXPECT_EQ(series("Series10")->labelAt(series("Series10")->count() - 1).value_or(QString()),
              QStringLiteral(" 10:00:20 "));
    EXPECT_NEAR(series("Series11")->lastValue(), 14000.0 / 3, 1e-3); // all three (window 100)
    EXPECT_TRUE(series("Series10")->isVisible());
    EXPECT_FALSE(series("Series11")->isVisible());
}

TEST_F(TelnetPlottingTest, IncrementalCountersTakeTheirBaseAndSkipBackwardSteps)
{
    settings.Graph.Latest15 = true;
    settings.Telnet.V123 = true;
    settings.Telnet.cbICRC = true;   // slot 0, downstream
    settings.Telnet.cbUICRC = true;  // slot 6, upstream: never incremental
    figures.TelnetCounterBase[0] = 7; // stale base from before the series began
    struct Step {
        qint64 icrc;
        qint64 uicrc;
        qint64 points;  // points on LineSeries2 after the poll
        double last;    // its newest value
    } steps[] = {
        {100, 50, 1, 0},  // base taken on the first point
        {130, 60, 2, 30},
        {90, -1, 2, 30},  // went backwards: no point (upstream negative: none either)
        {140, 70, 3, 40},
    };
    for (const Step &s : steps) {
        figures.TelnetCounters[0] = s.icrc;
        figures.TelnetCounters[6] = s.uicrc;
        poll();
        SCOPED_TRACE(s.icrc);
        EXPECT_EQ(series("LineSeries2")->count(), s.points);
        EXPECT_EQ(series("LineSeries2")->lastValue(), s.last);
        EXPECT_EQ(lastColour("LineSeries2"), qc(colours::clBlue));
    }
    EXPECT_EQ(figures.TelnetCounterBase[0], 100);
    EXPECT_EQ(series("LineSeries9")->count(), 3);
    EXPECT_EQ(series("LineSeries9")->lastValue(), 70);

    // The re-base timer moves the base to the present counters.
    figures.TelnetCounters[0] = 150;
    plotting.tmr15MinsTimer();
    EXPECT_EQ(figures.TelnetCounterBase[0], 150);
    poll();
    EXPECT_EQ(series("LineSeries2")->lastValue(), 0);
}

TEST_F(TelnetPlottingTest, CountersPlainWhenNotIncremental)
{
    settings.Graph.Latest15 = false;
    settings.Graph.Latest1day = false;
    settings.Telnet.cbIFEC = true;
    figures.TelnetCounters[1] = 1234;
    poll();
    EXPECT_EQ(series("LineSeries3")->lastValue(), 1234);
}

TEST_F(TelnetPlottingTest, ByteRestartResetsTheBase)
{
    settings.Telnet.RxTotal = true;
    settings.Telnet.RxShowIncremental = false;
    figures.RxBytesBase = 100;
    figures.RxBytesBaseDate = QStringLiteral("old");
    figures.RxBytesTotal = 150;
    poll();
    EXPECT_EQ(series("LineSeries20")->lastValue(), 150);
    EXPECT_EQ(series("Series17")->lastValue(), 50);
    EXPECT_EQ(lastColour("Series17"), qc(0x008000));
    EXPECT_FALSE(series("Series17")->isVisible());
    EXPECT_EQ(figures.RxBytesBaseDate, QStringLiteral("old"));

    figures.RxBytesTotal = 20; // the router restarted its counter
    poll();
    EXPECT_EQ(figures.RxBytesBase, 20);
    EXPECT_EQ(figures.RxBytesBaseDate, QStringLiteral("06 Dec 26  09:30:15"));
    EXPECT_EQ(series("Series17")->lastValue(), 0);
}

TEST_F(TelnetPlottingTest, ResetNowRebasesBothDirections)
{
    figures.RxBytesTotal = 12.5;
    figures.TxBytesTotal = 3.25;
    charts.rightAxis(23).setLimitsInSafeOrder(200, 300);
    plotting.SetMinimum();
    EXPECT_EQ(figures.RxBytesBase, 12.5);
    EXPECT_EQ(figures.TxBytesBase, 3.25);
    EXPECT_EQ(figures.TxBytesBaseDate, QStringLiteral("06 Dec 26  09:30:15"));
    for (int chart : {23, 24}) {
        EXPECT_DOUBLE_EQ(charts.rightAxis(chart).minimum(), -0.1);
        EXPECT_DOUBLE_EQ(charts.rightAxis(chart).maximum(), 10);
    }
}

TEST_F(TelnetPlottingTest, LogItemsNamesAndValues)
{
    settings.LogTelnetFlags[0] = true;  // TelnetRxNoise
    settings.LogTelnetFlags[1] = true;  // TelnetRxSync
    settings.LogTelnetFlags[2] = true;  // Chart5, slot 0
    settings.LogTelnetFlags[3] = true;  // Chart6, box off: no item
    settings.Telnet.cbICRC = true;
    settings.Graph.Latest15 = true;
    settings.Telnet.V123 = true;
    settings.Telnet.cbUserDown = true;
    settings.Telnet.LogUserDown = true;
    settings.Telnet.UserDownText = QStringLiteral("Attn down");
    settings.Telnet.User1Rx = true;
    settings.Telnet.cbUserUp = true;
    settings.Telnet.LogUserUp = true;
    settings.Telnet.UserUpText = QStringLiteral("Pwr");
    settings.Telnet.User2Rx = false;
    settings.Telnet.TxTotal = true;
    settings.Telnet.TxShowIncremental = true;
    settings.Log.TxTotal = true;
    settings.Log.TxTotalInc = true;
    figures.TelnetRxNoise = 6.4567f;
    figures.TelnetRxSync = 8128;
    figures.TelnetUserDown = 41.5;
    figures.TelnetUserUp = 12;
    figures.TelnetCounters[0] = 77;
    figures.TxBytesBase = 1;
    figures.TxBytesTotal = 3.5;

    const QList<LogItem> items = poll();
    const QList<QPair<QString, QString>> expected = {
        {"TelnetRxNoise", "6.46"},
        {"TelnetRxSync", "8128"},
        {"Attndown(Rx)", "41.5"},
        {"Pwr(Tx)", "12"},
        {"RxInterleavedCRC", "77"}, // the counter, not its increment
        {"TxMiBytes(ppp0)", "3.500"},
        {"TxMiBytes(incremental)", "2.500"},
    };
    ASSERT_EQ(items.size(), expected.size());
    for (int i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].name, expected[i].first) << i;
        EXPECT_EQ(items[i].value, expected[i].second) << i;
    }
    // The user charts were fitted to their first value.
    EXPECT_TRUE(settings.Telnet.User1Adjusted);
    EXPECT_TRUE(settings.Telnet.User2Adjusted);

    // No reply read since: the same items without values, a gap on every chart.
    const QList<LogItem> none = pollWithoutReading();
    ASSERT_EQ(none.size(), expected.size());
    for (int i = 0; i < none.size(); ++i) {
        EXPECT_EQ(none[i].name, expected[i].first) << i;
        EXPECT_TRUE(none[i].value.isEmpty()) << i;
    }
    for (const char *name : {"FastLineSeries1", "FastLineSeries2", "LineSeries2", "LineSeries21", "Series18"}) {
        EXPECT_EQ(series(name)->count(), 2) << name;
        EXPECT_TRUE(std::isnan(series(name)->lastValue())) << name;
    }
}
