#pragma once
// Date-time patterns in the notation the settings file stores
// ("ddd dd mmm yyyy  hh:nn:ss", "-yyyymmmdd-hhnn", "yyyy-mm-dd").
#include <QDateTime>
#include <QLocale>
#include <QString>

namespace dtp {

// Formats the date and time fields of dt (no time-zone conversion: dt is
// taken as the wall-clock time to show) with the pattern. Tokens, case-insensitive:
//   d dd ddd dddd ddddd(short date) dddddd(long date)
//   m mm mmm mmmm (month; minutes when the letter token before it was h or hh)
//   yy yyyy (y/yy: two digits, three or more: four)  h hh  n nn  s ss  z zzz
//   t (short time) tt (long time) c (short date + long time)
//   am/pm a/p ampm (12-hour clock for h/hh)  / (date separator) : (time separator)
//   "text" and 'text' are copied without their quotes; any other character is copied.
// Day and month names come from locale (English under the C locale).
QString format(const QString &pattern, const QDateTime &dt, const QLocale &locale = QLocale::system());

// A QLocale/QDateTime format ("dddd, d MMMM yyyy", "h:mm:ss AP t") in the
// notation above; the time-zone field is dropped. Used for ddddd, t, c and the like.
QString fromQtFormat(const QString &qtFormat);

} // namespace dtp
