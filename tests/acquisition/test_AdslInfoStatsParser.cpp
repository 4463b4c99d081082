// ParseDataV5 against the simulated "adsl info" router: one run per
// prompt over what has arrived so far, the far-end and near-end counters,
// the noise rules of this family and the interface listing.
#include "TelnetParserFixture.h"
#include "common/Clock.h"

#include <gtest/gtest.h>

using telnettest::paneLine;

namespace {

const QStringList kCommands = {QStringLiteral("adsl info"), QStringLiteral("adsl perf"), QStringLiteral("adsl defects"),
                               QStringLiteral(" ifconfig")};

struct AdslInfoTest : ::testing::Test {
    telnettest::SimLine line{routersim::TelnetFamily::AdslInfo};
    TSettings s = telnettest::defaultSettings();
    TelnetFigures f;
    ManualClock clock{QDateTime(QDate(2024, 3, 5), QTime(10, 0), Qt::UTC)};

    void SetUp() override
    {
        Clock::setInstance(&clock);
        s.Router.V5Telnet = true;
        s.Telnet.V123 = false;
        s.Telnet.TelnetPrompt = QStringLiteral("/ #");
    }
    void TearDown() override { Clock::setInstance(nullptr); }

    // The reply as it stands after the first n commands have answered.
    QString after(int n) { return line.transcript(kCommands.mid(0, n)); }
    TelnetParseResult parse(const QString &reply, const TelnetRequestFlags &flags, const SampleFigures &http = {})
    {
        return ParseDataV5(reply, s, flags, http, 10, f);
    }
};

} // namespace

TEST_F(AdslInfoTest, EachPromptReparsesWhatHasArrived)
{
    s.Telnet.RxTotal = true;
    f.TelnetCounters = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    TelnetRequestFlags flags = telnettest::statsFlags(true);

    // "adsl info" alone: the line figures, no counters, no listing yet.
    TelnetParseResult r = parse(after(1), flags);
    EXPECT_EQ(8128, f.TelnetSyncNow);
    EXPECT_FLOAT_EQ(6.5f, f.TelnetNoiseNow);
    EXPECT_EQ((std::array<qint64, 12>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), f.TelnetCounters);
    EXPECT_TRUE(r.ClearPanes);
    EXPECT_EQ(TelnetFlagClears(), r.Clears); // StatsRequested stays set for the later runs
    EXPECT_EQ(QStringList({"", "Current adsl mode:  G.dmt"}), r.Memo4);
    r.Clears.applyTo(flags);

    // "adsl perf" and "adsl defects": every slot.
    r = parse(after(3), flags);
    EXPECT_EQ((std::array<qint64, 12>{56, 1234, 12, 31, 2, 1, 0, 0, 0, 8, 1, 0}), f.TelnetCounters);
    EXPECT_EQ(QStringList({"", "Noise Margin:     6.5  dB", "Connection Rate:  8128  Kbps",
                           "Line Attenuation: 18.0  dB", "", "Corrected Errors:", "  HEC   : 12", "  FEC   : 1234",
                           "  CRC   : 56", "", "Uncorrected Errors:", "  LOS   : 1", "  SES   : 2", "  ES    : 31"}),
              r.Memo2);
    EXPECT_EQ(QStringList({"", "Noise Margin:     12.0   dB", "Connection Rate:  448  Kbps",
                           "Line Attenuation: 32.5  dB", "", "Corrected Errors:", "  HEC   : 0", "  FEC   : 0",
                           "  CRC   : 0", "", "Uncorrected Errors:", "  LOS   : 0", "  SES   : 1", "  ES    : 8"}),
              r.Memo3);
    EXPECT_FALSE(r.Clears.ExtendedRequested);
    EXPECT_EQ(QStringLiteral("INTERLEAVE ON"), r.Label35.value_or(QString()));

    // " ifconfig": the listing, and the request is done.
    r = parse(after(4), flags);
    EXPECT_TRUE(r.Clears.ExtendedRequested);
    EXPECT_FALSE(r.Clears.StatsRequested);
    EXPECT_EQ(QStringList({"", "Current adsl mode:  G.dmt", "", "Bytes Transferred (ppp0):",
                           "  Tx: 23456789 (22.4 MiB)", "  Rx: 2867459201 (2.7 GiB)", "", "  IP address: 203.0.113.7"}),
              r.Memo4);
    EXPECT_TRUE(f.BytesInterfaceFound);
    EXPECT_DOUBLE_EQ(2867459201.0 / 1048576, f.RxBytesTotal);
    EXPECT_EQ(56, f.TelnetCounters[0]);
}

TEST_F(AdslInfoTest, WithoutARequestOnlyThePanesAreEmptied)
{
    f.TelnetSyncNow = 5;
    const TelnetParseResult r = parse(after(4), TelnetRequestFlags());
    EXPECT_TRUE(r.ClearPanes);
    EXPECT_EQ(QStringList({""}), r.Memo2);
    EXPECT_EQ(QStringList({""}), r.Memo4);
    EXPECT_EQ(5, f.TelnetSyncNow);
    EXPECT_FALSE(r.Label35.has_value());
}

TEST_F(AdslInfoTest, SyncIsGivenInBitsPerSecond)
{
    struct Case {
        const char *sync;
        bool correct, retry;
        float httpSync;
        qint32 expected;
    } cases[] = {
        {"8128", true, true, 0, 8128},                                      // 8128000 bps
        {"60000", true, true, 0, 50000},                                    // capped
        {"60000", false, true, 0, 60000}, {"0", true, true, 7000.7f, 7000}, // the HTTP sync stands in
        {"0", true, false, 7000.7f, 0},
    };
    for (const Case &c : cases) {
        line.set(QStringLiteral("RxSync"), QString::fromLatin1(c.sync));
        s.System.Correct = c.correct;
        s.Telnet.TelnetRetry = c.retry;
        SampleFigures http;
        http.RxSync = c.httpSync;
        parse(after(1), telnettest::statsFlags(), http);
        EXPECT_EQ(c.expected, f.TelnetSyncNow) << c.sync;
        EXPECT_EQ(c.expected, f.TelnetRxSync) << c.sync;
    }
}

TEST_F(AdslInfoTest, NoiseRules)
{
    struct Case {
        const char *noise;
        bool retry, correct;
        float expected, lastGood;
        int retries;
    } cases[] = {
        {"6.5", true, true, 6.5f, 6.5f, 0},
        {"-4.5", true, true, 4.0f, 4.0f, 1}, // below -4 with retries: the last good one
        {"-3.5", true, true, -3.5f, 4.0f, 0},
        {"-4.5", false, true, -4.5f, 4.0f, 0},
        {"-6", false, true, 4.0f, 4.0f, 0}, // below -5: never a reading
        {"51", true, true, 4.0f, 4.0f, 0},
        {"6.5", false, true, 6.5f, 4.0f, 0}, // without retries the last good one is not updated
        {"2147483653", true, true, 5.0f, 5.0f, 0},
    };
    for (const Case &c : cases) {
        line.set(QStringLiteral("RxNoise"), QString::fromLatin1(c.noise));
        s.Telnet.TelnetRetry = c.retry;
        s.System.Correct = c.correct;
        f = TelnetFigures();
        f.LastGoodTelnetNoise = 4.0f;
        parse(after(1), telnettest::statsFlags());
        EXPECT_FLOAT_EQ(c.expected, f.TelnetNoiseNow) << c.noise << " retry " << c.retry;
        EXPECT_FLOAT_EQ(c.expected, f.TelnetRxNoise) << c.noise;
        EXPECT_FLOAT_EQ(c.lastGood, f.LastGoodTelnetNoise) << c.noise << " retry " << c.retry;
        EXPECT_EQ(c.retries, f.TelnetNoiseRetries) << c.noise;
    }
}

TEST_F(AdslInfoTest, MissingNoiseShowsTheLastGoodOne)
{
    QString reply = after(1);
    reply.replace(QStringLiteral("Downstream Noise Margin"), QStringLiteral("Downstream SNR Margin"));
    f.LastGoodTelnetNoise = 6.4f;
    const TelnetParseResult r = parse(reply, telnettest::statsFlags());
    EXPECT_EQ(QStringLiteral("Noise Margin:     6.4  dB"), r.Memo2.at(1));
    EXPECT_FLOAT_EQ(6.4f, f.TelnetNoiseNow);
}

TEST_F(AdslInfoTest, CorrectMovesTheAttenuationLines)
{
    for (bool correct : {false, true}) {
        s.System.Correct = correct;
        const TelnetParseResult r = parse(after(1), telnettest::statsFlags());
        const QString down = QStringLiteral("Line Attenuation: 32.5  dB");
        const QString up = QStringLiteral("Line Attenuation: 18.0  dB");
        EXPECT_EQ(correct ? up : down, paneLine(r.Memo2, QStringLiteral("Line Attenuation:"))) << correct;
        EXPECT_EQ(correct ? down : up, paneLine(r.Memo3, QStringLiteral("Line Attenuation:"))) << correct;
    }
}

TEST_F(AdslInfoTest, ModeAndInterleaving)
{
    line.set(QStringLiteral("linemode"), QStringLiteral("ADSL2+"));
    line.set(QStringLiteral("path"), QStringLiteral("fast"));
    TelnetParseResult r = parse(after(1), telnettest::statsFlags());
    EXPECT_EQ(QStringLiteral("Current adsl mode:  ADSL2+"), r.Memo4.at(1));
    EXPECT_EQ(QStringLiteral("INTERLEAVE OFF"), r.Label35.value_or(QString()));
    // Neither word: the label keeps its text.
    QString reply = after(1);
    reply.replace(QStringLiteral("fast"), QStringLiteral("quick"));
    r = parse(reply, telnettest::statsFlags());
    EXPECT_FALSE(r.Label35.has_value());
}

TEST_F(AdslInfoTest, CountersKeepTheirValuesWithoutTheirSections)
{
    f.TelnetCounters = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    // Another prompt: "/ # adsl perf" is not in the reply.
    QString reply = after(3);
    reply.replace(QStringLiteral("/ # "), QStringLiteral("> "));
    TelnetParseResult r = parse(reply, telnettest::statsFlags());
    EXPECT_EQ((std::array<qint64, 12>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), f.TelnetCounters);
    EXPECT_EQ(QStringLiteral("Corrected Errors:"), r.Memo3.last());
    EXPECT_EQ(QStringLiteral("Line Attenuation: 18.0  dB"), r.Memo2.last());

    // A defects reply cut before its far end: the near end is read, the far end keeps its slots.
    reply = after(3);
    reply.truncate(reply.indexOf(QStringLiteral("============== FAR END")));
    reply += QStringLiteral("/ # ");
    r = parse(reply, telnettest::statsFlags());
    EXPECT_EQ((std::array<qint64, 12>{56, 1234, 12, 4, 5, 6, 0, 0, 0, 8, 1, 0}), f.TelnetCounters);
    EXPECT_EQ(QStringLiteral("  ES    : "), r.Memo2.last());
}

TEST_F(AdslInfoTest, CountersPast32Bits)
{
    line.set(QStringLiteral("CrcDown"), QStringLiteral("5000000000"));
    line.set(QStringLiteral("SesUp"), QStringLiteral("4294967299"));
    parse(after(3), telnettest::statsFlags());
    EXPECT_EQ(5000000000LL, f.TelnetCounters[0]);
    EXPECT_EQ(4294967299LL, f.TelnetCounters[10]);
}
