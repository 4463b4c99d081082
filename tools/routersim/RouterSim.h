#pragma once
// The simulated router as a whole: its state, its web server, the control
// socket and the journal. Tests create one on 127.0.0.1 with port 0 and read
// the ports back; the routersim program is a thin shell around it.
#include "AuthPolicy.h"
#include "FailurePlan.h"
#include "LineDrift.h"
#include "Journal.h"
#include "Profile.h"
#include "RequestHandler.h"
#include "RouterState.h"
#include "TelnetBehaviour.h"

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <optional>

namespace routersim {

class CommandInterpreter;
class ControlServer;
class HttpServer;
class TelnetServer;

struct RouterSimOptions {
    QString profile = QStringLiteral("v1234");
    QString bind = QStringLiteral("127.0.0.1");
    quint16 httpPort = 0;    // 0: any free port
    quint16 controlPort = 0; // 0: any free port
    bool control = true;     // open the control socket
    quint16 telnetPort = 0;  // 0: any free port
    bool telnet = true;      // run the telnet daemon
    QString readyFile;       // "http=PORT", "control=PORT", "telnet=PORT", written once listening
    QString journalFile;
    QString scenarioFile;
    // Unset: the model's own defaults (Profile::defaultUser and so on).
    std::optional<QString> auth;
    std::optional<QString> user;
    std::optional<QString> password;
    // Unset: the model's firmware family (TelnetBehaviour::familyFor) and no log-in.
    std::optional<QString> telnetFamily;
    std::optional<QString> telnetLogin;
};

class RouterSim : public QObject
{
    Q_OBJECT
public:
    explicit RouterSim(QObject *parent = nullptr);
    ~RouterSim() override;

    bool start(const RouterSimOptions &options, QString *error);
    // Closes the listeners and every connection; pending timed steps are dropped.
    void stop();
    bool isRunning() const;

    quint16 httpPort() const;
    quint16 controlPort() const;
    quint16 telnetPort() const;
    int telnetSessions() const;
    // Ends every telnet session from the router's side.
    void dropTelnetSessions();
    QHostAddress address() const { return m_address; }
    int openHttpConnections() const;
    void setHttpIdleTimeout(int ms);

    RouterState &state() { return m_state; }
    AuthPolicy &auth() { return m_auth; }
    FailurePlan &failures() { return m_failures; }
    Journal &journal() { return m_journal; }
    TelnetBehaviour &telnet() { return m_telnet; }
    ProfileId profile() const { return m_handler.profile(); }
    void setProfile(ProfileId id) { m_handler.setProfile(id); }

    // One control command; the reply lines as the control socket sends them.
    QStringList execute(const QString &line);
    // The line's figures drift once a second from now on (a seed), or stop (none).
    void setDrift(std::optional<quint32> seed);
    // "off", or LineDrift::describe().
    QString driftStatus() const;
    // Runs a command after ms milliseconds (the "at" command).
    void schedule(qint64 ms, const QString &command);
    // Asks the owner to end the program, once control has returned to the
    // event loop (so the reply to "quit" is sent first).
    void requestQuit();

    // Only 127.0.0.x (x 1 to 254) may be bound: the simulator must never be
    // reachable from outside the machine.
    static bool parseBindAddress(const QString &text, QHostAddress *address, QString *error);

signals:
    void quitRequested();

private:
    // Follows "fail * down", "telnet fail down" and the telnet access rule:
    // the servers stop or resume listening.
    void applyListening();
    bool writeReadyFile(const QString &path, QString *error) const;

    RouterState m_state;
    AuthPolicy m_auth;
    FailurePlan m_failures;
    Journal m_journal;
    TelnetBehaviour m_telnet;
    RequestHandler m_handler;
    std::unique_ptr<CommandInterpreter> m_interpreter;
    std::unique_ptr<HttpServer> m_http;
    std::unique_ptr<ControlServer> m_control;
    std::unique_ptr<TelnetServer> m_telnetServer;
    QList<QPointer<QTimer>> m_timers;
    std::unique_ptr<LineDrift> m_drift;
    QTimer m_driftTimer;
    QHostAddress m_address;
};

} // namespace routersim
