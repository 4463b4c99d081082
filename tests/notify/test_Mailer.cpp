// SendEmail and the daily e-mail against a real SMTP server on 127.0.0.1:
// what arrives (decoded by Python's own mail parser), the log-in, TLS, a
// server that never answers, a refused port, the early returns, the "just
// one" gate, and EmailDone at the end of every path.
#include "SmtpTestServer.h"
#include "TestSupport.h"
#include "common/Clock.h"
#include "notify/Mailer.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

QByteArray allBytes(int n, int seed)
{
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b += char((i * 7 + seed) % 256);
    return b;
}

struct FakeHost : EmailHost {
    QString logFile;
    QHash<int, QByteArray> images; // chart -> what EmailSave writes
    QByteArray routerLog;          // null: the fetch writes nothing
    int routerLogCalls = 0;

    void EmailSave(int chart, const QString &path) override
    {
        if (images.contains(chart))
            testsupport::writeAll(path, images.value(chart));
    }
    void GetRouterLog(const QString &path, std::function<void()> done) override
    {
        ++routerLogCalls;
        if (!routerLog.isNull())
            testsupport::writeAll(path, routerLog);
        QTimer::singleShot(0, [done] { done(); }); // as the HTTP fetch would, later
    }
    QString currentLogFile() const override { return logFile; }
};

const QByteArray kLog = "Sun 06 Dec 2026  08:47:39\tRx-Noise=6.5\t\xb0\xe9\r\n.leading dot\r\n.\r\n";
const char *const kDashes = "-----------------------------------";

struct MailerTest : ::testing::Test {
    QTemporaryDir dir;
    TSettings settings;
    RunState run;
    FakeHost host;
    ManualClock clock{QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39))};
    std::unique_ptr<SmtpTestServer> server;
    std::unique_ptr<Mailer> mailer;
    QStringList messages;
    QStringList panel;
    QList<SmtpResult> results;

    void SetUp() override
    {
        Clock::setInstance(&clock);
        SettingsEnvironment env = SettingsEnvironment::forFile(dir.filePath(QStringLiteral("veltrano.ini")));
        env.now = QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39));
        env.locale = QLocale::c();
        settings = settingsstore::load(env).settings;
        settings.Email.Server = QStringLiteral("127.0.0.1");
        settings.Email.From = QStringLiteral("Veltrano Monitor <vt@x.test>");
        settings.Email.To = QStringLiteral("ops@y.test");
        settings.Email.Subject = QStringLiteral("Line alarm");
        settings.System.Log = true;
        settings.Alarm.JustOne = false; // its own test turns it on
        host.logFile = dir.filePath(QStringLiteral("line.txt"));
        testsupport::writeAll(host.logFile, kLog);
        run.WanIPAddress = QStringLiteral("81.2.69.160");

        mailer = std::make_unique<Mailer>(settings, run, host, dir.filePath(QStringLiteral("veltrano.ini")));
        QObject::connect(mailer.get(), &Mailer::systemMessage, [this](const QString &m) { messages << m; });
        QObject::connect(mailer.get(), &Mailer::statusText, [this](const QString &t) { panel << t; });
        QObject::connect(mailer.get(), &Mailer::statusTextRestore, [this] { panel << QStringLiteral("<restored>"); });
        QObject::connect(mailer.get(), &Mailer::emailFinished, [this](const SmtpResult &r) { results << r; });
    }

    void TearDown() override
    {
        mailer.reset();
        Clock::setInstance(nullptr);
    }

    void startServer(SmtpTestServer::Config config = {})
    {
        server = std::make_unique<SmtpTestServer>(config);
        QString why;
        ASSERT_TRUE(server->start(&why)) << why.toStdString();
        settings.Email.Port = QString::number(server->port());
        Mailer::Options o = mailer->options();
        o.caFile = server->certFile();
        mailer->setOptions(o);
    }

    // Runs the event loop until n e-mails have ended.
    void waitForResults(int n)
    {
        ASSERT_TRUE(testsupport::waitFor([&] { return results.size() >= n; }, 90000)) << results.size();
    }

    SmtpResult sendAndWait(const QString &reason = QStringLiteral("Alarm Triggered"))
    {
        const int before = int(results.size());
        mailer->SendEmail(reason);
        waitForResults(before + 1);
        return results.value(before);
    }

    QStringList tempFiles() const
    {
        return QDir(dir.path()).entryList({QStringLiteral("veltrano-*"), QStringLiteral("VT-routerlog.txt")});
    }

    static QByteArray body(const char *line2, const char *line3)
    {
        return QByteArray("Sun 06 Dec  08:47:39\r\n") + line2 + "\r\n" + line3 + "\r\n" + kDashes + "\r\n";
    }
};

} // namespace

TEST_F(MailerTest, AlarmEmailArrivesWithEveryAttachmentIntact)
{
    startServer();
    settings.Capture.IsJPG = false;
    settings.Capture.IsPNG = true;
    settings.Email.Log = true;
    settings.Email.Noise = true;
    settings.Email.Speed = true;
    settings.Ping.EmailPing = true;
    settings.RouterLog.EmailRouterLog = true;
    host.images = {{1, allBytes(5000, 1)}, {2, allBytes(77, 2)}}; // the ping chart cannot be saved
    host.routerLog = "Dec  6 08:40:01 router: PPP up\r\n";
    // Left-overs of an earlier run are not this e-mail's pictures.
    testsupport::writeAll(dir.filePath(QStringLiteral("veltrano-Ping.png")), "stale picture");
    testsupport::writeAll(dir.filePath(QStringLiteral("VT-routerlog.txt")), "stale log");
    mailer->setEmailDone(false);

    mailer->SendEmail(QStringLiteral("Alarm Triggered"));
    EXPECT_TRUE(mailer->busy()); // the window thread did not wait for the server
    waitForResults(1);

    ASSERT_TRUE(results[0].sent) << results[0].detail.toStdString();
    const QList<QJsonObject> got = server->messages();
    ASSERT_EQ(got.size(), 1);
    const QJsonObject &m = got[0];
    EXPECT_EQ(m["mail_from"].toString(), QStringLiteral("vt@x.test"));
    EXPECT_EQ(m["rcpt_tos"].toArray(), QJsonArray{QStringLiteral("ops@y.test")});
    EXPECT_EQ(m["subject"].toString(), QStringLiteral("Line alarm"));
    EXPECT_EQ(m["from"].toString(), QStringLiteral("Veltrano Monitor <vt@x.test>"));
    EXPECT_EQ(m["body"].toString().toLatin1(), body("81.2.69.160", "Alarm Triggered"));
    EXPECT_TRUE(m["defects"].toArray().isEmpty());
    EXPECT_EQ(run.SampleStamp, clock.currentDateTime());

    struct Expected {
        const char *name;
        const char *type;
        QByteArray bytes;
    };
    const Expected expected[] = {
        {"line.txt", "text/plain", kLog},
        {"veltrano-Noise.png", "image/png", host.images[1]},
        {"veltrano-Sync.png", "image/png", host.images[2]},
        {"VT-routerlog.txt", "text/plain", host.routerLog},
    };
    const QJsonArray atts = m["attachments"].toArray();
    ASSERT_EQ(atts.size(), 4);
    for (int i = 0; i < 4; ++i) {
        const QJsonObject a = atts[i].toObject();
        EXPECT_EQ(a["filename"].toString(), QLatin1String(expected[i].name));
        EXPECT_EQ(a["content_type"].toString(), QLatin1String(expected[i].type));
        EXPECT_EQ(a["transfer_encoding"].toString(), QStringLiteral("base64"));
        EXPECT_EQ(server->file(a["file"].toString()), expected[i].bytes) << expected[i].name;
    }

    // The temporary images and the router log are gone; the statistics log stays.
    EXPECT_TRUE(tempFiles().isEmpty()) << tempFiles().join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(testsupport::readAll(host.logFile), kLog);
    EXPECT_EQ(host.routerLogCalls, 1);

    EXPECT_EQ(messages.first(), QStringLiteral("E-mail: (Alarm Triggered)"));
    EXPECT_TRUE(messages.contains(QStringLiteral("Connected.")));
    EXPECT_EQ(messages.mid(messages.size() - 2),
              (QStringList{QStringLiteral("Disconnected."), QStringLiteral("Send E-mail - finished")}));
    EXPECT_EQ(panel, (QStringList{QStringLiteral("Sending E-mail..."), QStringLiteral("<restored>")}));
    EXPECT_TRUE(mailer->EmailDone());
    EXPECT_FALSE(mailer->overrideActive());
    EXPECT_FALSE(mailer->busy());
    EXPECT_EQ(mailer->envelope(), EmailEnvelope::Sent);
}

TEST_F(MailerTest, ImagesAreNamedByTheCaptureFormatAndBodyOnlyWithoutOptions)
{
    startServer();
    struct Case {
        bool noise;
        bool png, gif, bmp, alwaysJpg;
        const char *name; // nullptr: no attachment at all
    };
    const Case cases[] = {
        {true, true, false, false, false, "veltrano-Noise.png"},
        {true, true, false, false, true, "veltrano-Noise.jpg"},
        {true, false, true, false, false, "veltrano-Noise.gif"},
        {true, false, false, true, false, "veltrano-Noise.bmp"},
        {true, false, false, false, false, "veltrano-Noise.jpg"},
        {false, true, false, false, false, nullptr},
    };
    host.images = {{1, allBytes(300, 9)}};
    settings.Email.Log = false;
    int n = 0;
    for (const Case &c : cases) {
        settings.Email.Noise = c.noise;
        settings.Capture.IsPNG = c.png;
        settings.Capture.IsGIF = c.gif;
        settings.Capture.IsBMP = c.bmp;
        settings.Email.AlwaysEmailJPG = c.alwaysJpg;
        ASSERT_TRUE(sendAndWait().sent);
        const QJsonObject m = server->messages().value(n++);
        const QJsonArray atts = m["attachments"].toArray();
        if (!c.name) {
            EXPECT_TRUE(atts.isEmpty());
            EXPECT_EQ(m["content_type"].toString(), QStringLiteral("text/plain"));
            EXPECT_EQ(m["body"].toString().toLatin1(), body("81.2.69.160", "Alarm Triggered"));
            continue;
        }
        ASSERT_EQ(atts.size(), 1) << c.name;
        EXPECT_EQ(atts[0].toObject()["filename"].toString(), QLatin1String(c.name));
        EXPECT_TRUE(tempFiles().isEmpty()) << c.name;
    }
}

TEST_F(MailerTest, LoginWithRightAndWrongPasswords)
{
    struct Case {
        bool authRequired;
        bool login;
        const char *password;
        bool sent;
        SmtpError error;
    };
    const Case cases[] = {
        {true, true, "secret", true, SmtpError::None},
        {true, true, "wrong", false, SmtpError::Login},
        {false, true, "wrong", false, SmtpError::Login},
        {true, false, "", false, SmtpError::Rejected},
    };
    for (const Case &c : cases) {
        SmtpTestServer::Config config;
        config.authRequired = c.authRequired;
        startServer(config);
        settings.Email.Login = c.login;
        settings.Email.User = QStringLiteral("user");
        settings.Email.Pass = QLatin1String(c.password);
        messages.clear();
        mailer->hideEnvelope();
        mailer->setEmailDone(false);

        const SmtpResult r = sendAndWait();
        EXPECT_EQ(r.sent, c.sent) << c.password << ' ' << r.detail.toStdString();
        EXPECT_EQ(r.error, c.error) << c.password << ' ' << r.detail.toStdString();
        EXPECT_TRUE(mailer->EmailDone());
        EXPECT_FALSE(mailer->overrideActive());
        EXPECT_EQ(messages.contains(QStringLiteral("Send E-mail - error")), !c.sent);
        EXPECT_EQ(messages.last(), QStringLiteral("Send E-mail - finished"));
        EXPECT_EQ(mailer->envelope(), c.sent ? EmailEnvelope::Sent : EmailEnvelope::Failed);
        EXPECT_EQ(server->messages().size(), c.sent ? 1 : 0);
        if (c.sent) {
            EXPECT_EQ(server->messages()[0]["auth_user"].toString(), QStringLiteral("user"));
        } else { // the reason, in the "text  number routine" form, and never the password
            EXPECT_EQ(messages.filter(QStringLiteral(" SendEmail")).size(), 1);
            EXPECT_FALSE(messages.join(QLatin1Char('|')).contains(QLatin1String("wrong")));
        }
    }
}

TEST_F(MailerTest, ServerThatNeverAnswersIsGivenUpBoundedAndReported)
{
    QTcpServer silent; // accepts (through the kernel) and never says a word
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    settings.Email.Port = QString::number(silent.serverPort());
    Mailer::Options o;
    o.totalTimeoutMs = 1500;
    mailer->setOptions(o);
    mailer->setEmailDone(false);

    const SmtpResult r = sendAndWait();
    EXPECT_FALSE(r.sent);
    EXPECT_EQ(r.error, SmtpError::Timeout) << r.detail.toStdString();
    EXPECT_TRUE(mailer->EmailDone());
    EXPECT_TRUE(messages.contains(QStringLiteral("Send E-mail - error")));
    EXPECT_FALSE(messages.contains(QStringLiteral("Disconnected."))); // never greeted
    EXPECT_EQ(mailer->envelope(), EmailEnvelope::Failed);
}

TEST_F(MailerTest, OverrideTimerReleasesAWaitingRebootWhileTheServerHangs)
{
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    settings.Email.Port = QString::number(silent.serverPort());
    settings.Alarm.EmailTimeout = 1;
    mailer->setEmailDone(false);
    mailer->SendEmail(QStringLiteral("Alarm Triggered"));
    EXPECT_TRUE(mailer->overrideActive());

    ASSERT_TRUE(testsupport::waitFor([&] { return mailer->EmailDone(); }, 60000));
    EXPECT_TRUE(mailer->busy()); // released by the timer, not by the end of the send
    EXPECT_TRUE(results.isEmpty());
    mailer.reset(); // closing mid-send aborts the transfer and returns
}

TEST_F(MailerTest, RefusedPortIsReported)
{
    QTcpServer gone;
    ASSERT_TRUE(gone.listen(QHostAddress::LocalHost, 0));
    settings.Email.Port = QString::number(gone.serverPort());
    gone.close();
    mailer->setEmailDone(false);

    const SmtpResult r = sendAndWait();
    EXPECT_EQ(r.error, SmtpError::Connect) << r.detail.toStdString();
    EXPECT_TRUE(mailer->EmailDone());
    EXPECT_EQ(messages, (QStringList{QStringLiteral("E-mail: (Alarm Triggered)"),
                                     r.detail + QStringLiteral("  7 SendEmail"), QStringLiteral("Send E-mail - error"),
                                     QStringLiteral("Send E-mail - finished")}));
}

// A port that is not a port number ends the send with the conversion error
// (the daily e-mail says it too); nothing goes to port 25 instead.
TEST_F(MailerTest, PortThatIsNotANumberEndsTheSendWithItsError)
{
    startServer();
    const struct {
        const char *port;
        const char *error;
    } cases[] = {{"25x", "'25x' is not a valid integer value"}, {"65536", "65536 is not a valid port number"}};
    for (const auto &c : cases) {
        settings.Email.Port = QLatin1String(c.port);
        messages.clear();
        mailer->hideEnvelope();
        mailer->setEmailDone(false);
        const SmtpResult r = sendAndWait();
        EXPECT_EQ(r.error, SmtpError::Port) << c.port;
        EXPECT_TRUE(mailer->EmailDone()) << c.port;
        EXPECT_EQ(messages, (QStringList{QStringLiteral("E-mail: (Alarm Triggered)"),
                                         QLatin1String(c.error) + QStringLiteral("  SendEmail"),
                                         QStringLiteral("Send E-mail - error"), QStringLiteral("Send E-mail - finished")}));
        messages.clear();
        const int before = int(results.size());
        mailer->DailyEmail(QStringLiteral("WAN"));
        waitForResults(before + 1);
        EXPECT_EQ(messages, (QStringList{QStringLiteral("Daily e-mail"),
                                         QLatin1String(c.error) + QStringLiteral("  DailyTimerTimer")}));
    }
    EXPECT_TRUE(server->messages().isEmpty());
}

TEST_F(MailerTest, EarlyReturnsSetEmailDoneAndSendNothing)
{
    startServer();
    const QString asDirectory = dir.filePath(QStringLiteral("a-folder.txt"));
    QDir().mkpath(asDirectory);
    struct Case {
        const char *server;
        const char *to;
        const char *from;
        bool logIsFolder;
        SmtpError error;
    };
    const Case cases[] = {
        {"", "ops@y.test", "vt@x.test", false, SmtpError::Settings},
        {"smtp.x.test/evil", "ops@y.test", "vt@x.test", false, SmtpError::Settings},
        {"127.0.0.1", "", "vt@x.test", false, SmtpError::Settings},
        {"127.0.0.1", " ; ", "vt@x.test", false, SmtpError::Settings},
        {"127.0.0.1", "ops@y.test\r\nRCPT TO:<evil@z.test>", "vt@x.test", false, SmtpError::Settings},
        {"127.0.0.1", "ops@y.test", "vt@x.test\r\nBcc: evil@z.test", false, SmtpError::Settings},
        {"127.0.0.1", "ops@y.test", "vt@x.test", true, SmtpError::Attachment},
    };
    settings.Email.Log = true;
    settings.Email.Noise = true;
    host.images = {{1, allBytes(10, 1)}};
    for (const Case &c : cases) {
        settings.Email.Server = QLatin1String(c.server);
        settings.Email.To = QLatin1String(c.to);
        settings.Email.From = QLatin1String(c.from);
        host.logFile = c.logIsFolder ? asDirectory : dir.filePath(QStringLiteral("line.txt"));
        messages.clear();
        mailer->hideEnvelope();
        mailer->setEmailDone(false);

        const SmtpResult r = sendAndWait();
        EXPECT_EQ(r.error, c.error) << c.server << '|' << c.to << '|' << c.from;
        EXPECT_TRUE(mailer->EmailDone()) << c.to;
        EXPECT_FALSE(mailer->overrideActive()) << c.to;
        EXPECT_EQ(messages.mid(messages.size() - 2),
                  (QStringList{QStringLiteral("Send E-mail - error"), QStringLiteral("Send E-mail - finished")}));
        EXPECT_EQ(messages.size(), 4) << messages.join(QLatin1Char('|')).toStdString(); // with the reason
        EXPECT_FALSE(messages.join(QLatin1Char('|')).contains(QLatin1Char('\n')));
        EXPECT_EQ(mailer->envelope(), EmailEnvelope::Failed);
        EXPECT_TRUE(tempFiles().isEmpty());
    }
    EXPECT_TRUE(server->messages().isEmpty());
}

TEST_F(MailerTest, JustOneHoldsBackAllButTheAlarmPagesButtonWhileTheEnvelopeShows)
{
    startServer();
    ASSERT_TRUE(sendAndWait().sent);
    ASSERT_EQ(mailer->envelope(), EmailEnvelope::Sent);
    settings.Alarm.JustOne = true;

    for (const QString &reason : {QStringLiteral("Alarm Triggered"), QStringLiteral("New IP Address: 81.2.69.161"),
                                  Mailer::configPageSendNowReason()}) {
        messages.clear();
        mailer->setEmailDone(false);
        mailer->SendEmail(reason);
        EXPECT_TRUE(mailer->EmailDone()) << reason.toStdString(); // a waiting reboot goes on
        EXPECT_TRUE(messages.isEmpty()) << reason.toStdString();
        EXPECT_FALSE(mailer->busy());
    }
    mailer->DailyEmail(QStringLiteral("81.2.69.160"));
    waitForResults(2);
    EXPECT_TRUE(sendAndWait(Mailer::alarmPageSendNowReason()).sent);

    settings.Email.ShowIcon = false; // "just one" is disabled with the icon
    EXPECT_TRUE(sendAndWait().sent);
    settings.Email.ShowIcon = true;
    settings.Alarm.JustOne = false;
    EXPECT_TRUE(sendAndWait().sent);
    EXPECT_EQ(server->messages().size(), 5);

    mailer->successEnvelopeClicked();
    EXPECT_EQ(mailer->envelope(), EmailEnvelope::Hidden);
    EXPECT_EQ(messages.last(), QStringLiteral("\"Envelope Icon\" reset"));
}

TEST_F(MailerTest, HeadersCannotBeInjectedAndNonAsciiTextSurvives)
{
    startServer();
    settings.Email.Subject = QStringLiteral("Hi\r\nBcc: evil@z.test\r\n\r\nfake body");
    settings.Email.To = QStringLiteral("ops@y.test, \"Smith, Ann\" <ann@y.test>");
    ASSERT_TRUE(sendAndWait().sent);
    settings.Email.Subject = QStringLiteral("St\u00f6rung \u2013 Leitung \u2713 ") + QString(40, QChar(0x00e9));
    settings.Email.From = QStringLiteral("J\u00fcrgen <vt@x.test>");
    ASSERT_TRUE(sendAndWait().sent);

    const QList<QJsonObject> got = server->messages();
    ASSERT_EQ(got.size(), 2);
    EXPECT_EQ(got[0]["rcpt_tos"].toArray(), (QJsonArray{QStringLiteral("ops@y.test"), QStringLiteral("ann@y.test")}));
    EXPECT_EQ(got[0]["subject"].toString(), QStringLiteral("Hi  Bcc: evil@z.test    fake body"));
    EXPECT_FALSE(got[0]["header_names"].toArray().contains(QStringLiteral("Bcc")));
    EXPECT_EQ(got[0]["body"].toString().toLatin1(), body("81.2.69.160", "Alarm Triggered"));
    EXPECT_EQ(got[1]["subject"].toString(), settings.Email.Subject);
    EXPECT_EQ(got[1]["from"].toString(), QStringLiteral("J\u00fcrgen <vt@x.test>"));
    EXPECT_TRUE(got[1]["defects"].toArray().isEmpty());
    for (char c : server->raw(1))
        ASSERT_TRUE(uchar(c) < 0x80);
}

TEST_F(MailerTest, TlsWhenTheServerOffersIt)
{
    struct Case {
        const char *serverTls;
        SmtpTls mode;
        bool trustCertificate;
        bool sent;
    };
    const Case cases[] = {
        {"implicit", SmtpTls::Implicit, true, true},
        {"starttls", SmtpTls::StartTls, true, true},
        {"implicit", SmtpTls::Implicit, false, false}, // a certificate nobody vouches for
        {"none", SmtpTls::StartTls, true, false},      // TLS asked for, not offered: no plain fallback
    };
    settings.Email.SSL = true;
    settings.Email.Login = true;
    settings.Email.User = QStringLiteral("user");
    settings.Email.Pass = QStringLiteral("secret");
    for (const Case &c : cases) {
        SmtpTestServer::Config config;
        config.tls = QLatin1String(c.serverTls);
        config.authRequired = true;
        server = std::make_unique<SmtpTestServer>(config);
        QString why;
        if (!server->start(&why) && why.contains(QLatin1String("NOCERT")))
            GTEST_SKIP() << "no openssl command for a test certificate";
        ASSERT_GT(server->port(), 0) << why.toStdString();
        settings.Email.Port = QString::number(server->port());
        Mailer::Options o;
        o.secureMode = c.mode;
        o.caFile = c.trustCertificate ? server->certFile() : QString();
        mailer->setOptions(o);
        mailer->setEmailDone(false);

        const SmtpResult r = sendAndWait();
        EXPECT_EQ(r.sent, c.sent) << c.serverTls << ' ' << r.detail.toStdString();
        EXPECT_TRUE(mailer->EmailDone());
        if (c.sent) {
            ASSERT_EQ(server->messages().size(), 1);
            EXPECT_TRUE(server->messages()[0]["tls"].toBool());
            EXPECT_EQ(server->messages()[0]["auth_user"].toString(), QStringLiteral("user"));
        } else {
            EXPECT_EQ(r.error, SmtpError::Tls) << r.detail.toStdString();
            EXPECT_TRUE(server->messages().isEmpty());
        }
    }
}

TEST_F(MailerTest, DailyEmailCarriesTheAlarmLogAndLeavesEmailDoneAlone)
{
    startServer();
    settings.Email.Log = true;
    settings.Email.ALarmLog = true;
    settings.Alarm.AlarmLog = dir.filePath(QStringLiteral("alarms.txt"));
    testsupport::writeAll(settings.Alarm.AlarmLog, "Sun 06 Dec 2026  08:00:00\t[Alarm: Disconnected]\r\n");
    mailer->setEmailDone(false);

    mailer->DailyEmail(QStringLiteral("WAN 81.2.69.160"));
    waitForResults(1);
    ASSERT_TRUE(results[0].sent);
    const QJsonObject m = server->messages().value(0);
    EXPECT_EQ(m["body"].toString().toLatin1(), body("WAN 81.2.69.160", "(Scheduled e-mail)"));
    const QJsonArray atts = m["attachments"].toArray();
    ASSERT_EQ(atts.size(), 2);
    EXPECT_EQ(atts[1].toObject()["filename"].toString(), QStringLiteral("alarms.txt"));
    EXPECT_FALSE(mailer->EmailDone());
    EXPECT_FALSE(mailer->overrideActive());
    EXPECT_EQ(messages.first(), QStringLiteral("Daily e-mail"));
    EXPECT_FALSE(messages.contains(QStringLiteral("Send E-mail - finished")));
    EXPECT_EQ(mailer->envelope(), EmailEnvelope::Sent);

    // A failed daily e-mail shows the error envelope and writes nothing but its start.
    messages.clear();
    settings.Email.Server.clear();
    mailer->DailyEmail(QStringLiteral("WAN 81.2.69.160"));
    waitForResults(2);
    EXPECT_EQ(mailer->envelope(), EmailEnvelope::Failed);
    EXPECT_EQ(messages, QStringList{QStringLiteral("Daily e-mail")});
    EXPECT_FALSE(mailer->EmailDone());
}

TEST_F(MailerTest, EmailsAskedForDuringASendFollowInOrder)
{
    startServer();
    mailer->setEmailDone(false);
    mailer->SendEmail(QStringLiteral("New IP Address: 81.2.69.161"));
    mailer->SendEmail(QStringLiteral("Alarm Triggered"));
    mailer->DailyEmail(QStringLiteral("81.2.69.161"));
    EXPECT_FALSE(mailer->EmailDone());
    waitForResults(3);

    QStringList reasons;
    for (const QJsonObject &m : server->messages())
        reasons << m["body"].toString().split(QStringLiteral("\r\n")).value(2);
    EXPECT_EQ(reasons, (QStringList{QStringLiteral("New IP Address: 81.2.69.161"), QStringLiteral("Alarm Triggered"),
                                    QStringLiteral("(Scheduled e-mail)")}));
    EXPECT_TRUE(mailer->EmailDone());
}
