#pragma once
// SendEmail and the daily e-mail: the notification e-mails with their chart
// images, logs and the router's log, sent over SMTP on a worker thread so the
// window never waits. Outcomes come back on the window thread as system
// messages, the envelope icon's state and EmailDone.
//
// EmailDone ("no alarm e-mail pending") is set again at the end of every
// SendEmail, early returns included, and by tmrEmailOverRide [Alarm]
// EmailTimeout seconds after the send began, so an alarm reboot that waits
// for it never waits long. E-mails asked for while one is under way wait
// their turn and then run exactly as if asked for then.
#include "acquisition/RunState.h"
#include "notify/EmailHost.h"
#include "notify/SmtpTransfer.h"
#include "settings/TSettings.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <atomic>
#include <thread>

// The envelope icon on the main window (Panel29 with Image23 or Image24).
enum class EmailEnvelope {
    Hidden,
    Sent,   // Image23, "Click to remove icon"
    Failed, // Image24
};

class Mailer : public QObject {
    Q_OBJECT
public:
    struct Options {
        // The connection phase takes in the greeting, STARTTLS or the TLS
        // handshake and the log-in, not just the TCP connect.
        int connectTimeoutMs = 30000;
        int totalTimeoutMs = 120000;
        // What [Email] SSL turns on: TLS from the first byte on the port.
        SmtpTls secureMode = SmtpTls::Implicit;
        QString caFile; // extra trust anchors (tests); empty: the system's
        bool verifyPeer = true;
    };

    // settingsPath: the settings file, whose folder is "beside the program".
    Mailer(const TSettings &settings, RunState &run, EmailHost &host, const QString &settingsPath,
           QObject *parent = nullptr);
    // Aborts a send under way and waits for its thread.
    ~Mailer() override;

    void setOptions(const Options &options) { m_options = options; }
    const Options &options() const { return m_options; }

    // An alarm, a changed WAN address ("New IP Address: " + address) or a
    // "Send Now" button (the reasons below).
    void SendEmail(const QString &reason);
    // The daily timer's e-mail; wanPanelText is what status panel 1 shows.
    // No "just one" gate, no override timer, EmailDone left alone.
    void DailyEmail(const QString &wanPanelText);

    // Why a server name cannot be used; empty when it can.
    static QString hostError(const QString &host);
    static QString alarmPageSendNowReason();  // passes the "just one" gate
    static QString configPageSendNowReason(); // held back by it like the others

    bool EmailDone() const { return m_emailDone; }
    // The alarm clears it before SendEmail, or sets it when it sends none.
    void setEmailDone(bool done);
    bool overrideActive() const { return m_override.isActive(); } // tmrEmailOverRide
    bool busy() const { return m_active; }

    EmailEnvelope envelope() const { return m_envelope; }
    // Run hides the envelope.
    void hideEnvelope() { setEnvelope(EmailEnvelope::Hidden); }
    // Image23Click, after the mail program was started: hides it and says so.
    void successEnvelopeClicked();
    // Image24Click: the message box text, then errorEnvelopeClicked() once it is closed.
    QString errorEnvelopeText() const;
    void errorEnvelopeClicked();

    // ".png", ".gif", ".bmp" or ".jpg" per the capture format; ".jpg" with [Email] AlwaysEmailJPG.
    QString imageExtension() const;
    // A temporary image beside the program: "<program>-Noise.png" and the like.
    QString imagePath(const QString &suffix, const QString &extension) const;
    QString routerLogPath() const;

signals:
    void systemMessage(const QString &text);
    // Status panel 0: "Sending E-mail..." when a send starts; restore it when
    // it ends (unless something else wrote the panel meanwhile).
    void statusText(const QString &text);
    void statusTextRestore();
    // EmailDone was set: at the end of every SendEmail (held back, failed
    // early, sent or not), by "Disconnected." and by tmrEmailOverRide.
    // Connect it to AlarmActions::EmailDone.
    void emailDone();
    void envelopeChanged(EmailEnvelope state);
    void busyChanged(bool busy);
    // Every e-mail that started (gated ones do not), once it has ended.
    void emailFinished(const SmtpResult &result);

private:
    enum class Kind { Notify, Daily };
    struct Request {
        Kind kind = Kind::Notify;
        QString text; // the reason, or status panel 1's text
    };

    void enqueue(const Request &r);
    void drain();
    void start(const Request &r);
    void makeAttachments();
    void launch();
    void onTransferDone(const SmtpResult &r);
    void finish(const SmtpResult &r);
    void cleanUp();
    void releaseEmailDone();
    bool notifyWaiting() const;
    void setEnvelope(EmailEnvelope e);
    void addIfExists(const QString &path);

    const TSettings &m_settings;
    RunState &m_run;
    EmailHost &m_host;
    QString m_programBase;
    QString m_programFolder;
    Options m_options;

    QList<Request> m_queue;
    Request m_current;
    bool m_active = false;
    quint64 m_generation = 0;
    QString m_extension;
    QString m_body;
    QStringList m_attachments;
    SmtpJob m_job;

    bool m_emailDone = true;
    QTimer m_override; // tmrEmailOverRide
    EmailEnvelope m_envelope = EmailEnvelope::Hidden;

    std::thread m_worker;
    std::atomic_bool m_abort{false};
};
