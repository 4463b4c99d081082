#include "notify/AlarmLog.h"

#include "common/AnsiCodec.h"
#include "common/AppendFile.h"
#include "common/DateTimePattern.h"

#include <QFile>
#include <QFileInfo>

AlarmLog::AlarmLog(const TSettings &settings, const RunState &run, QObject *parent)
    : QObject(parent), m_settings(settings), m_run(run)
{
}

QString AlarmLog::lineFor(const QString &text) const
{
    const TSettings &s = m_settings;
    QString stamp = dtp::format(s.System.LogTimef, m_run.SampleStamp);
    if (s.Graph.UTCTime)
        stamp += QStringLiteral(" (UTC)");
    const QString sep = s.System.CSV ? QStringLiteral(", ") : QStringLiteral("\t");
    return stamp + sep + text;
}

bool AlarmLog::lost(const QString &why)
{
    if (!m_failing) {
        m_failing = true;
        emit systemMessage(QStringLiteral("Alarm log entry lost: %1.").arg(why));
    }
    return false;
}

bool AlarmLog::WriteAlarmLog(const QString &text)
{
    const QString path = m_settings.Alarm.AlarmLog;
    if (path.trimmed().isEmpty())
        return lost(QStringLiteral("no alarm log file is set"));
    const QFileInfo fi(path);
    if (!QFileInfo(fi.absolutePath()).isDir())
        return lost(QStringLiteral("the folder of \"%1\" does not exist").arg(path));

    const QByteArray bytes = ansi::encodeValue(lineFor(text)) + "\r\n";
    QString reason;
    if (!AppendFile::append(path, bytes, &reason))
        return lost(QStringLiteral("cannot write to \"%1\" (%2)").arg(path, reason));

    if (m_failing) {
        m_failing = false;
        emit systemMessage(QStringLiteral("Alarm log entries are written to \"%1\" again.").arg(path));
    }
    return true;
}
