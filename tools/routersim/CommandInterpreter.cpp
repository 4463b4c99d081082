#include "CommandInterpreter.h"

#include "AuthPolicy.h"
#include "FailurePlan.h"
#include "Journal.h"
#include "Profile.h"
#include "RouterSim.h"
#include "RouterState.h"
#include "TelnetBehaviour.h"

#include <QRegularExpression>

namespace routersim {

namespace {

QStringList ok(const QString &text = {})
{
    return {text.isEmpty() ? QStringLiteral("ok") : "ok " + text};
}

QStringList err(const QString &text)
{
    return {"error " + text};
}

// The rest of the line after the first n words, for values with blanks.
QString restAfterWords(const QString &line, int n)
{
    static const QRegularExpression word(QStringLiteral("^\\s*\\S+"));
    QString rest = line;
    for (int i = 0; i < n; ++i) {
        const auto m = word.match(rest);
        if (!m.hasMatch())
            return {};
        rest = rest.mid(m.capturedEnd());
    }
    rest = rest.trimmed();
    if (rest.size() >= 2 && rest.startsWith('"') && rest.endsWith('"'))
        rest = rest.mid(1, rest.size() - 2);
    return rest;
}

QString unescapeLog(const QString &s)
{
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            const QChar c = s[++i];
            out += c == 'n' ? QChar('\n') : c == 't' ? QChar('\t') : c == 'r' ? QChar('\r') : c;
        } else {
            out += s[i];
        }
    }
    return out;
}

} // namespace

QString CommandInterpreter::helpText()
{
    return "commands: set <figure> <value>, get <figure>, fail <path|page|*> <mode> [count], fails, "
           "auth <required|none|any> [user] [password], profile <v1234|v5|st585|other>, journal, "
           "journal clear, reboots, at <delay> <command>, help, quit; "
           "telnet [family <ar7|adslctl|adslinfo|st585> | prompt <text|default> | login <none|password|user> [user] "
           "[password] | access <always|debug> | chunk <whole|line|crlf|random> [seed] | delay <ms> | "
           "fail <refuse|mute|hang|close|down|none> [count] | daemon <on|off> | pid <text> | busy <on|off> | sessions | drop], "
           "tone <0-511> <bits|snr|hlog> <value>, tones reset, drift [on [seed] | off]";
}

QStringList CommandInterpreter::tokenize(const QString &line, bool *ok)
{
    QStringList out;
    QString cur;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == '\\' && i + 1 < line.size())
                cur += line[++i];
            else if (c == '"')
                quoted = false;
            else
                cur += c;
        } else if (c == '"') {
            quoted = true;
            inWord = true;
        } else if (c.isSpace()) {
            if (inWord)
                out << cur;
            cur.clear();
            inWord = false;
        } else {
            cur += c;
            inWord = true;
        }
    }
    if (inWord)
        out << cur;
    if (ok)
        *ok = !quoted;
    return out;
}

bool CommandInterpreter::parseDelay(const QString &text, qint64 *ms)
{
    static const QRegularExpression re(QStringLiteral("^(\\d+(?:\\.\\d+)?)(ms|s|m)$"));
    const auto m = re.match(text.toLower());
    if (!m.hasMatch())
        return false;
    const double v = m.captured(1).toDouble();
    const QString unit = m.captured(2);
    const double factor = unit == "ms" ? 1.0 : unit == "s" ? 1000.0 : 60000.0;
    const double total = v * factor;
    if (total > 7.0 * 24 * 3600 * 1000)
        return false;
    *ms = static_cast<qint64>(total);
    return true;
}

QStringList CommandInterpreter::execute(const QString &line)
{
    QStringList reply;
    run(&m_sim, line, &reply);
    return reply;
}

bool CommandInterpreter::check(const QString &line, QString *error)
{
    QStringList reply;
    if (run(nullptr, line, &reply))
        return true;
    if (error)
        *error = reply.isEmpty() ? QString("bad command") : reply.first().mid(6);
    return false;
}

bool CommandInterpreter::run(RouterSim *sim, const QString &line, QStringList *reply)
{
    bool balanced = true;
    const QStringList w = tokenize(line, &balanced);
    const auto fail = [reply](const QString &text) {
        *reply = err(text);
        return false;
    };
    const auto done = [reply](const QStringList &lines) {
        *reply = lines;
        return true;
    };
    if (!balanced)
        return fail("unbalanced quote");
    if (w.isEmpty())
        return fail("empty command");
    const QString verb = w[0].toLower();

    if (verb == "set") {
        if (w.size() < 3)
            return fail("usage: set <figure> <value>");
        const QString name = w[1];
        QString value = restAfterWords(line, 2);
        if (name.compare("log", Qt::CaseInsensitive) == 0)
            value = unescapeLog(value);
        QString why;
        if (!RouterState::validate(name, value, &why))
            return fail(why);
        if (sim)
            sim->state().set(name, value, nullptr);
        return done(ok());
    }
    if (verb == "get") {
        if (w.size() != 2)
            return fail("usage: get <figure>");
        if (!RouterState::names().contains(w[1], Qt::CaseInsensitive))
            return fail(QString("unknown figure '%1'").arg(w[1]));
        QString value = sim ? sim->state().get(w[1]) : QString();
        return done(ok(Journal::escape(value)));
    }
    if (verb == "fail") {
        if (w.size() < 3 || w.size() > 4)
            return fail("usage: fail <path|page|*> <mode> [count]");
        int count = -1;
        if (w.size() == 4) {
            bool isNumber = false;
            count = w[3].toInt(&isNumber);
            if (!isNumber || count < 1)
                return fail("count must be a whole number of at least 1");
        }
        QString why;
        if (!FailurePlan::validate(w[1], w[2], count, &why))
            return fail(why);
        if (sim)
            sim->failures().set(w[1], w[2], count, nullptr);
        return done(ok());
    }
    if (verb == "fails") {
        if (w.size() != 1)
            return fail("usage: fails");
        const QStringList rules = sim ? sim->failures().describe() : QStringList();
        return done(ok(rules.isEmpty() ? QString("none") : rules.join("; ")));
    }
    if (verb == "auth") {
        if (w.size() < 2 || w.size() > 4)
            return fail("usage: auth <required|none|any> [user] [password]");
        const auto mode = AuthPolicy::parseMode(w[1]);
        if (!mode)
            return fail("auth mode is required, none or any");
        if (sim) {
            QString user = sim->auth().user();
            QString password = sim->auth().password();
            if (w.size() == 4) {
                user = w[2];
                password = w[3];
            } else if (w.size() == 3) {
                // "auth any secret" names the password; "auth required bob"
                // names a user with an empty password.
                if (*mode == AuthMode::AnyUser)
                    password = w[2];
                else {
                    user = w[2];
                    password.clear();
                }
            }
            sim->auth().set(*mode, user, password);
        }
        return done(ok(AuthPolicy::modeName(*mode)));
    }
    if (verb == "profile") {
        if (w.size() != 2)
            return fail("usage: profile <v1234|v5|st585|other>");
        const auto id = Profile::fromName(w[1]);
        if (!id)
            return fail(QString("unknown profile '%1'").arg(w[1]));
        if (sim)
            sim->setProfile(*id);
        return done(ok(Profile::name(*id)));
    }
    if (verb == "journal") {
        if (w.size() == 2 && w[1].compare("clear", Qt::CaseInsensitive) == 0) {
            if (sim)
                sim->journal().clear();
            return done(ok());
        }
        if (w.size() != 1)
            return fail("usage: journal [clear]");
        QStringList lines = sim ? sim->journal().lines() : QStringList();
        lines << "end";
        return done(lines);
    }
    if (verb == "reboots") {
        if (w.size() != 1)
            return fail("usage: reboots");
        return done(ok(QString::number(sim ? sim->state().rebootCount() : 0)));
    }
    if (verb == "at") {
        qint64 ms = 0;
        if (w.size() < 3 || !parseDelay(w[1], &ms))
            return fail("usage: at <delay: 500ms, 10s, 1.5s, 2m> <command>");
        const QString inner = restAfterWords(line, 2);
        QStringList innerReply;
        if (!run(nullptr, inner, &innerReply))
            return fail(innerReply.value(0).mid(6));
        if (sim)
            sim->schedule(ms, inner);
        return done(ok(QString("scheduled in %1 ms").arg(ms)));
    }
    if (verb == "telnet")
        return runTelnet(sim, line, w, reply);
    if (verb == "tone") {
        bool isNumber = false;
        const int tone = w.value(1).toInt(&isNumber);
        if (w.size() != 4 || !isNumber)
            return fail("usage: tone <0-511> <bits|snr|hlog> <value>");
        QString why;
        if (!LineTones::validate(tone, w[2], w[3], &why))
            return fail(why);
        if (sim)
            sim->state().tones().set(tone, w[2], w[3], nullptr);
        return done(ok());
    }
    if (verb == "tones") {
        if (w.size() != 2 || w[1].compare("reset", Qt::CaseInsensitive) != 0)
            return fail("usage: tones reset");
        if (sim)
            sim->state().tones().reset();
        return done(ok());
    }
    if (verb == "drift") {
        const QString what = w.value(1).toLower();
        bool isNumber = true;
        const quint32 seed = w.size() == 3 ? w[2].toUInt(&isNumber) : 1;
        if (w.size() == 1)
            return done(ok(sim ? sim->driftStatus() : QString("off")));
        if (!isNumber || w.size() > 3 || (what != "on" && what != "off") || (what == "off" && w.size() != 2))
            return fail("usage: drift [on [seed] | off]");
        if (sim)
            sim->setDrift(what == "on" ? std::optional<quint32>(seed) : std::nullopt);
        return done(ok(what));
    }
    if (verb == "help") {
        return done(ok(helpText()));
    }
    if (verb == "quit") {
        if (w.size() != 1)
            return fail("usage: quit");
        if (sim)
            sim->requestQuit();
        return done(ok("bye"));
    }
    return fail(QString("unknown command '%1'").arg(w[0]));
}

bool CommandInterpreter::runTelnet(RouterSim *sim, const QString &line, const QStringList &w, QStringList *reply)
{
    const auto fail = [reply](const QString &text) {
        *reply = err(text);
        return false;
    };
    const auto done = [reply](const QString &text = {}) {
        *reply = ok(text);
        return true;
    };
    TelnetBehaviour scratch;
    TelnetBehaviour &b = sim ? sim->telnet() : scratch;
    if (w.size() == 1)
        return done(b.describe(sim ? sim->telnetSessions() : 0));
    const QString what = w[1].toLower();
    const QString arg = w.value(2);

    if (what == "family") {
        const auto family = TelnetBehaviour::familyFromName(arg);
        if (w.size() != 3 || !family)
            return fail("usage: telnet family <ar7|adslctl|adslinfo|st585>");
        b.family = *family;
        return done(TelnetBehaviour::familyName(*family));
    }
    if (what == "prompt") {
        // The rest of the line, so trailing blanks count when quoted.
        const QString text = restAfterWords(line, 2);
        if (w.size() < 3 || text.size() > 32 || text.contains('\r') || text.contains('\n'))
            return fail("usage: telnet prompt <text of up to 32 characters|default>");
        b.promptOverride = text.compare("default", Qt::CaseInsensitive) == 0 ? QString() : text;
        return done();
    }
    if (what == "login") {
        const auto login = TelnetBehaviour::loginFromName(arg);
        if (!login || w.size() > 5)
            return fail("usage: telnet login <none|password|user> [user] [password]");
        b.login = *login;
        if (*login == TelnetLogin::Password && w.size() == 4)
            b.password = w[3];
        else if (w.size() == 5) {
            b.user = w[3];
            b.password = w[4];
        } else if (w.size() == 4)
            b.user = w[3];
        return done(TelnetBehaviour::loginName(*login));
    }
    if (what == "access") {
        const auto access = TelnetBehaviour::accessFromName(arg);
        if (w.size() != 3 || !access)
            return fail("usage: telnet access <always|debug>");
        b.access = *access;
        return done(TelnetBehaviour::accessName(*access));
    }
    if (what == "chunk") {
        const auto mode = TelnetBehaviour::chunkFromName(arg);
        bool seedOk = true;
        const uint seed = w.size() == 4 ? w[3].toUInt(&seedOk) : b.seed;
        if (!mode || w.size() > 4 || !seedOk)
            return fail("usage: telnet chunk <whole|line|crlf|random> [seed]");
        b.chunk = *mode;
        b.seed = seed;
        return done(TelnetBehaviour::chunkName(*mode));
    }
    if (what == "delay") {
        bool isNumber = false;
        const int ms = arg.toInt(&isNumber);
        if (w.size() != 3 || !isNumber || ms < 0 || ms > 1000)
            return fail("usage: telnet delay <0-1000 ms>");
        b.pieceDelayMs = ms;
        return done();
    }
    if (what == "fail") {
        const auto fault = TelnetBehaviour::faultFromName(arg);
        int count = -1;
        if (w.size() == 4) {
            bool isNumber = false;
            count = w[3].toInt(&isNumber);
            if (!isNumber || count < 1)
                return fail("count must be a whole number of at least 1");
        }
        if (!fault || w.size() > 4 || (count > 0 && (*fault == TelnetFault::Down || *fault == TelnetFault::None)))
            return fail("usage: telnet fail <refuse|mute|hang|close|down|none> [count] (no count for down, none)");
        b.fault = *fault;
        b.faultRemaining = count;
        return done();
    }
    if (what == "daemon") {
        if (w.size() != 3 || (arg != "on" && arg != "off"))
            return fail("usage: telnet daemon <on|off>");
        b.daemonListed = arg == "on";
        return done();
    }
    if (what == "busy") {
        if (w.size() != 3 || (arg != "on" && arg != "off"))
            return fail("usage: telnet busy <on|off>");
        b.sessionBusy = arg == "on";
        return done();
    }
    if (what == "pid") {
        static const QRegularExpression re(QStringLiteral("^[!-~]{1,8}$"));
        if (w.size() != 3 || !re.match(arg).hasMatch())
            return fail("usage: telnet pid <1 to 8 printable characters>");
        b.daemonPid = arg;
        return done();
    }
    if (what == "sessions") {
        if (w.size() != 2)
            return fail("usage: telnet sessions");
        return done(QString::number(sim ? sim->telnetSessions() : 0));
    }
    if (what == "drop") {
        if (w.size() != 2)
            return fail("usage: telnet drop");
        if (sim)
            sim->dropTelnetSessions();
        return done();
    }
    return fail(QString("unknown telnet setting '%1'").arg(w[1]));
}

} // namespace routersim
