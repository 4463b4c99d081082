#pragma once
// The SMTP server of the e-mail tests (tests/support/smtp_test_server.py) as
// a child process on 127.0.0.1 with a port of its own choosing: started by
// start(), killed by the destructor. Each message it accepts is read back as
// the JSON record the script writes beside the raw message.
#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

class SmtpTestServer {
public:
    struct Config {
        QString user = QStringLiteral("user");
        QString password = QStringLiteral("secret");
        bool authRequired = false;
        QString tls = QStringLiteral("none"); // "none", "implicit" or "starttls"
    };

    explicit SmtpTestServer(Config config);
    ~SmtpTestServer();

    // Starts the server and waits for its ready line; false with *why when it could not.
    bool start(QString *why);

    int port() const { return m_port; }
    QString certFile() const { return m_certFile; } // the self-signed certificate, with TLS

    // The records of the messages received so far, oldest first.
    QList<QJsonObject> messages() const;
    QByteArray raw(int index) const;                   // the bytes received, 0-based index
    QByteArray file(const QString &name) const;        // a decoded attachment ("1-2.bin")

private:
    bool startWith(const QString &python, QString *why, bool *tryNext);

    Config m_config;
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
    int m_port = 0;
    QString m_certFile;
};
