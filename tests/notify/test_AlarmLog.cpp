// The alarm log file: its line form, one append per line, and what happens
// when the file cannot be written.
#include "FullDisk.h"
#include "TestSupport.h"
#include "notify/AlarmLog.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct AlarmLogTest : ::testing::Test {
    QTemporaryDir dir;
    TSettings settings;
    RunState run;
    std::unique_ptr<AlarmLog> log;
    QStringList messages;

    void SetUp() override
    {
        SettingsEnvironment env = SettingsEnvironment::forFile(dir.filePath(QStringLiteral("veltrano.ini")));
        env.now = QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39));
        env.locale = QLocale::c();
        settings = settingsstore::load(env).settings;
        settings.Alarm.AlarmLog = dir.filePath(QStringLiteral("alarms.txt"));
        run.SampleStamp = QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39));
        messages.clear();
        log = std::make_unique<AlarmLog>(settings, run);
        QObject::connect(log.get(), &AlarmLog::systemMessage, [this](const QString &m) { messages << m; });
    }
};

} // namespace

TEST_F(AlarmLogTest, LineIsStampSeparatorAndText)
{
    struct Case {
        bool csv;
        bool utc;
        const char *pattern;
        QByteArray line;
    };
    const Case cases[] = {
        {false, false, "ddd dd mmm yyyy  hh:nn:ss", "Sun 06 Dec 2026  08:47:39\t[Alarm: Disconnected]\r\n"},
        {true, false, "ddd dd mmm yyyy  hh:nn:ss", "Sun 06 Dec 2026  08:47:39, [Alarm: Disconnected]\r\n"},
        {false, true, "yyyy-mm-dd hh:nn", "2026-12-06 08:47 (UTC)\t[Alarm: Disconnected]\r\n"},
        {true, true, "dd/mm/yyyy", "06/12/2026 (UTC), [Alarm: Disconnected]\r\n"},
    };
    int n = 0;
    for (const Case &c : cases) {
        settings.System.CSV = c.csv;
        settings.Graph.UTCTime = c.utc;
        settings.System.LogTimef = QLatin1String(c.pattern);
        settings.Alarm.AlarmLog = dir.filePath(QStringLiteral("alarms%1.txt").arg(++n));
        EXPECT_TRUE(log->WriteAlarmLog(QStringLiteral("[Alarm: Disconnected]")));
        EXPECT_EQ(testsupport::readAll(settings.Alarm.AlarmLog), c.line) << c.pattern;
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(AlarmLogTest, LinesAreAppendedWithoutHeaderOrDailyFiles)
{
    settings.System.NewLog = true;
    settings.Log.AddHeader = true;
    settings.Log.HeaderRequired = true;
    testsupport::writeAll(settings.Alarm.AlarmLog, "earlier line\r\n");
    log->WriteAlarmLog(QStringLiteral("first"));
    run.SampleStamp = run.SampleStamp.addDays(1);
    log->WriteAlarmLog(QStringLiteral("caf\u00e9"));
    EXPECT_EQ(testsupport::readAll(settings.Alarm.AlarmLog), "earlier line\r\n"
                                                             "Sun 06 Dec 2026  08:47:39\tfirst\r\n"
                                                             "Mon 07 Dec 2026  08:47:39\tcaf\xe9\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{QStringLiteral("alarms.txt")}));
}

TEST_F(AlarmLogTest, LostLinesAreReportedOncePerRunOfFailures)
{
    struct Case {
        const char *what;
        QString path;
        QString message;
    };
    const QString missing = dir.filePath(QStringLiteral("gone/alarms.txt"));
    const Case cases[] = {
        {"no name", QString(), QStringLiteral("Alarm log entry lost: no alarm log file is set.")},
        {"missing folder", missing,
         QStringLiteral("Alarm log entry lost: the folder of \"%1\" does not exist.").arg(missing)},
        {"a folder in the file's place", dir.path(), QString()},
    };
    for (const Case &c : cases) {
        SetUp();
        settings.Alarm.AlarmLog = c.path;
        EXPECT_FALSE(log->WriteAlarmLog(QStringLiteral("one"))) << c.what;
        EXPECT_FALSE(log->WriteAlarmLog(QStringLiteral("two"))) << c.what;
        ASSERT_EQ(messages.size(), 1) << c.what;
        if (!c.message.isEmpty())
            EXPECT_EQ(messages.first(), c.message) << c.what;
        else
            EXPECT_TRUE(messages.first().startsWith(QLatin1String("Alarm log entry lost: cannot write to"))) << c.what;

        // A new run reports again.
        log->startRun();
        log->WriteAlarmLog(QStringLiteral("three"));
        EXPECT_EQ(messages.size(), 2) << c.what;
    }

    // Lines flow again once the folder is back, and that is said once.
    messages.clear();
    log->startRun();
    settings.Alarm.AlarmLog = missing;
    log->WriteAlarmLog(QStringLiteral("lost"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("gone"))));
    EXPECT_TRUE(log->WriteAlarmLog(QStringLiteral("kept")));
    EXPECT_TRUE(log->WriteAlarmLog(QStringLiteral("kept too")));
    EXPECT_EQ(messages.size(), 2);
    EXPECT_EQ(messages.last(), QStringLiteral("Alarm log entries are written to \"%1\" again.").arg(missing));
    EXPECT_EQ(testsupport::readAll(missing), "Sun 06 Dec 2026  08:47:39\tkept\r\n"
                                             "Sun 06 Dec 2026  08:47:39\tkept too\r\n");
}

// An alarm line that meets a full disk is lost whole, with the system's reason.
struct AlarmLogOnAFullDisk : AlarmLogTest, ::testing::WithParamInterface<FullDisk::Kind> {
    FullDisk disk{GetParam()};
};

TEST_P(AlarmLogOnAFullDisk, ALineThatDoesNotFitLeavesNoPartBehind)
{
    if (!disk.whyNot().empty())
        GTEST_SKIP() << disk.whyNot();
    settings.Alarm.AlarmLog = disk.path(QStringLiteral("alarms.txt"));
    const QByteArray content = QByteArray(FullDisk::pageSize() - 12, '-') + "\r\n";
    testsupport::writeAll(settings.Alarm.AlarmLog, content);
    disk.fill(settings.Alarm.AlarmLog, 10);
    EXPECT_FALSE(log->WriteAlarmLog(QStringLiteral("NoiseBelow")));
    EXPECT_EQ(testsupport::readAll(settings.Alarm.AlarmLog), content);
    ASSERT_EQ(messages.size(), 1);
    const int why = GetParam() == FullDisk::Kind::Tmpfs ? ENOSPC : EFBIG;
    EXPECT_TRUE(messages[0].endsWith(QStringLiteral("(%1).").arg(QString::fromLocal8Bit(std::strerror(why)))))
        << messages[0].toStdString();

    disk.makeRoom();
    EXPECT_TRUE(log->WriteAlarmLog(QStringLiteral("NoiseBelow")));
    EXPECT_TRUE(testsupport::readAll(settings.Alarm.AlarmLog).startsWith(content + "Sun 06 Dec 2026"));
}

INSTANTIATE_TEST_SUITE_P(Disk, AlarmLogOnAFullDisk, FULL_DISK_KINDS, FullDiskKindName);
