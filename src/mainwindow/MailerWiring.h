#pragma once
// The mailer on the main window: its messages, the alarm actions' e-mails,
// its status text over status panel 0 while an e-mail goes out, the envelope
// it shows (Panel29) and what clicking the envelope does.
#include "pages/WindowHost.h"

#include <QObject>
#include <QPointer>
#include <QString>

class AlarmActions;
class EnvelopePanel;
class Mailer;
class QMessageBox;
class QPushButton;
struct TSettings;

class MailerWiring : public QObject {
    Q_OBJECT
public:
    // sendNow: the alarm page's "Send Now", enabled again once the envelope goes.
    MailerWiring(Mailer &mailer, AlarmActions &actions, EnvelopePanel &envelope, QPushButton *sendNow,
                 const TSettings &settings, WindowHost host, QObject *window);

    // The success envelope (Image23): the mail program when asked for, then the envelope goes.
    void successEnvelopeClicked();
    // The error envelope (Image24): what may have gone wrong in `box` (no second box while one is up),
    // then the envelope goes once the box is answered.
    void errorEnvelopeClicked(QPointer<QMessageBox> &box);

private:
    Mailer &m_mailer;
    QPushButton *m_sendNow;
    const TSettings &m_settings;
    WindowHost m_host;
    QString m_panel0BeforeEmail;
};
