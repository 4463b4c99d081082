#include "acquisition/TelnetClient.h"

TelnetClient::TelnetClient(QObject *parent) : QObject(parent)
{
    m_connectTimer.setSingleShot(true);
    connect(&m_connectTimer, &QTimer::timeout, this, &TelnetClient::onTimeout);
    m_nextBatch.setSingleShot(true);
    m_nextBatch.setInterval(0);
    connect(&m_nextBatch, &QTimer::timeout, this, &TelnetClient::readBatch);
    // A full buffer stops the reading from the network: TCP holds the router back.
    m_socket.setReadBufferSize(kSocketBufferBytes);
    connect(&m_socket, &QTcpSocket::connected, this, &TelnetClient::onConnected);
    connect(&m_socket, &QTcpSocket::readyRead, this, &TelnetClient::onReadyRead);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &TelnetClient::onSocketError);
    connect(&m_socket, &QTcpSocket::disconnected, this, &TelnetClient::onSocketDisconnected);
}

TelnetClient::~TelnetClient()
{
    m_socket.disconnect(this);
    m_socket.abort();
}

void TelnetClient::connectToHost(const QString &host, quint16 port, int timeoutMs)
{
    if (m_connecting || m_socket.state() != QAbstractSocket::UnconnectedState)
        return;
    m_receiver.reset();
    m_connecting = true;
    emit status(QStringLiteral("Connecting to %1.").arg(host));
    m_connectTimer.start(timeoutMs);
    m_socket.connectToHost(host, port);
}

void TelnetClient::onConnected()
{
    if (!m_connecting)
        return;
    m_connecting = false;
    m_connectTimer.stop();
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_receiver = std::make_unique<TelnetReceiver>();
    m_open = true;
    emit status(QStringLiteral("Connected."));
    emit connected();
    // Data that came with the connection is read now that the parser exists.
    if (m_open && m_socket.bytesAvailable() > 0)
        m_nextBatch.start();
}

void TelnetClient::onTimeout()
{
    if (!m_connecting)
        return;
    m_connecting = false;
    m_socket.abort();
    emit connectFailed(QStringLiteral("timed out"));
}

void TelnetClient::onSocketError()
{
    if (m_connecting) {
        m_connecting = false;
        m_connectTimer.stop();
        const QString why = m_socket.errorString();
        m_socket.abort();
        emit connectFailed(why);
    }
    // Errors of an open connection end in disconnected().
}

void TelnetClient::onSocketDisconnected()
{
    if (!m_open)
        return;
    // What the router sent before it closed is still handed on (at most a
    // socket buffer's worth); a listener may close the session meanwhile.
    if (!m_draining && m_receiver) {
        m_draining = true;
        while (m_open && m_receiver && m_socket.bytesAvailable() > 0)
            readBatch();
        m_draining = false;
        if (!m_open)
            return;
    }
    m_open = false;
    m_nextBatch.stop();
    m_receiver.reset();
    emit status(QStringLiteral("Disconnected."));
    emit disconnected();
}

void TelnetClient::disconnectFromHost()
{
    if (m_connecting) {
        m_connecting = false;
        m_connectTimer.stop();
        m_socket.abort();
        return;
    }
    if (!m_open)
        return;
    emit status(QStringLiteral("Disconnecting."));
    // What was sent last (a kill, a typed command) still reaches the router,
    // as far as the network takes it without waiting.
    m_socket.flush();
    m_socket.abort();
    // abort() reports the close at once on most platforms; make sure of it.
    onSocketDisconnected();
}

void TelnetClient::drop(const QString &why)
{
    if (!m_open)
        return;
    emit dropped(why);
    disconnectFromHost();
}

void TelnetClient::send(const QByteArray &bytes)
{
    if (!isConnected() || bytes.isEmpty())
        return;
    m_receiver->send(bytes);
    flushOutgoing();
}

void TelnetClient::flushOutgoing()
{
    const QByteArray out = m_receiver ? m_receiver->takeOutgoing() : QByteArray();
    if (!out.isEmpty() && m_socket.state() == QAbstractSocket::ConnectedState)
        m_socket.write(out);
    if (m_socket.bytesToWrite() > kMaxUnsentBytes)
        drop(QStringLiteral("Session dropped: the router does not read what is sent."));
}

void TelnetClient::onReadyRead()
{
    // A batch already due reads this as well, in its own turn.
    if (!m_nextBatch.isActive())
        readBatch();
}

void TelnetClient::readBatch()
{
    m_nextBatch.stop();
    if (!m_open || !m_receiver)
        return;
    const QByteArray data = m_socket.read(kReadBatchBytes);
    if (!data.isEmpty()) {
        const QString text = m_receiver->receive(data);
        const QString failure = m_receiver->failure();
        flushOutgoing();
        if (m_open && !text.isEmpty())
            emit dataReceived(text); // a listener may close the session
        if (!m_open)
            return;
        if (!failure.isEmpty()) {
            drop(QStringLiteral("Session dropped: ") + failure + QLatin1Char('.'));
            return;
        }
    }
    if (!m_draining && m_socket.bytesAvailable() > 0)
        m_nextBatch.start();
}
