#include "mainwindow/PointAttributes.h"

void PointAttributes::append(const QString &label, const QColor &colour)
{
    m_points.push_back(Point{label, colour.isValid() ? colour.rgba() : 0u, colour.isValid()});
}

void PointAttributes::clear()
{
    m_points.clear();
    m_first = 0;
}

void PointAttributes::dropFront(qint64 n)
{
    n = qBound<qint64>(0, n, keptCount());
    m_points.erase(m_points.begin(), m_points.begin() + n);
    m_first += n;
}

QColor PointAttributes::colourAt(qint64 index) const
{
    if (!holds(index))
        return {};
    const Point &p = m_points[size_t(index - m_first)];
    return p.hasColour ? QColor::fromRgba(p.colour) : QColor();
}

std::optional<QString> PointAttributes::labelAt(qint64 index) const
{
    if (!holds(index))
        return std::nullopt;
    return m_points[size_t(index - m_first)].label;
}
