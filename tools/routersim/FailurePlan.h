#pragma once
// Injected failures: which requests go wrong, how, and how many more times.
#include "Profile.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrlQuery>
#include <optional>

namespace routersim {

enum class FailureMode {
    Down,         // "*" only: stop listening, so connecting is refused
    Refuse,       // reset the connection (before reading, for "*")
    Close,        // read the request, close without answering
    Hang,         // read the request, never answer
    Unauthorized, // 401 whatever the credentials
    ServerError,  // 500
    Empty,        // 200 with an empty body
    Short,        // 200 with only the first shortLength characters
    Before,       // 200 with the page up to the first beforeText (a page cut short of a row)
};

struct Failure {
    FailureMode mode = FailureMode::Close;
    int shortLength = 0;
    QByteArray beforeText;
};

class FailurePlan
{
public:
    // mode is one of down ("*" only, no count), refuse, close, hang, 401,
    // 500, empty, short:N (N 1..9), before:TEXT or none (clears the key). count < 0 means until cleared; otherwise the
    // failure applies to that many matching requests and then clears itself.
    // key is "*", a page name (status, wan, connection, log, reboot,
    // logout, debug, link, events, home) or a path, optionally with a query
    // whose items must all be present in the request.
    bool set(const QString &key, const QString &mode, int count, QString *error);
    static bool validate(const QString &key, const QString &mode, int count, QString *error);
    void clear() { m_rules.clear(); }

    // A connection just accepted: a "*" refuse consumes one count and the
    // connection is reset before anything is read.
    bool takeRefuseOnAccept();
    // "fail * down" is in force: the web server must not listen.
    bool isDown() const;
    // The failure for a request, consuming one count; a path or page rule
    // takes precedence over "*".
    std::optional<Failure> take(const QString &path, const QUrlQuery &query, PageKind kind);

    // One line per rule: "key mode [remaining]".
    QStringList describe() const;

private:
    enum class KeyType { All, Page, Path };
    struct Rule {
        KeyType type = KeyType::All;
        QString key; // as given, for describe()
        PageKind page = PageKind::None;
        QString path;
        QList<QPair<QString, QString>> query;
        Failure failure;
        QString modeText;
        int remaining = -1;
    };

    static bool parseMode(const QString &mode, Failure *out, QString *error);
    static bool parseKey(const QString &key, Rule *rule, QString *error);
    static bool matches(const Rule &rule, const QString &path, const QUrlQuery &query, PageKind kind);
    Failure consume(qsizetype index);

    QList<Rule> m_rules;
};

} // namespace routersim
