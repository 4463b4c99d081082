#pragma once
// The window's log commands: "View log", "Copy to log", the system messages'
// "Save As..." and a chart's "Include In Log". Their file dialogs open without
// blocking the event loop, as children of the window.
#include <QObject>
#include <QString>
#include <functional>

class ChartSet;
class SettingsHub;
class StatisticsLog;
class QWidget;

// What the commands show and read in the window.
struct LogCommandsHost {
    std::function<void(const QString &text, bool warning)> messageBox;
    std::function<QString(int panel)> statusPanel; // 0: when the run started; 3: the log file written
    std::function<QString()> messagesText;         // the system messages pane
};

class LogCommands : public QObject {
    Q_OBJECT
public:
    LogCommands(SettingsHub &hub, ChartSet &charts, StatisticsLog &log, LogCommandsHost host, QWidget *window);

    // The statistics log in the desktop's program; with a file per day, the day is chosen first.
    void viewLog();
    // Every plotted point but the first appended to a file the user names (the dialog is CopyLogDialog).
    void copyToLog();
    // The system messages' lines into a file the user names.
    void saveMessages();
    // Toggles the chart's logging switch; the next poll's line then starts with a fresh header.
    void includeInLog(int chart);

private:
    SettingsHub &m_hub;
    ChartSet &m_charts;
    StatisticsLog &m_log;
    LogCommandsHost m_host;
    QWidget *m_window;
};
