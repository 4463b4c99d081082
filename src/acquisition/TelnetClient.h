#pragma once
// The telnet client of the router sessions: a TCP connection with telnet
// option handling (TelnetReceiver), handing on what arrives as Latin-1 text
// (one byte one character). Everything runs on the owner's thread; the
// connect is bounded by its time-out and nothing else waits.
//
// Whatever the router sends, the client stays bounded: the socket buffers at
// most kSocketBufferBytes (the router is then held back by TCP), each turn of
// the event loop handles at most kReadBatchBytes and leaves the rest to the
// next turn, so timers and other sockets are served in between; a router
// that does not read what we send, or breaks the protocol, has its
// connection dropped with a reason.
#include "acquisition/TelnetReceiver.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

class TelnetClient : public QObject {
    Q_OBJECT
public:
    static constexpr const char *kTerminalType = TelnetReceiver::kTerminalType;
    static constexpr qint64 kSocketBufferBytes = 64 * 1024;
    static constexpr qint64 kReadBatchBytes = 16 * 1024;
    // Bytes waiting to be sent beyond this: the router is not reading.
    static constexpr qint64 kMaxUnsentBytes = 256 * 1024;

    explicit TelnetClient(QObject *parent = nullptr);
    ~TelnetClient() override;

    // Starts a connect; connected() or connectFailed() follows, within
    // timeoutMs. A connect while connected or connecting is ignored.
    void connectToHost(const QString &host, quint16 port, int timeoutMs);
    // Closes the connection (or stops a connect) at once; disconnected()
    // follows when a connection was open.
    void disconnectFromHost();
    // Ends the connection because the router crossed a bound: dropped(why),
    // then the usual close.
    void drop(const QString &why);

    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState && m_receiver; }
    bool isConnecting() const { return m_connecting; }

    // Sends the bytes as they are (IAC doubled); nothing when not connected.
    void send(const QByteArray &bytes);

    // Bytes received and not yet handled (the socket's buffer).
    qint64 pendingBytes() const { return m_socket.bytesAvailable(); }
    // Bytes sent and not yet taken by the network.
    qint64 unsentBytes() const { return m_socket.bytesToWrite(); }

signals:
    void connected();
    void connectFailed(const QString &why);
    void dataReceived(const QString &text);
    // The connection was ended on our side for the reason given.
    void dropped(const QString &why);
    void disconnected();
    // The connection's progress as short status texts for the system messages
    // ("Connected.", "Disconnected." and so on).
    void status(const QString &text);

private:
    void onConnected();
    void onReadyRead();
    void readBatch();
    void flushOutgoing();
    void onSocketError();
    void onSocketDisconnected();
    void onTimeout();

    QTcpSocket m_socket;
    QTimer m_connectTimer;
    QTimer m_nextBatch; // zero interval: the rest of the input, next turn
    std::unique_ptr<TelnetReceiver> m_receiver;
    bool m_connecting = false;
    bool m_open = false;     // connected() was emitted and disconnected() not yet
    bool m_draining = false; // handing on what came before the router closed
};
