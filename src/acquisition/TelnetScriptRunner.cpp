#include "acquisition/TelnetScriptRunner.h"

#include "acquisition/TelnetSession.h"
#include "acquisition/TerminalCommands.h"

#include "common/RegularFile.h"

TelnetScriptRunner::TelnetScriptRunner(QObject *parent) : QObject(parent)
{
    m_steady.start();
    m_now = [this] { return m_steady.elapsed(); };
    m_gap.setSingleShot(true);
    // A coarse timer may fire a little early; the lines must be at least the interval apart.
    m_gap.setTimerType(Qt::PreciseTimer);
    m_gap.setInterval(kLineIntervalMs);
    connect(&m_gap, &QTimer::timeout, this, &TelnetScriptRunner::sendNext);
}

bool TelnetScriptRunner::SendScript(const QString &fileName, bool generalTelnet, bool speedTouch)
{
    QByteArray text;
    QString why = QStringLiteral("no file name");
    if (fileName.trimmed().isEmpty() || !RegularFile::readAll(fileName, kMaxScriptBytes, &text, &why)) {
        emit systemMessage(QStringLiteral("Telnet script not sent: cannot read \"%1\" (%2)").arg(fileName, why));
        return false;
    }
    // Script files are plain text; one byte is one character, as the router reads it.
    return start(terminalcommands::scriptCommands(QString::fromLatin1(text)), generalTelnet, speedTouch, true);
}

bool TelnetScriptRunner::sendCommands(const QStringList &commands, bool generalTelnet, bool speedTouch)
{
    return start(commands, generalTelnet, speedTouch, false);
}

bool TelnetScriptRunner::start(const QStringList &commands, bool generalTelnet, bool speedTouch, bool showReplies)
{
    if (isBusy()) {
        emit systemMessage(QStringLiteral("Telnet script not sent: another script is still being sent."));
        return false;
    }
    // Each line goes over every session the settings name: a SpeedTouch 585
    // with telnet also set gets it over both.
    m_viaGeneral = generalTelnet && m_general;
    m_viaSpeedTouch = speedTouch && m_speedTouch;
    if (!m_viaGeneral && !m_viaSpeedTouch) {
        emit systemMessage(QStringLiteral("Telnet script not sent: no telnet session for this router."));
        return false;
    }
    m_commands = commands;
    m_showReplies = showReplies;
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
    const qint64 since = m_now() - m_lastSendMs;
    if (m_lastSendMs >= 0 && since < kLineIntervalMs && m_index > 0) {
        m_gap.start(int(kLineIntervalMs - since));
        return;
    }
    if (m_index >= m_commands.size()) {
        m_index = -1;
        m_commands.clear();
        emit finished();
        return;
    }
    const QString line = m_commands.at(m_index++);
    m_lastSendMs = m_now();
    // A line sent while the general session is down is dropped, as typed commands are.
    if (m_viaGeneral)
        m_general->SendText(QLatin1Char(' ') + line);
    if (!m_viaSpeedTouch) {
        lineDone();
        return;
    }
    const quint64 generation = m_generation;
    if (!m_showReplies)
        emit speedTouchLineSent(line);
    const bool taken = m_speedTouch(line, [this, generation](const QString &reply) {
        if (generation != m_generation)
            return;
        if (m_showReplies)
            emit speedTouchLineSent(reply);
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
        m_gap.start(kLineIntervalMs);
}
