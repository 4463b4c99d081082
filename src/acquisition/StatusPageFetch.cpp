#include "acquisition/StatusPageFetch.h"

#include <QUrl>

StatusPageFetch::StatusPageFetch(RouterHttpClient &client, QObject *parent) : QObject(parent), m_client(client) {}

void StatusPageFetch::start(const StatusPageRequest &request)
{
    cancel();
    m_request = request;
    m_count = 0;
    m_page.clear();
    m_lastFailure.clear();
    m_loginRefused = false;
    m_active = true;
    attempt();
}

void StatusPageFetch::cancel()
{
    if (!m_active)
        return;
    m_active = false;
    m_client.cancel(m_requestId);
}

void StatusPageFetch::attempt()
{
    std::optional<HttpCredentials> credentials;
    // Credentials go with the status-page request only, and only when log-in is on.
    if (m_request.login) {
        if (m_request.firstCycle)
            emit systemMessage(QStringLiteral("Main sample timer: HTTP Login (Run button)."));
        credentials = HttpCredentials{m_request.usernameNotRequired ? QString() : m_request.username,
                                      m_request.password};
    }
    m_requestId = m_client.get(QUrl(m_request.url), credentials, m_request.transferTimeoutMs,
                               [this](const HttpResult &r) { onReply(r); });
}

void StatusPageFetch::onReply(const HttpResult &result)
{
    if (!m_active || result.cancelled)
        return;
    if (result.ok) {
        m_page = result.body;
        giveUp(); // the loop ends with what came, empty or not
        return;
    }
    if (result.authRejected) {
        m_loginRefused = true;
        emit systemMessage(QStringLiteral("HTTP  Login error"));
    }
    ++m_count;
    // The client's reason for the failure follows the message users know.
    const QString reason = result.errorText.isEmpty() ? QString() : QLatin1Char(' ') + result.errorText;
    if (result.connected)
        emit systemMessage(QStringLiteral("Failed to retrieve stats page (router connected but didn't respond  (1)).")
                           + reason);
    else
        emit systemMessage(QStringLiteral("Failed to retrieve stats page (router not connected (http) (1).") + reason);
    if (m_count < m_request.attempts)
        attempt();
    else
        giveUp();
}

void StatusPageFetch::giveUp()
{
    m_active = false;
    bool noAnswer = false;
    if (m_page.isEmpty()) {
        const QString text = m_client.lastConnected()
                                 ? QStringLiteral("Failed to retrieve stats page (router connected but didn't respond (2)).")
                                 : QStringLiteral("Failed to retrieve stats page (router not connected (http) (2)).");
        m_lastFailure = m_loginRefused ? QStringLiteral("HTTP  Login error") : text;
        emit systemMessage(text);
        // The next request starts afresh.
        m_client.disconnectFromRouter();
        noAnswer = true;
    }
    emit finished(m_page, noAnswer);
}
