#pragma once
// Changes the router's target noise margin over the general telnet session:
// connects first when the session is down (and disconnects again after),
// sends "adslctl configure --snr v", waits for the prompt (bounded) and tells
// the window whether the command went out.
#include "acquisition/TerminalCommands.h"

#include <QObject>
#include <QTimer>

class TelnetSession;

class TargetMarginChange : public QObject {
    Q_OBJECT
public:
    static constexpr int kPromptWaitMs = 5000;

    TargetMarginChange(TelnetSession &session, QObject *parent = nullptr);

    // False (and nothing done) while a change is under way.
    bool start(const terminalcommands::TargetMargin &margin, const QString &prompt);
    bool isBusy() const { return m_busy; }
    void setPromptWaitMs(int ms) { m_promptWait.setInterval(ms); }

signals:
    void systemMessage(const QString &text);
    // sent: the command went out over a connected session.
    void finished(bool sent, const terminalcommands::TargetMargin &margin);

private:
    void onConnectFinished(bool connected);
    void send();
    void onTerminal();
    void done();

    TelnetSession &m_session;
    terminalcommands::TargetMargin m_margin;
    QString m_prompt;
    QTimer m_promptWait;
    QMetaObject::Connection m_waitConnection;
    bool m_busy = false;
    bool m_connectedHere = false;
    bool m_waitingForConnect = false;
};
