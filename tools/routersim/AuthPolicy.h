#pragma once
// HTTP Basic authentication as the simulated router checks it.
#include <QByteArray>
#include <QString>
#include <optional>

namespace routersim {

enum class AuthMode {
    Required, // user and password must match
    None,     // no check at all
    AnyUser,  // only the password is checked (routers that ignore the user name)
};

struct Credentials {
    bool present = false;    // an Authorization header came
    bool wellFormed = false; // and it was Basic with valid base64 and a ':'
    QString user;
    QString password;
};

class AuthPolicy
{
public:
    static std::optional<AuthMode> parseMode(const QString &name);
    static QString modeName(AuthMode mode);

    // Decodes an Authorization header value; the credentials are taken as
    // Latin-1, one byte one character, as the router firmware does.
    static Credentials decode(const QByteArray &authorization);
    // For the journal: "none", "-" (malformed) or "user:password".
    static QString describe(const Credentials &credentials);

    void set(AuthMode mode, const QString &user, const QString &password);
    bool accepts(const Credentials &credentials) const;

    AuthMode mode() const { return m_mode; }
    QString user() const { return m_user; }
    QString password() const { return m_password; }

private:
    AuthMode m_mode = AuthMode::Required;
    QString m_user = QStringLiteral("admin");
    QString m_password;
};

} // namespace routersim
