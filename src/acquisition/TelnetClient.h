#pragma once
// The telnet client of the general router session: a TCP connection with
// telnet option handling by libtelnet. It offers the terminal type "dumb",
// lets the router echo, and hands on each received chunk as Latin-1 text
// (one byte one character). Everything runs on the owner's thread; the
// connect is bounded by its time-out and nothing else waits.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>
#include <vector>

struct telnet_t;
union telnet_event_t;

class TelnetClient : public QObject {
    Q_OBJECT
public:
    static constexpr const char *kTerminalType = "dumb";

    explicit TelnetClient(QObject *parent = nullptr);
    ~TelnetClient() override;

    // Starts a connect; connected() or connectFailed() follows, within
    // timeoutMs. A connect while connected or connecting is ignored.
    void connectToHost(const QString &host, quint16 port, int timeoutMs);
    // Closes the connection (or stops a connect) at once; disconnected()
    // follows when a connection was open.
    void disconnectFromHost();

    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState && m_telnet; }
    bool isConnecting() const { return m_connecting; }

    // Sends the bytes as they are (IAC doubled); nothing when not connected.
    void send(const QByteArray &bytes);

signals:
    void connected();
    void connectFailed(const QString &why);
    void dataReceived(const QString &text);
    void disconnected();
    // The connection's progress as short status texts for the system messages
    // ("Connected.", "Disconnected." and so on).
    void status(const QString &text);

private:
    static void onTelnetEvent(telnet_t *telnet, telnet_event_t *event, void *self);
    void handleEvent(telnet_event_t *event);
    void onConnected();
    void onReadyRead();
    void onSocketError();
    void onSocketDisconnected();
    void onTimeout();
    // The protocol state of a closed connection is freed once no
    // telnet_recv() is running on it.
    void retireTelnet();
    void freeRetired();

    QTcpSocket m_socket;
    QTimer m_connectTimer;
    telnet_t *m_telnet = nullptr;
    bool m_connecting = false;
    bool m_open = false;   // connected() was emitted and disconnected() not yet
    int m_receiving = 0;   // inside telnet_recv: freeing must wait
    std::vector<telnet_t *> m_retired;
};
