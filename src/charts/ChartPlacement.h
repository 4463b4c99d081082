#pragma once

#include <QString>
#include <map>

class ChartCornerSigns;
class ChartPageControls;
class ChartSet;
class QTabWidget;

// The corner signs placed with the charts: by chart number and by over-range sign name.
struct PlacedCornerSigns {
    std::map<int, ChartCornerSigns *> byChart;
    std::map<QString, ChartCornerSigns *> byName;
};

// Each chart goes on its tab of `pages`, and on nested pages for "Page > Sub-page" paths,
// with its page controls and its corner signs.
PlacedCornerSigns placeCharts(QTabWidget *pages, ChartSet &charts, ChartPageControls &controls);
