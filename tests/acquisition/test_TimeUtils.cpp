#include "acquisition/TimeUtils.h"

#include <QSet>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

using namespace TimeUtils;

QDateTime wall(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), QTimeZone::utc());
}

TDateTime at(int y, int mo, int d, int h = 0, int mi = 0) { return toTDateTime(wall(y, mo, d, h, mi)); }

SystemTimeRule yearly(int month, int n, int hour, int dayOfWeek = 0)
{
    SystemTimeRule r;
    r.wMonth = month;
    r.wDay = n;
    r.wDayOfWeek = dayOfWeek;
    r.wHour = hour;
    return r;
}

TimeZoneRecord record(int bias, int daylightBias, SystemTimeRule daylight, SystemTimeRule standard)
{
    TimeZoneRecord r;
    r.Bias = bias;
    r.DaylightBias = daylightBias;
    r.DaylightDate = daylight;
    r.StandardDate = standard;
    return r;
}

// An invalid expectation stands for the 0 of a local time that does not exist.
void expectUtc(TDateTime result, const QDateTime &expected, const QString &what)
{
    if (!expected.isValid())
        EXPECT_EQ(result, 0.0) << qPrintable(what);
    else
        EXPECT_EQ(toQDateTime(result, QTimeZone::utc()), expected) << qPrintable(what);
}

TEST(TimeUtils, DateTimeEncoding)
{
    struct Case { QDateTime dt; TDateTime value; };
    const Case cases[] = {
        {wall(1899, 12, 30), 0},          {wall(1899, 12, 31, 12), 1.5},
        {wall(1899, 12, 29, 6), -1.25},   {wall(1900, 3, 1), 61},
        {wall(2000, 1, 1), 36526},        {wall(2026, 3, 29, 18), 46110.75},
    };
    for (const auto &c : cases) {
        EXPECT_DOUBLE_EQ(toTDateTime(c.dt), c.value) << qPrintable(c.dt.toString());
        EXPECT_EQ(toQDateTime(c.value, QTimeZone::utc()), c.dt) << c.value;
    }
    // Decoding rounds to the millisecond and carries into the next day.
    EXPECT_EQ(toQDateTime(1.0 - 1e-9, QTimeZone::utc()), wall(1899, 12, 31));
    EXPECT_EQ(toQDateTime(46110 + 1.0 / 86400000 * 0.6, QTimeZone::utc()), wall(2026, 3, 29, 0, 0, 0, 1));
    EXPECT_EQ(toTDateTime(QDateTime()), 0.0);
}

TEST(TimeUtils, CalendarHelpers)
{
    struct Case { int year; bool leap; int february; };
    const Case years[] = {{2000, true, 29}, {1900, false, 28}, {2024, true, 29},
                          {2026, false, 28}, {2100, false, 28}, {2400, true, 29}};
    for (const auto &c : years) {
        EXPECT_EQ(TzIsLeapYear(c.year), c.leap) << c.year;
        EXPECT_EQ(TzIsLeapYearOfDate(at(c.year, 6, 30, 23)), c.leap) << c.year;
        EXPECT_EQ(TzDaysInMonth(at(c.year, 2, 10)), c.february) << c.year;
    }
    const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(TzDaysInMonth(at(2026, m, 15, 12)), days[m - 1]) << m;
        EXPECT_EQ(TzMonthOf(at(2026, m, 28, 23, 59)), m);
    }
    EXPECT_EQ(TzYearOf(at(2026, 12, 31, 23, 59)), 2026);
    EXPECT_EQ(TzYearOf(at(2027, 1, 1)), 2027);
    EXPECT_TRUE(TzSameDateTime(46000.5, 46000.5 + 1e-9));
    EXPECT_FALSE(TzSameDateTime(46000.5, 46000.5 + 2e-9));
}

TEST(TimeUtils, NthWeekdayOfMonth)
{
    struct Case { int year, month, n, weekday; QDate expected; };
    const Case cases[] = {
        {2024, 3, 5, 1, QDate(2024, 3, 31)},   // last Sunday on the 31st
        {2026, 3, 5, 1, QDate(2026, 3, 29)},   {2026, 10, 5, 1, QDate(2026, 10, 25)},
        {2026, 3, 1, 1, QDate(2026, 3, 1)},    // the 1st itself is that weekday
        {2026, 3, 1, 2, QDate(2026, 3, 2)},    {2026, 3, 4, 7, QDate(2026, 3, 28)},
        {2026, 10, 1, 1, QDate(2026, 10, 4)},  {2026, 3, 2, 1, QDate(2026, 3, 8)},
        {2026, 2, 5, 7, QDate(2026, 2, 28)},   {2024, 2, 5, 5, QDate(2024, 2, 29)},
        {2026, 3, 6, 1, QDate()},              {2026, 3, 0, 1, QDate()},
    };
    for (const auto &c : cases) {
        const TDateTime got = TzNthWeekdayOfMonth(c.year, c.month, c.n, c.weekday);
        EXPECT_EQ(got, c.expected.isValid() ? toTDateTime(c.expected) : 0.0)
            << c.year << '-' << c.month << " n=" << c.n << " wd=" << c.weekday;
    }
}

TEST(TimeUtils, TransitionRuleToDate)
{
    SystemTimeRule fixed = yearly(11, 5, 3);
    fixed.wYear = 2026;
    fixed.wMinute = 30;
    struct Case { SystemTimeRule rule; int year; TDateTime expected; };
    const Case cases[] = {
        {SystemTimeRule{}, 2026, 0},
        {yearly(3, 5, 2), 2026, at(2026, 3, 29, 2)},
        {yearly(3, 6, 2), 2026, 0},
        {fixed, 2026, at(2026, 11, 5, 3, 30)},
        {fixed, 2027, 0},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(TransitionRuleToDate(c.rule, c.year), c.expected) << c.year;
}

TEST(TimeUtils, ConvertLocalTimeToUTC)
{
    const TimeZoneRecord noRule = record(-60, -60, SystemTimeRule{}, yearly(10, 5, 3));
    SystemTimeRule other = yearly(3, 5, 2);
    other.wYear = 2025;
    const TimeZoneRecord otherYear = record(300, -60, other, yearly(11, 1, 2));
    const TimeZoneRecord europe = record(0, -60, yearly(3, 5, 1), yearly(10, 5, 2));
    const TimeZoneRecord sydney = record(-600, -60, yearly(10, 1, 2), yearly(4, 1, 3));
    const QDateTime none;

    struct Case { const TimeZoneRecord *tz; QDateTime local; bool flag; QDateTime utc; };
    const Case cases[] = {
        {&noRule, wall(2026, 7, 1, 12), true, wall(2026, 7, 1, 11)},
        {&noRule, wall(2026, 1, 1, 0, 30), true, wall(2025, 12, 31, 23, 30)},
        {&otherYear, wall(2026, 7, 1, 12), true, wall(2026, 7, 1, 17)},

        {&europe, wall(2026, 7, 1, 12), true, wall(2026, 7, 1, 11)},
        {&europe, wall(2026, 1, 15, 12), true, wall(2026, 1, 15, 12)},
        {&europe, wall(2026, 3, 29, 1, 30), true, none},
        {&europe, wall(2026, 3, 29, 2), true, wall(2026, 3, 29, 1)},
        {&europe, wall(2026, 10, 25, 1, 30), true, wall(2026, 10, 25, 0, 30)},
        {&europe, wall(2026, 10, 25, 1, 30), false, wall(2026, 10, 25, 1, 30)},
        {&europe, wall(2026, 10, 25, 2), true, wall(2026, 10, 25, 2)},

        {&sydney, wall(2026, 1, 15, 12), true, wall(2026, 1, 15, 1)},
        {&sydney, wall(2026, 7, 15, 12), true, wall(2026, 7, 15, 2)},
        {&sydney, wall(2026, 10, 4, 2, 30), true, none},
        {&sydney, wall(2026, 10, 4, 3), true, wall(2026, 10, 3, 16)},
        {&sydney, wall(2026, 4, 5, 2, 30), true, wall(2026, 4, 4, 15, 30)},
        {&sydney, wall(2026, 4, 5, 2, 30), false, wall(2026, 4, 4, 16, 30)},
    };
    for (const auto &c : cases)
        expectUtc(ConvertLocalTimeToUTC(*c.tz, c.flag, toTDateTime(c.local)), c.utc,
                  c.local.toString(Qt::ISODate) + (c.flag ? " daylight" : " standard"));
}

TEST(TimeUtils, RecordFromZone)
{
    struct Case { const char *zone; int bias, daylightBias; SystemTimeRule daylight, standard; };
    const Case cases[] = {
        {"Europe/Berlin", -60, -60, yearly(3, 5, 2), yearly(10, 5, 3)},
        {"Australia/Sydney", -600, -60, yearly(10, 1, 2), yearly(4, 1, 3)},
        {"America/New_York", 300, -60, yearly(3, 2, 2), yearly(11, 1, 2)},
        {"UTC", 0, 0, SystemTimeRule{}, SystemTimeRule{}},
        {"Asia/Tokyo", -540, 0, SystemTimeRule{}, SystemTimeRule{}},
    };
    for (const auto &c : cases) {
        const TimeZoneRecord r = currentTimeZoneRecord(QTimeZone(c.zone), 2026);
        EXPECT_EQ(r.Bias, c.bias) << c.zone;
        EXPECT_EQ(r.StandardBias, 0) << c.zone;
        EXPECT_EQ(r.DaylightBias, c.daylightBias) << c.zone;
        EXPECT_EQ(r.DaylightDate, c.daylight) << c.zone;
        EXPECT_EQ(r.StandardDate, c.standard) << c.zone;
    }
}

// UTC instants at which the zone's clock reads the given wall time: none in
// the skipped hour, two in the repeated one.
QList<QDateTime> instantsShowing(const QTimeZone &zone, const QDateTime &wallTime)
{
    QSet<int> offsets;
    for (int hours : {-36, 0, 36})
        offsets.insert(zone.offsetFromUtc(wallTime.addSecs(hours * 3600)));
    QList<QDateTime> out;
    for (int offset : offsets) {
        const QDateTime utc = wallTime.addSecs(-offset);
        if (zone.offsetFromUtc(utc) == offset)
            out.append(utc);
    }
    return out;
}

TEST(TimeUtils, RecordConvertsLikeTheZone)
{
    struct Case { const char *zone; int year, skipped, repeated; };
    const Case cases[] = {
        {"Europe/Berlin", 2026, 2, 2},   {"Australia/Sydney", 2026, 2, 2},
        {"Pacific/Auckland", 2026, 2, 2}, {"America/New_York", 2026, 2, 2},
        {"Europe/Dublin", 2026, 2, 2},   {"Africa/Casablanca", 2026, 2, 2},
        {"America/Sao_Paulo", 2010, 2, 2},
        {"America/Sao_Paulo", 2018, 2, 2}, {"America/Sao_Paulo", 2019, 0, 2}, // daylight time ends for good
        {"UTC", 2026, 0, 0},
    };
    for (const auto &c : cases) {
        const QTimeZone zone(c.zone);
        const TimeZoneRecord tz = currentTimeZoneRecord(zone, c.year);
        int skipped = 0, repeated = 0;
        QStringList mismatches;
        for (QDateTime w = wall(c.year, 1, 1); w.date().year() == c.year; w = w.addSecs(1800)) {
            const auto check = [&](bool daylight, const QDateTime &expected) {
                const TDateTime got = ConvertLocalTimeToUTC(tz, daylight, toTDateTime(w));
                if (expected.isValid() ? toQDateTime(got, QTimeZone::utc()) != expected : got != 0)
                    mismatches << w.toString(Qt::ISODate) + (daylight ? " daylight: " : " standard: ")
                                      + toQDateTime(got, QTimeZone::utc()).toString(Qt::ISODate);
            };
            const QList<QDateTime> utc = instantsShowing(zone, w);
            if (utc.isEmpty()) {
                ++skipped;
                check(true, QDateTime());
            } else if (utc.size() == 2) {
                ++repeated;
                for (bool daylight : {true, false})
                    check(daylight, zone.isDaylightTime(utc[0]) == daylight ? utc[0] : utc[1]);
            } else {
                check(true, QDateTime(w.date(), w.time(), zone).toUTC());
            }
        }
        EXPECT_TRUE(mismatches.isEmpty()) << c.zone << ' ' << c.year << ": "
                                          << qPrintable(mismatches.mid(0, 5).join(QStringLiteral(", ")));
        EXPECT_EQ(skipped, c.skipped) << c.zone << ' ' << c.year;
        EXPECT_EQ(repeated, c.repeated) << c.zone << ' ' << c.year;
    }
}

} // namespace
