// The mailer on the window: its status text covers status panel 0 only while
// an e-mail goes out (a newer text from a poll stays), and the error envelope
// shows one box at a time, re-enabling "Send Now" once it is answered.
#include "acquisition/RouterHttpClient.h"
#include "mainwindow/EnvelopePanel.h"
#include "mainwindow/MailerWiring.h"
#include "notify/AlarmActions.h"
#include "notify/AlarmInputs.h"
#include "notify/EmailHost.h"
#include "notify/Mailer.h"

#include <QMessageBox>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct NoHost : EmailHost {
    void EmailSave(int, const QString &) override {}
    void GetRouterLog(const QString &, std::function<void()> done) override { done(); }
    QString currentLogFile() const override { return {}; }
};

struct MailerWiringTest : ::testing::Test {
    TSettings settings;
    RunState run;
    NoHost emailHost;
    QWidget window;
    RouterHttpClient http{&window};
    AlarmInputs inputs{settings, QLocale::c(), &window};
    AlarmActions actions{settings, run, inputs, http, QLocale::c(), &window};
    Mailer mailer{settings, run, emailHost, QStringLiteral("/nonexistent/veltrano.ini"), &window};
    EnvelopePanel envelope{&window};
    QPushButton sendNow{&window};
    QString panel0 = QStringLiteral("  Started: Sun 06 Dec 2026   08:47");
    QStringList messages;
    int boxes = 0;
    std::unique_ptr<MailerWiring> wiring;

    void SetUp() override
    {
        WindowHost host;
        host.systemMessage = [this](const QString &t) { messages << t; };
        host.messageBox = [this](const QString &text, bool warning) {
            ++boxes;
            auto *box = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Information, QString(), text,
                                        QMessageBox::Ok, &window);
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->show();
            return box;
        };
        host.statusPanel = [this](int panel) { return panel == 0 ? panel0 : QString(); };
        host.setStatusPanel = [this](int panel, const QString &t) {
            if (panel == 0)
                panel0 = t;
        };
        wiring = std::make_unique<MailerWiring>(mailer, actions, envelope, &sendNow, settings, host, &window);
    }
};

} // namespace

TEST_F(MailerWiringTest, StatusTextCoversPanelZeroOnlyWhileSending)
{
    const struct {
        const char *what;
        const char *pollText; // written while the e-mail goes out; null: none
        const char *after;
    } cases[] = {
        {"restored", nullptr, "  Started: Sun 06 Dec 2026   08:47"},
        {"a poll's newer text stays", "Router not answering", "Router not answering"},
    };
    for (const auto &c : cases) {
        panel0 = QStringLiteral("  Started: Sun 06 Dec 2026   08:47");
        emit mailer.statusText(QStringLiteral("Sending E-mail..."));
        EXPECT_EQ(panel0, QStringLiteral("Sending E-mail...")) << c.what;
        if (c.pollText)
            panel0 = QString::fromLatin1(c.pollText);
        emit mailer.statusTextRestore();
        EXPECT_EQ(panel0, QString::fromLatin1(c.after)) << c.what;
    }
}

TEST_F(MailerWiringTest, ErrorEnvelopeShowsOneBoxAndReenablesSendNowWhenAnswered)
{
    sendNow.setEnabled(false);
    QPointer<QMessageBox> box;
    wiring->errorEnvelopeClicked(box);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->objectName(), QStringLiteral("EnvelopeErrorBox"));
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    wiring->errorEnvelopeClicked(box); // still up: no second box
    EXPECT_EQ(boxes, 1);
    EXPECT_FALSE(sendNow.isEnabled());
    box->done(QMessageBox::Ok);
    EXPECT_TRUE(sendNow.isEnabled());
    wiring->errorEnvelopeClicked(box); // answered: the next click shows it again
    EXPECT_EQ(boxes, 2);
}
