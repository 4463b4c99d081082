// ParseDataV4 against the simulated adslctl router's replies and hand-cut
// ones: two-column lines, the counter slots and the chosen period, the
// measured superframe period, the interface listing with its byte bases,
// and the per-tone tables with their pages.
#include "TelnetParserFixture.h"
#include "acquisition/TelnetParseSupport.h"
#include "common/Clock.h"

#include <QRegularExpression>
#include <cmath>
#include <gtest/gtest.h>
#include <numeric>

using telnettest::paneLine;

namespace {

const QString kStats = QStringLiteral("/usr/sbin/adslctl info --stats");
const QString kIfconfig = QStringLiteral(" ifconfig");
const QString kSnr = QStringLiteral("adslctl info --SNR");
const QString kBits = QStringLiteral("adslctl info --Bits");
const QString kHlog = QStringLiteral("adslctl info --Hlog");

struct AdslctlTest : ::testing::Test {
    telnettest::SimLine line{routersim::TelnetFamily::Adslctl};
    TSettings s = telnettest::defaultSettings();
    TelnetFigures f;
    ManualClock clock{QDateTime(QDate(2024, 3, 5), QTime(10, 0), Qt::UTC)};

    void SetUp() override
    {
        Clock::setInstance(&clock);
        s.Telnet.V4 = true;
        s.Telnet.V123 = false;
        s.Telnet.ShowAttenuation = false;
    }
    void TearDown() override { Clock::setInstance(nullptr); }

    TelnetParseResult parse(const QString &reply, const TelnetRequestFlags &flags, qint64 sampleCount = 10,
                            const SampleFigures &http = {})
    {
        return ParseDataV4(reply, s, flags, http, sampleCount, f);
    }
    TelnetParseResult parseStats(const SampleFigures &http = {})
    {
        return parse(line.transcript({kStats}), telnettest::statsFlags(), 10, http);
    }
    TelnetRequestFlags bitsFlags()
    {
        TelnetRequestFlags fl;
        fl.BitsReplyExpected = true;
        return fl;
    }
    TelnetParseResult parseBits(qint64 sampleCount, const QStringList &commands = {kSnr, kBits})
    {
        return parse(line.transcript(commands), bitsFlags(), sampleCount);
    }
};

} // namespace

TEST_F(AdslctlTest, SimulatorReplyFillsThePanesAndTheRecord)
{
    f.TelnetCounters[9] = 91; // 9-11 are not this family's
    f.TelnetCounters[11] = 93;
    const TelnetParseResult r = parseStats();
    EXPECT_EQ(
        QStringList({"Noise Margin:     6.5   dB", "Connection Rate:  8128  Kbps", "Line Attenuation: 32.5  dB",
                     "Power:            19.5  dBm", "Max Rate:         10432 Kbps", " ", "SuperFrames:      5559235",
                     "SF (CRC) Errors:  56", "Reed Solomon:     183456789", "RS Corrected:     1234",
                     "RS Un-Corrected:  9", "HEC:              12", "Errored Seconds:  31", "Severe ES:        2", "",
                     "Interleave Depth: 64", "Bitswaps:         2165"}),
        r.Memo2);
    EXPECT_EQ(QStringList({"Noise Margin:     12.0  dB", "Connection Rate:  448   Kbps", "Line Attenuation: 18.0  dB",
                           "Power:            12.0  dBm", "Max Rate:         1120  Kbps", " ",
                           "SuperFrames:      5559233", "SF (CRC) Errors:  0", "Reed Solomon:     1234567",
                           "RS Corrected:     0", "RS Un-Corrected:  6", "HEC:              0", "Errored Seconds:  8",
                           "Severe ES:        1", "", "Interleave Depth: 8", "Bitswaps:         35"}),
              r.Memo3);
    EXPECT_EQ(QStringList({"Total Uptimes (From SF counts):", " WAN:   1 days, 02:15:06", " LAN:   1 days, 02:15:06",
                           "CRC:  56  0", "ES:  31  8", "SES:  2  1", "UAS:  0  0", "LOS:  1  0", "LOF:  3  0", ""}),
              r.Memo4);
    EXPECT_EQ(8128, f.TelnetSyncNow);
    EXPECT_FLOAT_EQ(6.5f, f.TelnetNoiseNow);
    // Slots 3-5 from the latest 15 minutes (the default period).
    EXPECT_EQ((std::array<qint64, 12>{56, 1234, 9, 2, 1, 0, 0, 0, 6, 91, 0, 93}), f.TelnetCounters);
    EXPECT_EQ(QStringLiteral("Downstream interleave: ON"), r.Label35.value_or(QString()));
    EXPECT_EQ(QStringLiteral("Upstream interleave: OFF"), r.Label99.value_or(QString()));
    EXPECT_TRUE(r.Clears.StatsRequested);
    EXPECT_FALSE(r.Clears.BitsReplyExpected);
    EXPECT_FALSE(r.StatusPanel2.has_value());
}

TEST_F(AdslctlTest, PeriodCountersFollowTheChosenPeriod)
{
    line.set(QStringLiteral("Crc15"), QStringLiteral("15"));
    line.set(QStringLiteral("Es15"), QStringLiteral("16"));
    line.set(QStringLiteral("Lof15"), QStringLiteral("17"));
    line.set(QStringLiteral("CrcDay"), QStringLiteral("24"));
    line.set(QStringLiteral("EsDay"), QStringLiteral("25"));
    line.set(QStringLiteral("LofDay"), QStringLiteral("26"));
    line.set(QStringLiteral("CrcDown"), QStringLiteral("6000000001")); // the totals, past 32 bits
    line.set(QStringLiteral("EsDown"), QStringLiteral("33"));
    line.set(QStringLiteral("LofDown"), QStringLiteral("34"));
    struct Case {
        bool latest15, latest1day;
        qint64 crc, es, lof;
    } cases[] = {
        {true, false, 15, 16, 17},
        {false, true, 24, 25, 26},
        {true, true, 15, 16, 17}, // both set: the 15 minutes win
        {false, false, 6000000001LL, 33, 34},
    };
    for (const Case &c : cases) {
        s.Graph.Latest15 = c.latest15;
        s.Graph.Latest1day = c.latest1day;
        parseStats();
        EXPECT_EQ(c.crc, f.TelnetCounters[3]) << c.latest15 << c.latest1day;
        EXPECT_EQ(c.es, f.TelnetCounters[4]) << c.latest15 << c.latest1day;
        EXPECT_EQ(c.lof, f.TelnetCounters[5]) << c.latest15 << c.latest1day;
    }
    EXPECT_EQ(6000000001LL, f.TelnetCounters[0]); // superframe errors, total
}

TEST_F(AdslctlTest, MeasuredSuperframePeriodIsUsedOnlyWhenPlausible)
{
    s.Telnet.ADSL2 = true; // the measured period applies to ADSL2 lines
    s.Telnet.SFCounter = 16.168;
    line.set(QStringLiteral("SuperframesDown"), QStringLiteral("5343889"));
    struct Case {
        const char *prev15;
        double measured;
        double used;
    } cases[] = {
        {"55650", 900000.0 / 55650, 900000.0 / 55650},
        {"0", 16.181812, 16.181812},
        {"52941", 900000.0 / 52941, 16.168}, // 17.0 ms: outside 15.5..16.9
        {"60000", 15.0, 16.168},
    };
    for (const Case &c : cases) {
        line.set(QStringLiteral("SuperframesPrev15"), QString::fromLatin1(c.prev15));
        const TelnetParseResult r = parseStats();
        EXPECT_NEAR(c.measured, f.SuperframePeriod, 1e-4) << c.prev15;
        EXPECT_EQ(QStringLiteral(" WAN: ") + telnetparse::uptimeText(5343889, c.used), r.Memo4.at(1)) << c.prev15;
    }
    // Plain ADSL counts 17 ms per superframe whatever was measured.
    s.Telnet.ADSL2 = false;
    line.set(QStringLiteral("SuperframesPrev15"), QStringLiteral("55650"));
    EXPECT_EQ(QStringLiteral(" WAN: ") + telnetparse::uptimeText(5343889, 17), parseStats().Memo4.at(1));
}

TEST_F(AdslctlTest, StatusPanelShowsTheUptimeWithItsInterface)
{
    struct Case {
        bool disableHttp, statusBarTelnet, ppp;
        const char *prefix;
    } cases[] = {
        {false, true, true, "ppp0: "},
        {false, true, false, "nas0: "},
        {true, false, true, "ppp0: "},
        {false, false, true, nullptr},
    };
    for (const Case &c : cases) {
        s.Telnet.DisableHTTP = c.disableHttp;
        s.System.StatusBarTelnet = c.statusBarTelnet;
        f.BytesInterfaceFound = c.ppp;
        const TelnetParseResult r = parseStats();
        if (c.prefix)
            EXPECT_EQ(QString::fromLatin1(c.prefix) + QStringLiteral("  1 days, 02:15:06"),
                      r.StatusPanel2.value_or(QString()));
        else
            EXPECT_FALSE(r.StatusPanel2.has_value());
    }
}

TEST_F(AdslctlTest, ShortReplyFallsBackToTheLastGoodFigures)
{
    QString reply = line.transcript({kStats});
    reply.truncate(reply.indexOf(QStringLiteral("Counters")));
    reply += QStringLiteral("# ");
    ASSERT_LE(reply.size(), 2000);
    f.LastGoodTelnetSync = 7000;
    f.LastGoodTelnetNoise = 6.0f;
    f.TelnetNoiseNow = 0;
    f.TelnetCounters = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    TelnetParseResult r = parse(reply, telnettest::statsFlags());
    EXPECT_EQ(7000, f.TelnetSyncNow);
    EXPECT_FLOAT_EQ(6.0f, f.TelnetNoiseNow);
    EXPECT_EQ(QStringLiteral("Noise Margin:     -0    dB"), r.Memo2.at(0));
    EXPECT_EQ(QStringLiteral("Connection Rate:  0     Kbps"), r.Memo2.at(1));
    EXPECT_EQ(QStringLiteral("Noise Margin:     12.0  dB"), r.Memo3.at(0)); // the upstream column is still read
    // No "Counters" section: no slot changes and nothing is read in its place.
    EXPECT_EQ((std::array<qint64, 12>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), f.TelnetCounters);
    EXPECT_EQ(QStringLiteral("SuperFrames:      "), r.Memo2.at(6));

    // Two retries, then the last good figures are no longer used (the plot
    // zeroes the figures between polls).
    f.TelnetNoiseNow = 0;
    parse(reply, telnettest::statsFlags());
    EXPECT_FLOAT_EQ(6.0f, f.TelnetNoiseNow);
    f.TelnetSyncNow = 0;
    f.TelnetNoiseNow = 0;
    parse(reply, telnettest::statsFlags());
    EXPECT_EQ(0, f.TelnetSyncNow);
    EXPECT_FLOAT_EQ(0, f.TelnetNoiseNow);
    // The HTTP sync stands in for a missing one.
    SampleFigures http;
    http.RxSync = 7999.5f;
    parse(reply, telnettest::statsFlags(), 10, http);
    EXPECT_EQ(7999, f.TelnetSyncNow);
}

TEST_F(AdslctlTest, MissingLabelsAreNotReadFromTheStartOfTheReply)
{
    QString reply = QStringLiteral("4242424242 4242424242\r\n") + line.transcript({kStats});
    reply.replace(QStringLiteral("Latest 15 minutes time ="), QStringLiteral("Latest quarter hour"));
    reply.replace(QStringLiteral("Previous 15 minutes time"), QStringLiteral("Previous quarter hour"));
    reply.replace(QStringLiteral("RSCorr:"), QStringLiteral("RS-Corr"));
    reply.replace(QStringLiteral("Bitswap: "), QStringLiteral("Bit swaps "));
    f.TelnetCounters = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const TelnetParseResult r = parse(reply, telnettest::statsFlags());
    EXPECT_EQ(2, f.TelnetCounters[1]);
    EXPECT_EQ(8, f.TelnetCounters[7]);
    EXPECT_EQ(4, f.TelnetCounters[3]);
    EXPECT_EQ(6, f.TelnetCounters[5]);
    EXPECT_EQ(56, f.TelnetCounters[0]);
    EXPECT_EQ(QStringLiteral("Bitswaps:         "), r.Memo2.last());
    EXPECT_EQ(QStringLiteral("Bitswaps:         "), r.Memo3.last());
    for (const QStringList &pane : {r.Memo2, r.Memo3, r.Memo4})
        EXPECT_FALSE(pane.join(QString()).contains(QStringLiteral("4242")));
}

TEST_F(AdslctlTest, InterfaceListingWaitsForItsOutputAndKeepsTheTotalAboveItsBase)
{
    s.Telnet.RxTotal = true;
    s.Telnet.TxTotal = true;
    TelnetRequestFlags flags = telnettest::statsFlags(true);
    // The statistics prompt comes first: the listing is still to come.
    TelnetParseResult r = parse(line.transcript({kStats}), flags);
    EXPECT_FALSE(r.Clears.ExtendedRequested);
    EXPECT_EQ(0, f.RxBytesTotal);
    r.Clears.applyTo(flags);
    r = parse(line.transcript({kStats, kIfconfig}), flags);
    EXPECT_FALSE(r.StatisticsRead);
    EXPECT_TRUE(r.Clears.ExtendedRequested);
    EXPECT_EQ(QStringList({"", "Bytes Transferred (ppp0):", "  Tx: 23456789 (22.4 MiB)", "  Rx: 2867459201 (2.7 GiB)",
                           "", "  IP address: 203.0.113.7"}),
              r.Memo4);
    const double first = 2867459201.0 / 1048576;
    EXPECT_DOUBLE_EQ(first, f.RxBytesTotal);
    EXPECT_DOUBLE_EQ(first, f.RxBytesBase);

    // The router restarted: its counter dropped below the base.
    line.set(QStringLiteral("RxBytes"), QStringLiteral("1048576"));
    parse(line.transcript({kIfconfig}), telnettest::statsFlags(true));
    EXPECT_DOUBLE_EQ(first, f.RxBytesTotal);
    EXPECT_DOUBLE_EQ(first, f.RxBytesBase);
    line.set(QStringLiteral("RxBytes"), QStringLiteral("3000000000"));
    parse(line.transcript({kIfconfig}), telnettest::statsFlags(true));
    EXPECT_DOUBLE_EQ(3000000000.0 / 1048576, f.RxBytesTotal);
    EXPECT_DOUBLE_EQ(first, f.RxBytesBase);

    // A listing without either interface still ends the request.
    TelnetRequestFlags listingOnly;
    listingOnly.ExtendedRequested = true;
    r = parse(QStringLiteral("sh: ifconfig: not found\r\n# "), listingOnly);
    EXPECT_TRUE(r.Clears.ExtendedRequested);
    EXPECT_EQ(QStringLiteral("Can't retrieve IP addr."), r.Memo4.last());
}

// ---- bit loading ---------------------------------------------------------------

TEST_F(AdslctlTest, BitswapsSkipTonesZeroToFive)
{
    parseBits(2);
    EXPECT_EQ(0u, std::accumulate(f.ToneSwapCount.begin(), f.ToneSwapCount.end(), 0u));
    for (int tone : {5, 6, 100})
        line.tone(tone, QStringLiteral("bits"), QString::number(f.ToneBits[size_t(tone)] == 3 ? 4 : 3));
    const TelnetParseResult r = parseBits(10);
    ASSERT_TRUE(r.ToneChart.has_value());
    EXPECT_EQ(1, r.ToneChart->UpstreamSwaps);
    EXPECT_EQ(1, r.ToneChart->DownstreamSwaps);
    EXPECT_EQ(0, f.ToneSwapped[5]);
    EXPECT_EQ(1, f.ToneSwapped[6]);
    EXPECT_EQ(1, f.ToneSwapped[100]);
    EXPECT_TRUE(r.Clears.BitsReplyExpected);
    EXPECT_TRUE(r.EnableBitsRefresh);
    EXPECT_FALSE(r.StatisticsRead);
}

TEST_F(AdslctlTest, BitValuesAndSnrAreReadPerTone)
{
    line.tone(40, QStringLiteral("snr"), QStringLiteral("30.5"));
    line.tone(40, QStringLiteral("bits"), QStringLiteral("5"));
    QString reply = line.transcript({kSnr, kBits});
    // A value of 18 or more is not stored; a tone whose line is missing keeps its value.
    reply.replace(QRegularExpression(QStringLiteral("\r\n   50\t\t\\d+\r\n")), QStringLiteral("\r\n   50\t\t20\r\n"));
    reply.replace(QRegularExpression(QStringLiteral("\r\n   60\t\t\\d+\r\n")), QStringLiteral("\r\n"));
    f.ToneBits[50] = 4;
    f.ToneBits[60] = 9;
    const TelnetParseResult r = parse(reply, bitsFlags(), 2);
    ASSERT_TRUE(r.ToneChart.has_value());
    EXPECT_EQ(5, f.ToneBits[40]);
    EXPECT_FLOAT_EQ(30.5f, f.ToneSnr[40]);
    EXPECT_EQ(4, f.ToneBits[50]);
    EXPECT_EQ(9, f.ToneBits[60]);
}

TEST_F(AdslctlTest, TonePagesAndTheAxis)
{
    struct Case {
        bool adsl2Plus;
        int showTop;
        int offset, axisMax;
        const char *label88;
        const char *title;
    } cases[] = {
        {true, 0, 0, 510, "", "Tones (ADSL2+)"},     {true, 1, 0, 510, ">>", "Tones (ADSL2+)"},
        {true, 2, 256, 254, "<<", "Tones (ADSL2+)"}, {false, 0, 0, 255, "", "Tones"},
        {false, 2, 0, 255, "<<", "Tones"}, // an ADSL line has no upper half
    };
    for (const Case &c : cases) {
        line.set(QStringLiteral("linemode"), c.adsl2Plus ? QStringLiteral("ADSL2+") : QStringLiteral("ADSL"));
        s.Telnet.ShowTop = c.showTop;
        f = TelnetFigures();
        const TelnetParseResult r = parseBits(10);
        ASSERT_TRUE(r.ToneChart.has_value());
        const ToneChartData &t = *r.ToneChart;
        EXPECT_EQ(c.offset, t.ToneOffset) << c.adsl2Plus << c.showTop;
        EXPECT_EQ(c.axisMax, t.AxisMaximum) << c.adsl2Plus << c.showTop;
        EXPECT_EQ(QString::fromLatin1(c.label88), t.Label88.value_or(QStringLiteral("unset")));
        EXPECT_EQ(QString::fromLatin1(c.title), t.AxisTitle.value_or(QString()));
        EXPECT_EQ(c.adsl2Plus, t.HalfSelectionVisible.value_or(!c.adsl2Plus));
        EXPECT_EQ(c.offset, t.Tones.front());
        EXPECT_EQ(c.adsl2Plus ? 510 : 255, t.Tones.back());
        EXPECT_EQ(c.adsl2Plus, f.Adsl2PlusSeen);
    }
}

TEST_F(AdslctlTest, BitLoadingWaitsForEveryRequestedTable)
{
    struct Case {
        bool attenuation;
        QStringList commands;
        bool read;
    } cases[] = {
        {false, {kSnr}, false},
        {false, {kSnr, kBits}, true},
        {true, {kSnr, kBits}, false},
        {true, {kSnr, kBits, kHlog}, true},
    };
    for (const Case &c : cases) {
        s.Telnet.ShowAttenuation = c.attenuation;
        const TelnetParseResult r = parseBits(10, c.commands);
        EXPECT_EQ(c.read, r.ToneChart.has_value()) << c.commands.join(QLatin1Char(',')).toStdString();
        EXPECT_EQ(c.read, r.Clears.BitsReplyExpected);
    }
    const TelnetParseResult r = parseBits(10, {kSnr, kBits, kHlog});
    ASSERT_TRUE(r.ToneChart.has_value());
    ASSERT_EQ(r.ToneChart->Tones.size(), r.ToneChart->Attenuation.size());
    // Stored as absolute values.
    EXPECT_NEAR(std::fabs(line.state().tones().hlog(100)), r.ToneChart->Attenuation[100], 1e-4);
    EXPECT_GE(f.ToneHlog[100], 0);
}

TEST_F(AdslctlTest, CutListingLeavesTheMissingTonesAlone)
{
    s.Telnet.ShowAttenuation = true;
    parseBits(2, {kSnr, kBits, kHlog});
    f.ToneBits.fill(9);
    QString reply = line.transcript({kSnr, kBits, kHlog});
    // The bit listing stops after tone 99; the next command's echo follows its prompt.
    const int bits = int(reply.indexOf(QStringLiteral("Bit Allocation")));
    const int from = int(reply.indexOf(QStringLiteral("\r\n   100\t\t"), bits));
    const int next = int(reply.indexOf(QStringLiteral("# ") + kHlog));
    reply.remove(from + 2, next - from - 2);
    const TelnetParseResult r = parse(reply, bitsFlags(), 10);
    ASSERT_TRUE(r.ToneChart.has_value());
    EXPECT_EQ(9, f.ToneBits[200]);
    EXPECT_EQ(0, f.ToneSwapped[200]);
    EXPECT_EQ(1, f.ToneSwapped[50]);
}
