// The SpeedTouch 585's own telnet session against the simulated router: the
// log-in by prompts, the session time-out set once per run, "session in
// use", the bit table and statistics of a refresh, bitswaps from the second
// refresh on, the re-login after two hours of refreshes, a cut reply, the
// reboot line and the close.
#include "RouterSim.h"
#include "TelnetParserFixture.h"
#include "TestSupport.h"
#include "acquisition/ThomsonParsers.h"
#include "acquisition/ThomsonSession.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct ThomsonTest : ::testing::Test {
    routersim::RouterSim sim;
    TSettings settings = telnettest::defaultSettings();
    TelnetFigures figures;
    std::unique_ptr<ThomsonSession> session;
    QStringList messages;
    std::vector<ThomsonRefresh> refreshes;
    int failures = 0;

    void SetUp() override
    {
        routersim::RouterSimOptions o;
        o.profile = QStringLiteral("st585");
        o.control = false;
        QString error;
        ASSERT_TRUE(sim.start(o, &error)) << error.toStdString();
        settings.Router.ST585 = true;
        settings.Router.Login = QStringLiteral("http://127.0.0.1:%1/cgi/b/dsl/dt/?be=0&l0=1&l1=0").arg(sim.httpPort());
        settings.Router.Username = QStringLiteral("Administrator");
        settings.Router.Password = QString();
        settings._585Telnet.TelnetPort = QString::number(sim.telnetPort());
        settings._585Telnet.BitsEvery = 60;
        session = std::make_unique<ThomsonSession>(settings, figures);
        QObject::connect(session.get(), &ThomsonSession::systemMessage, [this](const QString &m) { messages << m; });
        QObject::connect(session.get(), &ThomsonSession::refreshed,
                         [this](const ThomsonRefresh &r) { refreshes.push_back(r); });
        QObject::connect(session.get(), &ThomsonSession::refreshFailed, [this] { ++failures; });
    }

    bool refresh()
    {
        const size_t before = refreshes.size();
        const int failed = failures;
        if (!session->ThomsonBitloading())
            return false;
        return testsupport::waitFor([&] { return refreshes.size() > before || failures > failed; }, 10000)
               && refreshes.size() > before;
    }

    QStringList telnet(const char *method)
    {
        QStringList out;
        for (const QString &l : sim.journal().lines()) {
            const QStringList f = l.split(QLatin1Char('\t'));
            if (f.size() > 5 && f[1] == QLatin1String("telnet") && f[2] == QLatin1String(method))
                out << f[3] + QLatin1Char('|') + f[5];
        }
        return out;
    }
};

} // namespace

TEST_F(ThomsonTest, LogsInByPromptsAndSetsTheTimeOutOncePerRun)
{
    ASSERT_TRUE(refresh());
    EXPECT_TRUE(session->ThomsonSessionUp());
    EXPECT_EQ(QStringList{"Administrator|ok"}, telnet("login"));
    EXPECT_EQ((QStringList{"env set var=SESSIONTIMEOUT value=0|ok", "adsl debug bitloadinginfo|ok",
                           "adsl info expand=enabled|ok"}),
              telnet("line"));
    EXPECT_EQ(QStringLiteral("0"), sim.telnet().sessionTimeout);
    EXPECT_TRUE(messages.contains(QStringLiteral("ST585 Logged in - telnet.")));
    // Logged out and in again (Stop, Run): the time-out is not sent twice.
    session->logout();
    EXPECT_FALSE(session->ThomsonSessionUp());
    ASSERT_TRUE(refresh());
    EXPECT_EQ(2, telnet("login").size());
    EXPECT_EQ(1, telnet("line").filter(QStringLiteral("SESSIONTIMEOUT")).size());
    EXPECT_TRUE(session->ThomsonTimeoutSent());
    // A second refresh asked for while one runs is refused.
    ASSERT_TRUE(session->ThomsonBitloading());
    EXPECT_FALSE(session->ThomsonBitloading());
    EXPECT_FALSE(session->sendLine(QStringLiteral("system reboot")));
    ASSERT_TRUE(testsupport::waitFor([&] { return !session->isBusy(); }));
}

TEST_F(ThomsonTest, SessionInUseSendsNoCommand)
{
    sim.execute(QStringLiteral("telnet busy on"));
    EXPECT_FALSE(refresh());
    EXPECT_EQ(1, failures);
    EXPECT_FALSE(session->ThomsonSessionUp());
    EXPECT_TRUE(telnet("line").isEmpty());
    ASSERT_FALSE(messages.filter(QStringLiteral("** ST585 Telnet Login Error (session in use)**")).isEmpty());
    EXPECT_FALSE(messages.contains(QStringLiteral("ST585 Logged in - telnet.")));
    // The next refresh tries again.
    sim.execute(QStringLiteral("telnet busy off"));
    EXPECT_TRUE(refresh());
}

TEST_F(ThomsonTest, WrongPasswordNeverCountsAsLoggedIn)
{
    settings.Router.Password = QStringLiteral("wrong");
    session->setTimeoutMs(300);
    EXPECT_FALSE(refresh());
    EXPECT_FALSE(session->ThomsonSessionUp());
    EXPECT_FALSE(messages.contains(QStringLiteral("ST585 Logged in - telnet.")));
    EXPECT_TRUE(telnet("line").isEmpty());
    EXPECT_EQ(0u, figures.ToneBits[100]);
}

TEST_F(ThomsonTest, RefreshReadsTheTableAndTheSummaryPanes)
{
    sim.execute(QStringLiteral("set RxNoise 6.5"));
    sim.execute(QStringLiteral("set RxSync 8128"));
    // Annex M as last seen decides this refresh's upstream band; the reply
    // (no Annex M here) decides the next one's.
    settings._585Telnet.AnnexM585 = true;
    ASSERT_TRUE(refresh());
    EXPECT_EQ(64, refreshes.back().upTones);
    EXPECT_FALSE(settings._585Telnet.AnnexM585);
    ASSERT_TRUE(refresh());
    EXPECT_EQ(32, refreshes.back().upTones);
    const ThomsonRefresh &r = refreshes.back();
    const auto &tones = sim.state().tones();
    for (int t : {6, 40, 100, 255})
        EXPECT_EQ(tones.bits(t), figures.ToneBits[size_t(t)]) << t;
    EXPECT_EQ(0, figures.ToneBits[300]); // an ADSL line has no tone 300
    EXPECT_EQ(0, r.swapTotal);          // an unchanged line
    ASSERT_TRUE(r.statistics.read);
    EXPECT_EQ(QStringLiteral("Noise Margin:  6.5    dB"), r.statistics.down.value(0));
    EXPECT_EQ(QStringLiteral("Bandwidth:     8128   kbps"), r.statistics.down.value(1));
    EXPECT_EQ(QStringLiteral("Noise Margin:  ") + sim.state().figure(routersim::Figure::TxNoise).leftJustified(5)
                  + QStringLiteral("  dB"),
              r.statistics.up.value(0));
    EXPECT_TRUE(r.statistics.down.contains(QStringLiteral("   FEC:  ")
                                           + sim.state().figure(routersim::Figure::FecDown)));
    EXPECT_TRUE(r.statistics.up.contains(QStringLiteral("   HEC:  ") + sim.state().figure(routersim::Figure::HecUp)));
    EXPECT_EQ(QStringLiteral("G.992.1"), r.statistics.dslType);
    EXPECT_TRUE(r.statistics.uptime.startsWith(QStringLiteral("Uptime: ")));
}

TEST_F(ThomsonTest, BitswapsCountFromTheSecondRefresh)
{
    sim.execute(QStringLiteral("set linemode ADSL2+"));
    ASSERT_TRUE(refresh());
    const auto &tones = sim.state().tones();
    sim.execute(QStringLiteral("tone 100 bits %1").arg(tones.bits(100) == 15 ? 3 : tones.bits(100) + 1));
    sim.execute(QStringLiteral("tone 300 bits %1").arg(tones.bits(300) == 15 ? 3 : tones.bits(300) + 1));
    ASSERT_TRUE(refresh());
    EXPECT_EQ(2, refreshes.back().swapTotal);
    EXPECT_EQ(1u, figures.ToneSwapCount[100]);
    EXPECT_EQ(1u, figures.ToneSwapCount[300]);
    EXPECT_EQ(1, figures.ToneSwapped[300]);
    ASSERT_TRUE(refresh());
    EXPECT_EQ(0, refreshes.back().swapTotal);
    EXPECT_EQ(0, figures.ToneSwapped[300]);
    EXPECT_EQ(1u, figures.ToneSwapCount[300]);
}

TEST_F(ThomsonTest, TwoHoursOfRefreshesLogOutAndInAgain)
{
    for (int i = 1; i <= 120; ++i)
        ASSERT_TRUE(refresh()) << i;
    EXPECT_EQ(1, telnet("login").size());
    ASSERT_TRUE(refresh()); // the 121st at 60 s
    EXPECT_EQ(2, telnet("login").size());
    EXPECT_EQ(1, messages.count(QStringLiteral("ST585 : Refresh telnet - Logout.")));
    EXPECT_EQ(0, session->ThomsonRefreshCount());
}

TEST_F(ThomsonTest, ACutReplyLeavesTheTablesAlone)
{
    ASSERT_TRUE(refresh());
    const auto before = figures.ToneBits;
    session->logout();
    sim.execute(QStringLiteral("telnet fail hang 1"));
    session->setTimeoutMs(300);
    ASSERT_TRUE(refresh() == false);
    EXPECT_EQ(1, failures);
    EXPECT_EQ(before, figures.ToneBits);
    EXPECT_EQ(0u, std::accumulate(figures.ToneSwapCount.begin(), figures.ToneSwapCount.end(), 0u));
}

TEST_F(ThomsonTest, RebootLineAndCloseRestoringTheTimeOut)
{
    std::optional<QString> reply;
    ASSERT_TRUE(session->sendLine(QStringLiteral("system reboot"), [&](const QString &r) { reply = r; }));
    ASSERT_TRUE(testsupport::waitFor([&] { return reply.has_value(); }, 10000));
    EXPECT_TRUE(telnet("line").contains(QStringLiteral("system reboot|reboot")));
    EXPECT_EQ(1, sim.state().rebootCount());

    ASSERT_TRUE(refresh());
    std::optional<QString> closed;
    session->closeSession(true, [&](const QString &r) { closed = r; });
    ASSERT_TRUE(testsupport::waitFor([&] { return closed.has_value(); }, 10000));
    EXPECT_EQ(QStringLiteral("120"), sim.telnet().sessionTimeout);
    EXPECT_FALSE(session->ThomsonSessionUp());
    EXPECT_TRUE(testsupport::waitFor([&] { return sim.telnetSessions() == 0; }));
    // Down already: nothing is sent, the session is still closed.
    closed.reset();
    const int lines = int(telnet("line").size());
    session->closeSession(true, [&](const QString &r) { closed = r; });
    EXPECT_TRUE(closed.has_value());
    EXPECT_EQ(lines, telnet("line").size());
}

TEST(ThomsonParsers, BitTableLayoutAndSwapCounters)
{
    // The pane: 82 characters to drop, then rows of 11 + 32 characters.
    QString fields;
    for (int i = 0; i <= 512; ++i)
        fields += (i == 7 ? QStringLiteral("xx") : QString::number(i % 16).rightJustified(2)) + QLatin1Char(' ');
    QString pane = QString(80, QLatin1Char('h')) + QStringLiteral("\r\n");
    for (int row = 0; row * 32 < fields.size(); ++row)
        pane += QStringLiteral("row:").leftJustified(11) + fields.mid(row * 32, 32) + QStringLiteral("  tail\r\n");
    const auto bits = thomson::bitTable(pane);
    ASSERT_TRUE(bits.has_value());
    EXPECT_EQ(5, (*bits)[5]);
    EXPECT_EQ(0, (*bits)[7]); // not a number
    EXPECT_EQ(512 % 16, (*bits)[512]);
    EXPECT_FALSE(thomson::bitTable(pane.left(pane.size() - 60)).has_value());

    TelnetFigures f;
    f.ToneBits[7] = 4;
    EXPECT_EQ(0, thomson::applyBitTable(*bits, f, false));
    EXPECT_EQ(0, f.ToneBits[7]);
    auto changed = *bits;
    changed[7] = 9;
    changed[400] = 15;
    f.ToneSwapCount[400] = std::numeric_limits<quint32>::max();
    EXPECT_EQ(2, thomson::applyBitTable(changed, f, true));
    EXPECT_EQ(1u, f.ToneSwapCount[7]);
    EXPECT_EQ(std::numeric_limits<quint32>::max(), f.ToneSwapCount[400]); // never wraps to 0

    EXPECT_FALSE(thomson::statistics(QStringLiteral("short")).read);
    EXPECT_TRUE(thomson::statistics(QStringLiteral("xx Annex M and more")).annexM);
    const auto range = thomson::toneRange(false, true, false);
    EXPECT_EQ(256, range.first);
    EXPECT_EQ(512, range.last);
}
