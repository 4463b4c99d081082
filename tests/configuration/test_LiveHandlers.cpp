// Controls of the Configuration dialog that act at once: settings written
// before any commit, controls kept in step, the password reveal, and the
// buttons that ask before they act.
#include "ConfigTestSupport.h"
#include "configuration/ColourButton.h"
#include "configuration/PasswordReveal.h"
#include "configuration/TForm4.h"
#include "configuration/TForm6.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

namespace {

struct LiveTest : DialogFixture {
    void click(const char *name) { control<QAbstractButton>(name)->click(); }
    static QInputDialog *inputBox()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *d = qobject_cast<QInputDialog *>(w); d && d->isVisible())
                return d;
        for (QWidget *w : QApplication::allWidgets())
            if (auto *d = qobject_cast<QInputDialog *>(w); d && d->isVisible())
                return d;
        return nullptr;
    }
};

} // namespace

TEST_F(LiveTest, BoxesThatWriteTheirSettingAtOnce)
{
    open("[Router]\ncbLogin=0\n[Email]\nSSL=0\n[Graph]\nPause=0\nRxNoiseAuto=1\n[Telnet]\nDisableHTTP=0\n");
    dialog->show();
    click("cbLogin");
    EXPECT_TRUE(settings.Router.cbLogin);
    EXPECT_TRUE(control<QLineEdit>("edPassword")->isEnabled());
    click("cbSSLRequired");
    EXPECT_TRUE(settings.Email.SSL);
    click("cbPauseGraphs");
    EXPECT_TRUE(settings.Graph.Pause);
    EXPECT_FALSE(control<QWidget>("cbNoRespondColour")->isEnabled());
    EXPECT_FALSE(control<QSpinBox>("spNoiseMax")->isEnabled());
    click("cbRXNoiseAuto");
    EXPECT_FALSE(settings.Graph.RxNoiseAuto);
    EXPECT_TRUE(control<QSpinBox>("spNoiseMax")->isEnabled());
    click("cbDisableHTTP");
    EXPECT_TRUE(settings.Telnet.DisableHTTP);
    EXPECT_FALSE(control<QWidget>("Label1")->isEnabled());
    EXPECT_FALSE(control<QWidget>("cbLogState")->isEnabled());
    EXPECT_FALSE(control<QWidget>("cbUser1Avg")->isEnabled());
    settings.Telnet.TelnetAuto = QStringLiteral("0000000000000000000000");
    click("Button3");
    EXPECT_EQ(settings.Telnet.TelnetAuto, QString(22, QLatin1Char('1')));
    control<QSpinBox>("spSample")->setValue(3);
    EXPECT_EQ(settings.System.Sample, 3);
    EXPECT_TRUE(control<QSpinBox>("spSample")->font().bold());
    EXPECT_EQ(control<QAbstractButton>("cbLogAtSample")->text(), QStringLiteral("Log every sample (3 seconds)"));
    refreshed.clear();
    emit control<ColourButton>("Shape1")->colourChanged(0x00FF00);
    EXPECT_EQ(settings.Graph.AvgColour, 0x00FF00u);
    ASSERT_EQ(refreshed.size(), 1);
    EXPECT_TRUE(refreshed.front().contains(QStringLiteral("Graph/AvgColour")));
}

TEST_F(LiveTest, ScaleStepsGrowWithTheScale)
{
    const std::tuple<int, int, int> cases[] = {{99, 7, 1},     {100, 1, 10},     {150, 1, 10},   {999, 1, 10},
                                               {1000, 1, 100}, {10000, 100, 100}, {10000, 7, 7}, {10001, 1, 1000}};
    for (const auto &[value, current, step] : cases)
        EXPECT_EQ(TForm2::scaleStep(value, current), step) << value;
    EXPECT_EQ(TForm2::liveUserChartTitle(QStringLiteral("Att"), 10, true), QStringLiteral("Att x10"));
    EXPECT_EQ(TForm2::liveUserChartTitle(QStringLiteral("Att"), 1, true), QStringLiteral("Att (per sample)"));
    EXPECT_EQ(TForm2::liveUserChartTitle(QStringLiteral("Att"), 1, false), QStringLiteral("Att"));
    open();
    dialog->show();
    QSpinBox *scale = control<QSpinBox>("spScaleUser1");
    scale->setValue(150);
    EXPECT_EQ(scale->singleStep(), 10);
    EXPECT_EQ(settings.Graph.ScaleUser1, 150);
}

TEST_F(LiveTest, UserLabelNamesTheFigureEverywhere)
{
    open();
    dialog->show();
    refreshed.clear();
    QLineEdit *label = control<QLineEdit>("edUserlabel");
    label->clear();
    QTest::keyClicks(label, QStringLiteral("Line Att"));
    EXPECT_EQ(settings.Graph.UserLabel, QStringLiteral("Line Att"));
    EXPECT_EQ(settings.Capture.UserFile, QStringLiteral("LineAtt"));
    EXPECT_EQ(control<QGroupBox>("GroupBox8")->title(), QStringLiteral("Line Att "));
    EXPECT_EQ(control<QAbstractButton>("cbCaptureUser")->text(), QStringLiteral("Line Att"));
    ASSERT_FALSE(refreshed.isEmpty());
    EXPECT_TRUE(refreshed.back().contains(QStringLiteral("Graph/UserLabel")));
    label->selectAll();
    QTest::keyClicks(label, QStringLiteral("../x/y"));
    EXPECT_EQ(settings.Capture.UserFile, QStringLiteral("xy"));
    label->selectAll();
    QTest::keyClicks(label, QStringLiteral("User-def 1"));
    EXPECT_EQ(control<QGroupBox>("GroupBox8")->title(), QStringLiteral("User-Defined 1 "));
}

TEST_F(LiveTest, ControlsKeptInStep)
{
    open("[System]\nAutoStart=0\nDontConfirm=0\nNewLog=0\n[Log]\nLogAtSample=1\nTrimLog=1\n"
         "[Capture]\nAllTheTime=1\nBetweenHours=0\nNever=0\n");
    dialog->show();
    click("cbAutoStart");
    EXPECT_TRUE(control<QAbstractButton>("cbDontConfirm")->isChecked());
    EXPECT_FALSE(control<QWidget>("cbDontConfirm")->isEnabled());
    click("cbLogAtEvery");
    EXPECT_FALSE(control<QAbstractButton>("cbLogAtSample")->isChecked());
    click("cbNewLog");
    EXPECT_FALSE(control<QAbstractButton>("cbTrimLog")->isChecked());
    EXPECT_FALSE(control<QWidget>("btnTrimNow")->isEnabled());
    click("rbBetweenHours");
    EXPECT_FALSE(control<QRadioButton>("rbAllTheTime")->isChecked());
    click("rbBetweenHours"); // off again: no schedule at all
    EXPECT_TRUE(control<QRadioButton>("rbNever")->isChecked());
    click("rbUnixTime");
    EXPECT_FALSE(control<QWidget>("edFileDateTime")->isEnabled());
    dialog->close();
    EXPECT_TRUE(settings.Capture.Never);
    EXPECT_FALSE(settings.Capture.BetweenHours);
    // Typed file-name patterns lose the characters no file name may hold.
    QLineEdit *pattern = control<QLineEdit>("edFileDateTime");
    pattern->setEnabled(true);
    pattern->clear();
    QTest::keyClicks(pattern, QStringLiteral("hh:nn*?|x"));
    EXPECT_EQ(pattern->text(), QStringLiteral("hhnnx"));
}

TEST_F(LiveTest, PasswordRevealAsksForTheStoredPasswordInAMaskedField)
{
    open("[Router]\nUsePlain=0\n");
    settings.Router.Password = QStringLiteral("quillfen");
    dialog->show();
    struct Case {
        const char *typed;
        bool accept, shown;
    } cases[] = {{"quillfen", true, true}, {"wrong", true, false}, {"", false, false}};
    for (const Case &c : cases) {
        control<QAbstractButton>("cbUsePlain")->setChecked(false);
        control<QLineEdit>("edPassword")->setEchoMode(QLineEdit::Password);
        click("cbUsePlain");
        // Asked once per click: one answer decides.
        ASSERT_EQ(dialog->findChildren<PasswordPrompt *>().size(), 1) << c.typed;
        PasswordPrompt *ask = dialog->findChild<PasswordPrompt *>();
        EXPECT_EQ(ask->edPassword->echoMode(), QLineEdit::Password);
        ask->edPassword->setText(QLatin1String(c.typed));
        c.accept ? ask->accept() : ask->reject();
        delete ask;
        EXPECT_EQ(control<QAbstractButton>("cbUsePlain")->isChecked(), c.shown) << c.typed;
        EXPECT_EQ(control<QLineEdit>("edPassword")->echoMode() == QLineEdit::Normal, c.shown) << c.typed;
    }
    // While the dialog is hidden the box asks nothing.
    dialog->hide();
    control<QAbstractButton>("cbUsePlain")->setChecked(false);
    click("cbUsePlain");
    EXPECT_TRUE(dialog->findChildren<PasswordPrompt *>().isEmpty());
    dialog->show();
    // Without a stored password the box simply shows the text.
    settings.Email.Pass.clear();
    click("cbEmailUsePlain");
    EXPECT_EQ(control<QLineEdit>("edEmailPass")->echoMode(), QLineEdit::Normal);
}

TEST_F(LiveTest, WebTabBoxAsksOnlyWhileTheServerRuns)
{
    open("[WebServer]\nShowWeb=1\n");
    bool running = false;
    dialog->setWebServerRunning([&running] { return running; });
    QSignalSpy stop(dialog.get(), &TForm2::webServerStopRequested);
    dialog->show();
    click("cbShowWeb");
    EXPECT_EQ(visibleBox(), nullptr);
    click("cbShowWeb");
    running = true;
    click("cbShowWeb");
    ASSERT_NE(visibleBox(), nullptr);
    EXPECT_EQ(visibleBox()->text(), QStringLiteral("Stop Web Server?"));
    visibleBox()->button(QMessageBox::Cancel)->click();
    EXPECT_TRUE(control<QAbstractButton>("cbShowWeb")->isChecked());
    EXPECT_EQ(stop.count(), 0);
    click("cbShowWeb");
    visibleBox()->button(QMessageBox::Yes)->click();
    EXPECT_EQ(stop.count(), 1);
}

TEST_F(LiveTest, TelnetGraphResetButtonsAskFirst)
{
    open("[CaptureTelnet]\nCaptureTelnet=11111111111111111\nLogTelnet=11111111111111111\n[Log]\nRxTotal=1\n"
         "[Telnet]\ncbNoise=1\ncbUFastHEC=1\n");
    dialog->show();
    click("btnDeselectAll");
    ASSERT_NE(visibleBox(), nullptr);
    EXPECT_EQ(visibleBox()->text(), QStringLiteral("Confirm de-select plotting for all Telnet graphs?"));
    visibleBox()->button(QMessageBox::Cancel)->click();
    EXPECT_TRUE(settings.Telnet.cbNoise);
    click("btnDeselectAll");
    visibleBox()->button(QMessageBox::Yes)->click();
    EXPECT_FALSE(settings.Telnet.cbNoise);
    EXPECT_FALSE(settings.Telnet.cbUFastHEC);
    click("Button2");
    visibleBox()->button(QMessageBox::Yes)->click();
    EXPECT_TRUE(settings.CaptureTelnetFlags[0]);
    EXPECT_FALSE(settings.CaptureTelnetFlags[1]);
    EXPECT_FALSE(settings.CaptureTelnetFlags[13]);
    EXPECT_TRUE(settings.CaptureTelnetFlags[14]);
    click("btnDeselectLogs");
    visibleBox()->button(QMessageBox::Yes)->click();
    EXPECT_FALSE(settings.LogTelnetFlags[5]);
    EXPECT_TRUE(settings.LogTelnetFlags[16]);
    EXPECT_FALSE(settings.Log.RxTotal);
}

TEST_F(LiveTest, ActionButtonsHandTheirWorkToTheWindow)
{
    open();
    dialog->show();
    QSignalSpy email(dialog.get(), &TForm2::sendEmailRequested);
    QSignalSpy trim(dialog.get(), &TForm2::trimLogRequested);
    click("btnTestEmail");
    ASSERT_EQ(email.count(), 1);
    EXPECT_EQ(email.at(0).at(0).toString(),
              QStringLiteral("\"Send Now\" button clicked on e-mail configuration page."));
    click("btnTrimNow");
    EXPECT_EQ(trim.count(), 1);
    click("btnHelp");
    EXPECT_NE(dialog->findChild<TForm4 *>(), nullptr);
    click("btnSelect");
    EXPECT_NE(dialog->findChild<TForm6 *>(), nullptr);
}

// The arrow keys move within a set of radio buttons and pick as they go when the one left was checked.
TEST_F(LiveTest, ArrowKeysMoveWithinARadioSet)
{
    const QByteArray file = "[Graph]\nDots=1\nStairs=1\n[Capture]\nIsJPG=1\nAllTheTime=1\nBetweenHours=0\n[Telnet]\nV123=1\nV4=0\n";
    const struct { QByteArray file; const char *from; Qt::Key key; const char *focused; QStringList checked, unchecked; } cases[] = {
        {file, "rbDots", Qt::Key_Right, "rbLines", {"rbLines", "rbStairs"}, {"rbDots", "rbRamp"}},
        {file, "rbIsJPG", Qt::Key_Up, "rbIsGIF", {"rbIsGIF"}, {"rbIsJPG", "rbIsPNG", "rbIsBMP"}}, // first to last
        {file, "rbV123", Qt::Key_Down, "rbV4", {"rbV4", "rbBroadcom"}, {"rbV123", "rbAR7"}}, // its handler runs
        {file, "rbAllTheTime", Qt::Key_Down, "rbBetweenHours", {"rbBetweenHours"}, {"rbAllTheTime", "rbNever"}},
        // Nothing chosen: only the focus moves.
        {"[Capture]\nAllTheTime=0\nBetweenHours=0\nNever=1\n", "rbBetweenHours", Qt::Key_Left, "rbAllTheTime",
         {"rbNever"}, {"rbAllTheTime", "rbBetweenHours"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.from);
        open(c.file);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        auto *from = control<QRadioButton>(c.from);
        testsupport::showPageOf(from);
        from->setFocus();
        QTest::keyClick(from, c.key);
        EXPECT_TRUE(control<QRadioButton>(c.focused)->hasFocus());
        for (const QString &name : c.checked + c.unchecked)
            EXPECT_EQ(control<QRadioButton>(qPrintable(name))->isChecked(), c.checked.contains(name)) << name.toStdString();
        dialog->close();
    }
}
