// Driving the simulator: control socket, scenario file, journal file, ready
// file, bind address rules, and the routersim program itself.
#include "CommandInterpreter.h"
#include "ControlServer.h"
#include "PageBuilder.h"
#include "Scenario.h"
#include "SimTestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace routersim;
using namespace rstest;

namespace {

const QByteArray kStatus = "/setup.cgi?next_file=stattbl.htm";

// A control-socket client that sends a line and reads reply lines.
class ControlClient
{
public:
    explicit ControlClient(quint16 port)
    {
        m_socket.connectToHost(QHostAddress::LocalHost, port);
        testsupport::waitFor([&] { return m_socket.state() == QAbstractSocket::ConnectedState; });
    }
    void send(const QByteArray &text) { m_socket.write(text); }
    // The next reply line, or "<none>" when none comes in time.
    QString line()
    {
        if (!testsupport::waitFor([&] { return m_socket.canReadLine(); }))
            return "<none>";
        return QString::fromUtf8(m_socket.readLine()).chopped(1);
    }
    QString ask(const QByteArray &command)
    {
        send(command + "\n");
        return line();
    }
    QStringList untilEnd()
    {
        QStringList out;
        for (QString l = line(); l != "end" && l != "<none>"; l = line())
            out << l;
        return out;
    }
    QTcpSocket &socket() { return m_socket; }

private:
    QTcpSocket m_socket;
};

class Control : public SimFixture
{
protected:
    void SetUp() override { startSim("v1234"); }
    QByteArray status() { return page(kStatus); }
};

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &text)
{
    const QString path = dir.filePath(name);
    testsupport::writeAll(path, text);
    return path;
}

} // namespace

TEST_F(Control, CommandsChangeThePages)
{
    ControlClient c(sim.controlPort());
    EXPECT_EQ("ok", c.ask("set RxNoise 3.2"));
    EXPECT_EQ("ok", c.ask("set rxsync 7616")); // names are case-insensitive
    EXPECT_EQ("ok", c.ask("set uptime 49:05:10"));
    const QByteArray p = status();
    EXPECT_EQ("3.2", dg834RxNoise(p));
    EXPECT_EQ("7616", dg834RxSync(p));
    EXPECT_EQ("49:05:10", uptimeSearch(p, "lass=\"ttex", 2062));

    EXPECT_EQ("ok", c.ask("set state Disconnected"));
    EXPECT_EQ("ok", c.ask("set wan 198.51.100.9"));
    const QByteArray poe = page("/setup.cgi?next_file=st_poe.htm");
    EXPECT_EQ("Disconnected", connectionState(poe));
    EXPECT_EQ("198.51.100.9", wanSearch(poe, "<TD NOWRAP><B>Getting IP Addresses</B></td>", 0));

    EXPECT_EQ("ok st585", c.ask("profile st585"));
    EXPECT_EQ(404, rawGet(port, kStatus, basic("admin", "quillfen")).status());
    EXPECT_EQ("3.2", st585RxNoise(page("/cgi/b/dsl/dt/?ce=1&be=0&l0=1&l1=0")));
}

TEST_F(Control, LogTextWithLineBreaksAndGetEscapesItBack)
{
    ControlClient c(sim.controlPort());
    EXPECT_EQ("ok", c.ask("set log first line\\nsecond\\tline\\n"));
    EXPECT_EQ("first line\nsecond\tline\n", sim.state().log());
    EXPECT_EQ("ok first line\\nsecond\\tline\\n", c.ask("get log"));
    EXPECT_EQ("first line\nsecond\tline\n",
              cutLog(page("/setup.cgi?next_file=log.htm&todo=cfg_init"), "<TEXTAREA NAME=\"outlog_Display\"", 102,
                     "</textarea>"));
    EXPECT_EQ("ok", c.ask("set uptime \"1 day, 02:03:04\""));
    EXPECT_EQ("ok 1 day, 02:03:04", c.ask("get uptime"));
}

TEST_F(Control, EveryLineGetsOneReplyInOrder)
{
    ControlClient c(sim.controlPort());
    c.send("set RxNoise 7.5\r\nbogus command\nset Nonsense 1\nset RxNoise <b>\n\nset TxNoise 1\n");
    EXPECT_EQ("ok", c.line());
    EXPECT_TRUE(c.line().startsWith("error unknown command"));
    EXPECT_TRUE(c.line().startsWith("error unknown figure"));
    EXPECT_TRUE(c.line().startsWith("error RxNoise takes"));
    EXPECT_EQ("ok", c.line()); // the blank line got no reply
    EXPECT_EQ("7.5", sim.state().get("RxNoise"));
}

TEST_F(Control, JournalRecordsCredentialsAndResults)
{
    rawGet(port, kStatus);
    rawGet(port, kStatus, basic("admin", "wrong"));
    rawGet(port, kStatus, basic("admin", "quillfen"));
    rawGet(port, kStatus, "Basic %%%");
    rawGet(port, kStatus, basic("ad\tmin", "pa:ss"));

    ControlClient c(sim.controlPort());
    c.send("journal\n");
    const QStringList lines = c.untilEnd();
    ASSERT_EQ(5, lines.size());
    QStringList creds, results;
    for (const QString &l : lines) {
        const QStringList f = l.split('\t');
        ASSERT_EQ(6, f.size()) << l.toStdString();
        EXPECT_EQ("http", f[1]);
        EXPECT_EQ("GET", f[2]);
        EXPECT_EQ(QString(kStatus), f[3]);
        creds << f[4];
        results << f[5];
    }
    EXPECT_EQ((QStringList{"none", "admin:wrong", "admin:quillfen", "-", "ad\\tmin:pa:ss"}), creds);
    EXPECT_EQ((QStringList{"401", "401", "200", "401", "401"}), results);

    EXPECT_EQ("ok", c.ask("journal clear"));
    c.send("journal\n");
    EXPECT_TRUE(c.untilEnd().isEmpty());
}

TEST_F(Control, RebootCountAndTimedStep)
{
    ControlClient c(sim.controlPort());
    EXPECT_EQ("ok 0", c.ask("reboots"));
    page("/setup.cgi?next_file=diag.htm&todo=reboot");
    EXPECT_EQ("ok 1", c.ask("reboots"));

    EXPECT_TRUE(c.ask("at 20ms set RxNoise 1.5").startsWith("ok scheduled"));
    EXPECT_TRUE(testsupport::waitFor([&] { return sim.state().get("RxNoise") == "1.5"; }));
    EXPECT_TRUE(c.ask("at soon set RxNoise 1").startsWith("error usage"));
    EXPECT_TRUE(c.ask("at 1s set RxNoise abc").startsWith("error RxNoise takes"));
}

TEST_F(Control, AuthCommandForms)
{
    ControlClient c(sim.controlPort());
    EXPECT_EQ("ok any", c.ask("auth any topsecret"));
    EXPECT_EQ(200, rawGet(port, kStatus, basic("nobody", "topsecret")).status());
    EXPECT_EQ("ok required", c.ask("auth required bob \"\""));
    EXPECT_EQ(200, rawGet(port, kStatus, basic("bob", "")).status());
    EXPECT_EQ(401, rawGet(port, kStatus, basic("nobody", "")).status());
    EXPECT_EQ("ok none", c.ask("auth none"));
    EXPECT_EQ(200, rawGet(port, kStatus).status());
    EXPECT_TRUE(c.ask("auth sometimes").startsWith("error"));
}

TEST_F(Control, QuitAnswersThenAsksToStop)
{
    QSignalSpy quit(&sim, &RouterSim::quitRequested);
    ControlClient c(sim.controlPort());
    EXPECT_EQ("ok bye", c.ask("quit"));
    EXPECT_TRUE(testsupport::waitFor([&] { return quit.count() == 1; }));
    sim.stop();
    EXPECT_TRUE(testsupport::waitFor([&] { return c.socket().state() == QAbstractSocket::UnconnectedState; }));
}

TEST_F(Control, OverlongLineIsRefused)
{
    ControlClient c(sim.controlPort());
    c.send(QByteArray(ControlServer::kMaxLineLength + 10, 'x'));
    EXPECT_EQ("error line too long", c.line());
    EXPECT_TRUE(testsupport::waitFor([&] { return c.socket().state() == QAbstractSocket::UnconnectedState; }));
}

TEST(CommandLanguage, TokensDelaysAndChecks)
{
    bool ok = false;
    EXPECT_EQ((QStringList{"auth", "required", "a b", ""}),
              CommandInterpreter::tokenize("auth required \"a b\" \"\"", &ok));
    EXPECT_TRUE(ok);
    CommandInterpreter::tokenize("set uptime \"open", &ok);
    EXPECT_FALSE(ok);

    qint64 ms = 0;
    EXPECT_TRUE(CommandInterpreter::parseDelay("250ms", &ms));
    EXPECT_EQ(250, ms);
    EXPECT_TRUE(CommandInterpreter::parseDelay("1.5s", &ms));
    EXPECT_EQ(1500, ms);
    EXPECT_TRUE(CommandInterpreter::parseDelay("2m", &ms));
    EXPECT_EQ(120000, ms);
    EXPECT_FALSE(CommandInterpreter::parseDelay("10", &ms));
    EXPECT_FALSE(CommandInterpreter::parseDelay("-1s", &ms));

    QString error;
    EXPECT_TRUE(CommandInterpreter::check("fail /RST_stattbl.htm short:3 2", &error));
    EXPECT_FALSE(CommandInterpreter::check("profile dg999", &error));
    EXPECT_FALSE(CommandInterpreter::check("set wan not.an.ip", &error));
    EXPECT_FALSE(CommandInterpreter::check("set state Up", &error));
    EXPECT_FALSE(CommandInterpreter::check("set dataunit TB", &error));
    EXPECT_FALSE(CommandInterpreter::check("set log has <tags>", &error));
}

TEST(Scenario, AppliedBeforeTheFirstRequestWithTimedSteps)
{
    QTemporaryDir dir;
    RouterSimOptions o;
    o.scenarioFile = writeFile(dir, "demo.txt",
                               "# a router that loses sync for a moment\n"
                               "\n"
                               "set RxNoise 2.5\n"
                               "  auth any letmein\n"
                               "fail log 500 1\n"
                               "at 30ms set RxNoise 9.0\n");
    RouterSim sim;
    QString error;
    ASSERT_TRUE(sim.start(o, &error)) << error.toStdString();
    EXPECT_EQ("2.5", sim.state().get("RxNoise"));
    EXPECT_EQ(AuthMode::AnyUser, sim.auth().mode());
    EXPECT_EQ(QStringList{"ok log 500 1"}, sim.execute("fails"));
    EXPECT_TRUE(testsupport::waitFor([&] { return sim.state().get("RxNoise") == "9.0"; }));
    EXPECT_EQ(200, rawGet(sim.httpPort(), kStatus, basic("x", "letmein")).status());
}

TEST(Scenario, ABadLineStopsTheStartAndNamesTheLine)
{
    QTemporaryDir dir;
    RouterSimOptions o;
    o.scenarioFile = writeFile(dir, "bad.txt", "set RxNoise 1\n# fine so far\nset RxNoyse 2\n");
    RouterSim sim;
    QString error;
    EXPECT_FALSE(sim.start(o, &error));
    EXPECT_TRUE(error.contains("line 3")) << error.toStdString();
    EXPECT_EQ(0, sim.httpPort());

    QList<Scenario::Line> lines;
    EXPECT_FALSE(Scenario::parse("at 5s at 1s quit\nat 5s nothing\n", &lines, &error));
    EXPECT_TRUE(error.startsWith("line 2")) << error.toStdString();
}

TEST(Startup, ReadyFileNamesEveryPort)
{
    QTemporaryDir dir;
    RouterSimOptions o;
    o.readyFile = dir.filePath("ready");
    RouterSim sim;
    QString error;
    ASSERT_TRUE(sim.start(o, &error)) << error.toStdString();
    const QByteArray ready = testsupport::readAll(o.readyFile);
    EXPECT_EQ("http=" + QByteArray::number(sim.httpPort()) + "\ncontrol=" + QByteArray::number(sim.controlPort())
                  + "\ntelnet=" + QByteArray::number(sim.telnetPort()) + "\n",
              ready);
    EXPECT_NE(sim.httpPort(), sim.controlPort());
    EXPECT_NE(sim.httpPort(), sim.telnetPort());
    EXPECT_EQ(QStringList{"ready"}, QDir(dir.path()).entryList(QDir::Files)); // no temporary left behind
}

TEST(Startup, JournalFileIsWrittenLineByLine)
{
    QTemporaryDir dir;
    RouterSimOptions o;
    o.journalFile = dir.filePath("journal.tsv");
    RouterSim sim;
    QString error;
    ASSERT_TRUE(sim.start(o, &error)) << error.toStdString();
    rawGet(sim.httpPort(), kStatus, basic("admin", "quillfen"));
    // Read while the simulator still runs: nothing may wait in a buffer.
    QList<QByteArray> lines = testsupport::readAll(o.journalFile).split('\n');
    ASSERT_EQ(2, lines.size());
    EXPECT_TRUE(lines[0].endsWith("\thttp\tGET\t" + kStatus + "\tadmin:quillfen\t200"));
    rawGet(sim.httpPort(), "/nothing", basic("admin", "quillfen"));
    lines = testsupport::readAll(o.journalFile).split('\n');
    ASSERT_EQ(3, lines.size());
    EXPECT_TRUE(lines[1].endsWith("\t/nothing\tadmin:quillfen\t404"));
}

TEST(Startup, OnlyLoopbackAddressesOf127_0_0AreBound)
{
    for (const QString bad : {"0.0.0.0", "192.168.1.1", "10.0.0.1", "::1", "::", "127.0.1.1", "127.0.0.0",
                              "127.0.0.255", "localhost", "", "127.0.0.1.5"}) {
        RouterSimOptions o;
        o.bind = bad;
        RouterSim sim;
        QString error;
        EXPECT_FALSE(sim.start(o, &error)) << bad.toStdString();
        EXPECT_TRUE(error.startsWith("refusing to bind")) << error.toStdString();
        EXPECT_FALSE(sim.isRunning());
    }
    RouterSimOptions o;
    o.bind = "127.0.0.2";
    RouterSim sim;
    QString error;
    ASSERT_TRUE(sim.start(o, &error)) << error.toStdString();
    QTcpSocket s;
    s.connectToHost(QHostAddress("127.0.0.2"), sim.httpPort());
    EXPECT_TRUE(testsupport::waitFor([&] { return s.state() == QAbstractSocket::ConnectedState; }));
}

TEST(Startup, BadOptionsAreReported)
{
    RouterSim sim;
    QString error;
    RouterSimOptions o;
    o.profile = "dg999";
    EXPECT_FALSE(sim.start(o, &error));
    EXPECT_TRUE(error.contains("dg999"));
    o = {};
    o.auth = "maybe";
    EXPECT_FALSE(sim.start(o, &error));
    EXPECT_TRUE(error.contains("maybe"));
    o = {};
    o.journalFile = "/nonexistent-dir/journal";
    EXPECT_FALSE(sim.start(o, &error));
}

TEST(Program, RunsUntilSigtermAndExitsCleanly)
{
    const QString exe = qEnvironmentVariable("VELTRANO_BINARY_DIR") + "/routersim";
    if (!QFile::exists(exe))
        GTEST_SKIP() << "routersim not built at " << exe.toStdString();
    QTemporaryDir dir;
    const QString ready = dir.filePath("ready");
    QProcess p;
    p.start(exe, {"--profile", "v5", "--ready-file", ready, "--journal", dir.filePath("j"), "--auth", "none"});
    ASSERT_TRUE(testsupport::waitFor([&] { return QFile::exists(ready); }, 10000)) << p.readAllStandardError().data();
    const quint16 httpPort = testsupport::readAll(ready).split('\n')[0].mid(5).toUShort();
    EXPECT_EQ(200, rawGet(httpPort, "/RST_stattbl.htm").status());
    p.terminate(); // SIGTERM
    ASSERT_TRUE(testsupport::waitFor([&] { return p.state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(QProcess::NormalExit, p.exitStatus());
    EXPECT_EQ(0, p.exitCode());

    QProcess refused;
    refused.start(exe, {"--bind", "0.0.0.0"});
    ASSERT_TRUE(testsupport::waitFor([&] { return refused.state() == QProcess::NotRunning; }, 10000));
    EXPECT_NE(0, refused.exitCode());
    EXPECT_TRUE(refused.readAllStandardError().contains("refusing to bind"));
}
