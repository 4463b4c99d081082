// The bit-loading refresh of the telnet families against the simulated
// router: which commands each family gets and in what order, when a request
// rides on the statistics request, which requests give way, and the pacing
// figures (timer interval, page length, captions).
#include "RouterSim.h"
#include "TelnetParserFixture.h"
#include "TestSupport.h"
#include "acquisition/BitLoadingRefresh.h"
#include "acquisition/RouterHttpClient.h"
#include "acquisition/TelnetSession.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct BitsRefreshTest : ::testing::Test {
    routersim::RouterSim sim;
    TSettings settings;
    RouterHttpClient http;
    BitsRefreshState state;
    std::unique_ptr<TelnetSession> session;
    std::unique_ptr<BitLoadingRefresh> bits;

    void start(const QString &profile)
    {
        routersim::RouterSimOptions o;
        o.profile = profile;
        o.control = false;
        QString error;
        ASSERT_TRUE(sim.start(o, &error)) << error.toStdString();
        settings = telnettest::defaultSettings();
        settings.Router.Telnet = true;
        settings.Router.Login =
            QStringLiteral("http://127.0.0.1:%1/setup.cgi?next_file=stattbl.htm").arg(sim.httpPort());
        settings.Router.Username = QStringLiteral("admin");
        settings.Router.Password = QStringLiteral("quillfen");
        settings.Router.cbLogin = true;
        settings.Telnet.TelnetIP = QStringLiteral("127.0.0.1");
        settings.Telnet.TelnetPort = sim.telnetPort();
        settings.Telnet.Extended = false;
        settings.Telnet.ShowAttenuation = false;
        settings.System.Sample = 5;
    }

    void open()
    {
        session = std::make_unique<TelnetSession>(settings, http);
        bits = std::make_unique<BitLoadingRefresh>(settings, *session, state);
        QObject::connect(session.get(), &TelnetSession::bitsRefreshPoint, bits.get(),
                         &BitLoadingRefresh::statisticsRequested);
        std::optional<bool> finished;
        QObject::connect(session.get(), &TelnetSession::connectFinished, [&finished](bool c) { finished = c; });
        session->btnConnectClick(TelnetSender::TerminalConnectButton);
        ASSERT_TRUE(testsupport::waitFor([&] { return finished.has_value(); }, 10000));
        ASSERT_TRUE(*finished);
    }

    // The command lines the router received, in order.
    QStringList lines()
    {
        QStringList out;
        for (const QString &l : sim.journal().lines()) {
            const QStringList f = l.split(QLatin1Char('\t'));
            if (f.size() > 3 && f[1] == QLatin1String("telnet") && f[2] == QLatin1String("line"))
                out << f[3];
        }
        return out;
    }
    bool waitLines(int n) { return testsupport::waitFor([&] { return lines().size() >= n; }); }
};

struct FamilyCase {
    const char *profile;
    bool ar7, adslctl;
    const char *command;
    bool attenuation;
    QStringList expected;
};

} // namespace

TEST_F(BitsRefreshTest, EachFamilySendsItsCommandsInOrder)
{
    const FamilyCase cases[] = {
        {"v1234", true, false, "", false,
         {"cat /proc/avalanche/avsar_bit_allocation_table", "cat /proc/avalanche/avsar_rxsnr0"}},
        {"other", false, true, "/usr/sbin/adslctl info --stats", false,
         {"adslctl info --SNR", "adslctl info --Bits"}},
        {"other", false, true, "/usr/sbin/adslctl info --stats", true,
         {"adslctl info --SNR", "adslctl info --Bits", "adslctl info --Hlog"}},
        {"other", false, true, "adsl info --stats", false, {"adsl info --SNR", "adsl info --Bits"}},
    };
    for (const FamilyCase &c : cases) {
        SCOPED_TRACE(c.command);
        sim.stop();
        state = BitsRefreshState();
        start(QLatin1String(c.profile));
        settings.Telnet.V123 = c.ar7;
        settings.Telnet.V4 = c.adslctl;
        if (c.adslctl)
            settings.Telnet.TelnetCmd = QLatin1String(c.command);
        settings.Telnet.ShowAttenuation = c.attenuation;
        open();
        const int before = int(lines().size());
        bits->btnBitsRefreshClick(BitsSender::RefreshButton);
        EXPECT_TRUE(session->flags().BitsReplyExpected);
        ASSERT_TRUE(waitLines(before + int(c.expected.size())));
        EXPECT_EQ(c.expected, lines().mid(before));
        EXPECT_EQ(1, state.BitsRefreshCount);
    }
}

// A request that can send nothing (the "adsl info" family, the bit-loading
// box unchecked, the session down) is no refresh: no command, no stamp, no
// count, and the Refresh button is not greyed waiting for a reply.
TEST_F(BitsRefreshTest, RequestsThatSendNothingChangeNothing)
{
    start(QStringLiteral("v5"));
    settings.Telnet.V123 = false;
    settings.Router.V5Telnet = true;
    settings.Telnet.TelnetPrompt = QStringLiteral("/ #");
    open();
    QSignalSpy stamped(bits.get(), &BitLoadingRefresh::lastUpdated);
    QSignalSpy greyed(bits.get(), &BitLoadingRefresh::refreshButtonEnabled);
    bits->btnBitsRefreshClick(BitsSender::RefreshButton);
    settings.Router.V5Telnet = false;
    settings.Telnet.V123 = true;
    settings.Telnet.BitsGraph = false;
    bits->btnBitsRefreshClick(BitsSender::RefreshButton);
    settings.Telnet.BitsGraph = true;
    session->btnDisConnect1Click();
    bits->btnBitsRefreshClick(BitsSender::RefreshButton);
    testsupport::waitFor([] { return false; }, 200);
    EXPECT_TRUE(lines().filter(QStringLiteral("avsar")).isEmpty());
    EXPECT_TRUE(lines().filter(QStringLiteral("--")).isEmpty());
    EXPECT_FALSE(session->flags().BitsReplyExpected);
    EXPECT_EQ(0, state.BitsRefreshCount);
    EXPECT_EQ(stamped.count(), 0);
    EXPECT_EQ(greyed.count(), 0);
}

TEST_F(BitsRefreshTest, TickGivesWayToAStatisticsReplyButTheButtonDoesNot)
{
    start(QStringLiteral("v1234"));
    open();
    settings.Telnet.BitsRefresh = true;
    QSignalSpy cleared(bits.get(), &BitLoadingRefresh::toneSeriesCleared);
    session->flags().StatsRequested = true;
    bits->setBitsDue(false);
    bits->tmrRefreshBitsEveryTimer();
    EXPECT_EQ(0, state.BitsRefreshCount);
    EXPECT_FALSE(session->flags().BitsReplyExpected);
    bits->btnBitsRefreshClick(BitsSender::RefreshButton);
    EXPECT_EQ(1, state.BitsRefreshCount);
    EXPECT_TRUE(session->flags().BitsReplyExpected);
    // Only a fresh picture asked for by hand empties the tone series.
    EXPECT_EQ(1, cleared.count());
    // Hidden in the tray with the box checked: nothing at all.
    settings.Telnet.DontrefreshWhenMin = true;
    bits->setHiddenInTray([] { return true; });
    bits->btnBitsRefreshClick(BitsSender::RefreshButton);
    EXPECT_EQ(1, state.BitsRefreshCount);
}

TEST_F(BitsRefreshTest, ADueRequestRidesOnTheStatisticsRequestOnce)
{
    start(QStringLiteral("v1234"));
    open();
    settings.Telnet.BitsRefresh = true;
    settings.Router.Telnet = true;
    bits->runArm();
    EXPECT_TRUE(bits->BitsDue());
    EXPECT_TRUE(bits->timer().isActive());
    EXPECT_EQ(60 * 1100, bits->timer().interval());
    const int before = int(lines().size());
    session->btnRefreshClick();
    ASSERT_TRUE(waitLines(before + 3));
    EXPECT_EQ((QStringList{"cat /proc/avalanche/avsar_modem_stats", "cat /proc/avalanche/avsar_bit_allocation_table",
                           "cat /proc/avalanche/avsar_rxsnr0"}),
              lines().mid(before, 3));
    EXPECT_FALSE(bits->BitsDue());
    // The next statistics request goes alone.
    session->btnRefreshClick();
    ASSERT_TRUE(waitLines(before + 4));
    testsupport::waitFor([] { return false; }, 200);
    EXPECT_EQ(before + 4, int(lines().size()));
    bits->stop();
    EXPECT_FALSE(bits->timer().isActive());
}

TEST(BitsRefreshPacing, IntervalPageAndCaptions)
{
    struct Case {
        int sample, points, every;
        bool same;
        int page;
        const char *span;
    };
    const Case cases[] = {
        {20, 300, 60, false, 100, "  (1 hr : 40 min per page)"},
        {20, 250, 60, false, 83, "  (1 hr : 23 min per page)"},
        {20, 250, 60, true, 250, "  (4 hr : 10 min per page)"},
        {5, 10, 600000, false, 1, "  (166 hr : 40 min per page)"}, // never a page of nothing
    };
    for (const Case &c : cases) {
        const int page = BitLoadingRefresh::pageRefreshes(c.sample, c.points, c.every, c.same);
        EXPECT_EQ(c.page, page) << c.every;
        EXPECT_EQ(QLatin1String(c.span), BitLoadingRefresh::pageText(c.every, page));
    }
    EXPECT_EQ(QStringLiteral("(1 min : 0 sec)"), BitLoadingRefresh::intervalText(60));
    EXPECT_EQ(QStringLiteral("(2 min : 5 sec)"), BitLoadingRefresh::intervalText(125));

    TSettings s = telnettest::defaultSettings();
    RouterHttpClient http;
    TelnetSession session(s, http);
    BitsRefreshState state;
    BitLoadingRefresh bits(s, session, state);
    s.System.Sample = 30;
    s.Telnet.RefreshBitsEvery = 10; // below the polling interval: raised to it
    QSignalSpy page(&bits, &BitLoadingRefresh::pageLengthChanged);
    bits.startup();
    EXPECT_EQ(30, s.Telnet.RefreshBitsEvery);
    EXPECT_EQ(33000, bits.timer().interval());
    EXPECT_FALSE(bits.timer().isActive());
    ASSERT_EQ(1, page.count());
    s.Telnet.BitsGraph = true;
    s.Telnet.BitsRefresh = true;
    bits.cbBitsRefreshClick(true);
    EXPECT_TRUE(bits.timer().isActive());
    s.Telnet.BitsRefresh = false;
    bits.cbBitsRefreshClick(true);
    EXPECT_FALSE(bits.timer().isActive());
    EXPECT_FALSE(bits.BitsDue());
    // The 585 profile's timer runs at its own seconds and asks its own session.
    s.Router.ST585 = true;
    s._585Telnet.RefreshBits = true;
    s._585Telnet.BitsEvery = 45;
    QSignalSpy thomson(&bits, &BitLoadingRefresh::thomsonRefreshDue);
    bits.runArm();
    EXPECT_EQ(45000, bits.timer().interval());
    bits.tmrRefreshBitsEveryTimer();
    EXPECT_EQ(1, thomson.count());
    EXPECT_EQ(0, state.BitsRefreshCount);
}
