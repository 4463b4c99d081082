// What the telnet terminal sends: typed lines, scripts, the target noise
// margin change and the schedule captions; the sending checked in the
// simulated router's journal.
#include "RouterSim.h"
#include "TestSupport.h"
#include "acquisition/RouterHttpClient.h"
#include "acquisition/RunSchedule.h"
#include "acquisition/RunState.h"
#include "acquisition/TargetMarginChange.h"
#include "acquisition/TelnetScriptRunner.h"
#include "acquisition/TelnetSession.h"
#include "acquisition/TerminalCommands.h"
#include "settings/SettingsStore.h"

#include <QDateTime>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace terminalcommands;

TEST(TerminalCommands, TypedLineLosesItsPromptAndGetsTheLeadingBlank)
{
    struct {
        const char *line, *prompt, *sent;
    } cases[] = {
        {"# ifconfig", "#", " ifconfig"},
        {"#ifconfig", "#", " ifconfig"},
        {"/ #   cat /proc/net/arp", "/ #", " cat /proc/net/arp"},
        {"# echo a#b", "#", " echo a#b"}, // only the prompt goes, the command keeps its own "#"
        {"> ", ">", ""},
        {"ps -x", "#", " ps -x"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(typedCommand(QString::fromLatin1(c.line), QString::fromLatin1(c.prompt)), QString::fromLatin1(c.sent))
            << c.line;
}

TEST(TerminalCommands, ScriptsSkipCommentsAndEmptyLines)
{
    EXPECT_EQ(scriptCommands(QStringLiteral("# c\r\n\r\nps -x\r\n   \n#x\ncat /proc/meminfo")),
              QStringList({"ps -x", "cat /proc/meminfo"}));
    EXPECT_TRUE(scriptCommands(QString()).isEmpty());
}

TEST(TerminalCommands, MarkedLabels)
{
    EXPECT_EQ(markedLabel(QStringLiteral("  Noise Margin: 6.0 ")), QStringLiteral("Noise Margin"));
    EXPECT_EQ(markedLabel(QStringLiteral("Attenuation")), QStringLiteral("Attenuation"));
    EXPECT_FALSE(markedLabel(QStringLiteral("6.0")));
    EXPECT_FALSE(markedLabel(QStringLiteral("   ")));
    EXPECT_EQ(markedLabel(QStringLiteral(":x")), QStringLiteral(":x")); // a leading ":" is kept, as typed
}

TEST(TerminalCommands, TargetMarginChecksAndValue)
{
    struct {
        const char *unadjusted, *desired;
        bool adslctl;
        const char *error;
        int value;
    } cases[] = {
        {"6", "9", true, "", 150},
        {"6", "6.9", false, "", 6},
        {"", "6", false, "Un-adjusted Noise Margin value is too low", 0},
        {"0", "6", true, "Un-adjusted Noise Margin value is too low", 0}, // no percentage of nothing
        {"-5", "35", false, "", 35},                                       // the limits themselves pass
        {"35.5", "6", false, "Un-adjusted Noise Margin value is too high", 0},
        {"6", "-6", false, "Desired Noise Margin value is too low", 0},
        {"6", "36", true, "Desired Noise Margin value is too high", 0},
    };
    for (const auto &c : cases) {
        const TargetMargin m = targetMargin(QString::fromLatin1(c.unadjusted), QString::fromLatin1(c.desired), c.adslctl);
        EXPECT_EQ(m.error, QString::fromLatin1(c.error)) << c.unadjusted << " " << c.desired;
        if (m.error.isEmpty()) {
            EXPECT_EQ(m.value, c.value) << c.unadjusted << " " << c.desired;
        }
    }
    const TargetMargin pc = targetMargin(QStringLiteral("6"), QStringLiteral("9"), true);
    EXPECT_EQ(pc.command(), QStringLiteral("adslctl configure --snr 150"));
    EXPECT_EQ(pc.adjustedMessage(), QStringLiteral("SNR Target Adjusted to 150%"));
    EXPECT_EQ(pc.confirmation,
              QStringLiteral("Change the Target Noise Margin to 150% of the default Noise Margin?  Please confirm."));
    EXPECT_EQ(lastAdjustedText(QStringLiteral("Mon 07 Dec 2026 10:00:00"), false, QStringLiteral("9"), pc),
              QStringLiteral("Last Adjusted:  Mon 07 Dec 2026 10:00:00 to 9dB (150%)"));
    const TargetMargin db = targetMargin(QStringLiteral("6"), QStringLiteral("6.9"), false);
    EXPECT_EQ(lastAdjustedText(QStringLiteral("X"), true, QStringLiteral("6.9"), db),
              QStringLiteral("Last Adjusted:  X UTC to 6.9dB"));
}

// The gap between script lines, on the runner's own clock: the gap's timer may fire early (a coarse
// timer, a busy machine), and the next line still waits until 250 ms have passed since the last one.
TEST(TelnetScriptRunnerGap, EachLineWaitsAQuarterSecondAfterTheLastOne)
{
    qint64 now = 5000;
    TelnetScriptRunner runner;
    runner.setMonotonicClock([&now] { return now; });
    QStringList sent;
    runner.setSpeedTouchSender([&sent](const QString &line, std::function<void(const QString &)> done) {
        sent << line;
        done(QString()); // the router's prompt at once
        return true;
    });
    QSignalSpy finished(&runner, &TelnetScriptRunner::finished);
    ASSERT_TRUE(runner.sendCommands({QStringLiteral("a"), QStringLiteral("b")}, false, true));
    EXPECT_EQ(sent, QStringList{QStringLiteral("a")});
    QTimer &gap = runner.lineGap();
    EXPECT_TRUE(gap.isActive());
    EXPECT_EQ(gap.interval(), 250);
    // The gap's timer firing at ms after the first line: the lines sent, the gap re-armed for what is left.
    const struct { qint64 firesAt; int linesSent, gapLeft; } fires[] = {{100, 1, 150}, {249, 1, 1}, {250, 2, 250}, {499, 2, 1}};
    for (const auto &f : fires) {
        SCOPED_TRACE(f.firesAt);
        now = 5000 + f.firesAt;
        QMetaObject::invokeMethod(&gap, "timeout");
        EXPECT_EQ(sent.size(), f.linesSent);
        EXPECT_TRUE(gap.isActive());
        EXPECT_EQ(gap.interval(), f.gapLeft);
        EXPECT_EQ(finished.size(), 0);
    }
    now = 5000 + 500;
    QMetaObject::invokeMethod(&gap, "timeout");
    EXPECT_EQ(sent, QStringList({QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(finished.size(), 1);
}

TEST(RunSchedule, CaptionsAndFlags)
{
    EXPECT_EQ(runschedule::menuCaption(ScheduleMode::Waiting, 8, 17),
              QStringLiteral("Run and plot during scheduled capture (0800 - 1700)"));
    EXPECT_EQ(runschedule::menuCaption(ScheduleMode::PlotOnly, 0, 5),
              QStringLiteral("Run now but plot during scheduled capture (0000 - 0500)"));
    EXPECT_EQ(runschedule::windowCaption(QStringLiteral("Veltrano 6.3"), ScheduleMode::Waiting, 8, 17),
              QStringLiteral("Veltrano 6.3   [Scheduled 0800 - 1700]"));
    EXPECT_EQ(runschedule::windowCaption(QStringLiteral("Veltrano 6.3"), ScheduleMode::PlotOnly, 20, 5),
              QStringLiteral("Veltrano 6.3   [Scheduled Plot 2000 - 0500]"));
    RunState s;
    for (auto [mode, waiting, plotOnly] : {std::tuple{ScheduleMode::Waiting, true, false},
                                           std::tuple{ScheduleMode::PlotOnly, false, true},
                                           std::tuple{ScheduleMode::Immediate, false, false}}) {
        runschedule::apply(mode, s);
        EXPECT_EQ(s.ScheduleWaiting, waiting);
        EXPECT_EQ(s.SchedulePlotOnly, plotOnly);
    }
}

namespace {

// The general session on the simulated adslctl router (its log-in path).
struct TerminalSimTest : ::testing::Test {
    routersim::RouterSim sim;
    TSettings settings;
    RouterHttpClient http;
    std::unique_ptr<TelnetSession> session;
    QStringList messages;

    void SetUp() override
    {
        routersim::RouterSimOptions o;
        o.profile = QStringLiteral("v1234");
        o.control = false;
        QString error;
        ASSERT_TRUE(sim.start(o, &error)) << error.toStdString();
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
        settings.System.Sample = 5;
        session = std::make_unique<TelnetSession>(settings, http);
        session->setPromptTimeoutMs(300);
    }

    bool connect()
    {
        std::optional<bool> done;
        QObject::connect(session.get(), &TelnetSession::connectFinished, [&](bool c) { done = c; });
        session->btnConnectClick(TelnetSender::Window);
        testsupport::waitFor([&] { return done.has_value(); }, 10000);
        session->disconnect();
        return done.value_or(false);
    }
    // The command lines the router received, with their journal times.
    QList<std::pair<QDateTime, QString>> typed()
    {
        QList<std::pair<QDateTime, QString>> out;
        for (const QString &l : sim.journal().lines()) {
            const QStringList f = l.split(QLatin1Char('\t'));
            if (f.value(1) == QLatin1String("telnet") && f.value(2) == QLatin1String("line"))
                out << std::pair{QDateTime::fromString(f.value(0), Qt::ISODateWithMs), f.value(3)};
        }
        return out;
    }
    QStringList typedLines()
    {
        QStringList out;
        for (const auto &t : typed())
            out << t.second;
        return out;
    }
};

} // namespace

TEST_F(TerminalSimTest, ScriptSendsOnlyItsCommandsInOrder)
{
    ASSERT_TRUE(connect());
    sim.journal().clear();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.sh"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("# c\n\nps -x\ncat /proc/meminfo\n");
    f.close();
    TelnetScriptRunner runner;
    runner.setGeneralSession(session.get());
    QSignalSpy done(&runner, &TelnetScriptRunner::finished);
    ASSERT_TRUE(runner.SendScript(path, true, false));
    EXPECT_FALSE(runner.SendScript(path, true, false)); // one script at a time
    ASSERT_TRUE(done.wait(5000));
    ASSERT_TRUE(testsupport::waitFor([&] { return typed().size() >= 2; }, 5000));
    EXPECT_EQ(typedLines(), QStringList({" ps -x", " cat /proc/meminfo"}));

    QSignalSpy messages(&runner, &TelnetScriptRunner::systemMessage);
    EXPECT_FALSE(runner.SendScript(dir.filePath(QStringLiteral("missing.sh")), true, false));
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(TerminalSimTest, TargetMarginConnectsSendsAndDisconnects)
{
    TargetMarginChange change(*session);
    change.setPromptWaitMs(3000);
    QStringList said;
    QObject::connect(&change, &TargetMarginChange::systemMessage, [&](const QString &m) { said << m; });
    std::optional<bool> sent;
    QObject::connect(&change, &TargetMarginChange::finished,
                     [&](bool s, const TargetMargin &) { sent = s; });
    ASSERT_TRUE(change.start(targetMargin(QStringLiteral("6"), QStringLiteral("9"), true), QStringLiteral("#")));
    ASSERT_TRUE(testsupport::waitFor([&] { return sent.has_value(); }, 15000));
    EXPECT_TRUE(*sent);
    EXPECT_TRUE(typedLines().contains(QStringLiteral("adslctl configure --snr 150")));
    EXPECT_EQ(said, QStringList({"Connect Telnet for SNR Target adjustment.", "SNR Target Adjusted to 150%"}));
    EXPECT_TRUE(testsupport::waitFor([&] { return !session->isConnected(); }, 3000));

    // With telnet off nothing connects and nothing is claimed.
    settings.Router.Telnet = false;
    sent.reset();
    said.clear();
    ASSERT_TRUE(change.start(targetMargin(QStringLiteral("6"), QStringLiteral("9"), true), QStringLiteral("#")));
    ASSERT_TRUE(testsupport::waitFor([&] { return sent.has_value(); }, 5000));
    EXPECT_FALSE(*sent);
    EXPECT_FALSE(said.contains(QStringLiteral("SNR Target Adjusted to 150%")));
}
