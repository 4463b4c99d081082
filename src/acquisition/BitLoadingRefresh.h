#pragma once
// The bit-loading refresh of the telnet families (tmrRefreshBitsEvery and
// btnBitsRefreshClick): at a user-set interval, or on demand, the bit
// loading and SNR per tone are asked for over the general telnet session.
// The replies come back through the session's data handler and the
// parsers; this class only paces and sends. With the SpeedTouch 585 profile
// the same timer drives that router's own session instead.
//
// Everything runs on the owner's thread; nothing here waits.
#include "acquisition/BitsRefreshState.h"
#include "settings/TSettings.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class TelnetSession;

// Who asked for a refresh: the button always sends; the others give way to
// a statistics reply that is still awaited.
enum class BitsSender { RefreshButton, Window, ShowAttenuation };

class BitLoadingRefresh : public QObject {
    Q_OBJECT
public:
    // The refresh interval is 1.1 s per second set.
    static constexpr int kMsPerSecondSet = 1100;
    // The SNR axis follows its mode a moment after the commands went out.
    static constexpr int kAxisDelayMs = 500;

    BitLoadingRefresh(TSettings &settings, TelnetSession &session, BitsRefreshState &state,
                      QObject *parent = nullptr);

    // True while the window is hidden in the tray (the skip of cbDontRefreshWhenMin).
    void setHiddenInTray(std::function<bool()> hidden) { m_hiddenInTray = std::move(hidden); }

    // One request (btnBitsRefreshClick).
    void btnBitsRefreshClick(BitsSender sender);
    // tmrRefreshBitsEveryTimer: the 585 session's refresh, or a request.
    void tmrRefreshBitsEveryTimer();
    // The statistics request's point (refresh step 8): a due request rides on it.
    void statisticsRequested();

    // spRefreshBitsEveryChange: interval, timer, page length and their captions.
    void spRefreshBitsEveryChange(bool running);
    // cbBitsRefreshClick: the timer and BitsDue only.
    void cbBitsRefreshClick(bool running);
    // Start-up: the timer's interval (off), the page length.
    void startup();
    // Run: counters zeroed, the 585 or telnet timer armed, BitsDue set.
    void runArm();
    // Stop: the timer off.
    void stop();
    // The 585 page's Connect and interval controls.
    void setThomsonTimer(bool on, int intervalMs);

    // The page length measured afresh, with its captions and Chart22's page.
    void applyPage();
    // The page length of the bitswap chart in refreshes.
    int BitsPageMinutes() const { return m_pageMinutes; }
    bool BitsDue() const { return m_due; }
    void setBitsDue(bool due) { m_due = due; }
    // Set by the ADSL mode choice: the next request clears the tone series.
    void setBitsChartsReset() { m_chartsReset = true; }
    bool BitsChartsReset() const { return m_chartsReset; }
    const QTimer &timer() const { return m_timer; }
    BitsRefreshState &state() { return m_state; }

    // Label81: "(" minutes " min : " seconds " sec)".
    static QString intervalText(int seconds);
    // Label75: "  (" H " hr : " M " min per page)" for the page in refreshes.
    static QString pageText(int seconds, int pageRefreshes);
    static int pageRefreshes(int sample, int points, int seconds, bool sameSamples);

signals:
    void refreshButtonEnabled(bool enabled);
    // The four tone series are to be emptied (a fresh picture is asked for).
    void toneSeriesCleared();
    // Label61, made visible.
    void lastUpdated(const QString &text);
    // Label81 and Label75.
    void pageCaptions(const QString &interval, const QString &page);
    // Chart22's page: bottom maximum := its minimum + refreshes.
    void pageLengthChanged(int refreshes);
    // mnuBitswapCapture and a full page: the window checks the cameras and
    // saves Chart22 in mode "Chart22" (which zeroes the count).
    void bitswapCaptureDue();
    // The SNR axis of Chart21 to be set for the present mode.
    void snrAxisDue();
    // A tick of the 585 profile.
    void thomsonRefreshDue();

private:
    // With bit-loading requests and auto refresh on: due at the next statistics
    // request, the timer at the set interval (running only while monitoring runs).
    bool armWhenAuto(bool running);

    TSettings &m_settings;
    TelnetSession &m_session;
    BitsRefreshState &m_state;
    QTimer m_timer;
    std::function<bool()> m_hiddenInTray;
    int m_pageMinutes = 0;
    bool m_due = false;
    bool m_chartsReset = false;
};
