#include "charts/ChartRefresh.h"
#include "charts/PlottingStep.h"

#include "acquisition/FigureSearch.h"

#include "common/Clock.h"
#include "common/DateTimePattern.h"
#include "charts/AxisScaling.h"
#include "charts/ChartSet.h"
#include "widgets/ColourConversion.h"

#include <qcustomplot.h>

#include <cmath>

namespace {

struct GapMark {
    const char *series;
    int chart;
    double above; // offset above the chart's left maximum, or an absolute height
    bool relative;
    double below;
    bool belowRelative;
};

// Far above the plotted range at a gap, far below it otherwise.
constexpr GapMark kGapMarks[] = {
    {"Series21", 1, 150, true, -150, true}, {"Series22", 2, 99999, false, -999, false},
    {"Series23", 18, 999, false, -999, false}, {"Series24", 20, 9999, false, -999, false},
    {"Series25", 3, 999, true, -999, false},  {"Series26", 19, 999, true, -999, false},
};

} // namespace

PlottingStep::PlottingStep(ChartSet &charts, AxisScaling &scaling, TSettings &settings, RunState &run)
    : m_charts(charts), m_scaling(scaling), m_settings(settings), m_run(run)
{
}

void PlottingStep::noteGap(bool showGaps, bool isGap)
{
    for (const GapMark &g : kGapMarks)
        if (ChartSeries *s = m_charts.series(QLatin1String(g.series)))
            s->setVisible(showGaps);
    if (isGap)
        m_gapPending = true;
}

void PlottingStep::addGapPoints(const QString &label)
{
    const bool gap = m_gapPending;
    m_gapPending = false;
    for (const GapMark &g : kGapMarks) {
        const double max = m_charts.leftAxis(g.chart).maximum();
        const double min = m_charts.leftAxis(g.chart).minimum();
        if (gap)
            m_scaling.addPoint(QLatin1String(g.series), g.relative ? max + g.above : g.above, QString(),
                               m_settings.Graph.GapColour);
        else
            m_scaling.addPoint(QLatin1String(g.series), g.belowRelative ? min + g.below : g.below, label,
                               m_settings.Graph.UserBack);
    }
}

TColor PlottingStep::thresholdColour(TColor colour, double value, bool aboveOn, int above, bool belowOn, int below)
{
    const TSettings &s = m_settings;
    if (colour == s.Graph.NoRespondColour || colour == s.Graph.AlarmColour)
        return colour;
    if ((aboveOn && value > above) || (belowOn && value < below)) {
        m_run.IconAlarmState = s.Alarm.AllAlarms;
        return s.Graph.AlarmColour;
    }
    return colour;
}

TColor PlottingStep::plotHttp(TColor colour, const QString &label)
{
    const TSettings &s = m_settings;
    const SampleFigures &f = m_run.Figures;
    const bool noAnswer = colour == s.Graph.NoRespondColour;
    m_indicators.clear();
    auto plot = [this, &label](const char *series, double value, TColor c) {
        if (m_scaling.addPoint(QLatin1String(series), value, label, c)) {
            const ChartSeries *cs = m_charts.series(QLatin1String(series));
            const ChartDef *def = cs ? ChartSet::definition(cs->chartNumber()) : nullptr;
            if (def)
                m_indicators << QString::fromLatin1(cs->axisSide() == AxisSide::Right ? def->rightIndicator
                                                                                      : def->leftIndicator);
        }
    };

    addGapPoints(label);
    // A figure the answered page did not hold has no point: a gap.
    auto reading = [&f = m_run.FigureNotFound](HttpLogItem item, double value) {
        return f[size_t(item)] ? std::nan("") : value;
    };
    const double rxNoise = reading(HttpLogItem::RxNoise, f.RxNoise);
    const double rxSync = reading(HttpLogItem::RxSync, f.RxSync);

    // Noise margin, with the noise thresholds: only while the Rx noise chart is plotted.
    TColor noiseColour = colour;
    if (s.Graph.cbHNoise) {
        noiseColour = thresholdColour(colour, rxNoise, s.Alarm.NoiseAbove, s.Alarm.NoiseAboveVal, s.Alarm.NoiseBelow,
                                      s.Alarm.NoiseBelowVal);
        plot("Series1", rxNoise, noiseColour);
        plot("Series9", rxSync, s.Graph.SyncColour);
    }
    if (s.Graph.cbUHNoise)
        plot("LineSeries15", reading(HttpLogItem::TxNoise, f.TxNoise), noiseColour);

    // Sync speed, with the sync thresholds.
    TColor syncColour = s.Graph.SyncColour;
    if (noAnswer) {
        syncColour = s.Graph.NoRespondColour;
        m_run.IconAlarmState = s.Alarm.AllAlarms || s.Alarm.ConnectionLoss;
    }
    syncColour = thresholdColour(syncColour, rxSync, s.Alarm.SyncAbove, s.Alarm.SyncAboveVal, s.Alarm.SyncBelow,
                                 s.Alarm.SyncBelowVal);
    if (s.Graph.cbHSync)
        plot("Series2", rxSync, syncColour);
    if (s.Graph.cbUHSync)
        plot("LineSeries17", reading(HttpLogItem::TxSync, f.TxSync), syncColour);

    // User figures; a text figure leaves a hole and greys its axis.
    auto user = [&](int chart, const char *series, bool checked, bool notANumber, double value, TColor own) {
        QCustomPlot *p = m_charts.chart(chart);
        const QColor labels = notANumber ? QColor(128, 128, 128) : QColor(Qt::black);
        p->yAxis->setTickLabelColor(labels);
        if (!checked)
            return;
        plot(series, notANumber ? std::nan("") : value, noAnswer ? s.Graph.NoRespondColour : own);
    };
    user(3, "Series3", s.Graph.cbHUser, s.Graph.NotANumber, f.UserValue1, s.Graph.UserColour);
    user(19, "LineSeries16", s.Graph.cbHUser2, s.Graph.NotANumber1, f.UserValue2, s.Graph.UserColour2);

    addAverage(1, s.Graph.RxNoiseAvg, s.Graph.RxNoiseAvgSamples, s.Graph.cbHNoise, label);
    addAverage(2, s.Graph.RxSyncAvg, s.Graph.RxSyncAvgSamples, s.Graph.cbHSync, label);
    addAverage(3, s.Graph.User1Avg && !s.Graph.NotANumber, s.Graph.User1AvgSamples, s.Graph.cbHUser, label);
    addAverage(19, s.Graph.User2Avg && !s.Graph.NotANumber1, s.Graph.User2AvgSamples, s.Graph.cbHUser2, label);
    for (int chart : {1, 2, 3, 18, 19, 20})
        chartrefresh::request(m_charts.chart(chart));
    return noiseColour;
}

void PlottingStep::addAverage(int chart, bool show, int samples, bool sourceChecked, const QString &label)
{
    ChartSeries *avg = m_charts.averageSeries(chart);
    ChartSeries *source = m_charts.valueSeries(chart);
    if (!avg || !source)
        return;
    avg->setVisible(show);
    if (!sourceChecked)
        return;
    // The average point carries the poll's own label, like the figure it follows.
    const qint64 n = source->keptCount() > samples ? samples : source->keptCount();
    const double mean = n > 0 ? source->meanOfLast(n) : 0.0;
    avg->add(mean, label, avg->colour());
}

void PlottingStep::scrollTimeline()
{
    m_charts.scrollTimeline();
}

QList<double> PlottingStep::recentRxNoise(int n) const
{
    QList<double> out;
    ChartSeries *s = m_charts.series(QStringLiteral("Series1"));
    if (!s || n <= 0)
        return out;
    for (qint64 i = s->count() - 1; i >= s->firstIndex() && out.size() < n; --i)
        if (const double v = s->valueAt(i); !std::isnan(v))
            out.prepend(v);
    return out;
}
