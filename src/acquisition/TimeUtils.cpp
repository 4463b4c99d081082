#include "acquisition/TimeUtils.h"

#include <cmath>
#include <cstdlib>
#include <optional>

namespace TimeUtils {

namespace {

constexpr qint64 MSecsPerDay = 86400000;
constexpr double MinutesPerDay = 1440.0;

QDate epoch() { return QDate(1899, 12, 30); }

double timeFraction(int h, int m, int s, int ms)
{
    return (h * 3600000.0 + m * 60000.0 + s * 1000.0 + ms) / double(MSecsPerDay);
}

// Days before the epoch are negative but their time of day still counts
// forward, so the fraction is subtracted there.
TDateTime compose(TDateTime date, double time) { return date < 0 ? date - time : date + time; }

// Whole days (towards zero) and the time of day in ms, rounded to the ms.
void decompose(TDateTime t, qint64 &days, qint64 &msOfDay)
{
    const qint64 ms = std::llround(t * double(MSecsPerDay));
    days = ms / MSecsPerDay;
    msOfDay = std::llabs(ms) % MSecsPerDay;
}

// Sunday-first numbering: 1 = Sunday .. 7 = Saturday.
int sundayFirstDayOfWeek(const QDate &d) { return d.dayOfWeek() % 7 + 1; }

bool holds(const Window &w, TDateTime t) { return (t >= w.from || TzSameDateTime(w.from, t)) && t < w.to; }

struct Transition {
    QDateTime wall; // the local clock just before the change (fields only)
    int offsetBefore = 0;
    int offsetAfter = 0;
};

SystemTimeRule yearlyRule(const QDateTime &wall)
{
    const QDate d = wall.date();
    const QTime t = wall.time();
    SystemTimeRule r;
    r.wMonth = d.month();
    r.wDayOfWeek = d.dayOfWeek() % 7;
    r.wDay = d.day() + 7 > d.daysInMonth() ? 5 : (d.day() - 1) / 7 + 1;
    r.wHour = t.hour();
    r.wMinute = t.minute();
    r.wSecond = t.second();
    r.wMilliseconds = t.msec();
    return r;
}

// Stand-in for a transition the year lacks (daylight time begins or ends for
// good). A change that turns the clock forward goes to the end of the year and
// one that turns it back to the start, so neither the skipped nor the repeated
// hour it implies lands inside the year.
SystemTimeRule yearBoundaryRule(int year, bool clockForward)
{
    const QDate d = clockForward ? QDate(year, 12, 31) : QDate(year, 1, 1);
    SystemTimeRule r;
    r.wYear = year;
    r.wMonth = d.month();
    r.wDayOfWeek = d.dayOfWeek() % 7;
    r.wDay = d.day();
    r.wHour = clockForward ? 24 : 0; // midnight ending Dec 31
    return r;
}

} // namespace

TDateTime toTDateTime(const QDate &date)
{
    return date.isValid() ? TDateTime(epoch().daysTo(date)) : 0;
}

TDateTime toTDateTime(const QTime &time)
{
    return time.isValid() ? time.msecsSinceStartOfDay() / double(MSecsPerDay) : 0;
}

TDateTime toTDateTime(const QDateTime &dt)
{
    return dt.isValid() ? compose(toTDateTime(dt.date()), toTDateTime(dt.time())) : 0;
}

QDate toQDate(TDateTime t)
{
    qint64 days, ms;
    decompose(t, days, ms);
    return epoch().addDays(days);
}

QTime toQTime(TDateTime t)
{
    qint64 days, ms;
    decompose(t, days, ms);
    return QTime::fromMSecsSinceStartOfDay(int(ms));
}

QDateTime toQDateTime(TDateTime t)
{
    return QDateTime(toQDate(t), toQTime(t));
}

QDateTime toQDateTime(TDateTime t, const QTimeZone &zone)
{
    return QDateTime(toQDate(t), toQTime(t), zone);
}

TDateTime LocalTimeToUTC(bool ambiguousAsDaylight, TDateTime local)
{
    return ConvertLocalTimeToUTC(currentTimeZoneRecord(TzYearOf(local)), ambiguousAsDaylight, local);
}

TDateTime ConvertLocalTimeToUTC(const TimeZoneRecord &tz, bool ambiguousAsDaylight, TDateTime t)
{
    TDateTime ds, ss;
    int S, D;
    if (!GetTransitionDates(tz, TzYearOf(t), ds, ss, S, D))
        return t + tz.Bias / MinutesPerDay;

    const double shift = (S - D) / MinutesPerDay;
    const int F = ambiguousAsDaylight ? D : S;
    // Which transition repeats an hour and which skips one depends on the sign
    // of the daylight bias; which span is "inside" depends on the hemisphere.
    if (ds < ss) {
        if (D < S)
            return ApplyBiasForDate(t, D, S, F, {ss - shift, ss}, {ds, ds + shift}, {ds, ss});
        return ApplyBiasForDate(t, D, S, F, {ds + shift, ds}, {ss, ss - shift}, {ds, ss});
    }
    if (D < S)
        return ApplyBiasForDate(t, S, D, F, {ss - shift, ss}, {ds, ds + shift}, {ss, ds});
    return ApplyBiasForDate(t, S, D, F, {ds + shift, ds}, {ss, ss - shift}, {ss, ds});
}

bool GetTransitionDates(const TimeZoneRecord &tz, int year, TDateTime &daylightStart,
                        TDateTime &standardStart, int &standardBias, int &daylightBias)
{
    if (tz.DaylightDate.wMonth == 0 || tz.StandardDate.wMonth == 0)
        return false;
    daylightStart = TransitionRuleToDate(tz.DaylightDate, year);
    standardStart = TransitionRuleToDate(tz.StandardDate, year);
    standardBias = tz.Bias + tz.StandardBias;
    daylightBias = tz.Bias + tz.DaylightBias;
    return daylightStart != 0 && standardStart != 0;
}

TDateTime ApplyBiasForDate(TDateTime local, int innerBias, int outsideBias, int ambiguousBias,
                           Window ambiguous, Window skipped, Window inner)
{
    if (holds(ambiguous, local))
        return local + ambiguousBias / MinutesPerDay;
    if (holds(skipped, local))
        return 0;
    if (holds(inner, local))
        return local + innerBias / MinutesPerDay;
    return local + outsideBias / MinutesPerDay;
}

TDateTime TransitionRuleToDate(const SystemTimeRule &rule, int year)
{
    if (rule.wMonth == 0)
        return 0;
    TDateTime date = 0;
    if (rule.wYear == 0) {
        date = TzNthWeekdayOfMonth(year, rule.wMonth, rule.wDay, rule.wDayOfWeek + 1);
    } else if (rule.wYear == year) {
        const QDate d(rule.wYear, rule.wMonth, rule.wDay);
        date = d.isValid() ? toTDateTime(d) : 0;
    }
    if (date == 0)
        return 0;
    return compose(date, timeFraction(rule.wHour, rule.wMinute, rule.wSecond, rule.wMilliseconds));
}

TDateTime TzNthWeekdayOfMonth(int year, int month, int n, int weekday)
{
    const QDate first(year, month, 1);
    if (!first.isValid() || weekday < 1 || weekday > 7)
        return 0;
    if (n >= 1 && n <= 4) {
        int d = weekday + 1 - sundayFirstDayOfWeek(first);
        if (d < 1)
            d += 7;
        return toTDateTime(first) + (n - 1) * 7 + d - 1;
    }
    if (n == 5) {
        const int last = TzDaysInMonth(toTDateTime(first));
        int d = weekday - sundayFirstDayOfWeek(QDate(year, month, last)) + last;
        if (d > last)
            d -= 7;
        return toTDateTime(first) + d - 1;
    }
    return 0;
}

int TzDaysInMonth(TDateTime date)
{
    switch (TzMonthOf(date)) {
    case 2:
        return TzIsLeapYearOfDate(date) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    default:
        return 31;
    }
}

bool TzIsLeapYearOfDate(TDateTime date) { return TzIsLeapYear(TzYearOf(date)); }

bool TzIsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int TzYearOf(TDateTime date) { return toQDate(date).year(); }

int TzMonthOf(TDateTime date) { return toQDate(date).month(); }

bool TzSameDateTime(TDateTime a, TDateTime b) { return std::fabs(a - b) <= DateTimeTolerance; }

TimeZoneRecord currentTimeZoneRecord(const QTimeZone &zone, int year)
{
    TimeZoneRecord r;
    if (!zone.isValid())
        return r;

    // A margin of days either side: the year is the one on the local clock.
    const QDateTime from(QDate(year - 1, 12, 30), QTime(0, 0), Qt::UTC);
    const QDateTime to(QDate(year + 1, 1, 3), QTime(0, 0), Qt::UTC);
    std::optional<Transition> daylightStart, standardStart;
    for (const QTimeZone::OffsetData &after : zone.transitions(from, to)) {
        const QTimeZone::OffsetData before = zone.offsetData(after.atUtc.addMSecs(-1));
        const bool wasDaylight = before.daylightTimeOffset != 0;
        const bool isDaylight = after.daylightTimeOffset != 0;
        if (wasDaylight == isDaylight)
            continue; // a change of standard offset alone has no place in the record
        const Transition tr{after.atUtc.addSecs(before.offsetFromUtc), before.offsetFromUtc,
                            after.offsetFromUtc};
        if (tr.wall.date().year() != year)
            continue;
        auto &slot = isDaylight ? daylightStart : standardStart;
        if (!slot) // a year with more than one daylight period keeps its first
            slot = tr;
    }

    if (!daylightStart && !standardStart) {
        // One offset all year, whatever the zone calls it.
        r.Bias = -zone.offsetFromUtc(QDateTime(QDate(year, 7, 1), QTime(0, 0), Qt::UTC)) / 60;
        return r;
    }

    const int standardOffset = standardStart ? standardStart->offsetAfter : daylightStart->offsetBefore;
    const int daylightOffset = daylightStart ? daylightStart->offsetAfter : standardStart->offsetBefore;
    r.Bias = -standardOffset / 60;
    r.StandardBias = 0;
    r.DaylightBias = -daylightOffset / 60 - r.Bias;
    r.DaylightDate = daylightStart ? yearlyRule(daylightStart->wall)
                                   : yearBoundaryRule(year, daylightOffset > standardOffset);
    r.StandardDate = standardStart ? yearlyRule(standardStart->wall)
                                   : yearBoundaryRule(year, standardOffset > daylightOffset);
    return r;
}

TimeZoneRecord currentTimeZoneRecord(int year)
{
    return currentTimeZoneRecord(QTimeZone::systemTimeZone(), year);
}

} // namespace TimeUtils
