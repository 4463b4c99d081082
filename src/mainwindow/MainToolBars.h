#pragma once
// The main window's two toolbars: Run, Stop, the schedule, Save, On top, Configure
// and Help on the first row; the logs and the image commands on the second.
#include <array>
#include <functional>

class QAction;
class QMainWindow;
class QPushButton;
class QToolBar;
class QToolButton;
class QString;
class ScheduleRunButton;
struct TSettings;

// The "Configure Graphs" menu's items, served by the window.
struct ConfigureGraphsHost {
    std::function<void()> yAxis;
    std::function<void()> commonSettings;
    std::function<void()> captureProperties;
    std::function<void()> setAverages;
    std::function<void()> captureSize;
};

// The toolbars' buttons as built; the window owns them and wires their clicks.
struct MainToolBars {
    QToolBar *ToolBar1 = nullptr;
    QToolBar *ToolBar2 = nullptr;
    QPushButton *btnStart = nullptr;
    QPushButton *btnStop = nullptr;
    ScheduleRunButton *btnSchedRun = nullptr;
    QPushButton *btnSave = nullptr;
    QPushButton *btnOnTop = nullptr;
    QToolButton *btnConfigure = nullptr; // with the "Configure Graphs" menu on its arrow
    QPushButton *btnHelp = nullptr;
    QPushButton *btnLog = nullptr;
    QPushButton *btnViewLog = nullptr;
    QPushButton *btnViewRouterLog = nullptr;
    QToolButton *btnCaptureAll = nullptr;
    QToolButton *btnCopy = nullptr;
    QToolButton *btnViewGraphs = nullptr;

    // Adds both rows to `window`. The schedule button reads `settings`; the image buttons
    // carry `imageCommands` (capture all, copy the top chart, view graphs) as their actions.
    static MainToolBars build(QMainWindow *window, const TSettings &settings,
                              const std::array<QAction *, 3> &imageCommands, const ConfigureGraphsHost &host);

    // Themed toolbars: all thirteen buttons lie flat until the pointer is over them.
    void setFlat(bool flat) const;
    // False for the old systems (by their version text) whose toolbars have no themes to lie flat on.
    static bool themedToolbars(const QString &systemVersion);
};
