// The router's cookies: replaced by name, expired, capped, and never a way to
// put control bytes into our requests.
#include "acquisition/RouterCookieJar.h"

#include <gtest/gtest.h>

namespace {

const QString kHost = QStringLiteral("127.0.0.1");
const QDateTime kNow(QDate(2026, 12, 6), QTime(8, 47, 39), Qt::UTC);

} // namespace

TEST(RouterCookieJar, EachReplyUpdatesTheCookiesSentBack)
{
    struct Step {
        QList<QByteArray> setCookies;
        qint64 secondsLater;
        QByteArray sent; // the Cookie field after the step
    };
    const Step steps[] = {
        {{"sid=1; Path=/; HttpOnly", "lang=en"}, 0, "sid=1; lang=en"},
        {{"SID=2"}, 0, "sid=1; lang=en; SID=2"}, // names are case-sensitive
        {{"sid=3"}, 0, "lang=en; SID=2; sid=3"}, // replaced, and now the newest
        {{"lang=fr; Max-Age=60"}, 0, "SID=2; sid=3; lang=fr"},
        {{}, 61, "SID=2; sid=3"}, // lang's minute has passed
        {{"SID=gone; Max-Age=0"}, 0, "sid=3"},
        {{"sid=x; Expires=Thu, 01 Jan 1970 00:00:00 GMT"}, 0, ""},
        {{"a=1; expires=Fri, 01-Jan-2027 00:00:00 GMT; max-age=-1"}, 0, ""}, // Max-Age wins
        {{"a=1; expires=Fri, 01-Jan-2027 00:00:00 GMT"}, 0, "a=1"},
        {{"bad\r=x", "b=\x01", "=novalue", "no-equals", "sp ace=1", "c=\"quoted\""}, 0, "a=1; c=\"quoted\""},
    };
    RouterCookieJar jar;
    QDateTime now = kNow;
    int i = 0;
    for (const Step &s : steps) {
        SCOPED_TRACE(i++);
        now = now.addSecs(s.secondsLater);
        jar.store(kHost, s.setCookies, now);
        EXPECT_EQ(jar.header(kHost, now), s.sent);
    }
    EXPECT_EQ(jar.header(QStringLiteral("127.0.0.2"), now), QByteArray());
    jar.clear(kHost);
    EXPECT_EQ(jar.header(kHost, now), QByteArray());
}

// A router that names a new session cookie in every reply: the jar keeps the
// newest ones and the field stays within its bound, however long it runs.
TEST(RouterCookieJar, ANewNameEveryReplyKeepsTheFieldBounded)
{
    struct Case {
        const char *name;
        int valueBytes;
        qsizetype expectedCount;
    };
    const Case cases[] = {
        {"small cookies: the count bound", 8, RouterCookieJar::kMaxCookies},
        {"large cookies: the size bound", 1000, 4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        RouterCookieJar jar;
        for (int reply = 0; reply < 500; ++reply)
            jar.store(kHost, {"s" + QByteArray::number(reply) + '=' + QByteArray(c.valueBytes, 'v')}, kNow);
        const QByteArray field = jar.header(kHost, kNow);
        EXPECT_EQ(jar.count(kHost), c.expectedCount);
        EXPECT_LE(field.size(), RouterCookieJar::kMaxFieldBytes);
        EXPECT_TRUE(field.startsWith("s" + QByteArray::number(500 - c.expectedCount) + '='));
        EXPECT_TRUE(field.contains("s499="));
    }
    // One cookie larger than the whole field is not kept.
    RouterCookieJar jar;
    jar.store(kHost, {"big=" + QByteArray(RouterCookieJar::kMaxFieldBytes, 'v')}, kNow);
    EXPECT_EQ(jar.count(kHost), 0);
}
