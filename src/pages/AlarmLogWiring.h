#pragma once

#include "pages/WindowHost.h"

class AlarmActions;
class AlarmInputs;
class AlarmPage;
class LogCommands;
class Mailer;
class QObject;
class StatisticsLog;

// What the alarms and the statistics log ask of the window beyond its messages.
struct AlarmLogHost {
    std::function<void()> stop;         // Stop, as its button does
    std::function<void()> stateClicked; // the alarm page's state box: the window's caption follows
};

// The statistics log's file name into status panel 3 and its messages; a missing log folder stops the run
// and says so. The alarm inputs' lines go to the log and their alarms to the actions; the alarm page's
// "View Log" and "Send Now" go to the log commands and the mailer (read when sent: it is made once the
// settings are loaded). `window` owns the connections.
void wireAlarmsAndLog(QObject *window, StatisticsLog &log, AlarmInputs &inputs, AlarmActions &actions,
                      AlarmPage &page, LogCommands &logCommands, Mailer *const &mailer, const WindowHost &host,
                      const AlarmLogHost &alarmHost);
