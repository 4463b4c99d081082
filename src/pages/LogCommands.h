#pragma once
// The window's log commands: "View log", "Copy to log", the system messages'
// "Save As..." and a chart's "Include In Log". Their file dialogs open without
// blocking the event loop, as children of the window.
#include "pages/WindowHost.h"

#include <QObject>
#include <QString>

class ChartSet;
class SettingsHub;
class StatisticsLog;
class QWidget;

class LogCommands : public QObject {
    Q_OBJECT
public:
    // The window's status panels tell when the run started (0) and which log file is written (3);
    // messagesText reads the system messages pane.
    LogCommands(SettingsHub &hub, ChartSet &charts, StatisticsLog &log, WindowHost host,
                std::function<QString()> messagesText, QWidget *window);

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
    WindowHost m_host;
    std::function<QString()> m_messagesText;
    QWidget *m_window;
};
