#pragma once
// Alarm actions with recording stand-ins for the mailer, the siren and the
// telnet sessions: every action, log line and message lands in one list in
// the order it happened.
#include "TestSupport.h"
#include "acquisition/RouterHttpClient.h"
#include "notify/AlarmActions.h"
#include "notify/AlarmSiren.h"
#include "notify/AlarmTelnet.h"
#include "settings/SettingsStore.h"

#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

struct AlarmRecorder : AlarmSiren, AlarmTelnet {
    QStringList *events = nullptr;
    AlarmActions *actions = nullptr;
    bool mailEndsAtOnce = false; // the mailer reports the end inside SendEmail

    void SendEmail(const QString &reason)
    {
        *events << QStringLiteral("mail: ") + reason;
        if (mailEndsAtOnce)
            actions->EmailDone();
    }
    void play() override { *events << QStringLiteral("siren"); }
    void SendScript(const QString &file) override { *events << QStringLiteral("script: ") + file; }
    void SendText(const QString &text) override { *events << QStringLiteral("telnet:") + text; }
    void rebootSpeedTouch585() override { *events << QStringLiteral("585: system reboot"); }
};

struct AlarmActionsTest : ::testing::Test {
    QTemporaryDir dir;
    TSettings settings;
    RunState run;
    std::unique_ptr<AlarmInputs> inputs;
    RouterHttpClient http;
    std::unique_ptr<AlarmActions> actions;
    AlarmRecorder recorder;
    QStringList events;

    void SetUp() override
    {
        SettingsEnvironment env = SettingsEnvironment::forFile(dir.filePath(QStringLiteral("veltrano.ini")));
        env.now = QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39));
        env.locale = QLocale::c();
        settings = settingsstore::load(env).settings;
        // Reboots go over the recording telnet stand-in; nothing leaves the machine.
        settings.Alarm.UseWeb = false;
        settings.Alarm.UseTelnet = true;
        settings.Alarm.RebootURL = QStringLiteral("http://127.0.0.1:9/setup.cgi?next_file=diag.htm&todo=reboot");
        settings.Router.Login = QStringLiteral("http://127.0.0.1:9/setup.cgi?next_file=stattbl.htm");
        settings.Alarm.NoiseBelowVal = 3;
        settings.Alarm.NoiseAboveVal = 20;
        settings.Alarm.SyncBelowVal = 500;
        settings.Alarm.SyncAboveVal = 8000;
        settings.System.LogTimef = QStringLiteral("ddd dd mmm yyyy  hh:nn:ss");
        run = RunState{};
        run.Running = true;
        run.SampleStamp = QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39));
        run.LogLine = QStringLiteral("Rx-Noise=6.5\t");
        run.Figures.RxNoise = 6.5f;
        rebuild();
    }

    void rebuild()
    {
        actions.reset();
        inputs = std::make_unique<AlarmInputs>(settings, QLocale::c());
        actions = std::make_unique<AlarmActions>(settings, run, *inputs, http, QLocale::c());
        events.clear();
        recorder.events = &events;
        recorder.actions = actions.get();
        QObject::connect(actions.get(), &AlarmActions::systemMessage,
                         [this](const QString &m) { events << QStringLiteral("msg: ") + m; });
        actions->setStatisticsLog([this](const QString &t) { events << QStringLiteral("log: ") + t; });
        actions->setSendEmail([this](const QString &reason) { recorder.SendEmail(reason); });
        actions->setSiren(&recorder);
        actions->setTelnet(&recorder);
    }

    QList<QTimer *> guardTimers() const
    {
        return {actions->tmrRebootInProgress,   actions->tmrAudibleInProgress, actions->tmrExternalInProgress,
                actions->tmrEmailInprogress,    actions->tmrWriteToLogInProgress, actions->tmrNoisePercentLo,
                actions->tmrNoisePercentHi};
    }

    // Every guard ends as if its time had run out.
    void endGuards()
    {
        actions->tmrRebootInProgressTimer();
        actions->tmrAudibleInProgressTimer();
        actions->tmrExternalInProgressTimer();
        actions->tmrEmailInprogressTimer();
        actions->tmrWriteToLogInProgressTimer();
        actions->tmrNoisePercentLoTimer();
        actions->tmrNoisePercentHiTimer();
    }

    int count(const QString &event) const { return int(events.count(event)); }
};
