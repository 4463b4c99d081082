#pragma once
// Number-to-text conversions in the classic forms the settings file, the log
// and the captions use.
#include <QString>

namespace numfmt {

// General form with up to 15 significant digits, no exponent for ordinary
// magnitudes, no trailing zeros ("16.168", "6", "-0.5", "1E20"); decimal is the decimal sign.
QString general(double value, QChar decimal = QLatin1Char('.'));

// The general form when it reads back as the same value, else the shortest
// text that does ("1.7976931348623157E308", which 15 digits round past the
// largest double). What the settings file stores.
QString generalExact(double value, QChar decimal = QLatin1Char('.'));

// General form at a precision: the value rounded to that many significant
// digits, scientific ("1.23E3") when it has more integer digits than that or
// is below 1E-5 ("6.45", "12.3" at precision 3).
QString generalPrecision(double value, int precision, QChar decimal = QLatin1Char('.'));

// The value rounded to that many significant digits.
double roundSignificant(double value, int digits);

// The classic "number" form: at most `precision` significant digits and
// exactly `decimals` decimals, rounded once (half up) to whichever is
// shorter, with group separators (6.4499998 at 3, 1 gives "6.4").
QString number(double value, int precision, int decimals, QChar group = QLatin1Char(','),
               QChar decimal = QLatin1Char('.'));

// Fixed form with the given number of decimals, rounded half away from zero ("6.50").
QString fixed(double value, int decimals, QChar decimal = QLatin1Char('.'));

// Shortest text that reads back as the same single-precision value (6.4f -> "6.4").
QString shortestSingle(float value, QChar decimal = QLatin1Char('.'));

// Inserts group separators every three digits into the integer part of a
// non-negative number text ("1234567" -> "1,234,567", "1234.5" -> "1,234.5").
// Text that does not start with a digit is returned unchanged.
QString insertThousands(const QString &number, QChar group = QLatin1Char(','), QChar decimal = QLatin1Char('.'));

// Parses text written with the given decimal sign (surrounding blanks allowed);
// ok is false when it is not a number.
double parse(const QString &text, QChar decimal, bool *ok);

} // namespace numfmt
