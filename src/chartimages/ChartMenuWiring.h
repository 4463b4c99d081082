#pragma once

#include "chartimages/ChartPopupMenus.h"

#include <QString>
#include <functional>

class ChartCommands;
class QWidget;
class ToneCharts;

// What the charts' popup menus run in the window, without the window.
struct ChartMenuHost {
    std::function<void(int chart)> includeInLog;
    std::function<void()> changeResetTime;
    std::function<int()> topChart;
    std::function<void()> bitsRefresh;
    std::function<bool()> bitsRefreshEnabled;
    std::function<void()> graphConfiguration;
    std::function<void()> statusChartsMenuShown; // the status-page charts' menu is about to open
    std::function<void(const QString &)> systemMessage;
};

// Builds every chart's popup menu, serves the image commands to them and hands the window's
// items to `host`. The menus belong to `parent`.
ChartPopupMenus *wireChartMenus(ChartPopupMenus::Context context, ChartCommands &commands, ToneCharts &tones,
                                const ChartMenuHost &host, QWidget *parent);
