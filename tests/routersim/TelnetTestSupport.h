#pragma once
// A small telnet client for the simulator tests (libtelnet, as the program
// uses), and the telnet parsers' reading rules written out from their
// documented form: 1-based windows after a label, "first number" values.
#include "SimTestSupport.h"

#include <QTcpSocket>
#include <libtelnet.h>

namespace rstest {

class TelnetTestClient
{
public:
    explicit TelnetTestClient(quint16 port, const char *terminalType = "dumb") : m_terminalType(terminalType)
    {
        static const telnet_telopt_t options[] = {
            {TELNET_TELOPT_ECHO, TELNET_WONT, TELNET_DO},
            {TELNET_TELOPT_SGA, TELNET_WILL, TELNET_DO},
            {TELNET_TELOPT_TTYPE, TELNET_WILL, TELNET_DONT},
            {-1, 0, 0},
        };
        m_telnet = telnet_init(options, &TelnetTestClient::event, 0, this);
        QObject::connect(&m_socket, &QTcpSocket::readyRead, [this] {
            const QByteArray data = m_socket.readAll();
            ++m_reads;
            telnet_recv(m_telnet, data.constData(), static_cast<size_t>(data.size()));
        });
        m_socket.connectToHost(QHostAddress::LocalHost, port);
        testsupport::waitFor([this] {
            return m_socket.state() == QAbstractSocket::ConnectedState
                   || m_socket.state() == QAbstractSocket::UnconnectedState;
        });
    }
    ~TelnetTestClient()
    {
        m_socket.abort();
        telnet_free(m_telnet);
    }

    bool connected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    // The server ended the connection (or it never opened).
    bool waitClosed(int ms = 5000)
    {
        return testsupport::waitFor([this] { return m_socket.state() == QAbstractSocket::UnconnectedState; }, ms);
    }
    // Waits until the text received since the last take() contains what.
    bool waitFor(const QByteArray &what, int ms = 5000)
    {
        return testsupport::waitFor([&] { return m_text.contains(what); }, ms);
    }
    // Waits until the text ends with the prompt.
    bool waitForPrompt(const QByteArray &prompt = "# ", int ms = 5000)
    {
        return testsupport::waitFor([&] { return m_text.endsWith(prompt); }, ms);
    }
    QByteArray text() const { return m_text; }
    QByteArray take()
    {
        QByteArray t = m_text;
        m_text.clear();
        return t;
    }
    // What the program does: the characters, then one CR.
    void sendLine(const QByteArray &line)
    {
        const QByteArray bytes = line + '\r';
        telnet_send(m_telnet, bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    // The reply of one command: echo, output and the next prompt.
    QByteArray command(const QByteArray &line, const QByteArray &prompt = "# ")
    {
        take();
        sendLine(line);
        waitFor("\r\n");
        waitForPrompt(prompt);
        return take();
    }
    int reads() const { return m_reads; }
    QList<QByteArray> dataEvents() const { return m_events; }

private:
    static void event(telnet_t *, telnet_event_t *ev, void *self)
    {
        auto *c = static_cast<TelnetTestClient *>(self);
        switch (ev->type) {
        case TELNET_EV_DATA:
            c->m_text += QByteArray(ev->data.buffer, static_cast<qsizetype>(ev->data.size));
            c->m_events << QByteArray(ev->data.buffer, static_cast<qsizetype>(ev->data.size));
            break;
        case TELNET_EV_SEND:
            c->m_socket.write(ev->data.buffer, static_cast<qint64>(ev->data.size));
            break;
        case TELNET_EV_TTYPE:
            if (ev->ttype.cmd == TELNET_TTYPE_SEND && c->m_terminalType)
                telnet_ttype_is(c->m_telnet, c->m_terminalType);
            break;
        default:
            break;
        }
    }

    QTcpSocket m_socket;
    telnet_t *m_telnet = nullptr;
    const char *m_terminalType;
    QByteArray m_text;
    QList<QByteArray> m_events;
    int m_reads = 0;
};

// ---- the parsers' reading rules ----------------------------------------------

// The first number of a text: trimmed, then from the first digit, '-', '.'
// or ',' the longest run of digits, '-' and '.'.
inline QByteArray extractNumeric(const QByteArray &text)
{
    const QByteArray t = text.trimmed();
    qsizetype i = 0;
    while (i < t.size() && !QByteArray("0123456789-.,").contains(t[i]))
        ++i;
    qsizetype j = i;
    while (j < t.size() && QByteArray("0123456789-.").contains(t[j]))
        ++j;
    return t.mid(i, j - i);
}

inline QByteArray window(const QByteArray &text, const QByteArray &label, int offset, int width)
{
    const int p = pos(label, text);
    return p == 0 ? QByteArray() : copy(text, p + offset, width);
}

// Downstream form: the first number of the window.
inline QByteArray down(const QByteArray &text, const QByteArray &label, int offset, int width)
{
    return extractNumeric(window(text, label, offset, width));
}

// Upstream form: the window trimmed, from its first blank, first number.
inline QByteArray up(const QByteArray &text, const QByteArray &label, int offset, int width)
{
    const QByteArray w = window(text, label, offset, width).trimmed();
    const qsizetype blank = w.indexOf(' ');
    return blank < 0 ? QByteArray() : extractNumeric(w.mid(blank));
}

// The text with every CR and LF removed.
inline QByteArray withoutLineBreaks(QByteArray s)
{
    s.replace("\r", "");
    s.replace("\n", "");
    return s;
}

} // namespace rstest
