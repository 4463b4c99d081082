#include "Scenario.h"

#include "CommandInterpreter.h"

#include <QFile>

namespace routersim {

bool Scenario::parse(const QString &text, QList<Line> *lines, QString *error)
{
    QList<Line> out;
    const QStringList raw = text.split('\n');
    for (int i = 0; i < raw.size(); ++i) {
        const QString l = raw[i].trimmed();
        if (l.isEmpty() || l.startsWith('#'))
            continue;
        QString why;
        if (!CommandInterpreter::check(l, &why)) {
            if (error)
                *error = QString("line %1: %2").arg(i + 1).arg(why);
            return false;
        }
        out.append({i + 1, l});
    }
    *lines = out;
    return true;
}

bool Scenario::load(const QString &path, QList<Line> *lines, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QString("cannot read scenario %1: %2").arg(path, f.errorString());
        return false;
    }
    QString why;
    if (!parse(QString::fromUtf8(f.readAll()), lines, &why)) {
        if (error)
            *error = QString("scenario %1, %2").arg(path, why);
        return false;
    }
    return true;
}

} // namespace routersim
