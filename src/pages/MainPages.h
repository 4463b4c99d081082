#pragma once

#include "pages/SystemMessagesTab.h"

#include <QString>
#include <functional>

class AlarmActions;
class AlarmInputs;
class AlarmPage;
class BitLoadingRefresh;
class BitloadingPage;
class BitsTonePage;
class ChartSet;
class GraphImages;
class PingControls;
class QAction;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QWidget;
class RouterHttpClient;
class SettingsHub;
class StatisticsLog;
class StatusPageTab;
class TelnetPage;
class TelnetScriptRunner;
class TelnetSession;
class ThomsonSession;
class ToneCharts;
class WebServerPage;
struct RunState;
struct TSettings;
struct TelnetFigures;

// What the chart pages' controls need from the window, without the window.
struct MainPagesHost {
    std::function<void(const QString &)> messageBox;
    std::function<void(const QString &)> systemMessage;
    std::function<bool()> running;        // monitoring is on
    std::function<bool()> hiddenInTray;   // minimised to the tray
    std::function<void()> checkCameras;   // the capture schedule's verdict onto the capture pictures
    std::function<void()> pageChanged;    // another telnet sub-page was chosen
    std::function<void()> fontClicked;    // the terminal's font button
    std::function<void()> optionsClicked; // "Options..." of the SpeedTouch 585 page
};

// The objects the chart pages' controls work with.
struct MainPagesParts {
    TSettings &settings;
    RunState &run;
    SettingsHub &hub;
    ChartSet &charts;
    TelnetSession &telnet;
    TelnetFigures &figures;
    GraphImages &images;
    ThomsonSession &thomson;
    ToneCharts &tones;
    BitLoadingRefresh &bits;
    TelnetScriptRunner &scripts;
    const QString &settingsFilePath; // read when a script is picked: known once the settings are loaded
    QString &scriptFileName;         // the script last chosen for the script viewer
};

// The chart pages' controls as built; any may be null when its page is not there.
struct MainPages {
    PingControls *pingControls = nullptr;
    QPlainTextEdit *Memo6 = nullptr; // ping output
    TelnetPage *telnetPage = nullptr;
    QPushButton *btnFont = nullptr;
    BitsTonePage *bitsPage = nullptr;
    QWidget *bitsOptionsTab = nullptr; // the page that holds bitsPage, scrolling
    BitloadingPage *bitloadingPage = nullptr;
    QPushButton *Button2 = nullptr; // "Options..." of the SpeedTouch 585 page
};

// The controls of the chart pages `pages` already holds: ping, telnet, bits/tone and the SpeedTouch 585,
// with the tone charts wired to them. `window` owns the connections and parents the dialogs.
MainPages buildMainPages(QWidget *window, QTabWidget *pages, const MainPagesParts &parts, const MainPagesHost &host);

// The pages after the charts' as built.
struct WindowTabs {
    SystemMessagesTab messages;
    AlarmPage *alarms = nullptr;
    StatusPageTab *statusPage = nullptr; // with `saveWindowImage` on its popup
    WebServerPage *webServer = nullptr;
};

// Adds "System Messages" (its pane keeping at most `lineCap` lines), "Alarms", "Router Status Page" and
// the web server page to `pages`. `window` owns the connections to `saveMessages` and `systemMessage`.
WindowTabs buildWindowTabs(QWidget *window, QTabWidget *pages, int lineCap, TSettings &settings, RunState &run,
                           SettingsHub &hub, AlarmActions &actions, AlarmInputs &inputs, StatisticsLog &log,
                           RouterHttpClient &http, QAction *saveWindowImage, const std::function<void()> &saveMessages,
                           const std::function<void(const QString &)> &systemMessage);
