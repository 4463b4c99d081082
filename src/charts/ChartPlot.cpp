#include "charts/ChartPlot.h"

ChartPlot::ChartPlot(QWidget *parent) : QCustomPlot(parent)
{
    // A replot of a hidden chart (an image of it, say) makes buffers again.
    connect(this, &QCustomPlot::afterReplot, this, &ChartPlot::releaseBuffersIfHidden, Qt::QueuedConnection);
}

void ChartPlot::hideEvent(QHideEvent *event)
{
    QCustomPlot::hideEvent(event);
    releaseBuffersIfHidden();
}

void ChartPlot::showEvent(QShowEvent *event)
{
    QCustomPlot::showEvent(event);
    if (mPaintBuffers.isEmpty())
        replot(rpRefreshHint);
}

void ChartPlot::releaseBuffersIfHidden()
{
    if (!isVisible())
        mPaintBuffers.clear();
}
