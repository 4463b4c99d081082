#include "charts/PointAttributes.h"

#include <algorithm>
#include <limits>

PointAttributes::PointAttributes() { TimeLabels::shared().attach(this); }

PointAttributes::~PointAttributes() { TimeLabels::shared().detach(this); }

quint16 PointAttributes::colourIndex(const QColor &colour)
{
    if (!colour.isValid())
        return 0;
    const QRgb rgba = colour.rgba();
    const auto it = std::find(m_palette.begin(), m_palette.end(), rgba);
    if (it != m_palette.end())
        return quint16(it - m_palette.begin() + 1);
    // A series uses a handful of colours; should one ever use more, the
    // newest takes the last place.
    if (m_palette.size() >= std::numeric_limits<quint16>::max() - 1)
        m_palette.pop_back();
    m_palette.push_back(rgba);
    return quint16(m_palette.size());
}

void PointAttributes::append(double value, const QString &label, const QColor &colour)
{
    m_values.push_back(value);
    m_labels.push_back(TimeLabels::shared().intern(label));
    m_colours.push_back(colourIndex(colour));
}

void PointAttributes::clear()
{
    // Swapped out, so the storage itself is given back.
    std::deque<double>().swap(m_values);
    std::deque<quint32>().swap(m_labels);
    std::deque<quint16>().swap(m_colours);
    m_palette.clear();
    m_first = 0;
}

void PointAttributes::dropFront(qint64 n)
{
    n = qBound<qint64>(0, n, keptCount());
    m_values.erase(m_values.begin(), m_values.begin() + n);
    m_labels.erase(m_labels.begin(), m_labels.begin() + n);
    m_colours.erase(m_colours.begin(), m_colours.begin() + n);
    m_first += n;
}

double PointAttributes::valueAt(qint64 index) const
{
    if (!holds(index))
        return std::numeric_limits<double>::quiet_NaN();
    return m_values[size_t(index - m_first)];
}

QColor PointAttributes::colourAt(qint64 index) const
{
    if (!holds(index))
        return {};
    const quint16 c = m_colours[size_t(index - m_first)];
    return c == 0 || c > m_palette.size() ? QColor() : QColor::fromRgba(m_palette[c - 1]);
}

std::optional<QString> PointAttributes::labelAt(qint64 index) const
{
    if (!holds(index))
        return std::nullopt;
    return TimeLabels::shared().text(m_labels[size_t(index - m_first)]);
}

quint32 PointAttributes::oldestLabel() const
{
    // Numbers only grow along a series; the empty label has none.
    for (quint32 id : m_labels)
        if (id != TimeLabels::kEmpty)
            return id;
    return TimeLabels::kEmpty;
}
