// The general telnet session against the simulated router: the debug page,
// the two connect paths and their log-ins, bounded waits, the reply-complete
// rule under every chunking mode, the debug-off kill, the statistics
// commands of each family, disconnect and reconnect.
#include "RouterSim.h"
#include "TestSupport.h"
#include "acquisition/RouterHttpClient.h"
#include "acquisition/TelnetSession.h"
#include "settings/SettingsStore.h"

#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace {

struct SessionTest : ::testing::Test {
    routersim::RouterSim sim;
    TSettings settings;
    RouterHttpClient http;
    std::unique_ptr<TelnetSession> session;
    QStringList messages;
    QStringList boxes;
    QList<TelnetReply> replies;
    int incomplete = 0;
    int panesCleared = 0;
    int extendedForced = 0;
    QString display;
    std::optional<bool> finished;
    QList<bool> connection;

    void SetUp() override { startSim("v1234"); }

    void startSim(const QString &profile, const QString &telnetLogin = {})
    {
        sim.stop();
        routersim::RouterSimOptions o;
        o.profile = profile;
        o.control = false;
        if (!telnetLogin.isEmpty())
            o.telnetLogin = telnetLogin;
        QString error;
        ASSERT_TRUE(sim.start(o, &error)) << error.toStdString();
        sim.journal().clear();
        messages.clear();
        boxes.clear();
        replies.clear();
        incomplete = 0;
        panesCleared = 0;
        extendedForced = 0;
        display.clear();
        finished.reset();
        connection.clear();
        SettingsEnvironment env;
        env.settingsPath = QStringLiteral("/nonexistent/veltrano.ini");
        env.now = QDateTime::currentDateTime();
        settings = settingsstore::load(env).settings;
        settings.Router.Telnet = true;
        settings.Router.Login =
            QStringLiteral("http://127.0.0.1:%1/setup.cgi?next_file=stattbl.htm").arg(sim.httpPort());
        settings.Router.Username = QStringLiteral("admin");
        settings.Router.Password = QStringLiteral("quillfen");
        settings.Router.cbLogin = true;
        settings.Telnet.TelnetIP = QStringLiteral("127.0.0.1");
        settings.Telnet.TelnetPort = sim.telnetPort();
        settings.Telnet.TelnetUsername = QStringLiteral("admin");
        settings.Telnet.DGTeamTimeout = 20;
        settings.System.Sample = 5;
        makeSession();
    }

    void makeSession()
    {
        session = std::make_unique<TelnetSession>(settings, http);
        session->setPromptTimeoutMs(300);
        QObject::connect(session.get(), &TelnetSession::systemMessage, [this](const QString &m) { messages << m; });
        QObject::connect(session.get(), &TelnetSession::messageBox, [this](const QString &m) { boxes << m; });
        QObject::connect(session.get(), &TelnetSession::replyComplete, [this](const TelnetReply &r) { replies << r; });
        QObject::connect(session.get(), &TelnetSession::replyIncomplete, [this] { ++incomplete; });
        QObject::connect(session.get(), &TelnetSession::statsPanesCleared, [this](bool) { ++panesCleared; });
        QObject::connect(session.get(), &TelnetSession::extendedForced, [this] { ++extendedForced; });
        QObject::connect(session.get(), &TelnetSession::terminalAppended, [this](const QString &t) { display += t; });
        QObject::connect(session.get(), &TelnetSession::terminalCleared, [this] { display.clear(); });
        QObject::connect(session.get(), &TelnetSession::connectFinished, [this](bool c) { finished = c; });
        QObject::connect(session.get(), &TelnetSession::connectionChanged, [this](bool c) { connection << c; });
    }

    void run(const QString &command) { ASSERT_EQ("ok", sim.execute(command).value(0).left(2)) << command.toStdString(); }

    bool connectWith(TelnetSender sender)
    {
        finished.reset();
        session->btnConnectClick(sender);
        EXPECT_TRUE(testsupport::waitFor([this] { return finished.has_value(); }, 10000));
        return finished.value_or(false);
    }
    bool waitReplies(int n, int ms = 5000)
    {
        return testsupport::waitFor([&] { return replies.size() >= n; }, ms);
    }

    // Journal fields after the time stamp, for one channel and method.
    QStringList journal(const QString &channel, const QString &method = {})
    {
        QStringList out;
        for (const QString &l : sim.journal().lines()) {
            const QStringList f = l.split(QLatin1Char('\t'));
            if (f.value(1) == channel && (method.isEmpty() || f.value(2) == method))
                out << f.mid(3).join(QLatin1Char('\t'));
        }
        return out;
    }
    QStringList linesTyped() { return journal(QStringLiteral("telnet"), QStringLiteral("line")); }
    bool waitLines(int n) { return testsupport::waitFor([&] { return linesTyped().size() >= n; }); }
};

// ---- path A: the debug page, then the daemon without a log-in --------------

TEST_F(SessionTest, DebugPageOnceWithCredentialsThenConnectAndRefresh)
{
    ASSERT_TRUE(connectWith(TelnetSender::ConnectButton));
    EXPECT_EQ(QStringList{"/setup.cgi?todo=debug\tadmin:quillfen\t200"}, journal("http", "GET"));
    ASSERT_TRUE(waitReplies(1));
    EXPECT_EQ(1, replies.size());
    const TelnetReply &r = replies.first();
    EXPECT_TRUE(r.runAr7);
    EXPECT_FALSE(r.runAdslctl);
    EXPECT_FALSE(r.runAdslInfo);
    // The whole terminal, CR LF joined: the statistics and the interface list.
    // The refresh follows the connect at once, so the router's greeting
    // comes in after the terminal was cleared for it.
    EXPECT_TRUE(r.text.contains(QStringLiteral("\r\n# cat /proc/avalanche/avsar_modem_stats\r\n")));
    EXPECT_TRUE(r.text.contains(QStringLiteral("\tDS Margin:          6.5\r\n")));
    EXPECT_TRUE(r.text.contains(QStringLiteral("#  ifconfig\r\n")));
    EXPECT_TRUE(r.text.endsWith(QStringLiteral("\r\n# ")));
    EXPECT_EQ(r.text, session->terminalText());
    EXPECT_EQ(QStringList({"cat /proc/avalanche/avsar_modem_stats\t-\tok", " ifconfig\t-\tok"}), linesTyped());
    EXPECT_TRUE(session->flags().StatsRequested);
    EXPECT_TRUE(session->flags().ExtendedRequested);
    // The pane shows what the parsers read, with "\n" line breaks.
    EXPECT_EQ(QString(r.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), display);
    const TelnetControls &c = session->controls();
    EXPECT_FALSE(c.btnConnect);
    EXPECT_FALSE(c.btnConnect1);
    EXPECT_TRUE(c.btnRefresh);
    EXPECT_TRUE(c.btnDisconnect); // Run is not down: the session may be ended by hand
    EXPECT_TRUE(c.commandButtons);
    EXPECT_TRUE(c.toneButtons);
    EXPECT_FALSE(c.btnResetStats);
    EXPECT_TRUE(messages.contains(QStringLiteral("Telnet: Connected.")));
    EXPECT_EQ(QList<bool>{true}, connection);
}

TEST_F(SessionTest, TerminalAnnouncesTheDumbTerminalType)
{
    ASSERT_TRUE(connectWith(TelnetSender::TerminalConnectButton));
    ASSERT_TRUE(testsupport::waitFor([&] { return !journal("telnet", "ttype").isEmpty(); }));
    EXPECT_EQ(QStringList{"dumb\t-\tok"}, journal("telnet", "ttype"));
}

TEST_F(SessionTest, DebugPageCredentialRules)
{
    const struct {
        const char *name;
        bool cbLogin;
        bool usernameNotRequired;
        const char *command;
        const char *sent; // credentials column, or nullptr: nothing fetched
    } cases[] = {
        {"LogIn", true, false, "/setup.cgi?todo=debug", "admin:quillfen"},
        {"NoLogIn", false, false, "/setup.cgi?todo=debug", "none"},
        {"NoUserName", true, true, "/cgi-bin/webcm?todo=debug", ":quillfen"},
        {"OtherHostInCommand", true, false, "@127.0.0.2/setup.cgi?todo=debug", nullptr},
    };
    run("auth any quillfen");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        sim.journal().clear();
        messages.clear();
        settings.Router.cbLogin = c.cbLogin;
        settings.Router.UsernameNotRequired = c.usernameNotRequired;
        settings.Telnet.TelnetDebugCommand = QString::fromLatin1(c.command);
        if (c.sent && QByteArray(c.sent) == "none")
            run("auth none");
        connectWith(TelnetSender::TerminalConnectButton);
        const QStringList gets = journal("http", "GET");
        if (c.sent) {
            ASSERT_EQ(1, gets.size());
            EXPECT_EQ(QString::fromLatin1(c.command) + "\t" + c.sent + "\t200", gets.first());
            EXPECT_TRUE(session->isConnected());
        } else {
            EXPECT_TRUE(gets.isEmpty());
            EXPECT_TRUE(messages.contains(QStringLiteral("Unable to set telnet debug mode.")));
            EXPECT_FALSE(session->isConnected());
        }
        session->btnDisConnect1Click();
        run("auth any quillfen");
    }
}

TEST_F(SessionTest, DebugPageFailures)
{
    const struct {
        const char *fail;
        TelnetSender sender;
        QStringList messages; // among the system messages
        QStringList boxes;
    } cases[] = {
        {"fail debug 500", TelnetSender::RunButton, {"Unable to set telnet debug mode."},
         {"Unable to start Telnet connection.\r\n\r\nPlease check the URL and login are correct."}},
        {"fail debug 401", TelnetSender::ConnectButton, {"HTTP  Login error", "Unable to set telnet debug mode."}, {}},
        {"fail debug empty", TelnetSender::RunButton, {},
         {"Unable to start Telnet connection.\r\n\r\nPlease check the URL and login are correct."}},
        {"fail debug close", TelnetSender::PollingCycle, {"Unable to set telnet debug mode."}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.fail);
        run(c.fail);
        messages.clear();
        boxes.clear();
        sim.journal().clear();
        EXPECT_FALSE(connectWith(c.sender));
        for (const QString &m : c.messages)
            EXPECT_TRUE(messages.contains(m)) << m.toStdString();
        EXPECT_EQ(c.boxes, boxes);
        EXPECT_TRUE(journal("telnet").isEmpty()); // no connect after a failed debug page
        run("fail debug none");
    }
}

TEST_F(SessionTest, RefusedTelnetPortIsReportedOnlyToTheConnectButton)
{
    run("telnet fail down");
    EXPECT_FALSE(connectWith(TelnetSender::PollingCycle));
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_FALSE(connectWith(TelnetSender::ConnectButton));
    EXPECT_EQ(QStringList{"Telnet failed with IP address: 127.0.0.1"}, boxes);
    EXPECT_TRUE(session->controls().btnConnect);
}

TEST_F(SessionTest, TelnetAddressIsCheckedAndTakenFromTheLoginUrl)
{
    settings.Telnet.TelnetIP = QStringLiteral("192.168.1");
    session->btnConnectClick(TelnetSender::ConnectButton);
    EXPECT_EQ(QStringList{"The Telnet IP address is not correct. (192.168.1) Unable to connect"}, boxes);
    EXPECT_FALSE(session->isConnecting());
    EXPECT_FALSE(session->controls().btnConnect);
    EXPECT_TRUE(journal("http").isEmpty());

    settings.Telnet.TelnetIP.clear();
    EXPECT_TRUE(connectWith(TelnetSender::TerminalConnectButton));
    EXPECT_EQ(QStringLiteral("127.0.0.1"), settings.Telnet.TelnetIP);

    settings.Router.Telnet = false;
    session->btnDisConnect1Click();
    finished.reset();
    session->btnConnectClick(TelnetSender::ConnectButton);
    EXPECT_FALSE(session->isConnecting());
    EXPECT_FALSE(finished.has_value());
}

TEST_F(SessionTest, OnlyConnectButtonAndRunAskForStatistics)
{
    const struct {
        TelnetSender sender;
        bool asks;
    } cases[] = {
        {TelnetSender::ConnectButton, true},
        {TelnetSender::RunButton, true},
        {TelnetSender::TerminalConnectButton, false},
        {TelnetSender::PollingCycle, false},
        {TelnetSender::Window, false},
    };
    for (const auto &c : cases) {
        sim.journal().clear();
        ASSERT_TRUE(connectWith(c.sender));
        testsupport::waitFor([&] { return !linesTyped().isEmpty(); }, c.asks ? 5000 : 200);
        EXPECT_EQ(c.asks, !linesTyped().isEmpty()) << static_cast<int>(c.sender);
        session->btnDisConnect1Click();
    }
}

// ---- path B: log-in ------------------------------------------------------------

TEST_F(SessionTest, LogInWithUserNameAndPassword)
{
    startSim("v1234", "user");
    settings.Telnet.LoginTelnet = true;
    settings.Telnet.UseHttpDebug = false;
    ASSERT_TRUE(connectWith(TelnetSender::ConnectButton));
    EXPECT_TRUE(journal("http").isEmpty());
    EXPECT_EQ(QStringList{"admin\tadmin:quillfen\tok"}, journal("telnet", "login"));
    EXPECT_TRUE(messages.contains(QStringLiteral("Telnet -  login.")));
    EXPECT_FALSE(messages.contains(QStringLiteral("DGTeam - telnet connect.")));
    ASSERT_TRUE(waitReplies(1));
    EXPECT_TRUE(replies.first().text.contains(QStringLiteral("DS Connection Rate:")));
    EXPECT_FALSE(session->terminalText().contains(QStringLiteral("quillfen")));
}

TEST_F(SessionTest, LogInWaitingForThePasswordPrompt)
{
    startSim("v1234", "password");
    settings.Telnet.IsDGTeam = true;
    settings.Telnet.WaitForPassword = true;
    settings.Telnet.TelnetUsername.clear();
    settings.Telnet.DGTeamTimeout = 0;
    ASSERT_TRUE(connectWith(TelnetSender::TerminalConnectButton));
    ASSERT_TRUE(testsupport::waitFor([&] { return !journal("telnet", "login").isEmpty(); }));
    EXPECT_EQ(QStringList{"-\t:quillfen\tok"}, journal("telnet", "login"));
    EXPECT_TRUE(messages.contains(QStringLiteral("DGTeam - telnet connect.")));
    // The debug page is fetched first as a help; it is not needed.
    EXPECT_EQ(1, journal("http", "GET").size());
    ASSERT_TRUE(testsupport::waitFor([&] { return session->terminal().endsAtPrompt(QStringLiteral("#")); }));
}

TEST_F(SessionTest, WrongPasswordLeavesTheSessionAtTheLogInPrompt)
{
    startSim("v1234", "user");
    settings.Telnet.LoginTelnet = true;
    settings.Router.Password = QStringLiteral("guess");
    EXPECT_TRUE(connectWith(TelnetSender::ConnectButton)); // the connection is up
    ASSERT_TRUE(testsupport::waitFor([&] { return !journal("telnet", "login").isEmpty(); }));
    // The statistics commands that follow land at the log-in prompt too.
    EXPECT_EQ(QStringLiteral("admin\tadmin:guess\tbad-login"), journal("telnet", "login").value(0));
    ASSERT_TRUE(testsupport::waitFor([&] { return session->terminalText().contains(QStringLiteral("Login incorrect")); }));
    QTest::qWait(100);
    EXPECT_TRUE(replies.isEmpty());
    EXPECT_GT(incomplete, 0);
}

TEST_F(SessionTest, RouterThatNeverAsksForThePasswordIsNotSentIt)
{
    // The router waits for a user name that is never sent, so "word:" never
    // comes: the wait ends at its bound and the password stays unsent.
    startSim("v1234", "user");
    settings.Telnet.LoginTelnet = true;
    settings.Telnet.WaitForPassword = true;
    settings.Telnet.TelnetUsername.clear();
    EXPECT_TRUE(connectWith(TelnetSender::TerminalConnectButton));
    EXPECT_TRUE(messages.contains(QStringLiteral("Telnet -  login.")));
    QTest::qWait(100);
    EXPECT_TRUE(journal("telnet", "login").isEmpty());
    EXPECT_FALSE(session->isConnecting());

    // A router that sends nothing at all: the same bound.
    session->btnDisConnect1Click();
    run("telnet fail mute");
    settings.Telnet.TelnetUsername = QStringLiteral("admin");
    EXPECT_TRUE(connectWith(TelnetSender::TerminalConnectButton));
    EXPECT_TRUE(session->terminalText().isEmpty());
}

TEST_F(SessionTest, LogInToAPortThatRefusesIsSilentAndEndsUnconnected)
{
    startSim("v1234", "user");
    settings.Telnet.LoginTelnet = true;
    run("telnet fail down");
    EXPECT_FALSE(connectWith(TelnetSender::ConnectButton));
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_TRUE(messages.contains(QStringLiteral("Telnet -  login.")));
}

// ---- replies -------------------------------------------------------------------

TEST_F(SessionTest, EveryChunkingModeGivesTheSameCompleteReply)
{
    QString first;
    for (const char *mode : {"whole", "line", "crlf", "random 11", "random 12"}) {
        SCOPED_TRACE(mode);
        run(QStringLiteral("telnet chunk %1").arg(mode));
        run("telnet delay 1");
        replies.clear();
        ASSERT_TRUE(connectWith(TelnetSender::ConnectButton));
        ASSERT_TRUE(waitReplies(1));
        QTest::qWait(20);
        EXPECT_EQ(1, replies.size());
        const QString text = replies.first().text;
        EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("[^\\r]\\n|^\\n"))));
        if (first.isEmpty())
            first = text;
        EXPECT_EQ(first, text);
        session->btnDisConnect1Click();
    }
}

TEST_F(SessionTest, ReplyIsCompleteAtThePromptWithMoreThanTenLines)
{
    settings.Telnet.Extended = false;
    ASSERT_TRUE(connectWith(TelnetSender::TerminalConnectButton));
    ASSERT_TRUE(testsupport::waitFor([&] { return session->terminal().endsAtPrompt(QStringLiteral("#")); }));
    const int banner = session->terminal().lineCount();
    ASSERT_LT(banner, 10);
    // "help" answers three lines: echo line, three, prompt line.
    session->SendText(QStringLiteral("help"));
    ASSERT_TRUE(waitLines(1));
    ASSERT_TRUE(testsupport::waitFor([&] { return session->terminal().lineCount() == banner + 4
                                                  && session->terminal().endsAtPrompt(QStringLiteral("#")); }));
    for (int extra = session->terminal().lineCount(); extra < 10; ++extra) {
        session->SendText(QString());
        ASSERT_TRUE(testsupport::waitFor([&] { return session->terminal().lineCount() == extra + 1; }));
    }
    QTest::qWait(50);
    EXPECT_EQ(10, session->terminal().lineCount());
    EXPECT_TRUE(replies.isEmpty());
    session->SendText(QString());
    ASSERT_TRUE(waitReplies(1));
    EXPECT_EQ(11, session->terminal().lineCount());
}

TEST_F(SessionTest, PromptComparisonTrimsButKeepsCase)
{
    settings.Telnet.Extended = false;
    run("telnet prompt \"Router> \"");
    for (const char *prompt : {"router>", "Router>"}) {
        settings.Telnet.TelnetPrompt = QString::fromLatin1(prompt);
        replies.clear();
        ASSERT_TRUE(connectWith(TelnetSender::ConnectButton));
        ASSERT_TRUE(waitLines(1));
        const bool matches = QByteArray(prompt) == "Router>";
        EXPECT_EQ(matches, waitReplies(1, matches ? 5000 : 300)) << prompt;
        session->btnDisConnect1Click();
    }
}

TEST_F(SessionTest, Ar7ReplyIsPassedOnOnlyWithTheInterfaceListWhenExtended)
{
    // The prompt after the statistics is not the end yet: only the one after
    // " ifconfig" is.
    run("telnet chunk line");
    ASSERT_TRUE(connectWith(TelnetSender::ConnectButton));
    ASSERT_TRUE(waitReplies(1));
    QTest::qWait(50);
    ASSERT_EQ(1, replies.size());
    EXPECT_TRUE(replies.first().text.contains(QStringLiteral("Link encap:Point-Point Protocol")));
}

TEST_F(SessionTest, EachFamilysStatisticsReplyIsCompleteAndPassedOn)
{
    struct Case {
        const char *profile;
        bool v123, v4, v5;
        const char *cmd;
        QStringList typed;
        QString mustContain;
    };
    const Case cases[] = {
        {"v1234", true, false, false, "", {"cat /proc/avalanche/avsar_modem_stats", " ifconfig"}, "DS Margin:"},
        {"other", false, true, false, "/usr/sbin/adslctl info --stats", {"/usr/sbin/adslctl info --stats", " ifconfig"},
         "SNR (dB):"},
        {"other", false, true, false, "adsl info --stats", {"adsl info --stats", " ifconfig"}, "Counters"},
        {"v5", false, false, true, "", {"adsl info", "adsl perf", "adsl defects", " ifconfig"},
         "============== FAR END =============="},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.cmd[0] ? c.cmd : c.profile);
        startSim(c.profile);
        settings.Telnet.V123 = c.v123;
        settings.Telnet.V4 = c.v4;
        settings.Router.V5Telnet = c.v5;
        settings.Telnet.Extended = !c.v5; // the "adsl info" family turns it on itself
        if (c.cmd[0])
            settings.Telnet.TelnetCmd = QString::fromLatin1(c.cmd);
        if (c.v5)
            settings.Telnet.TelnetPrompt = QStringLiteral("/ #");
        ASSERT_TRUE(connectWith(TelnetSender::ConnectButton));
        ASSERT_TRUE(waitLines(static_cast<int>(c.typed.size())));
        ASSERT_TRUE(testsupport::waitFor(
            [&] { return !replies.isEmpty() && replies.last().text.contains(QStringLiteral("Link encap")); }));
        QStringList typed;
        for (const QString &l : linesTyped())
            typed << l.section(QLatin1Char('\t'), 0, 0);
        EXPECT_EQ(c.typed, typed);
        const TelnetReply &r = replies.last();
        EXPECT_EQ(c.v123, r.runAr7);
        EXPECT_EQ(c.v4, r.runAdslctl);
        EXPECT_EQ(c.v5, r.runAdslInfo);
        EXPECT_TRUE(r.text.contains(c.mustContain));
        EXPECT_EQ(c.v5 ? 1 : 0, extendedForced);
        EXPECT_TRUE(settings.Telnet.Extended);
        EXPECT_EQ(c.v4, session->controls().btnResetStats);
        EXPECT_EQ(!c.v5, session->controls().toneButtons);
        if (c.v5) {
            // Each command ends at the prompt: the parser runs on each.
            EXPECT_GE(replies.size(), 1);
            EXPECT_TRUE(r.text.contains(QStringLiteral("/ # adsl perf")));
            EXPECT_TRUE(r.text.contains(QStringLiteral("/ # adsl defects")));
        }
        extendedForced = 0;
        replies.clear();
    }
}

TEST_F(SessionTest, StatsButtonSendsTheStatisticsCommandsOnly)
{
    ASSERT_TRUE(connectWith(TelnetSender::TerminalConnectButton));
    ASSERT_TRUE(testsupport::waitFor([&] { return session->terminal().endsAtPrompt(QStringLiteral("#")); }));
    const QString before = session->terminalText();
    settings.Telnet.V4 = true;
    settings.Telnet.TelnetCmd = QStringLiteral("adslctl info --stats");
    session->btnStats1Click(true);
    EXPECT_TRUE(session->flags().StatsRequested);
    ASSERT_TRUE(waitLines(2));
    EXPECT_EQ(QStringList({"cat /proc/avalanche/avsar_modem_stats\t-\tok", "adslctl info --stats\t-\tnot-found"}),
              linesTyped());
    EXPECT_TRUE(session->terminalText().startsWith(before)); // Memo1 kept for the Stats button
    session->btnStats1Click(false);
    EXPECT_TRUE(session->terminalText().isEmpty());
}

TEST_F(SessionTest, BitLoadingCommandsPerFamily)
{
    const struct {
        bool v123, v4;
        const char *cmd;
        bool bits, attenuation;
        QStringList typed;
    } cases[] = {
        {false, true, "/usr/sbin/adslctl info --stats", true, true,
         {"adslctl info --SNR", "adslctl info --Bits", "adslctl info --Hlog"}},
        {false, true, "adsl info --stats", true, false, {"adsl info --SNR", "adsl info --Bits"}},
        {true, false, "", true, true,
         {"cat /proc/avalanche/avsar_bit_allocation_table", "cat /proc/avalanche/avsar_rxsnr0"}},
        {true, true, "adslctl info --stats", false, true, {}},
    };
    ASSERT_TRUE(connectWith(TelnetSender::TerminalConnectButton));
    for (const auto &c : cases) {
        sim.journal().clear();
        session->flags().BitsReplyExpected = false;
        settings.Telnet.V123 = c.v123;
        settings.Telnet.V4 = c.v4;
        settings.Telnet.TelnetCmd = QString::fromLatin1(c.cmd);
        session->sendBitLoadingCommands(c.bits, c.attenuation);
        EXPECT_EQ(!c.typed.isEmpty(), session->flags().BitsReplyExpected);
        testsupport::waitFor([&] { return linesTyped().size() >= c.typed.size(); }, c.typed.isEmpty() ? 200 : 5000);
        QStringList typed;
        for (const QString &l : linesTyped())
            typed << l.section(QLatin1Char('\t'), 0, 0);
        EXPECT_EQ(c.typed, typed);
    }
}

// ---- the debug-off timer and the kill --------------------------------------------

TEST(TelnetDaemonPid, TakenOnlyFromAPlainNumberAtTheStartOfTheDaemonLine)
{
    const QString d = QStringLiteral("/usr/sbin/utelnetd -d");
    // 21 characters from the end of the number to the command, as busybox lays them out.
    const QString tail = QStringLiteral(" root       300 S    ") + d;
    EXPECT_EQ(21, tail.indexOf(d));
    const struct {
        QString listing;
        const char *pid;
    } cases[] = {
        {QStringLiteral("  PID\r\n  121") + tail + "\r\n", "121"},
        {QStringLiteral("  121") + tail, "121"},
        {QStringLiteral("x\r\n65535") + tail, "65535"},
        {QStringLiteral("x\r\n123456") + tail, ""},   // the field would cut the number
        {QStringLiteral("x\r\n  1a4") + tail, ""},
        {QStringLiteral("x\r\n   -1") + tail, ""},
        {QStringLiteral("x\r\n     ") + tail, ""},
        {QStringLiteral("x\r\n# ps -x | grep ") + d, ""},
        {QStringLiteral("  121 root S ") + d, ""},      // shorter line: the field is not the number
        {QStringLiteral("no daemon here"), ""},
        {d, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(QString::fromLatin1(c.pid), TelnetSession::daemonPid(c.listing)) << c.listing.toStdString();
}

TEST_F(SessionTest, DebugOffTimerArming)
{
    settings.Telnet.Timer = 3;
    session->Memo1Change();
    EXPECT_TRUE(session->debugOffTimerActive());
    EXPECT_EQ(180000, session->debugOffTimerInterval());
    session->setRunning(true);
    session->Memo1Change();
    EXPECT_FALSE(session->debugOffTimerActive());
    session->setRunning(false);
    settings.Telnet.Auto = false;
    session->Memo1Change();
    EXPECT_FALSE(session->debugOffTimerActive());
    // Terminal activity re-arms it.
    settings.Telnet.Auto = true;
    ASSERT_TRUE(connectWith(TelnetSender::TerminalConnectButton));
    EXPECT_TRUE(session->debugOffTimerActive());
}

TEST_F(SessionTest, DebugCheckKillsTheDaemonOnlyWithAPlainPid)
{
    const struct {
        const char *profile;
        const char *pid;
        bool listed;
        bool v4;
        bool kills;
    } cases[] = {
        {"v1234", "121", true, false, true},
        {"v1234", "65535", true, false, true},
        {"other", "4711", true, true, true},
        {"v1234", "123456", true, false, false},
        {"v1234", "12a4", true, false, false},
        {"v1234", "121", false, false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.profile) + " " + c.pid + (c.listed ? "" : " unlisted"));
        startSim(c.profile);
        run(QStringLiteral("telnet access debug"));
        run(QStringLiteral("telnet pid %1").arg(c.pid));
        run(QStringLiteral("telnet daemon %1").arg(c.listed ? "on" : "off"));
        settings.Telnet.V123 = !c.v4;
        settings.Telnet.V4 = c.v4;
        settings.Telnet.TelnetCmd = QStringLiteral("adslctl info --stats");
        ASSERT_TRUE(connectWith(TelnetSender::ConnectButton));
        ASSERT_TRUE(waitReplies(1));
        session->Timer3Timer();
        EXPECT_TRUE(session->flags().DebugCheckPending);
        ASSERT_TRUE(waitReplies(2));
        EXPECT_FALSE(session->flags().DebugCheckPending);
        const QString kill = QStringLiteral("kill %1\t-\tkill").arg(c.pid);
        if (c.kills) {
            ASSERT_TRUE(testsupport::waitFor([&] { return linesTyped().contains(kill); }));
            EXPECT_TRUE(session->terminalText().contains(QStringLiteral("# kill %1").arg(c.pid)));
            EXPECT_TRUE(replies.last().text.contains(QStringLiteral("# kill %1").arg(c.pid)));
            ASSERT_TRUE(testsupport::waitFor([&] { return !session->isConnected(); }));
            const TelnetControls &k = session->controls();
            EXPECT_FALSE(k.btnRefresh);
            EXPECT_FALSE(k.Memo1);
            EXPECT_FALSE(k.statsPanes);
            EXPECT_TRUE(k.btnConnect);
            EXPECT_EQ(QStringLiteral("Connect"), k.btnConnectCaption);
            // The router is back to needing its debug page.
            EXPECT_EQ(0, sim.telnetSessions());
        } else {
            QTest::qWait(100);
            for (const QString &l : linesTyped())
                EXPECT_FALSE(l.startsWith(QStringLiteral("kill"))) << l.toStdString();
            EXPECT_TRUE(session->isConnected());
            EXPECT_TRUE(session->controls().btnRefresh);
        }
    }
}

// Closing the program stops the router's debug daemon before the session
// ends; a router that never answers the listing holds the close only for the
// bounded wait, and the adslctl-less "adsl info" family ends at once.
TEST_F(SessionTest, CloseSessionKillsTheDaemonFirst)
{
    run(QStringLiteral("telnet access debug"));
    run(QStringLiteral("telnet pid 121"));
    ASSERT_TRUE(connectWith(TelnetSender::ConnectButton));
    ASSERT_TRUE(waitReplies(1));
    int done = 0;
    session->closeSession(5000, [&] { ++done; });
    ASSERT_TRUE(testsupport::waitFor([&] { return done == 1; }));
    EXPECT_FALSE(session->isConnected());
    EXPECT_TRUE(linesTyped().contains(QStringLiteral("kill 121\t-\tkill")));
    session->closeSession(5000, [&] { ++done; }); // not connected: done at once
    EXPECT_EQ(2, done);
}

TEST_F(SessionTest, CloseSessionWaitIsBounded)
{
    run(QStringLiteral("telnet fail hang"));
    ASSERT_TRUE(connectWith(TelnetSender::TerminalConnectButton));
    ASSERT_TRUE(session->isConnected());
    int done = 0;
    session->closeSession(200, [&] { ++done; });
    EXPECT_EQ(0, done);
    ASSERT_TRUE(testsupport::waitFor([&] { return done == 1; }));
    EXPECT_FALSE(session->isConnected());
    QTest::qWait(300);
    EXPECT_EQ(1, done); // once, whatever comes later
}

TEST_F(SessionTest, AdslInfoFamilyLeavesTheDebugCheckAlone)
{
    startSim("v5");
    settings.Telnet.V123 = false;
    settings.Router.V5Telnet = true;
    settings.Telnet.TelnetPrompt = QStringLiteral("/ #");
    ASSERT_TRUE(connectWith(TelnetSender::ConnectButton));
    ASSERT_TRUE(testsupport::waitFor(
        [&] { return !replies.isEmpty() && replies.last().text.contains(QStringLiteral("Link encap")); }));
    const int before = static_cast<int>(replies.size());
    session->Timer3Timer();
    ASSERT_TRUE(waitReplies(before + 1));
    EXPECT_TRUE(replies.last().text.contains(QStringLiteral("/usr/sbin/utelnetd -d")));
    EXPECT_TRUE(session->flags().DebugCheckPending);
    QTest::qWait(50);
    for (const QString &l : linesTyped())
        EXPECT_FALSE(l.startsWith(QStringLiteral("kill")));
}

// ---- polling, disconnect, failures after log-in -------------------------------------

TEST_F(SessionTest, PollStepConnectsWhileRunningThenRefreshes)
{
    session->setRunning(false);
    session->pollStep(); // not running: no connect; the refresh has nothing to send to
    EXPECT_FALSE(session->isConnecting());
    EXPECT_TRUE(session->flags().StatsRequested);
    EXPECT_TRUE(journal("telnet").isEmpty());

    session->setRunning(true);
    session->pollStep();
    EXPECT_TRUE(session->isConnecting());
    session->pollStep(); // a second poll during the connect adds nothing
    ASSERT_TRUE(waitReplies(1));
    QTest::qWait(50);
    EXPECT_EQ(2, linesTyped().size());
    EXPECT_EQ(1, replies.size());
    EXPECT_FALSE(session->controls().btnDisconnect); // Run is down: monitoring owns the session
    session->pollStep(); // connected: the refresh alone
    ASSERT_TRUE(waitReplies(2));
    EXPECT_EQ(1, journal("http", "GET").size());
}

// Run takes the disconnect buttons away and enables the panes; Stop gives
// them back only while a session is there to end.
TEST_F(SessionTest, RunAndStopSetDisconnectButtonsAndPanes)
{
    session->setRunning(true);
    EXPECT_TRUE(session->controls().statsPanes && session->controls().Memo1);
    session->setRunning(false); // nothing connected: nothing to end
    EXPECT_FALSE(session->controls().btnDisconnect);
    ASSERT_TRUE(connectWith(TelnetSender::ConnectButton));
    session->setRunning(true);
    EXPECT_FALSE(session->controls().btnDisconnect);
    session->setRunning(false);
    EXPECT_TRUE(session->controls().btnDisconnect);
}

TEST_F(SessionTest, DisconnectAndReconnect)
{
    ASSERT_TRUE(connectWith(TelnetSender::ConnectButton));
    ASSERT_TRUE(waitReplies(1));
    session->btnDisConnect1Click();
    EXPECT_FALSE(session->isConnected());
    EXPECT_TRUE(messages.contains(QStringLiteral("Telnet Disconnect.")));
    const TelnetControls &c = session->controls();
    EXPECT_TRUE(c.btnConnect);
    EXPECT_TRUE(c.btnConnect1);
    EXPECT_FALSE(c.btnRefresh);
    EXPECT_FALSE(c.btnDisconnect);
    EXPECT_FALSE(c.commandButtons);
    EXPECT_FALSE(c.toneButtons);
    ASSERT_TRUE(testsupport::waitFor([&] { return sim.telnetSessions() == 0; }));
    session->SendText(QStringLiteral("ps")); // dropped without a word
    ASSERT_TRUE(connectWith(TelnetSender::ConnectButton));
    ASSERT_TRUE(waitReplies(2));
    EXPECT_EQ(2, journal("telnet", "connect").size());
    EXPECT_EQ(4, linesTyped().size());
}

TEST_F(SessionTest, DisconnectDuringTheLogInStopsIt)
{
    startSim("v1234", "user");
    settings.Telnet.LoginTelnet = true;
    settings.Telnet.DGTeamTimeout = 200;
    finished.reset();
    session->btnConnectClick(TelnetSender::ConnectButton);
    ASSERT_TRUE(testsupport::waitFor([&] { return sim.telnetSessions() == 1; }));
    session->btnDisConnect1Click();
    EXPECT_EQ(std::optional<bool>(false), finished);
    QTest::qWait(500);
    EXPECT_TRUE(journal("telnet", "login").isEmpty());
    EXPECT_FALSE(session->isConnecting());
}

TEST_F(SessionTest, RouterThatHangsOrClosesAfterLogIn)
{
    run("telnet fail hang");
    ASSERT_TRUE(connectWith(TelnetSender::ConnectButton));
    ASSERT_TRUE(waitLines(2));
    QTest::qWait(100);
    EXPECT_TRUE(replies.isEmpty());
    EXPECT_TRUE(session->isConnected());
    session->btnDisConnect1Click();

    run("telnet fail close");
    connection.clear();
    ASSERT_TRUE(connectWith(TelnetSender::ConnectButton));
    ASSERT_TRUE(testsupport::waitFor([&] { return !session->isConnected(); }));
    EXPECT_EQ((QList<bool>{true, false}), connection);
    EXPECT_TRUE(session->controls().btnConnect); // shown down, so Connect works again
    EXPECT_TRUE(messages.contains(QStringLiteral("Telnet: Disconnected.")));
    run("telnet fail none");
    ASSERT_TRUE(connectWith(TelnetSender::ConnectButton));
    ASSERT_TRUE(waitReplies(1));
}

TEST_F(SessionTest, DataIsIgnoredWhileTelnetIsOff)
{
    ASSERT_TRUE(connectWith(TelnetSender::TerminalConnectButton));
    ASSERT_TRUE(testsupport::waitFor([&] { return session->terminal().endsAtPrompt(QStringLiteral("#")); }));
    settings.Router.Telnet = false;
    session->clearTerminal();
    session->SendText(QStringLiteral("ps -x"));
    ASSERT_TRUE(waitLines(1));
    QTest::qWait(100);
    EXPECT_TRUE(session->terminalText().isEmpty());
}

} // namespace
