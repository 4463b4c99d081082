// ParseData: the AR7 firmware family's statistics, interface listing and
// bit-loading tables.
#include "acquisition/TelnetParseSupport.h"
#include "acquisition/TelnetParsers.h"

#include "acquisition/RouterNumbers.h"
#include "common/PascalString.h"

#include <algorithm>
#include <cmath>

using namespace telnetparse;

namespace {

constexpr int kLongReply = 1000; // shorter replies are not trusted for the line figures

struct Ar7Context {
    const QString &reply;
    const TSettings &s;
    const SampleFigures &http;
    TelnetFigures &f;
    TelnetParseResult &r;
};

QString num(const Ar7Context &c, const Window &w, const QString &fallback = {})
{
    return w.found ? firstNumber(w.text, c.s) : fallback;
}

void syncRules(Ar7Context &c, const QString &v)
{
    auto &f = c.f;
    f.TelnetSyncNow = int32Value(v, 0);
    if (f.TelnetSyncNow > 0) {
        f.LastGoodTelnetSync = f.TelnetSyncNow;
        f.TelnetSyncRetries = 0;
    }
    if (c.s.Telnet.TelnetRetry && f.TelnetSyncRetries < 2 && v == QLatin1String("-0")) {
        f.TelnetSyncNow = f.LastGoodTelnetSync;
        ++f.TelnetSyncRetries;
    }
    if (c.s.System.Correct)
        f.TelnetSyncNow = std::clamp(f.TelnetSyncNow, 0, 50000);
    if (f.TelnetSyncNow == 0 && c.http.RxSync != 0 && c.http.RxNoise != 0 && c.s.Telnet.TelnetRetry)
        f.TelnetSyncNow = RouterNumbers::ToInt32(c.http.RxSync);
    f.TelnetRxSync = f.TelnetSyncNow;
}

// v is the noise text after the Regional step.
void noiseRules(Ar7Context &c, const QString &v)
{
    auto &f = c.f;
    double noise = RouterNumbers::StrToFloatDef(v, f.LastGoodTelnetNoise);
    // A negative margin sent as an unsigned 32-bit number.
    if (c.s.System.Correct && noise > 2140000000.0)
        noise -= 2147483648.0;
    if (noise > 50)
        noise = f.LastGoodTelnetNoise;
    f.TelnetNoiseNow = float(noise);
    if (f.TelnetNoiseNow > 0) {
        f.LastGoodTelnetNoise = f.TelnetNoiseNow;
        f.TelnetNoiseRetries = 0;
    }
    if (c.s.Telnet.TelnetRetry && f.TelnetNoiseRetries < 2 && v == QLatin1String("-")) {
        f.TelnetNoiseNow = f.LastGoodTelnetNoise;
        ++f.TelnetNoiseRetries;
    }
}

// CRC, FEC and HEC of one path section into three counter slots.
void pathCounters(Ar7Context &c, const QString &section, int firstSlot, const QString &fallback, const QString &caption,
                  QStringList &pane)
{
    static const char *const names[] = {"CRC:", "FEC:", "HEC:"};
    for (int k = 0; k < 3; ++k) {
        const QString name = QString::fromLatin1(names[k]);
        const Window w = window(section, name, 4, 20, 6);
        const QString v = num(c, w, fallback);
        pane << pad(caption + name, 18) + v;
        // A missing downstream counter reads as its "0" fallback; a missing
        // upstream one (empty fallback) keeps its value. Neither is a reading.
        takeCounter(c.f, firstSlot + k, v, w.found);
    }
}

void cellLines(Ar7Context &c, const QString &section, int goodIdleAbove)
{
    c.r.Memo4 << QStringLiteral("  Good Cells: ") +
                     num(c, window(section, QStringLiteral("Good Cell Cnt:"), 14, 20, goodIdleAbove));
    c.r.Memo4 << QStringLiteral("  Idle Cells: ") +
                     num(c, window(section, QStringLiteral("Idle Cell Cnt:"), 14, 20, goodIdleAbove));
}

void statistics(Ar7Context &c)
{
    const QString &reply = c.reply;
    const bool longReply = reply.size() > kLongReply;
    auto &r = c.r;

    // Downstream.
    {
        const Window w = window(reply, QStringLiteral("DS Connection Rate:"), 19, 10, 50);
        const QString v = w.found && longReply ? firstNumber(w.text, c.s) : QStringLiteral("-");
        r.Memo2 << QStringLiteral("Connection Rate:  ") + pad(v, 6) + QStringLiteral(" Kbps");
        const qint32 before = c.f.TelnetSyncNow;
        syncRules(c, v);
        noteReading(c.f.Fresh.Sync, wholeNumber(v).has_value(), c.f.TelnetSyncNow == before);
    }
    r.Memo2 << QStringLiteral("Line Attenuation: ") +
                   pad(num(c, window(reply, QStringLiteral("DS Line Attenuation:"), 20, 10, 60)), 6) +
                   QStringLiteral(" dB");
    {
        const Window w = window(reply, QStringLiteral("DS Margin:"), 20, 10);
        QString v = w.found && longReply ? firstNumber(w.text, c.s) : QStringLiteral("-");
        v = RouterNumbers::RegionalStep(v, c.s.System.Regional);
        const float before = c.f.TelnetNoiseNow;
        noiseRules(c, v);
        noteReading(c.f.Fresh.Noise, w.found && longReply && !v.isEmpty() && v != QLatin1String("-"),
                    c.f.TelnetNoiseNow == before);
        r.Memo2 << QStringLiteral("Noise Margin:     ") + pad(v, 6) + QStringLiteral(" dB") << QString();
        c.f.TelnetRxNoise = c.f.TelnetNoiseNow;
    }
    r.Memo2 << QStringLiteral("Max Rate:         ") +
                   pad(num(c, window(reply, QStringLiteral("DS Max Attainable Bit Rate:"), 28, 30, 200)), 6) +
                   QStringLiteral(" Kbps")
            << QString();
    pathCounters(c, window(reply, QStringLiteral("[Downstream (RX) Interleave path]"), 33, 250, 200).text, 0,
                 QStringLiteral("0"), QStringLiteral("Interleave "), r.Memo2);
    r.Memo2 << QString();
    pathCounters(c, window(reply, QStringLiteral("[Downstream (RX) Fast path]"), 27, 250, 200).text, 3,
                 QStringLiteral("0"), QStringLiteral("Fast path "), r.Memo2);
    const QString superframes = num(c, window(reply, QStringLiteral("DS Superframe Cnt:"), 18, 30));
    r.Memo2 << QString() << QStringLiteral("Superframes:      ") + superframes;

    // Upstream.
    r.Memo3 << QStringLiteral("Connection Rate:  ") +
                   pad(num(c, window(reply, QStringLiteral("US Connection Rate:"), 19, 10, 29)), 6) +
                   QStringLiteral(" Kbps");
    r.Memo3 << QStringLiteral("Line Attenuation: ") +
                   pad(num(c, window(reply, QStringLiteral("US Line Attenuation:"), 20, 10, 30)), 6) +
                   QStringLiteral(" dB");
    r.Memo3 << QStringLiteral("Noise Margin:     ") +
                   pad(num(c, window(reply, QStringLiteral("US Margin:"), 20, 10, 20)), 6) + QStringLiteral(" dB")
            << QString();
    {
        // Given in bit/s; an unreadable rate is shown empty.
        const auto bps = wholeNumber(num(c, window(reply, QStringLiteral("US Max Attainable Bit Rate:"), 28, 30, 200)));
        const QString kbps = bps ? QString::number(*bps / 1024) : QString();
        r.Memo3 << QStringLiteral("Max Rate:         ") + pad(kbps, 6) + QStringLiteral(" Kbps") << QString();
    }
    pathCounters(c, window(reply, QStringLiteral("[Upstream (TX) Interleave path]"), 31, 150, 200).text, 6, QString(),
                 QStringLiteral("Interleave "), r.Memo3);
    r.Memo3 << QString();
    pathCounters(c, window(reply, QStringLiteral("[Upstream (TX) Fast path]"), 25, 150, 200).text, 9, QString(),
                 QStringLiteral("Fast path "), r.Memo3);
    r.Memo3 << QString()
            << QStringLiteral("Superframes:      ") +
                   num(c, window(reply, QStringLiteral("US Superframe Cnt :"), 19, 30));

    // Uptime and ATM cells.
    const double msPerSuperframe = c.s.Telnet.ADSL2 || c.f.Adsl2PlusSeen ? c.s.Telnet.SFCounter : 17.0;
    r.Memo4 << QStringLiteral("Uptime (from SF Count): ")
            << QStringLiteral(" ") + uptimeText(wholeNumber(superframes).value_or(0), msPerSuperframe) << QString()
            << QStringLiteral("Upstream (Tx):");
    cellLines(c, window(reply, QStringLiteral("[Upstream/TX]"), 13, 100).text, 14);
    r.Memo4 << QString() << QStringLiteral("Downstream (Rx):");
    const QString down = window(reply, QStringLiteral("[Downstream/RX)]"), 16, 160, 250).text;
    cellLines(c, down, 6);
    r.Memo4 << QStringLiteral("  Bad HEC Cells: ") +
                   num(c, window(down, QStringLiteral("Bad Hec Cell Cnt:"), 17, 20, 17));
    r.Memo4 << QStringLiteral("  Overflow Dropped: ") +
                   num(c, window(down, QStringLiteral("Overflow Dropped Cell Cnt:"), 26, 20, 26));
    r.Clears.StatsRequested = true;
}

// The two hex digits (bits) or four (SNR x 100) of tone i in a table
// freed of CR and LF; nullopt when the table ends before them.
std::optional<int> hexEntry(const QString &table, int index, int digits, int stride)
{
    const QString h = pas::copy(table, 1 + stride * index, digits);
    if (h.size() < digits)
        return std::nullopt;
    bool ok = false;
    const int v = h.toInt(&ok, 16);
    return ok ? v : 0; // not hexadecimal: 0
}

// A table's text up to where the listing ends (the prompt or any other
// text), freed of CR and LF. A table cut short then lacks its last tones
// rather than reading the next reply's digits as them.
QString tableText(const QString &text)
{
    QString table;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == '\r' || c == '\n')
            continue;
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex && c != ' ' && c != '\t')
            break;
        table += ch;
    }
    return table;
}

void bitLoading(Ar7Context &c, qint64 sampleCount)
{
    const QString &reply = c.reply;
    auto &f = c.f;
    const auto &t = c.s.Telnet;
    ToneChartData chart;

    f.ToneSwapped.fill(0);
    if (pas::pos(QStringLiteral("ADSL2+"), reply) > 1 || f.TelnetSyncNow > 8128)
        f.Adsl2PlusSeen = true;
    chart.LastTone = t.ADSL ? 255 : (t.ADSL2 || f.Adsl2PlusSeen ? 510 : 255);
    chart.AxisMaximum = chart.LastTone;

    QString table;
    if (const int us = pas::pos(QStringLiteral("US Bit Allocation:"), reply); us > 0)
        table = tableText(pas::copy(reply, us + 20, 97));
    if (const int ds = pas::pos(QStringLiteral("DS Bit Allocation:"), reply); ds > 0)
        table += tableText(pas::copy(reply, ds + 117, 1600));

    bool imageDue = false;
    for (int i = 0; i <= chart.LastTone; ++i) {
        const auto bits = hexEntry(table, i, 2, 3);
        if (!bits)
            continue; // not in the reply: no reading, no bitswap
        const size_t k = size_t(i);
        if (*bits != f.ToneBits[k] && sampleCount > 3 && i > 6) {
            f.ToneSwapped[k] = 1;
            ++f.ToneSwapCount[k];
            ++(i < 32 ? chart.UpstreamSwaps : chart.DownstreamSwaps);
            imageDue = imageDue || t.BitSwapBefore || t.BitSwapAfter;
        }
        f.ToneBits[k] = *bits;
    }
    chart.SaveBefore = imageDue && t.BitSwapBefore;

    if (const int sp = pas::pos(QStringLiteral("Rx SNR Per Bin for Bin0"), reply); sp > 0) {
        const QString snr = tableText(pas::copy(reply, sp + 25, 5150));
        for (int i = 0; i <= chart.LastTone; ++i) {
            const auto v = hexEntry(snr, i, 4, 5);
            if (!v)
                continue;
            int db = *v / 100;
            if (db > 50)
                db = 0;
            f.ToneSnr[size_t(i)] = i < 32 ? -1.0f : float(db);
        }
    }

    plotTones(chart, f, c.s, false);
    finishBitswaps(chart, imageDue, f, c.s, c.r);
    c.r.ToneChart = std::move(chart);
}

} // namespace

TelnetParseResult ParseData(const QString &reply, const TSettings &settings, const TelnetRequestFlags &flags,
                            const SampleFigures &http, qint64 sampleCount, TelnetFigures &figures)
{
    TelnetParseResult result;
    Ar7Context c{reply, settings, http, figures, result};
    debugOffStep(reply, flags.DebugCheckPending, result);

    if (flags.StatsRequested) {
        result.StatisticsRead = true;
        statistics(c);
        readUserFigures(paneText(result.Memo2), paneText(result.Memo3), settings, false, figures);
    }

    // The listing follows the statistics command: a statistics reply
    // without it yet leaves the request open for the next prompt.
    if (flags.ExtendedRequested && settings.Telnet.Extended &&
        (interfaceListingArrived(reply) || !flags.StatsRequested))
        readInterfaceListing(
            reply, settings,
            {QStringLiteral("Link encap:Point-Point Protocol"), 10, QStringLiteral("nas0  "), 0, false}, figures,
            result);

    // Both tables are needed; until the SNR table has come the reply stays expected.
    const bool tablesHere = pas::pos(QStringLiteral("AR7 DSL Modem US Bit"), reply) > 1 &&
                            pas::pos(QStringLiteral("Rx SNR Per Bin for Bin0"), reply) > 0;
    const bool bits = settings.Telnet.BitsGraph && flags.BitsReplyExpected;
    if (bits && tablesHere)
        bitLoading(c, sampleCount);

    // Closing steps.
    result.Clears.BitsReplyExpected = !bits || tablesHere;
    result.EnableBitsRefresh = true;
    const auto &n = figures.TelnetCounters;
    if (n[1] > n[4])
        result.Label35 = QStringLiteral("Down : Interleaving ON");
    else if (n[1] < n[4])
        result.Label35 = QStringLiteral("Down : Interleaving OFF");
    else
        result.Label35 = QString();
    if (n[6] > n[9])
        result.Label99 = QStringLiteral("Up       : Interleaving ON");
    else if (n[6] < n[9])
        result.Label99 = QStringLiteral("Up       : Interleaving OFF");
    else
        result.Label99 = QString();
    if (sampleCount < 2)
        std::copy(n.begin(), n.begin() + 6, figures.TelnetCounterBase.begin());
    return result;
}
