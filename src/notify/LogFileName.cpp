#include "notify/LogFileName.h"

#include "common/DateTimePattern.h"

#include <QDir>
#include <QFileInfo>

QString statisticsLogFileName(const QString &logFile, bool newLogEachDay, const QString &datePattern,
                              const QDateTime &stamp)
{
    if (!newLogEachDay)
        return logFile;
    const QFileInfo fi(logFile);
    QString date = dtp::format(datePattern, stamp);
    // A date pattern with "/" must not send the log into another folder.
    date.remove(QLatin1Char('/'));
    date.remove(QLatin1Char('\\'));
    QString suffix = fi.suffix();
    const QString base = suffix.isEmpty() ? fi.fileName() : fi.completeBaseName();
    if (suffix.isEmpty())
        suffix = QStringLiteral("txt");
    QString name = base + date + QLatin1Char('.') + suffix;
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    const QString dir = fi.path();
    return dir == QLatin1String(".") && !logFile.startsWith(QLatin1String("./")) ? name : QDir(dir).filePath(name);
}
