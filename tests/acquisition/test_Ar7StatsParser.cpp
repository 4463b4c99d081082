// ParseData against the simulated AR7 router's replies and hand-cut ones:
// the panes, the figure rules, counters past 32 bits, missing labels and
// cut replies, the interface listing, the debug check and the bit loading.
#include "TelnetParserFixture.h"
#include "acquisition/TelnetParseSupport.h"
#include "common/Clock.h"

#include <gtest/gtest.h>

using telnettest::paneLine;

namespace {

const QString kStats = QStringLiteral("cat /proc/avalanche/avsar_modem_stats");
const QString kIfconfig = QStringLiteral(" ifconfig");
const QString kBits = QStringLiteral("cat /proc/avalanche/avsar_bit_allocation_table");
const QString kSnr = QStringLiteral("cat /proc/avalanche/avsar_rxsnr0");

struct Ar7Test : ::testing::Test {
    telnettest::SimLine line{routersim::TelnetFamily::Ar7};
    TSettings s = telnettest::defaultSettings();
    TelnetFigures f;
    ManualClock clock{QDateTime(QDate(2024, 3, 5), QTime(10, 0), Qt::UTC)};

    void SetUp() override
    {
        Clock::setInstance(&clock);
        s.Telnet.V123 = true;
    }
    void TearDown() override { Clock::setInstance(nullptr); }

    TelnetParseResult parse(const QString &reply, const TelnetRequestFlags &flags, qint64 sampleCount = 10,
                            const SampleFigures &http = {})
    {
        return ParseData(reply, s, flags, http, sampleCount, f);
    }
    TelnetParseResult parseStats(qint64 sampleCount = 10, const SampleFigures &http = {})
    {
        return parse(line.transcript({kStats}), telnettest::statsFlags(), sampleCount, http);
    }
    TelnetRequestFlags bitsFlags()
    {
        TelnetRequestFlags fl;
        fl.BitsReplyExpected = true;
        return fl;
    }
    TelnetParseResult parseBits(qint64 sampleCount)
    {
        return parse(line.transcript({kBits, kSnr}), bitsFlags(), sampleCount);
    }
};

} // namespace

TEST_F(Ar7Test, SimulatorReplyFillsThePanesAndTheRecord)
{
    s.Telnet.RxTotal = true;
    s.Telnet.TxTotal = true;
    const TelnetParseResult r = parse(line.transcript({kStats, kIfconfig}), telnettest::statsFlags(true));

    EXPECT_EQ(
        QStringList({"Connection Rate:  8128   Kbps", "Line Attenuation: 32.5   dB", "Noise Margin:     6.5    dB", "",
                     "Max Rate:         10432  Kbps", "", "Interleave CRC:   56", "Interleave FEC:   1234",
                     "Interleave HEC:   12", "", "Fast path CRC:    3", "Fast path FEC:    7", "Fast path HEC:    1",
                     "", "Superframes:      5559235"}),
        r.Memo2);
    EXPECT_EQ(QStringLiteral("Max Rate:         1120   Kbps"), paneLine(r.Memo3, QStringLiteral("Max Rate:")));
    EXPECT_EQ(QStringLiteral("Superframes:      5559233"), r.Memo3.last());
    EXPECT_EQ(QStringList({"Uptime (from SF Count): ", "   1 days, 02:15:06", "",
                           "Upstream (Tx):", "  Good Cells: 183412", "  Idle Cells: 98231", "",
                           "Downstream (Rx):", "  Good Cells: 2404519", "  Idle Cells: 1022874", "  Bad HEC Cells: 12",
                           "  Overflow Dropped: 0", "", "Bytes Transferred (ppp0):", "  Tx: 23456789 (22.4 MiB)",
                           "  Rx: 2867459201 (2.7 GiB)", "", "  IP address: 203.0.113.7"}),
              r.Memo4);

    EXPECT_EQ(8128, f.TelnetSyncNow);
    EXPECT_EQ(8128, f.TelnetRxSync);
    EXPECT_FLOAT_EQ(6.5f, f.TelnetNoiseNow);
    EXPECT_FLOAT_EQ(6.5f, f.LastGoodTelnetNoise);
    EXPECT_EQ((std::array<qint64, 12>{56, 1234, 12, 3, 7, 1, 0, 0, 0, 2, 5, 4}), f.TelnetCounters);
    EXPECT_DOUBLE_EQ(2867459201.0 / 1048576, f.RxBytesTotal);
    EXPECT_DOUBLE_EQ(23456789.0 / 1048576, f.TxBytesTotal);
    EXPECT_DOUBLE_EQ(f.RxBytesTotal, f.RxBytesBase);
    EXPECT_EQ(QStringLiteral("05 Mar 24  10:00:00"), f.RxBytesBaseDate);
    EXPECT_TRUE(f.BytesInterfaceFound);
    EXPECT_EQ(QStringLiteral("Rx MiBytes (ppp0)"), r.Chart23AxisTitle.value_or(QString()));
    EXPECT_EQ(QStringLiteral("MiBytes (ppp0)"), r.TabSheet50Caption.value_or(QString()));
    EXPECT_FALSE(r.StatusPanel1.has_value()); // the status page owns it unless HTTP is off
    EXPECT_EQ(QStringLiteral("Down : Interleaving ON"), r.Label35.value_or(QString()));
    EXPECT_EQ(QStringLiteral("Up       : Interleaving OFF"), r.Label99.value_or(QString()));

    TelnetFlagClears expected;
    expected.StatsRequested = true;
    expected.ExtendedRequested = true;
    expected.BitsReplyExpected = true;
    EXPECT_EQ(expected, r.Clears);
    EXPECT_TRUE(r.EnableBitsRefresh);
    EXPECT_FALSE(r.ToneChart.has_value());
}

TEST_F(Ar7Test, BridgedLineReadsTheBytesAndAddressOfNas0)
{
    line.set(QStringLiteral("wanif"), QStringLiteral("nas0"));
    s.Telnet.RxTotal = true;
    s.Telnet.DisableHTTP = true;
    f.BytesInterfaceFound = true;
    const TelnetParseResult r = parse(line.transcript({kStats, kIfconfig}), telnettest::statsFlags(true));
    EXPECT_FALSE(f.BytesInterfaceFound);
    EXPECT_TRUE(r.Memo4.contains(QStringLiteral("Bytes Transferred (nas0):")));
    EXPECT_TRUE(r.Memo4.contains(QStringLiteral("  Rx: 2867459201 (2.7 GiB)")));
    EXPECT_EQ(QStringLiteral("Tx MiBytes (nas0)"), r.Chart24AxisTitle.value_or(QString()));
    EXPECT_EQ(QStringLiteral("  IP address: 203.0.113.7"), r.Memo4.last());
    EXPECT_EQ(QStringLiteral("203.0.113.7"), r.StatusPanel1.value_or(QString()));
    EXPECT_DOUBLE_EQ(2867459201.0 / 1048576, f.RxBytesTotal);
}

TEST_F(Ar7Test, SyncAndNoiseRules)
{
    struct Case {
        const char *name;
        const char *sync;
        const char *noise;
        bool retry, correct;
        SampleFigures http;
        qint32 lastGoodSync, syncRetries;
        float lastGoodNoise;
        qint32 expectSync, expectSyncRetries;
        float expectNoise;
    } cases[] = {
        {"plain", "8128", "6.5", true, true, {}, 0, 0, 0, 8128, 0, 6.5f},
        {"-0 retried", "-0", "6.5", true, true, {}, 7000, 0, 0, 7000, 1, 6.5f},
        {"-0 second retry", "-0", "6.5", true, true, {}, 7000, 1, 0, 7000, 2, 6.5f},
        {"-0 after two retries", "-0", "6.5", true, true, {}, 7000, 2, 0, 0, 2, 6.5f},
        {"-0 without retry", "-0", "6.5", false, true, {}, 7000, 0, 0, 0, 0, 6.5f},
        {"0 takes the HTTP sync", "0", "6.5", true, true, {6.0f, 0, 7300.9f, 0, 0, 0}, 0, 0, 0, 7300, 0, 6.5f},
        {"0 without HTTP noise", "0", "6.5", true, true, {0, 0, 7300.9f, 0, 0, 0}, 0, 0, 0, 0, 0, 6.5f},
        {"capped", "60000", "6.5", true, true, {}, 0, 0, 0, 50000, 0, 6.5f},
        {"not capped", "60000", "6.5", true, false, {}, 0, 0, 0, 60000, 0, 6.5f},
        {"wrapped noise", "8128", "2147483653", true, true, {}, 0, 0, 4.0f, 8128, 0, 5.0f},
        {"wrapped noise kept", "8128", "2147483653", true, false, {}, 0, 0, 4.0f, 8128, 0, 4.0f},
        {"noise above 50", "8128", "51", true, true, {}, 0, 0, 4.0f, 8128, 0, 4.0f},
        {"negative noise", "8128", "-3.5", true, true, {}, 0, 0, 4.0f, 8128, 0, -3.5f},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        line.set(QStringLiteral("RxSync"), QString::fromLatin1(c.sync));
        line.set(QStringLiteral("RxNoise"), QString::fromLatin1(c.noise));
        s.Telnet.TelnetRetry = c.retry;
        s.System.Correct = c.correct;
        f = TelnetFigures();
        f.LastGoodTelnetSync = c.lastGoodSync;
        f.TelnetSyncRetries = c.syncRetries;
        f.LastGoodTelnetNoise = c.lastGoodNoise;
        const TelnetParseResult r = parseStats(10, c.http);
        EXPECT_EQ(c.expectSync, f.TelnetSyncNow);
        EXPECT_EQ(c.expectSync, f.TelnetRxSync);
        EXPECT_EQ(c.expectSyncRetries, f.TelnetSyncRetries);
        EXPECT_FLOAT_EQ(c.expectNoise, f.TelnetNoiseNow);
        EXPECT_FLOAT_EQ(c.expectNoise, f.TelnetRxNoise);
        EXPECT_EQ(QStringLiteral("Connection Rate:  ") + telnetparse::pad(QString::fromLatin1(c.sync), 6) +
                      QStringLiteral(" Kbps"),
                  r.Memo2.first());
    }
}

TEST_F(Ar7Test, ShortReplyGivesNoLineFigures)
{
    // Under 1001 characters the downstream figures read "-".
    const QString reply = QStringLiteral("cat /proc/avalanche/avsar_modem_stats\r\n\r\nAR7 DSL Modem Statistics:\r\n"
                                         "\tDS Connection Rate: 8128\r\n\tDS Margin:          6.5\r\n# ");
    ASSERT_LE(reply.size(), 1000);
    f.LastGoodTelnetSync = 8000;
    f.LastGoodTelnetNoise = 6.0f;
    const TelnetParseResult r = parse(reply, telnettest::statsFlags());
    EXPECT_EQ(0, f.TelnetSyncNow); // "-" is no "-0": no last good sync
    EXPECT_FLOAT_EQ(6.0f, f.TelnetNoiseNow);
    EXPECT_EQ(1, f.TelnetNoiseRetries);
    EXPECT_EQ(QStringLiteral("Connection Rate:  -      Kbps"), r.Memo2.first());
    EXPECT_EQ(QStringLiteral("Noise Margin:     -      dB"), r.Memo2.at(2));
}

TEST_F(Ar7Test, CountersPast32BitsAreKept)
{
    line.set(QStringLiteral("CrcDown"), QStringLiteral("6000000000"));
    line.set(QStringLiteral("FecUp"), QStringLiteral("4294967297"));
    line.set(QStringLiteral("FastHecUp"), QStringLiteral("999999999999"));
    parseStats();
    EXPECT_EQ(6000000000LL, f.TelnetCounters[0]);
    EXPECT_EQ(4294967297LL, f.TelnetCounters[7]);
    EXPECT_EQ(999999999999LL, f.TelnetCounters[11]);
}

TEST_F(Ar7Test, MissingLabelsAreNotReadFromTheStartOfTheReply)
{
    // Digits at the very start would be picked up by any read from position 1.
    QString reply = QStringLiteral("4242424242 4242424242\r\n") + line.transcript({kStats});
    reply.replace(QStringLiteral("DS Superframe Cnt:"), QStringLiteral("DS Superframe Count"));
    reply.replace(QStringLiteral("[Upstream/TX]"), QStringLiteral("[Upstream TX]"));
    reply.replace(QStringLiteral("[Downstream (RX) Fast path]"), QStringLiteral("[Downstream Fast]"));
    reply.replace(QStringLiteral("DS Line Attenuation:"), QStringLiteral("DS Attenuation"));
    f.TelnetCounters = {1, 2, 3, 77, 78, 79, 7, 8, 9, 10, 11, 12};
    const TelnetParseResult r = parse(reply, telnettest::statsFlags());
    EXPECT_EQ(QStringLiteral("Superframes:      "), r.Memo2.last());
    EXPECT_EQ(QStringLiteral("   0 days, 00:00:00"), r.Memo4.at(1));
    EXPECT_EQ(QStringLiteral("  Good Cells: "), r.Memo4.at(4));
    EXPECT_EQ(QStringLiteral("Line Attenuation:        dB"), r.Memo2.at(1));
    EXPECT_EQ(QStringLiteral("Fast path CRC:    0"), paneLine(r.Memo2, QStringLiteral("Fast path CRC:")));
    // A downstream counter that is not in the reply reads 0, as its pane line shows.
    EXPECT_EQ(0, f.TelnetCounters[3]);
    EXPECT_EQ(0, f.TelnetCounters[5]);
    EXPECT_EQ(56, f.TelnetCounters[0]);
    EXPECT_FALSE(r.Memo2.join(QString()).contains(QStringLiteral("4242")));
    EXPECT_FALSE(r.Memo4.join(QString()).contains(QStringLiteral("4242")));
}

TEST_F(Ar7Test, ReplyCutShortKeepsWhatItDoesNotHold)
{
    // Earlier output above it; the router stopped after the downstream fast path's CRC line.
    QString reply = QStringLiteral("\r\n").repeated(60) + line.transcript({kStats});
    reply.truncate(
        reply.indexOf(QStringLiteral("\tFEC"), reply.indexOf(QStringLiteral("[Downstream (RX) Fast path]"))));
    reply += QStringLiteral("# ");
    ASSERT_GT(reply.size(), 1000);
    f.TelnetCounters = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const TelnetParseResult r = parse(reply, telnettest::statsFlags());
    EXPECT_EQ(8128, f.TelnetSyncNow);
    // The downstream counters cut off read 0; nothing upstream was cut.
    EXPECT_EQ((std::array<qint64, 12>{56, 1234, 12, 3, 0, 0, 0, 0, 0, 2, 5, 4}), f.TelnetCounters);
    EXPECT_EQ(QStringLiteral("Fast path FEC:    0"), paneLine(r.Memo2, QStringLiteral("Fast path FEC:")));
    EXPECT_EQ(QStringLiteral("  Good Cells: "), paneLine(r.Memo4, QStringLiteral("  Good Cells:")));
    EXPECT_EQ(QStringLiteral("  Bad HEC Cells: "), paneLine(r.Memo4, QStringLiteral("  Bad HEC Cells:")));
    EXPECT_EQ(QStringLiteral("Superframes:      5559233"), r.Memo3.last()); // upstream came first
    EXPECT_TRUE(r.Clears.StatsRequested);
}

TEST_F(Ar7Test, InterleavingLabelsCompareThePaths)
{
    struct Case {
        const char *fec, *fastFec, *crcUp, *fastCrcUp;
        const char *label35, *label99;
    } cases[] = {
        {"5", "3", "4", "2", "Down : Interleaving ON", "Up       : Interleaving ON"},
        {"3", "5", "2", "4", "Down : Interleaving OFF", "Up       : Interleaving OFF"},
        {"4", "4", "9", "9", "", ""},
    };
    for (const Case &c : cases) {
        line.set(QStringLiteral("FecDown"), QString::fromLatin1(c.fec));
        line.set(QStringLiteral("FastFecDown"), QString::fromLatin1(c.fastFec));
        line.set(QStringLiteral("CrcUp"), QString::fromLatin1(c.crcUp));
        line.set(QStringLiteral("FastCrcUp"), QString::fromLatin1(c.fastCrcUp));
        const TelnetParseResult r = parseStats();
        EXPECT_EQ(QString::fromLatin1(c.label35), r.Label35.value_or(QStringLiteral("unset"))) << c.fec;
        EXPECT_EQ(QString::fromLatin1(c.label99), r.Label99.value_or(QStringLiteral("unset"))) << c.crcUp;
    }
}

TEST_F(Ar7Test, CounterBaseIsTakenOnlyInTheFirstPolls)
{
    parseStats(1);
    EXPECT_EQ((std::array<qint64, 6>{56, 1234, 12, 3, 7, 1}), f.TelnetCounterBase);
    line.set(QStringLiteral("CrcDown"), QStringLiteral("60"));
    parseStats(2);
    EXPECT_EQ(60, f.TelnetCounters[0]);
    EXPECT_EQ(56, f.TelnetCounterBase[0]);
}

TEST_F(Ar7Test, InterfaceListingWaitsForIfconfigOutput)
{
    s.Telnet.RxTotal = true;
    // The statistics arrived, the listing not yet: the request stays open.
    TelnetRequestFlags flags = telnettest::statsFlags(true);
    TelnetParseResult r = parse(line.transcript({kStats}), flags);
    EXPECT_FALSE(r.Clears.ExtendedRequested);
    EXPECT_FALSE(r.Memo4.contains(QStringLiteral("Can't retrieve IP addr.")));
    r.Clears.applyTo(flags);
    r = parse(line.transcript({kStats, kIfconfig}), flags);
    EXPECT_TRUE(r.Clears.ExtendedRequested);
    EXPECT_EQ(QStringList({"", "Bytes Transferred (ppp0):", "  Tx: 23456789 (22.4 MiB)", "  Rx: 2867459201 (2.7 GiB)",
                           "", "  IP address: 203.0.113.7"}),
              r.Memo4);
    EXPECT_GT(f.RxBytesTotal, 0);
    // Without the box checked the listing is not read.
    s.Telnet.Extended = false;
    r = parse(line.transcript({kIfconfig}), telnettest::statsFlags(true));
    EXPECT_FALSE(r.Clears.ExtendedRequested);
}

// The kill itself is the session's (its own tests); the parser answers the pending check.
TEST_F(Ar7Test, DebugCheckIsAnsweredOnlyWhenPending)
{
    struct Case {
        bool pending;
        bool listed;
        const char *pid;
    } cases[] = {
        {true, true, "121"},
        {true, true, "1a1"},
        {true, false, "121"},
        {false, true, "121"},
    };
    for (const Case &c : cases) {
        routersim::TelnetBehaviour b;
        routersim::RouterState state;
        b.daemonListed = c.listed;
        b.daemonPid = QString::fromLatin1(c.pid);
        routersim::TelnetReplies replies(state, b);
        TerminalBuffer t;
        t.append(QStringLiteral("ps -x\r\n") + QString::fromLatin1(replies.run(QStringLiteral("ps -x")).text) +
                 QStringLiteral("# "));
        TelnetRequestFlags flags;
        flags.DebugCheckPending = c.pending;
        const TelnetParseResult r = parse(t.text(), flags);
        EXPECT_EQ(c.pending, r.Clears.DebugCheckPending) << c.pid << " listed " << c.listed;
    }
}

// ---- bit loading ---------------------------------------------------------------

TEST_F(Ar7Test, FirstPollsCountNoBitswapsAndLowTonesNever)
{
    s.Telnet.LogBitswap = true;
    TelnetParseResult r = parseBits(3);
    ASSERT_TRUE(r.ToneChart.has_value());
    EXPECT_EQ(0, r.ToneChart->UpstreamSwaps + r.ToneChart->DownstreamSwaps);
    EXPECT_EQ(QStringList({"Bitswap in Tones: "}), r.SystemMessages);
    const auto before = f.ToneBits;
    EXPECT_GT(before[40], 0);

    for (int tone : {3, 6, 7, 20, 40, 200})
        line.tone(tone, QStringLiteral("bits"), QString::number(before[size_t(tone)] == 2 ? 3 : 2));
    f.ToneSwapCount[200] = 255; // counts do not wrap at a byte
    r = parseBits(4);
    ASSERT_TRUE(r.ToneChart.has_value());
    const ToneChartData &t = *r.ToneChart;
    EXPECT_EQ(2, t.UpstreamSwaps);   // 7 and 20; never 3 or 6
    EXPECT_EQ(2, t.DownstreamSwaps); // 40 and 200
    EXPECT_EQ(QStringList({"Bitswap in Tones: 7, 20, 40, 200, "}), r.SystemMessages);
    for (int tone = 0; tone < 256; ++tone) {
        const bool swapped = tone == 7 || tone == 20 || tone == 40 || tone == 200;
        EXPECT_EQ(swapped ? 1 : 0, f.ToneSwapped[size_t(tone)]) << tone;
        EXPECT_EQ(tone == 200 ? 256u : swapped ? 1u : 0u, f.ToneSwapCount[size_t(tone)]) << tone;
        EXPECT_EQ(swapped     ? tonecolour::Lime
                  : tone < 32 ? tonecolour::Green
                              : tonecolour::Blue,
                  t.BitColours[size_t(tone)])
            << tone;
    }
    EXPECT_EQ(2, f.ToneBits[3]); // read, just not counted
    EXPECT_EQ(f.ToneBits[40], t.Bits[40]);
    EXPECT_EQ(255, t.LastTone);
    EXPECT_EQ(256u, t.Tones.size());

    // The same table again: nothing new swapped, the counts stay.
    r = parseBits(5);
    EXPECT_EQ(0, r.ToneChart->UpstreamSwaps + r.ToneChart->DownstreamSwaps);
    EXPECT_EQ(1u, f.ToneSwapCount[40]);
}

TEST_F(Ar7Test, ToneCountFollowsTheLineAndTheSettings)
{
    struct Case {
        const char *name;
        bool adsl2PlusLine;
        bool statsInReply;
        qint32 syncBefore;
        bool adsl, adsl2;
        int lastTone;
        bool seen;
    } cases[] = {
        {"ADSL", false, false, 0, false, false, 255, false},
        {"ADSL2+ in the statistics", true, true, 0, false, false, 510, true},
        {"sync above 8128", false, false, 8129, false, false, 510, true},
        {"ADSL forced", true, true, 0, true, false, 255, true},
        {"ADSL2 chosen", false, false, 0, false, true, 510, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        line.set(QStringLiteral("linemode"), c.adsl2PlusLine ? QStringLiteral("ADSL2+") : QStringLiteral("ADSL"));
        s.Telnet.ADSL = c.adsl;
        s.Telnet.ADSL2 = c.adsl2;
        f = TelnetFigures();
        f.TelnetSyncNow = c.syncBefore;
        f.ToneBits.fill(7);
        QStringList commands = {kBits, kSnr};
        if (c.statsInReply)
            commands.prepend(kStats);
        const TelnetParseResult r = parse(line.transcript(commands), bitsFlags());
        ASSERT_TRUE(r.ToneChart.has_value());
        EXPECT_EQ(c.lastTone, r.ToneChart->LastTone);
        EXPECT_EQ(c.lastTone, r.ToneChart->AxisMaximum);
        EXPECT_EQ(size_t(c.lastTone + 1), r.ToneChart->Tones.size());
        EXPECT_EQ(c.seen, f.Adsl2PlusSeen);
        // A 256-tone table read as 511 tones leaves the tones it lacks alone.
        const int beyond = c.adsl2PlusLine ? 7 : f.ToneBits[300];
        EXPECT_EQ(7, beyond);
        EXPECT_EQ(c.adsl2PlusLine && c.lastTone == 510 ? 1 : 0, f.ToneSwapped[300]);
    }
}

TEST_F(Ar7Test, CutTableLeavesTheMissingTonesAlone)
{
    parseBits(2);
    f.ToneBits.fill(9);
    QString reply = line.transcript({kBits, kSnr});
    // Keep the upstream table and the first rows of the downstream one.
    const int ds = int(reply.indexOf(QStringLiteral("DS Bit Allocation:")));
    const int cut = ds + 117 + 3 * 98;
    // The router stopped there; the next command's echo follows its prompt.
    reply = reply.left(cut) + QStringLiteral("\n") + reply.mid(reply.indexOf(QStringLiteral("# ") + kSnr));
    const TelnetParseResult r = parse(reply, bitsFlags(), 10);
    ASSERT_TRUE(r.ToneChart.has_value());
    EXPECT_EQ(9, f.ToneBits[200]);
    EXPECT_EQ(0, f.ToneSwapped[200]);
    EXPECT_NE(9, f.ToneBits[40]);
    EXPECT_EQ(1, f.ToneSwapped[40]);
}

TEST_F(Ar7Test, BitLoadingWaitsForBothTables)
{
    s.Telnet.Extended = false;
    TelnetParseResult r = parse(line.transcript({kBits}), bitsFlags(), 10);
    EXPECT_FALSE(r.ToneChart.has_value());
    EXPECT_FALSE(r.Clears.BitsReplyExpected);
    r = parse(line.transcript({kBits, kSnr}), bitsFlags(), 10);
    EXPECT_TRUE(r.ToneChart.has_value());
    EXPECT_TRUE(r.Clears.BitsReplyExpected);
    // Bit loading off: the request is simply done.
    s.Telnet.BitsGraph = false;
    r = parse(line.transcript({kBits, kSnr}), bitsFlags(), 10);
    EXPECT_FALSE(r.ToneChart.has_value());
    EXPECT_TRUE(r.Clears.BitsReplyExpected);
}

TEST_F(Ar7Test, SnrOrClippedMarginPerTone)
{
    line.tone(40, QStringLiteral("snr"), QStringLiteral("30"));
    line.tone(40, QStringLiteral("bits"), QStringLiteral("5"));
    line.tone(41, QStringLiteral("snr"), QStringLiteral("30"));
    line.tone(41, QStringLiteral("bits"), QStringLiteral("2"));
    line.tone(42, QStringLiteral("snr"), QStringLiteral("30"));
    line.tone(42, QStringLiteral("bits"), QStringLiteral("15"));
    line.tone(43, QStringLiteral("snr"), QStringLiteral("55"));
    line.tone(20, QStringLiteral("snr"), QStringLiteral("30"));
    line.tone(20, QStringLiteral("bits"), QStringLiteral("2"));

    s.Telnet.rbSNR = true;
    TelnetParseResult r = parseBits(2);
    ASSERT_TRUE(r.ToneChart.has_value());
    EXPECT_DOUBLE_EQ(30, r.ToneChart->Snr[40]);
    EXPECT_DOUBLE_EQ(0, r.ToneChart->Snr[43]);  // above 50: not a reading
    EXPECT_DOUBLE_EQ(-1, r.ToneChart->Snr[20]); // upstream tones
    EXPECT_TRUE(r.ToneChart->MarginFit.empty());

    s.Telnet.rbSNR = false;
    s.Telnet.ClipSNRMargin = 20;
    s.Telnet.ClipMinSNRMargin = -5;
    r = parseBits(2);
    const ToneChartData &t = *r.ToneChart;
    EXPECT_DOUBLE_EQ(15, t.Snr[40]);
    EXPECT_DOUBLE_EQ(20, t.Snr[41]); // 24, clipped
    EXPECT_DOUBLE_EQ(-5, t.Snr[42]); // -15, clipped
    EXPECT_DOUBLE_EQ(0, t.Snr[20]);  // tones up to 32 are plotted as 0
    EXPECT_DOUBLE_EQ(24, t.MarginFit[41]);
    EXPECT_DOUBLE_EQ(-15, t.MarginFit[42]);
    EXPECT_EQ(t.Tones.size(), t.MarginFit.size());
    for (TColor c : t.BitColours)
        EXPECT_NE(tonecolour::Lime, c);
}

TEST_F(Ar7Test, BitswapImagesFollowTheirMenuItems)
{
    struct Case {
        bool before, after;
        bool swap;
    } cases[] = {
        {true, false, true}, {false, true, true}, {true, true, true}, {false, false, true}, {true, true, false},
    };
    parseBits(2);
    int bits = 3;
    for (const Case &c : cases) {
        s.Telnet.BitSwapBefore = c.before;
        s.Telnet.BitSwapAfter = c.after;
        if (c.swap)
            line.tone(100, QStringLiteral("bits"), QString::number(++bits));
        const TelnetParseResult r = parseBits(10);
        ASSERT_TRUE(r.ToneChart.has_value());
        EXPECT_EQ(c.before && c.swap, r.ToneChart->SaveBefore) << c.before << c.after << c.swap;
        EXPECT_EQ(c.after && c.swap, r.ToneChart->SaveAfter) << c.before << c.after << c.swap;
    }
}

TEST_F(Ar7Test, BitswapChartAndHistogram)
{
    s.Telnet.BitswapGraph = true;
    s.Telnet.DontrefreshWhenMin = true;
    s.Telnet.SepHistogram = true;
    s.Graph.GapFactor = 5;
    parseBits(2);
    const qint64 now = clock.currentDateTimeUtc().toSecsSinceEpoch();
    struct Case {
        qint64 sinceLast;
        bool gap;
    } cases[] = {{301, true}, {300, false}, {10, false}};
    for (const Case &c : cases) {
        f.LastBitswapPlot = now - c.sinceLast;
        line.tone(100, QStringLiteral("bits"), QString::number(f.ToneBits[100] == 4 ? 5 : 4));
        const TelnetParseResult r = parseBits(10);
        ASSERT_TRUE(r.ToneChart && r.ToneChart->BitswapPoint);
        EXPECT_EQ(c.gap, r.ToneChart->BitswapPoint->Gap) << c.sinceLast;
        EXPECT_EQ(1, r.ToneChart->BitswapPoint->Downstream);
        EXPECT_EQ(0, r.ToneChart->BitswapPoint->Upstream);
        EXPECT_EQ(now, f.LastBitswapPlot);
    }
    const TelnetParseResult r = parseBits(10);
    EXPECT_TRUE(r.ToneChart->HistogramVisible);
    EXPECT_EQ(3u, r.ToneChart->Histogram[100]);
    EXPECT_EQ(tonecolour::Blue, r.ToneChart->HistogramColours[100]);
    EXPECT_EQ(tonecolour::Green, r.ToneChart->HistogramColours[10]);

    s.Telnet.BitswapGraph = false;
    s.Telnet.SepHistogram = false;
    const TelnetParseResult off = parseBits(10);
    EXPECT_FALSE(off.ToneChart->BitswapPoint.has_value());
    EXPECT_FALSE(off.ToneChart->HistogramVisible);
    EXPECT_TRUE(off.ToneChart->Histogram.empty());
}
