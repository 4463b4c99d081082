// Fetching the status page from a simulated router: what each kind of
// failure is reported as, how many requests an attempt costs, and where the
// credentials go.
#include "RouterSim.h"
#include "FetchRecording.h"
#include "TestSupport.h"
#include "acquisition/StatusPageFetch.h"

#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

struct FetchTest : ::testing::Test, FetchRecording {
    routersim::RouterSim sim;
    RouterHttpClient client;
    StatusPageFetch fetch{client};

    void SetUp() override
    {
        routersim::RouterSimOptions o;
        o.profile = QStringLiteral("v1234");
        o.control = false;
        QString error;
        ASSERT_TRUE(sim.start(o, &error)) << error.toStdString();
        record(fetch);
    }

    StatusPageRequest request(int attempts = 3)
    {
        StatusPageRequest r;
        r.url = QStringLiteral("http://127.0.0.1:%1/setup.cgi?next_file=stattbl.htm").arg(sim.httpPort());
        r.attempts = attempts;
        r.username = QStringLiteral("admin");
        r.password = QStringLiteral("quillfen");
        r.transferTimeoutMs = 1000;
        return r;
    }

    void run(const StatusPageRequest &r)
    {
        sim.journal().clear();
        fetch.start(r);
        ASSERT_TRUE(testsupport::waitFor([this] { return done; }, 20000));
    }

    void failWith(const QString &mode) { ASSERT_EQ(sim.execute(QStringLiteral("fail * ") + mode).value(0).left(2), "ok"); }

    // The credentials column of each journal line ("admin:quillfen", "none").
    QStringList credentialsSent() const
    {
        QStringList out;
        for (const QString &line : const_cast<routersim::RouterSim &>(sim).journal().lines())
            out << line.split(QLatin1Char('\t')).value(4);
        return out;
    }

    int count(const QString &text) const { return static_cast<int>(messages.count(text)); }
    // Messages that start with text (a failed attempt's message ends with the client's reason).
    int countStarting(const QString &text) const
    {
        return static_cast<int>(std::count_if(messages.cbegin(), messages.cend(),
                                              [&](const QString &m) { return m.startsWith(text); }));
    }
};

const QString kConnected1 = QStringLiteral("Failed to retrieve stats page (router connected but didn't respond  (1)).");
const QString kNotConnected1 = QStringLiteral("Failed to retrieve stats page (router not connected (http) (1).");
const QString kConnected2 = QStringLiteral("Failed to retrieve stats page (router connected but didn't respond (2)).");
const QString kNotConnected2 = QStringLiteral("Failed to retrieve stats page (router not connected (http) (2)).");

} // namespace

TEST_F(FetchTest, AnsweringRouterGivesThePageAfterOneRequest)
{
    run(request());
    EXPECT_FALSE(noAnswer);
    EXPECT_TRUE(page.contains("Noise Margin"));
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(credentialsSent(), QStringList{QStringLiteral("admin:quillfen")});
}

TEST_F(FetchTest, FirstCycleAnnouncesTheLogIn)
{
    StatusPageRequest r = request(6);
    r.firstCycle = true;
    run(r);
    EXPECT_EQ(messages, QStringList{QStringLiteral("Main sample timer: HTTP Login (Run button).")});
}

TEST_F(FetchTest, CredentialsFollowTheLogInSettings)
{
    sim.execute(QStringLiteral("auth any admin quillfen"));
    StatusPageRequest r = request();
    r.usernameNotRequired = true;
    run(r);
    EXPECT_FALSE(noAnswer);
    EXPECT_EQ(credentialsSent(), QStringList{QStringLiteral(":quillfen")});

    sim.execute(QStringLiteral("auth none"));
    r.login = false;
    done = false;
    run(r);
    EXPECT_FALSE(noAnswer);
    EXPECT_EQ(credentialsSent(), QStringList{QStringLiteral("none")});
}

TEST_F(FetchTest, EachFailureIsReportedPerAttemptThenOnceForTheCycle)
{
    struct Case {
        const char *mode;
        const QString &perAttempt;
        const QString &atEnd;
        int requests; // as the router's journal counts them
        bool loginError;
        const char *reason; // the client's, after the message
    };
    const Case cases[] = {
        {"500", kConnected1, kConnected2, 3, false, "HTTP/1.1 500 Internal Server Error"},
        {"401", kConnected1, kConnected2, 3, true, "HTTP/1.1 401 Unauthorized"},
        {"close", kConnected1, kConnected2, 3, false, "Connection closed gracefully."},
        {"refuse", kConnected1, kConnected2, 3, false, "Connection closed gracefully."},
        {"down", kNotConnected1, kNotConnected2, 0, false, "Connection refused"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mode);
        messages.clear();
        done = false;
        failWith(QString::fromLatin1(c.mode));
        run(request(3));
        failWith(QStringLiteral("none"));
        EXPECT_TRUE(noAnswer);
        EXPECT_TRUE(page.isEmpty());
        EXPECT_EQ(count(c.perAttempt + QLatin1Char(' ') + QLatin1String(c.reason)), 3) << messages.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(count(c.atEnd), 1);
        EXPECT_EQ(messages.last(), c.atEnd);
        EXPECT_EQ(count(QStringLiteral("HTTP  Login error")), c.loginError ? 3 : 0);
        // One attempt is one request, never a hidden second one.
        EXPECT_EQ(credentialsSent().size(), c.requests);
    }
}

TEST_F(FetchTest, WrongPasswordIsALoginErrorEachAttempt)
{
    StatusPageRequest r = request(6);
    r.password = QStringLiteral("wrong");
    run(r);
    EXPECT_TRUE(noAnswer);
    EXPECT_EQ(count(QStringLiteral("HTTP  Login error")), 6);
    EXPECT_EQ(countStarting(kConnected1), 6);
}

TEST_F(FetchTest, AHangingRouterIsBoundedByTheTransferTime)
{
    failWith(QStringLiteral("hang"));
    run(request(2));
    EXPECT_TRUE(noAnswer);
    EXPECT_EQ(countStarting(kConnected1), 2);
    EXPECT_EQ(count(kConnected2), 1);
}

TEST_F(FetchTest, AnEmptyPageIsNoAnswerButATinyOneIsAPage)
{
    failWith(QStringLiteral("empty"));
    run(request(3));
    EXPECT_TRUE(noAnswer);
    EXPECT_EQ(messages, QStringList{kConnected2});
    EXPECT_EQ(credentialsSent().size(), 1);

    failWith(QStringLiteral("short:4"));
    messages.clear();
    done = false;
    run(request(3));
    EXPECT_FALSE(noAnswer);
    EXPECT_EQ(page.size(), 4);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(FetchTest, AFailureThatClearsItselfLetsALaterAttemptSucceed)
{
    sim.execute(QStringLiteral("fail * 500 2"));
    run(request(3));
    EXPECT_FALSE(noAnswer);
    EXPECT_EQ(countStarting(kConnected1), 2);
    EXPECT_EQ(credentialsSent().size(), 3);
}

TEST_F(FetchTest, CancelStopsTheAttemptsSilently)
{
    failWith(QStringLiteral("hang"));
    sim.journal().clear();
    fetch.start(request(3));
    ASSERT_TRUE(testsupport::waitFor([this] { return credentialsSent().size() == 1; }));
    fetch.cancel();
    QTest::qWait(1500);
    EXPECT_FALSE(done);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(credentialsSent().size(), 1);
}
