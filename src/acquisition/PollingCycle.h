#pragma once
// One polling cycle: the fixed order of a poll's steps with all its early
// exits. The cycle runs as a state machine on the window thread; the status
// page fetch and other network steps do not block it, and a tick that comes
// while a cycle is under way is skipped.
#include "acquisition/PollingCycleHost.h"
#include "acquisition/RunState.h"
#include "acquisition/StatusPageFetch.h"
#include "settings/TSettings.h"

#include <QObject>

class PollingCycle : public QObject {
    Q_OBJECT
public:
    PollingCycle(const TSettings &settings, RunState &state, RouterHttpClient &client, PollingCycleHost &host,
                 QObject *parent = nullptr);

    // Starts a cycle; false (and nothing done) when one is still under way.
    bool start(bool firstCycle);
    // Abandons the cycle under way; finished() is not emitted for it.
    void cancel();
    bool isBusy() const { return m_busy; }

    // The fetch attempts' transfer bound: the sample interval, at most 15 s.
    static int transferTimeoutMs(int sampleSeconds);

signals:
    void finished();
    // The status page of this poll came (answered) or did not, and why not.
    void pageAnswered();
    void pageFailed(const QString &why);

private:
    void afterFetch(const QByteArray &page, bool noAnswer);
    void afterWanAddress();
    void afterDg834();
    void fromCounting();
    void afterPing();
    void afterConnection();
    void end();
    PollingCycleHost::Next guarded(void (PollingCycle::*step)());

    const TSettings &m_settings;
    RunState &m_state;
    PollingCycleHost &m_host;
    StatusPageFetch m_fetch;

    bool m_busy = false;
    bool m_firstCycle = false;
    bool m_noAnswer = false;
    TColor m_colour = 0;
    quint64 m_generation = 0;
    QString m_page;
};
