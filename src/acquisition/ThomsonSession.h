#pragma once
// The SpeedTouch 585's own telnet session (ThomsonTelnet): log-in by the
// router's prompts, the bit table and line statistics of one refresh, the
// session time-out set once per program run and restored on close, a
// re-login after two hours of refreshes, and single command lines (the
// reboot). A second, separate session beside the general one.
//
// Asynchronous on the owner's thread: every wait on the router is bounded
// by the 2000 ms time-out. One exchange at a time: a refresh or a line asked
// for while another runs is refused (isBusy), so nothing ever interleaves
// on the socket.
#include "acquisition/TelnetClient.h"
#include "acquisition/TelnetFigures.h"
#include "acquisition/ThomsonParsers.h"
#include "settings/TSettings.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

// What one refresh brought.
struct ThomsonRefresh {
    bool tablesRead = false; // the bit table was complete and stored
    int swapTotal = 0;       // tones that changed (counted from the second refresh on)
    int upTones = 32;        // tones below it are upstream: 64 with Annex M as known when the refresh began
    thomson::Statistics statistics;
};

class ThomsonSession : public QObject {
    Q_OBJECT
public:
    static constexpr int kTimeoutMs = 2000;
    static constexpr int kReloginPauseMs = 300;
    // Far beyond the longest reply (the bit table): more unclaimed text
    // than this drops the session.
    static constexpr qsizetype kMaxBufferChars = 256 * 1024;

    ThomsonSession(TSettings &settings, TelnetFigures &figures, QObject *parent = nullptr);
    ~ThomsonSession() override;

    // Tests shorten the waits.
    void setTimeoutMs(int ms) { m_timeoutMs = ms; }

    // One refresh (ThomsonBitloading); false when another exchange is under way.
    bool ThomsonBitloading();
    // One command line ("\r\n" is added), logging in first when needed; done
    // gets what came back up to the prompt. False while another exchange runs.
    bool sendLine(const QString &line, std::function<void(const QString &reply)> done = {});
    // The close sequence's step: with the session up and restore set, the
    // time-out back to 120 (done gets the reply), then log out. Ends any
    // exchange under way first.
    void closeSession(bool restore, std::function<void(const QString &reply)> done);
    // Log out at once (Disconnect, Stop).
    void logout();

    bool isBusy() const { return m_busy; }
    bool ThomsonSessionUp() const { return m_up; }
    bool ThomsonTimeoutSent() const { return m_timeoutSent; }
    int ThomsonRefreshCount() const { return m_refreshCount; }
    // Received text not yet claimed by a wait.
    qsizetype bufferedChars() const { return m_buffer.size(); }

signals:
    void systemMessage(const QString &text);
    // Memo1: the bit table's pane text ("adsl debug bitloadinginfo", then the reply).
    void bitTableText(const QString &text);
    // memo5: what a command brought back (statistics, the time-out reply).
    void memo5Text(const QString &text);
    void refreshed(const ThomsonRefresh &result);
    // A refresh ended without reaching the router's prompt: nothing was plotted.
    void refreshFailed();
    void sessionChanged(bool up);

private:
    enum class Expect { None, Line, Until, Contains };
    using Reply = std::function<void(const QString &text, bool ok)>;

    void expect(Expect kind, const QString &text, Reply next);
    void deliver(bool ok);
    void send(const QString &text);
    void onData(const QString &text);
    void login(std::function<void()> next);
    void afterFirstLine(const QString &first, std::function<void()> next);
    void commands();
    void finish();
    void setUp(bool up);
    bool waitsForRequests() const { return m_settings._585Telnet.WaitForRequests; }

    TSettings &m_settings;
    TelnetFigures &m_figures;
    TelnetClient m_client;
    QTimer m_timeout;
    QString m_buffer;
    Expect m_expect = Expect::None;
    QString m_expectText;
    Reply m_next;
    std::function<void()> m_onConnect;
    quint64 m_generation = 0;
    int m_timeoutMs = kTimeoutMs;
    bool m_busy = false;
    bool m_up = false;
    bool m_timeoutSent = false;
    int m_refreshCount = 0;
    QString m_bitText;
};
