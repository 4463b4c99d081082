// The telnet terminal, "Reboot Now", the schedule menu and the ping of a
// poll, followed through the window and the simulated router's journal.
#include "SimWindowFixture.h"
#include "acquisition/PingRunner.h"
#include "acquisition/TelnetSession.h"
#include "pages/AlarmPage.h"
#include "charts/ChartSet.h"
#include "charts/ChartSeries.h"
#include "mainwindow/ScheduleRunButton.h"
#include "pages/TForm16.h"
#include "acquisition/TelnetScriptRunner.h"
#include "OnlyChild.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QMenu>
#include <QPointer>
#include <QTest>

using testsupport::onlyChild;

namespace {

struct TerminalWindowTest : SimWindowTest {
    QStringList journal(const QString &channel, const QString &method)
    {
        QStringList out;
        for (const QString &l : sim.journal().lines()) {
            const QStringList f = l.split(QLatin1Char('\t'));
            if (f.value(1) == channel && f.value(2) == method)
                out << f.value(3);
        }
        return out;
    }
    QMessageBox *box(const char *name)
    {
        QMessageBox *b = nullptr;
        testsupport::waitFor([&] { return (b = form->findChild<QMessageBox *>(QLatin1String(name))) != nullptr; },
                             3000);
        return b;
    }
    QStringList logLines(const QString &file)
    {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
};

} // namespace

TEST_F(TerminalWindowTest, TypedCommandGoesOutWithoutItsPrompt)
{
    open("[Router]\nTelnet=1\n[Telnet]\nTelnetIP=127.0.0.1\nTelnetPort=" + QByteArray::number(sim.telnetPort()) +
         "\nTelnetUsername=admin\n");
    onlyChild<TelnetSession>(*form)->btnConnectClick(TelnetSender::Window);
    ASSERT_TRUE(testsupport::waitFor([&] { return onlyChild<TelnetSession>(*form)->isConnected(); }, 10000));
    auto *memo = form->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
    ASSERT_TRUE(memo);
    ASSERT_TRUE(testsupport::waitFor([&] { return memo->toPlainText().endsWith(QLatin1String("# ")); }, 5000));
    sim.journal().clear();
    QTest::keyClicks(memo, QStringLiteral("ifconfig"));
    QTest::keyClick(memo, Qt::Key_Return);
    ASSERT_TRUE(testsupport::waitFor([&] { return !journal("telnet", "line").isEmpty(); }, 5000));
    EXPECT_EQ(journal("telnet", "line").first(), QStringLiteral(" ifconfig"));
}

// The summary's Connect asks for the statistics at once; the terminal's own
// Connect only opens the session. Either Disconnect ends it.
TEST_F(TerminalWindowTest, SummaryAndTerminalConnectButtons)
{
    struct Case {
        const char *connect, *disconnect;
        bool statistics;
    };
    const Case cases[] = {{"btnConnect", "btnDisconnect", true}, {"btnConnect1", "btnDisConnect1", false}};
    open("[Router]\nTelnet=1\n[Telnet]\nUseHttpDebug=0\nTelnetIP=127.0.0.1\nTelnetPort="
         + QByteArray::number(sim.telnetPort()) + "\n");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.connect);
        sim.journal().clear();
        auto *connectButton = form->findChild<QPushButton *>(QLatin1String(c.connect));
        auto *disconnectButton = form->findChild<QPushButton *>(QLatin1String(c.disconnect));
        ASSERT_TRUE(connectButton && disconnectButton);
        ASSERT_TRUE(connectButton->isEnabled());
        connectButton->click();
        ASSERT_TRUE(testsupport::waitFor([&] { return onlyChild<TelnetSession>(*form)->isConnected(); }, 10000));
        EXPECT_FALSE(form->findChild<QPushButton *>(QStringLiteral("btnConnect1"))->isEnabled());
        QTest::qWait(300);
        EXPECT_EQ(journal("telnet", "line").contains(QStringLiteral("cat /proc/avalanche/avsar_modem_stats")),
                  c.statistics);
        ASSERT_TRUE(testsupport::waitFor([&] { return disconnectButton->isEnabled(); }, 5000));
        disconnectButton->click();
        EXPECT_FALSE(onlyChild<TelnetSession>(*form)->isConnected());
        EXPECT_TRUE(connectButton->isEnabled());
    }
}

TEST_F(TerminalWindowTest, RebootNowTriesTheUrlTwiceAtMost)
{
    open("[Alarm]\nUseWeb=1\nUseTelnet=0\nRebootURL=http://127.0.0.1:" + QByteArray::number(sim.httpPort()) +
         "/setup.cgi?next_file=diag.htm&todo=reboot\n");
    sim.execute(QStringLiteral("fail reboot 500"));
    sim.journal().clear();
    auto *page = form->findChild<AlarmPage *>();
    ASSERT_TRUE(page);
    page->btnReboot->click();
    QMessageBox *b = box("RebootNowBox");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->text(), QStringLiteral("Reboot Router Now!!  Please confirm."));
    EXPECT_FALSE(form->runState().RebootInProgress);
    b->button(QMessageBox::Yes)->click();
    EXPECT_TRUE(form->runState().RebootInProgress);
    testsupport::waitFor([&] { return journal("http", "GET").size() >= 3; }, 3000); // a third would be a fault
    EXPECT_EQ(journal("http", "GET").filter(QStringLiteral("todo=reboot")).size(), 2);
}

// A confirmed "Reboot Now" by telnet goes over the window's own session, or
// through the SpeedTouch 585's page for that router.
TEST_F(TerminalWindowTest, RebootNowByTelnetGoesOverTheWindowsSessions)
{
    const QByteArray port = QByteArray::number(sim.telnetPort());
    const auto rebootNow = [&] {
        auto *page = form->findChild<AlarmPage *>();
        ASSERT_TRUE(page);
        page->btnReboot->click();
        QMessageBox *b = box("RebootNowBox");
        ASSERT_TRUE(b);
        b->button(QMessageBox::Yes)->click();
    };

    open("[Router]\nTelnet=1\n[Telnet]\nTelnetIP=127.0.0.1\nTelnetPort=" + port
         + "\nTelnetUsername=admin\n[Alarm]\nUseWeb=0\nUseTelnet=1\n");
    onlyChild<TelnetSession>(*form)->btnConnectClick(TelnetSender::Window);
    ASSERT_TRUE(testsupport::waitFor([&] { return onlyChild<TelnetSession>(*form)->isConnected(); }, 10000));
    sim.journal().clear();
    rebootNow();
    ASSERT_TRUE(testsupport::waitFor([&] { return !journal("telnet", "line").isEmpty(); }, 5000));
    EXPECT_EQ(journal("telnet", "line").first(), QStringLiteral(" reboot"));
    EXPECT_TRUE(journal("http", "GET").filter(QStringLiteral("reboot")).isEmpty());

    open("[Router]\nST585=1\nV1234=0\n[585Telnet]\nTelnetPort=" + port + "\n[Alarm]\nUseWeb=0\nUseTelnet=1\n");
    auto *memo5 = form->findChild<QPlainTextEdit *>(QStringLiteral("memo5"));
    ASSERT_TRUE(memo5);
    rebootNow();
    EXPECT_TRUE(memo5->toPlainText().split(QLatin1Char('\n')).contains(QStringLiteral("system reboot")));
}

TEST_F(TerminalWindowTest, ScheduleMenuFollowsTheCaptureHours)
{
    open("[Capture]\nBetweenHours=0\nFromHours=8\nToHours=17\n");
    form->btnSchedRun->popupSchedPopup();
    EXPECT_FALSE(form->btnSchedRun->mnuRunSched->isEnabled());
    EXPECT_FALSE(form->btnSchedRun->mnuSchedulePlotOnly->isEnabled());
    form->settings().Capture.BetweenHours = true;
    form->btnSchedRun->popupSchedPopup();
    EXPECT_TRUE(form->btnSchedRun->mnuRunSched->isEnabled());
    EXPECT_EQ(form->btnSchedRun->mnuRunSched->text(),
              QStringLiteral("Run and plot during scheduled capture (0800 - 1700)"));
}

// Outside its hours a plot-only run writes its log lines and leaves the charts alone.
TEST_F(TerminalWindowTest, PlotOnlyRunOutsideItsHoursLogsAndPlotsNothing)
{
    const int hour = QTime::currentTime().hour();
    const QString log = dir.filePath(QStringLiteral("stats.log"));
    open("[Capture]\nBetweenHours=1\nAllTheTime=0\nNever=0\nFromHours=" + QByteArray::number((hour + 2) % 24) +
         "\nToHours=" + QByteArray::number((hour + 3) % 24) + "\n[System]\nLog=1\nLogFile=" + log.toUtf8() +
         "\n[Log]\nLogAtSample=1\n");
    form->btnSchedRun->popupSchedPopup();
    form->btnSchedRun->mnuSchedulePlotOnly->trigger();
    ASSERT_TRUE(testsupport::waitFor([&] { return logLines(log).size() >= 2; }, 15000)) << messages().join(QLatin1Char('\n')).toStdString() << logLines(log).join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(form->windowTitle().startsWith(QStringLiteral("Veltrano 6.3   [Scheduled Plot ")));
    EXPECT_TRUE(form->runState().PlotSuppressed);
    EXPECT_EQ(onlyChild<ChartSet>(*form)->series(QStringLiteral("Series1"))->count(), 0);
    form->btnStopClick();
    EXPECT_FALSE(form->runState().SchedulePlotOnly);
}

TEST_F(TerminalWindowTest, EachLogLineCarriesItsOwnPollsPing)
{
    QTemporaryDir tools;
    const QString fake = tools.filePath(QStringLiteral("ping"));
    testsupport::writeAll(fake, "#!/bin/sh\necho 'rtt min/avg/max/mdev = 23.0/23.0/23.0/0.0 ms'\n");
    QFile::setPermissions(fake, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString log = dir.filePath(QStringLiteral("stats.log"));
    open("[Ping]\nPing=1\nShowPing=1\nLogPing=1\nPingHost=127.0.0.1\n[System]\nLog=1\nLogFile=" + log.toUtf8() +
         "\n[Log]\nLogAtSample=1\n");
    onlyChild<PingRunner>(*form)->setProgram(fake);
    form->btnStart->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return !logLines(log).isEmpty(); }, 15000));
    EXPECT_TRUE(logLines(log).first().contains(QStringLiteral("Ping=23"))) << logLines(log).first().toStdString();
    form->btnStopClick();
}

// The ping tab's host field: loaded from [Ping] PingHost, and what the user
// types is what the next poll pings and what the settings file keeps.
TEST_F(TerminalWindowTest, PingHostFieldFeedsThePollAndTheSettingsFile)
{
    QTemporaryDir tools;
    const QString fake = tools.filePath(QStringLiteral("ping"));
    const QString args = tools.filePath(QStringLiteral("args"));
    // Written aside and renamed, so the file is whole once it exists.
    testsupport::writeAll(fake, "#!/bin/sh\necho \"$@\" > '" + args.toUtf8() + ".part' && mv '" + args.toUtf8()
                                    + ".part' '" + args.toUtf8()
                                    + "'\necho 'rtt min/avg/max/mdev = 1.0/1.0/1.0/0.0 ms'\n");
    QFile::setPermissions(fake, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    open("[Ping]\nPing=1\nShowPing=1\nPingHost=127.0.0.2\n");
    auto *edit = form->findChild<QLineEdit *>(QStringLiteral("edPingAddress"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QStringLiteral("127.0.0.2"));
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("127.0.0.3"));
    onlyChild<PingRunner>(*form)->setProgram(fake);
    form->btnStart->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return QFile::exists(args); }, 15000));
    form->btnStopClick();
    EXPECT_TRUE(testsupport::readAll(args).trimmed().endsWith(" 127.0.0.3")) << testsupport::readAll(args).toStdString();
    ASSERT_TRUE(form->SaveIni());
    EXPECT_TRUE(QString::fromLatin1(testsupport::readAll(ini)).split(QRegularExpression(QStringLiteral("\\r?\\n"))).contains(QStringLiteral("PingHost=127.0.0.3")));
}

// The script viewer sends the script's commands over the 585 session, each after the prompt.
TEST(ScriptViewer, ExecuteSendsEachCommandAfterThePromptAndCloses)
{
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("s.sh"));
    testsupport::writeAll(script, "# comment\n\nadsl info\nsystem reboot\n");
    TelnetScriptRunner runner;
    QStringList sent;
    runner.setSpeedTouchSender([&](const QString &line, std::function<void(const QString &)> done) {
        sent << line;
        QTimer::singleShot(10, [done] { done(QStringLiteral("{admin}=>")); }); // the router's prompt comes back
        return true;
    });
    auto *viewer = new TForm16(script, runner);
    QPointer<TForm16> alive(viewer);
    EXPECT_TRUE(viewer->Memo1->toPlainText().contains(QStringLiteral("adsl info")));
    viewer->Button1->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return alive.isNull(); }, 5000));
    EXPECT_EQ(sent, QStringList({"adsl info", "system reboot"}));
}
