#pragma once
// Closing the main window: to the tray, a confirmation, or the shut-down
// steps. Each step is bounded and runs on its own, so one that fails does not
// keep the others (and the close) from happening.
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class NoiseTrayIcon;
class PollImages;
class PollingCycle;
class QMessageBox;
class QPushButton;
class QTabWidget;
class QWidget;
class RouterHttpClient;
class StatusChannel;
class SteadyTimer;
class TelnetSession;
class ThomsonSession;
class WebServerPage;
struct TSettings;

// What the close and shut-down steps ask, stop and save.
struct ShutDownParts {
    TSettings &settings;
    const QString &settingsFilePath;
    NoiseTrayIcon &trayIcon;
    ThomsonSession &thomson;
    RouterHttpClient &http;
    QPushButton &btnStart;
    SteadyTimer &timer1;
    PollingCycle &cycle;
    WebServerPage &webPage;
    TelnetSession &telnet;
    QTabWidget &pageControl;
    QWidget *statusPage; // the router status page
    PollImages &pollImages;
    StatusChannel &status;
    QPointer<QMessageBox> &closeConfirmBox;
};

// The window's own part: its caption, Stop and the settings file.
struct ShutDownHost {
    QString caption;
    std::function<void()> stop;
    std::function<bool()> saveSettings;
};

class ShutDownSequence : public QObject {
public:
    // `window` is hidden, asked over and finally closed.
    ShutDownSequence(QWidget &window, const ShutDownParts &parts, ShutDownHost host);

    // ending: the system ends the program, nobody is asked.
    // fromTray: the tray menu's Close, which closes whatever CloseToTray says.
    void closeQuery(bool ending, bool fromTray);
    // The shut-down has finished: the window may close.
    bool done() const { return m_done; }

private:
    void shutDown(bool ending);
    void logout();
    void steps();
    void finish();

    QWidget &m_window;
    ShutDownParts m_parts;
    ShutDownHost m_host;
    bool m_closing = false; // the shut-down sequence has started
    bool m_done = false;    // it has finished
    bool m_ending = false;  // the system ends the program: nobody waits for an answer
};
