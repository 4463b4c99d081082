// The compact chart history: the plot holds only the points around what its
// axis shows and is filled in again as the axis moves; labels are kept once for
// all series and let go when no series refers to them; point colours survive.
#include "charts/ChartPlot.h"
#include "charts/ChartSet.h"
#include "charts/TimeLabels.h"

#include <gtest/gtest.h>
#include <qcustomplot.h>

namespace {

QString label(qint64 poll) { return QStringLiteral(" p%1 ").arg(poll); }

// What the plot itself would draw at x, NaN when it does not hold x.
double plotted(ChartSeries *s, qint64 x)
{
    const auto *graph = static_cast<QCPGraph *>(s->plottable());
    auto it = graph->data()->findBegin(double(x), false);
    return it != graph->data()->constEnd() && it->key == double(x) ? it->value
                                                                     : std::numeric_limits<double>::quiet_NaN();
}

} // namespace

TEST(ChartHistory, ThePlotHoldsTheShownPagesAndIsRefilledWhenTheAxisMoves)
{
    ChartSet set;
    set.setPagePoints(250);
    set.applyPageWidth();
    ChartSeries *s = set.series(QStringLiteral("LineSeries15"));
    for (qint64 i = 0; i < 20000; ++i) {
        s->add(double(i % 1000) / 4, label(i), i % 7 ? QColor() : QColor(Qt::red));
        set.scrollTimeline();
    }
    EXPECT_EQ(s->keptCount(), 20000);
    EXPECT_LE(s->plottedCount(), 4 * 250 + 8) << "the plot holds a few pages, not the whole history";
    EXPECT_DOUBLE_EQ(plotted(s, 19999), 999.0 / 4);

    const struct {
        double lower, upper;
    } views[] = {{100, 350}, {0, 20000}, {19000, 19250}, {5000.5, 5003.5}};
    for (const auto &v : views) {
        set.chart(18)->xAxis->setRange(v.lower, v.upper);
        for (qint64 x : {qint64(v.lower), qint64((v.lower + v.upper) / 2), qint64(v.upper) - 1})
            EXPECT_DOUBLE_EQ(plotted(s, x), double(x % 1000) / 4) << v.lower << ".." << v.upper << " x " << x;
        // The lines leaving the picture on both sides are there too.
        if (v.lower >= 1) {
            EXPECT_FALSE(std::isnan(plotted(s, qint64(v.lower) - 1))) << v.lower;
        }
    }
    // The history itself is whole: values, labels and colours of every point.
    for (qint64 i : {qint64(0), qint64(6), qint64(7), qint64(12345), qint64(19999)}) {
        EXPECT_DOUBLE_EQ(s->valueAt(i), double(i % 1000) / 4) << i;
        EXPECT_EQ(s->labelAt(i).value_or(QString()), label(i)) << i;
        EXPECT_EQ(s->colourAt(i), i % 7 ? QColor() : QColor(Qt::red)) << i;
    }
}

TEST(ChartHistory, PointsAddedWhileTheAxisLooksBackAppearWhenItReturns)
{
    ChartSet set;
    set.setPagePoints(100);
    set.applyPageWidth();
    ChartSeries *s = set.series(QStringLiteral("LineSeries15"));
    for (qint64 i = 0; i < 1000; ++i) {
        s->add(double(i), label(i));
        set.scrollTimeline();
    }
    set.chart(18)->xAxis->setRange(10, 110); // the user looks at the start
    for (qint64 i = 1000; i < 1500; ++i)
        s->add(double(i), label(i));
    EXPECT_TRUE(std::isnan(plotted(s, 1499)));
    set.scrollTimeline();
    for (qint64 x : {1400, 1450, 1499})
        EXPECT_DOUBLE_EQ(plotted(s, x), double(x)) << x;
}

TEST(ChartHistory, TheCapDropsFromThePlotAndTheHistoryTogether)
{
    ChartSet set;
    set.setPagePoints(50);
    set.applyPageWidth();
    ChartSeries *s = set.series(QStringLiteral("LineSeries15"));
    s->setHistoryCap(300, 100);
    set.chart(18)->xAxis->setRange(0, 100000); // everything in view
    for (qint64 i = 0; i < 1000; ++i)
        s->add(double(i), label(i));
    const auto *graph = static_cast<QCPGraph *>(s->plottable());
    ASSERT_GT(graph->dataCount(), 0);
    EXPECT_GE(graph->data()->constBegin()->key, double(s->firstIndex()));
    EXPECT_EQ(graph->dataCount(), int(s->keptCount()));
    EXPECT_DOUBLE_EQ((graph->data()->constEnd() - 1)->key, 999.0);
}

TEST(ChartHistory, LabelsAreKeptOnceForAllSeriesAndLetGoWhenNoSeriesNeedsThem)
{
    TimeLabels &labels = TimeLabels::shared();
    ChartSet set;
    std::vector<ChartSeries *> series;
    for (const char *name : {"Series1", "LineSeries15", "Series2", "LineSeries17", "Series21"})
        series.push_back(set.series(QLatin1String(name)));
    for (ChartSeries *s : series)
        s->setHistoryCap(1000, 500);

    const qsizetype before = labels.size();
    for (qint64 poll = 0; poll < 900; ++poll)
        for (ChartSeries *s : series)
            s->add(1.0, s == series.back() && poll % 50 == 0 ? QString() : label(poll));
    EXPECT_LE(labels.size() - before, 900) << "one label a poll, whatever the number of series";
    EXPECT_EQ(series.back()->labelAt(50).value_or(QStringLiteral("?")), QString());
    EXPECT_EQ(series.back()->labelAt(51).value_or(QString()), label(51));

    // Far past the cap, old labels go; those still shown remain right.
    for (qint64 poll = 900; poll < 20000; ++poll)
        for (ChartSeries *s : series)
            s->add(1.0, label(poll));
    labels.trim();
    EXPECT_LT(labels.size(), 2000);
    for (ChartSeries *s : series) {
        EXPECT_EQ(s->labelAt(s->firstIndex()).value_or(QString()), label(s->firstIndex()));
        EXPECT_EQ(s->labelAt(19999).value_or(QString()), label(19999));
    }
}

TEST(ChartHistory, AHiddenChartGivesBackItsPaintBufferAndDrawsTheSameWhenShownAgain)
{
    ChartSet set;
    ChartSeries *s = set.series(QStringLiteral("LineSeries15"));
    for (int i = 0; i < 200; ++i)
        s->add(double(i % 10), label(i));
    auto *plot = qobject_cast<ChartPlot *>(set.chart(18));
    ASSERT_NE(plot, nullptr);
    plot->resize(400, 300);
    plot->show();
    plot->replot();
    ASSERT_GT(plot->paintBufferCount(), 0);
    const QImage before = plot->grab().toImage();

    plot->hide();
    EXPECT_EQ(plot->paintBufferCount(), 0);
    plot->replot(); // an image made meanwhile
    QCoreApplication::processEvents();
    EXPECT_EQ(plot->paintBufferCount(), 0);

    plot->show();
    EXPECT_GT(plot->paintBufferCount(), 0);
    EXPECT_EQ(plot->grab().toImage(), before);
    plot->hide();
}
