#pragma once
// The command language shared by the control socket and the scenario file.
// One command per line; every command answers with one line "ok ..." or
// "error ...", except "journal", which sends the journal lines and "end".
#include <QString>
#include <QStringList>

namespace routersim {

class RouterSim;

class CommandInterpreter
{
public:
    explicit CommandInterpreter(RouterSim &sim) : m_sim(sim) {}

    QStringList execute(const QString &line);
    // Syntax and values of a command, without carrying it out.
    static bool check(const QString &line, QString *error);
    // "250ms", "10s", "1.5s", "2m" -> milliseconds.
    static bool parseDelay(const QString &text, qint64 *ms);
    // Words of a line; "double quotes" keep blanks and allow "" for empty.
    static QStringList tokenize(const QString &line, bool *ok);
    static QString helpText();

private:
    // Runs (apply) or only checks a command; the reply line goes to *reply.
    static bool run(RouterSim *sim, const QString &line, QStringList *reply);
    static bool runTelnet(RouterSim *sim, const QString &line, const QStringList &words, QStringList *reply);

    RouterSim &m_sim;
};

} // namespace routersim
