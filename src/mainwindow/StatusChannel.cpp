#include "mainwindow/StatusChannel.h"

#include "common/Clock.h"
#include "common/DateTimePattern.h"
#include "common/Trace.h"

#include <QThread>

StatusChannel::StatusChannel(QObject *parent) : QObject(parent) {}

QString StatusChannel::formatLine(const QDateTime &stamp, const QString &text)
{
    return QStringLiteral("      ") + dtp::format(QStringLiteral("ddd dd mmm yyyy   hh:mm:ss"), stamp)
           + QStringLiteral(":  ") + text;
}

void StatusChannel::systemMessage(const QString &text)
{
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(this, [this, text] { systemMessage(text); }, Qt::QueuedConnection);
        return;
    }
    // Traced whether or not the pane shows it, so tests can follow a run with messages off.
    trace::write(QStringLiteral("msg"), text);
    if (!m_enabled)
        return;
    m_sampleStamp = m_utc ? Clock::currentDateTimeUtc() : Clock::currentDateTime();
    emit stamped(m_sampleStamp);
    emit lineReady(formatLine(m_sampleStamp, text));
}
