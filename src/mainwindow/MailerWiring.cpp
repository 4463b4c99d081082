#include "mainwindow/MailerWiring.h"

#include "mainwindow/EnvelopePanel.h"
#include "notify/AlarmActions.h"
#include "notify/Mailer.h"
#include "platform/MailProgram.h"
#include "settings/TSettings.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

MailerWiring::MailerWiring(Mailer &mailer, AlarmActions &actions, EnvelopePanel &envelope, QPushButton *sendNow,
                           const TSettings &settings, WindowHost host, QObject *window)
    : QObject(window), m_mailer(mailer), m_sendNow(sendNow), m_settings(settings), m_host(std::move(host))
{
    connect(&mailer, &Mailer::systemMessage, this, m_host.systemMessage);
    connect(&mailer, &Mailer::emailDone, &actions, &AlarmActions::EmailDone);
    Mailer *m = &mailer;
    actions.setSendEmail([m](const QString &reason) {
        m->setEmailDone(false);
        m->SendEmail(reason);
    });
    connect(&mailer, &Mailer::statusText, this, [this](const QString &t) {
        m_panel0BeforeEmail = m_host.statusPanel(0);
        m_host.setStatusPanel(0, t);
    });
    connect(&mailer, &Mailer::statusTextRestore, this, [this] {
        // A newer text from a poll stays.
        if (m_host.statusPanel(0) == QLatin1String("Sending E-mail..."))
            m_host.setStatusPanel(0, m_panel0BeforeEmail);
    });
    connect(&mailer, &Mailer::envelopeChanged, &envelope, &EnvelopePanel::showEnvelope);
}

void MailerWiring::successEnvelopeClicked()
{
    const auto &e = m_settings.Email;
    if (e.OpenEmail) {
        if (e.UseDefault) {
            if (!openDefaultMailClient())
                m_host.systemMessage(QStringLiteral("The desktop has no default mail program to open."));
        } else if (QFileInfo(e.Client).isFile() && !startMailProgram(e.Client)) {
            m_host.systemMessage(QStringLiteral("The mail program could not be started: ") + e.Client);
        }
    }
    m_mailer.successEnvelopeClicked();
    m_sendNow->setEnabled(true);
}

void MailerWiring::errorEnvelopeClicked(QPointer<QMessageBox> &box)
{
    if (box && box->isVisible())
        return;
    QMessageBox *shown = m_host.messageBox(m_mailer.errorEnvelopeText(), true);
    shown->setObjectName(QStringLiteral("EnvelopeErrorBox"));
    box = shown;
    connect(shown, &QMessageBox::finished, this, [this] {
        m_mailer.errorEnvelopeClicked();
        m_sendNow->setEnabled(true);
    });
}
