// The e-mail envelope on the main window, against a local SMTP server: it
// shows the last result, holds back further e-mails under "just one", and a
// click (or a key press) on it resets it, starting the mail program when asked.
#include "SmtpTestServer.h"
#include "TestSupport.h"
#include "mainwindow/AlarmPage.h"
#include "mainwindow/EnvelopePanel.h"
#include "mainwindow/TForm1.h"
#include "notify/Mailer.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

struct EnvelopeTest : ::testing::Test {
    QTemporaryDir dir;
    QString ini = dir.filePath(QStringLiteral("veltrano.ini"));
    SmtpTestServer server{SmtpTestServer::Config{}};
    std::unique_ptr<TForm1> form;
    int finished = 0;

    void SetUp() override
    {
        QString why;
        ASSERT_TRUE(server.start(&why)) << why.toStdString();
    }

    void open(const QByteArray &extra = {})
    {
        testsupport::writeAll(ini, "[WebServer]\nLocalHost=127.0.0.1\nPort=0\n[System]\nSystemMessages=1\n"
                                   "[Alarm]\nJustOne=1\n[Email]\nShowIcon=1\nServer=127.0.0.1\nTo=ops@y.test\n"
                                   "From=vt@x.test\nPort="
                                       + QByteArray::number(server.port()) + "\n" + extra);
        qputenv("VELTRANO_INI", ini.toUtf8());
        form = std::make_unique<TForm1>(false);
        QObject::connect(form->mailer(), &Mailer::emailFinished, [this] { ++finished; });
    }

    void TearDown() override
    {
        form.reset();
        qunsetenv("VELTRANO_INI");
    }

    void send(const QString &reason = QStringLiteral("Alarm Triggered"))
    {
        const int before = finished;
        form->mailer()->SendEmail(reason);
        ASSERT_TRUE(testsupport::waitFor([&] { return finished > before || !form->mailer()->busy(); }, 60000));
    }

    QString messages() const { return form->memSys->toPlainText(); }
};

} // namespace

TEST_F(EnvelopeTest, SuccessEnvelopeHoldsBackTheNextEmailUntilClicked)
{
    open();
    EXPECT_TRUE(form->Panel29->isHidden());
    send();
    ASSERT_EQ(server.messages().size(), 1);
    EXPECT_FALSE(form->Panel29->isHidden());
    EXPECT_FALSE(form->Panel29->Image23->isHidden());
    EXPECT_TRUE(form->Panel29->Image24->isHidden());
    EXPECT_EQ(form->Panel29->Image23->toolTip(), QStringLiteral("Click to remove icon"));

    send(); // "just one": held back while the envelope shows
    EXPECT_EQ(server.messages().size(), 1);

    // Reachable from the keyboard: focus it and press space.
    form->Panel29->Image23->setFocus();
    QTest::keyClick(form->Panel29->Image23, Qt::Key_Space);
    EXPECT_TRUE(form->Panel29->isHidden());
    EXPECT_TRUE(messages().contains(QStringLiteral("\"Envelope Icon\" reset")));
    EXPECT_TRUE(form->alarmPage()->btnSendEmailNow->isEnabled());
    send();
    EXPECT_EQ(server.messages().size(), 2);
}

TEST_F(EnvelopeTest, ErrorEnvelopeExplainsAndResets)
{
    QTcpServer gone;
    ASSERT_TRUE(gone.listen(QHostAddress::LocalHost, 0));
    const QByteArray port = QByteArray::number(gone.serverPort());
    gone.close();
    for (bool login : {false, true}) {
        SCOPED_TRACE(login);
        open("Login=" + QByteArray(login ? "1" : "0") + "\n");
        form->settings().Email.Port = QString::fromLatin1(port);
        send();
        ASSERT_FALSE(form->Panel29->Image24->isHidden());
        EXPECT_TRUE(form->Panel29->Image23->isHidden());
        form->Panel29->Image24->click();
        form->Panel29->Image24->click(); // one box, however often it is clicked
        int boxes = 0;
        QMessageBox *box = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *b = qobject_cast<QMessageBox *>(w); b && b->isVisible())
                ++boxes, box = b;
        ASSERT_EQ(boxes, 1);
        const QString expected =
            login ? QStringLiteral("There was a problem sending an e-mail.\r\n\r\nThe smtp server (127.0.0.1) may be off "
                                   "line, your router may not be\r\nconnected to the internet or your smtp "
                                   "username/password may be incorrect")
                  : QStringLiteral("There was a problem sending an e-mail.\r\n\r\nThe smtp server (127.0.0.1) may be off "
                                   "line or your router may not be\r\nconnected to the internet.");
        EXPECT_EQ(box->text(), expected);
        EXPECT_FALSE(form->Panel29->isHidden()); // until the box is answered
        box->button(QMessageBox::Ok)->click();
        EXPECT_TRUE(form->Panel29->isHidden());
        EXPECT_TRUE(messages().contains(QStringLiteral("\"E-mail Error Envelope Icon\" reset")));
        EXPECT_TRUE(form->alarmPage()->btnSendEmailNow->isEnabled());
        form.reset();
    }
}

// With [Email] OpenEmail and a named program, clicking the envelope starts
// that program (without a shell); a missing file starts nothing.
TEST_F(EnvelopeTest, SuccessEnvelopeStartsTheNamedMailProgram)
{
    const QString marker = dir.filePath(QStringLiteral("started"));
    const QString program = dir.filePath(QStringLiteral("mail program"));
    testsupport::writeAll(program, "#!/bin/sh\ntouch \"" + marker.toUtf8() + "\"\n");
    QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    open("OpenEmail=1\nUseDefault=0\nClient=" + dir.filePath(QStringLiteral("missing")).toUtf8() + "\n");
    send();
    form->Panel29->Image23->click();
    EXPECT_TRUE(form->Panel29->isHidden());
    QTest::qWait(200);
    EXPECT_FALSE(QFile::exists(marker));

    form->settings().Email.Client = program;
    send();
    ASSERT_FALSE(form->Panel29->Image23->isHidden());
    form->Panel29->Image23->click();
    EXPECT_TRUE(testsupport::waitFor([&] { return QFile::exists(marker); }, 5000));
}
