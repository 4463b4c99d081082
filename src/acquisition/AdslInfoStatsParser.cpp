// ParseDataV5: the "adsl info" firmware family. Its four commands each end
// at the prompt, so this runs once per prompt over everything received so
// far, rebuilds the panes every time and leaves StatsRequested set for the
// later runs that see "adsl perf" and "adsl defects".
#include "acquisition/RouterNumbers.h"
#include "acquisition/TelnetParseSupport.h"
#include "acquisition/TelnetParsers.h"

#include "common/NumberFormat.h"
#include "common/PascalString.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace telnetparse;

namespace {

struct V5Context {
    const QString &reply;
    const TSettings &s;
    const SampleFigures &http;
    TelnetFigures &f;
    TelnetParseResult &r;
};

// The label counts as found when its position + its length is above 50.
std::optional<QString> after(const V5Context &c, const QString &label, int width)
{
    const int p = pas::pos(label, c.reply);
    if (p == 0 || p + label.size() <= 50)
        return std::nullopt;
    return pas::copy(c.reply, p + int(label.size()), width);
}

QString downValue(const V5Context &c, const QString &label, int width)
{
    const auto w = after(c, label, width);
    return w ? firstNumber(*w, c.s) : QString();
}

QString upValue(const V5Context &c, const QString &label)
{
    const auto w = after(c, label, 30);
    return w ? secondColumn(*w, c.s) : QString();
}

// Bits per second as kbit/s; 0 when not a whole number.
qint64 kbps(const QString &v)
{
    return wholeNumber(v).value_or(0) / 1000;
}

void lineFigures(V5Context &c)
{
    auto &f = c.f;
    auto &r = c.r;
    const auto &t = c.s.Telnet;

    // Noise margin.
    {
        const auto w = after(c, QStringLiteral("Downstream Noise Margin      :"), 15);
        const float before = f.TelnetNoiseNow;
        QString v = w ? firstNumber(*w, c.s) : numfmt::shortestSingle(f.LastGoodTelnetNoise);
        const bool read = w && !v.isEmpty();
        r.Memo2 << QStringLiteral("Noise Margin:     ") + v + QStringLiteral("  dB");
        v = RouterNumbers::RegionalStep(v, c.s.System.Regional);
        double noise = RouterNumbers::StrToFloatDef(v, f.LastGoodTelnetNoise);
        if (c.s.System.Correct && noise > 2140000000.0)
            noise -= 2147483648.0;
        if (noise > 50 || noise < -5)
            noise = f.LastGoodTelnetNoise;
        f.TelnetNoiseNow = float(noise);
        if (t.TelnetRetry) {
            if (f.TelnetNoiseNow > 0) {
                f.LastGoodTelnetNoise = f.TelnetNoiseNow;
                f.TelnetNoiseRetries = 0;
            } else if (f.TelnetNoiseNow < -4) {
                f.TelnetNoiseNow = f.LastGoodTelnetNoise;
                ++f.TelnetNoiseRetries;
            }
        }
        f.TelnetRxNoise = f.TelnetNoiseNow;
        noteReading(f.Fresh.Noise, read, f.TelnetNoiseNow == before);
    }
    r.Memo3 << QStringLiteral("Noise Margin:     ") + upValue(c, QStringLiteral("Upstream Noise Margin")) +
                   QStringLiteral("   dB");

    // Sync speed, given in bit/s.
    {
        const QString text = downValue(c, QStringLiteral("Downstream Bit Rate          :"), 20);
        const qint64 down = kbps(text);
        const qint32 before = f.TelnetSyncNow;
        r.Memo2 << QStringLiteral("Connection Rate:  ") + QString::number(down) + QStringLiteral("  Kbps");
        f.TelnetSyncNow =
            qint32(std::clamp<qint64>(down, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
        if (c.s.System.Correct)
            f.TelnetSyncNow = std::clamp(f.TelnetSyncNow, 0, 50000);
        if (f.TelnetSyncNow == 0 && c.http.RxSync != 0 && t.TelnetRetry)
            f.TelnetSyncNow = RouterNumbers::ToInt32(c.http.RxSync);
        f.TelnetRxSync = f.TelnetSyncNow;
        noteReading(f.Fresh.Sync, wholeNumber(text).has_value(), f.TelnetSyncNow == before);
    }
    r.Memo3 << QStringLiteral("Connection Rate:  ") +
                   QString::number(kbps(upValue(c, QStringLiteral("Upstream Bit Rate")))) + QStringLiteral("  Kbps");

    // Attenuation; under [System] Correct the two lines change panes.
    const QString downAtt = QStringLiteral("Line Attenuation: ") +
                            downValue(c, QStringLiteral("Downstream Attenuation"), 15) + QStringLiteral("  dB");
    const QString upAtt = QStringLiteral("Line Attenuation: ") + upValue(c, QStringLiteral("Upstream Attenuation")) +
                          QStringLiteral("  dB");
    (c.s.System.Correct ? r.Memo3 : r.Memo2) << downAtt;
    (c.s.System.Correct ? r.Memo2 : r.Memo3) << upAtt;

    // Mode: the line after it starts with "C"; the text stops before that line's break.
    QString mode;
    if (const auto w = after(c, QStringLiteral("Current trained adsl mode    :"), 15)) {
        const QString m = trim(*w);
        const int cAt = pas::pos(QStringLiteral("C"), m);
        mode = trim(pas::copy(m, 1, cAt - 2));
    }
    r.Memo4 << QStringLiteral("Current adsl mode:  ") + mode;

    if (pas::pos(QStringLiteral("Interleaved"), c.reply) > 50)
        r.Label35 = QStringLiteral("INTERLEAVE ON");
    else if (pas::pos(QStringLiteral("fast"), c.reply) > 50)
        r.Label35 = QStringLiteral("INTERLEAVE OFF");
}

// The 200 characters after a heading within a section (empty when it is
// not there), cut as each block says.
QString block(const QString &section, const QString &heading)
{
    const int p = pas::pos(heading, section);
    return p == 0 ? QString() : pas::copy(section, p + int(heading.size()), 200);
}
// Near end: up to and with the first "=" of the next heading. A reply cut
// before that heading keeps what it has rather than losing the block.
QString nearEnd(const QString &section)
{
    const QString b = block(section, QStringLiteral("============= NEAR END ==========="));
    const int next = pas::pos(QStringLiteral("======="), b);
    return next == 0 ? b : pas::copy(b, 1, next);
}
// Far end: up to the prompt that follows it (or the block's end).
QString farEnd(const QString &section, const QString &heading)
{
    const QString b = block(section, heading);
    const int prompt = pas::pos(QStringLiteral("/"), b);
    return prompt == 0 ? b : pas::copy(b, 1, prompt - 1);
}

// The first number after a label in a block; empty when the label is not there.
QString valueAfter(const V5Context &c, const QString &b, const QString &label)
{
    const int p = pas::pos(label, b);
    return p == 0 ? QString() : firstNumber(pas::copyFrom(b, p + int(label.size())), c.s);
}

struct CounterLabel {
    const char *label;
    const char *caption;
    int slot;
};

void counterLines(V5Context &c, const QString &b, std::initializer_list<CounterLabel> labels, QStringList &pane)
{
    for (const CounterLabel &l : labels) {
        const QString v = valueAfter(c, b, QString::fromLatin1(l.label));
        pane << QString::fromLatin1(l.caption) + v;
        takeCounter(c.f, l.slot, v);
    }
}

// The section after a command's echo at the prompt, when it is there.
std::optional<QString> commandSection(const V5Context &c, const QString &echo)
{
    const int p = pas::pos(echo, c.reply);
    if (p == 0 || p + echo.size() <= 50)
        return std::nullopt;
    return pas::copy(c.reply, p + int(echo.size()), 400);
}

void perfAndDefects(V5Context &c)
{
    auto &r = c.r;
    r.Memo3 << QString() << QStringLiteral("Corrected Errors:");
    if (const auto perf = commandSection(c, QStringLiteral("/ # adsl perf"))) {
        counterLines(c, nearEnd(*perf),
                     {{"HEC   :", "  HEC   : ", 8}, {"FEC   :", "  FEC   : ", 7}, {"CRC   :", "  CRC   : ", 6}},
                     r.Memo3);
        r.Memo2 << QString() << QStringLiteral("Corrected Errors:");
        counterLines(c, farEnd(*perf, QStringLiteral("============= FAR END ===========")),
                     {{"HEC   :", "  HEC   : ", 2}, {"FEC  :", "  FEC   : ", 1}, {"CRC   :", "  CRC   : ", 0}},
                     r.Memo2);

        r.Memo2 << QString() << QStringLiteral("Uncorrected Errors:");
        r.Memo3 << QString() << QStringLiteral("Uncorrected Errors:");
        if (const auto defects = commandSection(c, QStringLiteral("/ # adsl defects"))) {
            counterLines(c, nearEnd(*defects),
                         {{"LOS (Count of Loss of signal):", "  LOS   : ", 11},
                          {"SES (Count of Severely errored seconds):", "  SES   : ", 10},
                          {"ES  (Count of errored seconds):", "  ES    : ", 9}},
                         r.Memo3);
            counterLines(c, farEnd(*defects, QStringLiteral("============== FAR END ==============")),
                         {{"LOS (Count of Loss of signal):", "  LOS   : ", 5},
                          {"SES (Count of Severely errored seconds):", "  SES   : ", 4},
                          {"ES  (Count of errored seconds):", "  ES    : ", 3}},
                         r.Memo2);
        }
    }
}

} // namespace

TelnetParseResult ParseDataV5(const QString &reply, const TSettings &settings, const TelnetRequestFlags &flags,
                              const SampleFigures &http, qint64 sampleCount, TelnetFigures &figures)
{
    Q_UNUSED(sampleCount)
    TelnetParseResult result;
    V5Context c{reply, settings, http, figures, result};
    result.ClearPanes = true;
    result.Memo2 << QString();
    result.Memo3 << QString();
    result.Memo4 << QString();

    if (flags.StatsRequested) {
        result.StatisticsRead = true;
        lineFigures(c);
        perfAndDefects(c);
        readUserFigures(paneText(result.Memo2), paneText(result.Memo3), settings, false, figures);
    }

    // " ifconfig" is the last of the four commands: the runs before its
    // listing arrives leave the request open.
    if (flags.ExtendedRequested && settings.Telnet.Extended && interfaceListingArrived(reply))
        readInterfaceListing(reply, settings,
                             {QStringLiteral("Link encap:Point-to-Point Protocol"), 10,
                              QStringLiteral("nas0      Link encap:Ethernet"), 10, false},
                             figures, result);
    return result;
}
