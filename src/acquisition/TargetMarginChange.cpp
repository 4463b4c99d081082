#include "acquisition/TargetMarginChange.h"

#include "acquisition/TelnetSession.h"

TargetMarginChange::TargetMarginChange(TelnetSession &session, QObject *parent) : QObject(parent), m_session(session)
{
    m_promptWait.setSingleShot(true);
    m_promptWait.setInterval(kPromptWaitMs);
    connect(&m_promptWait, &QTimer::timeout, this, &TargetMarginChange::done);
    connect(&m_session, &TelnetSession::connectFinished, this, &TargetMarginChange::onConnectFinished);
}

bool TargetMarginChange::start(const terminalcommands::TargetMargin &margin, const QString &prompt)
{
    if (m_busy || !margin.error.isEmpty())
        return false;
    m_busy = true;
    m_margin = margin;
    m_prompt = prompt;
    m_connectedHere = false;
    if (m_session.isConnected()) {
        send();
        return true;
    }
    emit systemMessage(QStringLiteral("Connect Telnet for SNR Target adjustment."));
    m_connectedHere = true;
    m_waitingForConnect = true;
    if (!m_session.isConnecting())
        m_session.btnConnectClick(TelnetSender::Window);
    // A connect that could not even start (telnet off) ends at once.
    if (!m_session.isConnecting() && !m_session.isConnected())
        onConnectFinished(false);
    return true;
}

void TargetMarginChange::onConnectFinished(bool connected)
{
    if (!m_waitingForConnect)
        return;
    m_waitingForConnect = false;
    if (!connected || !m_session.isConnected()) {
        emit systemMessage(QStringLiteral("SNR Target not adjusted: the telnet session is not connected."));
        m_busy = false;
        emit finished(false, m_margin);
        return;
    }
    send();
}

void TargetMarginChange::send()
{
    m_session.SendText(m_margin.command());
    emit systemMessage(m_margin.adjustedMessage());
    // The session is closed again only once the router has answered with its prompt.
    m_waitConnection = connect(&m_session, &TelnetSession::terminalAppended, this, &TargetMarginChange::onTerminal);
    m_promptWait.start();
}

void TargetMarginChange::onTerminal()
{
    if (m_session.terminal().endsAtPrompt(m_prompt))
        done();
}

void TargetMarginChange::done()
{
    if (!m_busy)
        return;
    m_promptWait.stop();
    disconnect(m_waitConnection);
    if (m_connectedHere && m_session.isConnected())
        m_session.btnDisConnect1Click();
    m_busy = false;
    emit finished(true, m_margin);
}
