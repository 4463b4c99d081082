#include "TelnetConnection.h"

#include "Journal.h"
#include "RouterState.h"

#include <QTcpSocket>
#include <libtelnet.h>

namespace routersim {

namespace {

// The router echoes (so the program sees what it typed) and asks for the
// terminal type; the client's other offers are declined.
const telnet_telopt_t kOptions[] = {
    {TELNET_TELOPT_ECHO, TELNET_WILL, TELNET_DONT},
    {TELNET_TELOPT_SGA, TELNET_WILL, TELNET_DO},
    {TELNET_TELOPT_TTYPE, TELNET_WONT, TELNET_DO},
    {-1, 0, 0},
};

QString latin1(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}

} // namespace

TelnetConnection::TelnetConnection(QTcpSocket *socket, TelnetFault fault, TelnetBehaviour &behaviour,
                                   RouterState &state, Journal &journal, QObject *parent)
    : QObject(parent), m_socket(socket), m_fault(fault), m_behaviour(behaviour), m_state(state),
      m_journal(journal), m_replies(state, behaviour), m_chunker(behaviour.chunk, behaviour.seed)
{
    m_socket->setParent(this);
    // Small pieces must leave as they are written, not wait for each other.
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_telnet = telnet_init(kOptions, &TelnetConnection::onTelnetEvent, 0, this);
    m_pieceTimer.setSingleShot(true);
    connect(&m_pieceTimer, &QTimer::timeout, this, &TelnetConnection::sendNextPiece);
    connect(m_socket, &QTcpSocket::readyRead, this, &TelnetConnection::onReadyRead);
    connect(m_socket, &QTcpSocket::disconnected, this, &TelnetConnection::onDisconnected);
}

TelnetConnection::~TelnetConnection()
{
    if (m_telnet)
        telnet_free(m_telnet);
}

void TelnetConnection::journal(const QString &method, const QString &target, const QString &credentials,
                               const QString &result)
{
    m_journal.record(QStringLiteral("telnet"), method, target, credentials, result);
}

void TelnetConnection::start()
{
    journal("connect", "-", "-", m_fault == TelnetFault::None ? QStringLiteral("ok") : TelnetBehaviour::faultName(m_fault));
    if (m_fault == TelnetFault::Mute)
        return;
    telnet_negotiate(m_telnet, TELNET_WILL, TELNET_TELOPT_ECHO);
    telnet_negotiate(m_telnet, TELNET_WILL, TELNET_TELOPT_SGA);
    telnet_negotiate(m_telnet, TELNET_DO, TELNET_TELOPT_TTYPE);
    if (m_behaviour.family == TelnetFamily::St585) {
        if (m_behaviour.sessionBusy) {
            // Its only session is taken: said on the first line, then closed.
            journal("login", "-", "-", "busy");
            enqueue("Sorry, the session is in use by another user. Try again later.\r\n");
            closeAfterOutput();
            return;
        }
        m_stage = Stage::User;
        enqueue("\r\nUsername : ");
        return;
    }
    switch (m_behaviour.login) {
    case TelnetLogin::None:
        m_stage = Stage::Shell;
        enqueue(m_replies.banner() + prompt());
        break;
    case TelnetLogin::Password:
        m_stage = Stage::Password;
        enqueue("\r\nPassword: ");
        break;
    case TelnetLogin::User:
        m_stage = Stage::User;
        enqueue("\r\nlogin: ");
        break;
    }
}

void TelnetConnection::onTelnetEvent(telnet_t *, telnet_event_t *event, void *self)
{
    static_cast<TelnetConnection *>(self)->handleEvent(event);
}

void TelnetConnection::handleEvent(telnet_event_t *event)
{
    switch (event->type) {
    case TELNET_EV_SEND:
        if (m_socket->state() == QAbstractSocket::ConnectedState)
            m_socket->write(event->data.buffer, static_cast<qint64>(event->data.size));
        break;
    case TELNET_EV_DATA:
        input(event->data.buffer, event->data.size);
        break;
    case TELNET_EV_WILL:
        if (event->neg.telopt == TELNET_TELOPT_TTYPE)
            telnet_ttype_send(m_telnet);
        break;
    case TELNET_EV_TTYPE:
        if (event->ttype.cmd == TELNET_TTYPE_IS)
            journal("ttype", QString::fromLatin1(event->ttype.name), "-", "ok");
        break;
    case TELNET_EV_ERROR:
        journal("close", "-", "-", QStringLiteral("protocol error"));
        drop();
        break;
    default:
        break;
    }
}

void TelnetConnection::onReadyRead()
{
    const QByteArray data = m_socket->readAll();
    if (!m_done && !data.isEmpty())
        telnet_recv(m_telnet, data.constData(), static_cast<size_t>(data.size()));
}

void TelnetConnection::input(const char *data, size_t size)
{
    if (m_fault == TelnetFault::Mute || m_done || m_closing || m_closeAfterOutput)
        return;
    for (size_t i = 0; i < size && !m_done && !m_closing && !m_closeAfterOutput; ++i) {
        // The stage may change within one read: a password typed ahead is never echoed.
        const bool echo = m_stage != Stage::Password && !(m_stage == Stage::Shell && m_fault == TelnetFault::Hang);
        const char c = data[i];
        // CR LF and CR NUL end a line once; so does a lone CR (what the
        // program sends) or a lone LF.
        if (m_afterCr && (c == '\n' || c == '\0')) {
            m_afterCr = false;
            continue;
        }
        m_afterCr = c == '\r';
        if (c == '\r' || c == '\n') {
            const QByteArray line = m_line;
            m_line.clear();
            handleLine(line);
        } else if (c == '\b' || c == 0x7f) {
            if (!m_line.isEmpty()) {
                m_line.chop(1);
                if (echo)
                    m_echo += "\b \b";
            }
        } else if (c != '\0' && m_line.size() < kMaxLineLength) {
            m_line += c;
            if (echo)
                m_echo += c;
        }
    }
    if (!m_echo.isEmpty())
        enqueue(takeEcho());
    m_echo.clear();
}

QByteArray TelnetConnection::takeEcho()
{
    QByteArray e = m_echo;
    m_echo.clear();
    return e;
}

QByteArray TelnetConnection::prompt() const
{
    if (m_behaviour.family == TelnetFamily::St585)
        return "{" + m_user + "}=>";
    return m_behaviour.prompt().toLatin1();
}

void TelnetConnection::handleLogin(const QByteArray &line)
{
    const bool st585 = m_behaviour.family == TelnetFamily::St585;
    if (m_stage == Stage::User) {
        m_user = line;
        m_stage = Stage::Password;
        enqueue(takeEcho() + (st585 ? "\r\nPassword : " : "\r\nPassword: "));
        return;
    }
    const bool userMode = st585 || m_behaviour.login == TelnetLogin::User;
    const QString user = userMode ? latin1(m_user) : QString();
    const QString password = latin1(line);
    const bool ok = password == m_behaviour.password && (!userMode || user == m_behaviour.user);
    journal("login", userMode ? user : QStringLiteral("-"), user + ':' + password, ok ? "ok" : "bad-login");
    if (ok) {
        m_stage = Stage::Shell;
        enqueue("\r\n" + m_replies.banner() + prompt());
        return;
    }
    if (++m_loginFailures >= kMaxLoginFailures) {
        enqueue("\r\nLogin incorrect\r\n");
        closeAfterOutput();
        return;
    }
    m_stage = userMode ? Stage::User : Stage::Password;
    enqueue(QByteArray("\r\nLogin incorrect\r\n")
            + (st585 ? "Username : " : userMode ? "login: " : "Password: "));
}

void TelnetConnection::handleLine(const QByteArray &line)
{
    if (m_stage != Stage::Shell) {
        handleLogin(line);
        return;
    }
    if (m_fault == TelnetFault::Hang) {
        journal("line", latin1(line), "-", "hang");
        return;
    }
    if (m_fault == TelnetFault::Close) {
        journal("line", latin1(line), "-", "close");
        m_echo.clear();
        closeAfterOutput();
        return;
    }
    const TelnetReply reply = m_replies.run(latin1(line));
    journal("line", latin1(line), "-", reply.result);
    QByteArray block = takeEcho() + "\r\n" + reply.text;
    if (reply.action == TelnetReply::Action::None) {
        enqueue(block + prompt());
        return;
    }
    enqueue(block);
    switch (reply.action) {
    case TelnetReply::Action::Kill: emit daemonKilled(); break;
    case TelnetReply::Action::Reboot: emit rebooting(); break;
    case TelnetReply::Action::Logout: closeAfterOutput(); break;
    case TelnetReply::Action::None: break;
    }
}

void TelnetConnection::enqueue(const QByteArray &block)
{
    if (m_done || m_closing || m_closeAfterOutput)
        return;
    const QList<QByteArray> pieces = m_chunker.split(block);
    if (pieces.isEmpty())
        return;
    m_queue.append(pieces);
    if (!m_pieceTimer.isActive())
        sendNextPiece();
}

void TelnetConnection::sendNextPiece()
{
    if (m_done)
        return;
    if (!m_queue.isEmpty()) {
        const QByteArray piece = m_queue.takeFirst();
        telnet_send(m_telnet, piece.constData(), static_cast<size_t>(piece.size()));
        m_socket->flush();
    }
    if (!m_queue.isEmpty()) {
        // Whole replies go out back to back; split ones a little apart, so
        // the reader gets them one by one.
        m_pieceTimer.start(m_behaviour.chunk == ChunkMode::Whole ? 0 : m_behaviour.pieceDelayMs);
        return;
    }
    if (m_closeAfterOutput && !m_closing) {
        m_closing = true;
        journal("close", "-", "-", "router");
        m_socket->disconnectFromHost();
    }
}

void TelnetConnection::closeAfterOutput()
{
    m_closeAfterOutput = true;
    if (!m_pieceTimer.isActive())
        sendNextPiece();
}

void TelnetConnection::drop()
{
    if (m_done)
        return;
    if (!m_closing) {
        m_closing = true;
        journal("close", "-", "-", "router");
    }
    m_queue.clear();
    m_pieceTimer.stop();
    m_socket->abort();
    onDisconnected();
}

void TelnetConnection::onDisconnected()
{
    if (m_done)
        return;
    if (!m_closing)
        journal("close", "-", "-", "client");
    m_done = true;
    m_pieceTimer.stop();
    emit finished(this);
}

} // namespace routersim
