#pragma once
// The cookies a router set, sent back to the same host. A cookie of the same
// name replaces the old one, an expired one is dropped, and each host's jar
// is capped in count and in the size of the Cookie field it makes, so a
// router that hands out a new cookie name with every reply cannot grow our
// requests until it refuses them: the oldest cookies go first.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <map>
#include <optional>
#include <vector>

class RouterCookieJar {
public:
    static constexpr int kMaxCookies = 20;
    static constexpr qsizetype kMaxFieldBytes = 4096; // the Cookie field's value, per host

    struct Cookie {
        QByteArray name;
        QByteArray value;
        QDateTime expires; // UTC; invalid for a cookie that lasts the session
    };

    // Takes a reply's Set-Cookie values.
    void store(const QString &host, const QList<QByteArray> &setCookies, const QDateTime &nowUtc);
    // The Cookie field's value for host ("a=1; b=2"), empty when there is none.
    QByteArray header(const QString &host, const QDateTime &nowUtc) const;
    void clear(const QString &host);
    qsizetype count(const QString &host) const;

    // One Set-Cookie value; nullopt when it has no usable name=value or holds control bytes.
    static std::optional<Cookie> parseSetCookie(QByteArrayView value, const QDateTime &nowUtc);
    // Whether a reply with this status says the router refused the request as sent.
    static bool rejects(int status);

private:
    std::map<QString, std::vector<Cookie>> m_hosts; // per host, oldest first
};
