#pragma once
// Decides what the simulated router does with one request: an injected
// failure, a refusal of the credentials, or the page of the current model.
#include "AuthPolicy.h"
#include "FailurePlan.h"
#include "HttpRequest.h"
#include "Profile.h"
#include "RouterState.h"

#include <QByteArray>
#include <QString>
#include <functional>

namespace routersim {

struct HttpAction {
    enum class Kind { Respond, Reset, Close, Hang };
    Kind kind = Kind::Respond;
    QByteArray wire; // the whole response, for Respond
    QString credentials; // as the journal shows them
    QString result;      // status code or failure mode, for the journal
};

class RequestHandler
{
public:
    RequestHandler(RouterState &state, AuthPolicy &auth, FailurePlan &failures);

    ProfileId profile() const { return m_profile; }
    // Called after the debug page turned telnet on.
    void setTelnetEnabledHook(std::function<void()> hook) { m_telnetEnabledHook = std::move(hook); }
    void setProfile(ProfileId id) { m_profile = id; }

    // A fresh connection: true when it must be reset before reading.
    bool refuseOnAccept() { return m_failures.takeRefuseOnAccept(); }
    HttpAction handle(const HttpRequest &request);

    static QByteArray response(int status, const QByteArray &body, const QByteArray &extraHeaders = {},
                               bool headOnly = false);
    static QByteArray badRequest();

private:
    RouterState &m_state;
    AuthPolicy &m_auth;
    FailurePlan &m_failures;
    ProfileId m_profile = ProfileId::V1234;
    std::function<void()> m_telnetEnabledHook;
};

} // namespace routersim
