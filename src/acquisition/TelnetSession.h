#pragma once
// The general telnet session to the router (IdTelnet1 and its handlers):
// connect and log in, send the statistics commands of the selected firmware
// families, collect what the router prints in the terminal buffer and hand
// the text on when a reply has ended at the prompt; the "debug off" timer
// that ends the router's debug telnet daemon after inactivity; disconnect.
//
// Everything is asynchronous on the owner's thread: the debug page, the
// connect and the log-in waits are timers and callbacks, each bounded, and
// the window stays responsive throughout. The parsers are not here: the
// complete reply goes out through replyComplete() with the request flags
// left for them to read and clear.
#include "acquisition/TelnetClient.h"
#include "acquisition/TelnetTypes.h"
#include "acquisition/TerminalBuffer.h"
#include "settings/TSettings.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class RouterHttpClient;
struct HttpResult;

class TelnetSession : public QObject {
    Q_OBJECT
public:
    static constexpr int kPathAConnectTimeoutMs = 2000; // after the debug page
    static constexpr int kPathBConnectTimeoutMs = 2500; // with a log-in
    static constexpr int kPromptTimeoutMs = 5000;       // for "word:"
    // For the process listing when the program closes: a router lists its
    // processes well within it, and a flooding one cannot hold up the end.
    static constexpr int kCloseWaitMs = 1500;

    TelnetSession(TSettings &settings, RouterHttpClient &http, QObject *parent = nullptr);
    ~TelnetSession() override;

    // The Run button is down (monitoring runs).
    void setRunning(bool running);
    // Memo1's enabled state as Run and the window set it.
    void setMemo1Enabled(bool enabled);
    // Tests shorten the bound on the password prompt.
    void setPromptTimeoutMs(int ms) { m_promptTimeoutMs = ms; }

    // btnConnectClick: connect and log in (asynchronously; connectFinished()
    // tells the end). Does nothing while [Router] Telnet is off, while
    // connected, or while a connect is already under way.
    void btnConnectClick(TelnetSender sender);
    // btnRefreshClick: the statistics commands of every selected family.
    void btnRefreshClick();
    // btnStats1Click; fromStatsButton is Sender == btnStats1 (Memo1 is then kept).
    void btnStats1Click(bool fromStatsButton);
    // btnDisConnect1Click (btnDisconnect and btnDisConnect1).
    void btnDisConnect1Click();
    // The characters of the text, then one CR; nothing when not connected.
    void SendText(const QString &text);
    // The polling cycle's telnet step: connect when Run is down and the
    // session is not connected, then the refresh (after the connect ends).
    void pollStep();
    // Step 5 of the bit-loading refresh: the bit-loading commands of the
    // selected families; each family that sends sets BitsReplyExpected.
    void sendBitLoadingCommands(bool bitsChecked, bool showAttenuation);
    // Whether sendBitLoadingCommands would send anything now: the session is
    // up, bit loading is asked for and a family with bit-loading commands is selected.
    bool bitLoadingCommandsWouldGo(bool bitsChecked) const;
    // btnSNR: the SNR table of the selected families into the terminal, for
    // reading; the parsers are not asked to plot it.
    void sendSnrTable();
    // Memo1Change (and showing the terminal tab): re-arms the debug-off timer.
    void Memo1Change();
    // Timer3Timer: the debug-off timer fired; sends "ps -x" as a debug check.
    void Timer3Timer();
    // Closing the program: the debug check ("ps -x", then the kill of the
    // router's telnet daemon) goes first, then the session ends. The wait
    // for the listing is bounded by waitMs; done runs once, on this thread.
    void closeSession(int waitMs, std::function<void()> done);

    // The terminal pane's text, as the parsers read it.
    const TerminalBuffer &terminal() const { return m_terminal; }
    QString terminalText() const { return m_terminal.text(); }
    void clearTerminal();
    // A line of its own in the terminal (what the program writes there itself).
    void addTerminalLine(const QString &line);

    bool isConnected() const { return m_client.isConnected(); }
    // A connect (debug page, TCP connect or log-in) is under way.
    bool isConnecting() const { return m_connecting; }
    TelnetRequestFlags &flags() { return m_flags; }
    const TelnetControls &controls() const { return m_controls; }
    bool debugOffTimerActive() const { return m_timer3.isActive(); }
    int debugOffTimerInterval() const { return m_timer3.interval(); }

    // The telnet daemon's PID from a process listing: the five characters
    // that start 26 before "/usr/sbin/utelnetd -d", trimmed, when they are
    // all digits and are the first word of the daemon's line; else empty.
    static QString daemonPid(const QString &listing);

signals:
    // For the terminal pane: text to append ("\n" starts a new line).
    void terminalAppended(const QString &text);
    void terminalCleared();
    // The reply ended at the prompt with more than 10 lines in the terminal.
    void replyComplete(const TelnetReply &reply);
    // A chunk left the terminal short of a complete reply: TelnetNoiseNow
    // falls back to LastGoodTelnetNoise.
    void replyIncomplete();
    // Memo2 and Memo3 are to be cleared, and Memo4 when includingMemo4.
    void statsPanesCleared(bool includingMemo4);
    void systemMessage(const QString &text);
    void messageBox(const QString &text);
    void connectionChanged(bool connected);
    void controlsChanged(const TelnetControls &controls);
    // A connect ended, logged in or not; connected tells whether the
    // session is now up.
    void connectFinished(bool connected);
    // Step 8 of the refresh: when cbBitsRefresh is checked and BitsDue is
    // set, the window runs btnBitsRefreshClick and clears BitsDue.
    void bitsRefreshPoint();
    // The "adsl info" family's refresh checked cbExtended ([Telnet] Extended
    // is set): the window checks the box and disables it.
    void extendedForced();

private:
    void startDebugPage();
    void onDebugPage(const HttpResult &result);
    void startConnect();
    void onConnected();
    void onConnectFailed();
    void loginAfterFirstWait();
    void checkPasswordPrompt();
    void sendPassword();
    void loginDone();
    void finishConnect();
    void cancelConnect();
    void wait(int ms, void (TelnetSession::*next)());
    void onData(const QString &text);
    void onDisconnected();
    void replyCompleteStep();
    void debugOffStep(const QString &text);
    void finishClose();
    void setControls(const TelnetControls &controls);
    void showDisconnected();
    bool pathB() const;

    TSettings &m_settings;
    RouterHttpClient &m_http;
    TelnetClient m_client;
    TerminalBuffer m_terminal;
    TelnetRequestFlags m_flags;
    TelnetControls m_controls;
    QTimer m_timer3;
    QTimer m_waitTimer;
    QTimer m_closeTimer;
    std::function<void()> m_closeDone;
    void (TelnetSession::*m_waitNext)() = nullptr;
    bool m_running = false;
    bool m_connecting = false;
    bool m_refreshAfterConnect = false;
    bool m_waitingForPassword = false;
    TelnetSender m_sender = TelnetSender::Window;
    quint64 m_debugRequest = 0;
    quint64 m_generation = 0; // a new or cancelled connect makes older callbacks void
    bool m_debugPending = false;
    int m_promptTimeoutMs = kPromptTimeoutMs;
};
