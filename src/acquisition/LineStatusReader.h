#pragma once
// The side results of a polling cycle: the router's WAN address (with the
// SpeedTouch 585 link page and its data counters), the line uptime and the
// connection state. The two page reads are asynchronous steps on the shared
// HTTP client; each results in what the main window must show, report and log.
//
// A page request's own failure is never reported: the page counts as empty.
// Each request is bounded by the client's connect time and min(Sample, 15 s).
// The reader must go before the client it was given.
#include "acquisition/LineStatusParsers.h"
#include "acquisition/RouterHttpClient.h"
#include "acquisition/RunState.h"
#include "settings/TSettings.h"

#include <QObject>
#include <QString>
#include <functional>

struct WanAddressResult {
    linestatus::PanelUpdate panel1; // the WAN address panel of the status bar
    QString wanIPAddress;           // WanIPAddress after the step (written to RunState too)
    QString lastWanIPAddress;       // LastWanIPAddress after the step
    // A changed address to announce: SystemMessage(ipChangedMessage) and SendEmail(emailText).
    bool ipChanged = false;
    QString ipChangedMessage; // "IP Changed to " + address
    QString emailText;        // "New IP Address: " + address
    // SpeedTouch 585: the link page was read and these are this poll's texts.
    bool st585 = false;
    QString thomsonDataUnit;
    QString thomsonDataSent;
    QString thomsonDataReceived;
};

struct ConnectionResult {
    bool checked = false;     // the step's conditions held and the page was asked for
    QString state;            // what the page showed: "Connected", "Disconnected" or "xxx"
    bool changed = false;     // ConnectionStatus takes connectionStatus
    QString connectionStatus; // ConnectionStatus after the step
    QString message;          // SystemMessage text when changed
    QString logText;          // "[" + state + "]" when changed
    bool raiseAlarm = false;  // AlarmKind := "Disconnected", then AlarmTriggered
    // WriteLogNow(logText) and then WriteLogNow(LogLine), unless a log trim is in progress.
    bool writeLog = false;
    QString caption;          // the window caption; empty when unchecked (leave it)
};

class LineStatusReader : public QObject {
    Q_OBJECT
public:
    using WanDone = std::function<void(const WanAddressResult &)>;
    using ConnectionDone = std::function<void(const ConnectionResult &)>;

    explicit LineStatusReader(RouterHttpClient &client, QObject *parent = nullptr);
    ~LineStatusReader() override;

    // The poll's address step: the WAN address page, or the SpeedTouch 585 link
    // page. sampleCount is the polls counted before this one; a change is
    // announced only above 3. Updates state.WanIPAddress, so state must outlive
    // the step. done runs once, later, unless cancelled.
    void readWanAddress(const TSettings &s, RunState &state, qint64 sampleCount, WanDone done);

    // The poll's connection step: the connection page of the DG834 family, when
    // the connection alarm ([Alarm] State, the cbState box) or connection logging
    // wants it. The outcome is judged against state as it is when the page
    // arrives. done runs once, later, unless cancelled.
    void readConnectionState(const TSettings &s, const RunState &state, ConnectionDone done);

    // The poll's uptime step: the uptime panel for this page.
    static linestatus::PanelUpdate uptime(const QString &page, const TSettings &s, bool bytesInterfaceFound);

    static QString caption(bool running, const QString &connectionStatus);

    // Stop: drops the outstanding requests; no callback comes afterwards.
    void cancel();
    bool isBusy() const { return m_wan.busy || m_connection.busy; }

    // The previous WAN address, kept across polls and runs (Run clears only WanIPAddress).
    QString lastWanIPAddress() const { return m_lastWanIPAddress; }

private:
    struct Slot {
        quint64 token = 0;
        quint64 requestId = 0;
        bool busy = false;
    };
    // GETs path on the router; an empty authority, a failure or a non-2xx answer
    // gives an empty page. onPage runs later, only while the slot's token holds.
    void fetch(Slot &slot, const QString &authority, const QString &path, const TSettings &s,
               std::function<void(const QString &)> onPage);
    // Runs then later, without a request, only while the slot's token holds.
    void defer(Slot &slot, std::function<void()> then);
    quint64 restart(Slot &slot);
    WanAddressResult takeWanAddress(RunState &state, const QString &address, bool ipChangeMail, qint64 sampleCount);
    static ConnectionResult outcome(const QString &pageState, bool stateAlarm, bool logState, const RunState &state);

    RouterHttpClient &m_client;
    Slot m_wan;
    Slot m_connection;
    QString m_lastWanIPAddress;
};
