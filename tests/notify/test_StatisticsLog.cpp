// The statistics log file: line format, header lines, per-day files across
// midnight, the missing folder, write failures and the trim.
#include "FullDisk.h"
#include "TestSupport.h"
#include "common/Clock.h"
#include "notify/StatisticsLog.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct StatisticsLogTest : ::testing::Test {
    QTemporaryDir dir;
    TSettings settings;
    RunState run;
    std::unique_ptr<StatisticsLog> log;
    QStringList messages;
    QStringList panel;

    void SetUp() override
    {
        SettingsEnvironment env = SettingsEnvironment::forFile(dir.filePath(QStringLiteral("veltrano.ini")));
        env.now = QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39));
        env.locale = QLocale::c();
        settings = settingsstore::load(env).settings;
        settings.System.Log = true;
        settings.System.LogFile = path(QStringLiteral("line.txt"));
        settings.Log.HeaderRequired = false;
        run.SampleStamp = QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39));
        restart();
    }

    // A new program run: nothing remembered but the files.
    void restart()
    {
        log = std::make_unique<StatisticsLog>(settings, run);
        QObject::connect(log.get(), &StatisticsLog::systemMessage, [this](const QString &m) { messages << m; });
        QObject::connect(log.get(), &StatisticsLog::panelTextChanged, [this](const QString &t) { panel << t; });
        log->startRun();
    }

    QString path(const QString &name) const { return dir.filePath(name); }
    QByteArray file(const QString &name) const { return testsupport::readAll(path(name)); }
    QList<QByteArray> lines(const QString &name) const
    {
        QList<QByteArray> l = file(name).split('\n');
        if (!l.isEmpty() && l.last().isEmpty())
            l.removeLast();
        for (QByteArray &x : l) {
            EXPECT_TRUE(x.endsWith('\r')) << x.constData();
            x.chop(1);
        }
        return l;
    }
};

QByteArray stamped(int i) { return "Sun 06 Dec 2026  08:47:39\tRx-Noise=" + QByteArray::number(i) + "\t"; }

QByteArray numbered(int first, int last)
{
    QByteArray b;
    for (int i = first; i <= last; ++i)
        b += stamped(i) + "\r\n";
    return b;
}

} // namespace

TEST_F(StatisticsLogTest, LineIsStampSeparatorAndText)
{
    struct Case {
        bool csv;
        bool utc;
        const char *pattern;
        const char *expected;
    };
    const Case cases[] = {
        {false, false, "ddd dd mmm yyyy  hh:nn:ss", "Sun 06 Dec 2026  08:47:39\t6.5\t\r\n"},
        {true, false, "ddd dd mmm yyyy  hh:nn:ss", "Sun 06 Dec 2026  08:47:39, 6.5\t\r\n"},
        {false, true, "ddd dd mmm yyyy  hh:nn:ss", "Sun 06 Dec 2026  08:47:39 (UTC)\t6.5\t\r\n"},
        {true, true, "yyyy-mm-dd hh:nn", "2026-12-06 08:47 (UTC), 6.5\t\r\n"},
    };
    for (const Case &c : cases) {
        QFile::remove(settings.System.LogFile);
        settings.System.CSV = c.csv;
        settings.Graph.UTCTime = c.utc;
        settings.System.LogTimef = QString::fromLatin1(c.pattern);
        log->WriteLogNow(QStringLiteral("6.5\t"));
        EXPECT_EQ(file(QStringLiteral("line.txt")), QByteArray(c.expected)) << c.csv << c.utc << c.pattern;
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(log->LogWriting());
}

TEST_F(StatisticsLogTest, HeaderCycleWritesTheHeaderThenThePollsValues)
{
    settings.Log.AddHeader = true;
    settings.Log.HeaderRequired = true;
    log->setLogHeaderPending(true);
    const QString header = QStringLiteral("Date   /   Time\t          Rx-Noise\t  \r\n");
    log->setPollHeader(header);
    log->WriteLogNow(QStringLiteral("6.5\t"));
    log->WriteLogNow(QStringLiteral("6.6\t"));

    EXPECT_EQ(file(QStringLiteral("line.txt")), QByteArray("Date   /   Time\t          Rx-Noise\t  \r\n\r\n"
                                                           "Sun 06 Dec 2026  08:47:39\t6.5\t\r\n"
                                                           "Sun 06 Dec 2026  08:47:39\t6.6\t\r\n"));
    EXPECT_EQ(log->LogHeader(), header);
    EXPECT_FALSE(settings.Log.HeaderRequired);
    EXPECT_FALSE(log->LogHeaderPending());
}

TEST_F(StatisticsLogTest, HeaderDueBeforeAnyPollNamedItsItemsStaysPending)
{
    settings.Log.AddHeader = true;
    settings.Log.HeaderRequired = true;
    log->WriteLogNow(QStringLiteral("[Connected]"));
    EXPECT_EQ(file(QStringLiteral("line.txt")), QByteArray("Sun 06 Dec 2026  08:47:39\t[Connected]\r\n"));
    EXPECT_TRUE(log->LogHeader().isEmpty());
    EXPECT_TRUE(log->LogHeaderPending());
    EXPECT_FALSE(settings.Log.HeaderRequired);
}

TEST_F(StatisticsLogTest, NewDaysFileGetsTheMidnightPollsLine)
{
    struct Case {
        bool addHeader;
        QByteArray newFile;
    };
    const Case cases[] = {
        {false, "Mon 07 Dec 2026  00:00:10\tb\r\n"},
        {true, "H\r\n\r\nMon 07 Dec 2026  00:00:10\tb\r\n"},
    };
    for (const Case &c : cases) {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        settings.System.NewLog = true;
        settings.Log.AddHeader = c.addHeader;
        ManualClock clock(QDateTime(QDate(2026, 12, 6), QTime(23, 59, 50)));
        Clock::setInstance(&clock);
        run.SampleStamp = Clock::currentDateTime();
        restart();
        log->setPollHeader(QStringLiteral("H\r\n"));
        EXPECT_EQ(log->currentFileName(), path(QStringLiteral("line2026-12-06.txt")));
        EXPECT_EQ(panel.last(), path(QStringLiteral("line2026-12-06.txt")));
        log->WriteLogNow(QStringLiteral("a"));

        clock.advanceSecs(20);
        run.SampleStamp = Clock::currentDateTime();
        log->WriteLogNow(QStringLiteral("b"));
        Clock::setInstance(nullptr);

        EXPECT_EQ(file(QStringLiteral("line2026-12-06.txt")), QByteArray("Sun 06 Dec 2026  23:59:50\ta\r\n"));
        EXPECT_EQ(file(QStringLiteral("line2026-12-07.txt")), c.newFile) << c.addHeader;
        EXPECT_EQ(log->currentFileName(), path(QStringLiteral("line2026-12-07.txt")));
        EXPECT_EQ(log->DailyLogName(), path(QStringLiteral("line2026-12-07.txt")));
        EXPECT_EQ(panel.last(), path(QStringLiteral("line2026-12-07.txt")));
        // The header went with the line; no second one follows at the next poll.
        EXPECT_FALSE(log->LogHeaderPending());
    }
}

TEST_F(StatisticsLogTest, MissingFolderStopsWithoutWriting)
{
    settings.System.LogFile = path(QStringLiteral("gone/line.txt"));
    log->startRun();
    settings.Log.HeaderRequired = true;
    QSignalSpy missing(log.get(), &StatisticsLog::logFolderMissing);
    log->WriteLogNow(QStringLiteral("6.5"));
    EXPECT_EQ(missing.count(), 1);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("gone"))));
    EXPECT_FALSE(log->LogWriting());
    EXPECT_FALSE(settings.Log.HeaderRequired);
}

TEST_F(StatisticsLogTest, WriteFailureIsReportedOncePerRunOfFailures)
{
    struct Case {
        const char *what;
        std::function<void(const QString &)> block;
        std::function<void(const QString &)> unblock;
    };
    const auto remove = [](const QString &p) { QFile::remove(p); };
    const Case cases[] = {
        // A FIFO once held the window thread in open() for good; a device
        // swallowed every line as if written.
        {"a FIFO", [](const QString &p) { ::mkfifo(QFile::encodeName(p).constData(), 0600); }, remove},
        {"a link to a device", [](const QString &p) { QFile::link(QStringLiteral("/dev/null"), p); }, remove},
        // A folder where the file should be cannot be appended to, even by root.
        {"folder in the way", [](const QString &p) { QDir().mkpath(p); },
         [](const QString &p) { QDir(p).removeRecursively(); }},
        {"read-only file",
         [](const QString &p) {
             testsupport::writeAll(p, QByteArray());
             QFile::setPermissions(p, QFile::ReadOwner);
         },
         [](const QString &p) { QFile::setPermissions(p, QFile::ReadOwner | QFile::WriteOwner); }},
    };
    for (const Case &c : cases) {
        if (std::string(c.what) == "read-only file" && geteuid() == 0)
            continue; // root writes anyway
        const QString target = path(QString::fromLatin1(c.what).replace(QLatin1Char(' '), QLatin1Char('-')));
        messages.clear();
        log->setCurrentFileName(target);
        c.block(target);
        for (int i = 0; i < 3; ++i)
            log->WriteLogNow(QStringLiteral("lost"));
        ASSERT_EQ(messages.size(), 1) << c.what;
        EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Log entry lost: cannot write to \"") + target)) << c.what;

        c.unblock(target);
        log->WriteLogNow(QStringLiteral("kept"));
        log->WriteLogNow(QStringLiteral("kept"));
        ASSERT_EQ(messages.size(), 2) << c.what;
        EXPECT_EQ(messages[1], QStringLiteral("Log entries are written to \"%1\" again.").arg(target));
        EXPECT_TRUE(testsupport::readAll(target).endsWith("\tkept\r\n")) << c.what;

        // A new run of failures is reported again.
        QFile::remove(target);
        c.block(target);
        log->WriteLogNow(QStringLiteral("lost"));
        EXPECT_EQ(messages.size(), 3) << c.what;
        c.unblock(target);
        log->WriteLogNow(QStringLiteral("kept")); // the next row starts from a working log
    }
}

TEST_F(StatisticsLogTest, WithoutALogFileNothingIsWrittenWhileLoggingIsOff)
{
    log->setCurrentFileName(QString());
    settings.System.Log = false;
    log->WriteLogNow(QStringLiteral("a"));
    EXPECT_FALSE(QFileInfo::exists(settings.System.LogFile));
    EXPECT_TRUE(messages.isEmpty());

    // Logging on but stopped ("Write Now"): the configured file, the panel stays empty.
    settings.System.Log = true;
    panel.clear();
    log->WriteLogNow(QStringLiteral("b"));
    EXPECT_EQ(file(QStringLiteral("line.txt")), QByteArray("Sun 06 Dec 2026  08:47:39\tb\r\n"));
    EXPECT_TRUE(panel.isEmpty());
}

TEST_F(StatisticsLogTest, TrimKeepsTheLastLinesUnderTheHeader)
{
    const QByteArray header = "Date   /   Time\t          Rx-Noise\t  ";
    struct Case {
        const char *what;
        bool addHeader;
        bool writtenThisRun; // the header came from this run's writes, else from the file after a restart
        QByteArray content;
        QByteArray expected;
        int count;
    };
    const Case cases[] = {
        {"header of this run", true, true, {}, header + "\r\n\r\n" + numbered(499, 1498), 1500},
        {"header taken from the file after a restart", true, false, header + "\r\n\r\n" + numbered(1, 1498),
         header + "\r\n\r\n" + numbered(499, 1498), 1500},
        {"no header in the file", true, false, numbered(1, 1500), numbered(501, 1500), 1500},
        {"headers off", false, false, header + "\r\n\r\n" + numbered(1, 1498), numbered(499, 1498), 1500},
        {"fewer lines than kept", true, false, header + "\r\n\r\n" + numbered(1, 898),
         header + "\r\n\r\n" + numbered(1, 898), 900},
        {"lines without CR, no end of line", false, false, "a\nb\nc", "b\r\nc\r\n", 3},
    };
    for (const Case &c : cases) {
        QFile::remove(settings.System.LogFile);
        settings.Log.AddHeader = c.addHeader;
        settings.Log.TrimLines = c.count == 3 ? 2 : 1000;
        restart();
        if (c.writtenThisRun) {
            settings.Log.HeaderRequired = true;
            log->setPollHeader(QString::fromLatin1(header) + QStringLiteral("\r\n"));
            for (int i = 1; i <= 1498; ++i)
                log->WriteLogNow(QStringLiteral("Rx-Noise=%1\t").arg(i));
        } else {
            testsupport::writeAll(settings.System.LogFile, c.content);
        }
        messages.clear();
        panel.clear();
        QString error;
        EXPECT_TRUE(log->TrimLog(&error)) << c.what << ": " << error.toStdString();
        EXPECT_EQ(file(QStringLiteral("line.txt")), c.expected) << c.what;
        ASSERT_EQ(messages.size(), 1) << c.what;
        EXPECT_EQ(messages[0], QStringLiteral("Trimmed log. %1 lines trimmed to %2 lines.")
                                   .arg(c.count)
                                   .arg(settings.Log.TrimLines));
        EXPECT_EQ(panel, QStringList({QStringLiteral("Trimming Log...."), settings.System.LogFile})) << c.what;
        EXPECT_FALSE(log->LogTrimInProgress());
        EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("line*")}, QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("line.txt")})
            << c.what << ": a temporary file was left behind";
    }
}

TEST_F(StatisticsLogTest, TrimOf900LinesLeavesThemAsTheyWere)
{
    settings.Log.AddHeader = true;
    const QByteArray content = numbered(1, 900);
    testsupport::writeAll(settings.System.LogFile, content);
    EXPECT_TRUE(log->TrimLog());
    EXPECT_EQ(file(QStringLiteral("line.txt")), content);
    EXPECT_EQ(messages.last(), QStringLiteral("Trimmed log. 900 lines trimmed to 1000 lines."));
}

TEST_F(StatisticsLogTest, WritesWaitWhileTheTrimRuns)
{
    testsupport::writeAll(settings.System.LogFile, numbered(1, 3));
    QObject::connect(log.get(), &StatisticsLog::panelTextChanged, [this](const QString &t) {
        if (t == QLatin1String("Trimming Log...."))
            log->WriteLogNow(QStringLiteral("during the trim"));
    });
    EXPECT_TRUE(log->TrimLog());
    EXPECT_TRUE(messages.contains(QStringLiteral("Log entry skipped due to log trim in progress.")));
    EXPECT_EQ(file(QStringLiteral("line.txt")), numbered(1, 3));
}

TEST_F(StatisticsLogTest, TrimThatCannotReadOrWriteLeavesTheLogAsItWas)
{
    struct Case {
        const char *what;
        std::function<void()> arrange;
        std::function<void()> undo;
    };
    const QString folder = path(QStringLiteral("sub"));
    const Case cases[] = {
        {"no log file", [] {}, [] {}},
        {"a folder in place of the file", [this] { QDir().mkpath(settings.System.LogFile); },
         [this] { QDir(settings.System.LogFile).removeRecursively(); }},
        {"read-only folder",
         [&] {
             QDir().mkpath(folder);
             settings.System.LogFile = folder + QStringLiteral("/line.txt");
             testsupport::writeAll(settings.System.LogFile, numbered(1, 1500));
             QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
         },
         [&] { QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }},
    };
    const QString logFile = settings.System.LogFile;
    for (const Case &c : cases) {
        if (std::string(c.what) == "read-only folder" && geteuid() == 0)
            continue; // root may write anyway
        settings.System.LogFile = logFile;
        c.arrange();
        const QByteArray before = testsupport::readAll(settings.System.LogFile);
        messages.clear();
        QString error;
        EXPECT_FALSE(log->TrimLog(&error)) << c.what;
        EXPECT_FALSE(error.isEmpty()) << c.what;
        ASSERT_EQ(messages.size(), 1) << c.what;
        EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Log trim failed, the log is unchanged: "))) << c.what;
        EXPECT_EQ(testsupport::readAll(settings.System.LogFile), before) << c.what;
        EXPECT_FALSE(log->LogTrimInProgress());
        EXPECT_EQ(log->panelText(), log->currentFileName());
        c.undo();
    }
    EXPECT_FALSE(QFileInfo::exists(logFile));
}

// The disk fills up under the log: a trim keeps the log it would replace, and
// a line that does not fit is lost whole (with the system's reason) instead of
// leaving a torn line for the next one to join.
struct StatisticsLogOnAFullDisk : StatisticsLogTest, ::testing::WithParamInterface<FullDisk::Kind> {
    FullDisk disk{GetParam()};
    void SetUp() override
    {
        if (!disk.whyNot().empty())
            GTEST_SKIP() << disk.whyNot();
        StatisticsLogTest::SetUp();
        settings.System.LogFile = disk.path(QStringLiteral("line.txt"));
        restart();
    }
    QString systemText() const
    {
        return QString::fromLocal8Bit(std::strerror(GetParam() == FullDisk::Kind::Tmpfs ? ENOSPC : EFBIG));
    }
};

TEST_P(StatisticsLogOnAFullDisk, ATrimThatCannotBeWrittenLeavesTheLogAsItWas)
{
    const QByteArray content = numbered(1, 3028);
    testsupport::writeAll(settings.System.LogFile, content);
    settings.Log.TrimLines = 50;
    disk.fill();
    messages.clear();
    QString error;
    EXPECT_FALSE(log->TrimLog(&error));
    EXPECT_TRUE(error.contains(systemText())) << error.toStdString();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Log trim failed, the log is unchanged: ")))
        << messages[0].toStdString();
    EXPECT_EQ(testsupport::readAll(settings.System.LogFile), content);
    EXPECT_EQ(disk.files(), QStringList{QStringLiteral("line.txt")});

    disk.makeRoom();
    EXPECT_TRUE(log->TrimLog(&error)) << error.toStdString();
    EXPECT_EQ(testsupport::readAll(settings.System.LogFile), numbered(2979, 3028));
}

TEST_P(StatisticsLogOnAFullDisk, ALineThatDoesNotFitIsLostWholeAndTheNextStartsItsOwnLine)
{
    // Ten bytes of room after the log's last line.
    QByteArray content = numbered(1, 1);
    content.prepend(QByteArray(FullDisk::pageSize() - 10 - content.size() - 2, '-') + "\r\n");
    testsupport::writeAll(settings.System.LogFile, content);
    disk.fill(settings.System.LogFile, 10);
    messages.clear();
    log->WriteLogNow(QStringLiteral("Rx-Noise=2\t"));
    EXPECT_EQ(testsupport::readAll(settings.System.LogFile), content);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("Log entry lost: cannot write to \"%1\" (%2).")
                               .arg(settings.System.LogFile, systemText()));

    disk.makeRoom();
    log->WriteLogNow(QStringLiteral("Rx-Noise=3\t"));
    EXPECT_EQ(testsupport::readAll(settings.System.LogFile), content + stamped(3) + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(Disk, StatisticsLogOnAFullDisk, FULL_DISK_KINDS, FullDiskKindName);
