// Run and Stop against a simulated router: what the user sees in the
// messages pane and the caption, and what the router sees in its journal.
#include "SimWindowFixture.h"
#include "acquisition/PollingCycle.h"
#include "acquisition/TelnetSession.h"
#include "common/NumberFormat.h"
#include "common/WindowHelpers.h"
#include "configuration/TForm2.h"
#include "configuration/TForm8.h"
#include "settings/SettingsHub.h"
#include "charts/ChartSet.h"
#include "chartimages/GraphImages.h"
#include "mainwindow/NoiseTrayIcon.h"
#include "pages/WebServerPage.h"
#include "OnlyChild.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using testsupport::onlyChild;

using RunStopTest = SimWindowTest;

namespace {

// Each attempt's message ends with the client's reason for the failure.
const QString kConnected1 =
    QStringLiteral("Failed to retrieve stats page (router connected but didn't respond  (1)). HTTP/1.1 500 Internal Server Error");
const QString kNotConnected1 =
    QStringLiteral("Failed to retrieve stats page (router not connected (http) (1). Connection refused");
const QString kNotConnected2 = QStringLiteral("Failed to retrieve stats page (router not connected (http) (2)).");

// What a screen reader or a switch device does with a button that stays down: its Toggle action.
void toggleThroughAccessibility(QAbstractButton *button)
{
    QAccessibleActionInterface *actions = QAccessible::queryAccessibleInterface(button)->actionInterface();
    ASSERT_TRUE(actions && actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    actions->doAction(QAccessibleActionInterface::toggleAction());
}

} // namespace

TEST_F(RunStopTest, RunPollsWithCredentialsAndStopHaltsIt)
{
    open();
    form->btnStart->click();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Veltrano 6.3    [Running]"));
    EXPECT_TRUE(form->Timer1->isActive());
    ASSERT_TRUE(testsupport::waitFor([&] { return started(); }));
    const QStringList m = messages();
    EXPECT_LT(m.indexOf(QStringLiteral("Alarm timers reset")), m.indexOf(QStringLiteral("Run button clicked")));
    EXPECT_EQ(m.count(QStringLiteral("Main sample timer: HTTP Login (Run button).")), 1);
    EXPECT_EQ(form->Label2->text(), QStringLiteral("6.5 dB"));

    // The timer goes on polling, every poll with the configured credentials.
    ASSERT_TRUE(testsupport::waitFor([&] { return requests() >= 4; }, 5000));
    for (const QString &line : sim.journal().lines())
        EXPECT_EQ(line.split(QLatin1Char('\t')).value(4), QStringLiteral("admin:quillfen"));

    form->btnStop->click();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Veltrano 6.3"));
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_EQ(messages().last(), QStringLiteral("Stopped"));
    const int after = requests();
    QTest::qWait(1500);
    EXPECT_EQ(requests(), after);
}

TEST_F(RunStopTest, RunPollsASecondTimeWhenTheFirstPollFoundNoNoiseMargin)
{
    open("[Search]\nNoisePos=1\n", 5);
    form->btnStart->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return started(); }));
    EXPECT_EQ(count(QStringLiteral("Main sample timer: HTTP Login (Run button).")), 2);
    EXPECT_EQ(statusPageRequests(), 2);
    form->btnStop->click();
}

TEST_F(RunStopTest, RefusingRouterIsReportedSixTimesInRunAndThreeTimesPerTick)
{
    open();
    fail("down");
    form->btnStart->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return started(); }, 10000));
    // Two first cycles of six attempts each.
    EXPECT_EQ(count(kNotConnected1), 12);
    EXPECT_EQ(count(kNotConnected2), 2);

    ASSERT_TRUE(testsupport::waitFor([&] { return count(kNotConnected2) == 3; }, 5000));
    EXPECT_EQ(count(kNotConnected1), 15);
    form->btnStop->click();
}

TEST_F(RunStopTest, ServerErrorsDuringLaterTicksCountThreeAttempts)
{
    open();
    form->btnStart->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return started(); }));
    sim.journal().clear();
    fail("500");
    ASSERT_TRUE(testsupport::waitFor([&] { return count(kConnected1) >= 3; }, 5000));
    form->btnStop->click();
    EXPECT_EQ(count(kConnected1), 3);
    EXPECT_EQ(statusPageRequests(), 3);
}

TEST_F(RunStopTest, StopThenRunSendsNothingUntilOneSampleLater)
{
    open({}, 3);
    form->btnStart->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return started(); }));
    form->btnStop->click();
    sim.journal().clear();

    form->btnStart->click();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Veltrano 6.3    [Running]"));
    QTest::qWait(2000);
    EXPECT_EQ(requests(), 0);
    ASSERT_TRUE(testsupport::waitFor([&] { return requests() > 0; }, 3000));
    form->btnStop->click();
}

TEST_F(RunStopTest, ATickDuringAPollIsSkipped)
{
    open();
    fail("hang");
    form->btnStart->click();
    // Ticks every second while each attempt hangs for a second: never two polls at once.
    int most = 0;
    testsupport::waitFor([&] {
        most = qMax(most, sim.openHttpConnections());
        return false;
    }, 3500);
    EXPECT_EQ(most, 1);
    EXPECT_TRUE(onlyChild<PollingCycle>(*form)->isBusy());
    form->btnStop->click();
    EXPECT_FALSE(onlyChild<PollingCycle>(*form)->isBusy());
}

TEST_F(RunStopTest, RunRefusesWhenThereIsNothingToMonitor)
{
    struct Case {
        QByteArray extra;
        const char *box;
    };
    const Case cases[] = {
        {"[Search]\nNoiseText=\nSyncText=\nUserText=\n", "No value has been selected to monitor."},
        {"[Router]\nLogin=\n", "The router Login URL needs to be specified."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.box);
        form.reset();
        open(c.extra);
        form->btnStart->click();
        QMessageBox *box = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *b = qobject_cast<QMessageBox *>(w); b && b->isVisible())
                box = b;
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QLatin1String(c.box));
        box->close();
        EXPECT_FALSE(form->Timer1->isActive());
        EXPECT_TRUE(form->btnStop->isChecked());
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Veltrano 6.3"));
        QTest::qWait(50);
        EXPECT_EQ(requests(), 0);
    }
}

TEST_F(RunStopTest, TelnetOnlyRunSaysHttpIsOffAndFetchesNothing)
{
    open("[Telnet]\nDisableHTTP=1\n[Router]\nLogin=\n");
    form->btnStart->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return started(); }));
    EXPECT_EQ(count(QStringLiteral("HTTP DISABLED. Experimental feature. Some functions may not work as expected!")), 1);
    QTest::qWait(1200);
    EXPECT_EQ(requests(), 0);
    form->btnStop->click();
}

TEST_F(RunStopTest, AnsweringCancelToTheAppendQuestionLeavesStopDown)
{
    const QString log = dir.filePath(QStringLiteral("stats.txt"));
    testsupport::writeAll(log, "old line\n");
    open("[System]\nLog=1\nLogFile=" + log.toUtf8() + "\n");
    form->btnStart->click();
    ASSERT_NE(form->AppendConfirmBox, nullptr);
    EXPECT_EQ(form->AppendConfirmBox->text(), QStringLiteral("Append new data to \"%1\" ?").arg(log));
    form->AppendConfirmBox->button(QMessageBox::Cancel)->click();
    EXPECT_TRUE(form->btnStop->isChecked());
    EXPECT_FALSE(form->Timer1->isActive());
    QTest::qWait(50);
    EXPECT_EQ(requests(), 0);

    form->btnStart->click();
    ASSERT_NE(form->AppendConfirmBox, nullptr);
    form->AppendConfirmBox->button(QMessageBox::Yes)->click();
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(form->statusPanel(3), log);
    form->btnStop->click();
}

TEST_F(RunStopTest, AccessibleToggleOnRunStopAndTheWebServerButtonsDoesWhatAClickDoes)
{
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    testsupport::writeAll(logFile(), "old line\n");
    open("[System]\nLog=1\nLogFile=" + logFile().toUtf8() + "\n[WebServer]\nPort=" + QByteArray::number(port) + "\n");

    // Run asks its question as for a click, and runs once it is answered.
    toggleThroughAccessibility(form->btnStart);
    ASSERT_NE(form->AppendConfirmBox, nullptr);
    EXPECT_EQ(form->AppendConfirmBox->text(), QStringLiteral("Append new data to \"%1\" ?").arg(logFile()));
    form->AppendConfirmBox->button(QMessageBox::Yes)->click();
    EXPECT_TRUE(form->btnStart->isChecked());
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Veltrano 6.3    [Running]"));
    ASSERT_TRUE(testsupport::waitFor([&] { return started() && requests() > 0; }));

    toggleThroughAccessibility(form->btnStop);
    EXPECT_TRUE(form->btnStop->isChecked());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Veltrano 6.3"));
    EXPECT_EQ(messages().last(), QStringLiteral("Stopped"));
    const int polled = requests();
    QTest::qWait(1500);
    EXPECT_EQ(requests(), polled);

    QLabel *state = form->WebPage->Label43;
    const auto serverAnswers = [&] {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        return socket.waitForConnected(2000);
    };
    toggleThroughAccessibility(form->WebPage->btnWebStart);
    EXPECT_TRUE(state->text().startsWith(QStringLiteral("SERVER RUNNING (http://127.0.0.1:%1/").arg(port))) << state->text().toStdString();
    EXPECT_TRUE(serverAnswers());

    toggleThroughAccessibility(form->WebPage->btnWebStop);
    EXPECT_TRUE(form->WebPage->btnWebStop->isChecked());
    EXPECT_EQ(state->text(), QStringLiteral("SERVER STOPPED"));
    EXPECT_FALSE(serverAnswers());
}

TEST_F(RunStopTest, AConfiguredProgramPressesRunAfterTheAutoStartDelay)
{
    open("[System]\nAutoStart=1\nConf=1\nAutoStartDelay=1\n", 5);
    EXPECT_FALSE(form->Timer1->isActive());
    QTest::qWait(500);
    EXPECT_EQ(requests(), 0);
    ASSERT_TRUE(testsupport::waitFor([&] { return requests() > 0; }, 3000));
    EXPECT_TRUE(form->btnStart->isChecked());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Veltrano 6.3    [Running]"));
    form->btnStop->click();
}

TEST_F(RunStopTest, NeverConfiguredOrSafeStartedProgramsDoNotRunByThemselves)
{
    open("[System]\nAutoStart=1\nConf=0\nAutoStartDelay=1\n", 5);
    EXPECT_FALSE(form->tmrAutoStartDelay->isActive());

    form.reset();
    testsupport::writeAll(ini, "[System]\nAutoStart=1\nConf=1\nAutoStartDelay=1\n[Router]\nLogin=" + loginUrl() + "\n");
    form = std::make_unique<TForm1>(/*safeStart=*/true);
    EXPECT_FALSE(form->tmrAutoStartDelay->isActive());
    EXPECT_TRUE(form->btnStop->isChecked());
    QTest::qWait(1500);
    EXPECT_EQ(requests(), 0);
}

TEST_F(RunStopTest, TelnetMonitoringConnectsAndSendsTheStatisticsCommands)
{
    open("[Router]\nTelnet=1\n[Telnet]\nUseHttpDebug=0\nTelnetIP=127.0.0.1\nTelnetPort="
             + QByteArray::number(sim.telnetPort()) + "\n",
         5);
    form->btnStart->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return started(); }, 10000));
    ASSERT_TRUE(testsupport::waitFor([&] { return onlyChild<TelnetSession>(*form)->isConnected(); }, 10000));
    auto *memo = form->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
    ASSERT_NE(memo, nullptr);
    ASSERT_TRUE(testsupport::waitFor([&] { return sim.journal().lines().filter(QStringLiteral("telnet")).size() > 2; }));
    EXPECT_TRUE(testsupport::waitFor([&] { return !memo->toPlainText().isEmpty(); }));
    // The reply is parsed: the statistics panes fill and the telnet figures follow the router.
    auto *stats = form->findChild<QPlainTextEdit *>(QStringLiteral("Memo2"));
    ASSERT_NE(stats, nullptr);
    EXPECT_TRUE(testsupport::waitFor([&] { return !stats->toPlainText().isEmpty(); }, 10000));
    EXPECT_TRUE(testsupport::waitFor([&] { return form->telnetFigures().TelnetRxSync > 0; }, 10000));

    // The next poll plots the telnet figures on the telnet charts.
    ASSERT_TRUE(testsupport::waitFor([&] { return !onlyChild<PollingCycle>(*form)->isBusy(); }));
    form->Timer1Timer(false);
    EXPECT_TRUE(testsupport::waitFor([&] { return onlyChild<ChartSet>(*form)->series(QStringLiteral("LineSeries14"))->count() > 0; }));
    form->btnStop->click();
}

// Telnet-only monitoring, in the cycle's own order: the poll plots the telnet
// sync (which spends the parse's reading), and the tray hint, the image
// captions and the next poll's images still carry the sync the router gave.
TEST_F(RunStopTest, TelnetOnlyPollKeepsTheSyncForHintAndImageCaptions)
{
    open("[Router]\nTelnet=1\n[Telnet]\nDisableHTTP=1\nUseHttpDebug=0\nTelnetIP=127.0.0.1\nTelnetPort="
             + QByteArray::number(sim.telnetPort()) + "\n[Capture]\nOverlaySync=1\nOverlayNoise=1\n",
         5);
    form->btnStart->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return form->telnetFigures().TelnetRxSync > 0; }, 10000));
    ASSERT_TRUE(testsupport::waitFor([&] { return !onlyChild<PollingCycle>(*form)->isBusy(); }));
    // The next session takes the commands but never answers, so no later
    // parse refills the figures behind the plotting step's back.
    onlyChild<TelnetSession>(*form)->btnDisConnect1Click();
    sim.execute(QStringLiteral("telnet fail hang"));
    form->Timer1Timer(false);
    ASSERT_TRUE(testsupport::waitFor([&] {
        return onlyChild<ChartSet>(*form)->series(QStringLiteral("LineSeries14"))->count() > 0 && !onlyChild<PollingCycle>(*form)->isBusy();
    }));
    form->btnStop->click();
    const QString sync = QString::number(form->telnetFigures().TelnetRxSync);
    ASSERT_FALSE(form->telnetFigures().Fresh.Sync); // plotted
    // The icon's tool tip is the hint the user sees.
    EXPECT_TRUE(form->TrayIcon->toolTip().contains(QStringLiteral("\r\nSync speed ")
                                                   + FormatThousands(sync) + QStringLiteral(" Kbps")))
        << form->TrayIcon->toolTip().toStdString();
    const QString noise = numfmt::fixed(form->telnetFigures().TelnetNoiseNow, 1);
    EXPECT_EQ(onlyChild<GraphImages>(*form)->GraphImageCaption(QStringLiteral(" "), CaptionStyle::Capture),
              QStringLiteral(" [Rx-Sync: %1]  [Rx-Noise: %2] ").arg(sync, noise));
}

// The first poll finds a page that names a DG834 on a router not set up as one: the answer (OK, and
// "don't show again") is announced to every view as it is given, and saved.
TEST_F(RunStopTest, TheDg834AnswerIsAnnouncedAndSaved)
{
    open("[System]\nConfirmClose=0\nAdvise=1\n[Router]\nV1234=0\nV5=0\nNotNetgear=1\n", 5);
    QSignalSpy announced(onlyChild<SettingsHub>(*form), &SettingsHub::changed);
    form->show();
    form->btnStart->click();
    TForm8 *question = nullptr;
    ASSERT_TRUE(testsupport::waitFor([&] { return (question = form->findChild<TForm8 *>()) && question->isVisible(); }, 10000));
    announced.clear();
    question->cbAdvise->click();
    question->btnOK->click();
    SettingKeys heard;
    for (const QList<QVariant> &args : announced)
        heard.unite(args.at(0).value<SettingKeys>());
    form->btnStop->click();
    QTest::mouseClick(form->btnSave, Qt::LeftButton);
    for (const auto &[key, value] : {std::pair{"IsDG834", "1"}, std::pair{"Advise", "0"}}) {
        EXPECT_TRUE(heard.contains(QStringLiteral("System/") + QLatin1String(key))) << key;
        EXPECT_EQ(testsupport::iniValue(testsupport::readAll(ini), "System", key), QLatin1String(value));
    }
}

// A poll that reads the user figure as a time (the line's uptime): the open Configuration dialog's
// averaging of that figure is locked at once.
TEST_F(RunStopTest, AUserFigureReadAsATimeLocksItsAveragingInTheOpenDialog)
{
    open("[System]\nAdvise=0\n[Search]\nUserText=lass=\"ttext\">\nUserPos=2057\n", 5);
    onlyChild<TForm2>(*form)->btnConfigureClick();
    auto *average = onlyChild<TForm2>(*form)->findChild<QCheckBox *>(QStringLiteral("cbUser1Avg"));
    ASSERT_TRUE(average && average->isEnabled());
    form->btnStart->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return started() && !onlyChild<PollingCycle>(*form)->isBusy(); }, 10000));
    EXPECT_TRUE(form->settings().Graph.NotANumber);
    EXPECT_FALSE(average->isEnabled());
    form->btnStop->click();
}

TEST_F(RunStopTest, ClosingStopsMonitoringAndLogsOutOfTheRouter)
{
    // Advise=0: a shown window would otherwise ask whether the page's DG834 is one.
    open("[System]\nConfirmClose=0\nAdvise=0\n[Router]\ncbLogOut=1\nLogOut=http://127.0.0.1:" + QByteArray::number(sim.httpPort())
             + "/setup.cgi?todo=logout\n",
         5);
    form->show();
    form->btnStart->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return started(); }, 10000));
    form->close();
    ASSERT_TRUE(testsupport::waitFor([&] { return !form->isVisible(); }, 5000));
    EXPECT_FALSE(form->Timer1->isActive());
    const QStringList logout = sim.journal().lines().filter(QStringLiteral("todo=logout"));
    ASSERT_EQ(logout.size(), 1);
    EXPECT_EQ(logout[0].split(QLatin1Char('\t')).value(4), QStringLiteral("admin:quillfen"));
}

TEST_F(RunStopTest, EachPollPingsTheHostAndPlotsTheTimeAndAMissingHostIsSaidOnce)
{
    open("[Ping]\nPing=1\nShowPing=1\nPingHost=127.0.0.1\nLogPing=1\n", 5);
    form->btnStart->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return started(); }, 10000));
    ASSERT_TRUE(testsupport::waitFor([&] { return !onlyChild<PollingCycle>(*form)->isBusy(); }));
    form->Timer1Timer(false);
    ChartSeries *ping = onlyChild<ChartSet>(*form)->series(QStringLiteral("Series20"));
    ASSERT_NE(ping, nullptr);
    ASSERT_TRUE(testsupport::waitFor([&] { return ping->count() > 0; }, 10000));

    // The host emptied: said once however many polls follow, and no time plotted.
    const int plotted = ping->count();
    form->settings().Ping.PingHost.clear();
    for (int poll = 0; poll < 3; ++poll) {
        ASSERT_TRUE(testsupport::waitFor([&] { return !onlyChild<PollingCycle>(*form)->isBusy(); }));
        form->Timer1Timer(false);
    }
    ASSERT_TRUE(testsupport::waitFor([&] { return !onlyChild<PollingCycle>(*form)->isBusy(); }));
    EXPECT_EQ(count(QStringLiteral("Ping host not set: nothing is pinged.")), 1);
    EXPECT_EQ(ping->count(), plotted);
    form->btnStop->click();
}

// Without system messages a failing router must still show on the status bar:
// panel 0 holds the latest poll's failure until a poll is answered again.
TEST_F(RunStopTest, PanelZeroShowsThePollFailureUntilAPollIsAnswered)
{
    struct Case {
        const char *path;
        const char *failure;
        QString shown;
    };
    const Case cases[] = {
        {"*", "down", kNotConnected2},
        {"status", "500", QStringLiteral("Failed to retrieve stats page (router connected but didn't respond (2)).")},
        {"status", "401", QStringLiteral("HTTP  Login error")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.failure);
        open("[System]\nSystemMessages=0\n");
        form->btnStart->click();
        ASSERT_TRUE(testsupport::waitFor([&] { return form->Label2->text() == QStringLiteral("6.5 dB"); }));
        const QString started = form->statusPanel(0);
        EXPECT_TRUE(started.startsWith(QStringLiteral("  Started: "))) << started.toStdString();

        sim.execute(QStringLiteral("fail %1 %2").arg(QLatin1String(c.path), QLatin1String(c.failure)));
        ASSERT_TRUE(testsupport::waitFor([&] { return form->statusPanel(0) == c.shown; }, 8000))
            << form->statusPanel(0).toStdString();
        EXPECT_TRUE(form->memSys->toPlainText().isEmpty());

        sim.execute(QStringLiteral("fail %1 none").arg(QLatin1String(c.path)));
        ASSERT_TRUE(testsupport::waitFor([&] { return form->statusPanel(0) == started; }, 8000))
            << form->statusPanel(0).toStdString();
        form->btnStop->click();
        form.reset();
    }
}
