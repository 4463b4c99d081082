#pragma once
// Sends telnet scripts: the commands of a script file, one every 250 ms,
// over the general session (with the router shell's leading blank) and over
// the SpeedTouch 585 session (which answers each line with its prompt before
// the next goes). One script at a time; the wait between lines is a timer,
// so the window and the polling go on meanwhile.
#include <QObject>
#include <QStringList>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

class TelnetSession;

class TelnetScriptRunner : public QObject {
    Q_OBJECT
public:
    static constexpr int kLineIntervalMs = 250;
    // A script is a few lines typed by hand; anything far larger is not one.
    static constexpr qint64 kMaxScriptBytes = 1024 * 1024;
    // Sends one line over the SpeedTouch 585 session and calls done with what
    // the router sent up to its prompt once that came back (or the wait for
    // it ended). False when the session cannot take a line now (not logged
    // in, or busy refreshing).
    using LineSender = std::function<bool(const QString &line, std::function<void(const QString &reply)> done)>;

    // Milliseconds on a clock that never goes back.
    using MonotonicClock = std::function<qint64()>;

    explicit TelnetScriptRunner(QObject *parent = nullptr);

    // The clock the gap between lines is measured on (tests move one by hand).
    void setMonotonicClock(MonotonicClock clock) { m_now = std::move(clock); }
    // The wait before the next line; its timeout sends it once the gap has passed.
    QTimer &lineGap() { return m_gap; }

    void setGeneralSession(TelnetSession *session) { m_general = session; }
    void setSpeedTouchSender(LineSender sender) { m_speedTouch = std::move(sender); }

    // SendScript: reads the file and sends its commands over the sessions of
    // the router family (the general session when telnet is on, the 585's
    // when the router is one; both when both are set).
    // False when nothing is sent: the file cannot be read, a script is still
    // running, or no session fits; the reason goes to systemMessage().
    bool SendScript(const QString &fileName, bool generalTelnet, bool speedTouch);
    // The same for commands already read (the script viewer's "Execute").
    bool sendCommands(const QStringList &commands, bool generalTelnet, bool speedTouch);

private:
    bool start(const QStringList &commands, bool generalTelnet, bool speedTouch, bool showReplies);

public:
    bool isBusy() const { return m_index >= 0; }
    // Drops the rest of the script under way (Stop, close).
    void cancel();

signals:
    void systemMessage(const QString &text);
    // For the 585 terminal pane: the router's reply to each line of a script
    // file, or each command line of the script viewer.
    void speedTouchLineSent(const QString &text);
    void finished();

private:
    void sendNext();
    void lineDone();

    TelnetSession *m_general = nullptr;
    LineSender m_speedTouch;
    QStringList m_commands;
    int m_index = -1;
    bool m_viaGeneral = false;
    bool m_viaSpeedTouch = false;
    bool m_showReplies = false; // the pane gets the replies (a script file), else the commands
    QElapsedTimer m_steady;
    MonotonicClock m_now;
    qint64 m_lastSendMs = -1;   // the gap is measured from the last line sent
    quint64 m_generation = 0;
    QTimer m_gap;
};
