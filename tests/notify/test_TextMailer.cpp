// The router log viewer's e-mail: sent with the e-mail settings (their port
// and TLS, never a silent port 25), the log file attached as it was written.
#include "SmtpTestServer.h"
#include "TestSupport.h"
#include "notify/TextMailer.h"
#include "settings/SettingsStore.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
TSettings mailSettings(int port)
{
    SettingsEnvironment env;
    env.settingsPath = QStringLiteral("/nonexistent/veltrano.ini");
    env.now = QDateTime::currentDateTime();
    TSettings s = settingsstore::load(env).settings;
    s.Email.Server = QStringLiteral("127.0.0.1");
    s.Email.Port = QString::number(port);
    s.Email.From = QStringLiteral("vt@x.test");
    s.Email.To = QStringLiteral("ops@y.test");
    s.Email.Subject = QStringLiteral("Router log");
    return s;
}
} // namespace

TEST(TextMailer, LogArrivesAttachedOnTheConfiguredPortAndTls)
{
    for (const char *tls : {"none", "implicit"}) {
        SmtpTestServer::Config config;
        config.tls = QString::fromLatin1(tls);
        SmtpTestServer server(config);
        QString why;
        if (!server.start(&why))
            GTEST_SKIP() << why.toStdString();
        TSettings s = mailSettings(server.port());
        s.Email.SSL = config.tls == QLatin1String("implicit");
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("VT-routerlog.txt"));
        testsupport::writeAll(log, "one\r\ntwo\r\n");
        TextMailer mailer;
        Mailer::Options o;
        o.caFile = server.certFile();
        mailer.setOptions(o);
        QSignalSpy done(&mailer, &TextMailer::finished);
        ASSERT_TRUE(mailer.send(s, QStringLiteral("Mon 07 Dec  10:00:00\r\n81.2.69.160\r\n"), {log}));
        ASSERT_TRUE(done.wait(30000));
        const SmtpResult r = done.first().first().value<SmtpResult>();
        ASSERT_TRUE(r.sent) << tls << ": " << r.detail.toStdString();
        ASSERT_EQ(server.messages().size(), 1);
        const QJsonArray atts = server.messages().first()["attachments"].toArray();
        ASSERT_EQ(atts.size(), 1);
        EXPECT_EQ(server.file(atts[0].toObject()["file"].toString()), QByteArray("one\r\ntwo\r\n"));
    }
}

TEST(TextMailer, UnusableSettingsAreReportedNotSent)
{
    struct {
        const char *port, *server, *detail;
    } cases[] = {
        {"twenty-five", "127.0.0.1", "'twenty-five' is not a valid integer value"},
        {"0", "127.0.0.1", "0 is not a valid port number"},
        {"25", "", "No SMTP server is set"},
    };
    for (const auto &c : cases) {
        TSettings s = mailSettings(25);
        s.Email.Port = QString::fromLatin1(c.port);
        s.Email.Server = QString::fromLatin1(c.server);
        TextMailer mailer;
        QSignalSpy done(&mailer, &TextMailer::finished);
        ASSERT_TRUE(mailer.send(s, QStringLiteral("x"), {}));
        ASSERT_TRUE(done.wait(5000));
        const SmtpResult r = done.first().first().value<SmtpResult>();
        EXPECT_FALSE(r.sent);
        EXPECT_EQ(r.detail, QString::fromLatin1(c.detail));
    }
}
