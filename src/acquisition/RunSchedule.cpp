#include "acquisition/RunSchedule.h"

#include "acquisition/RunState.h"

namespace runschedule {

QString hourText(int hour) { return QStringLiteral("%1").arg(hour * 100, 4, 10, QLatin1Char('0')); }

static QString hours(int fromHour, int toHour)
{
    return hourText(fromHour) + QStringLiteral(" - ") + hourText(toHour);
}

QString menuCaption(ScheduleMode mode, int fromHour, int toHour)
{
    switch (mode) {
    case ScheduleMode::Immediate:
        return QStringLiteral("Run and plot immediately");
    case ScheduleMode::Waiting:
        return QStringLiteral("Run and plot during scheduled capture (") + hours(fromHour, toHour) + QLatin1Char(')');
    case ScheduleMode::PlotOnly:
        return QStringLiteral("Run now but plot during scheduled capture (") + hours(fromHour, toHour) +
               QLatin1Char(')');
    }
    return {};
}

QString windowCaption(const QString &base, ScheduleMode mode, int fromHour, int toHour)
{
    switch (mode) {
    case ScheduleMode::Immediate:
        return base;
    case ScheduleMode::Waiting:
        return base + QStringLiteral("   [Scheduled ") + hours(fromHour, toHour) + QLatin1Char(']');
    case ScheduleMode::PlotOnly:
        return base + QStringLiteral("   [Scheduled Plot ") + hours(fromHour, toHour) + QLatin1Char(']');
    }
    return base;
}

void apply(ScheduleMode mode, RunState &state)
{
    state.ScheduleWaiting = mode == ScheduleMode::Waiting;
    state.SchedulePlotOnly = mode == ScheduleMode::PlotOnly;
}

} // namespace runschedule
