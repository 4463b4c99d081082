// The Configuration dialog met after the window has been used: started from the
// user's own settings file, opened after a drag or a typed reboot URL, typed
// into digit by digit, committed while the Set Target SNR page shows.
#include "TestSupport.h"
#include "OnlyChild.h"
#include "charts/ChartSeries.h"
#include "charts/ChartSet.h"
#include "configuration/RouterSearchTextPage.h"
#include "configuration/TForm2.h"
#include "mainwindow/TForm1.h"
#include "pages/AlarmPage.h"
#include "pages/TargetSnrPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <qcustomplot.h>

using testsupport::onlyChild;

namespace {

struct AfterUseTest : ::testing::Test {
    QTemporaryDir dir;
    QString ini = dir.filePath(QStringLiteral("veltrano.ini"));
    std::unique_ptr<TForm1> form;

    // Every router address of the file is on loopback; the web server too.
    TForm1 &open(const QByteArray &extra = {})
    {
        testsupport::writeAll(ini, "[WebServer]\nLocalHost=127.0.0.1\nPort=0\n"
                                   "[Router]\nLogin=http://127.0.0.1:8081/setup.cgi?next_file=stattbl.htm\n"
                                   "LogOut=http://127.0.0.1:8081/setup.cgi?todo=logout\n"
                                   "[Alarm]\nRebootURL=http://127.0.0.1:8081/reboot\n[Telnet]\nTelnetIP=127.0.0.1\n"
                                   "[System]\nConf=1\n"
                                   + extra);
        qputenv("VELTRANO_INI", ini.toUtf8());
        form = std::make_unique<TForm1>(false);
        return *form;
    }
    void TearDown() override
    {
        form.reset();
        qunsetenv("VELTRANO_INI");
        testsupport::discardMessageBoxes();
    }
    TForm2 *dialog() { return onlyChild<TForm2>(*form); }
    template <typename T> T *control(const char *name) { return dialog()->findChild<T *>(QLatin1String(name)); }
    static void showPageOf(QWidget *widget)
    {
        for (QWidget *w = widget; w; w = w->parentWidget())
            if (auto *tabs = qobject_cast<QTabWidget *>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr))
                tabs->setCurrentWidget(w);
    }
    // A Shift-drag of the chart's picture, as the mouse makes it.
    static void shiftDrag(QCustomPlot *plot, int dy)
    {
        const QPoint from = plot->axisRect()->center();
        auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
            QMouseEvent e(type, QPointF(at), QPointF(plot->mapToGlobal(at)), button, buttons, Qt::ShiftModifier);
            QApplication::sendEvent(plot, &e);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (int step = 1; step <= 4; ++step)
            send(QEvent::MouseMove, from + QPoint(0, dy * step / 4), Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, from + QPoint(0, dy), Qt::LeftButton, Qt::NoButton);
    }
};

} // namespace

// Started from a settings file with the user's own figure names, the dialog
// names the figures as the window does: when built, and when opened.
TEST_F(AfterUseTest, TheDialogNamesTheUserFiguresFromTheSettingsFile)
{
    struct Case {
        const char *name;
        QByteArray file;
        const char *button1, *button2, *group1, *group2, *capture1, *average1;
        bool note1;
    };
    const Case cases[] = {
        {"labels of the user's own", "[Graph]\nUserLabel=Attenuation\nUserLabel2=Line Rate\n", "Attenuation",
         "Line Rate", "Attenuation ", "Line Rate ", "Attenuation",
         "Plot average 'Attenuation' value of the previous..", true},
        {"a long label", "[Graph]\nUserLabel=Far end attenuation\nUserLabel2=Errored seconds total\n",
         "Far end att", "Errored seco", "Far end attenuation ", "Errored seconds total ", "Far end attenuation",
         "Plot average 'Far end attenuation' value of the previous..", true},
        {"the standard labels", "[Graph]\nUserLabel=User-def 1\nUserLabel2=User-def 2\n", "User-def 1", "User-def 2",
         "User-Defined 1 ", "User-Defined 2 ", "User-defined 1", "Plot average user-defined 1 value of the previous..",
         false},
        {"the SpeedTouch 585's search text",
         "[Router]\nST585=1\nV1234=0\n[Search]\nUserText=Line Attenuation\n[Graph]\nUserLabel=Line Attenuat (up)\n",
         "Line Attenu", "User-Def 2", "Line Attenuat (up) ", "User-Defined 2 ", "Line Attenuat (up)",
         "Plot average 'Line Attenuat (up)' value of the previous..", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        open(c.file);
        for (const char *when : {"built", "opened"}) {
            SCOPED_TRACE(when);
            if (QLatin1String(when) == QLatin1String("opened"))
                form->btnConfigure->click();
            EXPECT_EQ(dialog()->Search->btnUser->text(), QLatin1String(c.button1));
            EXPECT_EQ(dialog()->Search->btnUser2->text(), QLatin1String(c.button2));
            EXPECT_EQ(control<QGroupBox>("GroupBox8")->title(), QLatin1String(c.group1));
            EXPECT_EQ(control<QGroupBox>("GroupBox16")->title(), QLatin1String(c.group2));
            EXPECT_EQ(control<QCheckBox>("cbCaptureUser")->text(), QLatin1String(c.capture1));
            EXPECT_EQ(control<QCheckBox>("cbUser1Avg")->text(), QLatin1String(c.average1));
            EXPECT_EQ(!dialog()->Search->Label38->isHidden(), c.note1);
        }
        dialog()->close();
        TearDown();
    }
}

// Typing the sample interval digit by digit re-arms the polling timer once, at
// the commit, and only when the interval changed; what the dialog shows of the
// interval follows every keystroke.
TEST_F(AfterUseTest, TheSampleIntervalReachesThePollingTimerAtTheCommitOnly)
{
    const struct {
        const char *typed; // over "20"
        int interval;
        int restarts;
    } cases[] = {{"45", 45000, 1}, {"20", 20000, 0}, {"7", 7000, 1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        open("[System]\nSample=20\n");
        form->Timer1->start();
        const int restarts = form->Timer1->restarts();
        form->btnConfigure->click();
        QSpinBox *sample = control<QSpinBox>("spSample");
        sample->selectAll();
        for (const QChar digit : QString::fromLatin1(c.typed)) {
            QTest::keyClick(sample, digit.toLatin1());
            EXPECT_EQ(control<QCheckBox>("cbLogAtSample")->text(),
                      QStringLiteral("Log every sample (%1 seconds)").arg(sample->value()));
            EXPECT_EQ(form->Timer1->interval(), 20000);
            EXPECT_EQ(form->Timer1->restarts(), restarts);
        }
        ASSERT_EQ(sample->value() * 1000, c.interval);
        dialog()->close();
        EXPECT_EQ(form->Timer1->interval(), c.interval);
        EXPECT_EQ(form->Timer1->restarts(), restarts + c.restarts);
        EXPECT_TRUE(form->Timer1->isActive());
        TearDown();
    }
}

// A commit that changes no setting still puts back what the window moved away
// from the settings, and re-arms no timer.
TEST_F(AfterUseTest, ACommitWithNothingChangedPutsBackWhatTheWindowMoved)
{
    const QString typed = QStringLiteral("http://127.0.0.1:8081/my-reboot");
    const QString model = QStringLiteral("http://127.0.0.1:8081/setup.cgi?next_file=diag.htm&todo=reboot");
    struct Case {
        const char *name;
        QByteArray file;
        std::function<void(AfterUseTest &)> use;
        std::function<void(AfterUseTest &)> expect;
    };
    const Case cases[] = {
        {"a Chart1 axis dragged", "[Graph]\nNoiseMax=15\nNoiseMin=3\nRxNoiseAuto=0\n",
         [](AfterUseTest &t) {
             QCustomPlot *plot = onlyChild<ChartSet>(*t.form)->chart(1);
             for (int i = 0; i < 3; ++i)
                 onlyChild<ChartSet>(*t.form)->seriesAt(1, 0)->add(6, QStringLiteral(" p"));
             showPageOf(plot);
             plot->replot();
             shiftDrag(plot, 80);
             ASSERT_NE(plot->yAxis->range(), QCPRange(3, 15)) << "the drag moved the axis";
         },
         [](AfterUseTest &t) { EXPECT_EQ(onlyChild<ChartSet>(*t.form)->chart(1)->yAxis->range(), QCPRange(3, 15)); }},
        {"a reboot URL typed on the Alarms page", "[Router]\nV1234=1\n",
         [typed](AfterUseTest &t) {
             QLineEdit *reboot = onlyChild<AlarmPage>(*t.form)->edReboot;
             reboot->selectAll();
             QTest::keyClicks(reboot, typed);
             ASSERT_EQ(t.form->settings().Alarm.RebootURL, typed);
         },
         [model](AfterUseTest &t) {
             EXPECT_EQ(t.form->settings().Alarm.RebootURL, model);
             EXPECT_EQ(onlyChild<AlarmPage>(*t.form)->edReboot->text(), model);
         }},
        {"a reboot URL typed for another router", "[Router]\nV1234=0\nNotNetgear=1\n",
         [typed](AfterUseTest &t) {
             QLineEdit *reboot = onlyChild<AlarmPage>(*t.form)->edReboot;
             reboot->selectAll();
             QTest::keyClicks(reboot, typed);
         },
         [typed](AfterUseTest &t) { EXPECT_EQ(t.form->settings().Alarm.RebootURL, typed); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        open("[System]\nSample=20\n" + c.file);
        form->show();
        form->Timer1->start();
        const int restarts = form->Timer1->restarts();
        c.use(*this);
        form->btnConfigure->click();
        dialog()->close();
        c.expect(*this);
        EXPECT_EQ(form->Timer1->restarts(), restarts);
        TearDown();
    }
}

// With the Set Target SNR page showing, a commit of another telnet command
// brings its default-margin box and instruction in line at once.
TEST_F(AfterUseTest, TheTargetMarginPageFollowsTheCommittedTelnetCommand)
{
    open("[Router]\nTelnet=1\n[Telnet]\nV123=0\nV4=1\nTelnetCmd=adsl info --stats\n");
    form->show();
    TargetSnrPage *page = onlyChild<TargetSnrPage>(*form);
    showPageOf(page);
    const QString twoBoxes = QStringLiteral(
        "In the first box below, enter the default (un-adjusted) Noise Margin. In the second box below, enter the "
        "desired target Noise Margin. Press the 'Set Target Noise Margin' button.");
    const QString oneBox =
        QStringLiteral("In the box below, enter the desired target Noise Margin. Press the 'Set Target Noise Margin' button.");
    EXPECT_FALSE(page->edNormalSNR->isEnabled());
    const struct {
        const char *command;
        bool defaultMargin;
    } cases[] = {{"/usr/sbin/adslctl info --stats", true}, {"adsl info --stats", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.command);
        form->btnConfigure->click();
        QComboBox *command = control<QComboBox>("cbTelnetCmd");
        showPageOf(command);
        command->lineEdit()->selectAll();
        QTest::keyClicks(command->lineEdit(), QLatin1String(c.command));
        dialog()->close();
        ASSERT_TRUE(page->isVisible());
        EXPECT_EQ(form->settings().Telnet.TelnetCmd, QLatin1String(c.command));
        EXPECT_EQ(page->edNormalSNR->isEnabled(), c.defaultMargin);
        EXPECT_EQ(page->Label51->isEnabled(), c.defaultMargin);
        EXPECT_EQ(page->Label47->text(), c.defaultMargin ? twoBoxes : oneBox);
    }
}

// The pages behind the status-page charts take the charts' background at
// start-up and keep it through a commit.
TEST_F(AfterUseTest, TheStatusChartPagesTakeTheChartBackground)
{
    open("[Graph]\nUserBack=clBlack\n");
    for (int chart : {1, 18, 2, 20, 3, 19}) {
        SCOPED_TRACE(chart);
        QWidget *panel = onlyChild<ChartSet>(*form)->chart(chart)->parentWidget();
        EXPECT_TRUE(panel->autoFillBackground());
        EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(Qt::black));
        EXPECT_EQ(panel->palette().color(QPalette::WindowText), QColor(Qt::white)) << "its box stays readable";
    }
}
