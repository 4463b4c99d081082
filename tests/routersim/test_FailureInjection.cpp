// Injected failures: each mode as a client sees it, counts that run out,
// and which rule wins.
#include "PageBuilder.h"
#include "SimTestSupport.h"

using namespace routersim;
using namespace rstest;

namespace {

const QByteArray kStatus = "/setup.cgi?next_file=stattbl.htm";
const QByteArray kLog = "/setup.cgi?next_file=log.htm&todo=cfg_init";

class Failures : public SimFixture
{
protected:
    void SetUp() override { startSim("v1234"); }
    RawReply get(const QByteArray &target) { return rawGet(port, target, basic("admin", "quillfen")); }
    void run(const QString &command) { ASSERT_EQ(QStringList{"ok"}, sim.execute(command)) << command.toStdString(); }
    QString lastResult()
    {
        const QStringList lines = sim.journal().lines();
        return lines.isEmpty() ? QString() : lines.last().section('\t', 5, 5);
    }
};

} // namespace

TEST_F(Failures, RefuseResetsEveryConnectionBeforeItIsRead)
{
    run("fail * refuse");
    const RawReply r = get(kStatus);
    EXPECT_TRUE(r.closed);
    EXPECT_TRUE(r.data.isEmpty());
    EXPECT_EQ("refuse", lastResult());
    EXPECT_EQ("-", sim.journal().lines().last().section('\t', 3, 3)); // nothing was read

    QNetworkAccessManager nam;
    const Fetched f = qtGet(nam, port, kStatus, "admin", "quillfen");
    ASSERT_TRUE(f.finished);
    EXPECT_NE(QNetworkReply::NoError, f.error);
    EXPECT_EQ(0, f.status);
}

TEST_F(Failures, DownRefusesToConnectUntilCleared)
{
    run("fail * down");
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, port);
    EXPECT_TRUE(testsupport::waitFor([&] { return s.state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_EQ(QAbstractSocket::ConnectionRefusedError, s.error());

    QNetworkAccessManager nam;
    const Fetched f = qtGet(nam, port, kStatus, "admin", "quillfen");
    ASSERT_TRUE(f.finished);
    EXPECT_EQ(QNetworkReply::ConnectionRefusedError, f.error);

    run("fail * none");
    EXPECT_EQ(200, get(kStatus).status()); // back on the same port
    EXPECT_TRUE(sim.execute("fail status down").first().startsWith("error "));
    EXPECT_TRUE(sim.execute("fail * down 2").first().startsWith("error "));
}

TEST_F(Failures, RefuseOnOnePathLeavesTheOthersAlone)
{
    run("fail status refuse");
    const RawReply r = get(kStatus);
    EXPECT_TRUE(r.closed);
    EXPECT_TRUE(r.data.isEmpty());
    EXPECT_EQ(200, get(kLog).status());
}

TEST_F(Failures, CloseReadsTheRequestAndAnswersNothing)
{
    run("fail status close");
    const RawReply r = get(kStatus);
    EXPECT_TRUE(r.closed);
    EXPECT_TRUE(r.data.isEmpty());
    EXPECT_EQ("close", lastResult());
    EXPECT_EQ(QString(kStatus), sim.journal().lines().last().section('\t', 3, 3));

    QNetworkAccessManager nam;
    const Fetched f = qtGet(nam, port, kStatus, "admin", "quillfen");
    ASSERT_TRUE(f.finished);
    EXPECT_EQ(QNetworkReply::RemoteHostClosedError, f.error);
}

TEST_F(Failures, HangNeverAnswersUntilTheClientLeaves)
{
    run("fail status hang");
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, port);
    s.write("GET " + kStatus + " HTTP/1.1\r\nAuthorization: " + basic("admin", "quillfen") + "\r\n\r\n");
    ASSERT_TRUE(testsupport::waitFor([&] { return lastResult() == "hang"; }));
    EXPECT_FALSE(testsupport::waitFor([&] { return s.bytesAvailable() > 0 || s.state() != QAbstractSocket::ConnectedState; }, 300));
    EXPECT_EQ(1, sim.openHttpConnections());
    s.abort();
    EXPECT_TRUE(testsupport::waitFor([&] { return sim.openHttpConnections() == 0; }));

    // A Qt client that gives up gets its own cancellation, not an answer.
    QNetworkAccessManager nam;
    QNetworkRequest req(QUrl(QString("http://127.0.0.1:%1%2").arg(port).arg(QString(kStatus))));
    std::unique_ptr<QNetworkReply> reply(nam.get(req));
    EXPECT_FALSE(testsupport::waitFor([&] { return reply->isFinished(); }, 300));
    reply->abort();
    EXPECT_EQ(QNetworkReply::OperationCanceledError, reply->error());
    EXPECT_TRUE(testsupport::waitFor([&] { return sim.openHttpConnections() == 0; }));
}

TEST_F(Failures, StatusCodeModesAnswerWhateverTheCredentials)
{
    run("fail status 401");
    const RawReply unauthorized = get(kStatus);
    EXPECT_EQ(401, unauthorized.status());
    EXPECT_FALSE(unauthorized.header("WWW-Authenticate").isEmpty());
    EXPECT_EQ("inject-401", lastResult());

    run("fail status 500");
    EXPECT_EQ(500, rawGet(port, kStatus).status()); // failures come before the log-in check

    run("fail status empty");
    const RawReply empty = get(kStatus);
    EXPECT_EQ(200, empty.status());
    EXPECT_EQ("0", empty.header("Content-Length"));
    EXPECT_TRUE(empty.body().isEmpty());
}

TEST_F(Failures, ShortSendsOnlyTheFirstCharacters)
{
    const QByteArray full = PageBuilder(sim.state()).build(ProfileId::V1234, PageKind::Status);
    for (int n : {1, 5, 9}) {
        run(QString("fail status short:%1").arg(n));
        const RawReply r = get(kStatus);
        EXPECT_EQ(200, r.status());
        EXPECT_EQ(full.left(n), r.body());
        EXPECT_EQ(QString("short:%1").arg(n), lastResult());
    }
}

TEST_F(Failures, CountedFailureClearsItself)
{
    run("fail status 500 2");
    EXPECT_EQ(QStringList{"ok status 500 2"}, sim.execute("fails"));
    EXPECT_EQ(200, get(kLog).status()); // other pages do not use up the count
    EXPECT_EQ(500, get(kStatus).status());
    EXPECT_EQ(QStringList{"ok status 500 1"}, sim.execute("fails"));
    EXPECT_EQ(500, get(kStatus).status());
    EXPECT_EQ(200, get(kStatus).status());
    EXPECT_EQ(QStringList{"ok none"}, sim.execute("fails"));
}

TEST_F(Failures, CountedRefuseLetsTheNextConnectionThrough)
{
    run("fail * refuse 1");
    EXPECT_TRUE(get(kStatus).data.isEmpty());
    EXPECT_EQ(200, get(kStatus).status());
}

TEST_F(Failures, PathRuleBeatsStarAndNoneClears)
{
    run("fail * 500");
    run("fail /setup.cgi?next_file=stattbl.htm empty");
    const RawReply status = get(kStatus);
    EXPECT_EQ(200, status.status());
    EXPECT_TRUE(status.body().isEmpty());
    EXPECT_EQ(500, get(kLog).status()); // same script, other page: only "*" applies

    run("fail * none");
    EXPECT_EQ(200, get(kLog).status());
    run("fail /setup.cgi?next_file=stattbl.htm none");
    EXPECT_EQ(PageBuilder(sim.state()).build(ProfileId::V1234, PageKind::Status), get(kStatus).body());
}

TEST_F(Failures, PathRuleWithoutQueryCoversTheWholeScript)
{
    run("fail /setup.cgi 500");
    EXPECT_EQ(500, get(kStatus).status());
    EXPECT_EQ(500, get(kLog).status());
    EXPECT_EQ(200, get("/st_poe.htm").status());
}

TEST_F(Failures, BadFailureCommandsChangeNothing)
{
    for (const QString bad : {"fail status short:0", "fail status short:10", "fail status explode",
                              "fail nowhere 500", "fail status 500 0", "fail status 500 x", "fail status"}) {
        const QStringList reply = sim.execute(bad);
        ASSERT_EQ(1, reply.size());
        EXPECT_TRUE(reply.first().startsWith("error ")) << bad.toStdString();
    }
    EXPECT_EQ(QStringList{"ok none"}, sim.execute("fails"));
    EXPECT_EQ(200, get(kStatus).status());
}
