#pragma once
// One telnet session of the simulated router: option negotiation (it offers
// echo and asks for the terminal type), the log-in, the shell's line editing
// with echo, and the replies of the firmware family, written out in pieces
// as the chunking mode says. Every line it receives goes to the journal.
#include "OutputChunker.h"
#include "TelnetBehaviour.h"
#include "TelnetReplies.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTimer>

struct telnet_t;
union telnet_event_t;
class QTcpSocket;

namespace routersim {

class Journal;
class RouterState;

class TelnetConnection : public QObject
{
    Q_OBJECT
public:
    // Longest command line kept; the rest of a longer one is dropped.
    static constexpr int kMaxLineLength = 4096;
    static constexpr int kMaxLoginFailures = 3;

    TelnetConnection(QTcpSocket *socket, TelnetFault fault, TelnetBehaviour &behaviour, RouterState &state,
                     Journal &journal, QObject *parent = nullptr);
    ~TelnetConnection() override;

    // Negotiation and the first prompt (nothing at all for a mute router).
    void start();
    // Ends the session from the router's side once the queued output is out.
    void closeAfterOutput();
    // Ends it at once.
    void drop();

signals:
    void finished(routersim::TelnetConnection *connection);
    // The telnet daemon's PID was killed, or the router reboots: every
    // session ends.
    void daemonKilled();
    void rebooting();

private:
    enum class Stage { User, Password, Shell };

    static void onTelnetEvent(telnet_t *telnet, telnet_event_t *event, void *self);
    void handleEvent(telnet_event_t *event);
    void onReadyRead();
    void onDisconnected();
    void input(const char *data, size_t size);
    void handleLine(const QByteArray &line);
    void handleLogin(const QByteArray &line);
    QByteArray takeEcho();
    // The shell prompt; the SpeedTouch 585's names the logged-in user.
    QByteArray prompt() const;
    void enqueue(const QByteArray &block);
    void sendNextPiece();
    void journal(const QString &method, const QString &target, const QString &credentials, const QString &result);

    QTcpSocket *m_socket;
    TelnetFault m_fault;
    TelnetBehaviour &m_behaviour;
    RouterState &m_state;
    Journal &m_journal;
    TelnetReplies m_replies;
    OutputChunker m_chunker;
    telnet_t *m_telnet = nullptr;
    Stage m_stage = Stage::Shell;
    QByteArray m_line;
    QByteArray m_echo;
    QByteArray m_user;
    bool m_afterCr = false;
    int m_loginFailures = 0;
    QList<QByteArray> m_queue;
    QTimer m_pieceTimer;
    bool m_closeAfterOutput = false;
    bool m_closing = false;
    bool m_done = false;
};

} // namespace routersim
