#include "acquisition/RouterNumbers.h"

#include "common/NumberFormat.h"
#include "common/WindowHelpers.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>

namespace RouterNumbers {

namespace {

QChar localeDecimal()
{
    const QString d = QLocale::system().decimalPoint();
    return d.isEmpty() ? QLatin1Char('.') : d.front();
}

} // namespace

QString SwapComma(const QString &text, int numbering)
{
    QString t = text.trimmed();
    if (numbering == 1) {
        t.remove(QLatin1Char('.'));
        t.replace(QLatin1Char(','), QLatin1Char('.'));
    } else {
        t.remove(QLatin1Char(','));
    }
    return t;
}

double StrToFloatDef(const QString &text, double defaultValue)
{
    bool ok = false;
    const double v = numfmt::parse(text.trimmed(), localeDecimal(), &ok);
    return ok && std::fabs(v) <= kMaxFigureMagnitude ? v : defaultValue;
}

qint32 ToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<qint32>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<qint32>::min();
    return qint32(value); // truncates toward zero
}

QString RegionalStep(const QString &text, bool regional)
{
    QString t = text;
    if (regional) {
        const qsizetype dot = t.indexOf(QLatin1Char('.'));
        if (dot >= 0)
            t[dot] = QLatin1Char(',');
    }
    return t;
}

QString FirstRun(const QString &window, int count, const CharSet &start, const CharSet &run)
{
    const qsizetype end = qMin<qsizetype>(qMax(count, 0), window.size());
    qsizetype i = 0;
    while (i < end && !start.has(window[i]))
        ++i;
    const qsizetype first = i;
    if (i < end)
        ++i; // the starting character belongs to the run even when run lacks it
    while (i < end && run.has(window[i]))
        ++i;
    return window.mid(first, i - first);
}

QString ExtractNumeric(const QString &text, QChar decimalChar, QChar groupChar)
{
    const QString t = text.trimmed();
    const CharSet start{QString(QLatin1Char('-')) + decimalChar + groupChar};
    const CharSet run{QString(QLatin1Char('-')) + decimalChar};
    qsizetype i = 0;
    while (i < t.size() && !start.has(t[i]))
        ++i;
    const qsizetype first = i;
    while (i < t.size() && run.has(t[i]))
        ++i;
    return t.mid(first, i - first);
}

QString FormatNumber(double value, int precision, int decimals)
{
    const QString group = QLocale::system().groupSeparator();
    return numfmt::number(value, precision, decimals, group.isEmpty() ? QLatin1Char(',') : group.front(),
                          localeDecimal());
}

} // namespace RouterNumbers
