#pragma once

#include "chartimages/ChartPopupMenus.h"

#include <QMap>
#include <QString>
#include <functional>

class BitLoadingRefresh;
class ChartCommands;
class QAbstractButton;
class QLabel;
class QTimer;
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
    std::function<void(const QMap<QString, bool> &)> indicatorsChanged; // over-range signs a drag or zoom changed
};

// The window's objects the charts' interaction and menus act on.
struct ChartWindowParts {
    QTimer *pollTimer;   // paused while a chart is dragged
    QLabel *factorPanel; // the timeline zoom factor
    ChartCommands &commands;
    ToneCharts &tones;
    BitLoadingRefresh &bitsRefresh;
    QAbstractButton *bitsRefreshButton; // the bits page's Refresh; null without the page
};

// Builds every chart's popup menu, serves the image commands to them and hands the window's
// items to `host`. The menus belong to `parent`.
ChartPopupMenus *wireChartMenus(ChartPopupMenus::Context context, ChartCommands &commands, ToneCharts &tones,
                                const ChartMenuHost &host, QWidget *parent);

// The charts' dragging, zooming and paging (the interaction in `context`), then every chart's popup
// menu as wireChartMenus() builds them, with the bits chart's Refresh served by the bit-loading refresh.
ChartPopupMenus *wireChartWindow(ChartPopupMenus::Context context, const ChartWindowParts &parts,
                                 ChartMenuHost host, QWidget *parent);
