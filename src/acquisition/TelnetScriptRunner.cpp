#include "acquisition/TelnetScriptRunner.h"

#include "acquisition/TelnetSession.h"
#include "acquisition/TerminalCommands.h"

#include <QFile>

TelnetScriptRunner::TelnetScriptRunner(QObject *parent) : QObject(parent)
{
    m_gap.setSingleShot(true);
    m_gap.setInterval(kLineIntervalMs);
    connect(&m_gap, &QTimer::timeout, this, &TelnetScriptRunner::sendNext);
}

bool TelnetScriptRunner::SendScript(const QString &fileName, bool generalTelnet, bool speedTouch)
{
    QFile file(fileName);
    if (fileName.trimmed().isEmpty() || !file.open(QIODevice::ReadOnly)) {
        emit systemMessage(QStringLiteral("Telnet script not sent: cannot read \"%1\" (%2)")
                               .arg(fileName, fileName.trimmed().isEmpty() ? QStringLiteral("no file name")
                                                                           : file.errorString()));
        return false;
    }
    // Script files are plain text; one byte is one character, as the router reads it.
    return sendCommands(terminalcommands::scriptCommands(QString::fromLatin1(file.readAll())), generalTelnet,
                        speedTouch);
}

bool TelnetScriptRunner::sendCommands(const QStringList &commands, bool generalTelnet, bool speedTouch)
{
    if (isBusy()) {
        emit systemMessage(QStringLiteral("Telnet script not sent: another script is still being sent."));
        return false;
    }
    if (generalTelnet && m_general) {
        m_viaSpeedTouch = false;
    } else if (speedTouch && m_speedTouch) {
        m_viaSpeedTouch = true;
    } else {
        emit systemMessage(QStringLiteral("Telnet script not sent: no telnet session for this router."));
        return false;
    }
    m_commands = commands;
    m_index = 0;
    ++m_generation;
    sendNext();
    return true;
}

void TelnetScriptRunner::cancel()
{
    ++m_generation;
    m_gap.stop();
    m_index = -1;
    m_commands.clear();
}

void TelnetScriptRunner::sendNext()
{
    if (m_index < 0)
        return;
    if (m_index >= m_commands.size()) {
        m_index = -1;
        m_commands.clear();
        emit finished();
        return;
    }
    const QString line = m_commands.at(m_index++);
    if (!m_viaSpeedTouch) {
        // A line sent while the session is down is dropped, as typed commands are.
        m_general->SendText(QLatin1Char(' ') + line);
        lineDone();
        return;
    }
    const quint64 generation = m_generation;
    emit speedTouchLineSent(line);
    const bool taken = m_speedTouch(line, [this, generation] {
        if (generation == m_generation)
            lineDone();
    });
    if (!taken) {
        emit systemMessage(QStringLiteral("Telnet script stopped: the SpeedTouch session is not ready."));
        cancel();
        emit finished();
    }
}

void TelnetScriptRunner::lineDone()
{
    if (m_index >= 0)
        m_gap.start();
}
