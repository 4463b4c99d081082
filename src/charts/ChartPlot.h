#pragma once
// A chart that gives back its full-size paint buffer while it is not shown:
// of 31 charts on tabs one or two show at a time, and each buffer is as large
// as the chart. The next replot, when the chart shows again, makes a new one.
#include <qcustomplot.h>

class ChartPlot : public QCustomPlot {
    Q_OBJECT
public:
    explicit ChartPlot(QWidget *parent = nullptr);

    // Paint buffers held now (0 while hidden).
    int paintBufferCount() const { return int(mPaintBuffers.size()); }

protected:
    void hideEvent(QHideEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void releaseBuffersIfHidden();
};
