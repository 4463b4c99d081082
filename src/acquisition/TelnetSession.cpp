#include "acquisition/TelnetSession.h"

#include "common/RouterAddress.h"
#include "acquisition/RouterHttpClient.h"

#include <QUrl>
#include <algorithm>

namespace {

const QString kDaemon = QStringLiteral("/usr/sbin/utelnetd -d");

bool allDigits(const QString &s)
{
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) { return c >= '0' && c <= '9'; });
}

} // namespace

TelnetSession::TelnetSession(TSettings &settings, RouterHttpClient &http, QObject *parent)
    : QObject(parent), m_settings(settings), m_http(http)
{
    m_timer3.setSingleShot(false);
    connect(&m_timer3, &QTimer::timeout, this, &TelnetSession::Timer3Timer);
    m_waitTimer.setSingleShot(true);
    connect(&m_waitTimer, &QTimer::timeout, this, [this] {
        const auto next = m_waitNext;
        m_waitNext = nullptr;
        if (next)
            (this->*next)();
    });
    m_closeTimer.setSingleShot(true);
    connect(&m_closeTimer, &QTimer::timeout, this, &TelnetSession::finishClose);
    connect(&m_client, &TelnetClient::connected, this, &TelnetSession::onConnected);
    connect(&m_client, &TelnetClient::connectFailed, this, &TelnetSession::onConnectFailed);
    connect(&m_client, &TelnetClient::dataReceived, this, &TelnetSession::onData);
    connect(&m_client, &TelnetClient::disconnected, this, &TelnetSession::onDisconnected);
    connect(&m_client, &TelnetClient::status, this,
            [this](const QString &text) { emit systemMessage(QStringLiteral("Telnet: ") + text); });
    connect(&m_client, &TelnetClient::dropped, this,
            [this](const QString &why) { emit systemMessage(QStringLiteral("Telnet: ") + why); });
}

TelnetSession::~TelnetSession()
{
    if (m_debugPending)
        m_http.cancel(m_debugRequest);
    m_client.disconnect(this);
}

void TelnetSession::setRunning(bool running)
{
    m_running = running;
    TelnetControls c = m_controls;
    if (running) {
        // Monitoring owns the session: no disconnect by hand, the panes show its figures.
        c.btnDisconnect = false;
        c.statsPanes = true;
        c.Memo1 = m_settings.Router.Telnet;
    } else if (m_client.isConnected()) {
        c.btnDisconnect = true;
    }
    setControls(c);
}

void TelnetSession::setMemo1Enabled(bool enabled)
{
    TelnetControls c = m_controls;
    c.Memo1 = enabled;
    setControls(c);
}

void TelnetSession::setControls(const TelnetControls &controls)
{
    if (controls == m_controls)
        return;
    m_controls = controls;
    emit controlsChanged(m_controls);
}

bool TelnetSession::pathB() const
{
    return m_settings.Telnet.IsDGTeam || m_settings.Telnet.LoginTelnet;
}

// ---- terminal ----------------------------------------------------------------

void TelnetSession::clearTerminal()
{
    m_terminal.clear();
    emit terminalCleared();
    Memo1Change();
}

void TelnetSession::addTerminalLine(const QString &line)
{
    emit terminalAppended(m_terminal.addLine(line));
    Memo1Change();
}

void TelnetSession::Memo1Change()
{
    m_timer3.stop();
    m_timer3.setInterval(m_settings.Telnet.Timer * 60000);
    if (m_settings.Telnet.Auto && !m_running)
        m_timer3.start();
}

void TelnetSession::Timer3Timer()
{
    m_timer3.stop();
    m_flags.DebugCheckPending = true;
    SendText(QStringLiteral("ps -x"));
}

void TelnetSession::closeSession(int waitMs, std::function<void()> done)
{
    if (!m_client.isConnected()) {
        cancelConnect();
        done();
        return;
    }
    Timer3Timer();
    m_closeDone = std::move(done);
    // Only the AR7 and adslctl families read the listing; the others end at once.
    if (!m_settings.Telnet.V123 && !m_settings.Telnet.V4) {
        finishClose();
        return;
    }
    m_closeTimer.start(waitMs);
}

void TelnetSession::finishClose()
{
    m_closeTimer.stop();
    if (!m_closeDone)
        return;
    const std::function<void()> done = std::move(m_closeDone);
    m_closeDone = nullptr;
    if (m_client.isConnected())
        btnDisConnect1Click();
    done();
}

// ---- sending -------------------------------------------------------------------

void TelnetSession::SendText(const QString &text)
{
    if (!m_client.isConnected())
        return;
    // One byte per character, as the router reads it; CR only, no LF.
    m_client.send(text.toLatin1() + '\r');
}

void TelnetSession::btnRefreshClick()
{
    TelnetControls c = m_controls;
    c.btnRefresh = false;
    setControls(c);
    m_flags.StatsRequested = true;
    emit statsPanesCleared(!m_flags.ExtendedRequested);
    if (m_controls.Memo1)
        clearTerminal();

    if (m_settings.Telnet.V123)
        SendText(QStringLiteral("cat /proc/avalanche/avsar_modem_stats"));
    if (m_settings.Telnet.V4)
        SendText(m_settings.Telnet.TelnetCmd);
    if (m_settings.Router.V5Telnet) {
        SendText(QStringLiteral("adsl info"));
        // This family always lists the interfaces: cbExtended checked and disabled.
        m_settings.Telnet.Extended = true;
        emit extendedForced();
        SendText(QStringLiteral("adsl perf"));
        SendText(QStringLiteral("adsl defects"));
    }
    if (m_settings.Telnet.Extended) {
        m_flags.ExtendedRequested = true;
        SendText(QStringLiteral(" ifconfig"));
    } else {
        m_flags.ExtendedRequested = false;
    }
    emit bitsRefreshPoint();

    c = m_controls;
    c.btnRefresh = true;
    setControls(c);
}

void TelnetSession::btnStats1Click(bool fromStatsButton)
{
    m_flags.StatsRequested = true;
    emit statsPanesCleared(!m_flags.ExtendedRequested);
    if (m_controls.Memo1 && !fromStatsButton)
        clearTerminal();
    if (m_settings.Telnet.V123)
        SendText(QStringLiteral("cat /proc/avalanche/avsar_modem_stats"));
    if (m_settings.Telnet.V4)
        SendText(m_settings.Telnet.TelnetCmd);
    if (m_settings.Router.V5Telnet)
        SendText(QStringLiteral("adsl info"));
}

void TelnetSession::sendBitLoadingCommands(bool bitsChecked, bool showAttenuation)
{
    if (!bitsChecked)
        return;
    if (m_settings.Telnet.V4) {
        const QString tool = m_settings.Telnet.TelnetCmd.contains(QLatin1String("adslctl")) ? QStringLiteral("adslctl")
                                                                                           : QStringLiteral("adsl");
        SendText(tool + QStringLiteral(" info --SNR"));
        SendText(tool + QStringLiteral(" info --Bits"));
        if (showAttenuation)
            SendText(tool + QStringLiteral(" info --Hlog"));
        m_flags.BitsReplyExpected = true;
    }
    if (m_settings.Telnet.V123) {
        SendText(QStringLiteral("cat /proc/avalanche/avsar_bit_allocation_table"));
        SendText(QStringLiteral("cat /proc/avalanche/avsar_rxsnr0"));
        m_flags.BitsReplyExpected = true;
    }
}

bool TelnetSession::bitLoadingCommandsWouldGo(bool bitsChecked) const
{
    return isConnected() && bitsChecked && (m_settings.Telnet.V4 || m_settings.Telnet.V123);
}

void TelnetSession::sendSnrTable()
{
    if (m_settings.Telnet.V4)
        SendText(m_settings.Telnet.TelnetCmd.contains(QLatin1String("adslctl")) ? QStringLiteral("adslctl info --SNR")
                                                                              : QStringLiteral("adsl info --SNR"));
    if (m_settings.Telnet.V123)
        SendText(QStringLiteral("cat /proc/avalanche/avsar_rxsnr0"));
}

void TelnetSession::pollStep()
{
    if (!m_settings.Router.Telnet)
        return;
    if (m_connecting) {
        // The refresh follows the connect under way.
        m_refreshAfterConnect = true;
        return;
    }
    if (m_running && !m_client.isConnected()) {
        m_refreshAfterConnect = true;
        btnConnectClick(TelnetSender::PollingCycle);
        if (m_connecting)
            return;
        m_refreshAfterConnect = false;
    }
    btnRefreshClick();
}

// ---- connect -------------------------------------------------------------------

void TelnetSession::btnConnectClick(TelnetSender sender)
{
    if (!m_settings.Router.Telnet)
        return;
    if (m_client.isConnected()) {
        TelnetControls c = m_controls;
        c.btnConnect = false;
        setControls(c);
        return;
    }
    if (m_connecting)
        return;

    TelnetControls c = m_controls;
    c.Memo1 = true;
    setControls(c);
    clearTerminal();
    QString &ip = m_settings.Telnet.TelnetIP;
    if (ip.isEmpty())
        ip = GetMainIPAddress(m_settings.Router.Login);
    const bool valid = isDottedIPv4(ip);
    c = m_controls;
    c.btnConnect = valid;
    setControls(c);
    if (!valid) {
        emit messageBox(QStringLiteral("The Telnet IP address is not correct. (") + ip
                        + QStringLiteral(") Unable to connect"));
        m_refreshAfterConnect = false;
        return;
    }

    m_sender = sender;
    m_connecting = true;
    ++m_generation;
    if (!pathB() || m_settings.Telnet.UseHttpDebug)
        startDebugPage();
    else
        startConnect();
}

void TelnetSession::startDebugPage()
{
    const QString ip = m_settings.Telnet.TelnetIP;
    const QString login = m_settings.Router.Login;
    // The router named by the login URL keeps that URL's port.
    const bool routerHost = GetMainIPAddress(login) == ip;
    const QUrl url(QStringLiteral("http://") + (routerHost ? routerAuthority(login) : ip)
                   + m_settings.Telnet.TelnetDebugCommand);
    const quint64 generation = m_generation;
    if (url.host() != ip) {
        // A command text that names another host is not fetched at all.
        HttpResult refused;
        refused.errorText = QStringLiteral("debug URL names another host");
        QTimer::singleShot(0, this, [this, refused, generation] {
            if (generation == m_generation)
                onDebugPage(refused);
        });
        return;
    }
    std::optional<HttpCredentials> credentials;
    // The status page's credentials go to the router's own address only.
    if (m_settings.Router.cbLogin && routerHost)
        credentials = HttpCredentials{m_settings.Router.UsernameNotRequired ? QString() : m_settings.Router.Username,
                                      m_settings.Router.Password};
    const int transferMs = std::min(m_settings.System.Sample * 1000, RouterHttpClient::kMaxTransferTimeoutMs);
    m_debugPending = true;
    m_debugRequest = m_http.get(url, credentials, transferMs, [this, generation](const HttpResult &r) {
        if (generation != m_generation)
            return;
        m_debugPending = false;
        onDebugPage(r);
    });
}

void TelnetSession::onDebugPage(const HttpResult &result)
{
    if (result.cancelled || !m_connecting)
        return;
    if (pathB()) {
        // With a log-in the debug page is only a help; its failures are silent.
        startConnect();
        return;
    }
    if (!result.ok) {
        if (result.authRejected)
            emit systemMessage(QStringLiteral("HTTP  Login error"));
        emit systemMessage(QStringLiteral("Unable to set telnet debug mode."));
    }
    if (!result.ok || result.body.isEmpty()) {
        if (m_sender == TelnetSender::RunButton)
            emit messageBox(QStringLiteral("Unable to start Telnet connection.\r\n\r\nPlease check the URL and login "
                                           "are correct."));
        finishConnect();
        return;
    }
    clearTerminal();
    startConnect();
}

void TelnetSession::startConnect()
{
    const int port = std::clamp(m_settings.Telnet.TelnetPort, 1, 65535);
    m_client.connectToHost(m_settings.Telnet.TelnetIP, static_cast<quint16>(port),
                           pathB() ? kPathBConnectTimeoutMs : kPathAConnectTimeoutMs);
}

void TelnetSession::onConnectFailed()
{
    if (!m_connecting)
        return;
    if (!pathB()) {
        if (m_sender == TelnetSender::ConnectButton)
            emit messageBox(QStringLiteral("Telnet failed with IP address: ") + m_settings.Telnet.TelnetIP);
        finishConnect();
        return;
    }
    // With a log-in a failed connect is not reported; the log-in finds
    // nothing to talk to.
    loginDone();
}

void TelnetSession::onConnected()
{
    emit connectionChanged(true);
    if (!m_connecting)
        return;
    if (!pathB()) {
        // The debug daemon asks for no log-in.
        finishConnect();
        return;
    }
    if (m_settings.Telnet.WaitForPassword)
        loginAfterFirstWait();
    else
        wait(m_settings.Telnet.DGTeamTimeout, &TelnetSession::loginAfterFirstWait);
}

void TelnetSession::wait(int ms, void (TelnetSession::*next)())
{
    m_waitNext = next;
    m_waitTimer.start(std::max(0, ms));
}

void TelnetSession::loginAfterFirstWait()
{
    if (!m_settings.Telnet.TelnetUsername.isEmpty())
        SendText(m_settings.Telnet.TelnetUsername);
    if (m_settings.Telnet.WaitForPassword) {
        // Bounded: a router that never asks for the password is left alone
        // rather than have the password typed into whatever it shows.
        m_waitingForPassword = true;
        wait(m_promptTimeoutMs, &TelnetSession::loginDone);
        checkPasswordPrompt();
        return;
    }
    wait(m_settings.Telnet.DGTeamTimeout, &TelnetSession::sendPassword);
}

void TelnetSession::checkPasswordPrompt()
{
    if (!m_waitingForPassword)
        return;
    QString last = m_terminal.lastLine();
    while (!last.isEmpty() && last.back().unicode() <= ' ')
        last.chop(1);
    if (!last.endsWith(QLatin1String("word:")))
        return;
    m_waitingForPassword = false;
    wait(m_settings.Telnet.DGTeamTimeout, &TelnetSession::sendPassword);
}

void TelnetSession::sendPassword()
{
    addTerminalLine(QString());
    SendText(m_settings.Router.Password);
    loginDone();
}

void TelnetSession::loginDone()
{
    m_waitingForPassword = false;
    m_waitTimer.stop();
    m_waitNext = nullptr;
    if (m_settings.Telnet.IsDGTeam)
        emit systemMessage(QStringLiteral("DGTeam - telnet connect."));
    if (m_settings.Telnet.LoginTelnet)
        emit systemMessage(QStringLiteral("Telnet -  login."));
    finishConnect();
}

void TelnetSession::finishConnect()
{
    m_connecting = false;
    const bool connected = m_client.isConnected();
    const bool refresh = connected && (m_sender == TelnetSender::ConnectButton || m_sender == TelnetSender::RunButton);
    const bool pollRefresh = m_refreshAfterConnect;
    m_refreshAfterConnect = false;
    if (connected) {
        TelnetControls c = m_controls;
        c.btnRefresh = true;
        c.btnConnect = false;
        c.btnConnect1 = false;
        c.btnDisconnect = !m_running;
        c.btnBitsRefresh = true;
        c.Memo1 = true;
        c.statsPanes = true;
        c.commandButtons = true;
        c.toneButtons = !m_settings.Router.V5Telnet;
        c.btnResetStats = m_settings.Telnet.V4;
        c.cbShowAttenuation = m_settings.Telnet.V4;
        setControls(c);
        m_flags.DebugCheckPending = false;
        m_flags.StatsRequested = false;
        m_flags.ExtendedRequested = false;
    }
    emit connectFinished(connected);
    if (refresh || pollRefresh)
        btnRefreshClick();
}

void TelnetSession::cancelConnect()
{
    ++m_generation;
    m_waitTimer.stop();
    m_waitNext = nullptr;
    m_waitingForPassword = false;
    m_refreshAfterConnect = false;
    if (m_debugPending) {
        m_debugPending = false;
        m_http.cancel(m_debugRequest);
    }
    m_connecting = false;
}

// ---- disconnect ------------------------------------------------------------------

void TelnetSession::showDisconnected()
{
    TelnetControls c = m_controls;
    c.btnConnect = true;
    c.btnConnect1 = true;
    c.btnDisconnect = false;
    c.btnRefresh = false;
    c.commandButtons = false;
    c.toneButtons = false;
    setControls(c);
}

void TelnetSession::btnDisConnect1Click()
{
    const bool wasConnecting = m_connecting;
    cancelConnect();
    showDisconnected();
    m_client.disconnectFromHost();
    emit systemMessage(QStringLiteral("Telnet Disconnect."));
    if (wasConnecting)
        emit connectFinished(false);
}

void TelnetSession::onDisconnected()
{
    if (m_closeDone)
        QMetaObject::invokeMethod(this, &TelnetSession::finishClose, Qt::QueuedConnection);
    emit connectionChanged(false);
    // A session the router ended is shown as down, so Connect can be used.
    if (!m_connecting)
        showDisconnected();
}

// ---- received data ----------------------------------------------------------------

void TelnetSession::onData(const QString &text)
{
    if (!m_settings.Router.Telnet)
        return;
    const QString shown = m_terminal.append(text);
    if (!shown.isEmpty())
        emit terminalAppended(shown);
    if (m_terminal.lineTooLong()) {
        // A line without end is no reply of a router: the session goes.
        m_client.drop(QStringLiteral("Session dropped: a line longer than %1 characters.")
                          .arg(TerminalBuffer::kMaxLineChars));
        return;
    }
    Memo1Change();
    checkPasswordPrompt();
    if (m_terminal.endsAtPrompt(m_settings.Telnet.TelnetPrompt) && m_terminal.lineCount() > 10)
        replyCompleteStep();
    else
        emit replyIncomplete();
}

void TelnetSession::replyCompleteStep()
{
    QString text = m_terminal.text();
    const bool extended = m_settings.Telnet.Extended;
    const bool ar7 = m_settings.Telnet.V123
                     && (text.contains(QLatin1String("AR7 DSL Modem Rx SNR")) || !extended
                         || text.contains(QLatin1String("#  ifconfig")));
    const bool adslctl = m_settings.Telnet.V4;
    // The process listing is read by the AR7 and adslctl parsers only.
    if (m_flags.DebugCheckPending && (ar7 || adslctl)) {
        debugOffStep(text);
        text = m_terminal.text();
    }
    TelnetReply reply;
    reply.text = text;
    reply.runAr7 = ar7;
    reply.runAdslctl = adslctl;
    reply.runAdslInfo = m_settings.Router.V5Telnet;
    if (reply.runAr7 || reply.runAdslctl || reply.runAdslInfo)
        emit replyComplete(reply);
}

QString TelnetSession::daemonPid(const QString &listing)
{
    const qsizetype at = listing.indexOf(kDaemon);
    if (at < 26)
        return {};
    const qsizetype start = at - 26;
    const QString pid = TerminalBuffer::trimmed(listing.mid(start, 5));
    if (!allDigits(pid) || listing[start + 5] != QLatin1Char(' '))
        return {};
    // Only blanks between the start of the daemon's line and the number:
    // a longer or shifted field would give a wrong process to kill.
    qsizetype lineStart = listing.lastIndexOf(QLatin1Char('\n'), start);
    lineStart = lineStart < 0 ? 0 : lineStart + 1;
    const qsizetype cr = listing.lastIndexOf(QLatin1Char('\r'), start);
    if (cr >= lineStart)
        lineStart = cr + 1;
    for (qsizetype i = lineStart; i < start; ++i)
        if (listing[i] != QLatin1Char(' '))
            return {};
    return pid;
}

void TelnetSession::debugOffStep(const QString &text)
{
    m_flags.DebugCheckPending = false;
    // A close that waited for this listing goes on once the kill is sent.
    if (m_closeDone)
        QMetaObject::invokeMethod(this, &TelnetSession::finishClose, Qt::QueuedConnection);
    const QString pid = daemonPid(text);
    if (pid.isEmpty())
        return; // no daemon line, or no plain number on it: nothing is killed
    SendText(QStringLiteral(" "));
    SendText(QStringLiteral("kill ") + pid);
    addTerminalLine(QStringLiteral("# kill ") + pid);
    TelnetControls c = m_controls;
    c.btnConnectCaption = QStringLiteral("Connect");
    c.btnRefresh = false;
    c.btnResetStats = false;
    c.Memo1 = false;
    c.statsPanes = false;
    c.btnConnect = m_settings.Router.Telnet && !m_running;
    setControls(c);
    m_timer3.stop();
}
