// The three parsers behind the real telnet session against the simulated
// router, with the reply cut into random pieces on the wire: each family's
// statistics, interface listing and (AR7, adslctl) bit loading arrive and
// are read whatever prompt the data handler stops at.
#include "RouterSim.h"
#include "TelnetParserFixture.h"
#include "TestSupport.h"
#include "acquisition/RouterHttpClient.h"
#include "acquisition/TelnetSession.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

struct LiveTest : ::testing::Test {
    routersim::RouterSim sim;
    TSettings settings;
    RouterHttpClient http;
    std::unique_ptr<TelnetSession> session;
    TelnetFigures figures;
    std::vector<TelnetParseResult> results;

    void start(const QString &profile)
    {
        routersim::RouterSimOptions o;
        o.profile = profile;
        o.control = false;
        QString error;
        ASSERT_TRUE(sim.start(o, &error)) << error.toStdString();
        ASSERT_EQ(QStringLiteral("ok"), sim.execute(QStringLiteral("telnet chunk random 7")).value(0).left(2));
        settings = telnettest::defaultSettings();
        settings.Router.Telnet = true;
        settings.Router.Login =
            QStringLiteral("http://127.0.0.1:%1/setup.cgi?next_file=stattbl.htm").arg(sim.httpPort());
        settings.Router.Username = QStringLiteral("admin");
        settings.Router.Password = QStringLiteral("quillfen");
        settings.Router.cbLogin = true;
        settings.Telnet.TelnetIP = QStringLiteral("127.0.0.1");
        settings.Telnet.TelnetPort = sim.telnetPort();
        settings.Telnet.RxTotal = true;
        settings.Telnet.ShowAttenuation = false;
        settings.System.Sample = 5;
        session = std::make_unique<TelnetSession>(settings, http);
        QObject::connect(session.get(), &TelnetSession::replyComplete, [this](const TelnetReply &r) {
            for (TelnetParseResult &p : ParseTelnetReply(r, settings, session->flags(), {}, 10, figures))
                results.push_back(std::move(p));
        });
    }

    bool connectAndRefresh()
    {
        std::optional<bool> finished;
        QObject::connect(session.get(), &TelnetSession::connectFinished, [&finished](bool c) { finished = c; });
        session->btnConnectClick(TelnetSender::ConnectButton);
        return testsupport::waitFor([&] { return finished.has_value(); }, 10000) && *finished;
    }

    bool listingRead()
    {
        return testsupport::waitFor(
            [this] { return !results.empty() && !session->flags().ExtendedRequested && figures.RxBytesTotal > 0; });
    }

    const TelnetParseResult *lastWithTones() const
    {
        for (auto it = results.rbegin(); it != results.rend(); ++it)
            if (it->ToneChart)
                return &*it;
        return nullptr;
    }

    void checkLineFigures()
    {
        EXPECT_EQ(8128, figures.TelnetSyncNow);
        EXPECT_FLOAT_EQ(6.5f, figures.TelnetNoiseNow);
        EXPECT_EQ(56, figures.TelnetCounters[0]);
        EXPECT_EQ(1234, figures.TelnetCounters[1]);
        EXPECT_DOUBLE_EQ(2867459201.0 / 1048576, figures.RxBytesTotal);
        EXPECT_TRUE(figures.BytesInterfaceFound);
    }

    void checkBitLoading()
    {
        results.clear();
        session->clearTerminal();
        session->sendBitLoadingCommands(true, false);
        ASSERT_TRUE(testsupport::waitFor([this] { return lastWithTones() != nullptr; }));
        EXPECT_FALSE(session->flags().BitsReplyExpected);
        const auto &tones = sim.state().tones();
        for (int t : {10, 40, 100, 250})
            EXPECT_EQ(tones.bits(t), figures.ToneBits[size_t(t)]) << t;
        EXPECT_EQ(256u, lastWithTones()->ToneChart->Tones.size());
    }
};

} // namespace

TEST_F(LiveTest, Ar7)
{
    start(QStringLiteral("v1234"));
    ASSERT_TRUE(connectAndRefresh());
    ASSERT_TRUE(listingRead());
    checkLineFigures();
    EXPECT_FALSE(session->flags().StatsRequested);
    EXPECT_EQ(3, figures.TelnetCounters[3]);
    checkBitLoading();
    EXPECT_FLOAT_EQ(float(int(sim.state().tones().snr(100) * 100 + 0.5) / 100), figures.ToneSnr[100]);
}

TEST_F(LiveTest, Adslctl)
{
    start(QStringLiteral("other"));
    settings.Telnet.V123 = false;
    settings.Telnet.V4 = true;
    ASSERT_TRUE(connectAndRefresh());
    ASSERT_TRUE(listingRead());
    checkLineFigures();
    EXPECT_FALSE(session->flags().StatsRequested);
    EXPECT_EQ(9, figures.TelnetCounters[2]);
    checkBitLoading();
    EXPECT_NEAR(sim.state().tones().snr(100), figures.ToneSnr[100], 1e-3);
}

TEST_F(LiveTest, AdslInfo)
{
    start(QStringLiteral("v5"));
    settings.Telnet.V123 = false;
    settings.Router.V5Telnet = true;
    settings.Telnet.TelnetPrompt = QStringLiteral("/ #");
    ASSERT_TRUE(connectAndRefresh());
    ASSERT_TRUE(listingRead());
    checkLineFigures();
    EXPECT_TRUE(session->flags().StatsRequested); // left for the later prompts
    EXPECT_EQ(31, figures.TelnetCounters[3]);
    EXPECT_EQ(8, figures.TelnetCounters[9]);
    EXPECT_TRUE(results.back().ClearPanes);
}
