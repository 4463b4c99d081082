#pragma once
// Local time to UTC by a zone's yearly daylight-saving rule, in the program's
// date-time type. The rule has the shape of the Windows time-zone record, so
// stamps come out as they always have, including 0 for a local time that does
// not exist.
#include <QDateTime>
#include <QTimeZone>

namespace TimeUtils {

// Days since 1899-12-30; the fraction is the time of day. Before that day
// the fraction still counts forward from midnight (-1.25 is 1899-12-29 06:00).
using TDateTime = double;

// Two date-times closer than this (0.1 ms) are the same.
inline constexpr double DateTimeTolerance = 1.1574074074074074e-09;

// Wall-clock fields only: nothing is converted between zones. Decoding rounds
// to the millisecond; an invalid input encodes as 0.
TDateTime toTDateTime(const QDate &date);
TDateTime toTDateTime(const QTime &time);
TDateTime toTDateTime(const QDateTime &dt);
QDate toQDate(TDateTime t);
QTime toQTime(TDateTime t);
QDateTime toQDateTime(TDateTime t); // local time
QDateTime toQDateTime(TDateTime t, const QTimeZone &zone);

// A SYSTEMTIME used as a transition rule. wYear 0: the wDay-th (1..4, 5 = last)
// wDayOfWeek (0 = Sunday) of wMonth, every year; otherwise that one date.
// wMonth 0: no rule.
struct SystemTimeRule {
    int wYear = 0;
    int wMonth = 0;
    int wDayOfWeek = 0;
    int wDay = 0;
    int wHour = 0;
    int wMinute = 0;
    int wSecond = 0;
    int wMilliseconds = 0;
    friend bool operator==(const SystemTimeRule &, const SystemTimeRule &) = default;
};

// The fields of TIME_ZONE_INFORMATION the conversion reads. Biases are in
// minutes, UTC = local + bias. StandardDate is given in daylight wall-clock
// time and DaylightDate in standard wall-clock time (the clock at the moment).
struct TimeZoneRecord {
    int Bias = 0;
    SystemTimeRule StandardDate;
    int StandardBias = 0;
    SystemTimeRule DaylightDate;
    int DaylightBias = 0;
};

// Half-open [from, to); see ApplyBiasForDate.
struct Window {
    TDateTime from = 0;
    TDateTime to = 0;
};

// ConvertLocalTimeToUTC with the system zone's record for the year of local.
TDateTime LocalTimeToUTC(bool ambiguousAsDaylight, TDateTime local);

// UTC for a local time, or 0 when the local time falls in the hour the clocks
// skip. In the repeated hour the daylight bias applies when ambiguousAsDaylight
// is set, the standard bias otherwise.
TDateTime ConvertLocalTimeToUTC(const TimeZoneRecord &tz, bool ambiguousAsDaylight, TDateTime local);

// The year's two transition moments (local) and total biases (Bias + StandardBias,
// Bias + DaylightBias). False when a rule is missing or gives no date this year.
bool GetTransitionDates(const TimeZoneRecord &tz, int year, TDateTime &daylightStart,
                        TDateTime &standardStart, int &standardBias, int &daylightBias);

// local + bias of the first window that holds local: ambiguous (ambiguousBias),
// skipped (result 0), inner (innerBias); outsideBias otherwise. A window holds
// t when t >= from (within the tolerance) and t < to.
TDateTime ApplyBiasForDate(TDateTime local, int innerBias, int outsideBias, int ambiguousBias,
                           Window ambiguous, Window skipped, Window inner);

// The moment a rule gives in a year, or 0 when it gives none.
TDateTime TransitionRuleToDate(const SystemTimeRule &rule, int year);

// The n-th (1..4, 5 = last) weekday (1 = Sunday .. 7) of the month, or 0.
TDateTime TzNthWeekdayOfMonth(int year, int month, int n, int weekday);

int TzDaysInMonth(TDateTime date);
bool TzIsLeapYearOfDate(TDateTime date);
bool TzIsLeapYear(int year);
int TzYearOf(TDateTime date);
int TzMonthOf(TDateTime date);
bool TzSameDateTime(TDateTime a, TDateTime b);

// The record for a year built from the zone's transitions: Bias is the
// standard offset negated; when daylight time begins or ends in that year the
// two rules are that year's transitions as yearly rules on the local clock.
// No daylight time: both rule months are 0.
TimeZoneRecord currentTimeZoneRecord(const QTimeZone &zone, int year);
TimeZoneRecord currentTimeZoneRecord(int year); // the process's system zone

} // namespace TimeUtils
