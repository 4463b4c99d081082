// The alarm inputs of a poll: the threshold delay timers and the
// noise-margin average with its change lines and alarms.
#include "TestSupport.h"
#include "notify/AlarmInputs.h"
#include "settings/SettingsStore.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct AlarmInputsTest : ::testing::Test {
    TSettings settings;
    std::unique_ptr<AlarmInputs> alarms;
    QStringList logLines;
    QStringList raised;

    void SetUp() override
    {
        QTemporaryDir dir;
        SettingsEnvironment env = SettingsEnvironment::forFile(dir.filePath(QStringLiteral("veltrano.ini")));
        env.now = QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39));
        env.locale = QLocale::c();
        settings = settingsstore::load(env).settings;
        logLines.clear();
        raised.clear();
        alarms = std::make_unique<AlarmInputs>(settings, QLocale::c());
        QObject::connect(alarms.get(), &AlarmInputs::logLine, [this](const QString &t) { logLines << t; });
        QObject::connect(alarms.get(), &AlarmInputs::alarmTriggered, [this](const QString &k) { raised << k; });
    }
};

// One threshold: its box, set point, the figure that crosses it and its timer.
struct Threshold {
    const char *name;
    bool TSettings::AlarmKeys::*box;
    int TSettings::AlarmKeys::*setPoint;
    int value;
    AlarmFigures beyond;
    AlarmFigures equal;
    QTimer *const AlarmInputs::*timer;
    bool AlarmInputs::*onceFlag;
};

const Threshold kThresholds[] = {
    {"NoiseAbove", &TSettings::AlarmKeys::NoiseAbove, &TSettings::AlarmKeys::NoiseAboveVal, 10, {10.5f, 0, 0, 0},
     {10, 0, 0, 0}, &AlarmInputs::tmrNoiseAbove, &AlarmInputs::NoiseAboveAlarmed},
    {"NoiseBelow", &TSettings::AlarmKeys::NoiseBelow, &TSettings::AlarmKeys::NoiseBelowVal, 3, {2.9f, 0, 0, 0},
     {3, 0, 0, 0}, &AlarmInputs::tmrNoiseBelow, &AlarmInputs::NoiseBelowAlarmed},
    {"SyncAbove", &TSettings::AlarmKeys::SyncAbove, &TSettings::AlarmKeys::SyncAboveVal, 8000, {0, 8001, 0, 0},
     {0, 8000, 0, 0}, &AlarmInputs::tmrSyncAbove, &AlarmInputs::SyncAboveAlarmed},
    {"SyncBelow", &TSettings::AlarmKeys::SyncBelow, &TSettings::AlarmKeys::SyncBelowVal, 500, {0, 499, 0, 0},
     {0, 500, 0, 0}, &AlarmInputs::tmrSyncBelow, &AlarmInputs::SyncBelowAlarmed},
};

} // namespace

TEST_F(AlarmInputsTest, DelayTimerArmsFromTheFourthSampleAndResetsAtTheSetPoint)
{
    for (const Threshold &t : kThresholds) {
        SetUp();
        // Only this threshold is on; the others sit at set points every figure passes.
        settings.Alarm.NoiseAboveVal = 100;
        settings.Alarm.NoiseBelowVal = -100;
        settings.Alarm.SyncAboveVal = 100000;
        settings.Alarm.SyncBelowVal = -100;
        settings.Alarm.*(t.box) = true;
        settings.Alarm.*(t.setPoint) = t.value;
        QTimer *timer = alarms.get()->*(t.timer);

        for (qint64 sample = 1; sample <= 3; ++sample) {
            alarms->checkThresholds(t.beyond, sample, {});
            EXPECT_FALSE(timer->isActive()) << t.name << " sample " << sample;
            EXPECT_TRUE(alarms->AlarmKind.isEmpty()) << t.name;
        }
        alarms->checkThresholds(t.beyond, 4, {});
        EXPECT_TRUE(timer->isActive()) << t.name;
        EXPECT_EQ(alarms->AlarmKind, QString::fromLatin1(t.name));

        // Still beyond: the running timer is left alone, so nothing is armed anew.
        alarms->checkThresholds(t.beyond, 5, {});
        EXPECT_TRUE(timer->isActive()) << t.name;
        EXPECT_TRUE(alarms->AlarmKind.isEmpty()) << t.name << ": the running timer was restarted";

        // Exactly at the set point: reset, and the alarm may fire again.
        alarms.get()->*(t.onceFlag) = true;
        alarms->checkThresholds(t.equal, 6, {});
        EXPECT_FALSE(timer->isActive()) << t.name;
        EXPECT_FALSE(alarms.get()->*(t.onceFlag)) << t.name;

        // A box switched off stops its timer and keeps its once-flag.
        alarms->checkThresholds(t.beyond, 7, {});
        alarms.get()->*(t.onceFlag) = true;
        settings.Alarm.*(t.box) = false;
        alarms->checkThresholds(t.beyond, 8, {});
        EXPECT_FALSE(timer->isActive()) << t.name;
        EXPECT_TRUE(alarms.get()->*(t.onceFlag)) << t.name;
    }
}

TEST_F(AlarmInputsTest, InputsComeFromTelnetWhenChosen)
{
    settings.Alarm.NoiseBelow = true;
    settings.Alarm.NoiseBelowVal = 3;
    const AlarmFigures f{6.5f, 8000, 2.0f, 7000};
    alarms->checkThresholds(f, 10, {});
    EXPECT_FALSE(alarms->tmrNoiseBelow->isActive());
    EXPECT_FLOAT_EQ(alarms->AlarmNoise, 6.5f);
    EXPECT_FLOAT_EQ(alarms->AlarmSync, 8000);

    settings.Alarm.UseTelnet = true;
    alarms->checkThresholds(f, 11, {});
    EXPECT_TRUE(alarms->tmrNoiseBelow->isActive());
    EXPECT_FLOAT_EQ(alarms->AlarmNoise, 2.0f);
    EXPECT_FLOAT_EQ(alarms->AlarmSync, 7000);
}

TEST_F(AlarmInputsTest, AnActionInProgressLeavesTheTimersAsTheyAre)
{
    settings.Alarm.NoiseAbove = true;
    settings.Alarm.NoiseAboveVal = 10;
    alarms->checkThresholds({12, 0, 0, 0}, 10, {});
    ASSERT_TRUE(alarms->tmrNoiseAbove->isActive());

    AlarmGuards guards;
    guards.writeToLog = true;
    alarms->checkThresholds({5, 0, 0, 0}, 11, guards);
    EXPECT_TRUE(alarms->tmrNoiseAbove->isActive());
    EXPECT_TRUE(alarms->AlarmKind.isEmpty());
    EXPECT_FLOAT_EQ(alarms->AlarmNoise, 5);

    alarms->checkThresholds({5, 0, 0, 0}, 12, {});
    EXPECT_FALSE(alarms->tmrNoiseAbove->isActive());
}

TEST_F(AlarmInputsTest, DelayTimerReportsItsName)
{
    settings.Alarm.SyncBelow = true;
    settings.Alarm.SyncBelowVal = 500;
    QSignalSpy fired(alarms.get(), &AlarmInputs::delayTimerFired);
    alarms->tmrSyncBelow->setInterval(5);
    alarms->checkThresholds({0, 100, 0, 0}, 10, {});
    ASSERT_TRUE(testsupport::waitFor([&] { return fired.count() > 0; }));
    EXPECT_EQ(fired.first().first().toString(), QStringLiteral("SyncBelow"));
}

TEST_F(AlarmInputsTest, RunResetsTimersFlagsAndTheAverage)
{
    settings.Alarm.NoiseAbove = true;
    settings.Alarm.NoiseAboveVal = 10;
    settings.Alarm.NoiseAboveSec = 60;
    settings.Alarm.SyncBelowSec = 0;
    alarms->checkThresholds({12, 0, 0, 0}, 10, {});
    alarms->NoiseBelowAlarmed = alarms->SyncAboveAlarmed = true;
    alarms->SnrAverage = 6;

    alarms->resetForRun();
    EXPECT_FALSE(alarms->tmrNoiseAbove->isActive());
    EXPECT_EQ(alarms->tmrNoiseAbove->interval(), 60000);
    EXPECT_EQ(alarms->tmrSyncBelow->interval(), 1000); // no delay means the shortest, not a busy loop
    EXPECT_FALSE(alarms->NoiseBelowAlarmed || alarms->SyncAboveAlarmed);
    EXPECT_FLOAT_EQ(alarms->SnrAverage, 9999.0f);
}

TEST_F(AlarmInputsTest, NoiseChangeNeedsMoreThanTheAveragedPoints)
{
    settings.Alarm.SNRSamples = 5;
    settings.Alarm.SNRChangeHi = true;
    settings.Log.LogSNRChange = true;
    QSignalSpy labels(alarms.get(), &AlarmInputs::labelsChanged);
    bool icon = false;
    EXPECT_FALSE(alarms->noiseChangeStep(20, {6, 6, 6, 6, 20}, QStringLiteral("line"), icon));
    EXPECT_EQ(labels.count(), 0);
    EXPECT_TRUE(logLines.isEmpty());
    EXPECT_TRUE(raised.isEmpty());
    EXPECT_FLOAT_EQ(alarms->SnrAverage, 9999.0f);
    EXPECT_FALSE(icon);
}

TEST_F(AlarmInputsTest, NoiseChangeLinesAndAlarms)
{
    struct Case {
        const char *what;
        float rxNoise;
        QList<double> points; // the newest is this poll's
        QString label65, label66, label67;
        QStringList lines;
        QStringList alarms;
        bool icon;
    };
    const Case cases[] = {
        {"risen", 9, {100, 6, 6, 6, 6, 9}, QStringLiteral("( 11.4 dB )"), QStringLiteral("( 6.0 dB  )"),
         QStringLiteral("( Average is 6.0 dB )"),
         {QStringLiteral("[Noise Margin is above percent change. (9 > 7.2)]"), QStringLiteral("poll line")},
         {QStringLiteral("NoiseHi")}, true},
        {"fallen", 2, {0, 6, 6, 6, 6, 2}, QStringLiteral("( 4.4 dB )"), QStringLiteral("( -1.0 dB  )"),
         QStringLiteral("( Average is 6.0 dB )"),
         {QStringLiteral("[Noise Margin is below percent change. (2 < 4.8)]"), QStringLiteral("poll line")},
         {QStringLiteral("NoiseLo")}, true},
        {"steady", 6.5f, {1, 2, 6, 6, 6, 6, 6.5}, QStringLiteral("( 8.9 dB )"), QStringLiteral("( 3.5 dB  )"),
         QStringLiteral("( Average is 6.0 dB )"), {}, {}, false},
        {"thousands", 1300, {1, 1200, 1200, 1200, 1200, 1300}, QStringLiteral("( 1,780.0 dB )"),
         QStringLiteral("( 700.0 dB  )"), QStringLiteral("( Average is 1,200.0 dB )"), {}, {}, false},
    };
    for (const Case &c : cases) {
        SetUp();
        settings.Alarm.SNRSamples = 5;
        settings.Alarm.SNRChangeHi = true;
        settings.Alarm.SNRValueHi = 40;
        settings.Alarm.SNRChangeLo = true;
        settings.Alarm.SNRValueLo = 50;
        settings.Log.LogSNRChange = true;
        settings.Log.SNRChange = 20;
        if (QByteArray(c.what) == "thousands")
            settings.Log.LogSNRChange = false;
        QSignalSpy labels(alarms.get(), &AlarmInputs::labelsChanged);
        bool icon = false;
        EXPECT_TRUE(alarms->noiseChangeStep(c.rxNoise, c.points, QStringLiteral("poll line"), icon)) << c.what;
        ASSERT_EQ(labels.count(), 1) << c.what;
        EXPECT_EQ(alarms->label65Text(), c.label65) << c.what;
        EXPECT_EQ(alarms->label66Text(), c.label66) << c.what;
        EXPECT_EQ(alarms->label67Text(), c.label67) << c.what;
        EXPECT_EQ(labels.first().at(0).toString(), c.label65);
        EXPECT_EQ(logLines, c.lines) << c.what;
        EXPECT_EQ(raised, c.alarms) << c.what;
        EXPECT_EQ(icon, c.icon) << c.what;
        if (!c.alarms.isEmpty()) {
            EXPECT_EQ(alarms->AlarmKind, c.alarms.last());
        }
    }
}
