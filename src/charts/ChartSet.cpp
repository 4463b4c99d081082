#include "charts/ChartRefresh.h"
#include "charts/ChartRefresh.h"
#include "charts/ChartSet.h"
#include "charts/ChartPlot.h"

#include "widgets/ColourConversion.h"
#include "charts/PointLabelTicker.h"

#include <QGuiApplication>
#include <qcustomplot.h>

namespace {

QString userTitle(const QString &label, int scale, bool perSample)
{
    if (perSample)
        return label + QStringLiteral(" (per sample)");
    if (scale > 1)
        return label + QStringLiteral(" x") + QString::number(scale);
    return label;
}

void setAxisColour(QCPAxis *axis, const QColor &colour)
{
    axis->setLabelColor(colour);
    axis->setTickLabelColor(colour);
}

} // namespace

ChartSet::ChartSet(QObject *parent) : QObject(parent)
{
}

ChartSet::~ChartSet()
{
    for (auto &[number, e] : m_entries) {
        e.order.clear();
        e.series.clear();
        // A plot the window has taken in is the window's to delete.
        if (e.plot && !e.plot->parent())
            delete e.plot.data();
    }
}

ChartSet::Entry *ChartSet::entry(int number)
{
    const ChartDef *def = ChartTable::find(number);
    if (!def)
        return nullptr;
    Entry &e = m_entries[number];
    if (!e.def) {
        e.def = def;
        build(e);
    }
    return &e;
}

void ChartSet::build(Entry &e)
{
    const ChartDef &def = *e.def;
    auto *plot = new ChartPlot();
    e.plot = plot;
    plot->setObjectName(def.objectName());
    plot->setProperty("Tag", def.tag);
    plot->setNoAntialiasingOnDrag(true);
    // Nothing is drawn on the overlay layer; without its own buffer each chart
    // saves a full-size image.
    if (QCPLayer *overlay = plot->layer(QStringLiteral("overlay")))
        overlay->setMode(QCPLayer::lmLogical);
    chartrefresh::watch(plot);

    plot->yAxis->setLabel(QString::fromLatin1(def.leftTitle));
    plot->yAxis->setRange(def.left.min, def.left.max);
    // Every chart has a right axis the reset items may set; only some show it.
    plot->yAxis2->setRange(def.right.min, def.right.max);
    if (def.hasRightAxis()) {
        plot->yAxis2->setVisible(true);
        plot->yAxis2->setLabel(QString::fromLatin1(def.rightTitle));
    }
    double bottomMax = def.bottom.max;
    if (def.pagedByPoints())
        bottomMax = def.bottom.min + double(m_points) / m_factor;
    plot->xAxis->setRange(def.bottom.min, bottomMax);

    if (def.timeChart) {
        const int number = def.number;
        QPointer<ChartSet> self(this);
        auto lookup = [self, number](qint64 index) -> std::optional<QString> {
            if (!self)
                return std::nullopt;
            ChartSeries *s = self->valueSeries(number);
            return s ? s->labelAt(index) : std::nullopt;
        };
        plot->xAxis->setTicker(QSharedPointer<QCPAxisTicker>(new PointLabelTicker(lookup, plot->xAxis)));
        plot->xAxis->setTickLabelRotation(90);
    }

    for (const SeriesDef &s : def.series) {
        QCPAxis *valueAxis = s.axis == AxisSide::Right ? plot->yAxis2 : plot->yAxis;
        e.series.push_back(std::make_unique<ChartSeries>(s, def.number, plot->xAxis, valueAxis));
        e.order.push_back(e.series.back().get());
    }
}

QCustomPlot *ChartSet::chart(int number)
{
    Entry *e = entry(number);
    return e ? e->plot.data() : nullptr;
}

bool ChartSet::isCreated(int number) const
{
    return m_entries.count(number) != 0;
}

void ChartSet::createAll()
{
    for (const auto &c : ChartTable::charts())
        entry(c.number);
}

int ChartSet::numberOf(const QObject *plot) const
{
    for (const auto &[number, e] : m_entries)
        if (plot && e.plot == plot)
            return number;
    return 0;
}

ChartSeries *ChartSet::series(const QString &name)
{
    int index = -1;
    const ChartDef *def = ChartTable::findSeries(name, &index);
    if (!def)
        return nullptr;
    Entry *e = entry(def->number);
    return e->series[size_t(index)].get();
}

ChartSeries *ChartSet::seriesAt(int chart, int drawIndex)
{
    Entry *e = entry(chart);
    if (!e || drawIndex < 0 || size_t(drawIndex) >= e->order.size())
        return nullptr;
    return e->order[size_t(drawIndex)];
}

int ChartSet::seriesCount(int chart)
{
    Entry *e = entry(chart);
    return e ? int(e->order.size()) : 0;
}

ChartSeries *ChartSet::valueSeries(int chart)
{
    Entry *e = entry(chart);
    return e ? e->series[size_t(e->def->valueSeries)].get() : nullptr;
}

ChartSeries *ChartSet::averageSeries(int chart)
{
    Entry *e = entry(chart);
    if (!e || e->def->averageSeries < 0)
        return nullptr;
    return e->series[size_t(e->def->averageSeries)].get();
}

ChartAxis ChartSet::leftAxis(int chart)
{
    QCustomPlot *p = this->chart(chart);
    return ChartAxis(p ? p->yAxis : nullptr);
}

ChartAxis ChartSet::rightAxis(int chart)
{
    QCustomPlot *p = this->chart(chart);
    return ChartAxis(p ? p->yAxis2 : nullptr);
}

ChartAxis ChartSet::bottomAxis(int chart)
{
    QCustomPlot *p = this->chart(chart);
    return ChartAxis(p ? p->xAxis : nullptr);
}

ChartAxis ChartSet::axisOf(const ChartSeries *series)
{
    if (!series)
        return ChartAxis();
    return series->axisSide() == AxisSide::Right ? rightAxis(series->chartNumber())
                                                 : leftAxis(series->chartNumber());
}

bool ChartSet::atOrAboveMaximum(int chart, AxisSide side, double value)
{
    const ChartAxis axis = side == AxisSide::Right ? rightAxis(chart) : leftAxis(chart);
    return !axis.isNull() && value >= axis.maximum();
}

void ChartSet::swapFirstTwo(int chart)
{
    Entry *e = entry(chart);
    if (!e || e->order.size() < 2)
        return;
    std::swap(e->order[0], e->order[1]);
    e->swapped = !e->swapped;
    // Re-adding to the layer puts a plottable on top, so walking the new order
    // leaves the layer in drawing order.
    for (ChartSeries *s : e->order)
        if (auto *p = s->plottable())
            p->setLayer(p->layer());
    if (e->plot)
        chartrefresh::request(e->plot);
}

bool ChartSet::isSwapped(int chart) const
{
    const auto it = m_entries.find(chart);
    return it != m_entries.end() && it->second.swapped;
}

void ChartSet::setPagePoints(int points)
{
    m_points = std::max(points, 1);
}

void ChartSet::setTimelineExpandFactor(int factor)
{
    m_factor = std::clamp(factor, 1, 128);
}

void ChartSet::applyPageWidth()
{
    for (const auto &c : ChartTable::charts()) {
        ChartAxis bottom = bottomAxis(c.number);
        if (c.pagedByPoints())
            bottom.setLimitsInSafeOrder(bottom.minimum(), bottom.minimum() + double(m_points) / m_factor);
        else if (c.number == 22 && m_bitsPage > 0)
            bottom.setLimitsInSafeOrder(bottom.minimum(), bottom.minimum() + double(m_bitsPage) / m_factor);
    }
    replotAll();
}

void ChartSet::scrollTimeline()
{
    for (auto &[number, e] : m_entries) {
        if (!e.plot || !e.def->scrollsWithTimeline())
            continue;
        const ChartSeries *s = e.series[size_t(e.def->valueSeries)].get();
        const qint64 c = s->count();
        if (c < m_points)
            continue;
        ChartAxis bottom(e.plot->xAxis);
        const double by = double(c) - bottom.maximum() - 1;
        if (by == 0)
            continue;
        bottom.scroll(by);
        chartrefresh::request(e.plot);
    }
}

void ChartSet::applyStartup(const TSettings &s)
{
    createAll();
    setPagePoints(s.System.Points);
    setTimelineExpandFactor(1);
    applyStoredLimits(s);
    const std::pair<bool, int> swaps[] = {{s.Graph.SwapRxNoise, 1}, {s.Graph.SwapRxSync, 2}, {s.Graph.SwapUser1, 3},
                                          {s.Graph.SwapUser2, 19}, {s.Graph.TelnetSwapRxNoise, 16}};
    for (const auto &[on, chart] : swaps)
        if (on && !isSwapped(chart))
            swapFirstTwo(chart);
    applyAppearance(s);
    applyHttpLimits(s);
    applyPageWidth();
}

bool ChartSet::applyStoredLimits(const TSettings &s)
{
    for (const StoredLimitPair &pair : ChartTable::storedLimits()) {
        ChartAxis axis = leftAxis(pair.chart);
        try {
            axis.setMaximum(s.Graph.*pair.max);
            axis.setMinimum(s.Graph.*pair.min);
        } catch (const ChartAxis::LimitError &) {
            return false;
        }
    }
    return true;
}

void ChartSet::applyHttpLimits(const TSettings &s)
{
    const auto &g = s.Graph;
    ChartAxis left1 = leftAxis(1), right1 = rightAxis(1);
    if (g.NoiseMax > g.NoiseMin) {
        // A very low minimum first, so the new range may lie wholly above or below the old one.
        left1.trySetMinimum(-9999);
        left1.trySetMaximum(g.NoiseMax);
        left1.trySetMinimum(g.NoiseMin);
    }
    if (g.NoiseMax > g.NoiseMin || g.RxSyncAuto) {
        right1.trySetMaximum(g.SyncMax);
        right1.trySetMinimum(g.SyncMin);
    }
    if (g.SyncMax > g.SyncMin) {
        ChartAxis left2 = leftAxis(2);
        left2.trySetMinimum(-9999);
        left2.trySetMaximum(g.SyncMax);
        left2.trySetMinimum(g.SyncMin);
    }
    if (!g.UserAuto) {
        ChartAxis left3 = leftAxis(3);
        left3.trySetMinimum(-999999);
        left3.trySetMaximum(g.UserMax);
        left3.trySetMinimum(g.UserMin);
    }
    if (!g.User1Auto) {
        ChartAxis left19 = leftAxis(19);
        left19.trySetMinimum(-999999);
        left19.trySetMaximum(g.User1Max);
        left19.trySetMinimum(g.User1Min);
    }
    ChartAxis ping = leftAxis(25);
    ping.setLimitsInSafeOrder(s.Ping.Min, s.Ping.MaxAxis);
    ping.trySetMaximum(s.Ping.Max);
    replotAll();
}

void ChartSet::applyAppearance(const TSettings &s)
{
    createAll();
    // Nothing to dress once the window has taken its charts down.
    for (const auto &[number, e] : m_entries)
        if (!e.plot)
            return;
    const auto &g = s.Graph;
    // clNone and clDefault convert to no colour: the chart keeps its own then.
    const auto colourOr = [](TColor c, const QColor &fallback) {
        const QColor q = toQColor(c);
        return q.isValid() ? q : fallback;
    };
    const QColor back = colourOr(g.UserBack, Qt::white);
    const QColor border = colourOr(g.Border, QGuiApplication::palette().color(QPalette::Button));
    const QPen gridPen(QColor(160, 160, 160), 0, g.Dots ? Qt::DotLine : Qt::SolidLine);

    for (auto &[number, e] : m_entries) {
        QCustomPlot *p = e.plot;
        p->setBackground(QBrush(border));
        p->axisRect()->setBackground(QBrush(back));
        for (QCPAxis *a : {p->xAxis, p->yAxis, p->yAxis2})
            a->grid()->setPen(gridPen);
        if (number != 21 && number != 29)
            p->axisRect()->setRangeDrag(g.AllowVerticalDrag ? Qt::Horizontal | Qt::Vertical : Qt::Horizontal);
    }

    const auto paint = [&](const char *name, TColor c) {
        ChartSeries *s = series(QLatin1String(name));
        s->setColour(colourOr(c, s->colour()));
    };
    for (const char *name : {"Series5", "Series6", "Series7", "Series8"})
        paint(name, g.AvgColour);
    for (const char *name : {"Series1", "LineSeries15", "LineSeries13"})
        paint(name, g.NoiseColour);
    for (const char *name : {"Series9", "Series2", "LineSeries17", "Series12", "LineSeries14"})
        paint(name, g.SyncColour);
    paint("Series3", g.UserColour);
    paint("LineSeries16", g.UserColour2);
    for (const char *name : {"Series21", "Series22", "Series23", "Series24", "Series25", "Series26"}) {
        paint(name, g.GapColour);
        series(QLatin1String(name))->setVisible(g.ShowGaps);
    }

    for (int n : {1, 16}) {
        setAxisColour(chart(n)->yAxis, colourOr(g.NoiseColour, Qt::black));
        setAxisColour(chart(n)->yAxis2, colourOr(g.SyncColour, Qt::black));
    }
    chart(1)->yAxis2->setVisible(g.ShowSync);
    series(QStringLiteral("Series9"))->setVisible(g.ShowSync);
    chart(16)->yAxis2->setVisible(g.TelnetShowSync);
    series(QStringLiteral("Series12"))->setVisible(g.TelnetShowSync);
    chart(23)->yAxis2->setVisible(s.Telnet.RxShowIncremental);
    series(QStringLiteral("Series17"))->setVisible(s.Telnet.RxShowIncremental);
    chart(24)->yAxis2->setVisible(s.Telnet.TxShowIncremental);
    series(QStringLiteral("Series18"))->setVisible(s.Telnet.TxShowIncremental);

    // The grid follows one axis of the charts with two: the left one unless it was switched off.
    const std::pair<int, bool> gridSide[] = {{21, s.Telnet.LeftVisible21}, {1, s.Telnet.LeftVisible1},
                                             {16, s.Telnet.LeftVisible16}, {23, s.Telnet.LeftVisible23},
                                             {24, s.Telnet.LeftVisible24}};
    for (const auto &[n, leftGrid] : gridSide) {
        chart(n)->yAxis->grid()->setVisible(leftGrid);
        chart(n)->yAxis2->grid()->setVisible(!leftGrid);
    }

    series(QStringLiteral("Series3"))->setStairs(g.Stairs);
    series(QStringLiteral("LineSeries16"))->setStairs(g.Stairs);
    series(QStringLiteral("Series4"))->setPointsVisible(s.Telnet.SNRPoints);
    series(QStringLiteral("Series15"))->setVisible(s.Telnet.ShowAttenuation);

    chart(3)->yAxis->setLabel(userTitle(g.UserLabel, g.ScaleUser1, g.DiffUserDef));
    chart(19)->yAxis->setLabel(userTitle(g.UserLabel2, g.ScaleUser2, g.DiffUserDef1));
    chart(30)->yAxis->setLabel(s.Telnet.Ch30);
    chart(31)->yAxis->setLabel(s.Telnet.Ch31);
    ChartAxis snr = rightAxis(21);
    if (s.Telnet.rbSNR) {
        chart(21)->yAxis2->setLabel(QStringLiteral("SNR (dB)"));
        snr.setLimitsInSafeOrder(0, 64);
    } else {
        chart(21)->yAxis2->setLabel(QStringLiteral("SNR Margin (dB)"));
        snr.setLimitsInSafeOrder(0, 20);
    }

    series(QStringLiteral("Series19"))->setVisible(!s.Ping.Filled);
    series(QStringLiteral("Series20"))->setVisible(s.Ping.Filled);

    ChartAxis bits585 = bottomAxis(26);
    bits585.setLimitsInSafeOrder(0, s._585Telnet.AllBits ? 512 : 256);
    replotAll();
}

void ChartSet::replotAll()
{
    for (auto &[number, e] : m_entries)
        if (e.plot)
            chartrefresh::request(e.plot);
}
