#pragma once
// One fetch of the router's status page within a polling cycle: a fixed
// number of attempts, each reported when it fails, with the wording users
// know from the router being "connected" or "not connected".
#include "acquisition/RouterHttpClient.h"

#include <QByteArray>
#include <QObject>
#include <QString>

struct StatusPageRequest {
    QString url;                  // [Router] Login
    int attempts = 3;             // 6 in the first cycle of a run
    bool firstCycle = false;
    bool login = true;            // [Router] cbLogin
    QString username;             // [Router] Username
    QString password;             // [Router] Password
    bool usernameNotRequired = false;
    int transferTimeoutMs = RouterHttpClient::kMaxTransferTimeoutMs;
};

class StatusPageFetch : public QObject {
    Q_OBJECT
public:
    explicit StatusPageFetch(RouterHttpClient &client, QObject *parent = nullptr);

    void start(const StatusPageRequest &request);
    // Stops the attempts; finished() is not emitted.
    void cancel();
    bool isActive() const { return m_active; }
    // Why the latest fetch brought nothing back (its last report; a refused
    // log-in outranks the connection wording); empty after a page came.
    QString lastFailure() const { return m_lastFailure; }

signals:
    void systemMessage(const QString &text);
    // page is empty and noAnswer set when nothing came after every attempt.
    void finished(const QByteArray &page, bool noAnswer);

private:
    void attempt();
    void onReply(const HttpResult &result);
    void giveUp();

    RouterHttpClient &m_client;
    StatusPageRequest m_request;
    int m_count = 0;
    bool m_active = false;
    quint64 m_requestId = 0;
    QByteArray m_page;
    QString m_lastFailure;
    bool m_loginRefused = false;
};
