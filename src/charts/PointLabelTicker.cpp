#include "charts/PointLabelTicker.h"

#include <cmath>

PointLabelTicker::PointLabelTicker(LabelLookup lookup, QCPAxis *axis, double minSpacingPx)
    : m_lookup(std::move(lookup)), m_axis(axis), m_minSpacing(minSpacingPx)
{
}

double PointLabelTicker::getTickStep(const QCPRange &range)
{
    const double points = range.size();
    double pixels = 0;
    if (m_axis && m_axis->axisRect())
        pixels = m_axis->orientation() == Qt::Horizontal ? m_axis->axisRect()->width()
                                                         : m_axis->axisRect()->height();
    if (points <= 0 || pixels <= 0)
        return std::max(1.0, std::ceil(points / 5));
    // Whole points only, so a label always belongs to a point.
    return std::max(1.0, std::ceil(m_minSpacing * points / pixels));
}

void PointLabelTicker::setLabelFreeSpan(double fromPx, double toPx)
{
    m_freeFrom = fromPx;
    m_freeTo = toPx;
}

int PointLabelTicker::getSubTickCount(double)
{
    return 0;
}

QString PointLabelTicker::getTickLabel(double tick, const QLocale &, QChar, int)
{
    if (!m_lookup)
        return {};
    if (m_freeTo > m_freeFrom && m_axis) {
        const double px = m_axis->coordToPixel(tick);
        if (px >= m_freeFrom && px <= m_freeTo)
            return {};
    }
    return m_lookup(qint64(std::llround(tick))).value_or(QString());
}

QVector<double> PointLabelTicker::createTickVector(double tickStep, const QCPRange &range)
{
    QVector<double> ticks;
    if (!m_lookup || tickStep < 1 || !std::isfinite(range.lower) || !std::isfinite(range.upper))
        return ticks;
    // Multiples of the step, so a label stays put while the chart scrolls.
    const qint64 step = qint64(tickStep);
    qint64 first = qint64(std::ceil(range.lower / double(step))) * step;
    const qint64 last = qint64(std::floor(range.upper));
    if (first < 0)
        first = 0;
    for (qint64 t = first; t <= last; t += step)
        if (m_lookup(t))
            ticks.append(double(t));
    return ticks;
}
