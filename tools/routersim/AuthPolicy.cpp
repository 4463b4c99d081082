#include "AuthPolicy.h"

namespace routersim {

std::optional<AuthMode> AuthPolicy::parseMode(const QString &name)
{
    if (name.compare("required", Qt::CaseInsensitive) == 0)
        return AuthMode::Required;
    if (name.compare("none", Qt::CaseInsensitive) == 0)
        return AuthMode::None;
    if (name.compare("any", Qt::CaseInsensitive) == 0 || name.compare("any-user", Qt::CaseInsensitive) == 0)
        return AuthMode::AnyUser;
    return std::nullopt;
}

QString AuthPolicy::modeName(AuthMode mode)
{
    switch (mode) {
    case AuthMode::Required: return "required";
    case AuthMode::None: return "none";
    case AuthMode::AnyUser: return "any";
    }
    return {};
}

Credentials AuthPolicy::decode(const QByteArray &authorization)
{
    Credentials c;
    const QByteArray value = authorization.trimmed();
    if (value.isEmpty())
        return c;
    c.present = true;
    const qsizetype space = value.indexOf(' ');
    if (space < 0 || value.left(space).toLower() != "basic")
        return c;
    const auto result =
        QByteArray::fromBase64Encoding(value.mid(space + 1).trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    if (!result)
        return c;
    const QByteArray &decoded = *result;
    const qsizetype colon = decoded.indexOf(':');
    if (colon < 0)
        return c;
    c.wellFormed = true;
    c.user = QString::fromLatin1(decoded.left(colon));
    c.password = QString::fromLatin1(decoded.mid(colon + 1));
    return c;
}

QString AuthPolicy::describe(const Credentials &credentials)
{
    if (!credentials.present)
        return "none";
    if (!credentials.wellFormed)
        return "-";
    return credentials.user + ':' + credentials.password;
}

void AuthPolicy::set(AuthMode mode, const QString &user, const QString &password)
{
    m_mode = mode;
    m_user = user;
    m_password = password;
}

bool AuthPolicy::accepts(const Credentials &credentials) const
{
    switch (m_mode) {
    case AuthMode::None:
        return true;
    case AuthMode::Required:
        return credentials.wellFormed && credentials.user == m_user && credentials.password == m_password;
    case AuthMode::AnyUser:
        return credentials.wellFormed && credentials.password == m_password;
    }
    return false;
}

} // namespace routersim
