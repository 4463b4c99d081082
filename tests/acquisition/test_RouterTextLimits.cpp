// Figures at the edges of their types: numbers from router text that do not
// fit, and offsets from the settings file near INT_MAX. Each must give a
// clamped or refused value, never a wrapped one.
#include "PageBuilder.h"
#include "TelnetParserFixture.h"
#include "acquisition/FigureSearch.h"
#include "acquisition/LineStatusParsers.h"
#include "acquisition/RouterNumbers.h"
#include "acquisition/TelnetParseSupport.h"
#include "common/Clock.h"
#include "common/NumberFormat.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr qint32 kInt32Max = std::numeric_limits<qint32>::max();
constexpr qint32 kInt32Min = std::numeric_limits<qint32>::min();

struct SyncCase {
    routersim::TelnetFamily family;
    float httpSync;
    qint32 expected;
};

class HttpSyncStandsIn : public ::testing::TestWithParam<SyncCase> {
protected:
    ManualClock clock{QDateTime(QDate(2024, 3, 5), QTime(10, 0), Qt::UTC)};
    void SetUp() override { Clock::setInstance(&clock); }
    void TearDown() override { Clock::setInstance(nullptr); }
};

} // namespace

// The telnet reply says 0; the status page's sync stands in, whatever its size.
TEST_P(HttpSyncStandsIn, ASyncBeyond32BitsSaturates)
{
    const SyncCase c = GetParam();
    telnettest::SimLine line{c.family};
    line.set(QStringLiteral("RxSync"), QStringLiteral("0"));
    TSettings s = telnettest::defaultSettings();
    s.System.Correct = false; // no 50000 cap: the raw figure reaches the rule
    s.Telnet.TelnetRetry = true;
    SampleFigures http;
    http.RxSync = c.httpSync;
    http.RxNoise = 6.5f;
    TelnetFigures f;
    switch (c.family) {
    case routersim::TelnetFamily::Ar7:
        ParseData(line.transcript({QStringLiteral("cat /proc/avalanche/avsar_modem_stats")}), s,
                  telnettest::statsFlags(), http, 10, f);
        break;
    case routersim::TelnetFamily::Adslctl:
        s.Telnet.V123 = false;
        s.Telnet.V4 = true;
        ParseDataV4(line.transcript({QStringLiteral("/usr/sbin/adslctl info --stats")}), s, telnettest::statsFlags(),
                    http, 10, f);
        break;
    case routersim::TelnetFamily::AdslInfo:
        s.Telnet.V123 = false;
        s.Router.V5Telnet = true;
        s.Telnet.TelnetPrompt = QStringLiteral("/ #");
        ParseDataV5(line.transcript({QStringLiteral("adsl info")}), s, telnettest::statsFlags(), http, 10, f);
        break;
    case routersim::TelnetFamily::St585:
        FAIL() << "the SpeedTouch 585 has a session of its own, without this rule";
    }
    EXPECT_EQ(f.TelnetSyncNow, c.expected);
    EXPECT_EQ(f.TelnetRxSync, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Families, HttpSyncStandsIn,
    ::testing::Values(SyncCase{routersim::TelnetFamily::Ar7, 99999999999.0f, kInt32Max},
                      SyncCase{routersim::TelnetFamily::Ar7, 8.1e9f, kInt32Max},
                      SyncCase{routersim::TelnetFamily::Ar7, -3e10f, kInt32Min},
                      SyncCase{routersim::TelnetFamily::Ar7, 8128.9f, 8128},
                      SyncCase{routersim::TelnetFamily::Adslctl, 99999999999.0f, kInt32Max},
                      SyncCase{routersim::TelnetFamily::Adslctl, std::numeric_limits<float>::infinity(), kInt32Max},
                      SyncCase{routersim::TelnetFamily::Adslctl, 2147483520.0f, 2147483520},
                      SyncCase{routersim::TelnetFamily::AdslInfo, 8.1e9f, kInt32Max},
                      SyncCase{routersim::TelnetFamily::AdslInfo, -std::numeric_limits<float>::infinity(), kInt32Min},
                      SyncCase{routersim::TelnetFamily::AdslInfo, -7000.7f, -7000}));

TEST(RouterTextNumbers, TextBeyondA64BitCounterIsRefusedAtTheDoor)
{
    struct Case {
        const char *text;
        double expected;
    } cases[] = {
        {"81E8", 8.1e9},
        {"18446744073709551615", 18446744073709551615.0},
        {"18446744073709551617", 18446744073709551616.0}, // rounds to 2^64 itself: still a counter
        {"1E20", -1},
        {"-1E20", -1},
        {"1E400", -1},
        {"inf", -1},
        {"nan", -1},
        {"99999999999999999999999999999999999999999999", -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RouterNumbers::StrToFloatDef(QString::fromLatin1(c.text), -1), c.expected) << c.text;

    EXPECT_EQ(RouterNumbers::ToInt32(std::nan("")), 0);
    EXPECT_EQ(RouterNumbers::ToInt32(2147483647.9), kInt32Max);
    EXPECT_EQ(RouterNumbers::ToInt32(-2147483648.9), kInt32Min);
    EXPECT_EQ(RouterNumbers::ToInt32(-0.9), 0);
}

TEST(RouterTextNumbers, StatusPageSyncOfElevenDigitsStaysAFiniteFigure)
{
    // An 11-digit 585 bandwidth cell with the Correct cap off: the figure is as found, not wrapped.
    routersim::RouterState state;
    QString error;
    ASSERT_TRUE(state.set(QStringLiteral("RxSync"), QStringLiteral("99999999999"), &error));
    const QString page = QString::fromLatin1(
        routersim::PageBuilder(state).build(routersim::ProfileId::St585, routersim::PageKind::Status));
    TSettings s = telnettest::defaultSettings();
    s.System.Correct = false;
    s.Router.V1234 = false;
    s.Router.ST585 = true;
    s.System.IsDG834 = false;
    const FigureSearchResult r = FigureSearch::run(page, s, {});
    EXPECT_FLOAT_EQ(r.Figures.RxSync, 99999999999.0f);
}

TEST(RouterTextNumbers, UptimeOfAWildSuperframeCounterStaysReadable)
{
    using telnetparse::uptimeText;
    EXPECT_EQ(uptimeText(5559235, 17), QStringLiteral("  1 days, 02:15:06"));
    EXPECT_EQ(uptimeText(-5, 17), QStringLiteral("  0 days, 00:00:00"));
    // Capped at a billion days, whatever the counter or the superframe length.
    for (double ms : {17.0, 1.7976931348623157e308, std::numeric_limits<double>::infinity()}) {
        const QString t = uptimeText(std::numeric_limits<qint64>::max(), ms);
        EXPECT_TRUE(t.startsWith(QStringLiteral("  1000000000 days, "))) << t.toStdString();
    }
    EXPECT_EQ(uptimeText(1000, std::nan("")), QStringLiteral("  0 days, 00:00:00"));
    EXPECT_EQ(uptimeText(1000, -16.168), QStringLiteral("  0 days, 00:00:00"));
}

TEST(RouterTextNumbers, GeneralPrecisionOfValuesThatRoundPastTheLargestDouble)
{
    // Cut rather than rounded past the range, so the text reads back.
    EXPECT_EQ(numfmt::generalPrecision(1.7976931348623157e308, 1), QStringLiteral("1E308"));
    EXPECT_EQ(numfmt::generalPrecision(-1.7976931348623157e308, 3), QStringLiteral("-1.79E308"));
    EXPECT_EQ(numfmt::generalPrecision(9.96e-6, 2), QStringLiteral("1E-5"));
    EXPECT_EQ(numfmt::generalPrecision(9.4e-6, 2), QStringLiteral("9.4E-6"));
    EXPECT_EQ(numfmt::generalPrecision(999.96, 4), QStringLiteral("1000"));
    EXPECT_EQ(numfmt::generalPrecision(99996, 4), QStringLiteral("1E5"));
}

TEST(RouterTextNumbers, OffsetsNearIntMaxFindNothing)
{
    // WAN address: the offset comes from the settings file.
    const QString page = QStringLiteral("<b>IP Address</b> 203.0.113.7 and more");
    for (int offset : {std::numeric_limits<int>::max(), std::numeric_limits<int>::max() - 5,
                       std::numeric_limits<int>::min()}) {
        const QString found =
            linestatus::findWanAddress(page, {QStringLiteral("x"), QStringLiteral("IP Address"), offset});
        EXPECT_TRUE(found.isEmpty() || found == QStringLiteral("203.0.113.7")) << offset;
    }
    EXPECT_TRUE(linestatus::findWanAddress(page, {QStringLiteral("x"), QStringLiteral("IP Address"),
                                                  std::numeric_limits<int>::max()})
                    .isEmpty());

    // A taught noise figure: the bias comes from the settings file.
    TSettings s = telnettest::defaultSettings();
    s.Router.V1234 = false;
    s.System.IsDG834 = false;
    s.Search.NoiseText = QStringLiteral("NOISE");
    s.Search.NoisePos = 1;
    s.Bias.RxNoiseBias = std::numeric_limits<int>::max();
    FigureSearchInput in;
    in.Figures.RxNoise = 3.0f;
    const FigureSearchResult r = FigureSearch::run(QStringLiteral("NOISE     6.5 dB"), s, in);
    EXPECT_TRUE(std::isfinite(r.Figures.RxNoise));
    s.Bias.RxNoiseBias = 0;
    EXPECT_FLOAT_EQ(FigureSearch::run(QStringLiteral("NOISE     6.5 dB"), s, in).Figures.RxNoise, 6.5f);
}
