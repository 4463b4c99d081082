#pragma once

#include "pages/WindowHost.h"

class QAbstractButton;
class QTabWidget;
class QWidget;
class RouterHttpClient;
class RouterLog;
class RouterViewers;
class StatusPageTab;
struct RunState;
struct TSettings;

// The router's log and its viewers as built.
struct RouterLogViewers {
    RouterLog *log = nullptr;
    RouterViewers *viewers = nullptr;
};

// The router's log and the viewers that show it (and the status page's source): "View router's log" opens
// it, and showing the status page's tab in `pages` refreshes that page. `settingsFilePath` is read when a log
// is written (known once the settings are loaded). `window` owns them and the connections.
RouterLogViewers buildRouterLogViewers(QWidget *window, TSettings &settings, RunState &run, RouterHttpClient &http,
                                       const QString &settingsFilePath, QAbstractButton *viewRouterLog,
                                       QTabWidget *pages, StatusPageTab *statusPage, const WindowHost &host);
