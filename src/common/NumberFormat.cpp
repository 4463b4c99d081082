#include "common/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace numfmt {

namespace {

// Significant decimal digits (no trailing zeros) and the position of the
// decimal point relative to them: value = 0.<digits> * 10^point.
struct Decimal
{
    std::string digits;
    int point = 0;
};

// Reads "d.ddde[+-]x" as printed by printf or to_chars in scientific form.
Decimal fromScientific(const char *text)
{
    Decimal d;
    const char *p = text;
    for (; *p && *p != 'e' && *p != 'E'; ++p) {
        if (*p >= '0' && *p <= '9')
            d.digits += *p;
    }
    d.point = (*p ? std::atoi(p + 1) : 0) + 1;
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

// "%.*e" of a magnitude at that many significant digits. Rounding to nearest
// can carry the largest doubles past the range ("1.8E308" at 2 digits), a
// number no reader takes back: those are cut to the digits instead.
std::string scientific(double magnitude, int digits)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, magnitude);
    if (std::isfinite(std::strtod(buf, nullptr)))
        return buf;
    std::snprintf(buf, sizeof buf, "%.16e", magnitude); // "1.7976931348623157e+308"
    const char *exponent = std::strchr(buf, 'e');
    return std::string(buf, size_t(digits == 1 ? 1 : digits + 1)) + exponent;
}

QString nonFinite(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

// Plain notation while the integer part has at most 15 digits and the value is
// at least 1E-4; beyond that "1.5E20" / "1E-5".
QString layoutGeneral(bool negative, const Decimal &d, QChar decimal)
{
    if (d.digits == "0")
        return QStringLiteral("0");

    QString out;
    if (negative)
        out += u'-';
    const auto digits = QString::fromLatin1(d.digits.data(), qsizetype(d.digits.size()));
    if (d.point > 15 || d.point < -3) {
        out += digits.front();
        if (digits.size() > 1)
            out += decimal + digits.mid(1);
        out += u'E' + QString::number(d.point - 1);
    } else if (d.point <= 0) {
        out += u'0';
        out += decimal;
        out += QString(-d.point, u'0') + digits;
    } else if (digits.size() <= d.point) {
        out += digits + QString(d.point - digits.size(), u'0');
    } else {
        out += digits.left(d.point) + decimal + digits.mid(d.point);
    }
    return out;
}

} // namespace

QString general(double value, QChar decimal)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    const std::string text = scientific(std::fabs(value), 15);
    return layoutGeneral(std::signbit(value), fromScientific(text.c_str()), decimal);
}

QString generalExact(double value, QChar decimal)
{
    const QString g = general(value, decimal);
    bool ok = false;
    if (!std::isfinite(value) || (parse(g, decimal, &ok) == value && ok))
        return g;
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    QString t = QString::fromLatin1(buf, written.ptr - buf);
    // "1.7976931348623157e+308" -> "1.7976931348623157E308"
    const qsizetype e = t.indexOf(QLatin1Char('e'));
    const int exponent = t.mid(e + 1).toInt();
    t = t.left(e);
    t.replace(QLatin1Char('.'), decimal);
    return t + QStringLiteral("E") + QString::number(exponent);
}

QString fixed(double value, int decimals, QChar decimal)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    decimals = qBound(0, decimals, 30);
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);

    // Digits of round(|value| * 10^decimals).
    std::string n;
    if (magnitude >= 1e15) {
        // Beyond 15 integer digits the exact binary value is the better answer.
        char buf[400]; // 309 integer digits + point + 30 decimals at most
        const auto written = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::fixed, decimals);
        const std::string s(buf, written.ptr);
        for (char c : s) {
            if (c != '.')
                n += c;
        }
    } else {
        // Round the 15 significant digits rather than the binary value, so that
        // 2.675 (stored as 2.67499999...) still rounds up as written.
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.14e", magnitude);
        std::string digits;
        for (const char *p = buf; *p && *p != 'e'; ++p) {
            if (*p >= '0' && *p <= '9')
                digits += *p;
        }
        const int point = std::atoi(std::strchr(buf, 'e') + 1) + 1;
        const int keep = point + decimals;
        if (keep < 0) {
            n = "0";
        } else if (keep >= int(digits.size())) {
            n = digits + std::string(size_t(keep) - digits.size(), '0');
        } else {
            n = digits.substr(0, size_t(keep));
            if (digits[size_t(keep)] >= '5') {
                int k = int(n.size()) - 1;
                for (; k >= 0 && n[size_t(k)] == '9'; --k)
                    n[size_t(k)] = '0';
                if (k >= 0)
                    ++n[size_t(k)];
                else
                    n.insert(n.begin(), '1');
            }
        }
    }

    if (n.size() < size_t(decimals) + 1)
        n.insert(0, size_t(decimals) + 1 - n.size(), '0');
    // No sign on a value that rounds to zero: "-0.00" reads as a fault.
    const bool isZero = n.find_first_not_of('0') == std::string::npos;
    // Strip leading zeros of the integer part, keeping one.
    const size_t intLen = n.size() - size_t(decimals);
    size_t skip = 0;
    while (skip + 1 < intLen && n[skip] == '0')
        ++skip;

    QString out;
    if (negative && !isZero)
        out += u'-';
    out += QString::fromLatin1(n.data() + skip, qsizetype(intLen - skip));
    if (decimals > 0)
        out += decimal + QString::fromLatin1(n.data() + intLen, decimals);
    return out;
}

QString shortestSingle(float value, QChar decimal)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf - 1, std::fabs(value), std::chars_format::scientific);
    *res.ptr = '\0';
    return layoutGeneral(std::signbit(value), fromScientific(buf), decimal);
}

QString insertThousands(const QString &number, QChar group, QChar decimal)
{
    if (number.isEmpty() || !number.front().isDigit())
        return number;
    const qsizetype decimalAt = number.indexOf(decimal);
    const qsizetype limit = decimalAt < 0 ? number.size() : decimalAt;
    qsizetype intLen = 0;
    while (intLen < limit && number[intLen].isDigit())
        ++intLen;

    QString out;
    out.reserve(number.size() + intLen / 3);
    for (qsizetype i = 0; i < intLen; ++i) {
        if (i > 0 && (intLen - i) % 3 == 0)
            out += group;
        out += number[i];
    }
    out += QStringView(number).sliced(intLen);
    return out;
}

double parse(const QString &text, QChar decimal, bool *ok)
{
    if (ok)
        *ok = false;

    // Blanks and control characters around the number are ignored.
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= u' ')
        ++begin;
    while (end > begin && text[end - 1].unicode() <= u' ')
        --end;

    // Accepted: [+-] digits [decimal digits] [e [+-] digits], with at least one
    // mantissa digit. Only the given decimal sign is a decimal sign.
    std::string ascii;
    qsizetype i = begin;
    auto digitsAt = [&] {
        const qsizetype start = i;
        while (i < end && text[i].unicode() >= u'0' && text[i].unicode() <= u'9')
            ascii += char(text[i++].unicode());
        return i - start;
    };
    bool negative = false;
    if (i < end && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    qsizetype mantissa = digitsAt();
    if (i < end && text[i] == decimal) {
        ascii += '.';
        ++i;
        mantissa += digitsAt();
    }
    if (mantissa == 0)
        return 0;
    if (i < end && (text[i] == u'e' || text[i] == u'E')) {
        ascii += 'e';
        ++i;
        if (i < end && (text[i] == u'+' || text[i] == u'-'))
            ascii += char(text[i++].unicode());
        if (digitsAt() == 0)
            return 0;
    }
    if (i != end)
        return 0;

    double value = 0;
    const auto res = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (res.ec != std::errc() || res.ptr != ascii.data() + ascii.size())
        return 0;
    if (ok)
        *ok = true;
    return negative ? -value : value;
}

double roundSignificant(double value, int digits)
{
    if (value == 0 || !std::isfinite(value) || digits <= 0)
        return value;
    // Through the decimal text, so 2.675 at 3 digits is 2.68 as written, not as stored.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, value);
    return std::strtod(buf, nullptr);
}

QString generalPrecision(double value, int precision, QChar decimal)
{
    if (!std::isfinite(value))
        return general(value, decimal);
    precision = qBound(1, precision, 15);
    if (value == 0)
        return QStringLiteral("0");
    // The rounded digits and exponent come from the text, so the largest
    // doubles keep their form and stay in range.
    const std::string text = scientific(std::fabs(value), precision);
    const double r = std::strtod(text.c_str(), nullptr) * (value < 0 ? -1 : 1);
    const char *e = std::strchr(text.c_str(), 'e');
    const int exponent = std::atoi(e + 1);
    if (exponent >= precision || exponent < -5) {
        QString mantissa = QString::fromLatin1(text.c_str(), e - text.c_str());
        if (mantissa.contains(QLatin1Char('.'))) {
            while (mantissa.endsWith(QLatin1Char('0')))
                mantissa.chop(1);
            if (mantissa.endsWith(QLatin1Char('.')))
                mantissa.chop(1);
        }
        mantissa.replace(QLatin1Char('.'), decimal);
        return (value < 0 ? QStringLiteral("-") : QString()) + mantissa + QStringLiteral("E")
               + QString::number(exponent);
    }
    return general(r, decimal);
}

QString number(double value, int precision, int decimals, QChar groupChar, QChar decimalChar)
{
    if (!std::isfinite(value) || std::fabs(value) >= 1e18)
        return numfmt::general(value, decimalChar);
    precision = qBound(1, precision, 15);
    decimals = qBound(0, decimals, 18);

    // 15 significant digits of |value|: value = 0.<digits> * 10^exp10.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    std::string digits;
    for (const char *p = buf; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            digits += *p;
    }
    int exp10 = std::atoi(std::strchr(buf, 'e') + 1) + 1;
    if (value == 0)
        exp10 = 1;

    // Round half up to whichever is shorter: the significant digits or the decimals.
    const int keep = std::min(precision, exp10 + decimals);
    std::string kept;
    if (keep < 0) {
        kept.clear();
    } else if (keep == 0) {
        if (digits[0] >= '5') {
            kept = "1";
            ++exp10;
        }
    } else {
        kept = digits.substr(0, size_t(keep));
        if (size_t(keep) < digits.size() && digits[size_t(keep)] >= '5') {
            int k = int(kept.size()) - 1;
            for (; k >= 0 && kept[size_t(k)] == '9'; --k)
                kept[size_t(k)] = '0';
            if (k >= 0) {
                ++kept[size_t(k)];
            } else {
                kept.insert(kept.begin(), '1');
                ++exp10;
            }
        }
    }
    const bool isZero = kept.find_first_not_of('0') == std::string::npos;

    std::string intPart;
    std::string fraction;
    if (isZero) {
        intPart = "0";
    } else if (exp10 <= 0) {
        intPart = "0";
        fraction = std::string(size_t(-exp10), '0') + kept;
    } else if (int(kept.size()) <= exp10) {
        intPart = kept + std::string(size_t(exp10) - kept.size(), '0');
    } else {
        intPart = kept.substr(0, size_t(exp10));
        fraction = kept.substr(size_t(exp10));
    }
    fraction.resize(size_t(decimals), '0');

    QString text = numfmt::insertThousands(QString::fromLatin1(intPart.c_str()), groupChar, decimalChar);
    if (decimals > 0)
        text += decimalChar + QString::fromLatin1(fraction.c_str());
    if (value < 0 && !isZero)
        text.prepend(QLatin1Char('-'));
    return text;
}

} // namespace numfmt
