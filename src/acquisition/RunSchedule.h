#pragma once
// Run on schedule: monitoring started now but polling, or plotting, only
// during the capture hours. The mode is handed to Run, which sets the run
// state's flags once it has armed the polling timer.
#include <QString>

struct RunState;

enum class ScheduleMode {
    Immediate, // "Run and plot immediately"
    Waiting,   // cycles outside the capture hours do nothing
    PlotOnly,  // cycles outside the capture hours fetch and log, but plot nothing
};

namespace runschedule {

// An hour as the captions write it: 8 gives "0800".
QString hourText(int hour);
// The drop-down items' captions (the immediate one has no hours).
QString menuCaption(ScheduleMode mode, int fromHour, int toHour);
// The window caption of a scheduled run; base is the program's caption.
QString windowCaption(const QString &base, ScheduleMode mode, int fromHour, int toHour);
// Sets ScheduleWaiting and SchedulePlotOnly for the mode.
void apply(ScheduleMode mode, RunState &state);

} // namespace runschedule
