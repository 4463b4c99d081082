#include "mainwindow/ChartRefresh.h"
#include "mainwindow/ChartSeries.h"

#include "mainwindow/ColourConversion.h"
#include "mainwindow/ColouredBars.h"
#include "mainwindow/ColouredGraph.h"

#include <cmath>
#include <limits>

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
        return;
    }
    m_graph = new ColouredGraph(keyAxis, valueAxis);
    m_graph->setAttributes(&m_attributes);
    m_graph->setName(m_name);
    m_graph->setPen(QPen(colour, def.penWidth));
    m_graph->setAdaptiveSampling(true);
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
        const double before = double(m_attributes.firstIndex() + drop);
        // The dropped block's storage is given back, not kept as spare room.
        if (m_graph) {
            m_graph->data()->removeBefore(before);
            m_graph->data()->squeeze(true, false);
        }
        if (m_bars) {
            m_bars->data()->removeBefore(before);
            m_bars->data()->squeeze(true, false);
        }
        m_attributes.dropFront(drop);
    }
    const double x = double(m_attributes.endIndex());
    m_attributes.append(label, colour);
    if (m_graph)
        m_graph->data()->add(QCPGraphData(x, value));
    if (m_bars)
        m_bars->data()->add(QCPBarsData(x, value));
    if (auto *p = plottable())
        chartrefresh::request(p->parentPlot());
}

void ChartSeries::clear()
{
    m_attributes.clear();
    if (m_graph)
        m_graph->data()->clear();
    if (m_bars)
        m_bars->data()->clear();
    if (auto *p = plottable())
        chartrefresh::request(p->parentPlot());
}

double ChartSeries::valueAt(qint64 index) const
{
    if (!m_attributes.holds(index))
        return std::numeric_limits<double>::quiet_NaN();
    const int at = int(index - m_attributes.firstIndex());
    if (m_graph && at < m_graph->data()->size())
        return (m_graph->data()->constBegin() + at)->value;
    if (m_bars && at < m_bars->data()->size())
        return (m_bars->data()->constBegin() + at)->value;
    return std::numeric_limits<double>::quiet_NaN();
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
    float sum = 0.0f;
    for (qint64 i = start; i < end; ++i)
        sum += float(valueAt(i));
    return sum / float(end - start);
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
