#pragma once

#include "pages/WindowHost.h"

class DailyTimer;
class GraphImages;
class Mailer;
class QObject;
class QTimer;
class SteadyTimer;
class StatisticsLog;
class TelnetPlotting;
struct RunState;
struct TSettings;

// The objects the timers of the day act on. The settings file's path and the mailer are read when
// a job runs: both are known once the settings are loaded.
struct DailyParts {
    TSettings &settings;
    RunState &run;
    const QString &settingsFilePath;
    StatisticsLog &log;
    TelnetPlotting &telnetPlotting;
    GraphImages &images;
    Mailer *const &mailer;
};

// The timers as built.
struct DailyTimers {
    DailyTimer *daily = nullptr;
    QTimer *tmr15Mins = nullptr;    // the telnet charts' 15-minute step
    SteadyTimer *tmrLogAt = nullptr; // the log line every LogAtInterval minutes
};

// The daily timer's jobs (image clean-up, log trim, the incremental charts' reset, the daily captures and
// e-mail) and the 15-minute and log-at timers, neither started; what the log-at timer runs is the window's.
// `window` owns them and the connections.
DailyTimers buildDailyTimers(QObject *window, const DailyParts &parts, const WindowHost &host);
