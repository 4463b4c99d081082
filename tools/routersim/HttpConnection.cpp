#include "HttpConnection.h"

#include <QTcpSocket>
#include <sys/socket.h>

namespace routersim {

namespace {
// How long a closed-for-writing connection may keep sending before it is cut.
constexpr int kDrainMs = 2000;
// How long a refused connection waits for the client's first bytes.
constexpr int kRefuseWaitMs = 1000;
} // namespace

HttpConnection::HttpConnection(QTcpSocket *socket, int idleTimeoutMs, QObject *parent)
    : QObject(parent), m_socket(socket)
{
    m_socket->setParent(this);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_phase == Phase::Reading)
            emit timedOut(this);
        else if (m_phase == Phase::Refusing)
            reset();
        else if (m_phase == Phase::Closing)
            shutdown();
    });
    connect(m_socket, &QTcpSocket::readyRead, this, &HttpConnection::onReadyRead);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &HttpConnection::onBytesWritten);
    connect(m_socket, &QTcpSocket::disconnected, this, &HttpConnection::finish);
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        if (e == QAbstractSocket::RemoteHostClosedError || m_socket->state() == QAbstractSocket::UnconnectedState)
            finish();
    });
    m_timer.start(idleTimeoutMs);
    // Data may have come with the connection itself.
    QMetaObject::invokeMethod(this, &HttpConnection::onReadyRead, Qt::QueuedConnection);
}

HttpConnection::~HttpConnection() = default;

void HttpConnection::refuse()
{
    m_phase = Phase::Refusing;
    m_timer.start(kRefuseWaitMs);
}

void HttpConnection::onReadyRead()
{
    if (m_phase == Phase::Refusing) {
        if (m_socket->bytesAvailable() > 0)
            reset();
        return;
    }
    if (m_phase != Phase::Reading) {
        // Nothing more is read once a request is taken; discard the rest.
        if (m_socket->isOpen())
            m_socket->readAll();
        return;
    }
    m_buffer += m_socket->readAll();

    if (!m_requestLineChecked) {
        const qsizetype eol = m_buffer.indexOf('\n');
        if (eol >= 0) {
            m_requestLineChecked = true;
            QString reason;
            if (!HttpRequest::plausibleRequestLine(m_buffer.left(eol), &reason)) {
                m_phase = Phase::Handling;
                emit badRequest(this, reason, {});
                return;
            }
        }
    }

    // A blank line ends the head; bare LF line ends are tolerated.
    qsizetype end = m_buffer.indexOf("\r\n\r\n");
    const qsizetype bare = m_buffer.indexOf("\n\n");
    if (bare >= 0 && (end < 0 || bare < end))
        end = bare;
    if (end < 0 || end > HttpRequest::kMaxHeadSize) {
        if (m_buffer.size() > HttpRequest::kMaxHeadSize) {
            m_phase = Phase::Handling;
            emit badRequest(this, "request head too large", {});
        }
        return;
    }
    m_phase = Phase::Handling;
    m_timer.stop();
    const QByteArray head = m_buffer.left(end);
    m_buffer.clear();
    QString reason;
    const auto request = HttpRequest::parse(head, &reason);
    if (!request) {
        const QList<QByteArray> first = head.left(head.indexOf('\n')).split(' ');
        emit badRequest(this, reason, first.size() > 1 ? first[1] : QByteArray());
        return;
    }
    emit requestReceived(this, *request);
}

void HttpConnection::respond(const QByteArray &wire)
{
    if (m_phase == Phase::Done)
        return;
    m_phase = Phase::Closing;
    m_socket->write(wire);
    m_socket->flush();
    halfCloseWhenWritten();
}

void HttpConnection::closeWithoutAnswer()
{
    if (m_phase == Phase::Done)
        return;
    m_phase = Phase::Closing;
    halfCloseWhenWritten();
}

void HttpConnection::onBytesWritten()
{
    if (m_phase == Phase::Closing)
        halfCloseWhenWritten();
}

void HttpConnection::halfCloseWhenWritten()
{
    if (m_phase != Phase::Closing || m_socket->bytesToWrite() > 0)
        return;
    // Our side is done; the peer sees end of data and closes, which ends
    // the connection through disconnected().
    ::shutdown(static_cast<int>(m_socket->socketDescriptor()), SHUT_WR);
    m_socket->readAll();
    m_timer.start(kDrainMs);
}

void HttpConnection::resetSocket(QTcpSocket *socket)
{
    const int fd = static_cast<int>(socket->socketDescriptor());
    if (fd >= 0) {
        linger lg{};
        lg.l_onoff = 1;
        lg.l_linger = 0;
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &lg, sizeof lg);
    }
    socket->abort();
}

void HttpConnection::reset()
{
    if (m_phase == Phase::Done)
        return;
    resetSocket(m_socket);
    finish();
}

void HttpConnection::hang()
{
    if (m_phase == Phase::Done)
        return;
    m_phase = Phase::Hanging;
    m_timer.stop();
}

void HttpConnection::shutdown()
{
    if (m_phase == Phase::Done)
        return;
    m_socket->abort();
    finish();
}

void HttpConnection::finish()
{
    if (m_phase == Phase::Done)
        return;
    m_phase = Phase::Done;
    m_timer.stop();
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        m_socket->abort();
    emit finished(this);
}

} // namespace routersim
