#include "charts/ChartRefresh.h"
#include "charts/ChartSeries.h"

#include "widgets/ColourConversion.h"
#include "charts/ColouredBars.h"
#include "charts/ColouredGraph.h"

#include <cmath>
#include <limits>

namespace {

// The part of the history the plot needs for a range: the points it shows,
// one beyond each side for the lines that leave the picture, and a page of
// slack either side so scrolling rarely refills.
struct Span {
    qint64 first;
    qint64 end;
};

Span needed(const QCPRange &range, qint64 keptFirst, qint64 keptEnd, qint64 slack)
{
    const qint64 lower = qint64(std::floor(range.lower)) - 1 - slack;
    const qint64 upper = qint64(std::ceil(range.upper)) + 2 + slack;
    return {std::clamp(lower, keptFirst, keptEnd), std::clamp(upper, keptFirst, keptEnd)};
}

} // namespace

ChartSeries::ChartSeries(const SeriesDef &def, int chartNumber, QCPAxis *keyAxis, QCPAxis *valueAxis)
    : m_name(QString::fromLatin1(def.name)), m_chart(chartNumber), m_kind(def.kind), m_side(def.axis)
{
    const QColor colour = toQColor(def.colour);
    if (m_kind == SeriesKind::Bars) {
        m_bars = new ColouredBars(keyAxis, valueAxis);
        m_bars->setAttributes(&m_attributes);
        m_bars->setName(m_name);
        m_bars->setWidth(0.8);
        m_bars->setPen(QPen(colour.darker(130)));
        m_bars->setBrush(QBrush(colour));
        m_rangeConnection = QObject::connect(keyAxis, qOverload<const QCPRange &>(&QCPAxis::rangeChanged),
                                             m_bars.data(), [this](const QCPRange &r) { followRange(r); });
        return;
    }
    m_graph = new ColouredGraph(keyAxis, valueAxis);
    m_graph->setAttributes(&m_attributes);
    m_graph->setName(m_name);
    m_graph->setPen(QPen(colour, def.penWidth));
    m_graph->setAdaptiveSampling(true);
    m_rangeConnection = QObject::connect(keyAxis, qOverload<const QCPRange &>(&QCPAxis::rangeChanged), m_graph.data(),
                                         [this](const QCPRange &r) { followRange(r); });
    switch (m_kind) {
    case SeriesKind::FastLine:
        m_graph->setColourEachPoint(false);
        break;
    case SeriesKind::Stairs:
        m_graph->setLineStyle(QCPGraph::lsStepLeft);
        break;
    case SeriesKind::Points:
        m_graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, 4));
        break;
    case SeriesKind::Area:
        m_graph->setColourEachPoint(false);
        m_graph->setBrush(QBrush(colour));
        break;
    default:
        break;
    }
}

ChartSeries::~ChartSeries()
{
    QObject::disconnect(m_rangeConnection);
    // The plot may outlive the series when the window owns it.
    if (m_graph)
        m_graph->setAttributes(nullptr);
    if (m_bars)
        m_bars->setAttributes(nullptr);
}

QCPAbstractPlottable *ChartSeries::plottable() const
{
    if (m_graph)
        return m_graph.data();
    return m_bars.data();
}

void ChartSeries::add(double value, const QString &label, const QColor &colour)
{
    if (m_attributes.keptCount() >= m_cap) {
        const qint64 drop = std::min(std::max<qint64>(m_block, 1), m_attributes.keptCount());
        m_attributes.dropFront(drop);
        dropPlottedBefore(m_attributes.firstIndex());
    }
    const qint64 x = m_attributes.endIndex();
    m_attributes.append(value, label, colour);
    // The plot takes the new point when its window reaches the newest point
    // and the axis shows, or nearly shows, that far.
    QCPAbstractPlottable *p = plottable();
    if (p && m_windowEnd == x) {
        const QCPRange range = p->keyAxis() ? p->keyAxis()->range() : QCPRange();
        if (double(x) <= range.upper + 2 + std::max(range.size(), 1.0)) {
            if (m_graph)
                m_graph->data()->add(QCPGraphData(double(x), value));
            if (m_bars)
                m_bars->data()->add(QCPBarsData(double(x), value));
            if (m_windowFirst == m_windowEnd)
                m_windowFirst = x;
            m_windowEnd = x + 1;
        }
    }
    if (p)
        chartrefresh::request(p->parentPlot());
}

void ChartSeries::clear()
{
    m_attributes.clear();
    m_windowFirst = m_windowEnd = 0;
    if (m_graph)
        m_graph->data()->clear();
    if (m_bars)
        m_bars->data()->clear();
    if (auto *p = plottable())
        chartrefresh::request(p->parentPlot());
}

void ChartSeries::dropPlottedBefore(qint64 index)
{
    if (m_windowFirst >= index)
        return;
    if (m_graph)
        m_graph->data()->removeBefore(double(index) - 0.5);
    if (m_bars)
        m_bars->data()->removeBefore(double(index) - 0.5);
    m_windowFirst = index;
    m_windowEnd = std::max(m_windowEnd, index);
}

void ChartSeries::fillWindow(qint64 first, qint64 end)
{
    if (m_graph) {
        QVector<QCPGraphData> points;
        points.reserve(end - first);
        for (qint64 i = first; i < end; ++i)
            points.append(QCPGraphData(double(i), m_attributes.valueAt(i)));
        // A fresh container, so the storage of a wider window is given back.
        auto data = QSharedPointer<QCPGraphDataContainer>::create();
        data->set(points, true);
        m_graph->setData(data);
    }
    if (m_bars) {
        QVector<QCPBarsData> points;
        points.reserve(end - first);
        for (qint64 i = first; i < end; ++i)
            points.append(QCPBarsData(double(i), m_attributes.valueAt(i)));
        auto data = QSharedPointer<QCPBarsDataContainer>::create();
        data->set(points, true);
        m_bars->setData(data);
    }
    m_windowFirst = first;
    m_windowEnd = end;
}

void ChartSeries::followRange(const QCPRange &range)
{
    const qint64 page = qint64(std::ceil(std::max(range.size(), 1.0)));
    const Span must = needed(range, m_attributes.firstIndex(), m_attributes.endIndex(), 0);
    const bool covered = m_windowFirst <= must.first && m_windowEnd >= must.end;
    // Stale points more than two pages behind are let go as the axis scrolls on.
    const bool bloated = must.first - m_windowFirst > 2 * page || m_windowEnd - must.end > 2 * page;
    if (covered && !bloated)
        return;
    const Span want = needed(range, m_attributes.firstIndex(), m_attributes.endIndex(), page);
    fillWindow(want.first, want.end);
}

double ChartSeries::valueAt(qint64 index) const
{
    return m_attributes.valueAt(index);
}

double ChartSeries::lastValue() const
{
    return valueAt(count() - 1);
}

float ChartSeries::meanOfLast(qint64 n) const
{
    const qint64 end = count();
    const qint64 start = std::max(firstIndex(), end - std::max<qint64>(n, 0));
    if (end <= start)
        return 0.0f;
    // Gaps (no reading) are left out; only gaps give no mean at all.
    float sum = 0.0f;
    qint64 used = 0;
    for (qint64 i = start; i < end; ++i) {
        const double v = valueAt(i);
        if (std::isnan(v))
            continue;
        sum += float(v);
        ++used;
    }
    return used > 0 ? sum / float(used) : std::numeric_limits<float>::quiet_NaN();
}

void ChartSeries::setVisible(bool on)
{
    if (auto *p = plottable())
        p->setVisible(on);
}

bool ChartSeries::isVisible() const
{
    auto *p = plottable();
    return p && p->visible();
}

void ChartSeries::setColour(const QColor &colour)
{
    if (m_bars) {
        m_bars->setBrush(QBrush(colour));
        m_bars->setPen(QPen(colour.darker(130)));
    }
    if (m_graph) {
        QPen pen = m_graph->pen();
        pen.setColor(colour);
        m_graph->setPen(pen);
        if (m_kind == SeriesKind::Area)
            m_graph->setBrush(QBrush(colour));
    }
}

QColor ChartSeries::colour() const
{
    if (m_bars)
        return m_bars->brush().color();
    if (m_graph)
        return m_graph->pen().color();
    return {};
}

void ChartSeries::setPenWidth(int width)
{
    if (m_graph) {
        QPen pen = m_graph->pen();
        pen.setWidth(width);
        m_graph->setPen(pen);
    }
}

void ChartSeries::setStairs(bool on)
{
    if (m_graph)
        m_graph->setLineStyle(on ? QCPGraph::lsStepLeft : QCPGraph::lsLine);
}

bool ChartSeries::isStairs() const
{
    return m_graph && m_graph->lineStyle() == QCPGraph::lsStepLeft;
}

void ChartSeries::setPointsVisible(bool on)
{
    if (m_graph)
        m_graph->setScatterStyle(on ? QCPScatterStyle(QCPScatterStyle::ssCircle, 4) : QCPScatterStyle());
}

bool ChartSeries::pointsVisible() const
{
    return m_graph && !m_graph->scatterStyle().isNone();
}

void ChartSeries::setHistoryCap(qint64 cap, qint64 dropBlock)
{
    m_cap = std::max<qint64>(cap, 1);
    m_block = std::clamp<qint64>(dropBlock, 1, m_cap);
}
