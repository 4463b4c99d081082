#pragma once
// Number normalisation of router figures: the router writes numbers in its own
// style ([System] Numbering), the program converts them with the process
// locale's decimal sign. Every figure parser goes through these so that a
// taught figure, a label search and a telnet reply read a number alike.
#include <QChar>
#include <QString>

namespace RouterNumbers {

// A set of characters for the run scanners; digits always belong to it.
struct CharSet {
    QString extra; // the characters besides "0" to "9"
    bool has(QChar c) const { return (c >= u'0' && c <= u'9') || extra.contains(c); }
};

// Digits, ",", "-", "." (the label searches' numeric set).
inline const CharSet kNumericSet{QStringLiteral(",-.")};
// Digits, ",", "." (the label searches' sync set).
inline const CharSet kSyncSet{QStringLiteral(",.")};

// Trims; with Numbering 1 (point between thousands, decimal comma) removes
// every "." and turns every "," into "."; any other Numbering removes every ",".
QString SwapComma(const QString &text, int numbering);

// Widest magnitude a router figure may have: a 64-bit counter. Anything
// beyond is noise in the page and would overflow the figures' types.
inline constexpr double kMaxFigureMagnitude = 18446744073709551616.0; // 2^64

// Trims and converts with the decimal sign of the process locale
// (QLocale::system()); Default on any failure, an empty text included, and
// for a magnitude above kMaxFigureMagnitude ("81E8" passes, "1E30" does not).
double StrToFloatDef(const QString &text, double defaultValue);

// A figure as a 32-bit whole number: truncated, saturated at the type's
// ends, 0 for NaN (a sync speed of 11 digits must not wrap negative).
qint32 ToInt32(double value);

// With [System] Regional set, the first "." becomes "," so that a locale with
// a decimal comma converts the point-notation text.
QString RegionalStep(const QString &text, bool regional);

// The first run of a window: characters 1 to count of window are examined;
// those outside start are skipped up to the first one inside it, then the
// run goes on while the characters are in run.
QString FirstRun(const QString &window, int count, const CharSet &start, const CharSet &run);
inline QString FirstRun(const QString &window, int count, const CharSet &set)
{
    return FirstRun(window, count, set, set);
}

// The first signed number of a text: trimmed; skips to the first digit, "-",
// decimal or group character, then takes the longest run of digits, "-" and
// the decimal character (so a leading group character gives an empty result).
QString ExtractNumeric(const QString &text, QChar decimalChar, QChar groupChar);

// The value rounded to precision significant digits, written with exactly
// decimals decimals and the locale's thousands separators ("1,230.0",
// "-3.5", "6.5" at precision 3 and 1 decimal). The log's noise items use it.
QString FormatNumber(double value, int precision, int decimals);

} // namespace RouterNumbers
