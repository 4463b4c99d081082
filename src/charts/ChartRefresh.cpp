#include "charts/ChartRefresh.h"

#include <QEvent>
#include <qcustomplot.h>

namespace {

const char *const kStale = "veltranoStale";

class ShowWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->property(kStale).toBool()) {
            watched->setProperty(kStale, false);
            static_cast<QCustomPlot *>(watched)->replot(QCustomPlot::rpQueuedReplot);
        }
        return false;
    }
};

} // namespace

void chartrefresh::request(QCustomPlot *plot)
{
    if (!plot)
        return;
    if (plot->isVisible()) {
        plot->replot(QCustomPlot::rpQueuedReplot);
        return;
    }
    plot->setProperty(kStale, true);
}

void chartrefresh::watch(QCustomPlot *plot)
{
    plot->setProperty(kStale, true);
    plot->installEventFilter(new ShowWatcher(plot));
}
