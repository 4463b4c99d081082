#include "FailurePlan.h"

#include "HttpRequest.h"

namespace routersim {

bool FailurePlan::parseMode(const QString &mode, Failure *out, QString *error)
{
    const QString m = mode.toLower();
    Failure f;
    if (m == "down")
        f.mode = FailureMode::Down;
    else if (m == "refuse")
        f.mode = FailureMode::Refuse;
    else if (m == "close")
        f.mode = FailureMode::Close;
    else if (m == "hang")
        f.mode = FailureMode::Hang;
    else if (m == "401")
        f.mode = FailureMode::Unauthorized;
    else if (m == "500")
        f.mode = FailureMode::ServerError;
    else if (m == "empty")
        f.mode = FailureMode::Empty;
    else if (m.startsWith("short:")) {
        bool ok = false;
        const int n = m.mid(6).toInt(&ok);
        if (!ok || n < 1 || n > 9) {
            if (error)
                *error = "short takes a length of 1 to 9 (short:N)";
            return false;
        }
        f.mode = FailureMode::Short;
        f.shortLength = n;
    } else if (m.startsWith("before:")) {
        // The text keeps its case: it is looked for in the page as written.
        f.beforeText = mode.mid(7).toLatin1();
        if (f.beforeText.isEmpty()) {
            if (error)
                *error = "before takes a text (before:TEXT)";
            return false;
        }
        f.mode = FailureMode::Before;
    } else {
        if (error)
            *error = QString("unknown failure mode '%1'").arg(mode);
        return false;
    }
    if (out)
        *out = f;
    return true;
}

bool FailurePlan::parseKey(const QString &key, Rule *rule, QString *error)
{
    if (key == "*") {
        rule->type = KeyType::All;
        return true;
    }
    if (const auto page = Profile::pageFromName(key)) {
        rule->type = KeyType::Page;
        rule->page = *page;
        return true;
    }
    if (key.startsWith('/') || key.startsWith('\\')) {
        const HttpRequest::Target t = HttpRequest::splitTarget(key.toLatin1());
        rule->type = KeyType::Path;
        rule->path = t.path;
        for (const auto &item : t.query.queryItems(QUrl::FullyDecoded))
            rule->query.append(item);
        return true;
    }
    if (error)
        *error = QString("'%1' is not '*', a page name or a path starting with '/'").arg(key);
    return false;
}

bool FailurePlan::validate(const QString &key, const QString &mode, int count, QString *error)
{
    Rule r;
    if (!parseKey(key, &r, error))
        return false;
    if (mode.compare("none", Qt::CaseInsensitive) == 0)
        return true;
    if (count == 0 || count < -1) {
        if (error)
            *error = "count must be at least 1";
        return false;
    }
    Failure f;
    if (!parseMode(mode, &f, error))
        return false;
    // Nobody can be counted while nothing listens.
    if (f.mode == FailureMode::Down && (r.type != KeyType::All || count != -1)) {
        if (error)
            *error = "down applies to '*' only and takes no count";
        return false;
    }
    return true;
}

bool FailurePlan::set(const QString &key, const QString &mode, int count, QString *error)
{
    if (!validate(key, mode, count, error))
        return false;
    Rule rule;
    parseKey(key, &rule, nullptr);
    rule.key = key;
    // One rule per key: a new one replaces it, "none" just removes it.
    for (qsizetype i = 0; i < m_rules.size(); ++i) {
        const Rule &r = m_rules[i];
        if (r.type == rule.type && r.page == rule.page && r.path.compare(rule.path, Qt::CaseInsensitive) == 0
            && r.query == rule.query) {
            m_rules.removeAt(i);
            break;
        }
    }
    if (mode.compare("none", Qt::CaseInsensitive) == 0)
        return true;
    parseMode(mode, &rule.failure, nullptr);
    rule.modeText = rule.failure.mode == FailureMode::Before ? mode : mode.toLower();
    rule.remaining = count;
    m_rules.append(rule);
    return true;
}

bool FailurePlan::matches(const Rule &rule, const QString &path, const QUrlQuery &query, PageKind kind)
{
    switch (rule.type) {
    case KeyType::All:
        return true;
    case KeyType::Page:
        return rule.page == kind;
    case KeyType::Path:
        if (rule.path.compare(path, Qt::CaseInsensitive) != 0)
            return false;
        for (const auto &item : rule.query)
            if (!query.hasQueryItem(item.first)
                || query.queryItemValue(item.first, QUrl::FullyDecoded).compare(item.second, Qt::CaseInsensitive)
                       != 0)
                return false;
        return true;
    }
    return false;
}

Failure FailurePlan::consume(qsizetype index)
{
    Rule &r = m_rules[index];
    const Failure f = r.failure;
    if (r.remaining > 0 && --r.remaining == 0)
        m_rules.removeAt(index);
    return f;
}

bool FailurePlan::takeRefuseOnAccept()
{
    for (qsizetype i = 0; i < m_rules.size(); ++i)
        if (m_rules[i].type == KeyType::All && m_rules[i].failure.mode == FailureMode::Refuse) {
            consume(i);
            return true;
        }
    return false;
}

bool FailurePlan::isDown() const
{
    for (const Rule &r : m_rules)
        if (r.failure.mode == FailureMode::Down)
            return true;
    return false;
}

std::optional<Failure> FailurePlan::take(const QString &path, const QUrlQuery &query, PageKind kind)
{
    for (qsizetype i = 0; i < m_rules.size(); ++i)
        if (m_rules[i].type != KeyType::All && matches(m_rules[i], path, query, kind))
            return consume(i);
    for (qsizetype i = 0; i < m_rules.size(); ++i)
        if (m_rules[i].type == KeyType::All)
            return consume(i);
    return std::nullopt;
}

QStringList FailurePlan::describe() const
{
    QStringList out;
    for (const Rule &r : m_rules)
        out << (r.remaining > 0 ? QString("%1 %2 %3").arg(r.key, r.modeText).arg(r.remaining)
                                : QString("%1 %2").arg(r.key, r.modeText));
    return out;
}

} // namespace routersim
