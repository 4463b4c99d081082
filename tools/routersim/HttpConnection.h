#pragma once
// One accepted HTTP connection: reads a request head within bounds, then
// carries out what the server decided (answer, close, reset or hang).
#include "HttpRequest.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

class QTcpSocket;

namespace routersim {

class HttpConnection : public QObject
{
    Q_OBJECT
public:
    HttpConnection(QTcpSocket *socket, int idleTimeoutMs, QObject *parent = nullptr);
    ~HttpConnection() override;

    // Resets the connection, unread, once the client has sent something.
    // Resetting before that would race the client's own connect check (a
    // Qt client on Linux then quietly connects the same socket again).
    void refuse();

    // Writes the response, then closes our side and drains what the client
    // still sends, so the answer is not lost to a reset.
    void respond(const QByteArray &wire);
    void closeWithoutAnswer();
    // Closes with a TCP reset (SO_LINGER 0).
    void reset();
    // Keeps the connection open without answering until the client leaves.
    void hang();
    // The server is stopping: drop the connection at once.
    void shutdown();

    bool isFinished() const { return m_phase == Phase::Done; }

    static void resetSocket(QTcpSocket *socket);

signals:
    void requestReceived(routersim::HttpConnection *connection, const routersim::HttpRequest &request);
    void badRequest(routersim::HttpConnection *connection, const QString &reason, const QByteArray &target);
    void timedOut(routersim::HttpConnection *connection);
    void finished(routersim::HttpConnection *connection);

private:
    enum class Phase { Reading, Refusing, Handling, Hanging, Closing, Done };

    void onReadyRead();
    void onBytesWritten();
    void halfCloseWhenWritten();
    void finish();

    QTcpSocket *m_socket;
    QByteArray m_buffer;
    Phase m_phase = Phase::Reading;
    bool m_requestLineChecked = false;
    QTimer m_timer;
};

} // namespace routersim
