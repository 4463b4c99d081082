// The dialog inside the main window: what a commit brings about on the main
// window, what reaches the settings file, and the first run.
#include "TestSupport.h"
#include "configuration/TForm2.h"
#include "acquisition/BitLoadingRefresh.h"
#include "pages/AlarmPage.h"
#include "pages/BitsTonePage.h"
#include "charts/ChartSeries.h"
#include "pages/TelnetPage.h"
#include "charts/ChartSet.h"
#include "charts/ChartTable.h"
#include "mainwindow/CommitRefresh.h"
#include "mainwindow/TForm1.h"
#include "OnlyChild.h"
#include "configuration/RouterSearchTextPage.h"
#include "pages/TargetSnrPage.h"
#include <QComboBox>
#include <QGroupBox>

#include <QAbstractButton>
#include <QLabel>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <QTimer>
#include <gtest/gtest.h>
#include <qcustomplot.h>

using testsupport::onlyChild;

namespace {

struct CommitTest : ::testing::Test {
    QTemporaryDir dir;
    QString ini = dir.filePath(QStringLiteral("veltrano.ini"));

    // Every router address of the file is on loopback; the web server too.
    std::unique_ptr<TForm1> open(const QByteArray &extra = {})
    {
        testsupport::writeAll(ini, testsupport::settingsFile(
                                       "[WebServer]\nLocalHost=127.0.0.1\nPort=0\n"
                                       "[Router]\nLogin=http://127.0.0.1:8081/setup.cgi?next_file=stattbl.htm\n"
                                       "LogOut=http://127.0.0.1:8081/setup.cgi?todo=logout\n"
                                       "[Alarm]\nRebootURL=http://127.0.0.1:8081/reboot\n[Telnet]\nTelnetIP=127.0.0.1\n"
                                       + extra));
        qputenv("VELTRANO_INI", ini.toUtf8());
        return std::make_unique<TForm1>(false);
    }
    template <typename T> static T *control(TForm1 &form, const char *name)
    {
        return onlyChild<TForm2>(form)->findChild<T *>(QLatin1String(name));
    }
    static QString chartTitle(TForm1 &form, int chart) { return onlyChild<ChartSet>(form)->chart(chart)->yAxis->label(); }
    void TearDown() override
    {
        qunsetenv("VELTRANO_INI");
        testsupport::discardMessageBoxes();
    }
};

} // namespace

TEST_F(CommitTest, FamilyCaptionsFollowTheCommit)
{
    auto form = open("[Router]\nTelnet=1\n[Telnet]\nV123=1\n[Graph]\nLatest15=1\n[System]\nConf=1\n");
    TForm2 *dialog = onlyChild<TForm2>(*form);
    dialog->btnConfigureClick();
    control<QAbstractButton>(*form, "rbV4")->click();
    control<QAbstractButton>(*form, "rbLatest1day")->click();
    dialog->close();
    EXPECT_EQ(chartTitle(*form, 4), QStringLiteral("Rx CRC Latest 24hr"));
    EXPECT_EQ(chartTitle(*form, 21), QStringLiteral("Bits & Attenuation (dBx10)"));
    EXPECT_EQ(form->findChild<QTimer *>(QStringLiteral("tmr15Mins"))->interval(), 86400000);
    // The telnet pane is captioned for the family and period in the window itself.
    bool captioned = false;
    for (QWidget *pane : form->PageControl1->findChildren<QWidget *>(QStringLiteral("Rx Fast Path")))
        if (auto *tabs = qobject_cast<QTabWidget *>(pane->parentWidget()->parentWidget()))
            captioned = tabs->tabText(tabs->indexOf(pane)) == QLatin1String("Rx CRC/ES/LOF ~ 1 day");
    EXPECT_TRUE(captioned);
    QLabel *totals = onlyChild<TelnetPage>(*form)->Label8;
    EXPECT_EQ(totals->text(), QStringLiteral("Totals"));

    dialog->btnConfigureClick();
    control<QAbstractButton>(*form, "rbV5Telnet")->click();
    dialog->close();
    EXPECT_EQ(totals->text(), QStringLiteral("ATM Totals"));
    EXPECT_EQ(chartTitle(*form, 5), QStringLiteral("Downstream CRC - 24 hr"));
    EXPECT_EQ(chartTitle(*form, 13), QStringLiteral("Upstream LOS"));
    // Only the adslctl family reports the attenuation per tone.
    EXPECT_EQ(chartTitle(*form, 21), QStringLiteral("Bits"));
}

TEST_F(CommitTest, V5PresetReachesTheFileWithItsRebootUrl)
{
    auto form = open("[System]\nConf=1\n");
    TForm2 *dialog = onlyChild<TForm2>(*form);
    dialog->btnConfigureClick();
    control<QAbstractButton>(*form, "rbV5")->click();
    // The preset's address is replaced by the simulator's before anything is sent.
    QLineEdit *login = control<QLineEdit>(*form, "edLoginURL");
    login->setText(QStringLiteral("http://127.0.0.1:8081/RST_stattbl.htm"));
    dialog->edLoginURLExit();
    dialog->btnApplyClick();
    const QByteArray file = testsupport::readAll(ini);
    EXPECT_TRUE(file.contains("Login=http://127.0.0.1:8081/RST_stattbl.htm")) << file.constData();
    EXPECT_TRUE(file.contains("LogOut=http://127.0.0.1:8081/LGO_logout.htm"));
    EXPECT_TRUE(file.contains("RebootURL=http://127.0.0.1:8081/reboot.cgi"));
    EXPECT_TRUE(file.contains("LogURL=\\FW_log.htm"));
    EXPECT_TRUE(file.contains("V5=1"));
    EXPECT_EQ(onlyChild<AlarmPage>(*form)->edReboot->text(), QStringLiteral("http://127.0.0.1:8081/reboot.cgi"));
    EXPECT_TRUE(dialog->isVisible()); // Apply does not close
}

TEST_F(CommitTest, SpeedTouchTurnsTelnetOffAndRebootsByTelnet)
{
    auto form = open("[Router]\nTelnet=1\nV1234=1\n[System]\nConf=1\n");
    TForm2 *dialog = onlyChild<TForm2>(*form);
    dialog->btnConfigureClick();
    control<QAbstractButton>(*form, "rbST585")->click();
    control<QLineEdit>(*form, "edLoginURL")->setText(QStringLiteral("http://127.0.0.1:8081/cgi/b/dsl/dt/?ce=1&be=0&l0=1&l1=0"));
    dialog->btnApplyClick();
    const TSettings &s = form->settings();
    EXPECT_TRUE(s.Router.ST585);
    EXPECT_FALSE(s.Router.Telnet);
    EXPECT_EQ(s.Router.Username, QStringLiteral("Administrator"));
    EXPECT_TRUE(s.Alarm.UseTelnet);
    EXPECT_TRUE(s.Alarm.RebootURL.isEmpty());
    const QByteArray file = testsupport::readAll(ini);
    EXPECT_TRUE(file.contains("Username=Administrator"));
    EXPECT_TRUE(file.contains("ST585=1"));
}

TEST_F(CommitTest, ANonDottedLoginLeavesTheRebootUrlAlone)
{
    auto form = open("[Router]\nV1234=1\n[System]\nConf=1\n");
    TForm2 *dialog = onlyChild<TForm2>(*form);
    dialog->btnConfigureClick();
    control<QLineEdit>(*form, "edLoginURL")->setText(QStringLiteral("http://"));
    dialog->close();
    EXPECT_EQ(form->settings().Alarm.RebootURL, QStringLiteral("http://127.0.0.1:8081/reboot"));
}

TEST_F(CommitTest, SampleAndAxesReachTheWindow)
{
    auto form = open("[System]\nConf=1\nSample=20\n[Graph]\nRxNoiseAuto=1\nRxSyncAuto=0\n");
    TForm2 *dialog = onlyChild<TForm2>(*form);
    const QCPRange before = onlyChild<ChartSet>(*form)->chart(1)->yAxis->range();
    dialog->btnConfigureClick();
    control<QSpinBox>(*form, "spSample")->setValue(30);
    control<QSpinBox>(*form, "spNoiseMax")->setValue(40);
    control<QSpinBox>(*form, "spSyncMax")->setValue(12000);
    control<QSpinBox>(*form, "spSyncMin")->setValue(900);
    dialog->close();
    EXPECT_EQ(form->Timer1->interval(), 30000);
    EXPECT_EQ(form->runState().PointLabelFormat, QStringLiteral(" hh:nn    "));
    // Automatic noise axis: its limits stay; the sync overlay always follows.
    EXPECT_EQ(onlyChild<ChartSet>(*form)->chart(1)->yAxis->range(), before);
    EXPECT_EQ(onlyChild<ChartSet>(*form)->chart(1)->yAxis2->range().upper, 12000);
    EXPECT_EQ(onlyChild<ChartSet>(*form)->chart(2)->yAxis->range().lower, 900);
    dialog->btnConfigureClick();
    control<QSpinBox>(*form, "spSample")->setValue(29);
    dialog->close();
    EXPECT_EQ(form->runState().PointLabelFormat, QStringLiteral(" hh:nn:ss"));
}

TEST_F(CommitTest, TabsFollowTheSystemPage)
{
    auto form = open("[System]\nConf=1\nShowAlarms=1\n[Ping]\nShowPing=0\n");
    TForm2 *dialog = onlyChild<TForm2>(*form);
    dialog->btnConfigureClick();
    control<QAbstractButton>(*form, "cbShowAlarms")->setChecked(false);
    control<QAbstractButton>(*form, "cbShowPing")->setChecked(true);
    dialog->close();
    QTabWidget *tabs = form->PageControl1;
    EXPECT_FALSE(tabs->isTabVisible(tabs->indexOf(form->TabSheet29)));
    bool pingShown = false;
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->widget(i)->objectName() == QLatin1String("  Ping  "))
            pingShown = tabs->isTabVisible(i);
    EXPECT_TRUE(pingShown);
}

TEST_F(CommitTest, FirstRunCommitSetsConfAndTheNextStartAutoStarts)
{
    {
        auto form = open("[System]\nAutoStart=1\n");
        EXPECT_FALSE(form->tmrAutoStartDelay->isActive());
        TForm2 *dialog = onlyChild<TForm2>(*form);
        ASSERT_TRUE(dialog->Timer1->isActive());
        ASSERT_TRUE(testsupport::waitFor([&] { return dialog->isVisible(); }, 4000));
        EXPECT_FALSE(dialog->isModal());
        dialog->close();
        EXPECT_TRUE(form->settings().System.Conf);
        // A plain close writes nothing; the window's own save does.
        EXPECT_FALSE(testsupport::readAll(ini).contains("Conf=1"));
        form->SaveIni();
        EXPECT_TRUE(testsupport::readAll(ini).contains("Conf=1"));
    }
    qputenv("VELTRANO_INI", ini.toUtf8());
    TForm1 next(false);
    EXPECT_TRUE(next.tmrAutoStartDelay->isActive());
    EXPECT_FALSE(onlyChild<TForm2>(next)->Timer1->isActive());
    next.tmrAutoStartDelay->stop();
}

TEST_F(CommitTest, OpenersOfTheToolbarAndTheGraphMenus)
{
    auto form = open("[System]\nConf=1\n");
    TForm2 *dialog = onlyChild<TForm2>(*form);
    form->btnConfigure->click();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->isModal());
    // Beside the main window's corner as far as the screen allows (the placement's own test has the cases).
    EXPECT_TRUE(dialog->screen()->availableGeometry().contains(dialog->geometry()));
    dialog->close();
    form->CaptureSize1Click();
    EXPECT_EQ(dialog->PageControl1->currentWidget(), dialog->TabSheet3);
    EXPECT_EQ(dialog->PageControl2->currentIndex(), 3);
    dialog->close();
    form->CommonSettings1Click();
    EXPECT_EQ(dialog->PageControl2->currentIndex(), 1);
    dialog->close();

    // The "Configure Graphs" items sit on the Configure button's arrow.
    QMenu *graphs = form->btnConfigure->menu();
    ASSERT_TRUE(graphs);
    ASSERT_EQ(graphs->actions().size(), 5);
    graphs->actions().first()->trigger(); // "Y-Axis Limits && Colours"
    EXPECT_EQ(dialog->PageControl2->currentIndex(), 0);
    dialog->close();
}

// At the smallest window every toolbar button keeps its whole caption; what
// does not fit goes to the toolbar's overflow menu.
TEST_F(CommitTest, ToolbarButtonsAreNeverSqueezed)
{
    auto form = open("[System]\nConf=1\n");
    form->resize(form->minimumSize());
    form->show();
    QApplication::processEvents();
    for (QToolBar *bar : {form->ToolBar1, form->ToolBar2})
        for (QWidget *w : bar->findChildren<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (w->objectName().startsWith(QLatin1String("qt_"))) // the toolbar's own overflow button
                continue;
            // At the usual width every button is on its row, whole.
            EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
            EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
        }
}

TEST_F(CommitTest, LiveChangesReachTheWindowBeforeAnyCommit)
{
    auto form = open("[System]\nConf=1\nLog=0\nLogFile=/tmp/veltrano-test-none.txt\n[Graph]\nScaleUser1=1\n");
    TForm2 *dialog = onlyChild<TForm2>(*form);
    dialog->btnConfigureClick();
    QLineEdit *label = control<QLineEdit>(*form, "edUserlabel");
    label->selectAll();
    QTest::keyClicks(label, QStringLiteral("Line Att"));
    EXPECT_EQ(chartTitle(*form, 3), QStringLiteral("Line Att"));
    bool tabNamed = false;
    for (QWidget *page : form->PageControl1->findChildren<QWidget *>(QStringLiteral("User-defined 1")))
        if (auto *tabs = qobject_cast<QTabWidget *>(page->parentWidget()->parentWidget()))
            tabNamed = tabs->tabText(tabs->indexOf(page)) == QLatin1String("Line Att");
    EXPECT_TRUE(tabNamed);
    EXPECT_EQ(form->Label5->text(), QStringLiteral("Line Att  0"));
    control<QSpinBox>(*form, "spScaleUser1")->setValue(10);
    EXPECT_EQ(chartTitle(*form, 3), QStringLiteral("Line Att x10"));
    control<QAbstractButton>(*form, "cbLog")->click();
    EXPECT_EQ(form->statusPanel(3), QStringLiteral("/tmp/veltrano-test-none.txt"));
    // A new ADSL mode clears the tone charts at the next bit-loading request.
    EXPECT_FALSE(onlyChild<BitLoadingRefresh>(*form)->BitsChartsReset());
    control<QAbstractButton>(*form, "rbADSL2")->click();
    EXPECT_TRUE(onlyChild<BitLoadingRefresh>(*form)->BitsChartsReset());
    dialog->close();
}

// The window's small signs: at start-up, then the other way round after a commit.
TEST_F(CommitTest, SignsFollowStartUpAndTheCommit)
{
    auto form = open("[System]\nConf=1\nShowNoise=0\n[Router]\nTelnet=1\n[Telnet]\nV123=1\nIsDGTeam=0\nExtended=0\n"
                     "DontrefreshWhenMin=1\n[585Telnet]\nLowBits=0\nAllBits=1\n");
    BitsTonePage *bits = onlyChild<BitsTonePage>(*form);
    auto fill = [](QWidget *w) { return w->palette().color(QPalette::Window); };
    auto bytesOffered = [&] {
        int offered = 0; // the Rx and Tx "MiBytes (ppp0)" panes
        for (QWidget *pane : form->PageControl1->findChildren<QWidget *>(QStringLiteral("MiBytes (ppp0)")))
            if (auto *tabs = qobject_cast<QTabWidget *>(pane->parentWidget()->parentWidget()))
                offered += tabs->isTabVisible(tabs->indexOf(pane));
        return offered;
    };
    EXPECT_FALSE(onlyChild<AlarmPage>(*form)->Label44->isHidden());
    EXPECT_TRUE(onlyChild<TelnetPage>(*form)->Label70->isHidden());
    EXPECT_FALSE(bits->Label76->isEnabled());
    EXPECT_EQ(fill(bits->Shape7), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(bytesOffered(), 0);
    EXPECT_EQ(fill(bits->Shape1), QColor(0, 0x80, 0)); // the tone colours of the charts
    EXPECT_EQ(fill(bits->Shape2), QColor(0, 0, 0xFF));
    EXPECT_EQ(fill(bits->Shape4), QColor(Qt::red));
    EXPECT_TRUE(bits->Label80->isEnabled());
    EXPECT_EQ(onlyChild<ChartSet>(*form)->chart(26)->xAxis->range().upper, 512);
    EXPECT_EQ(onlyChild<ChartSet>(*form)->series(QStringLiteral("Series15"))->colour(), QColor(Qt::black)); // as its legend

    onlyChild<TelnetPage>(*form)->cbExtended->click();
    onlyChild<TForm2>(*form)->btnConfigureClick();
    control<QAbstractButton>(*form, "cbShowNoise")->setChecked(true);
    control<QAbstractButton>(*form, "cbIsDGTeam")->setChecked(true);
    control<QAbstractButton>(*form, "rbV4")->click();
    onlyChild<TForm2>(*form)->close();
    EXPECT_TRUE(onlyChild<AlarmPage>(*form)->Label44->isHidden());
    EXPECT_FALSE(onlyChild<TelnetPage>(*form)->Label70->isHidden());
    EXPECT_TRUE(bits->Label76->isEnabled());
    EXPECT_EQ(fill(bits->Shape7), QColor(Qt::black));
    EXPECT_EQ(bytesOffered(), 2);

    // Switched off on the terminal: the panes go at once, and stay gone when the tab is shown.
    onlyChild<TelnetPage>(*form)->cbExtended->click();
    EXPECT_EQ(bytesOffered(), 0);
    form->PageControl1->setCurrentWidget(onlyChild<TelnetPage>(*form)->parentWidget()->parentWidget()->parentWidget());
    for (QWidget *tab : form->PageControl1->findChildren<QWidget *>(QStringLiteral("Rx Interleaved")))
        qobject_cast<QTabWidget *>(tab->parentWidget()->parentWidget())->setCurrentWidget(tab);
    EXPECT_EQ(bytesOffered(), 0);
}

// Started from the user's own figure names, the dialog names the figures as the window does.
TEST_F(CommitTest, TheDialogNamesTheUserFiguresFromTheSettingsFile)
{
    // The captions of btnUser, btnUser2, GroupBox8, cbCaptureUser and cbUser1Avg; Label38 shown.
    const struct { QByteArray file; QStringList shown; bool note; } cases[] = {
        {"[Graph]\nUserLabel=Far end attenuation\nUserLabel2=Errored seconds total\n",
         {"Far end att", "Errored seco", "Far end attenuation ", "Far end attenuation",
          "Plot average 'Far end attenuation' value of the previous.."}, true},
        {"[Graph]\nUserLabel=User-def 1\n",
         {"User-def 1", "User-def 2", "User-Defined 1 ", "User-defined 1", "Plot average user-defined 1 value of the previous.."},
         false},
        {"[Router]\nST585=1\nV1234=0\n[Search]\nUserText=Line Attenuation\n[Graph]\nUserLabel=Line (up)\n",
         {"Line Attenu", "User-Def 2", "Line (up) ", "Line (up)", "Plot average 'Line (up)' value of the previous.."}, true},
    };
    for (const auto &c : cases) {
        auto form = open("[System]\nConf=1\n" + c.file);
        TForm2 *dialog = onlyChild<TForm2>(*form);
        for (bool opened : {false, true}) {
            SCOPED_TRACE((c.file + (opened ? " opened" : " built")).constData());
            if (opened)
                form->btnConfigure->click();
            const QStringList shown = {dialog->Search->btnUser->text(), dialog->Search->btnUser2->text(),
                                       control<QGroupBox>(*form, "GroupBox8")->title(),
                                       control<QAbstractButton>(*form, "cbCaptureUser")->text(),
                                       control<QAbstractButton>(*form, "cbUser1Avg")->text()};
            EXPECT_EQ(shown, c.shown);
            EXPECT_EQ(!dialog->Search->Label38->isHidden(), c.note);
        }
        dialog->close();
    }
}

// Typed digit by digit, the sample interval reaches the polling timer at the commit only.
TEST_F(CommitTest, TheSampleIntervalIsTheTimersAtTheCommitOnly)
{
    for (const QString &typed : {QStringLiteral("45"), QStringLiteral("20"), QStringLiteral("3")}) {
        SCOPED_TRACE(typed.toStdString());
        auto form = open("[System]\nConf=1\nSample=20\n");
        form->Timer1->start();
        const int restarts = form->Timer1->restarts();
        form->btnConfigure->click();
        QSpinBox *sample = control<QSpinBox>(*form, "spSample");
        sample->selectAll();
        for (const QChar digit : typed) {
            QTest::keyClick(sample, digit.toLatin1());
            EXPECT_EQ(control<QWidget>(*form, "Image6")->isHidden(), sample->value() >= 5); // what the dialog shows follows
            EXPECT_EQ(form->Timer1->interval(), 20000);
            EXPECT_EQ(form->Timer1->restarts(), restarts);
        }
        onlyChild<TForm2>(*form)->close();
        EXPECT_EQ(form->Timer1->interval(), typed.toInt() * 1000);
        EXPECT_EQ(form->Timer1->restarts(), restarts + (typed != QLatin1String("20")));
    }
}

// A commit that changes nothing puts back what the window moved, and re-arms no timer.
TEST_F(CommitTest, ACommitWithNothingChangedPutsBackWhatTheWindowMoved)
{
    const QString typed = QStringLiteral("http://127.0.0.1:8081/mine");
    const QString model = QStringLiteral("http://127.0.0.1:8081/setup.cgi?next_file=diag.htm&todo=reboot");
    for (const QByteArray &router : {QByteArray("V1234=1"), QByteArray("V1234=0\nNotNetgear=1")}) {
        auto form = open("[System]\nConf=1\n[Graph]\nNoiseMax=15\nNoiseMin=3\nRxNoiseAuto=0\n[Router]\n" + router + "\n");
        form->show();
        form->Timer1->start();
        const int restarts = form->Timer1->restarts();
        QCustomPlot *plot = onlyChild<ChartSet>(*form)->chart(1);
        onlyChild<ChartSet>(*form)->seriesAt(1, 0)->add(6, QStringLiteral(" p"));
        testsupport::showPageOf(plot);
        plot->replot();
        // A Shift-drag of the picture moves the noise axis.
        for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseMove, QEvent::MouseMove, QEvent::MouseButtonRelease}) {
            const QPoint at = plot->axisRect()->center() + QPoint(0, type == QEvent::MouseButtonPress ? 0 : 80);
            QMouseEvent e(type, at, plot->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::ShiftModifier);
            QApplication::sendEvent(plot, &e);
        }
        ASSERT_NE(plot->yAxis->range(), QCPRange(3, 15));
        QLineEdit *reboot = onlyChild<AlarmPage>(*form)->edReboot;
        testsupport::typeOver(reboot, typed);
        ASSERT_EQ(form->settings().Alarm.RebootURL, typed);
        form->btnConfigure->click();
        onlyChild<TForm2>(*form)->close();
        EXPECT_EQ(plot->yAxis->range(), QCPRange(3, 15));
        // Another router's reboot URL is the user's own.
        EXPECT_EQ(reboot->text(), router == "V1234=1" ? model : typed);
        EXPECT_EQ(form->Timer1->restarts(), restarts);
    }
}

// With the Set Target SNR page showing, a committed telnet command brings its default-margin box in line.
TEST_F(CommitTest, TheTargetMarginPageFollowsTheCommittedTelnetCommand)
{
    auto form = open("[System]\nConf=1\n[Router]\nTelnet=1\n[Telnet]\nV123=0\nV4=1\nTelnetCmd=adsl info --stats\n");
    form->show();
    TargetSnrPage *page = onlyChild<TargetSnrPage>(*form);
    testsupport::showPageOf(page);
    for (const QString &command : {QStringLiteral("/usr/sbin/adslctl info --stats"), QStringLiteral("adsl info --stats")}) {
        form->btnConfigure->click();
        QComboBox *box = control<QComboBox>(*form, "cbTelnetCmd");
        testsupport::showPageOf(box);
        testsupport::typeOver(box->lineEdit(), command);
        onlyChild<TForm2>(*form)->close();
        ASSERT_TRUE(page->isVisible());
        const bool adslctl = command.contains(QLatin1String("adslctl"));
        EXPECT_EQ(page->edNormalSNR->isEnabled(), adslctl) << command.toStdString();
        EXPECT_EQ(page->Label47->text().startsWith(QLatin1String("In the first box below")), adslctl);
    }
}

namespace {

// A tab page's name after the names of the pages it sits on ("Telnet Router > Tx Fast Path > CRC").
QString pagePath(QWidget *page)
{
    QStringList names;
    for (QWidget *w = page; w; w = w->parentWidget())
        if (w->parentWidget() && qobject_cast<QTabWidget *>(w->parentWidget()->parentWidget()))
            names.prepend(w->objectName());
    return names.join(QStringLiteral(" > "));
}

// What the router family decides: every tab's caption and visibility, the charts' axis titles, the totals' title.
QStringList familyViews(TForm1 &form)
{
    QStringList views;
    QList<QTabWidget *> tabWidgets{form.PageControl1};
    tabWidgets += form.PageControl1->findChildren<QTabWidget *>();
    for (QTabWidget *tabs : tabWidgets)
        for (int i = 0; i < tabs->count(); ++i)
            views << QStringLiteral("%1: \"%2\"%3")
                         .arg(pagePath(tabs->widget(i)), tabs->tabText(i),
                              tabs->isTabVisible(i) ? QString() : QStringLiteral(" (hidden)"));
    for (const ChartDef &def : ChartTable::charts()) {
        const QCustomPlot *plot = onlyChild<ChartSet>(form)->chart(def.number);
        views << QStringLiteral("%1: \"%2\" / \"%3\"").arg(def.objectName(), plot->yAxis->label(), plot->yAxis2->label());
    }
    views << QStringLiteral("Label8: \"%1\"").arg(onlyChild<TelnetPage>(form)->Label8->text());
    return views;
}

} // namespace

// A change of family at the dialog leaves the window as a fresh start with the same settings shows it.
TEST_F(CommitTest, AChangeOfFamilyShowsWhatAFreshStartShows)
{
    // The family's file, the radios that choose it and some of what the window then shows.
    const struct {
        const char *name;
        QByteArray file;
        const char *model, *telnet;
        QStringList shownWith;
    } families[] = {
        {"AR7", "[Router]\nV1234=1\nTelnet=1\nV5Telnet=0\n[Telnet]\nV123=1\nV4=0\n", "rbV1234", "rbV123",
         {"Telnet Router > Tx Fast Path: \"Tx Fast Path\"", "Telnet Router > Bits / Tone: \"Bits/Tone\"",
          "Telnet Router > Tx Fast Path > CRC: \"CRC\"", "Chart15: \"Tx Fast Path CRC\" / \"\""}},
        {"adslctl", "[Router]\nV1234=1\nTelnet=1\nV5Telnet=0\n[Telnet]\nV123=0\nV4=1\n", "rbV1234", "rbV4",
         {"Telnet Router > Tx Fast Path: \"Tx Fast Path\" (hidden)", "Telnet Router > Rx Interleaved: \"Rx  Totals\"",
          "Telnet Router > Bits / Tone: \"Bits/Tone\"", "Label8: \"Totals\""}},
        {"adsl info", "[Router]\nV1234=0\nV5=1\nTelnet=1\nV5Telnet=1\n[Telnet]\nV123=0\nV4=0\n", "rbV5", "rbV5Telnet",
         {"Telnet Router > Tx Fast Path: \"Tx Uncorrected\"", "Telnet Router > Tx Fast Path > CRC: \"ES\"",
          "Telnet Router > Bits / Tone: \"Bits/Tone\" (hidden)", "Chart15: \"Upstream ES\" / \"\""}},
        {"ST585", "[Router]\nV1234=0\nST585=1\nTelnet=0\n", "rbST585", nullptr,
         {"Telnet Router: \"Telnet Router\" (hidden)", "Bitloading: \"Bitloading\""}},
    };
    for (const auto &to : families)
        for (const auto &from : families) {
            if (&from == &to)
                continue;
            SCOPED_TRACE(std::string("from ") + from.name + " to " + to.name);
            QStringList committed;
            {
                auto form = open("[System]\nConf=1\nAutoStart=0\n" + from.file);
                TForm2 *dialog = onlyChild<TForm2>(*form);
                dialog->btnConfigureClick();
                control<QAbstractButton>(*form, to.model)->click();
                // The model's preset names the router's own address: the test's stays on loopback.
                control<QLineEdit>(*form, "edLoginURL")->setText(QStringLiteral("http://127.0.0.1:8081/setup.cgi"));
                dialog->edLoginURLExit();
                if (to.telnet) {
                    control<QAbstractButton>(*form, "cbTelnet")->setChecked(true);
                    control<QAbstractButton>(*form, to.telnet)->click();
                }
                dialog->close();
                ASSERT_TRUE(form->SaveIni());
                committed = familyViews(*form);
            }
            TForm1 fresh(false);
            const QStringList started = familyViews(fresh);
            for (const QString &view : to.shownWith)
                EXPECT_TRUE(started.contains(view)) << view.toStdString();
            for (qsizetype i = 0; i < std::max(committed.size(), started.size()); ++i)
                EXPECT_EQ(committed.value(i).toStdString(), started.value(i).toStdString()) << "after the commit";
        }
}
