#include "common/Trace.h"

#include "common/AppendFile.h"

#include <QMutex>

namespace {

QString tracePath()
{
    static const QString path = qEnvironmentVariable("VELTRANO_TRACE");
    return path;
}

QMutex &traceLock()
{
    static QMutex m;
    return m;
}

} // namespace

bool trace::enabled() { return !tracePath().isEmpty(); }

void trace::write(const QString &kind, const QString &text)
{
    if (!enabled())
        return;
    QString line = kind + QStringLiteral(": ") + text;
    line.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    line.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    const QMutexLocker lock(&traceLock());
    // Opened and closed per line so nothing is lost if the program is killed.
    AppendFile::append(tracePath(), line.toUtf8() + '\n', nullptr);
}
