#pragma once
// Redraws a chart only when it can be seen: a chart on a page that is not
// showing is marked out of date and redrawn when its page is shown. Drawing
// the two dozen hidden charts at every poll would cost far more than the
// poll itself; chart images draw their layers afresh and are not affected.
class QCustomPlot;
class QObject;

namespace chartrefresh {

void request(QCustomPlot *plot);

// Watches the chart so it is redrawn when it is shown while out of date.
void watch(QCustomPlot *plot);

} // namespace chartrefresh
