// The chart set: stored limits with the abandon rule, start-up limits, the
// history cap, the timeline, the swaps, the point labels and per-point colours.
#include "ChartTestSupport.h"
#include "charts/ChartSet.h"
#include "settings/ColourNames.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>
#include <qcustomplot.h>

namespace {

struct Range {
    double min;
    double max;
};

Range leftRange(ChartSet &set, int chart)
{
    const ChartAxis a = set.leftAxis(chart);
    return {a.minimum(), a.maximum()};
}

void fill(ChartSeries *s, int n, double value = 1.0)
{
    for (int i = 0; i < n; ++i)
        s->add(value, QStringLiteral(" p%1").arg(s->count()), QColor());
}

} // namespace

TEST(ChartSet, StoredLimitsAppliedMaximumFirstAndAbandonedAtTheFirstRefusal)
{
    struct Case {
        const char *name;
        std::function<void(TSettings &)> set;
        bool complete;
        std::vector<std::tuple<int, double, double>> expect; // chart, min, max
    };
    const Case cases[] = {
        {"defaults", [](TSettings &) {}, true, {{18, 0, 10}, {31, 0, 10}}},
        {"every pair upward",
         [](TSettings &s) {
             s.Graph.TxNoiseMax = 20, s.Graph.TxNoiseMin = 5;
             s.Graph.Chart17Max = 500, s.Graph.Chart17Min = 400;
             s.Graph.Chart31Max = 99, s.Graph.Chart31Min = 1;
         },
         true, {{18, 5, 20}, {17, 400, 500}, {31, 1, 99}}},
        {"a maximum below the form's minimum",
         [](TSettings &s) {
             s.Graph.Chart5Max = 40;   // before the bad pair: applied
             s.Graph.Chart7Max = -5;   // refused: 0..10 is kept
             s.Graph.Chart7Min = -9;
             s.Graph.Chart23Max = 50;  // after it: never applied
             s.Graph.Chart31Max = 70;
         },
         false, {{5, 0, 40}, {7, 0, 10}, {23, 0, 10}, {31, 0, 10}}},
        {"a minimum above its maximum",
         [](TSettings &s) {
             s.Graph.Chart16Max = 10, s.Graph.Chart16Min = 20;
             s.Graph.Chart17Max = 30;
         },
         false, {{18, 0, 10}, {16, 0, 10}, {17, 0, 10}}},
        {"a range wholly below zero is refused",
         [](TSettings &s) { s.Graph.TxSyncMax = -10, s.Graph.TxSyncMin = -20, s.Graph.Chart16Max = 44; }, false,
         {{20, 0, 10}, {16, 0, 10}}},
    };
    for (const Case &c : cases) {
        TSettings s = charttest::defaultSettings();
        c.set(s);
        ChartSet set;
        EXPECT_EQ(set.applyStoredLimits(s), c.complete) << c.name;
        for (const auto &[chart, min, max] : c.expect) {
            const Range r = leftRange(set, chart);
            EXPECT_DOUBLE_EQ(r.min, min) << c.name << " Chart" << chart;
            EXPECT_DOUBLE_EQ(r.max, max) << c.name << " Chart" << chart;
        }
    }
}

TEST(ChartSet, StartupLimitsOfTheStatusPageChartsMayLieWhollyOutsideTheDesignRange)
{
    TSettings s = charttest::defaultSettings();
    s.Graph.NoiseMin = 40, s.Graph.NoiseMax = 60;
    s.Graph.SyncMin = 9000, s.Graph.SyncMax = 12000;
    s.Graph.UserAuto = false, s.Graph.UserMin = -50, s.Graph.UserMax = -20;
    s.Graph.User1Min = 7, s.Graph.User1Max = 9; // User1Auto on: the design range stays
    s.Ping.Min = 0, s.Ping.MaxAxis = 50, s.Ping.Max = 300;
    ChartSet set;
    set.applyHttpLimits(s);
    const std::tuple<int, double, double> expect[] = {
        {1, 40, 60}, {2, 9000, 12000}, {3, -50, -20}, {19, 0, 100}, {25, 0, 300}};
    for (const auto &[chart, min, max] : expect) {
        EXPECT_DOUBLE_EQ(leftRange(set, chart).min, min) << chart;
        EXPECT_DOUBLE_EQ(leftRange(set, chart).max, max) << chart;
    }
    EXPECT_DOUBLE_EQ(set.rightAxis(1).maximum(), 12000);
    EXPECT_DOUBLE_EQ(set.rightAxis(1).minimum(), 9000);

    // A maximum not above the minimum leaves the chart alone.
    TSettings bad = charttest::defaultSettings();
    bad.Graph.NoiseMin = 30, bad.Graph.NoiseMax = 30;
    ChartSet other;
    other.applyHttpLimits(bad);
    EXPECT_DOUBLE_EQ(leftRange(other, 1).min, -1);
    EXPECT_DOUBLE_EQ(leftRange(other, 1).max, 25);
}

TEST(ChartSet, HistoryCapDropsTheOldestBlockAndKeepsAbsoluteIndexes)
{
    ChartSet set;
    ChartSeries *s = set.series(QStringLiteral("LineSeries15"));
    EXPECT_EQ(s->historyCap(), 200000);
    s->setHistoryCap(10, 4);
    for (int i = 0; i < 25; ++i)
        s->add(i * 1.5, QStringLiteral("L%1").arg(i), QColor(Qt::red));
    EXPECT_EQ(s->count(), 25);
    EXPECT_LE(s->keptCount(), 10);
    EXPECT_GE(s->keptCount(), 7);
    EXPECT_EQ(s->firstIndex() + s->keptCount(), 25);
    EXPECT_EQ(s->firstIndex() % 4, 0) << "dropped in whole blocks";
    const auto *graph = static_cast<QCPGraph *>(s->plottable());
    ASSERT_EQ(graph->dataCount(), int(s->keptCount()));
    for (qint64 i = s->firstIndex(); i < 25; ++i) {
        EXPECT_DOUBLE_EQ(s->valueAt(i), i * 1.5);
        EXPECT_EQ(s->labelAt(i).value_or(QString()), QStringLiteral("L%1").arg(i));
        EXPECT_DOUBLE_EQ(graph->data()->at(int(i - s->firstIndex()))->key, double(i));
    }
    EXPECT_TRUE(std::isnan(s->valueAt(s->firstIndex() - 1)));
    EXPECT_FALSE(s->labelAt(s->firstIndex() - 1).has_value());
    EXPECT_DOUBLE_EQ(s->lastValue(), 24 * 1.5);

    // The timeline counts every point added, not only those kept.
    set.setPagePoints(20);
    set.applyPageWidth();
    set.scrollTimeline();
    EXPECT_DOUBLE_EQ(set.bottomAxis(18).maximum(), 24);
    EXPECT_DOUBLE_EQ(set.bottomAxis(18).minimum(), 4);

    s->clear();
    EXPECT_EQ(s->count(), 0);
    EXPECT_TRUE(std::isnan(s->lastValue()));
}

TEST(ChartSet, AverageOfTheLastPoints)
{
    ChartSet set;
    ChartSeries *s = set.series(QStringLiteral("Series1"));
    EXPECT_FLOAT_EQ(s->meanOfLast(100), 0.0f);
    for (int v = 1; v <= 5; ++v)
        s->add(v);
    const std::pair<qint64, float> cases[] = {{100, 3.0f}, {5, 3.0f}, {2, 4.5f}, {1, 5.0f}};
    for (const auto &[n, mean] : cases)
        EXPECT_FLOAT_EQ(s->meanOfLast(n), mean) << n;
}

TEST(ChartSet, TimelineScrollsOnceAPageIsFullAndFollowsTheZoom)
{
    ChartSet set;
    set.setPagePoints(250);
    set.applyPageWidth();
    ChartSeries *tx = set.series(QStringLiteral("LineSeries15"));
    ChartSeries *bits = set.series(QStringLiteral("BarSeries3")); // Chart28 is not scrolled
    fill(tx, 249);
    fill(bits, 300);
    set.scrollTimeline();
    EXPECT_DOUBLE_EQ(set.bottomAxis(18).minimum(), 0);
    EXPECT_DOUBLE_EQ(set.bottomAxis(18).maximum(), 250);

    fill(tx, 1);
    set.scrollTimeline();
    EXPECT_DOUBLE_EQ(set.bottomAxis(18).maximum(), 249);
    EXPECT_DOUBLE_EQ(set.bottomAxis(18).minimum(), -1);
    fill(tx, 10);
    set.scrollTimeline();
    EXPECT_DOUBLE_EQ(set.bottomAxis(18).maximum(), 259);
    EXPECT_DOUBLE_EQ(set.bottomAxis(28).minimum(), 0);
    EXPECT_DOUBLE_EQ(set.bottomAxis(28).maximum(), 250);
    // An empty chart keeps its page.
    EXPECT_DOUBLE_EQ(set.bottomAxis(20).maximum(), 250);

    set.setTimelineExpandFactor(8);
    set.applyPageWidth();
    EXPECT_DOUBLE_EQ(set.bottomAxis(20).maximum() - set.bottomAxis(20).minimum(), 31.25);
    EXPECT_DOUBLE_EQ(set.bottomAxis(28).maximum() - set.bottomAxis(28).minimum(), 31.25);
    EXPECT_DOUBLE_EQ(set.bottomAxis(21).maximum(), 512) << "tone charts keep their own page";
    set.scrollTimeline();
    EXPECT_DOUBLE_EQ(set.bottomAxis(18).maximum(), 259);
    EXPECT_DOUBLE_EQ(set.bottomAxis(18).minimum(), 259 - 31.25);
}

TEST(ChartSet, SwapExchangesTheFirstTwoSeriesButNotTheValueSeries)
{
    ChartSet set;
    QCustomPlot *plot = set.chart(1);
    const auto drawn = [plot] {
        QStringList names;
        for (QCPLayerable *l : plot->layer(QStringLiteral("main"))->children())
            if (auto *p = qobject_cast<QCPAbstractPlottable *>(l))
                names << p->name();
        return names;
    };
    set.swapFirstTwo(1);
    EXPECT_TRUE(set.isSwapped(1));
    EXPECT_EQ(set.seriesAt(1, 0)->name(), QStringLiteral("Series1"));
    EXPECT_EQ(set.seriesAt(1, 1)->name(), QStringLiteral("Series5"));
    EXPECT_EQ(drawn(), (QStringList{"Series1", "Series5", "Series9", "Series21"}));
    EXPECT_EQ(set.valueSeries(1)->name(), QStringLiteral("Series1"));
    EXPECT_EQ(set.averageSeries(1)->name(), QStringLiteral("Series5"));
    set.swapFirstTwo(1);
    EXPECT_FALSE(set.isSwapped(1));
    EXPECT_EQ(drawn(), (QStringList{"Series5", "Series1", "Series9", "Series21"}));

    TSettings s = charttest::defaultSettings();
    s.Graph.SwapUser2 = true;
    s.Graph.TelnetSwapRxNoise = true;
    ChartSet started;
    started.applyStartup(s);
    EXPECT_EQ(started.seriesAt(19, 0)->name(), QStringLiteral("LineSeries16"));
    EXPECT_EQ(started.seriesAt(16, 0)->name(), QStringLiteral("LineSeries13"));
    EXPECT_EQ(started.seriesAt(1, 0)->name(), QStringLiteral("Series5"));
}

TEST(ChartSet, BottomAxisShowsThePointLabelsRotatedAndSpacedOut)
{
    ChartSet set;
    set.setPagePoints(250);
    set.applyPageWidth();
    QCustomPlot *plot = set.chart(18);
    plot->resize(800, 400);
    ChartSeries *s = set.series(QStringLiteral("LineSeries15"));
    for (int i = 0; i < 300; ++i)
        s->add(5, QStringLiteral(" 10:%1:00").arg(i % 60, 2, 10, QLatin1Char('0')), QColor(Qt::blue));
    set.scrollTimeline();
    plot->replot();

    EXPECT_DOUBLE_EQ(plot->xAxis->tickLabelRotation(), 90);
    const QVector<double> ticks = plot->xAxis->tickVector();
    const QVector<QString> labels = plot->xAxis->tickVectorLabels();
    ASSERT_GE(ticks.size(), 2);
    ASSERT_EQ(ticks.size(), labels.size());
    for (int i = 0; i < ticks.size(); ++i) {
        EXPECT_EQ(ticks[i], std::floor(ticks[i])) << "ticks sit on points";
        EXPECT_EQ(labels[i], s->labelAt(qint64(ticks[i])).value_or(QStringLiteral("?")));
        EXPECT_LT(ticks[i], 300) << "no tick beyond the newest point";
        if (i > 0) {
            EXPECT_GE(plot->xAxis->coordToPixel(ticks[i]) - plot->xAxis->coordToPixel(ticks[i - 1]), 100.0 - 1e-9);
        }
    }
}

namespace {

// Renders the plot without antialiasing and reads the pixel at a data point.
struct Rendered {
    QImage image;
    QCPAxis *x;
    QCPAxis *y;
    QColor at(double key, double value) const
    {
        return image.pixelColor(int(std::lround(x->coordToPixel(key))), int(std::lround(y->coordToPixel(value))));
    }
};

Rendered render(QCustomPlot *plot, QCPAxis *valueAxis)
{
    plot->setNotAntialiasedElements(QCP::aeAll);
    for (QCPAxis *a : {plot->xAxis, plot->yAxis, plot->yAxis2})
        a->grid()->setVisible(false);
    plot->resize(400, 300);
    // The first render of a process settles fonts and margins; sample the second.
    plot->replot();
    plot->toPixmap();
    plot->replot();
    return {plot->toPixmap().toImage(), plot->xAxis, valueAxis};
}

} // namespace

TEST(ChartSet, EachSegmentTakesTheColourOfThePointItLeadsTo)
{
    ChartSet set;
    QCustomPlot *plot = set.chart(18);
    set.leftAxis(18).setLimitsInSafeOrder(0, 10);
    set.bottomAxis(18).setLimitsInSafeOrder(-0.5, 3.5);
    ChartSeries *s = set.series(QStringLiteral("LineSeries15"));
    s->setPenWidth(3);
    set.series(QStringLiteral("Series23"))->setVisible(false);
    const QColor colours[] = {Qt::black, Qt::red, QColor(255, 0, 255), Qt::blue};
    for (const QColor &c : colours)
        s->add(5, QString(), c);
    const Rendered r = render(plot, plot->yAxis);
    EXPECT_EQ(r.at(0.5, 5), QColor(Qt::red));
    EXPECT_EQ(r.at(1.5, 5), QColor(255, 0, 255));
    EXPECT_EQ(r.at(2.5, 5), QColor(Qt::blue));
    EXPECT_EQ(r.at(0.5, 8), QColor(Qt::white)) << "nothing drawn off the line";

    // A point without its own colour is drawn in the series colour.
    s->clear();
    s->setColour(Qt::green);
    s->add(5);
    s->add(5);
    const Rendered plain = render(plot, plot->yAxis);
    EXPECT_EQ(plain.at(0.5, 5), QColor(Qt::green));
}

TEST(ChartSet, GapStairsRiseThroughThePlotFromFarBelowToFarAbove)
{
    ChartSet set;
    QCustomPlot *plot = set.chart(2);
    set.bottomAxis(2).setLimitsInSafeOrder(-0.5, 3.5);
    ChartSeries *gaps = set.series(QStringLiteral("Series22"));
    gaps->setPenWidth(3);
    const QColor back(Qt::white), gap(0x85, 0x9F, 0xA7);
    gaps->add(-999, QStringLiteral(" 10:00"), back);
    gaps->add(99999, QString(), gap);
    gaps->add(99999, QString(), gap);
    gaps->add(-999, QStringLiteral(" 10:20"), back);
    const Rendered r = render(plot, plot->yAxis);
    EXPECT_EQ(r.at(1, 4500), gap) << "the rise at the gap";
    EXPECT_EQ(r.at(0.5, 4500), back);
    EXPECT_EQ(r.at(3, 4500), back) << "the fall is drawn in the background colour";
}

TEST(ChartSet, BarsTakeTheirOwnColours)
{
    ChartSet set;
    QCustomPlot *plot = set.chart(29);
    set.bottomAxis(29).setLimitsInSafeOrder(-0.5, 2.5);
    ChartSeries *bars = set.series(QStringLiteral("Series16"));
    bars->add(8, QStringLiteral("0"), QColor(Qt::red));
    bars->add(8, QStringLiteral("1"));
    bars->add(8, QStringLiteral("2"), QColor(Qt::green));
    const Rendered r = render(plot, plot->yAxis);
    EXPECT_EQ(r.at(0, 4), QColor(Qt::red));
    EXPECT_EQ(r.at(1, 4), bars->colour());
    EXPECT_EQ(r.at(2, 4), QColor(Qt::green));
    EXPECT_EQ(r.at(1, 9), QColor(Qt::white));
}

TEST(ChartSet, StartupLookFollowsTheSettings)
{
    TSettings s = charttest::defaultSettings();
    s.Graph.UserLabel = QStringLiteral("Errors");
    s.Graph.ScaleUser1 = 10;
    s.Graph.UserLabel2 = QStringLiteral("Drops");
    s.Graph.DiffUserDef1 = true;
    s.Graph.ShowSync = true;
    s.Graph.ShowGaps = false;
    s.Graph.Stairs = true;
    s.Graph.NoiseColour = 0x008000;
    s.Ping.Filled = true;
    s.System.Points = 300;
    s.Graph.UserBack = 0x00FFFF;
    s.Graph.AvgColour = colours::clNone;
    ChartSet set;
    set.applyStartup(s);
    EXPECT_EQ(set.chart(5)->axisRect()->backgroundBrush().color(), QColor(Qt::yellow));
    EXPECT_EQ(set.series(QStringLiteral("Series5"))->colour(), QColor(255, 0, 255)) << "no colour keeps the design one";
    EXPECT_EQ(set.chart(3)->yAxis->label(), QStringLiteral("Errors x10"));
    EXPECT_EQ(set.chart(19)->yAxis->label(), QStringLiteral("Drops (per sample)"));
    EXPECT_EQ(set.chart(30)->yAxis->label(), QStringLiteral("User-defined 1"));
    EXPECT_TRUE(set.chart(1)->yAxis2->visible());
    EXPECT_TRUE(set.series(QStringLiteral("Series9"))->isVisible());
    EXPECT_FALSE(set.chart(16)->yAxis2->visible());
    EXPECT_FALSE(set.series(QStringLiteral("Series21"))->isVisible());
    EXPECT_TRUE(set.series(QStringLiteral("Series3"))->isStairs());
    EXPECT_EQ(set.series(QStringLiteral("Series1"))->colour(), QColor(0, 128, 0));
    EXPECT_EQ(set.chart(1)->yAxis->labelColor(), QColor(0, 128, 0));
    EXPECT_TRUE(set.series(QStringLiteral("Series20"))->isVisible());
    EXPECT_FALSE(set.series(QStringLiteral("Series19"))->isVisible());
    EXPECT_DOUBLE_EQ(set.bottomAxis(5).maximum(), 300);
    EXPECT_DOUBLE_EQ(set.rightAxis(21).maximum(), 64);
}
