// ParseDataV4: the adslctl firmware family's statistics (downstream value
// first, upstream second on each line), period counts, interface listing
// and the "info --SNR/--Bits/--Hlog" tables.
#include "acquisition/RouterNumbers.h"
#include "acquisition/TelnetParseSupport.h"
#include "acquisition/TelnetParsers.h"

#include "common/PascalString.h"

#include <algorithm>
#include <cmath>

using namespace telnetparse;

namespace {

constexpr int kLongReply = 2000; // shorter replies are not trusted for noise and sync

struct V4Context {
    const QString &reply;
    const TSettings &s;
    const SampleFigures &http;
    TelnetFigures &f;
    TelnetParseResult &r;
};

// A line-figure row: the downstream value within 15 characters of the
// label's end, the upstream one within 30.
struct Row {
    bool found = false; // the downstream value counts as found
    QString down;
    QString up;
};

Row lineRow(V4Context &c, const QString &label, int offset, int above, bool needsLongReply, const QString &fallback)
{
    Row row;
    const int p = pas::pos(label, c.reply);
    if (p == 0 || p + offset <= above) {
        row.down = fallback;
        return row;
    }
    row.found = !needsLongReply || c.reply.size() > kLongReply;
    row.down = row.found ? firstNumber(pas::copy(c.reply, p + offset, 15), c.s) : fallback;
    row.up = secondColumn(pas::copy(c.reply, p + offset, 30), c.s);
    return row;
}

void lineFigures(V4Context &c)
{
    auto &f = c.f;
    auto &r = c.r;
    const auto &t = c.s.Telnet;

    // Noise margin.
    {
        const Row row = lineRow(c, QStringLiteral("SNR (dB):"), 9, 0, true, QStringLiteral("-0"));
        const QString line = QStringLiteral("Noise Margin:     ") + pad(row.down, 6) + QStringLiteral("dB");
        const QString v = RouterNumbers::RegionalStep(row.down, c.s.System.Regional);
        const float before = f.TelnetNoiseNow;
        double noise = f.TelnetNoiseNow;
        if (row.found)
            noise = RouterNumbers::StrToFloatDef(v, f.LastGoodTelnetNoise);
        if (c.s.System.Correct && noise > 2140000000.0)
            noise -= 2147483648.0;
        if (noise > 50)
            noise = f.LastGoodTelnetNoise;
        f.TelnetNoiseNow = float(noise);
        if (f.TelnetNoiseNow > 0) {
            f.LastGoodTelnetNoise = f.TelnetNoiseNow;
            f.TelnetNoiseRetries = 0;
        }
        if (t.TelnetRetry && f.TelnetNoiseRetries < 2 && v == QLatin1String("-0")) {
            f.TelnetNoiseNow = f.LastGoodTelnetNoise;
            ++f.TelnetNoiseRetries;
        }
        r.Memo2 << line;
        f.TelnetRxNoise = f.TelnetNoiseNow;
        noteReading(f.Fresh.Noise, row.found && v != QLatin1String("-0") && !v.isEmpty(),
                    f.TelnetNoiseNow == before);
        r.Memo3 << QStringLiteral("Noise Margin:     ") + pad(row.up, 6) + QStringLiteral("dB");
    }

    // Sync speed.
    {
        const Row row = lineRow(c, QStringLiteral("Rate (Kbps):"), 12, 0, true, QStringLiteral("-0"));
        const qint32 before = f.TelnetSyncNow;
        if (row.found) {
            f.TelnetSyncNow = int32Value(row.down, 0);
            if (f.TelnetSyncNow > 0) {
                f.LastGoodTelnetSync = f.TelnetSyncNow;
                f.TelnetSyncRetries = 0;
            }
        }
        if (t.TelnetRetry && f.TelnetSyncRetries < 2 && row.down == QLatin1String("-0")) {
            f.TelnetSyncNow = f.LastGoodTelnetSync;
            ++f.TelnetSyncRetries;
        }
        if (c.s.System.Correct)
            f.TelnetSyncNow = std::clamp(f.TelnetSyncNow, 0, 50000);
        if (f.TelnetSyncNow == 0 && c.http.RxSync != 0 && t.TelnetRetry)
            f.TelnetSyncNow = RouterNumbers::ToInt32(c.http.RxSync);
        r.Memo2 << QStringLiteral("Connection Rate:  ") + pad(row.found ? row.down : QStringLiteral("0"), 6) +
                       QStringLiteral("Kbps");
        f.TelnetRxSync = f.TelnetSyncNow;
        noteReading(f.Fresh.Sync, row.found && wholeNumber(row.down).has_value(), f.TelnetSyncNow == before);
        r.Memo3 << QStringLiteral("Connection Rate:  ") + pad(row.up, 6) + QStringLiteral("Kbps");
    }

    struct Plain {
        const char *label;
        int offset;
        const char *caption;
        const char *unit;
    };
    static const Plain plain[] = {
        {"Attn(dB):", 9, "Line Attenuation: ", "dB"},
        {"Pwr(dBm):", 9, "Power:            ", "dBm"},
        {"Max(Kbps):", 10, "Max Rate:         ", "Kbps"},
    };
    for (const Plain &p : plain) {
        const Row row = lineRow(c, QString::fromLatin1(p.label), p.offset, 50, false, QString());
        r.Memo2 << QString::fromLatin1(p.caption) + pad(row.down, 6) + QString::fromLatin1(p.unit);
        r.Memo3 << QString::fromLatin1(p.caption) + pad(row.up, 6) + QString::fromLatin1(p.unit);
    }
    r.Memo2 << QStringLiteral(" ");
    r.Memo3 << QStringLiteral(" ");
}

// Returns the downstream superframe count, for the uptime.
qint64 counters(V4Context &c)
{
    auto &r = c.r;
    const int at = pas::pos(QStringLiteral("Counters"), c.reply);
    const QString section = at > 0 ? trim(pas::copy(c.reply, at + 8, 500)) : QString();

    const auto down = [&](const QString &src, int p, int offset, int width) {
        return p > 0 ? firstNumber(pas::copy(src, p + offset, width), c.s) : QString();
    };
    const auto up = [&](const QString &src, int p, int offset) {
        return p > 0 ? secondColumn(pas::copy(src, p + offset, 60), c.s) : QString();
    };
    const auto lines = [&](const char *caption, const QString &d, const QString &u) {
        r.Memo2 << QString::fromLatin1(caption) + d;
        r.Memo3 << QString::fromLatin1(caption) + u;
    };
    const auto store = [&](int slot, const QString &v) { takeCounter(c.f, slot, v); };

    int p = pas::pos(QStringLiteral("SF:"), section);
    const QString superframes = down(section, p, 3, 50);
    lines("SuperFrames:      ", superframes, up(section, p, 3));

    p = pas::pos(QStringLiteral("SFErr"), section);
    {
        const QString w = p > 0 ? pas::copy(section, p + 6, 55) : QString();
        const QString d = p > 0 ? firstNumber(w, c.s) : QString();
        const QString u = p > 0 ? firstNumber(fromFirstBlank(trim(fromFirstBlank(w))), c.s) : QString();
        lines("SF (CRC) Errors:  ", d, u);
        store(0, d);
        store(6, u);
    }

    p = pas::pos(QStringLiteral("RS:"), section);
    lines("Reed Solomon:     ", down(section, p, 3, 50), up(section, p, 3));
    p = pas::pos(QStringLiteral("RSCorr:"), section);
    {
        const QString d = down(section, p, 7, 50);
        const QString u = up(section, p, 7);
        lines("RS Corrected:     ", d, u);
        store(1, d);
        store(7, u);
    }
    p = pas::pos(QStringLiteral("RSUnCorr:"), section);
    {
        const QString d = down(section, p, 9, 50);
        const QString u = up(section, p, 9);
        lines("RS Un-Corrected:  ", d, u);
        store(2, d);
        store(8, u);
    }
    p = pas::pos(QStringLiteral("HEC:"), section);
    lines("HEC:              ", down(section, p, 4, 50), up(section, p, 4));

    p = pas::pos(QStringLiteral("ES:"), c.reply);
    lines("Errored Seconds:  ", down(c.reply, p, 3, 50), up(c.reply, p, 3));
    p = pas::pos(QStringLiteral("SES:"), c.reply);
    lines("Severe ES:        ", down(c.reply, p, 4, 50), up(c.reply, p, 4));
    r.Memo2 << QString();
    r.Memo3 << QString();
    p = pas::pos(QStringLiteral("D: "), c.reply);
    lines("Interleave Depth: ", down(c.reply, p, 2, 50), up(c.reply, p, 2));
    p = pas::pos(QStringLiteral("Bitswap: "), c.reply);
    {
        const QString w = p > 0 ? pas::copy(c.reply, p + 2, 60) : QString();
        // The upstream count stands 20 characters past the first blank.
        const int b = pas::pos(QStringLiteral(" "), w);
        const QString u = b > 0 ? firstNumber(pas::copyFrom(w, b + 20), c.s) : QString();
        lines("Bitswaps:         ", down(c.reply, p, 2, 50), u);
    }
    return wholeNumber(superframes).value_or(0);
}

void uptimes(V4Context &c, qint64 superframes)
{
    auto &f = c.f;
    auto &r = c.r;
    const double sfCounter = c.s.Telnet.SFCounter;

    // The measured superframe period from the previous 15 minutes' count.
    QString count;
    if (const int p = pas::pos(QStringLiteral("Previous 15 minutes time"), c.reply); p > 0) {
        const QString t = pas::copy(c.reply, p + 34, 40);
        if (const int q = pas::pos(QStringLiteral("SF ="), t); q > 0)
            count = firstNumber(pas::copy(t, q + 5, 25), c.s);
    }
    const double n = RouterNumbers::StrToFloatDef(count, sfCounter);
    // A zero count (however written) has no period to measure.
    const double measured = count == QLatin1String("0") || n == 0 ? 16.181812 : 900000.0 / n;
    f.SuperframePeriod = float(measured);
    const double period = measured > 15.5 && measured < 16.9 ? measured : sfCounter;
    const double msPerSuperframe = c.s.Telnet.ADSL2 || f.Adsl2PlusSeen ? period : 17.0;

    const QString wan = uptimeText(superframes, msPerSuperframe);
    r.Memo4 << QStringLiteral("Total Uptimes (From SF counts):") << QStringLiteral(" WAN: ") + wan;
    if (c.s.Telnet.DisableHTTP || c.s.System.StatusBarTelnet)
        r.StatusPanel2 = (f.BytesInterfaceFound ? QStringLiteral("ppp0: ") : QStringLiteral("nas0: ")) + wan;

    qint64 lan = 0;
    QString totals;
    if (const int p = pas::pos(QStringLiteral("Total time ="), c.reply); p > 0) {
        const QString head = pas::copy(c.reply, p + 12, 65);
        if (const int s = pas::pos(QStringLiteral("SF"), head); s > 0)
            lan = wholeNumber(firstNumber(pas::copyFrom(head, s + 2), c.s)).value_or(0);
        QString block = pas::copy(c.reply, p + 12, 300);
        block.replace(QStringLiteral(" ="), QStringLiteral(": "));
        if (const int crc = pas::pos(QStringLiteral("CRC"), block); crc > 0)
            totals = pas::copy(block, crc, pas::pos(QStringLiteral("Latest"), block) - crc);
    }
    r.Memo4 << QStringLiteral(" LAN: ") + uptimeText(lan, msPerSuperframe);
    if (!totals.isEmpty())
        r.Memo4 << totals.split(QStringLiteral("\r\n"));
}

void periodCounters(V4Context &c)
{
    const auto &g = c.s.Graph;
    const QString label = g.Latest15     ? QStringLiteral("Latest 15 minutes time =")
                          : g.Latest1day ? QStringLiteral("Latest 1 day time =")
                                         : QStringLiteral("Total time =");
    const int p = pas::pos(label, c.reply);
    const QString block = p > 0 ? pas::copy(c.reply, p + int(label.size()), 300) : QString();
    static const char *const names[] = {"CRC", "ES", "LOF"};
    for (int k = 0; k < 3; ++k) {
        const int at = pas::pos(QString::fromLatin1(names[k]), block);
        const QString v = at > 0 ? firstNumber(pas::copy(block, at, 50), c.s) : QString();
        takeCounter(c.f, 3 + k, v);
    }
}

// The tone lines of a listing ("   12\t\t7"): the block up to the first
// line that is neither empty nor a tone line, so a listing cut short is not
// continued by the next table's lines.
QString toneLines(const QString &block)
{
    const QStringList lines = block.split(QStringLiteral("\r\n"));
    QStringList kept{lines.value(0)}; // the rest of the heading's line
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString t = trim(lines[i]);
        if (!t.isEmpty() && !t.front().isDigit())
            break;
        kept << lines[i];
    }
    return kept.join(QStringLiteral("\r\n"));
}

// Tone i's value in a listing of "   i<sep>value" lines: the first number in
// width characters from valueFrom past the key. nullopt when the key is absent.
std::optional<QString> toneValue(const QString &block, const QString &key, int valueFrom, int width, const TSettings &s)
{
    const int k = pas::pos(key, block);
    if (k == 0)
        return std::nullopt;
    return firstNumber(pas::copy(block, k + valueFrom, width), s);
}

void readDecimalTones(const QString &reply, const QString &header, int lastTone, const TSettings &s,
                      std::array<float, TelnetFigures::kTones> &table, bool snr)
{
    const int h = pas::pos(header, reply);
    if (h == 0)
        return;
    const QString block = toneLines(pas::copy(reply, h + int(header.size()), lastTone * 25));
    for (int i = 0; i <= lastTone; ++i) {
        const QString key = QStringLiteral("   ") + QString::number(i) + QStringLiteral("    ");
        const auto v = toneValue(block, key, int(key.size()), 28, s);
        if (!v)
            continue;
        double value = RouterNumbers::StrToFloatDef(RouterNumbers::RegionalStep(*v, s.System.Regional), qQNaN());
        if (std::isnan(value))
            continue; // no number for the tone: its entry stays
        if (snr) {
            if (value < 0 || value > 63)
                value = 0;
        } else {
            value = std::fabs(value);
        }
        table[size_t(i)] = float(value);
    }
}

void bitLoading(V4Context &c, qint64 sampleCount)
{
    const QString &reply = c.reply;
    auto &f = c.f;
    const auto &t = c.s.Telnet;
    ToneChartData chart;

    f.ToneSwapped.fill(0);
    if (pas::pos(QStringLiteral("ADSL2+"), reply) > 0)
        f.Adsl2PlusSeen = true;
    chart.LastTone = t.ADSL ? 255 : (t.ADSL2 || f.Adsl2PlusSeen ? 510 : 255);
    const bool adsl2Plus = chart.LastTone == 510;
    chart.AxisTitle = adsl2Plus ? QStringLiteral("Tones (ADSL2+)") : QStringLiteral("Tones");
    chart.HalfSelectionVisible = adsl2Plus;
    chart.Label88 = t.ShowTop == 1 ? QStringLiteral(">>") : t.ShowTop == 2 ? QStringLiteral("<<") : QString();
    // The upper half exists only on an ADSL2+ line.
    chart.ToneOffset = t.ShowTop == 2 && adsl2Plus ? 256 : 0;
    chart.AxisMaximum = chart.LastTone - chart.ToneOffset;

    bool imageDue = false;
    if (const int b = pas::pos(QStringLiteral("Bit Allocation"), reply); b > 0) {
        const QString block = toneLines(pas::copy(reply, b + 14, chart.LastTone * 20));
        for (int i = 0; i <= chart.LastTone; ++i) {
            const auto v = toneValue(block, QStringLiteral("   ") + QString::number(i), 6, 15, c.s);
            if (!v)
                continue; // not in the reply: no reading, no bitswap
            const int bits = int32Value(*v, 0);
            const size_t k = size_t(i);
            if (bits != f.ToneBits[k] && sampleCount > 3 && i > 5) {
                f.ToneSwapped[k] = 1;
                ++f.ToneSwapCount[k];
                ++(i < 32 ? chart.UpstreamSwaps : chart.DownstreamSwaps);
                imageDue = imageDue || t.BitSwapBefore || t.BitSwapAfter;
            }
            if (bits < 18)
                f.ToneBits[k] = std::max(bits, 0);
        }
    }
    chart.SaveBefore = imageDue && t.BitSwapBefore;

    readDecimalTones(reply, QStringLiteral("Tone number      SNR"), chart.LastTone, c.s, f.ToneSnr, true);
    if (t.ShowAttenuation)
        readDecimalTones(reply, QStringLiteral("Tone number      Hlog"), chart.LastTone, c.s, f.ToneHlog, false);

    plotTones(chart, f, c.s, t.ShowAttenuation);
    finishBitswaps(chart, imageDue, f, c.s, c.r);
    c.r.ToneChart = std::move(chart);
}

} // namespace

TelnetParseResult ParseDataV4(const QString &reply, const TSettings &settings, const TelnetRequestFlags &flags,
                              const SampleFigures &http, qint64 sampleCount, TelnetFigures &figures)
{
    TelnetParseResult result;
    V4Context c{reply, settings, http, figures, result};
    debugOffStep(reply, flags.DebugCheckPending, result);

    if (flags.StatsRequested) {
        result.StatisticsRead = true;
        lineFigures(c);
        const qint64 superframes = counters(c);
        readUserFigures(paneText(result.Memo2), paneText(result.Memo3), settings, true, figures);
        uptimes(c, superframes);
        periodCounters(c);
        const auto &n = figures.TelnetCounters;
        result.Label35 =
            n[1] > 0 ? QStringLiteral("Downstream interleave: ON") : QStringLiteral("Downstream interleave: OFF");
        result.Label99 =
            n[7] > 0 ? QStringLiteral("Upstream interleave: ON") : QStringLiteral("Upstream interleave: OFF");
        result.Clears.StatsRequested = true;
    }

    // " ifconfig" follows the statistics command: a statistics reply without
    // its listing yet leaves the request open for the next prompt.
    if (flags.ExtendedRequested && settings.Telnet.Extended &&
        (interfaceListingArrived(reply) || !flags.StatsRequested))
        readInterfaceListing(reply, settings, {QStringLiteral("ppp0 "), 10, QStringLiteral("nas0 "), 10, true}, figures,
                             result);

    // Each requested table must have come before the tones are read; until
    // then the reply stays expected.
    const auto &t = settings.Telnet;
    const bool tablesHere = pas::pos(QStringLiteral("Bit Allocation"), reply) > 0 &&
                            pas::pos(QStringLiteral("Tone number      SNR"), reply) > 0 &&
                            (!t.ShowAttenuation || pas::pos(QStringLiteral("Tone number      Hlog"), reply) > 0);
    if (t.BitsGraph && flags.BitsReplyExpected && tablesHere) {
        bitLoading(c, sampleCount);
        result.Clears.BitsReplyExpected = true;
        result.EnableBitsRefresh = true;
    }
    return result;
}
