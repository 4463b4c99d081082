#include "common/DateTimePattern.h"

namespace dtp {

namespace {

bool isAsciiLetter(QChar c)
{
    const char16_t u = c.unicode() | 0x20;
    return u >= u'a' && u <= u'z';
}

char16_t upper(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') ? char16_t(u - 0x20) : u;
}

// Length of the run of c (either case) starting at i.
qsizetype runLength(QStringView s, qsizetype i)
{
    const char16_t u = upper(s[i]);
    qsizetype j = i + 1;
    while (j < s.size() && upper(s[j]) == u)
        ++j;
    return j - i;
}

bool startsWithAt(QStringView s, qsizetype i, QLatin1StringView what)
{
    return s.sliced(i).startsWith(what, Qt::CaseInsensitive);
}

// First punctuation of a locale format outside quotes, or the fallback when
// the format has none (the C locale's "d MMM yyyy").
QChar separatorOf(const QString &qtFormat, QChar fallback)
{
    bool quoted = false;
    for (QChar c : qtFormat) {
        if (c == u'\'')
            quoted = !quoted;
        else if (!quoted && (c.isPunct() || c.isSymbol())) // skips direction marks too
            return c;
    }
    return fallback;
}

// Literal text in our notation: letters, separators and quotes must be quoted
// so they are not read as fields.
void appendLiteral(QString &out, QStringView text)
{
    QString pending;
    auto flush = [&] {
        if (!pending.isEmpty()) {
            out += u'"' + pending + u'"';
            pending.clear();
        }
    };
    for (QChar c : text) {
        if (c == u'"') {
            flush();
            out += QLatin1StringView("'\"'");
        } else if (isAsciiLetter(c) || c == u'/' || c == u':' || c == u'\'') {
            pending += c;
        } else if (!pending.isEmpty()) {
            pending += c;
        } else {
            out += c;
        }
    }
    flush();
}

struct Fields
{
    const QLocale &locale;
    QDate date;
    QTime time;
    QChar dateSep;
    QChar timeSep;
};

void appendNumber(QString &out, int value, int digits)
{
    if (value < 0)
        out += u'-';
    out += QString::number(qAbs(value)).rightJustified(digits, u'0');
}

void appendFormat(QString &out, QStringView fmt, const Fields &f, int level);

void appendLocaleFormat(QString &out, const QString &qtFormat, const Fields &f, int level)
{
    appendFormat(out, fromQtFormat(qtFormat), f, level + 1);
}

// Whether an am/pm marker follows an hour field before the next hour field.
bool amPmFollows(QStringView fmt, qsizetype i)
{
    bool quoted = false;
    for (; i < fmt.size(); ++i) {
        const char16_t u = upper(fmt[i]);
        if (u == u'A' && !quoted)
            return startsWithAt(fmt, i, QLatin1StringView("am/pm")) || startsWithAt(fmt, i, QLatin1StringView("a/p"))
                || startsWithAt(fmt, i, QLatin1StringView("ampm"));
        if (u == u'H')
            return false;
        if (u == u'\'' || u == u'"')
            quoted = !quoted;
    }
    return false;
}

void appendFormat(QString &out, QStringView fmt, const Fields &f, int level)
{
    // Locale formats may be expanded once, never recursively.
    if (level > 1)
        return;

    const QDate &d = f.date;
    const QTime &t = f.time;
    const int hour = t.isValid() ? t.hour() : 0;
    char16_t lastToken = u' ';
    bool use12Hour = false;

    qsizetype i = 0;
    while (i < fmt.size()) {
        const QChar starter = fmt[i];
        char16_t token = upper(starter);
        if (isAsciiLetter(starter)) {
            // Only letters count: in "hh:mm" the colon leaves 'h' as the last token.
            if (token == u'M' && lastToken == u'H')
                token = u'N';
            lastToken = token;
        }

        switch (token) {
        case u'Y': {
            const qsizetype count = runLength(fmt, i);
            i += count;
            if (count <= 2)
                appendNumber(out, ((d.year() % 100) + 100) % 100, 2);
            else
                appendNumber(out, d.year(), 4);
            break;
        }
        case u'M': {
            const qsizetype count = runLength(fmt, i);
            i += count;
            if (count <= 2)
                appendNumber(out, d.month(), int(count));
            else
                out += f.locale.monthName(d.month(), count == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            break;
        }
        case u'D': {
            const qsizetype count = runLength(fmt, i);
            i += count;
            if (count <= 2)
                appendNumber(out, d.day(), int(count));
            else if (count == 3)
                out += f.locale.dayName(d.dayOfWeek(), QLocale::ShortFormat);
            else if (count == 4)
                out += f.locale.dayName(d.dayOfWeek(), QLocale::LongFormat);
            else
                appendLocaleFormat(out, f.locale.dateFormat(count == 5 ? QLocale::ShortFormat : QLocale::LongFormat),
                                   f, level);
            break;
        }
        case u'H': {
            const qsizetype count = runLength(fmt, i);
            i += count;
            if (amPmFollows(fmt, i))
                use12Hour = true;
            int h = hour;
            if (use12Hour)
                h = h == 0 ? 12 : (h > 12 ? h - 12 : h);
            appendNumber(out, h, int(qMin<qsizetype>(count, 2)));
            break;
        }
        case u'N': {
            const qsizetype count = runLength(fmt, i);
            i += count;
            appendNumber(out, t.isValid() ? t.minute() : 0, int(qMin<qsizetype>(count, 2)));
            break;
        }
        case u'S': {
            const qsizetype count = runLength(fmt, i);
            i += count;
            appendNumber(out, t.isValid() ? t.second() : 0, int(qMin<qsizetype>(count, 2)));
            break;
        }
        case u'Z': {
            const qsizetype count = runLength(fmt, i);
            i += count;
            appendNumber(out, t.isValid() ? t.msec() : 0, int(qMin<qsizetype>(count, 3)));
            break;
        }
        case u'T': {
            const qsizetype count = runLength(fmt, i);
            i += count;
            appendLocaleFormat(out, f.locale.timeFormat(count == 1 ? QLocale::ShortFormat : QLocale::LongFormat), f,
                               level);
            break;
        }
        case u'C': {
            i += runLength(fmt, i);
            appendLocaleFormat(out, f.locale.dateFormat(QLocale::ShortFormat), f, level);
            // Midnight shows the date alone, as the classic notation does.
            if (t.isValid() && t != QTime(0, 0)) {
                out += u' ';
                appendLocaleFormat(out, f.locale.timeFormat(QLocale::LongFormat), f, level);
            }
            break;
        }
        case u'A': {
            if (startsWithAt(fmt, i, QLatin1StringView("am/pm"))) {
                // Copied in the case the pattern was written in.
                out += fmt.sliced(i + (hour >= 12 ? 3 : 0), 2);
                i += 5;
                use12Hour = true;
            } else if (startsWithAt(fmt, i, QLatin1StringView("a/p"))) {
                out += fmt[i + (hour >= 12 ? 2 : 0)];
                i += 3;
                use12Hour = true;
            } else if (startsWithAt(fmt, i, QLatin1StringView("ampm"))) {
                out += hour < 12 ? f.locale.amText() : f.locale.pmText();
                i += 4;
                use12Hour = true;
            } else if (startsWithAt(fmt, i, QLatin1StringView("aaaa"))) {
                out += f.locale.dayName(d.dayOfWeek(), QLocale::LongFormat);
                i += 4;
            } else if (startsWithAt(fmt, i, QLatin1StringView("aaa"))) {
                out += f.locale.dayName(d.dayOfWeek(), QLocale::ShortFormat);
                i += 3;
            } else {
                out += starter;
                ++i;
            }
            break;
        }
        case u'/':
            out += f.dateSep;
            ++i;
            break;
        case u':':
            out += f.timeSep;
            ++i;
            break;
        case u'\'':
        case u'"': {
            // An unterminated quote runs to the end of the pattern.
            qsizetype end = fmt.indexOf(starter, i + 1);
            if (end < 0)
                end = fmt.size();
            out += fmt.sliced(i + 1, end - i - 1);
            i = qMin(end + 1, fmt.size());
            break;
        }
        default:
            out += starter;
            ++i;
            break;
        }
    }
}

} // namespace

QString fromQtFormat(const QString &qtFormat)
{
    QString out;
    QStringView f(qtFormat);
    char16_t lastField = 0; // letter of the field just written, to keep runs apart
    auto field = [&](char16_t letter, qsizetype count) {
        // "dddd" followed by "d" would otherwise read back as "ddddd".
        if (lastField == letter)
            out += QLatin1StringView("''");
        out += QString(count, QChar(letter));
        lastField = letter;
    };
    auto literal = [&](QStringView text) {
        appendLiteral(out, text);
        lastField = 0;
    };

    qsizetype i = 0;
    while (i < f.size()) {
        const QChar c = f[i];
        const qsizetype run = c == u'\'' ? 1 : [&] {
            qsizetype j = i + 1;
            while (j < f.size() && f[j] == c)
                ++j;
            return j - i;
        }();

        switch (c.unicode()) {
        case u'\'': {
            if (i + 1 < f.size() && f[i + 1] == u'\'') {
                literal(u"'");
                i += 2;
                break;
            }
            // Quoted text; a doubled quote inside stands for one quote.
            QString text;
            qsizetype j = i + 1;
            while (j < f.size()) {
                if (f[j] == u'\'') {
                    if (j + 1 < f.size() && f[j + 1] == u'\'') {
                        text += u'\'';
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                text += f[j++];
            }
            literal(text);
            i = j;
            break;
        }
        case u'd':
            field(u'd', qMin<qsizetype>(run, 4));
            i += qMin<qsizetype>(run, 4);
            break;
        case u'M':
            field(u'm', qMin<qsizetype>(run, 4));
            i += qMin<qsizetype>(run, 4);
            break;
        case u'y':
            if (run >= 4) {
                field(u'y', 4);
                i += 4;
            } else if (run >= 2) {
                field(u'y', 2);
                i += 2;
            } else {
                literal(f.sliced(i, 1));
                ++i;
            }
            break;
        case u'h':
        case u'H':
            field(u'h', qMin<qsizetype>(run, 2));
            i += qMin<qsizetype>(run, 2);
            break;
        case u'm':
            field(u'n', qMin<qsizetype>(run, 2));
            i += qMin<qsizetype>(run, 2);
            break;
        case u's':
            field(u's', qMin<qsizetype>(run, 2));
            i += qMin<qsizetype>(run, 2);
            break;
        case u'z': {
            const qsizetype n = run >= 3 ? 3 : 1;
            field(u'z', n);
            i += n;
            break;
        }
        case u'A':
        case u'a':
            i += (i + 1 < f.size() && (f[i + 1] == u'P' || f[i + 1] == u'p')) ? 2 : 1;
            out += QLatin1StringView("ampm");
            lastField = 0;
            break;
        case u't': {
            // Time zone: dropped together with the brackets and blanks that set it apart.
            i += run;
            if (out.endsWith(u'(') && i < f.size() && f[i] == u')') {
                out.chop(1);
                ++i;
            }
            if (!out.isEmpty() && out.back().isSpace()) {
                while (!out.isEmpty() && out.back().isSpace())
                    out.chop(1);
            } else {
                while (i < f.size() && f[i].isSpace())
                    ++i;
            }
            lastField = 0;
            break;
        }
        default:
            literal(f.sliced(i, 1));
            ++i;
            break;
        }
    }
    return out;
}

QString format(const QString &pattern, const QDateTime &dt, const QLocale &locale)
{
    const Fields f{locale, dt.date(), dt.time(),
                   separatorOf(locale.dateFormat(QLocale::ShortFormat), u'/'),
                   separatorOf(locale.timeFormat(QLocale::ShortFormat), u':')};
    QString out;
    appendFormat(out, pattern, f, 0);
    return out;
}

} // namespace dtp
