// The ping chart: both series get each time, its colour, the shown series,
// the log item and the spin and data-pane rules.
#include "ChartTestSupport.h"
#include "charts/AxisScaling.h"
#include "charts/ChartSeries.h"
#include "charts/ChartSet.h"
#include "charts/PingPlotting.h"

#include <gtest/gtest.h>

namespace {

QColor qc(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

struct PingPlottingTest : ::testing::Test {
    TSettings settings = charttest::defaultSettings();
    ChartSet charts;
    AxisScaling scaling{charts, settings};
    PingPlotting plotting{scaling};

    void SetUp() override { charts.applyStartup(settings); }
    ChartSeries *series(const char *name) { return charts.series(QLatin1String(name)); }
};

} // namespace

TEST_F(PingPlottingTest, BothSeriesGetEachTimeInItsColour)
{
    struct Case {
        double value;
        TColor colour;
    } cases[] = {{23, 16711680}, {999.9, 16711680}, {1000, 255}, {1500, 255}};
    qint64 n = 0;
    for (const Case &c : cases) {
        plotting.plotPing(c.value, QStringLiteral(" 09:30:15"));
        ++n;
        for (const char *name : {"Series19", "Series20"}) {
            SCOPED_TRACE(name);
            ChartSeries *s = series(name);
            ASSERT_EQ(s->count(), n);
            EXPECT_DOUBLE_EQ(s->lastValue(), c.value);
            EXPECT_EQ(s->colourAt(n - 1), qc(c.colour));
            EXPECT_EQ(s->labelAt(n - 1).value_or(QString()), QStringLiteral(" 09:30:15"));
        }
    }
}

TEST_F(PingPlottingTest, FilledShowsExactlyOneSeries)
{
    for (bool filled : {true, false, true}) {
        PingPlotting::applyFilled(charts, filled);
        EXPECT_EQ(series("Series20")->isVisible(), filled);
        EXPECT_EQ(series("Series19")->isVisible(), !filled);
    }
}

TEST(PingPlottingRules, LogItemAndPackets)
{
    const LogItem item = PingPlotting::logItem(23);
    EXPECT_EQ(item.name, QStringLiteral("Ping"));
    EXPECT_EQ(item.value, QStringLiteral("23"));
    EXPECT_EQ(PingPlotting::clampPacketCount(5), 3);
    EXPECT_EQ(PingPlotting::clampPacketCount(0), 1);
    EXPECT_EQ(PingPlotting::clampPacketCount(2), 2);
}
