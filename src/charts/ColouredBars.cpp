#include "charts/ColouredBars.h"

#include "charts/PointAttributes.h"

#include <cmath>

ColouredBars::ColouredBars(QCPAxis *keyAxis, QCPAxis *valueAxis) : QCPBars(keyAxis, valueAxis)
{
}

QColor ColouredBars::barColour(double key) const
{
    if (m_attributes) {
        const QColor c = m_attributes->colourAt(qint64(std::llround(key)));
        if (c.isValid())
            return c;
    }
    return mBrush.color();
}

void ColouredBars::draw(QCPPainter *painter)
{
    if (!mKeyAxis || !mValueAxis || mDataContainer->isEmpty())
        return;
    QCPBarsDataContainer::const_iterator begin, end;
    getVisibleDataBounds(begin, end);
    if (begin == end)
        return;
    const QRectF clip = QRectF(clipRect()).adjusted(-2, -2, 2, 2);
    applyDefaultAntialiasingHint(painter);
    painter->setPen(mPen);
    for (auto it = begin; it != end; ++it) {
        if (std::isnan(it->value))
            continue;
        QBrush brush = mBrush;
        if (brush.style() == Qt::NoBrush)
            brush.setStyle(Qt::SolidPattern);
        brush.setColor(barColour(it->key));
        painter->setBrush(brush);
        // Values far outside the range would give the painter huge rectangles.
        const QRectF bar = getBarRect(it->key, it->value).normalized().intersected(clip);
        if (!bar.isEmpty())
            painter->drawRect(bar);
    }
}
