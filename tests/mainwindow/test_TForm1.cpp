// The main window's part in this slice: settings in at start-up, the Save
// button, the system-messages pane and the status bar with its menu.
#include "TestSupport.h"
#include "mainwindow/StatusChannel.h"
#include "common/Clock.h"
#include "acquisition/TelnetParseResult.h"
#include "charts/ChartSet.h"
#include "acquisition/FigureSearch.h"
#include "charts/CameraIndicators.h"
#include "charts/ChartCornerSigns.h"
#include <qcustomplot.h>
#include <QDateTime>
#include <QDir>
#include <QFontInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <cmath>
#include "chartimages/GraphImages.h"
#include "notify/DailyTimer.h"
#include "notify/Mailer.h"
#include "mainwindow/NoiseTrayIcon.h"
#include "charts/PlottingStep.h"
#include "settings/ColourNames.h"
#include "settings/SettingsHub.h"
#include "mainwindow/TForm1.h"
#include "acquisition/BitLoadingRefresh.h"
#include "pages/AlarmPage.h"
#include "pages/BitsTonePage.h"
#include "chartimages/ChartPopupMenus.h"
#include "pages/StatusPageTab.h"
#include "pages/TelnetPage.h"
#include "pages/UserFigureMarker.h"
#include "pages/WebServerPage.h"
#include "webserver/WebServer.h"
#include "platform/ShellOpen.h"
#include "notify/StatisticsLog.h"
#include "OnlyChild.h"

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QFileInfo>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTcpServer>
#include <gtest/gtest.h>
#include <memory>

using testsupport::onlyChild;

namespace {

struct MainWindowTest : ::testing::Test {
    QTemporaryDir dir;
    QString ini = dir.filePath(QStringLiteral("veltrano.ini"));

    std::unique_ptr<TForm1> open(const QByteArray &iniText = {})
    {
        // The web server, when a test starts it, listens on loopback only.
        if (!iniText.isNull() || !QFileInfo::exists(ini))
            testsupport::writeAll(ini, "[WebServer]\nLocalHost=127.0.0.1\nPort=0\n" + iniText);
        qputenv("VELTRANO_INI", ini.toUtf8());
        return std::make_unique<TForm1>(false);
    }

    void TearDown() override
    {
        Clock::setInstance(nullptr);
        qunsetenv("VELTRANO_INI");
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<QMessageBox *>(w))
                w->deleteLater();
    }

    static QStringList tabCaptions(const TForm1 &form)
    {
        QStringList captions;
        for (QTabWidget *tabs : form.PageControl1->findChildren<QTabWidget *>())
            for (int i = 0; i < tabs->count(); ++i)
                captions << tabs->tabText(i);
        return captions;
    }

    static QMessageBox *openBox()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
                return box;
        return nullptr;
    }
};

} // namespace

TEST_F(MainWindowTest, StartsWithTheLoadedSettingsApplied)
{
    auto form = open("[System]\nSystemMessages=1\nSuppressErrors=1\nW=780\nH=540\nLog=1\nLogFile=/var/tmp/line.txt\n");
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Veltrano 6.3"));
    EXPECT_TRUE(form->cbEnableSystem->isChecked());
    EXPECT_TRUE(form->cbSuppressErrors->isChecked());
    EXPECT_EQ(form->size(), QSize(780, 540)); // within the test screen (800 x 600)
    EXPECT_EQ(form->statusPanel(3), QStringLiteral("/var/tmp/line.txt"));
    EXPECT_EQ(form->settingsFilePath(), ini);
}

TEST_F(MainWindowTest, LoadProblemsAreReportedInThePane)
{
    auto form = open("[System]\nSystemMessages=1\nSample=0\n");
    EXPECT_EQ(form->settings().System.Sample, 1);
    EXPECT_TRUE(form->memSys->toPlainText().contains(QLatin1String("[System] Sample=0 is outside 1..120")));
}

// Unreadable times of day in a hand-edited file get their defaults, reported in the pane (when
// messages are on) and on the status bar; the next save writes the default, never "00:00".
TEST_F(MainWindowTest, UnreadableTimesOfDayGetTheirDefaultsAndAreReported)
{
    ManualClock clock(QDateTime(QDate(2026, 12, 7), QTime(8, 47)));
    Clock::setInstance(&clock);
    for (bool messagesOn : {false, true}) {
        SCOPED_TRACE(messagesOn);
        auto form = open("[System]\nSystemMessages=" + QByteArray::number(messagesOn) + "\n[Email]\nDailyTime=99:99\n"
                         "[Log]\nTrimTime=7:5\n[Capture]\nCaptureAtTime=7:05\n[Telnet]\nResetIncAt=24:00\n");
        const TSettings &s = form->settings();
        EXPECT_EQ(QStringList({s.Email.DailyTime, s.Log.TrimTime, s.Capture.CaptureAtTime, s.Telnet.ResetIncAt}),
                  QStringList({"08:47", "08:47", "07:05", "03:00"}));
        for (const char *bad : {"DailyTime=99:99 is not", "TrimTime=7:5 is not", "ResetIncAt=24:00 is not"}) {
            EXPECT_TRUE(form->statusPanel(0).contains(QLatin1String(bad))) << bad;
            EXPECT_EQ(form->memSys->toPlainText().contains(QLatin1String(bad)), messagesOn) << bad;
        }
        EXPECT_FALSE(form->statusPanel(0).contains(QLatin1String("CaptureAtTime"))); // an hour without its zero
        form->btnSave->click();
        const QByteArray written = testsupport::readAll(ini);
        for (const char *kept : {"DailyTime=08:47", "TrimTime=08:47", "CaptureAtTime=07:05", "ResetIncAt=03:00"})
            EXPECT_TRUE(written.contains(kept)) << kept;
    }
    Clock::setInstance(nullptr);
}

TEST_F(MainWindowTest, SaveButtonWritesTheWholeFileAndSaysSo)
{
    auto form = open("[System]\nSystemMessages=1\n");
    form->settings().System.Sample = 45;
    QTest::mouseClick(form->btnSave, Qt::LeftButton);

    const QByteArray file = testsupport::readAll(ini);
    EXPECT_EQ(testsupport::keyLineCount(file), 524);
    EXPECT_TRUE(file.contains("Sample=45"));
    const QString pane = form->memSys->toPlainText();
    EXPECT_TRUE(pane.contains(QLatin1String("Saving configuration settings...")));
    EXPECT_TRUE(pane.contains(QLatin1String("Configuration saved.")));
    // The progress bar shows the finished save for a moment, then goes.
    EXPECT_EQ(form->pb1->value(), 100);
    EXPECT_TRUE(form->Timer2->isActive());
    EXPECT_TRUE(testsupport::waitFor([&] { return form->pb1->isHidden(); }, 3000));
}

TEST_F(MainWindowTest, AFailedSaveIsReportedAndNeverCalledSaved)
{
    auto form = open("[System]\nSystemMessages=1\n");
    const QByteArray before = testsupport::readAll(ini);
    QFile::setPermissions(ini, QFileDevice::ReadOwner);
    EXPECT_FALSE(form->SaveIni());

    const QString pane = form->memSys->toPlainText();
    EXPECT_TRUE(pane.contains(QLatin1String("Configuration not saved")));
    EXPECT_FALSE(pane.contains(QLatin1String("Configuration saved.")));
    EXPECT_NE(openBox(), nullptr);
    EXPECT_EQ(testsupport::readAll(ini), before);
}

TEST_F(MainWindowTest, EnableCheckBoxSwitchesMessagesAndIsTheSetting)
{
    auto form = open();
    form->SystemMessage(QStringLiteral("before"));
    EXPECT_TRUE(form->memSys->toPlainText().isEmpty());
    form->cbEnableSystem->click();
    EXPECT_TRUE(form->settings().System.SystemMessages);
    form->SystemMessage(QStringLiteral("after"));
    EXPECT_TRUE(form->memSys->toPlainText().endsWith(QLatin1String(":  after")));
}

TEST_F(MainWindowTest, ClearAsksFirstAndCancelKeepsThePane)
{
    auto form = open("[System]\nSystemMessages=1\n");
    form->SystemMessage(QStringLiteral("keep me"));

    form->btnClear->click();
    QMessageBox *box = openBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("Confirm Delete messages?"));
    box->button(QMessageBox::Cancel)->click();
    EXPECT_TRUE(form->memSys->toPlainText().contains(QLatin1String("keep me")));

    form->btnClear->click();
    box = openBox();
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Yes)->click();
    EXPECT_TRUE(form->memSys->toPlainText().isEmpty());
}

TEST_F(MainWindowTest, StatusMenuCaptionsFollowTheStateTheyToggle)
{
    // A port of its own, so a run beside other tests never finds it taken.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const QByteArray port = QByteArray::number(probe.serverPort());
    probe.close();
    const QString log = dir.filePath(QStringLiteral("stats.txt"));
    testsupport::writeAll(ini, "[WebServer]\nLocalHost=127.0.0.1\nPort=" + port + "\n[System]\nLogFile="
                                   + log.toUtf8() + "\n");
    auto form = open();
    form->StatusPopupPopup();
    EXPECT_EQ(form->mnuStartWebServer->text(), QStringLiteral("Start web server"));
    EXPECT_EQ(form->mnuEnableLog->text(), QStringLiteral("Start Logging"));

    form->mnuEnableLog->trigger();
    form->mnuStartWebServer->trigger();
    EXPECT_TRUE(form->settings().System.Log);
    EXPECT_EQ(form->statusPanel(3), log);
    EXPECT_TRUE(form->btnWebStart->isChecked());
    form->StatusPopupPopup();
    EXPECT_EQ(form->mnuStartWebServer->text(), QStringLiteral("Stop web server"));
    EXPECT_EQ(form->mnuEnableLog->text(), QStringLiteral("Stop Logging"));

    form->mnuEnableLog->trigger();
    form->mnuStartWebServer->trigger();
    EXPECT_FALSE(form->settings().System.Log);
    EXPECT_EQ(form->statusPanel(3), QString());
    EXPECT_FALSE(form->btnWebStart->isChecked());
}

TEST_F(MainWindowTest, UnreadableSettingsFileGivesDefaultsAMessageAndABox)
{
    QDir(dir.path()).mkdir(QStringLiteral("veltrano.ini"));
    auto form = open();
    EXPECT_EQ(form->settings().System.Sample, 20);
    QMessageBox *box = openBox();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains(QLatin1String("could not be read")));
}

TEST_F(MainWindowTest, ClosingAsksFirstThenSavesAndCancelKeepsEverything)
{
    auto form = open("[System]\nSystemMessages=1\n");
    form->show();
    form->cbSuppressErrors->click();
    form->close();
    QMessageBox *box = openBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("Confirm close Veltrano?"));
    box->button(QMessageBox::Cancel)->click();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(testsupport::readAll(ini).contains("SuppressErrors=1"));

    form->close();
    box = openBox();
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Yes)->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(testsupport::readAll(ini).contains("SuppressErrors=1"));
}

// A run with no web server address leaves none in the file, so the next run
// takes the machine's address as it is then; the page shows today's.
TEST_F(MainWindowTest, AnEmptyWebServerAddressIsNeverWrittenAsTodaysAddress)
{
    testsupport::writeAll(ini, "[WebServer]\nLocalHost=\nPort=0\n[System]\nSystemMessages=1\n");
    auto form = open();
    EXPECT_EQ(form->WebPage->cbLocalHost->currentText(), QString());
    EXPECT_EQ(form->WebPage->cbLocalHost->lineEdit()->placeholderText(), WebServer::defaultAddress());
    form->show();
    form->close();
    QMessageBox *box = openBox();
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Yes)->click();

    const QByteArray file = testsupport::readAll(ini);
    EXPECT_EQ(testsupport::keyLineCount(file), 524);
    EXPECT_EQ(testsupport::iniValue(file, "WebServer", "LocalHost"), QString());
}

// Leaving stay-on-top for the question re-creates the window: it must come
// back, and clicking close again must not stack a second question.
TEST_F(MainWindowTest, CloseQuestionOnTopWindowKeepsItVisibleAndAsksOnce)
{
    auto form = open("[System]\nStayOnTop=1\nConfirmClose=1\n");
    form->show();
    ASSERT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    form->close();
    QMessageBox *first = openBox();
    form->close();
    EXPECT_TRUE(form->isVisible());
    ASSERT_NE(first, nullptr);
    first->hide();
    EXPECT_EQ(openBox(), nullptr); // the second close asked nothing more
    first->button(QMessageBox::Cancel)->click();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->windowFlags() & Qt::WindowStaysOnTopHint);
}

// Telnet-only monitoring: the tray digits carry the telnet noise margin,
// never the HTTP poll's zero.
TEST_F(MainWindowTest, TelnetOnlyTrayDigitsShowTheTelnetNoise)
{
    auto form = open("[Telnet]\nDisableHTTP=1\n");
    NoiseTrayIcon reference(form->settings());
    NoiseTrayIcon::Figures f;
    f.telnetNoise = 6.4f;
    const QImage expected = reference.IconNoise(form->settings().Graph.NoiseColour, f).pixmap(16, 16).toImage();
    // A reply read 6.4 dB since an earlier poll; this poll plots it.
    form->runState().SampleCount = 1;
    form->telnetFigures().TelnetNoiseNow = 6.4f;
    form->telnetFigures().Fresh.Noise = true;
    form->Timer1Timer(false);
    EXPECT_EQ(QApplication::windowIcon().pixmap(16, 16).toImage(), expected);
}

TEST_F(MainWindowTest, DailyEmailIsSaidOnce)
{
    auto form = open("[System]\nSystemMessages=1\n[Email]\nServer=\n");
    auto *daily = form->findChild<DailyTimer *>();
    ASSERT_NE(daily, nullptr);
    emit daily->dailyEmailDue();
    ASSERT_TRUE(testsupport::waitFor([&] { return !onlyChild<Mailer>(*form)->busy(); }));
    EXPECT_EQ(form->memSys->toPlainText().count(QStringLiteral("Daily e-mail")), 1);
}

// The camera signs follow CheckCameras from start-up on, per chart switch.
TEST_F(MainWindowTest, CaptureCamerasShowFromStartUp)
{
    const QString folder = dir.filePath(QStringLiteral("captures"));
    QDir().mkpath(folder);
    auto form = open("[Capture]\nNoise=1\nSync=0\nAllTheTime=1\nNever=0\nCaptureAt=1\nCaptureAtTime=03:00\nFolder="
                     + folder.toUtf8() + "\n");
    using P = CameraIndicators::Picture;
    CameraIndicators *cameras = onlyChild<CameraIndicators>(*form);
    auto shown = [&](int chart, P p) { return cameras->picture(chart, p) && !cameras->picture(chart, p)->isHidden(); };
    EXPECT_TRUE(shown(1, P::Active) && shown(1, P::Daily));
    EXPECT_FALSE(shown(1, P::Inactive));
    EXPECT_FALSE(shown(2, P::Active) || shown(2, P::Inactive) || shown(2, P::Daily));
}

// Over-range signs sit over their chart, not in the page layout, and only
// for an axis that is shown.
TEST_F(MainWindowTest, OverRangeSignsSitInTheChartCornerForVisibleAxesOnly)
{
    auto form = open("[Graph]\nShowSync=0\n");
    form->resize(1000, 700);
    form->show();
    QWidget *chart = onlyChild<ChartSet>(*form)->chart(1);
    ChartCornerSigns *signs = onlyChild<ChartCornerSigns>(*chart);
    const int chartHeight = chart->height();
    form->showIndicators({QStringLiteral("Image136"), QStringLiteral("Image137")});
    QApplication::processEvents();
    EXPECT_TRUE(signs->overRangeShown(QStringLiteral("Image136")));
    EXPECT_FALSE(signs->overRangeShown(QStringLiteral("Image137"))); // its axis is hidden
    EXPECT_EQ(chart->height(), chartHeight);
    EXPECT_TRUE(chart->rect().contains(signs->geometry()));
}

// "Write Now" carries the telnet noise and sync when their charts are logged.
TEST_F(MainWindowTest, WriteNowAddsTheLoggedTelnetFigures)
{
    const QString log = dir.filePath(QStringLiteral("line.txt"));
    auto form = open("[System]\nLog=1\nLogFile=" + log.toUtf8()
                     + "\n[Log]\nLog=00000000\n[Alarm]\nAlarmNormalLog=1\n"
                       "[CaptureTelnet]\nLogTelnet=11000000000000000\n");
    form->telnetFigures().TelnetNoiseNow = 6.5f;
    form->telnetFigures().TelnetRxSync = 8128; // as a parse leaves it; plotting has cleared TelnetSyncNow
    form->btnWriteNow->click();
    form->settings().LogTelnetFlags[0] = false;
    form->btnWriteNow->click();
    const QByteArray text = testsupport::readAll(log);
    EXPECT_TRUE(text.contains("\tTelTxNoise= 6.5\tTelTxSync= 8128\r\n")) << text.toStdString();
    EXPECT_EQ(text.count("TelTxNoise"), 1);
}

// A safe start saves the overlay icon and the minimise to tray as off; the
// window opens centred; Stop leaves the log-at-interval timer running.
TEST_F(MainWindowTest, SafeStartCentringAndStop)
{
    testsupport::writeAll(ini, "[WebServer]\nLocalHost=127.0.0.1\nPort=0\n[System]\nOverlayIcon=1\nMinimize=1\n"
                               "W=800\nH=560\nT=5\nL=7\n");
    qputenv("VELTRANO_INI", ini.toUtf8());
    auto form = std::make_unique<TForm1>(true);
    EXPECT_FALSE(form->settings().System.OverlayIcon);
    EXPECT_FALSE(form->settings().System.Minimize);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(std::abs(form->geometry().center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(form->geometry().center().y() - screen.center().y()), 1);
    ASSERT_TRUE(form->SaveIni());
    const QByteArray saved = testsupport::readAll(ini);
    EXPECT_TRUE(saved.contains("\nOverlayIcon=0") && saved.contains("\nMinimize=0"));
    const QRegularExpression stamp(QStringLiteral("^\\d\\d [A-Z][a-z][a-z] \\d{4}  \\d\\d:\\d\\d:\\d\\d$"));
    EXPECT_TRUE(stamp.match(form->BuildStamp).hasMatch()) << form->BuildStamp.toStdString();

    form->tmrLogAt->start(60000);
    form->btnStopClick();
    EXPECT_TRUE(form->tmrLogAt->isActive());
}

TEST_F(MainWindowTest, TheSystemEndingTheProgramIsNotAskedAndClosesToTrayAreIgnored)
{
    auto form = open("[System]\nCloseToTray=1\nConfirmClose=1\n");
    form->show();
    form->cbSuppressErrors->click();
    form->requestEnd();
    EXPECT_EQ(openBox(), nullptr);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(testsupport::readAll(ini).contains("SuppressErrors=1"));
}

TEST_F(MainWindowTest, CapturesOnCloseWaitForEnoughPoints)
{
    const QString folder = dir.filePath(QStringLiteral("captures"));
    QDir().mkpath(folder);
    auto form = open("[System]\nConfirmClose=0\n[Capture]\nLastGraph=1\nNoise=1\nLessThan=1\nLessThanValue=50\n"
                     "AllTheTime=1\nNever=0\nFolder=" + folder.toUtf8() + "\n");
    form->runState().CaptureActive = true;
    form->runState().PointsPlotted = 49;
    form->show();
    form->close();
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());

    form = open();
    form->runState().CaptureActive = true;
    form->runState().PointsPlotted = 50;
    form->show();
    form->close();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 1);
}

// Both bitswap charts are titled "Bitswaps". The daily captures and those on
// close, all in one minute, each keep a file of their own.
TEST_F(MainWindowTest, DailyAndCloseCapturesOfBothBitswapChartsAreAllKept)
{
    ManualClock clock(QDateTime(QDate(2026, 12, 7), QTime(3, 0, 20)));
    Clock::setInstance(&clock);
    const QString folder = dir.filePath(QStringLiteral("captures"));
    QDir().mkpath(folder);
    auto form = open("[System]\nConfirmClose=0\n[Router]\nTelnet=1\n[Telnet]\nBitswapCapture=1\nSepCapture=1\n"
                     "[Capture]\nLastGraph=1\nAllTheTime=1\nNever=0\nCaptureAt=1\nCaptureAtTime=03:00\nFolder="
                     + folder.toUtf8() + "\n");
    form->runState().CaptureActive = true;
    form->show();
    onlyChild<DailyTimer>(*form)->DailyTimerTimer();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name),
              QStringList({"Bitswaps-2026Dec07-0300.jpg", "Bitswaps_Chart29-2026Dec07-0300.jpg"}));
    form->close();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name),
              QStringList({"Bitswaps-2026Dec07-0300.jpg", "Bitswaps-2026Dec07-0300_2.jpg",
                           "Bitswaps_Chart29-2026Dec07-0300.jpg", "Bitswaps_Chart29-2026Dec07-0300_2.jpg"}));
}

TEST_F(MainWindowTest, HelpFileIsWrittenAnewBesideTheSettingsAtEveryStart)
{
    const QString help = dir.filePath(QStringLiteral("veltrano-help.html"));
    testsupport::writeAll(help, "stale copy");
    auto form = open();
    EXPECT_EQ(form->helpFilePath(), help);
    const QByteArray text = testsupport::readAll(help);
    EXPECT_TRUE(text.startsWith("<!DOCTYPE html>"));
    EXPECT_FALSE(text.contains("stale copy"));
}

TEST_F(MainWindowTest, StayOnTopFollowsTheButtonAndTheSetting)
{
    auto form = open("[System]\nStayOnTop=1\n");
    EXPECT_TRUE(form->btnOnTop->isChecked());
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    form->btnOnTop->click();
    EXPECT_FALSE(form->settings().System.StayOnTop);
    EXPECT_FALSE(form->btnOnTop->isChecked());
    EXPECT_FALSE(form->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(MainWindowTest, CopyGraphsToLogWritesEveryPlottedPointButTheFirst)
{
    auto form = open("[System]\nLogFile=" + dir.filePath(QStringLiteral("stats.txt")).toUtf8() + "\n[Graph]\ncbHUser=0\ncbHUser2=0\n");
    form->btnLog->click();
    QMessageBox *box = openBox();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().startsWith(QLatin1String("There is not enough data to write to the log.")));
    box->close();

    form->setStatusPanel(0, QStringLiteral("  Started: Sun 06 Dec 2026   08:47"));
    for (int i = 0; i < 4; ++i) {
        form->runState().Figures.RxNoise = 6.5f + i;
        form->runState().Figures.TxNoise = 12;
        form->runState().Figures.RxSync = 8128;
        form->runState().Figures.TxSync = 448;
        form->plotting()->plotHttp(form->settings().Graph.NoiseColour, QStringLiteral(" 08:0%1:00 ").arg(i));
    }
    form->btnLog->click();
    auto *dialog = form->findChild<QFileDialog *>(QStringLiteral("CopyLogDialog"));
    ASSERT_NE(dialog, nullptr);
    const QString file = dir.filePath(QStringLiteral("copy.txt"));
    emit dialog->fileSelected(file);
    EXPECT_EQ(testsupport::readAll(file),
              QByteArray("Started: Sun 06 Dec 2026   08:47\r\n"
                         "08:01:00\tRx-Noise= 7.5\tTx-Noise= 12\tRx-Sync= 8128\tTx-Sync= 448\r\n"
                         "08:02:00\tRx-Noise= 8.5\tTx-Noise= 12\tRx-Sync= 8128\tTx-Sync= 448\r\n"
                         "08:03:00\tRx-Noise= 9.5\tTx-Noise= 12\tRx-Sync= 8128\tTx-Sync= 448\r\n"));
}

TEST_F(MainWindowTest, IncludeInLogTogglesTheChartsSwitchAndAsksForAFreshHeader)
{
    const QString log = dir.filePath(QStringLiteral("stats.txt"));
    testsupport::writeAll(log, QByteArray(200, 'x'));
    auto form = open("[System]\nLogFile=" + log.toUtf8() + "\n[Log]\nAddHeader=1\n");
    form->mnuLogClick(18); // Tx noise: the fourth character
    EXPECT_EQ(form->settings().Log.Log, QStringLiteral("11101111"));
    EXPECT_TRUE(onlyChild<StatisticsLog>(*form)->LogHeaderPending());
    form->mnuLogClick(18);
    EXPECT_EQ(form->settings().Log.Log, QStringLiteral("11111111"));
    form->mnuLogClick(23);
    EXPECT_TRUE(form->settings().Log.RxTotal);
    form->mnuLogClick(5); // a telnet counter chart: its telnet flag
    EXPECT_TRUE(form->settings().LogTelnetFlags[2]);
}

TEST_F(MainWindowTest, FirstShowingMinimisesAndAppliesTransparencyAsSet)
{
    auto form = open("[System]\nStartMinimized=1\nTransp=1\nTranspPos=128\n");
    form->show();
    EXPECT_TRUE(testsupport::waitFor([&] { return form->isMinimized(); }, 2000));
    EXPECT_NEAR(form->windowOpacity(), 128 / 255.0, 0.01);

    form.reset();
    testsupport::writeAll(ini, "[System]\nStartMinimized=1\n");
    form = std::make_unique<TForm1>(/*safeStart=*/true);
    form->show();
    QTest::qWait(100);
    EXPECT_FALSE(form->isMinimized());
}

TEST_F(MainWindowTest, UserChartPagesAreNamedAfterTheirFigures)
{
    auto form = open("[Graph]\nUserLabel=Packets in\nUserLabel2=Packets out\n");
    QStringList captions;
    for (QTabWidget *tabs : form->PageControl1->findChildren<QTabWidget *>())
        for (int i = 0; i < tabs->count(); ++i)
            captions << tabs->tabText(i);
    // The status-page charts' pages only; the telnet user figures keep theirs.
    EXPECT_EQ(captions.count(QStringLiteral("Packets in")), 1);
    EXPECT_EQ(captions.count(QStringLiteral("Packets out")), 1);
    EXPECT_TRUE(captions.contains(QStringLiteral("User-defined 1")));
    EXPECT_EQ(form->Label5->text(), QStringLiteral("Packets in  0"));
    EXPECT_EQ(form->Label22->text(), QStringLiteral("Packets out  0"));
    EXPECT_FALSE(form->Label5->isHidden());
    EXPECT_FALSE(form->Label22->isHidden());
}


// What a user reads on the window: page captions by telnet family and from
// the 585 data counters, a fixed-pitch terminal, no ping output unless asked,
// no hidden page opened, a long log path elided but kept, help failures said.
TEST_F(MainWindowTest, PagesPanesAndPanelsAsAUserReadsThem)
{
    auto form = open("[Router]\nTelnet=1\n[Telnet]\nV123=0\nV4=1\n[Graph]\nLatest15=0\nLatest1day=1\n"
                     "[Ping]\nShowPing=0\nShowData=0\n[System]\nMemoFontName=Liberation Sans\nLast=5\n");
    FigureSearchResult r;
    r.TabSheet32Caption = QStringLiteral("Data Sent");
    r.Chart19AxisTitle = QStringLiteral("Data received (MB)");
    form->showFigureCaptions(r);
    const QStringList captions = tabCaptions(*form);
    for (const char *c : {"Rx  Totals", "Tx  Totals", "Rx CRC/ES/LOF ~ 1 day", "SF Error", "LOF", "Data Sent",
                          "Bits/Tone"})
        EXPECT_TRUE(captions.contains(QLatin1String(c))) << c;
    EXPECT_EQ(onlyChild<TelnetPage>(*form)->Label8->text(), QStringLiteral("Totals"));
    EXPECT_EQ(onlyChild<ChartSet>(*form)->chart(19)->yAxis->label(), QStringLiteral("Data received (MB)"));
    EXPECT_TRUE(QFontInfo(form->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"))->font()).fixedPitch());
    EXPECT_TRUE(form->findChild<QPlainTextEdit *>(QStringLiteral("Memo6"))->isHidden());
    ASSERT_FALSE(form->PageControl1->isTabVisible(5));
    EXPECT_TRUE(form->PageControl1->isTabVisible(form->PageControl1->currentIndex()));

    form->show();
    form->setStatusPanel(0, QString()); // the start's report of the fixture's port 0 takes the room otherwise
    const QString path = QStringLiteral("/home/someone/") + QString(200, QLatin1Char('f')) + QStringLiteral("/log.txt");
    form->setStatusPanel(3, path);
    QApplication::processEvents();
    EXPECT_EQ(form->statusPanel(3), path);
    const QString shown = form->findChild<QLabel *>(QStringLiteral("StatusPanel3"))->text();
    EXPECT_TRUE(shown.contains(QChar(0x2026)) && shown.endsWith(QStringLiteral("log.txt")));

    QFile::remove(form->helpFilePath());
    form->btnHelp->click();
    ASSERT_NE(openBox(), nullptr);
    EXPECT_TRUE(openBox()->text().contains(form->helpFilePath()));
}

TEST_F(MainWindowTest, ToneChartsShowTheBitsAndSnrOfEachTone)
{
    auto form = open();
    ToneChartData t;
    t.AxisMaximum = 255;
    for (int tone = 0; tone < 256; ++tone) {
        t.Tones.push_back(tone);
        t.Bits.push_back(tone % 15);
        t.BitColours.push_back(tone == 40 ? colours::clLime : colours::clBlue);
        t.Snr.push_back(30 + tone % 7);
    }
    t.BitswapPoint = BitswapChartPoint{false, 2, 5};
    form->plotToneCharts(t);
    ChartSeries *bits = onlyChild<ChartSet>(*form)->series(QStringLiteral("LineSeries18"));
    EXPECT_EQ(bits->count(), 256);
    EXPECT_EQ(bits->valueAt(41), 41 % 15);
    EXPECT_EQ(bits->labelAt(41).value_or(QString()), QStringLiteral("41"));
    EXPECT_EQ(bits->colourAt(40), QColor(0, 255, 0));
    EXPECT_EQ(onlyChild<ChartSet>(*form)->bottomAxis(21).maximum(), 255);
    EXPECT_EQ(onlyChild<ChartSet>(*form)->series(QStringLiteral("Series14"))->lastValue(), 5);
    // Upstream bitswaps in green.
    ChartSeries *up = onlyChild<ChartSet>(*form)->series(QStringLiteral("BarSeries4"));
    EXPECT_EQ(up->colourAt(up->count() - 1), QColor(0, 128, 0));

    // A second reply replaces the tones instead of adding to them.
    form->plotToneCharts(t);
    EXPECT_EQ(bits->count(), 256);
    EXPECT_EQ(onlyChild<ChartSet>(*form)->series(QStringLiteral("Series14"))->count(), 2);
}

// Every file the window opens in the desktop's program: when there is no
// program for it the user is told so in a box, never left with nothing.
TEST_F(MainWindowTest, FilesWithNoProgramToOpenThemSaySo)
{
    const QString log = dir.filePath(QStringLiteral("stats.txt"));
    const QString alarms = dir.filePath(QStringLiteral("alarms.txt"));
    testsupport::writeAll(log, "line\r\n");
    testsupport::writeAll(alarms, "alarm\r\n");
    auto form = open("[System]\nLog=1\nLogFile=" + log.toUtf8() + "\n[Alarm]\nAlarmLog=" + alarms.toUtf8() + "\n");
    auto *alarmView = onlyChild<AlarmPage>(*form)->btnViewAlarmLog;
    onlyChild<AlarmPage>(*form)->edAlarmLog->setText(alarms);
    struct Case {
        QAbstractButton *button;
        QString file, boxStart;
    };
    const Case cases[] = {
        {form->btnViewLog, log, QStringLiteral("The file could not be opened: the desktop has no program for text files.")},
        {alarmView, alarms, QStringLiteral("The file could not be opened: the desktop has no program for text files.")},
        {form->btnHelp, form->helpFilePath(), QStringLiteral("The help file could not be opened")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        for (bool opens : {true, false}) {
            QStringList opened;
            setShellOpener([&](const QString &path) {
                opened << path;
                return opens;
            });
            c.button->click();
            setShellOpener({});
            EXPECT_EQ(opened, QStringList{c.file});
            QMessageBox *box = openBox();
            EXPECT_EQ(box != nullptr, !opens);
            if (box) {
                EXPECT_TRUE(box->text().startsWith(c.boxStart)) << box->text().toStdString();
                EXPECT_TRUE(box->text().contains(QDir::toNativeSeparators(c.file)));
                delete box;
            }
        }
    }
}

// "Save As..." under the system messages writes the pane's lines to the file chosen.
TEST_F(MainWindowTest, SystemMessagesSaveAsWritesThePaneLines)
{
    auto form = open("[System]\nSystemMessages=1\n");
    form->memSys->clear();
    form->SystemMessage(QStringLiteral("first"));
    form->SystemMessage(QStringLiteral("second"));
    form->Button1->click();
    auto *dialog = form->findChild<QFileDialog *>(QStringLiteral("SaveDialog1"));
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("txt"));
    const QString file = dir.filePath(QStringLiteral("messages.txt"));
    emit dialog->fileSelected(file);
    const QStringList lines = QString::fromUtf8(testsupport::readAll(file)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3) << lines.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("first")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("second")));
    EXPECT_EQ(lines[2], QString());
    dialog->reject();
}

// A press in either statistics pane ends the "User-defined" notice at once;
// the bits chart's Refresh item is enabled exactly as the page's Refresh button.
TEST_F(MainWindowTest, StatisticsPanePressAndTheBitsRefreshItem)
{
    auto form = open("[Router]\nTelnet=1\n");
    TelnetPage *page = onlyChild<TelnetPage>(*form);
    for (QPlainTextEdit *pane : {page->Memo2, page->Memo3}) {
        page->Panel53->show();
        page->marker->tmrTelnetUserDelay->start();
        QTest::mouseClick(pane->viewport(), Qt::LeftButton);
        EXPECT_TRUE(page->Panel53->isHidden()) << pane->objectName().toStdString();
        EXPECT_FALSE(page->marker->tmrTelnetUserDelay->isActive());
    }
    for (bool enabled : {false, true, false}) {
        onlyChild<BitsTonePage>(*form)->btnBitsRefresh->setEnabled(enabled);
        QMenu *menu = onlyChild<ChartPopupMenus>(*form)->prepare(21);
        ASSERT_TRUE(menu);
        auto *refresh = menu->findChild<QAction *>(QStringLiteral("Refresh2"));
        if (!refresh)
            for (QAction *a : menu->actions())
                if (a->objectName() == QLatin1String("Refresh2"))
                    refresh = a;
        ASSERT_TRUE(refresh);
        EXPECT_EQ(refresh->isEnabled(), enabled);
    }
}

// A figure marked in a statistics pane names its chart for good: an appearance
// change redraws the chart with that name, and so does the next start.
TEST_F(MainWindowTest, AMarkedTelnetFigureKeepsItsChartTitle)
{
    for (const auto &[which, title] : {std::pair{1, "Noise Margin (Downstream)"}, std::pair{2, "Noise Margin (Upstream)"}}) {
        SCOPED_TRACE(which);
        auto form = open("[Router]\nTelnet=1\n");
        form->show();
        QPlainTextEdit *pane = which == 1 ? onlyChild<TelnetPage>(*form)->Memo2 : onlyChild<TelnetPage>(*form)->Memo3;
        pane->setPlainText(QStringLiteral("Noise Margin: 6.0 dB"));
        QTextCursor selection(pane->document());
        selection.setPosition(13, QTextCursor::KeepAnchor);
        pane->setTextCursor(selection);
        emit pane->customContextMenuRequested(pane->cursorRect().center());
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        menu->findChild<QAction *>(which == 1 ? QStringLiteral("mnuMarkUser") : QStringLiteral("mnuMarkUser2"))->trigger();
        menu->close();
        onlyChild<SettingsHub>(*form)->change([](TSettings &s) { s.Graph.Stairs = !s.Graph.Stairs; });
        EXPECT_EQ(onlyChild<ChartSet>(*form)->chart(29 + which)->yAxis->label(), QLatin1String(title));
        form->btnSave->click();
        form.reset();
        form = open();
        EXPECT_EQ(onlyChild<ChartSet>(*form)->chart(29 + which)->yAxis->label(), QLatin1String(title));
    }
}

// The tray icon's pointer-over hint carries the latest figures: noise margin
// in three digits, sync speed with thousands separators, the user labels.
TEST_F(MainWindowTest, TrayPointerHintFollowsTheFigures)
{
    auto form = open("[Graph]\nUserLabel=Errors\nUserLabel2=User defined\n");
    form->runState().SampleCount = 1; // as a poll leaves them
    form->runState().Figures.RxNoise = 6.54f;
    form->runState().Figures.RxSync = 8128;
    form->IconNoise(form->settings().Graph.NoiseColour);
    EXPECT_EQ(form->TrayIcon->toolTip(), QStringLiteral("Veltrano\r\nNoise margin 6.54 dB\r\nSync speed 8,128 Kbps\r\n")
                                               + form->Label5->text());
    form->runState().Figures.RxSync = 12000;
    form->setTrayHint();
    EXPECT_TRUE(form->TrayIcon->toolTip().contains(QStringLiteral("Sync speed 12,000 Kbps")));
}

// With "Close to system tray": the window's close box hides it into the tray,
// the tray's own "Close Veltrano" closes (here: asks first); and the status
// page is not the page saved to open on next time.
TEST_F(MainWindowTest, TrayCloseClosesAndTheStatusPageIsNotReopened)
{
    struct Case {
        bool fromTray;
        bool expectHidden, expectQuestion;
    };
    const Case cases[] = {{false, true, false}, {true, false, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.fromTray);
        auto form = open("[System]\nCloseToTray=1\nConfirmClose=1\n");
        form->TrayIcon->setTrayAvailable(true);
        form->TrayIcon->setVisible(true);
        form->show();
        if (c.fromTray)
            form->TrayIcon->CloseVeltrano1->trigger();
        else
            form->close();
        EXPECT_EQ(form->isHidden(), c.expectHidden);
        QMessageBox *box = openBox();
        EXPECT_EQ(box != nullptr, c.expectQuestion);
        if (box)
            box->button(QMessageBox::Cancel)->click();
    }
    auto form = open("[System]\nCloseToTray=1\nConfirmClose=0\nLast=0\n");
    form->TrayIcon->setTrayAvailable(true);
    form->TrayIcon->setVisible(true);
    form->show();
    form->PageControl1->setCurrentWidget(form->StatusPage);
    ASSERT_NE(form->PageControl1->currentIndex(), 0);
    form->TrayIcon->CloseVeltrano1->trigger();
    ASSERT_TRUE(testsupport::waitFor([&] { return !form->isVisible(); }, 10000));
    const QStringList lines = QString::fromLatin1(testsupport::readAll(ini)).split(QRegularExpression(QStringLiteral("\r?\n")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Last=0")));
}

// An ADSL2+ line's tone range is drawn on the bits chart's images ("ADSL2+ "
// and ">>" or "<<", bottom right in green) and shown beside the terminal.
TEST_F(MainWindowTest, BitsChartImagesCarryTheAdsl2PlusRange)
{
    auto form = open("[Router]\nTelnet=1\n[Telnet]\nV123=0\nV4=1\n[Graph]\nCapturedImage=0\n");
    auto image = [&](bool adsl2Plus, const char *name) {
        ToneChartData t;
        t.HalfSelectionVisible = adsl2Plus;
        t.Label88 = adsl2Plus ? QStringLiteral(">>") : QString();
        form->plotToneCharts(t);
        const QString file = dir.filePath(QLatin1String(name));
        EXPECT_TRUE(onlyChild<GraphImages>(*form)->MakeGraphImage(21, file, QStringLiteral(" "), QStringLiteral("SaveAs")).written());
        return QImage(file);
    };
    const QImage plain = image(false, "plain.png");
    EXPECT_TRUE(onlyChild<TelnetPage>(*form)->Label100->isHidden());
    const QImage adsl2 = image(true, "adsl2.png");
    EXPECT_FALSE(onlyChild<TelnetPage>(*form)->Label100->isHidden());
    EXPECT_EQ(onlyChild<TelnetPage>(*form)->Label100->text(), QStringLiteral(">>"));
    ASSERT_FALSE(plain.isNull());
    ASSERT_EQ(plain.size(), adsl2.size());
    const int W = plain.width(), H = plain.height();
    int greenInCorner = 0, changedElsewhere = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const bool corner = x >= W - 100 && y >= H - 36;
            if (adsl2.pixel(x, y) == plain.pixel(x, y))
                continue;
            if (corner)
                greenInCorner += qGreen(adsl2.pixel(x, y)) > 100 && qRed(adsl2.pixel(x, y)) < 80;
            else
                ++changedElsewhere;
        }
    EXPECT_GT(greenInCorner, 10);
    EXPECT_EQ(changedElsewhere, 0);
}

// A user chart with no number to plot offers no menu (figure 1 or 2 not a
// number, figure 2 "Not Available"); the toolbar takes a user label's first
// 12 characters, "Not Available" whole.
TEST_F(MainWindowTest, UserChartMenusAndToolbarLabels)
{
    struct Case {
        int chart;
        QByteArray ini;
        QString label;
        bool menu;
        QString toolbar;
    };
    const Case cases[] = {
        {3, "[Graph]\nNotANumber=1\n", QStringLiteral("Line uptime hours"), false, QStringLiteral("Line uptime   0")},
        {3, "[Graph]\nNotANumber=0\n", QStringLiteral("Errors"), true, QStringLiteral("Errors  0")},
        {19, "[Graph]\nNotANumber1=0\n", QStringLiteral("Not Available"), false, QStringLiteral("Not Available")},
        {19, "[Graph]\nNotANumber1=1\n", QStringLiteral("FEC Errors (down)"), false, QStringLiteral("FEC Errors (  0")},
        {19, "[Graph]\nNotANumber1=0\n", QStringLiteral("FEC Errors (down)"), true, QStringLiteral("FEC Errors (  0")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label.toStdString());
        auto form = open(c.ini);
        (c.chart == 3 ? form->settings().Graph.UserLabel : form->settings().Graph.UserLabel2) = c.label;
        form->showUserLabel(c.chart == 3 ? 1 : 2);
        EXPECT_EQ((c.chart == 3 ? form->Label5 : form->Label22)->text(), c.toolbar);
        QCustomPlot *plot = onlyChild<ChartSet>(*form)->chart(c.chart);
        emit plot->customContextMenuRequested(QPoint(10, 10));
        QMenu *menu = onlyChild<ChartPopupMenus>(*form)->menu(QStringLiteral("ChartPopup"));
        ASSERT_TRUE(menu);
        EXPECT_EQ(menu->isVisible(), c.menu);
        menu->hide();
    }
}

// A size kept from a larger screen opens within this one, never below the
// window's minimum, and the window is centred on the screen.
TEST_F(MainWindowTest, AStoredSizeLargerThanTheScreenIsBroughtWithinIt)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QByteArray &size : {QByteArray("W=5000\nH=4000\n"), QByteArray("W=1\nH=1\n")}) {
        SCOPED_TRACE(size.constData());
        auto form = open("[System]\n" + size);
        EXPECT_LE(form->height(), screen.height());
        EXPECT_LE(form->width(), std::max(screen.width(), form->minimumWidth()));
        EXPECT_GE(form->width(), form->minimumWidth());
        EXPECT_GE(form->height(), form->minimumHeight());
        if (form->width() <= screen.width()) {
            EXPECT_EQ(form->geometry().center().x(), screen.center().x());
        }
    }
}

// The bit-loading interval never goes below the polling interval; the
// bitswap chart's capture checks the schedule and its camera pictures follow.
TEST_F(MainWindowTest, BitLoadingIntervalFloorAndTheBitswapCaptureCameras)
{
    for (int sample : {5, 20}) {
        auto form = open("[System]\nSample=" + QByteArray::number(sample) + "\n[Telnet]\nRefreshBitsEvery=60\n");
        EXPECT_EQ(onlyChild<BitsTonePage>(*form)->spRefreshBitsEvery->minimum(), sample);
    }
    const QString folder = dir.filePath(QStringLiteral("captures"));
    QDir().mkpath(folder);
    auto form = open("[Capture]\nAllTheTime=1\nNever=0\nFolder=" + folder.toUtf8()
                     + "\n[Telnet]\nBitswapCapture=1\nBitsGraph=1\n");
    using P = CameraIndicators::Picture;
    CameraIndicators *cameras = onlyChild<CameraIndicators>(*form);
    auto shown = [&](P p) { return cameras->picture(22, p) && !cameras->picture(22, p)->isHidden(); };
    ASSERT_TRUE(shown(P::Active));
    // The schedule now says "not at this hour" (nor the next, should the hour turn meanwhile).
    const int hour = QDateTime::currentDateTime().time().hour();
    auto &c = form->settings().Capture;
    c.AllTheTime = false;
    c.BetweenHours = true;
    c.FromHours = (hour + 2) % 24;
    c.ToHours = (hour + 3) % 24;
    emit onlyChild<BitLoadingRefresh>(*form)->bitswapCaptureDue();
    EXPECT_TRUE(shown(P::Inactive));
    EXPECT_FALSE(shown(P::Active));
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
}

// Settings that could not be saved on close: the user closing the window sees
// why before it goes; the system ending the program is not held up.
TEST_F(MainWindowTest, AFailedSaveOnCloseKeepsTheWindowUntilTheUserHasReadIt)
{
    auto form = open("[System]\nConfirmClose=0\n");
    form->show();
    QFile::setPermissions(ini, QFileDevice::ReadOwner);
    form->close();
    QMessageBox *box = openBox();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains(QLatin1String("could not be saved")));
    EXPECT_TRUE(form->isVisible());
    box->button(QMessageBox::Ok)->click();
    EXPECT_TRUE(testsupport::waitFor([&] { return !form->isVisible(); }, 3000));

    form = open("[System]\nConfirmClose=0\n");
    form->show();
    QFile::setPermissions(ini, QFileDevice::ReadOwner);
    form->requestEnd();
    EXPECT_FALSE(form->isVisible());
}
