// A poll's points on the status-page charts: colours, gap marks, averages,
// holes for text figures and the timeline scroll.
#include "charts/AxisScaling.h"
#include "charts/ChartSet.h"
#include "charts/PlottingStep.h"
#include "settings/ColourNames.h"
#include "settings/SettingsStore.h"

#include <qcustomplot.h>

#include <cmath>
#include <gtest/gtest.h>

namespace {

struct PlottingTest : ::testing::Test {
    TSettings settings = [] {
        SettingsEnvironment env;
        env.settingsPath = QStringLiteral("/nonexistent/veltrano.ini");
        env.now = QDateTime(QDate(2026, 12, 6), QTime(8, 0));
        return settingsstore::load(env).settings;
    }();
    RunState run;
    ChartSet charts;
    AxisScaling scaling{charts, settings};
    PlottingStep plotting{charts, scaling, settings, run};

    void SetUp() override { charts.applyStartup(settings); }

    TColor poll(float rxNoise, TColor colour = 0)
    {
        run.Figures.RxNoise = rxNoise;
        run.Figures.RxSync = 8128;
        return plotting.plotHttp(colour ? colour : settings.Graph.NoiseColour, QStringLiteral(" 08:00:00 "));
    }

    ChartSeries *series(const char *name) { return charts.series(QLatin1String(name)); }
    QColor colourOf(const char *name) { return series(name)->colourAt(series(name)->count() - 1); }
};

QColor qc(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

} // namespace

TEST_F(PlottingTest, ThresholdsTurnTheNoisePointToTheAlarmColour)
{
    settings.Alarm.NoiseBelow = true;
    settings.Alarm.NoiseBelowVal = 3;
    settings.Alarm.AllAlarms = true;
    EXPECT_EQ(poll(6.5), settings.Graph.NoiseColour);
    EXPECT_EQ(colourOf("Series1"), qc(settings.Graph.NoiseColour));
    EXPECT_FALSE(run.IconAlarmState);

    EXPECT_EQ(poll(2.5), settings.Graph.AlarmColour);
    EXPECT_EQ(colourOf("Series1"), qc(settings.Graph.AlarmColour));
    EXPECT_EQ(colourOf("LineSeries15"), qc(settings.Graph.AlarmColour));
    EXPECT_TRUE(run.IconAlarmState);

    // Exactly at the set point is no alarm.
    run.IconAlarmState = false;
    EXPECT_EQ(poll(3), settings.Graph.NoiseColour);

    // The thresholds belong to the Rx noise chart: without it nothing turns red.
    settings.Graph.cbHNoise = false;
    poll(2.5);
    EXPECT_EQ(colourOf("LineSeries15"), qc(settings.Graph.NoiseColour));
    EXPECT_FALSE(run.IconAlarmState);
}

TEST_F(PlottingTest, NoAnswerPlotsZerosInTheNoResponseColourEverywhere)
{
    run.Figures = SampleFigures{};
    plotting.plotHttp(settings.Graph.NoRespondColour, QStringLiteral(" 08:00:00 "));
    for (const char *name : {"Series1", "LineSeries15", "Series2", "LineSeries17", "Series3", "LineSeries16"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(series(name)->lastValue(), 0);
        EXPECT_EQ(colourOf(name), qc(settings.Graph.NoRespondColour));
    }
}

TEST_F(PlottingTest, GapMarksStandAtThePollsOwnPointEvenWhenHidden)
{
    settings.Graph.ShowGaps = false;
    plotting.noteGap(false, false);
    poll(6.5);
    const double chart1Min = charts.leftAxis(1).minimum();
    EXPECT_EQ(series("Series21")->lastValue(), chart1Min - 150);
    EXPECT_EQ(series("Series22")->lastValue(), -999);

    plotting.noteGap(false, true);
    poll(6.5);
    EXPECT_EQ(series("Series21")->lastValue(), charts.leftAxis(1).maximum() + 150);
    EXPECT_EQ(series("Series22")->lastValue(), 99999);
    EXPECT_EQ(series("Series25")->lastValue(), charts.leftAxis(3).maximum() + 999);
    EXPECT_EQ(colourOf("Series21"), qc(settings.Graph.GapColour));
    EXPECT_FALSE(series("Series21")->isVisible());

    // One mark per poll: the gap series stay in step with the values.
    poll(6.5);
    for (const char *name : {"Series21", "Series22", "Series23", "Series24", "Series25", "Series26"})
        EXPECT_EQ(series(name)->count(), series("Series1")->count()) << name;
}

TEST_F(PlottingTest, AveragesTakeTheLastNPointsOrAllWhenFewer)
{
    settings.Graph.RxNoiseAvg = true;
    settings.Graph.RxNoiseAvgSamples = 3;
    poll(1);
    EXPECT_FLOAT_EQ(series("Series5")->lastValue(), 1);
    poll(2);
    EXPECT_FLOAT_EQ(series("Series5")->lastValue(), 1.5);
    poll(3);
    poll(4);
    EXPECT_FLOAT_EQ(series("Series5")->lastValue(), 3);
    EXPECT_TRUE(series("Series5")->isVisible());
    EXPECT_EQ(series("Series5")->count(), series("Series1")->count());
}

TEST_F(PlottingTest, ATextUserFigureLeavesAHoleAndGreysItsAxis)
{
    settings.Graph.NotANumber = true;
    run.Figures.UserValue1 = 42;
    poll(6.5);
    EXPECT_TRUE(std::isnan(series("Series3")->lastValue()));
    EXPECT_EQ(charts.chart(3)->yAxis->tickLabelColor(), QColor(128, 128, 128));
    settings.Graph.NotANumber = false;
    poll(6.5);
    EXPECT_EQ(series("Series3")->lastValue(), 42);
    EXPECT_EQ(charts.chart(3)->yAxis->tickLabelColor(), QColor(Qt::black));
}

TEST_F(PlottingTest, TheNewestPointSitsAtTheRightEdgeOnceAPageIsFull)
{
    settings.System.Points = 50;
    charts.setPagePoints(50);
    charts.applyPageWidth();
    for (int i = 0; i < 49; ++i)
        poll(6.5);
    plotting.scrollTimeline();
    EXPECT_EQ(charts.bottomAxis(1).maximum(), 50);
    for (int i = 0; i < 11; ++i)
        poll(6.5);
    plotting.scrollTimeline();
    EXPECT_EQ(charts.bottomAxis(1).maximum(), 59);
    EXPECT_EQ(charts.bottomAxis(1).maximum() - charts.bottomAxis(1).minimum(), 50);
}

TEST_F(PlottingTest, AValueAtTheAxisMaximumShowsItsOverRangeSign)
{
    settings.Graph.RxNoiseAuto = false;
    poll(static_cast<float>(charts.leftAxis(1).maximum()));
    EXPECT_TRUE(plotting.indicatorsShown().contains(QStringLiteral("Image136")));
    poll(1);
    EXPECT_FALSE(plotting.indicatorsShown().contains(QStringLiteral("Image136")));
}

TEST_F(PlottingTest, AveragePointsCarryThePollsLabel)
{
    settings.Graph.RxNoiseAvg = true;
    run.Figures.RxNoise = 6;
    plotting.plotHttp(settings.Graph.NoiseColour, QStringLiteral(" 23:59:40 "));
    for (const char *avg : {"Series5", "Series6", "Series7", "Series8"}) {
        ChartSeries *s = series(avg);
        ASSERT_EQ(s->count(), 1) << avg;
        EXPECT_EQ(s->labelAt(0).value_or(QString()), QStringLiteral(" 23:59:40 ")) << avg;
    }
}
