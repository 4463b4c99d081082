#pragma once
// The router's own event log: fetched from the router's log page, cut out of
// the page and saved as the router log file that the e-mails attach.
//
// Fetches are asynchronous and bounded by the HTTP client's time-outs; every
// call ends with its callback exactly once, also on failure or time-out.
#include "acquisition/RouterHttpClient.h"

#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <memory>

struct TSettings;

// How the log stands in the page: the Netgear pages hold it in a text area,
// the SpeedTouch 585 in its events page.
enum class RouterLogFamily { Netgear, St585 };

// Which step asks for the log; each picks its page and start text differently.
enum class RouterLogCaller {
    GetRouterLog, // the e-mails' fetch
    View,         // btnViewRouterLogClick, and the retries of GetRouterLog
    Refresh,      // the viewer's Refresh
};

struct RouterLogCut {
    RouterLogFamily family = RouterLogFamily::Netgear;
    QString start;  // text before the log
    int offset = 0; // the log begins this many characters after the start text's position
    QString end;    // text after the log
};

struct RouterLogRequest {
    QString path; // appended to the router's address
    RouterLogCut cut;
};

// The log text of a page: the characters between start text + offset and the
// end text (either searched again in lower case when absent), or for the 585
// from 27 past "Recorded Events" up to 10 before "</form>". A page without
// the start or end text gives an empty log. Lone "\n" become "\r\n".
QString cutRouterLog(const QString &page, const RouterLogCut &cut);

// The page and cut a caller uses with the given settings.
RouterLogRequest routerLogRequest(const TSettings &settings, RouterLogCaller caller);

// The lines of a log in reverse order (line i swapped with count-1-i), as
// the viewer shows them with [RouterLog] Reverse.
QStringList reverseLogLines(const QStringList &lines);

class RouterLog : public QObject {
    Q_OBJECT
public:
    // ok: at least one page came back, and text is the cut log. Otherwise
    // text says why no page came (empty when the user was told already or
    // the fetch was cancelled).
    using FetchDone = std::function<void(bool ok, const QString &text)>;

    // What a viewer tells the user when no page came back.
    static QString connectionFailedText(const QString &reason);

    // settings must outlive this object; the start text and offset chosen
    // by each fetch are stored into it, as they are saved with the settings.
    RouterLog(RouterHttpClient &client, TSettings &settings, QObject *parent = nullptr);
    ~RouterLog() override; // outstanding calls end with their callbacks

    // Transfer time of each request (the client caps it).
    void setTransferTimeoutMs(int ms) { m_transferTimeoutMs = ms; }

    // Fetches and cuts the log the caller's way; a log shorter than 10
    // characters is fetched again up to 3 more times. done runs exactly once.
    void fetch(RouterLogCaller caller, FetchDone done);

    // Fetches the log and writes it to path (replacing it atomically), then
    // calls done exactly once. Nothing is written when no log came.
    void GetRouterLog(const QString &path, std::function<void()> done);

    // Outstanding fetches, for tests and shut-down.
    int pendingCount() const { return static_cast<int>(m_jobs.size()); }

signals:
    // A time-stamped line for the system messages pane.
    void systemMessage(const QString &text);
    // A message the window shows the user in a box (missing login URL or credentials).
    void showMessage(const QString &text);

private:
    struct Job;
    void startAttempt(quint64 jobId);
    void onReply(quint64 jobId, const HttpResult &result);
    void finish(quint64 jobId);
    QString urlFor(const QString &path) const;

    RouterHttpClient &m_client;
    bool m_clientGone = false;
    TSettings &m_settings;
    int m_transferTimeoutMs = RouterHttpClient::kMaxTransferTimeoutMs;
    quint64 m_nextJob = 1;
    std::map<quint64, std::unique_ptr<Job>> m_jobs;
};
