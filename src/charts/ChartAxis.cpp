#include "charts/ChartAxis.h"

#include <qcustomplot.h>

#include <cmath>

double ChartAxis::minimum() const
{
    return m_axis ? m_axis->range().lower : 0.0;
}

double ChartAxis::maximum() const
{
    return m_axis ? m_axis->range().upper : 0.0;
}

void ChartAxis::apply(double min, double max)
{
    if (!m_axis)
        return;
    // The plot cannot scale a range of zero width; an equal pair is drawn a hair wide.
    if (max == min)
        max = min + std::max(std::abs(min) * 1e-9, 1e-9);
    m_axis->setRange(QCPRange(min, max));
}

void ChartAxis::setMinimum(double value)
{
    if (std::isnan(value) || value > maximum())
        throw LimitError(minimumError());
    apply(value, maximum());
}

void ChartAxis::setMaximum(double value)
{
    if (std::isnan(value) || value < minimum())
        throw LimitError(maximumError());
    apply(minimum(), value);
}

void ChartAxis::setMinMax(double min, double max)
{
    if (std::isnan(min) || std::isnan(max) || min > max)
        throw LimitError(minimumError());
    apply(min, max);
}

bool ChartAxis::trySetMinimum(double value) noexcept
{
    try {
        setMinimum(value);
        return true;
    } catch (const LimitError &) {
        return false;
    }
}

bool ChartAxis::trySetMaximum(double value) noexcept
{
    try {
        setMaximum(value);
        return true;
    } catch (const LimitError &) {
        return false;
    }
}

bool ChartAxis::setLimitsInSafeOrder(double min, double max) noexcept
{
    if (min > maximum())
        return trySetMaximum(max) && trySetMinimum(min);
    return trySetMinimum(min) && trySetMaximum(max);
}

void ChartAxis::scroll(double delta)
{
    if (m_axis)
        m_axis->moveRange(delta);
}
