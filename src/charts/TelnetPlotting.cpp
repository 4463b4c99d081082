#include "charts/TelnetPlotting.h"

#include "common/Clock.h"
#include "common/DateTimePattern.h"
#include "common/NumberFormat.h"
#include "charts/AxisScaling.h"
#include "charts/ChartSet.h"
#include "settings/ColourNames.h"

#include <qcustomplot.h>

#include <limits>

namespace {

constexpr TColor kGreen = 0x008000;

struct CounterSlot {
    int chart;
    const char *series;
    bool TSettings::TelnetKeys::*box;
};

// Slot order of TelnetCounters: ICRC, IFEC, IHEC, FastCRC, FastFEC, FastHEC, then upstream.
constexpr CounterSlot kSlots[TelnetFigures::kCounters] = {
    {5, "LineSeries2", &TSettings::TelnetKeys::cbICRC},       {6, "LineSeries3", &TSettings::TelnetKeys::cbIFEC},
    {7, "LineSeries4", &TSettings::TelnetKeys::cbIHEC},       {4, "LineSeries1", &TSettings::TelnetKeys::cbFastCRC},
    {8, "LineSeries5", &TSettings::TelnetKeys::cbFastFEC},    {9, "LineSeries6", &TSettings::TelnetKeys::cbFastHEC},
    {12, "LineSeries9", &TSettings::TelnetKeys::cbUICRC},     {11, "LineSeries8", &TSettings::TelnetKeys::cbUIFEC},
    {10, "LineSeries7", &TSettings::TelnetKeys::cbUIHEC},     {15, "LineSeries12", &TSettings::TelnetKeys::cbUFastCRC},
    {14, "LineSeries11", &TSettings::TelnetKeys::cbUFastFEC}, {13, "LineSeries10", &TSettings::TelnetKeys::cbUFastHEC},
};

QString withoutBlanks(QString text)
{
    return text.remove(QLatin1Char(' '));
}

bool logFlag(const TSettings &s, int index)
{
    return index >= 0 && index < int(s.LogTelnetFlags.size()) && s.LogTelnetFlags[size_t(index)];
}

constexpr double kGap = std::numeric_limits<double>::quiet_NaN();

QString baseStamp()
{
    return dtp::format(QStringLiteral("dd mmm yy  HH:nn:ss"), Clock::currentDateTime());
}

} // namespace

TelnetPlotting::TelnetPlotting(ChartSet &charts, AxisScaling &scaling, TSettings &settings, RunState &run,
                               TelnetFigures &figures)
    : m_charts(charts), m_scaling(scaling), m_settings(settings), m_run(run), m_figures(figures)
{
}

void TelnetPlotting::setIndicator(int chart, bool right, bool shown)
{
    const ChartDef *def = ChartSet::definition(chart);
    if (!def)
        return;
    const char *name = right ? def->rightIndicator : def->leftIndicator;
    if (name && name[0] != '\0')
        m_indicators.insert(QString::fromLatin1(name), shown);
}

bool TelnetPlotting::plot(const char *series, double value, const QString &label, TColor colour)
{
    // A plot-only run outside its hours still computes the log items; the charts stay as they are.
    if (m_run.PlotSuppressed)
        return false;
    const bool over = m_scaling.addPoint(QLatin1String(series), value, label, colour);
    if (const ChartSeries *s = m_charts.series(QLatin1String(series)))
        setIndicator(s->chartNumber(), s->axisSide() == AxisSide::Right, over);
    return over;
}

QString TelnetPlotting::axisTitle(int chart, bool right) const
{
    QCustomPlot *p = m_charts.chart(chart);
    if (!p)
        return QString();
    return right ? p->yAxis2->label() : p->yAxis->label();
}

void TelnetPlotting::addAverage(const char *average, const char *source, bool show, int samples, bool sourceChecked,
                                const QString &label)
{
    ChartSeries *avg = m_charts.series(QLatin1String(average));
    ChartSeries *src = m_charts.series(QLatin1String(source));
    if (!avg || !src)
        return;
    avg->setVisible(show);
    if (!sourceChecked)
        return;
    const qint64 n = src->keptCount() > samples ? samples : src->keptCount();
    avg->add(n > 0 ? src->meanOfLast(n) : 0.0, label, avg->colour());
}

void TelnetPlotting::telnetAverages(const QString &label)
{
    const auto &g = m_settings.Graph;
    addAverage("Series10", "LineSeries13", g.RxNoiseAvg, g.RxNoiseAvgSamples, m_settings.Telnet.cbNoise, label);
    addAverage("Series11", "LineSeries14", g.RxSyncAvg, g.RxSyncAvgSamples, m_settings.Telnet.cbSync, label);
}

TelnetPointShown TelnetPlotting::PlotTelnetNoise(const QString &label)
{
    const TSettings &s = m_settings;
    m_noise = TelnetPointShown();
    m_noise.missing = !m_figures.Fresh.Noise;
    if (!s.Telnet.cbNoise)
        return m_noise;
    // Telnet-only: the label and the icon show this poll's reading, or none.
    m_noise.labelShown = m_noise.redrawTrayIcon = s.Telnet.DisableHTTP;
    // No reply read since the last poll: a gap, not a 0 in the alarm colour.
    if (m_noise.missing) {
        plot("LineSeries13", kGap, label, s.Graph.NoRespondColour);
        return m_noise;
    }
    double v = m_figures.TelnetNoiseNow;
    // A negative margin read as an unsigned 32-bit number.
    if (s.System.Correct && v >= 2.14e9)
        v -= 2147483648.0;
    TColor colour = s.Graph.NoiseColour;
    if (s.Alarm.NoiseAbove && s.Alarm.NoiseAboveVal < v)
        colour = colours::clRed;
    else if (s.Alarm.NoiseBelow && s.Alarm.NoiseBelowVal > v)
        colour = colours::clRed;
    if (v < -5.0)
        v = -5.0;
    plot("LineSeries13", v, label, colour);
    m_noise.plotted = true;
    m_noise.value = v;
    m_noise.colour = colour;
    if (s.Telnet.DisableHTTP)
        m_noise.labelText = numfmt::fixed(v, 1) + QStringLiteral(" dB");
    m_figures.Fresh.Noise = false;
    return m_noise;
}

TelnetPointShown TelnetPlotting::PlotTelnetSync(const QString &label)
{
    const TSettings &s = m_settings;
    m_sync = TelnetPointShown();
    m_sync.missing = !m_figures.Fresh.Sync;
    if (!s.Telnet.cbSync)
        return m_sync;
    m_sync.labelShown = m_sync.redrawTrayIcon = s.Telnet.DisableHTTP;
    if (m_sync.missing) {
        plot("LineSeries14", kGap, label, s.Graph.NoRespondColour);
        plot("Series12", kGap, label, s.Graph.NoRespondColour);
        return m_sync;
    }
    const double v = m_figures.TelnetSyncNow;
    TColor colour = s.Graph.SyncColour;
    if (s.Alarm.SyncAbove && s.Alarm.SyncAboveVal < v)
        colour = colours::clRed;
    else if (s.Alarm.SyncBelow && s.Alarm.SyncBelowVal > v)
        colour = colours::clRed;
    plot("LineSeries14", v, label, colour);
    plot("Series12", v, label, colour);
    m_sync.plotted = true;
    m_sync.value = v;
    m_sync.colour = colour;
    if (s.Telnet.DisableHTTP)
        m_sync.labelText = QString::number(m_figures.TelnetSyncNow) + QStringLiteral(" Kbps");
    m_figures.Fresh.Sync = false;
    return m_sync;
}

QList<LogItem> TelnetPlotting::plotTelnetCharts(const QString &label)
{
    const TSettings &s = m_settings;
    const auto &t = s.Telnet;
    m_indicators.clear();
    QList<LogItem> items;
    // A figure no reply has read since the last poll is logged without a value.
    TelnetFigures::Readings &fresh = m_figures.Fresh;
    if (logFlag(s, 0))
        items << LogItem{QStringLiteral("TelnetRxNoise"),
                         fresh.Noise ? numfmt::generalPrecision(m_figures.TelnetRxNoise, 3) : QString()};
    if (logFlag(s, 1))
        items << LogItem{QStringLiteral("TelnetRxSync"), fresh.Sync ? QString::number(m_figures.TelnetRxSync) : QString()};

    PlotTelnetNoise(label);
    PlotTelnetSync(label);

    plotUserChart("FastLineSeries1", label, t.cbUserDown, fresh.UserDown, m_figures.TelnetUserDown, t.LogUserDown,
                  t.UserDownText, t.User1Rx, items);
    plotUserChart("FastLineSeries2", label, t.cbUserUp, fresh.UserUp, m_figures.TelnetUserUp, t.LogUserUp,
                  t.UserUpText, t.User2Rx, items);
    plotCounters(label, items);
    plotBytes(23, "LineSeries20", "Series17", t.RxTotal, fresh.RxBytes, m_figures.RxBytesTotal, m_figures.RxBytesBase,
              m_figures.RxBytesBaseDate, t.RxShowIncremental, s.Log.RxTotal, s.Log.RxTotalInc, label, items);
    plotBytes(24, "LineSeries21", "Series18", t.TxTotal, fresh.TxBytes, m_figures.TxBytesTotal, m_figures.TxBytesBase,
              m_figures.TxBytesBaseDate, t.TxShowIncremental, s.Log.TxTotal, s.Log.TxTotalInc, label, items);
    // The next poll plots only what the replies read after this one.
    fresh = TelnetFigures::Readings{};
    return items;
}

void TelnetPlotting::plotUserChart(const char *series, const QString &label, bool checked, bool read, double value,
                                   bool log, const QString &text, bool rx, QList<LogItem> &items)
{
    if (!checked)
        return;
    // AxisScaling fits the axis to the first value and marks the chart adjusted.
    plot(series, read ? value : kGap, label, colours::clBlue);
    if (log)
        items << LogItem{withoutBlanks(text) + (rx ? QStringLiteral("(Rx)") : QStringLiteral("(Tx)")),
                         read ? numfmt::general(value) : QString()};
}

void TelnetPlotting::plotCounters(const QString &label, QList<LogItem> &items)
{
    const TSettings &s = m_settings;
    const bool incremental =
        (s.Graph.Latest15 || s.Graph.Latest1day) && (s.Telnet.V123 || s.Router.V5Telnet);
    for (int slot = 0; slot < TelnetFigures::kCounters; ++slot) {
        const CounterSlot &c = kSlots[slot];
        if (!(s.Telnet.*c.box))
            continue;
        const qint64 counter = m_figures.TelnetCounters[size_t(slot)];
        const bool read = m_figures.Fresh.Counters[size_t(slot)];
        const QString name = withoutBlanks(axisTitle(c.chart, false));
        if (!read) {
            plot(c.series, kGap, label, colours::clBlue);
            if (logFlag(s, slot + 2))
                items << LogItem{name, QString()};
            continue;
        }
        qint64 value = counter;
        if (incremental && slot < 6) {
            qint64 &base = m_figures.TelnetCounterBase[size_t(slot)];
            // A gap drawn while the router was slow to answer is no reading to count from.
            if (bool &set = m_figures.TelnetCounterBaseSet[size_t(slot)]; !set) {
                base = counter;
                set = true;
            }
            value = counter - base;
        }
        // A counter that went backwards (router restart, re-base race) has no point this poll.
        if (value >= 0)
            plot(c.series, double(value), label, colours::clBlue);
        if (logFlag(s, slot + 2))
            items << LogItem{name, QString::number(counter)};
    }
}

void TelnetPlotting::plotBytes(int chart, const char *totalSeries, const char *incSeries, bool checked, bool read,
                               double total, double &base, QString &baseDate, bool showInc, bool logTotal,
                               bool logInc, const QString &label, QList<LogItem> &items)
{
    if (!checked)
        return;
    if (ChartSeries *inc = m_charts.series(QLatin1String(incSeries)))
        inc->setVisible(showInc);
    if (!read) {
        plot(totalSeries, kGap, label, colours::clBlue);
        plot(incSeries, kGap, label, kGreen);
        if (logTotal)
            items << LogItem{withoutBlanks(axisTitle(chart, false)), QString()};
        if (showInc && logInc)
            items << LogItem{withoutBlanks(axisTitle(chart, true)), QString()};
        return;
    }
    plot(totalSeries, total, label, colours::clBlue);
    // The router's counter restarted: count from its new value.
    if (total < base) {
        base = total;
        baseDate = baseStamp();
    }
    const double increment = total - base;
    plot(incSeries, increment, label, kGreen);
    if (logTotal)
        items << LogItem{withoutBlanks(axisTitle(chart, false)), numfmt::fixed(total, 3)};
    if (showInc && logInc)
        items << LogItem{withoutBlanks(axisTitle(chart, true)), numfmt::fixed(increment, 3)};
}

void TelnetPlotting::tmr15MinsTimer()
{
    // A slot not yet read keeps waiting for its first reading.
    for (size_t slot = 0; slot < m_figures.TelnetCounterBase.size(); ++slot)
        if (m_figures.TelnetCounterBaseSet[slot])
            m_figures.TelnetCounterBase[slot] = m_figures.TelnetCounters[slot];
}

void TelnetPlotting::SetMinimum()
{
    const QString stamp = baseStamp();
    m_figures.RxBytesBase = m_figures.RxBytesTotal;
    m_figures.TxBytesBase = m_figures.TxBytesTotal;
    m_figures.RxBytesBaseDate = stamp;
    m_figures.TxBytesBaseDate = stamp;
    m_figures.RxBytesBaseSet = true;
    m_figures.TxBytesBaseSet = true;
    for (int chart : {23, 24}) {
        // In this order, so the maximum may drop below an old minimum.
        ChartAxis r = m_charts.rightAxis(chart);
        r.trySetMinimum(-9999);
        r.trySetMaximum(10);
        r.trySetMinimum(-0.1);
    }
}
