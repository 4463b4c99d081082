// The status channel: what a message line looks like, when it appears at all,
// and that other threads' messages arrive on the window thread.
#include "TestSupport.h"
#include "common/Clock.h"
#include "mainwindow/StatusChannel.h"

#include <QSignalSpy>
#include <QThread>
#include <ctime>
#include <gtest/gtest.h>

namespace {

struct ClockFixture : ::testing::Test {
    // 08:47:39 UTC; 09:47:39 in Berlin in December.
    ManualClock clock{QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39), Qt::UTC)};
    void SetUp() override { Clock::setInstance(&clock); }
    void TearDown() override
    {
        Clock::setInstance(nullptr);
        setenv("TZ", "UTC", 1);
        tzset();
    }
};

using StatusChannelTest = ClockFixture;

} // namespace

TEST_F(StatusChannelTest, LineCarriesTheStampAndTheText)
{
    StatusChannel ch;
    ch.setEnabled(true);
    QSignalSpy lines(&ch, &StatusChannel::lineReady);
    ch.systemMessage(QStringLiteral("Web Server Error."));
    ch.systemMessage(QString());
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0][0].toString(), QStringLiteral("      Sun 06 Dec 2026   08:47:39:  Web Server Error."));
    EXPECT_EQ(lines[1][0].toString(), QStringLiteral("      Sun 06 Dec 2026   08:47:39:  "));
    EXPECT_EQ(ch.sampleStamp(), QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39), Qt::UTC).toLocalTime());
}

TEST_F(StatusChannelTest, DisabledChannelWritesNothingAndKeepsTheStamp)
{
    StatusChannel ch;
    const QDateTime before(QDate(2026, 1, 1), QTime(0, 0));
    ch.setSampleStamp(before);
    QSignalSpy lines(&ch, &StatusChannel::lineReady);
    ch.systemMessage(QStringLiteral("nobody sees this"));
    EXPECT_EQ(lines.size(), 0);
    EXPECT_EQ(ch.sampleStamp(), before);
}

TEST_F(StatusChannelTest, UtcSettingShowsUtcNotLocalTime)
{
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    StatusChannel ch;
    ch.setEnabled(true);
    QSignalSpy lines(&ch, &StatusChannel::lineReady);
    ch.systemMessage(QStringLiteral("local"));
    ch.setUtc(true);
    ch.systemMessage(QStringLiteral("utc"));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0][0].toString().contains(QLatin1String("09:47:39:  local")));
    EXPECT_TRUE(lines[1][0].toString().contains(QLatin1String("08:47:39:  utc")));
}

TEST_F(StatusChannelTest, MessagesFromOtherThreadsArriveOnTheChannelThread)
{
    StatusChannel ch;
    ch.setEnabled(true);
    QList<Qt::HANDLE> seenOn;
    QObject::connect(&ch, &StatusChannel::lineReady, [&](const QString &) { seenOn << QThread::currentThreadId(); });

    std::unique_ptr<QThread> worker(QThread::create([&ch] {
        for (int i = 0; i < 50; ++i)
            ch.systemMessage(QStringLiteral("from worker %1").arg(i));
    }));
    worker->start();
    worker->wait();
    ASSERT_TRUE(testsupport::waitFor([&] { return seenOn.size() == 50; }));
    for (Qt::HANDLE h : seenOn)
        EXPECT_EQ(h, QThread::currentThreadId());
}
