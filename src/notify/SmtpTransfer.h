#pragma once
// One SMTP submission with libcurl, run to its end on the calling thread (a
// worker: it blocks for up to the total time-out). It reads the attachment
// files, builds the message and sends it; nothing it does touches Qt objects
// of another thread, and it reports through the status callback only.
#include "notify/MailMessage.h"

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

// How a connection is secured.
enum class SmtpTls {
    None,     // plain
    Implicit, // TLS from the first byte (the port speaks TLS, e.g. 465)
    StartTls, // plain greeting, then STARTTLS, required
};

struct SmtpJob {
    QString host;
    int port = 25;
    SmtpTls tls = SmtpTls::None;
    bool login = false; // AUTH LOGIN with user and password
    QString user;
    QString password;
    QString caFile;         // extra trust anchors; empty: the system's
    bool verifyPeer = true; // certificate and host name checked
    int connectTimeoutMs = 30000; // up to the end of the log-in
    int totalTimeoutMs = 120000;

    std::optional<MailAddress> from;
    QList<MailAddress> to;
    QString subject;
    QString body;
    QDateTime date;
    QStringList attachmentPaths; // read when the transfer starts
};

enum class SmtpError {
    None,
    Settings,   // no server, no recipient, an address that does not parse
    Port,       // [Email] Port is not a port number
    Attachment, // a file to attach exists but cannot be read
    Connect,    // refused, unreachable, name not found
    Timeout,
    Tls,        // handshake or certificate
    Login,      // the server refused the user name or password
    Rejected,   // the server refused the sender, a recipient or the message
    Aborted,    // the program is closing
    Other,
};

struct SmtpResult {
    bool sent = false;
    bool connected = false; // a server greeted us (so there is a session to end)
    SmtpError error = SmtpError::None;
    int curlCode = 0;
    QString detail; // the failure's own text, with the server's last reply when there was one
};
Q_DECLARE_METATYPE(SmtpResult)

class SmtpTransfer {
public:
    using Status = std::function<void(const QString &)>;

    explicit SmtpTransfer(SmtpJob job) : m_job(std::move(job)) {}

    // libcurl's global set-up; call once on the main thread before any worker starts.
    static void globalInit();

    // Blocks until sent, failed, timed out or abort is set (checked often).
    // status receives the client's status texts ("Connected.").
    SmtpResult run(const std::atomic_bool &abort, const Status &status);

    // The message as it would be sent; nullopt with result filled when an attachment cannot be read.
    std::optional<QByteArray> buildMessage(SmtpResult &result) const;

private:
    SmtpJob m_job;
};
