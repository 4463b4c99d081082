// The alarm page: every control edits its setting at once, loading the
// controls runs no handler, the enabled states follow the router and log
// settings, and the handlers reach the alarm actions.
#include "TestSupport.h"
#include "acquisition/RouterHttpClient.h"
#include "pages/AlarmPage.h"
#include "mainwindow/WindowBindings.h"
#include "settings/SettingsHub.h"
#include "notify/AlarmActions.h"
#include "notify/StatisticsLog.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QScrollArea>
#include <QScrollBar>
#include <gtest/gtest.h>
#include <memory>

namespace {

using AlarmKeys = TSettings::AlarmKeys;

struct AlarmPageTest : ::testing::Test {
    QTemporaryDir dir;
    TSettings settings;
    RunState run;
    std::unique_ptr<AlarmInputs> inputs;
    RouterHttpClient http;
    std::unique_ptr<StatisticsLog> log;
    std::unique_ptr<AlarmActions> actions;
    SettingsHub hub{settings};
    std::unique_ptr<LiveBinder> binder;
    std::unique_ptr<AlarmPage> page;

    void SetUp() override
    {
        SettingsEnvironment env = SettingsEnvironment::forFile(dir.filePath(QStringLiteral("veltrano.ini")));
        env.locale = QLocale::c();
        settings = settingsstore::load(env).settings;
        settings.Router.Login = QStringLiteral("http://192.168.0.1/setup.cgi?next_file=stattbl.htm");
        settings.Router.LogOut = QStringLiteral("http://192.168.0.1/setup.cgi?todo=logout");
        run.SampleStamp = QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39));
    }

    void TearDown() override
    {
        binder.reset();
        page.reset();
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<QMessageBox *>(w))
                delete w;
    }

    void open()
    {
        binder.reset();
        page.reset();
        actions.reset();
        inputs = std::make_unique<AlarmInputs>(settings, QLocale::c());
        log = std::make_unique<StatisticsLog>(settings, run);
        actions = std::make_unique<AlarmActions>(settings, run, *inputs, http, QLocale::c());
        hub.rebase(); // the settings as loaded
        page = std::make_unique<AlarmPage>(hub, run, *actions, *inputs, *log);
        // Bound as the window binds it: the window's rows, the page's followers.
        binder = std::make_unique<LiveBinder>(hub);
        binder->bind(page.get(), windowBindings());
        binder->follow(page->followers());
    }
    void type(const char *name, const QString &text) { testsupport::typeText(child<QLineEdit>(name), text); }

    template <typename W>
    W *child(const char *name)
    {
        W *w = page->findChild<W *>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
};

} // namespace

TEST_F(AlarmPageTest, ControlsLoadAndWriteTheirSettings)
{
    struct Box {
        const char *name;
        bool AlarmKeys::*key;
    };
    const Box boxes[] = {
        {"cbNoiseAbove", &AlarmKeys::NoiseAbove},   {"cbNoiseBelow", &AlarmKeys::NoiseBelow},
        {"cbSyncAbove", &AlarmKeys::SyncAbove},     {"cbSyncBelow", &AlarmKeys::SyncBelow},
        {"cbDontReboot", &AlarmKeys::cbReboots},    {"cbAudible", &AlarmKeys::Audible},
        {"cbExternal", &AlarmKeys::cbExternal},     {"cbAppMin", &AlarmKeys::cbAppMin},
        {"cbSendEmailMain", &AlarmKeys::EmailAlarm}, {"cbJustOne", &AlarmKeys::JustOne},
        {"cbConnectionLoss", &AlarmKeys::ConnectionLoss}, {"cbAllAlarms", &AlarmKeys::AllAlarms},
        {"cbAlarmOnce", &AlarmKeys::AlarmOnce},     {"cbWriteAlarmToLog", &AlarmKeys::LogAlarm},
        {"cbState", &AlarmKeys::State},             {"cbSNRChangeHi", &AlarmKeys::SNRChangeHi},
        {"cbSNRChangeLo", &AlarmKeys::SNRChangeLo},
    };
    struct Spin {
        const char *name;
        int AlarmKeys::*key;
        int value;
    };
    const Spin spins[] = {
        {"spNoiseAboveVal", &AlarmKeys::NoiseAboveVal, 12}, {"spNoisebelowVal", &AlarmKeys::NoiseBelowVal, 3},
        {"spSyncAboveVal", &AlarmKeys::SyncAboveVal, 9000}, {"spSyncBelowVal", &AlarmKeys::SyncBelowVal, 400},
        {"spNoiseAboveSec", &AlarmKeys::NoiseAboveSec, 30}, {"spNoiseBelowSec", &AlarmKeys::NoiseBelowSec, 31},
        {"spSyncAboveSec", &AlarmKeys::SyncAboveSec, 32},   {"spSyncBelowSec", &AlarmKeys::SyncBelowSec, 33},
        {"spRebootsPerHour", &AlarmKeys::Reboots, 4},      {"spAntiCycle", &AlarmKeys::AntiCycle, 11},
        {"spEmailTimeout", &AlarmKeys::EmailTimeout, 17},  {"spScriptWait", &AlarmKeys::ScriptWait, 45},
        {"spAlarmSNRHi", &AlarmKeys::SNRValueHi, 70},      {"spAlarmSNRLo", &AlarmKeys::SNRValueLo, 80},
        {"spSNRSamples", &AlarmKeys::SNRSamples, 25},
    };
    struct Edit {
        const char *name;
        QString AlarmKeys::*key;
    };
    const Edit edits[] = {{"edExternalApp", &AlarmKeys::edExternal},
                          {"edReboot", &AlarmKeys::RebootURL},
                          {"edAlarmLog", &AlarmKeys::AlarmLog}};

    // Loaded from the settings...
    settings.Alarm.NoiseAboveVal = 42;
    settings.Alarm.edExternal = QStringLiteral("/usr/bin/logger down");
    settings.Alarm.AlarmOnce = false;
    open();
    EXPECT_EQ(child<QSpinBox>("spNoiseAboveVal")->value(), 42);
    EXPECT_EQ(child<QLineEdit>("edExternalApp")->text(), QStringLiteral("/usr/bin/logger down"));
    EXPECT_FALSE(child<QCheckBox>("cbAlarmOnce")->isChecked());

    // ...and written back at once.
    for (const Box &b : boxes) {
        QCheckBox *box = child<QCheckBox>(b.name);
        box->setEnabled(true);
        const bool before = settings.Alarm.*b.key;
        box->click();
        EXPECT_EQ(settings.Alarm.*b.key, !before) << b.name;
        box->click();
        EXPECT_EQ(settings.Alarm.*b.key, before) << b.name;
    }
    for (const Spin &s : spins) {
        child<QSpinBox>(s.name)->setValue(s.value);
        EXPECT_EQ(settings.Alarm.*s.key, s.value) << s.name;
    }
    for (const Edit &e : edits) {
        type(e.name, QStringLiteral("typed ") + QLatin1String(e.name));
        EXPECT_EQ(settings.Alarm.*e.key, QStringLiteral("typed ") + QLatin1String(e.name)) << e.name;
    }
    struct Radio {
        const char *on;
        bool AlarmKeys::*onKey;
        bool AlarmKeys::*offKey;
    };
    settings.Router.Telnet = true;
    page->applySettings();
    const Radio radios[] = {{"rbPerDay", &AlarmKeys::PerDay, &AlarmKeys::PerHour},
                            {"rbPerHour", &AlarmKeys::PerHour, &AlarmKeys::PerDay},
                            {"rbUseTelnet", &AlarmKeys::UseTelnet, &AlarmKeys::UseWeb},
                            {"rbUseWeb", &AlarmKeys::UseWeb, &AlarmKeys::UseTelnet},
                            {"rbUseAlarmLog", &AlarmKeys::AlarmAlarmLog, &AlarmKeys::AlarmNormalLog},
                            {"rbUseNormalLog", &AlarmKeys::AlarmNormalLog, &AlarmKeys::AlarmAlarmLog}};
    for (const Radio &r : radios) {
        child<QRadioButton>(r.on)->click();
        EXPECT_TRUE(settings.Alarm.*r.onKey) << r.on;
        EXPECT_FALSE(settings.Alarm.*r.offKey) << r.on;
    }
}

TEST_F(AlarmPageTest, LoadingRunsNoHandler)
{
    settings.Alarm.cbReboot = true;
    settings.Alarm.RebootURL = QStringLiteral("http://10.0.0.138/reboot.cgi");
    open();
    page->show();
    inputs->tmrNoiseAbove->start(60000);
    settings.Alarm.NoiseAbove = false;
    settings.Alarm.AntiCycle = 9;
    hub.rebase(); // loaded, not changed
    page->applySettings();
    EXPECT_TRUE(child<QCheckBox>("cbReboot")->isChecked());
    EXPECT_TRUE(page->RebootConfirmBox.isNull());
    // The router URLs do not follow a loaded reboot URL, only a typed one.
    EXPECT_EQ(settings.Router.Login, QStringLiteral("http://192.168.0.1/setup.cgi?next_file=stattbl.htm"));
    EXPECT_TRUE(inputs->tmrNoiseAbove->isActive());
}

TEST_F(AlarmPageTest, EnabledStatesFollowTheSettings)
{
    struct Case {
        const char *what;
        bool telnet, st585, disableHttp, useTelnet;
        bool telnetEnabled, webEnabled, telnetChecked, rebootUrlEnabled;
    };
    const Case cases[] = {
        {"web only router", false, false, false, true, false, true, false, true},
        {"telnet router, web chosen", true, false, false, false, true, true, false, true},
        {"telnet router, telnet chosen", true, false, false, true, true, true, true, false},
        {"SpeedTouch 585", false, true, false, false, true, false, true, false},
        {"telnet only monitoring", true, false, true, false, true, false, true, false},
    };
    for (const Case &c : cases) {
        SetUp();
        settings.Router.Telnet = c.telnet;
        settings.Router.ST585 = c.st585;
        settings.Telnet.DisableHTTP = c.disableHttp;
        settings.Alarm.UseTelnet = c.useTelnet;
        settings.Alarm.UseWeb = !c.useTelnet;
        open();
        EXPECT_EQ(child<QRadioButton>("rbUseTelnet")->isEnabled(), c.telnetEnabled) << c.what;
        EXPECT_EQ(child<QRadioButton>("rbUseWeb")->isEnabled(), c.webEnabled) << c.what;
        EXPECT_EQ(child<QRadioButton>("rbUseTelnet")->isChecked(), c.telnetChecked) << c.what;
        EXPECT_EQ(settings.Alarm.UseTelnet, c.telnetChecked) << c.what;
        EXPECT_EQ(settings.Alarm.UseWeb, !c.telnetChecked) << c.what;
        EXPECT_EQ(child<QLineEdit>("edReboot")->isEnabled(), c.rebootUrlEnabled) << c.what;
        EXPECT_EQ(child<QLabel>("Label21")->isEnabled(), c.rebootUrlEnabled) << c.what;
        for (const char *name : {"cbState", "cbSNRChangeHi", "cbSNRChangeLo", "spAlarmSNRHi", "spAlarmSNRLo",
                                 "spSNRSamples", "Label65", "Label66", "Label67"})
            EXPECT_EQ(child<QWidget>(name)->isEnabled(), !c.disableHttp) << c.what << " " << name;
    }

    struct Other {
        const char *what;
        std::function<void(TSettings &)> set;
        const char *control;
        bool enabled;
    };
    const Other others[] = {
        {"no SMTP server", [](TSettings &s) { s.Email.Server.clear(); }, "cbSendEmailMain", false},
        {"SMTP server", [](TSettings &s) { s.Email.Server = QStringLiteral("127.0.0.1"); }, "cbSendEmailMain", true},
        {"no envelope", [](TSettings &s) { s.Email.ShowIcon = false; }, "cbJustOne", false},
        {"envelope", [](TSettings &s) { s.Email.ShowIcon = true; }, "cbJustOne", true},
        {"alarm once", [](TSettings &s) { s.Alarm.AlarmOnce = true; }, "spAntiCycle", false},
        {"every alarm", [](TSettings &s) { s.Alarm.AlarmOnce = false; }, "spAntiCycle", true},
        {"no logging at all",
         [](TSettings &s) {
             s.System.Log = false;
             s.Alarm.AlarmAlarmLog = false;
             s.Alarm.AlarmNormalLog = true;
         },
         "cbWriteAlarmToLog", false},
        {"statistics log", [](TSettings &s) { s.System.Log = true; }, "cbWriteAlarmToLog", true},
        {"alarm log",
         [](TSettings &s) {
             s.System.Log = false;
             s.Alarm.AlarmAlarmLog = true;
             s.Alarm.AlarmNormalLog = false;
         },
         "cbWriteAlarmToLog", true},
    };
    for (const Other &o : others) {
        SetUp();
        o.set(settings);
        open();
        EXPECT_EQ(child<QWidget>(o.control)->isEnabled(), o.enabled) << o.what;
    }
}

TEST_F(AlarmPageTest, AlarmOnceBoxClearsTheFlagsAndFreesTheGuardTime)
{
    open();
    inputs->NoiseAboveAlarmed = inputs->SyncBelowAlarmed = true;
    child<QCheckBox>("cbAlarmOnce")->click();
    EXPECT_FALSE(settings.Alarm.AlarmOnce);
    EXPECT_TRUE(child<QSpinBox>("spAntiCycle")->isEnabled());
    EXPECT_TRUE(child<QLabel>("Label38")->isEnabled());
    EXPECT_FALSE(inputs->NoiseAboveAlarmed || inputs->SyncBelowAlarmed);

    // A new guard time ends the guards and takes the new length.
    actions->tmrEmailInprogress->start();
    child<QSpinBox>("spAntiCycle")->setValue(3);
    EXPECT_FALSE(actions->tmrEmailInprogress->isActive());
    EXPECT_EQ(actions->tmrEmailInprogress->interval(), 180000);

    child<QRadioButton>("rbPerDay")->click();
    EXPECT_EQ(actions->tmrOneHour->interval(), 86400000);
    child<QRadioButton>("rbPerHour")->click();
    EXPECT_EQ(actions->tmrOneHour->interval(), 3600000);

    child<QSpinBox>("spSyncAboveSec")->setValue(75);
    EXPECT_EQ(inputs->tmrSyncAbove->interval(), 75000);
}

TEST_F(AlarmPageTest, RebootOnAlarmIsConfirmed)
{
    for (const bool yes : {false, true}) {
        SetUp();
        open();
        page->show();
        child<QCheckBox>("cbReboot")->click();
        ASSERT_FALSE(page->RebootConfirmBox.isNull());
        // Asked once: the box's handler is wired in one place.
        int asked = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            asked += w->objectName() == QLatin1String("RebootConfirmBox") && w->isVisible();
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(page->RebootConfirmBox->text(), QStringLiteral("Set Router to Reboot on Alarm!!  Please confirm."));
        page->RebootConfirmBox->button(yes ? QMessageBox::Yes : QMessageBox::Cancel)->click();
        EXPECT_EQ(child<QCheckBox>("cbReboot")->isChecked(), yes);
        EXPECT_EQ(settings.Alarm.cbReboot, yes);
    }
}

TEST_F(AlarmPageTest, TypedRebootUrlTakesTheRouterUrlsAlong)
{
    open();
    type("edReboot", QStringLiteral("http://192.168.1.254/setup.cgi?todo=reboot"));
    EXPECT_EQ(settings.Router.Login, QStringLiteral("http://192.168.1.254/setup.cgi?next_file=stattbl.htm"));
    EXPECT_EQ(settings.Router.LogOut, QStringLiteral("http://192.168.1.254/setup.cgi?todo=logout"));
}

TEST_F(AlarmPageTest, AlarmLogLabelShowsWhereLinesGo)
{
    settings.System.Log = true;
    settings.System.LogFile = dir.filePath(QStringLiteral("line.txt"));
    settings.System.NewLog = true;
    settings.Alarm.AlarmLog = dir.filePath(QStringLiteral("alarms.txt"));
    open();
    QLabel *label69 = child<QLabel>("Label69");

    child<QRadioButton>("rbUseAlarmLog")->click();
    EXPECT_EQ(label69->text(), settings.Alarm.AlarmLog);
    child<QCheckBox>("cbWriteAlarmToLog")->click(); // checked
    EXPECT_EQ(label69->text(), settings.Alarm.AlarmLog);
    // The day's file of the statistics log.
    child<QRadioButton>("rbUseNormalLog")->click();
    EXPECT_EQ(label69->text(), dir.filePath(QStringLiteral("line2026-12-06.txt")));
    child<QCheckBox>("cbWriteAlarmToLog")->click(); // unchecked
    EXPECT_EQ(label69->text(), QString());

    // "View Log" opens the chosen log; without an alarm log file there is nothing to open.
    QSignalSpy view(page.get(), &AlarmPage::viewStatisticsLogRequested);
    child<QPushButton>("btnViewAlarmLog1")->click();
    EXPECT_EQ(view.count(), 1);
    EXPECT_FALSE(child<QPushButton>("btnViewAlarmLog")->isEnabled());
    testsupport::writeAll(settings.Alarm.AlarmLog, "x\r\n");
    page->edAlarmLogChange();
    EXPECT_TRUE(child<QPushButton>("btnViewAlarmLog")->isEnabled());
}

TEST_F(AlarmPageTest, PercentLabelsFromThePlottedAverage)
{
    settings.Alarm.SNRSamples = 5;
    open();
    run.SampleCount = 100;
    run.Figures.RxNoise = 9;
    page->setRxNoiseSource([](int n) {
        const QList<double> plotted = {100, 6, 5, 7, 6, 9};
        return plotted.mid(plotted.size() - n);
    });
    child<QSpinBox>("spAlarmSNRHi")->setValue(60);
    EXPECT_EQ(child<QLabel>("Label65")->text(), QStringLiteral("( 12.6 dB )"));
    EXPECT_EQ(child<QLabel>("Label66")->text(), QStringLiteral("( 6.0 dB  )"));
    EXPECT_EQ(child<QLabel>("Label67")->text(), QStringLiteral("( Average is 6.0 dB )"));

    // Not more polls than points averaged: the labels stay.
    run.SampleCount = 5;
    child<QSpinBox>("spAlarmSNRLo")->setValue(10);
    EXPECT_EQ(child<QLabel>("Label66")->text(), QStringLiteral("( 6.0 dB  )"));

    // The cycle's labels reach the page too.
    bool icon = false;
    inputs->noiseChangeStep(9, {100, 6, 6, 6, 6, 9}, QString(), icon);
    EXPECT_EQ(child<QLabel>("Label67")->text(), inputs->label67Text());
}

// Where both columns do not fit, they stack and the page scrolls down only:
// no column is ever cut off at the side.
TEST_F(AlarmPageTest, ColumnsStackWhenThePageIsNarrow)
{
    open();
    page->resize(700, 500);
    page->show();
    QApplication::processEvents();
    EXPECT_FALSE(page->columnsSideBySide());
    EXPECT_LE(child<QScrollArea>("AlarmScroll")->widget()->width(), child<QScrollArea>("AlarmScroll")->viewport()->width());
    page->resize(1600, 900);
    QApplication::processEvents();
    EXPECT_TRUE(page->columnsSideBySide());
}
