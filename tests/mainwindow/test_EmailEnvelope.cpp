// The e-mail envelope against a local SMTP server: it shows the last result,
// holds back further e-mails under "just one", and a click or key press on it
// resets it, starting the mail program when asked.
#include "SmtpTestServer.h"
#include "TestSupport.h"
#include "pages/AlarmPage.h"
#include "mainwindow/EnvelopePanel.h"
#include "mainwindow/TForm1.h"
#include "notify/Mailer.h"
#include "OnlyChild.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using testsupport::onlyChild;

namespace {

struct EnvelopeTest : ::testing::Test {
    QTemporaryDir dir;
    SmtpTestServer server{SmtpTestServer::Config{}};
    std::unique_ptr<TForm1> form;

    void open(const QByteArray &extra = {})
    {
        QString why;
        ASSERT_TRUE(server.port() || server.start(&why)) << why.toStdString();
        const QString ini = dir.filePath(QStringLiteral("veltrano.ini"));
        testsupport::writeAll(ini, "[WebServer]\nLocalHost=127.0.0.1\nPort=0\n[System]\nSystemMessages=1\n"
                                   "[Alarm]\nJustOne=1\n[Email]\nShowIcon=1\nServer=127.0.0.1\nTo=ops@y.test\nPort="
                                       + QByteArray::number(server.port()) + "\n" + extra);
        qputenv("VELTRANO_INI", ini.toUtf8());
        form.reset();
        form = std::make_unique<TForm1>(false);
    }
    void TearDown() override { qunsetenv("VELTRANO_INI"); }

    void send()
    {
        onlyChild<Mailer>(*form)->SendEmail(QStringLiteral("Alarm Triggered"));
        ASSERT_TRUE(testsupport::waitFor([&] { return !onlyChild<Mailer>(*form)->busy(); }, 60000));
    }
    bool said(const char *text) const { return form->memSys->toPlainText().contains(QLatin1String(text)); }
};

} // namespace

TEST_F(EnvelopeTest, SuccessEnvelopeHoldsBackTheNextEmailUntilReset)
{
    open();
    send();
    send(); // held back while the envelope shows
    EXPECT_EQ(server.messages().size(), 1);
    EXPECT_FALSE(form->Panel29->Image23->isHidden());
    EXPECT_TRUE(form->Panel29->Image24->isHidden());
    EXPECT_EQ(form->Panel29->Image23->toolTip(), QStringLiteral("Click to remove icon"));

    form->Panel29->Image23->setFocus(); // reachable from the keyboard
    QTest::keyClick(form->Panel29->Image23, Qt::Key_Space);
    EXPECT_TRUE(form->Panel29->isHidden());
    EXPECT_TRUE(said("\"Envelope Icon\" reset"));
    EXPECT_TRUE(onlyChild<AlarmPage>(*form)->btnSendEmailNow->isEnabled());
    send();
    EXPECT_EQ(server.messages().size(), 2);
}

TEST_F(EnvelopeTest, ErrorEnvelopeExplainsOnceAndResets)
{
    for (bool login : {false, true}) {
        open(login ? "Login=1\n" : "");
        form->settings().Email.Port = QStringLiteral("1"); // nothing listens there
        send();
        ASSERT_FALSE(form->Panel29->Image24->isHidden());
        form->Panel29->Image24->click();
        QMessageBox *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        form->Panel29->Image24->click(); // a box already up: no second one
        box->hide();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        const QString tail = login ? QStringLiteral(") may be off line, your router may not be\r\nconnected to the internet "
                                                    "or your smtp username/password may be incorrect")
                                   : QStringLiteral(") may be off line or your router may not be\r\n"
                                                    "connected to the internet.");
        EXPECT_EQ(box->text(), QStringLiteral("There was a problem sending an e-mail.\r\n\r\nThe smtp server (127.0.0.1")
                                   + tail);
        EXPECT_FALSE(form->Panel29->isHidden()); // until the box is answered
        box->button(QMessageBox::Ok)->click();
        EXPECT_TRUE(form->Panel29->isHidden());
        EXPECT_TRUE(said("\"E-mail Error Envelope Icon\" reset"));
    }
}

// [Email] OpenEmail with a named program: a click starts it, without a shell;
// a missing file starts nothing.
TEST_F(EnvelopeTest, SuccessEnvelopeStartsTheNamedMailProgram)
{
    const QString marker = dir.filePath(QStringLiteral("started"));
    const QString program = dir.filePath(QStringLiteral("mail program"));
    testsupport::writeAll(program, "#!/bin/sh\ntouch \"" + marker.toUtf8() + "\"\n");
    QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    open("OpenEmail=1\nUseDefault=0\nClient=" + dir.filePath(QStringLiteral("missing")).toUtf8() + "\n");
    send();
    form->Panel29->Image23->click();
    EXPECT_TRUE(form->Panel29->isHidden());

    form->settings().Email.Client = program;
    send();
    form->Panel29->Image23->click();
    EXPECT_TRUE(testsupport::waitFor([&] { return QFile::exists(marker); }, 5000));
}
