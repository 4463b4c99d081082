#pragma once
// One ping per poll: the system ping (iputils) run as a child process without
// a shell, the host validated first, the extra options filtered, a deadline
// given to ping and a hard time-out of our own that kills it. The result
// carries the output for the data pane and the round-trip time to plot; the
// runner keeps the consecutive-loss count and signals the failure alarm.
#include "settings/TSettings.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <optional>

struct PingResult {
    QString host;
    QStringList output;   // the lines for Memo6 (ping's output and errors, or our refusal)
    bool replied = false; // an average time was found
    bool totalLoss = false; // "100% packet loss" in the output
    bool killed = false;  // our time-out ended it
    bool refused = false; // nothing ran: no host, or one that is not a host; nothing to plot
    double value = 1000;  // ms; 1000 when there was no reply
    int PingMs = 1000;    // value rounded
};
Q_DECLARE_METATYPE(PingResult)

class PingRunner : public QObject {
    Q_OBJECT
public:
    explicit PingRunner(QObject *parent = nullptr);
    ~PingRunner() override;

    // An IPv4 or IPv6 literal, or a host name of letters, digits, dots and
    // hyphens whose labels neither start nor end with a hyphen.
    static bool validHost(const QString &host);
    // [Ping] OtherPingParams split on blanks; nullopt when any word is unsafe.
    static std::optional<QStringList> safeOptions(const QString &text);
    // The numeric, counted, deadline-bound argument list.
    static QStringList arguments(int count, const QStringList &options, const QString &host);
    // Seconds given to ping's -w for this count.
    static int deadlineSeconds(int count) { return count + 2; }
    // The time and loss read from ping's output (iputils "rtt min/avg/max/mdev",
    // busybox "round-trip min/avg/max").
    static PingResult parseOutput(const QStringList &lines);
    // The alarm kind of a failed host.
    static QString alarmText(const QString &host) { return QStringLiteral("Ping ") + host + QStringLiteral("Failed."); }

    // Starts one ping with the [Ping] settings. False when nothing was started:
    // a ping is still running (this poll is skipped), or the host was refused
    // (finished() is still emitted with the refusal in its output). A refused
    // host, like ignored options, is a settings fault: said once, not at every poll.
    bool PingNow(const TSettings &settings);
    bool busy() const { return m_process != nullptr; }

    // A poll's outcome for the failure alarm; alarmOn is [Ping] PingAlarm while
    // the ping box is checked and the ping tab shown. Emits alarmTriggered.
    void countLoss(bool lost, bool alarmOn, int times, const QString &host);

    // The latest time measured; none while the host is not set or refused (nothing ran).
    std::optional<int> PingMs() const { return m_pingMs; }
    int PingFailCount() const { return m_failCount; }

    // Test hooks: the program run instead of ping, and our hard time-out.
    void setProgram(const QString &program) { m_program = program; }
    void setHardTimeoutMs(int ms) { m_hardTimeoutMs = ms; }

signals:
    // Memo6 is cleared at the start of a ping.
    void outputCleared();
    // The ping ended (or was refused); the window shows output in Memo6 and plots value.
    void finished(const PingResult &result);
    void systemMessage(const QString &text);
    // The window passes the kind to AlarmTriggered.
    void alarmTriggered(const QString &kind);

private:
    void onFinished();
    void finish(PingResult result);

    QString m_program = QStringLiteral("ping");
    int m_hardTimeoutMs = -1; // -1: ping's own deadline plus a margin
    QProcess *m_process = nullptr;
    QTimer m_timer;
    QByteArray m_buffer;
    QString m_host;
    // The settings faults already said, so each is said once until it changes.
    std::optional<QString> m_refusedSaid;
    std::optional<QString> m_optionsSaid;
    bool m_killed = false;
    bool m_alarmOn = false;
    int m_alarmTimes = 3;
    std::optional<int> m_pingMs;
    int m_failCount = 0;
};
