#include "acquisition/TelnetParseSupport.h"

#include "common/RouterAddress.h"
#include "acquisition/RouterNumbers.h"
#include "common/Clock.h"
#include "common/DateTimePattern.h"
#include "common/PascalString.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace telnetparse {

Window window(const QString &source, const QString &label, int offset, int width, int threshold)
{
    const int p = pas::pos(label, source);
    if (p == 0 || p + offset <= threshold)
        return {};
    return {true, pas::copy(source, p + offset, width)};
}

QString trim(const QString &text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b].unicode() <= ' ')
        ++b;
    while (e > b && text[e - 1].unicode() <= ' ')
        --e;
    return text.mid(b, e - b);
}

QString fromFirstBlank(const QString &text)
{
    const int b = pas::pos(QStringLiteral(" "), text);
    return b == 0 ? QString() : pas::copyFrom(text, b);
}

QString pad(const QString &text, int n)
{
    return text.size() >= n ? text : text + QString(n - text.size(), QLatin1Char(' '));
}

QString firstNumber(const QString &text, const TSettings &settings)
{
    return RouterNumbers::ExtractNumeric(text, settings.NumberDecimalChar, settings.NumberGroupChar);
}

QString secondColumn(const QString &window, const TSettings &settings)
{
    return firstNumber(fromFirstBlank(trim(window)), settings);
}

std::optional<qint64> wholeNumber(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    const bool negative = text.front() == QLatin1Char('-');
    const qsizetype first = negative ? 1 : 0;
    if (first >= text.size() || text.size() - first > 19)
        return std::nullopt;
    quint64 v = 0;
    for (qsizetype i = first; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        v = v * 10 + quint64(c.unicode() - '0');
    }
    if (v > quint64(std::numeric_limits<qint64>::max()))
        return std::nullopt;
    return negative ? -qint64(v) : qint64(v);
}

qint64 counterValue(const QString &text, qint64 previous)
{
    return wholeNumber(text).value_or(previous);
}

void takeCounter(TelnetFigures &figures, int slot, const QString &text, bool found)
{
    qint64 &value = figures.TelnetCounters[size_t(slot)];
    const qint64 before = value;
    const bool read = found && wholeNumber(text).has_value();
    value = counterValue(text, value);
    bool fresh = figures.Fresh.Counters[size_t(slot)];
    noteReading(fresh, read, value == before);
    figures.Fresh.Counters[size_t(slot)] = fresh;
}

qint32 int32Value(const QString &text, qint32 fallback)
{
    const auto v = wholeNumber(text);
    if (!v || *v < std::numeric_limits<qint32>::min() || *v > std::numeric_limits<qint32>::max())
        return fallback;
    return qint32(*v);
}

double floatValue(const QString &text, double fallback, const TSettings &settings)
{
    return RouterNumbers::StrToFloatDef(RouterNumbers::RegionalStep(text, settings.System.Regional), fallback);
}

QString uptimeText(qint64 count, double msPerSuperframe)
{
    // A negative count is noise in the reply, not a negative uptime.
    double ms = double(std::max<qint64>(count, 0)) * msPerSuperframe;
    // A wild counter or superframe length must not overflow the whole-number
    // parts: cap at a billion days (nothing real comes near it).
    constexpr double kMaxMs = 1e9 * 86400000.0;
    if (!(ms >= 0))
        ms = 0;
    ms = std::min(ms, kMaxMs);
    const double days = ms / 1000.0 / 86400.0;
    const qint64 wholeDays = qint64(days);
    const qint64 msOfDay = qint64(std::round(ms)) % 86400000;
    const QString time = QStringLiteral("%1:%2:%3")
                             .arg(msOfDay / 3600000, 2, 10, QLatin1Char('0'))
                             .arg(msOfDay / 60000 % 60, 2, 10, QLatin1Char('0'))
                             .arg(msOfDay / 1000 % 60, 2, 10, QLatin1Char('0'));
    if (days == 1.0)
        return QStringLiteral("  %1 day,  %2").arg(wholeDays).arg(time);
    return QStringLiteral("  %1 days, %2").arg(wholeDays).arg(time);
}

QString paneText(const QStringList &lines)
{
    QString t;
    for (const QString &l : lines)
        t += l + QStringLiteral("\r\n");
    return t;
}

namespace {

void readUserFigure(const QString &text, bool enabled, bool fromDownPane, const QString &memo2, const QString &memo3,
                    const TSettings &settings, bool adslctlRules, qint32 syncNow, double &figure, bool &fresh)
{
    const double before = figure;
    bool read = false;
    if (adslctlRules && (text.isEmpty() || !enabled || syncNow <= 0)) {
        figure = 0; // a stand-in, not a reading
    } else if (!text.isEmpty() && enabled) {
        const QString &pane = fromDownPane ? memo2 : memo3;
        if (const int p = pas::pos(text, pane); p > 0) {
            const int start = p + int(text.size()) + (adslctlRules ? 1 : 0);
            const QString number = firstNumber(pas::copy(pane, start, 50), settings);
            // Converted alike with two defaults: the text is a number.
            const double v = RouterNumbers::StrToFloatDef(number, 0);
            if (v == RouterNumbers::StrToFloatDef(number, 1)) {
                figure = v;
                read = true;
            }
        }
    }
    noteReading(fresh, read, figure == before);
}

// One direction's byte total: a total not above 0 (or, for adslctl, below
// its base) keeps the last good one; the base is taken once.
void takeTotal(double value, bool belowBaseKeepsTotal, double &total, double &lastGood, double &base, bool &baseSet,
               QString &baseDate, bool &fresh)
{
    const double before = total;
    total = value;
    const bool read = !(total <= 0 || (belowBaseKeepsTotal && total < base));
    if (!read)
        total = lastGood;
    noteReading(fresh, read, total == before);
    if (total > 0)
        lastGood = total;
    if (!baseSet) {
        base = total;
        baseSet = true;
        baseDate = dtp::format(QStringLiteral("dd mmm yy  HH:nn:ss"), Clock::currentDateTime());
    }
}

// "TX bytes:2867459201 (2.6 GiB)": the text after the label up to the next ")".
std::optional<QString> bytesText(const QString &iface, const QString &label)
{
    const int p = pas::pos(label, iface);
    if (p == 0 || iface.size() <= 1 || !iface.contains(QLatin1Char(')')))
        return std::nullopt;
    const int from = p + int(label.size());
    const int close = pas::posEx(QStringLiteral(")"), iface, from);
    if (close == 0)
        return std::nullopt; // the count runs past the listing's window
    return pas::copy(iface, from, close - from);
}

} // namespace

void readUserFigures(const QString &memo2, const QString &memo3, const TSettings &settings, bool adslctlRules,
                     TelnetFigures &figures)
{
    const auto &t = settings.Telnet;
    readUserFigure(t.UserDownText, t.cbUserDown, t.User1Rx, memo2, memo3, settings, adslctlRules, figures.TelnetSyncNow,
                   figures.TelnetUserDown, figures.Fresh.UserDown);
    readUserFigure(t.UserUpText, t.cbUserUp, t.User2Rx, memo2, memo3, settings, adslctlRules, figures.TelnetSyncNow,
                   figures.TelnetUserUp, figures.Fresh.UserUp);
}

bool interfaceListingArrived(const QString &reply)
{
    return reply.contains(QLatin1String("Link encap:"));
}

void readInterfaceListing(const QString &reply, const TSettings &settings, const InterfaceLabels &labels,
                          TelnetFigures &figures, TelnetParseResult &result)
{
    result.Memo4 << QString();
    QString name;
    QString iface;
    int blockFrom = 0;
    if (const int p = pas::pos(labels.ppp, reply); p > labels.pppAbove) {
        name = QStringLiteral("ppp0");
        iface = pas::copy(reply, p + 250, 450);
        blockFrom = p;
        figures.BytesInterfaceFound = true;
    } else if (const int n = pas::pos(labels.nas, reply); n > labels.nasAbove) {
        name = QStringLiteral("nas0");
        iface = pas::copy(reply, n + 350, 350);
        blockFrom = n;
        figures.BytesInterfaceFound = false;
    }
    if (!name.isEmpty()) {
        result.Memo4 << QStringLiteral("Bytes Transferred (%1):").arg(name);
        result.Chart23AxisTitle = QStringLiteral("Rx MiBytes (%1)").arg(name);
        result.Chart24AxisTitle = QStringLiteral("Tx MiBytes (%1)").arg(name);
        result.TabSheet49Caption = QStringLiteral("MiBytes (%1)").arg(name);
        result.TabSheet50Caption = QStringLiteral("MiBytes (%1)").arg(name);
    }

    if (const auto t = bytesText(iface, QStringLiteral("TX bytes:"))) {
        result.Memo4 << QStringLiteral("  Tx: ") + *t + QStringLiteral(")");
        if (settings.Telnet.TxTotal) {
            const double mib = RouterNumbers::StrToFloatDef(firstNumber(t->left(20), settings), 0) / 1048576.0;
            takeTotal(mib, labels.belowBaseKeepsTotal, figures.TxBytesTotal, figures.LastGoodTxBytes,
                      figures.TxBytesBase, figures.TxBytesBaseSet, figures.TxBytesBaseDate, figures.Fresh.TxBytes);
        }
    }
    if (const auto t = bytesText(iface, QStringLiteral("RX bytes:"))) {
        result.Memo4 << QStringLiteral("  Rx: ") + *t + QStringLiteral(")");
        if (settings.Telnet.RxTotal) {
            const double mib = RouterNumbers::StrToFloatDef(firstNumber(t->left(50), settings), 0) / 1048576.0;
            takeTotal(mib, labels.belowBaseKeepsTotal, figures.RxBytesTotal, figures.LastGoodRxBytes,
                      figures.RxBytesBase, figures.RxBytesBaseSet, figures.RxBytesBaseDate, figures.Fresh.RxBytes);
        }
    }

    QString address;
    if (blockFrom > 0) {
        const QString block = pas::copy(reply, blockFrom + 30, 150);
        if (const int a = pas::pos(QStringLiteral("inet addr:"), block); a > 0) {
            const QString rest = pas::copyFrom(block, a + 10);
            qsizetype end = 0;
            while (end < rest.size() && rest[end].unicode() > ' ')
                ++end;
            address = rest.left(end);
        }
    }
    result.Memo4 << QString();
    if (isDottedIPv4(address)) {
        result.Memo4 << QStringLiteral("  IP address: ") + address;
        if (settings.Telnet.DisableHTTP)
            result.StatusPanel1 = address;
    } else {
        result.Memo4 << QStringLiteral("Can't retrieve IP addr.");
    }
    result.Clears.ExtendedRequested = true;
}

void plotTones(ToneChartData &chart, const TelnetFigures &figures, const TSettings &settings, bool withAttenuation)
{
    const bool snrMode = settings.Telnet.rbSNR;
    const double clipMax = settings.Telnet.ClipSNRMargin;
    const double clipMin = settings.Telnet.ClipMinSNRMargin;
    for (int t = std::max(chart.ToneOffset, 0); t <= chart.LastTone && t < TelnetFigures::kTones; ++t) {
        const size_t i = size_t(t);
        chart.Tones.push_back(t);
        chart.Bits.push_back(figures.ToneBits[i]);
        chart.BitColours.push_back(figures.ToneSwapped[i] ? tonecolour::Lime
                                   : t < 32               ? tonecolour::Green
                                                          : tonecolour::Blue);
        if (snrMode) {
            chart.Snr.push_back(figures.ToneSnr[i]);
        } else {
            // 3 dB per bit; the upstream band and the guard tone read as 0.
            const double margin = double(figures.ToneSnr[i]) - 3.0 * figures.ToneBits[i];
            chart.Snr.push_back(t > 32 ? std::clamp(margin, std::min(clipMin, clipMax), clipMax) : 0.0);
            chart.MarginFit.push_back(margin);
        }
        if (withAttenuation)
            chart.Attenuation.push_back(figures.ToneHlog[i]);
    }
}

void finishBitswaps(ToneChartData &chart, bool imageDue, TelnetFigures &figures, const TSettings &settings,
                    TelnetParseResult &result)
{
    const auto &t = settings.Telnet;
    chart.SaveAfter = imageDue && t.BitSwapAfter;
    if (t.LogBitswap) {
        QString line = QStringLiteral("Bitswap in Tones: ");
        for (int i = 0; i < TelnetFigures::kTones; ++i)
            if (figures.ToneSwapped[size_t(i)])
                line += QString::number(i) + QStringLiteral(", ");
        result.SystemMessages << line;
    }
    chart.HistogramVisible = t.SepHistogram;
    if (chart.HistogramVisible) {
        for (int tone : chart.Tones) {
            chart.Histogram.push_back(figures.ToneSwapCount[size_t(tone)]);
            chart.HistogramColours.push_back(tone < 32 ? tonecolour::Green : tonecolour::Blue);
        }
    }
    if (t.BitswapGraph) {
        const qint64 now = Clock::currentDateTimeUtc().toSecsSinceEpoch();
        BitswapChartPoint point;
        if (now - figures.LastBitswapPlot > qint64(settings.Graph.GapFactor) * 60 && t.DontrefreshWhenMin)
            point.Gap = true;
        point.Upstream = chart.UpstreamSwaps;
        point.Downstream = chart.DownstreamSwaps;
        chart.BitswapPoint = point;
        figures.LastBitswapPlot = now;
    }
}

void debugOffStep(const QString &, bool debugCheckPending, TelnetParseResult &result)
{
    if (debugCheckPending)
        result.Clears.DebugCheckPending = true;
}

} // namespace telnetparse
