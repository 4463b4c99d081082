#pragma once

#include <QString>
#include <functional>

class ChartSet;
class QObject;
class QPushButton;
class QTabWidget;
class SettingsHub;
class TelnetPage;
class TelnetSession;
struct RunState;
struct TSettings;
struct TelnetFigures;

// What the telnet tab's pages report to the window, without the window.
struct TelnetPagesHost {
    std::function<void(const QString &)> messageBox;
    std::function<void(const QString &)> systemMessage;
};

// The telnet tab's pages as built.
struct TelnetPages {
    TelnetPage *page = nullptr;      // the terminal with its command bar, and the session's summary
    QPushButton *btnFont = nullptr;  // in the terminal's top row
};

// The session's summary and the terminal become the first pages of the telnet tab's `tabs`, followed
// by the target SNR page; the user-figure marking renames charts 30 and 31 and keeps their titles in the
// settings, through the hub. `context` owns the connections.
TelnetPages buildTelnetPages(QObject *context, QTabWidget *tabs, SettingsHub &hub, const RunState &run,
                             TelnetSession &session, ChartSet &charts, TelnetFigures &figures,
                             const TelnetPagesHost &host);
