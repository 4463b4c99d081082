// The bounded hand-over of lines from busy threads: one wake per batch, the
// oldest dropped and counted when full, nothing lost or reordered otherwise.
#include "common/LineBuffer.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

TEST(LineBuffer, OnlyTheLineThatFindsItEmptyWakesTheConsumer)
{
    LineBuffer b(10);
    EXPECT_TRUE(b.push(QStringLiteral("a")));
    EXPECT_FALSE(b.push(QStringLiteral("b")));
    EXPECT_FALSE(b.push(QStringLiteral("c")));
    EXPECT_EQ(b.takeAll(), (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    EXPECT_TRUE(b.takeAll().isEmpty());
    EXPECT_TRUE(b.push(QStringLiteral("d"))) << "a new batch needs a new wake";
}

TEST(LineBuffer, WhenFullTheOldestGoAndAreCounted)
{
    const struct {
        int capacity;
        int pushed;
        int kept;
    } cases[] = {{5, 3, 3}, {5, 5, 5}, {5, 6, 5}, {5, 23, 5}, {1, 4, 1}, {0, 2, 1}};
    for (const auto &c : cases) {
        LineBuffer b(c.capacity);
        for (int i = 0; i < c.pushed; ++i)
            b.push(QString::number(i));
        const QStringList lines = b.takeAll();
        ASSERT_EQ(lines.size(), c.kept) << c.capacity << '/' << c.pushed;
        EXPECT_EQ(lines.last(), QString::number(c.pushed - 1));
        EXPECT_EQ(lines.first(), QString::number(c.pushed - c.kept));
        EXPECT_EQ(b.takeDropped(), c.pushed - c.kept);
        EXPECT_EQ(b.takeDropped(), 0);
    }
    LineBuffer shrinking(10);
    for (int i = 0; i < 8; ++i)
        shrinking.push(QString::number(i));
    shrinking.setCapacity(3);
    EXPECT_EQ(shrinking.takeAll(), (QStringList{QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7")}));
    EXPECT_EQ(shrinking.takeDropped(), 5);
}

TEST(LineBuffer, ConcurrentProducersLoseNothingAndKeepTheirOwnOrder)
{
    constexpr int kThreads = 4;
    constexpr int kEach = 20000;
    LineBuffer b(kThreads * kEach);
    std::vector<std::thread> producers;
    for (int t = 0; t < kThreads; ++t)
        producers.emplace_back([&b, t] {
            for (int i = 0; i < kEach; ++i)
                b.push(QStringLiteral("%1 %2").arg(t).arg(i));
        });
    // The consumer takes batches while the producers run.
    QStringList all;
    while (all.size() < kThreads * kEach)
        all += b.takeAll();
    for (std::thread &p : producers)
        p.join();
    all += b.takeAll();
    ASSERT_EQ(all.size(), kThreads * kEach);
    std::vector<int> next(kThreads, 0);
    for (const QString &line : all) {
        const int t = line.section(QLatin1Char(' '), 0, 0).toInt();
        ASSERT_EQ(line.section(QLatin1Char(' '), 1, 1).toInt(), next[size_t(t)]) << line.toStdString();
        ++next[size_t(t)];
    }
    EXPECT_EQ(b.takeDropped(), 0);
}
