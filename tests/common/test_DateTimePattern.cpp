#include "common/DateTimePattern.h"

#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

// Sunday 6 December 2026, hh:47:39.005.
QDateTime at(int h, int m = 47, int s = 39, int ms = 5)
{
    return QDateTime(QDate(2026, 12, 6), QTime(h, m, s, ms));
}

struct Case { const char *locale, *pattern; int hour; const char *expected; };

void check(const Case &c)
{
    EXPECT_EQ(dtp::format(QString::fromUtf8(c.pattern), at(c.hour), QLocale(QString::fromLatin1(c.locale))),
              QString::fromUtf8(c.expected))
        << c.locale << " '" << c.pattern << "' at " << c.hour;
}

TEST(DateTimePattern, FieldsAndMinuteRule)
{
    const Case cases[] = {
        {"C", "ddd dd mmm yyyy  hh:nn:ss", 8, "Sun 06 Dec 2026  08:47:39"},
        {"C", "ddd dd mmm yyyy   hh:mm:ss", 8, "Sun 06 Dec 2026   08:47:39"},
        {"C", "-yyyymmmdd-hhnn", 8, "-2026Dec06-0847"},
        {"C", "yyyy-mm-dd", 8, "2026-12-06"},
        {"C", "HH:mm", 8, "08:47"},
        {"C", "hh:nn    ", 8, "08:47    "},
        {"C", "d/m/yy dddd mmmm", 8, "6/12/26 Sunday December"},
        {"C", "mm hh", 8, "12 08"},
        {"C", "hh mm mm", 8, "08 47 12"}, // only the first m after h is minutes
        {"C", "hh d mm", 8, "08 6 12"},
        {"C", "hh x mm", 8, "08 x 12"},   // any letter counts, even a literal one
        {"C", "hh'x'mm", 8, "08x47"},     // quoted text does not
        {"C", "hhmmm", 8, "0847"},
        {"C", "hhh:n:sss", 8, "08:47:39"},
        {"C", "y yy yyy yyyy", 8, "26 26 2026 2026"},
        {"C", "s.zzz z zz", 8, "39.005 5 05"},
        {"C", "hh 'at' nn \"h\" 'open", 8, "08 at 47 h open"},
    };
    for (const auto &c : cases)
        check(c);
}

TEST(DateTimePattern, TwelveHourClock)
{
    const Case cases[] = {
        {"C", "h:nn am/pm", 8, "8:47 am"},   {"C", "h:nn am/pm", 20, "8:47 pm"},
        {"C", "h:nn am/pm", 0, "12:47 am"},  {"C", "h:nn am/pm", 12, "12:47 pm"},
        {"C", "hh:nn Am/pM", 20, "08:47 pM"}, {"C", "h:nn a/p", 20, "8:47 p"},
        {"C", "h:nn ampm", 20, "8:47 PM"},   {"C", "am/pm h", 20, "pm 8"},
        {"C", "hh 'am/pm'", 20, "20 am/pm"}, {"C", "hh hh am/pm", 20, "20 08 pm"},
        {"C", "hh a", 20, "20 a"},
    };
    for (const auto &c : cases)
        check(c);
}

TEST(DateTimePattern, LocaleFormats)
{
    const Case cases[] = {
        {"C", "ddddd", 8, "6 Dec 2026"},
        {"C", "dddddd", 8, "Sunday, 6 December 2026"},
        {"C", "[t] [tt]", 8, "[08:47:39] [08:47:39]"},
        {"C", "c", 8, "6 Dec 2026 08:47:39"},
        {"en_US", "ddddd", 8, "12/6/26"},
        {"en_US", "dddddd", 8, "Sunday, December 6, 2026"},
        {"en_US", "hh:nn t", 20, "20:47 8:47 PM"}, // the locale's marker stays inside it
        {"en_US", "tt", 8, "8:47:39 AM"},
        {"de_DE", "dd/mm/yyyy ddddd", 8, "06.12.2026 06.12.26"},
        {"de_DE", "dddd, mmmm", 8, "Sonntag, Dezember"},
        {"es_ES", "dddddd", 8, "domingo, 6 de diciembre de 2026"},
        {"es_ES", "tt", 8, "8:47:39"},
        {"fi_FI", "hh:nn", 8, "08.47"},
    };
    for (const auto &c : cases)
        check(c);
    EXPECT_EQ(dtp::format(QStringLiteral("ddd dd mmm"), at(8)), "Sun 06 Dec"); // system locale under C.UTF-8
}

TEST(DateTimePattern, MidnightAndWallClock)
{
    EXPECT_EQ(dtp::format(QStringLiteral("c"), at(0, 0, 0, 0), QLocale::c()), "6 Dec 2026");
    EXPECT_EQ(dtp::format(QStringLiteral("c"), at(0, 0, 0, 1), QLocale::c()), "6 Dec 2026 00:00:00");
    const QDateTime tokyo(QDate(2026, 12, 6), QTime(8, 47, 39), QTimeZone(9 * 3600));
    EXPECT_EQ(dtp::format(QStringLiteral("yyyy-mm-dd hh:nn"), tokyo, QLocale::c()), "2026-12-06 08:47");
}

// A locale format converted to our notation prints what Qt prints with the Qt format.
TEST(DateTimePattern, FromQtFormatMatchesQt)
{
    const char *formats[] = {
        "dddd, d MMMM yyyy", "M/d/yy", "dd.MM.yy", "h:mm AP", "AP h:mm", "d 'de' MMMM 'de' yyyy",
        "yyyy-MM-dd'T'HH:mm", "'It''s' h 'o''clock'", "dddd d", "ddddd", "MMM/y/yyy", "\"h\" mm",
        "yyyy年M月d日dddd", "h 'h' m", "ss:HH:mm",
    };
    const QLocale c = QLocale::c();
    for (int hour : {8, 20}) {
        for (const char *f : formats) {
            const QString qt = QString::fromUtf8(f);
            EXPECT_EQ(dtp::format(dtp::fromQtFormat(qt), at(hour), c), c.toString(at(hour), qt))
                << f << " -> " << dtp::fromQtFormat(qt).toStdString();
        }
    }
    EXPECT_EQ(dtp::format(dtp::fromQtFormat(QStringLiteral("t HH:mm")), at(8), c), "08:47");
}

} // namespace
