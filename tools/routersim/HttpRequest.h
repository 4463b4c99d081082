#pragma once
// One parsed HTTP request head (request line and header fields).
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrlQuery>
#include <optional>

namespace routersim {

class HttpRequest
{
public:
    // Longest head the simulator reads; a router's parser is no bigger.
    static constexpr int kMaxHeadSize = 8192;

    struct Target {
        QString path; // percent-decoded, '\' turned to '/', host dropped
        QUrlQuery query;
    };

    // Parses a head without its blank line. Returns nullopt with a reason
    // for anything that is not HTTP/1.x.
    static std::optional<HttpRequest> parse(const QByteArray &head, QString *error);
    // Checks a request line alone, so garbage is refused before the head ends.
    static bool plausibleRequestLine(const QByteArray &line, QString *error);
    // Splits a request target into path and query. An absolute URL loses its
    // scheme and host; backslashes count as slashes ("\FW_log.htm").
    static Target splitTarget(const QByteArray &target);

    QByteArray method() const { return m_method; }
    QByteArray target() const { return m_target; }
    QByteArray version() const { return m_version; }
    QString path() const { return m_split.path; }
    const QUrlQuery &query() const { return m_split.query; }
    // Value of the first header of that name (case-insensitive); empty if none.
    QByteArray header(const QByteArray &name) const;

private:
    QByteArray m_method;
    QByteArray m_target;
    QByteArray m_version;
    Target m_split;
    QList<QPair<QByteArray, QByteArray>> m_headers;
};

} // namespace routersim
