#include "notify/StatisticsLog.h"

#include "common/AnsiCodec.h"
#include "common/AppendFile.h"
#include "common/AtomicFile.h"
#include "common/DateTimePattern.h"
#include "common/RegularFile.h"
#include "notify/LogFileName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArray chomp(QByteArray line)
{
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

// A header line carries no stamp: its first column holds no digit, where a
// stamp always does ("Date   /   Time" against "Sun 06 Dec 2026  08:47:39").
bool looksLikeHeader(const QByteArray &line, const QString &sep)
{
    const QString text = ansi::decodeValue(line);
    if (text.trimmed().isEmpty())
        return false;
    const qsizetype end = text.indexOf(sep);
    const QString first = end < 0 ? text : text.left(end);
    for (QChar c : first)
        if (c.isDigit())
            return false;
    return true;
}

} // namespace

StatisticsLog::StatisticsLog(TSettings &settings, const RunState &run, QObject *parent)
    : QObject(parent), m_settings(settings), m_run(run)
{
}

qint64 StatisticsLog::FileSizeOf(const QString &path)
{
    if (path.isEmpty())
        return 0;
    const QFileInfo fi(path);
    return fi.exists() && !fi.isDir() ? fi.size() : 0;
}

QString StatisticsLog::fileNameFor(const QDateTime &stamp) const
{
    const TSettings &s = m_settings;
    return statisticsLogFileName(s.System.LogFile, s.System.NewLog, s.System.NewLogFormat, stamp);
}

void StatisticsLog::setPanelText(const QString &text)
{
    if (m_panelText == text)
        return;
    m_panelText = text;
    emit panelTextChanged(text);
}

void StatisticsLog::setCurrentFileName(const QString &name)
{
    m_currentFile = name;
    setPanelText(name);
}

void StatisticsLog::startRun()
{
    m_trimInProgress = false;
    // Each run reports its own first write failure.
    m_writeFailing = false;
    if (!m_settings.System.Log)
        return;
    m_logWriting = false;
    setCurrentFileName(fileNameFor(m_run.SampleStamp));
}

void StatisticsLog::WriteLogNow(const QString &text)
{
    TSettings &s = m_settings;
    if (m_trimInProgress) {
        emit systemMessage(QStringLiteral("Log entry skipped due to log trim in progress."));
        return;
    }
    m_logWriting = true;
    const QString sep = s.System.CSV ? QStringLiteral(", ") : QStringLiteral("\t");
    QString stamp = dtp::format(s.System.LogTimef, m_run.SampleStamp);
    if (s.Graph.UTCTime)
        stamp += QStringLiteral(" (UTC)");
    bool headerDue = s.Log.HeaderRequired && s.Log.AddHeader;
    s.Log.HeaderRequired = false;
    m_headerPending = false;

    if (!QFileInfo(QFileInfo(s.System.LogFile).absolutePath()).isDir()) {
        m_logWriting = false;
        emit logFolderMissing();
        return;
    }

    QString file = m_currentFile;
    bool newDay = false;
    if (file.isEmpty()) {
        // No run has named a file: with logging off there is nothing to write;
        // otherwise the configured file, without claiming the status panel.
        if (!s.System.Log) {
            m_logWriting = false;
            return;
        }
        file = fileNameFor(m_run.SampleStamp);
    } else if (s.System.NewLog) {
        m_dailyLogName = statisticsLogFileName(s.System.LogFile, true, s.System.NewLogFormat, m_run.SampleStamp);
        if (m_dailyLogName != m_currentFile) {
            file = m_dailyLogName;
            setCurrentFileName(m_dailyLogName);
            newDay = true;
        }
    }
    // A new day's file starts with the header, then this poll's line: nothing is lost at midnight.
    if (newDay && s.Log.AddHeader && FileSizeOf(file) < 10)
        headerDue = true;

    QStringList lines;
    if (headerDue) {
        if (!m_pollHeader.isEmpty()) {
            lines << m_pollHeader;
            m_logHeader = m_pollHeader;
        } else {
            // No poll has named its items yet; the next one writes the header.
            m_headerPending = true;
        }
    }
    lines << stamp + sep + text;
    appendLines(file, lines);
    m_logWriting = false;
}

bool StatisticsLog::appendLines(const QString &file, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += ansi::encodeValue(line) + "\r\n";

    QString reason;
    const bool ok = AppendFile::append(file, bytes, &reason);

    // One message when lines start to be lost and one when they stop.
    if (!ok && !m_writeFailing) {
        m_writeFailing = true;
        emit systemMessage(QStringLiteral("Log entry lost: cannot write to \"%1\" (%2).").arg(file, reason));
    } else if (ok && m_writeFailing) {
        m_writeFailing = false;
        emit systemMessage(QStringLiteral("Log entries are written to \"%1\" again.").arg(file));
    }
    return ok;
}

bool StatisticsLog::TrimLog(QString *error)
{
    m_trimInProgress = true;
    setPanelText(QStringLiteral("Trimming Log...."));

    int count = 0;
    QString why;
    const bool ok = trimFile(m_settings.System.LogFile, count, why);
    if (ok) {
        emit systemMessage(
            QStringLiteral("Trimmed log. %1 lines trimmed to %2 lines.").arg(count).arg(m_settings.Log.TrimLines));
    } else {
        emit systemMessage(QStringLiteral("Log trim failed, the log is unchanged: %1").arg(why));
    }

    setPanelText(m_currentFile);
    m_trimInProgress = false;
    if (error)
        *error = why;
    return ok;
}

bool StatisticsLog::trimFile(const QString &path, int &count, QString &error)
{
    const TSettings &s = m_settings;
    QFile in;
    const int fd = RegularFile::open(path, O_RDONLY, &error);
    if (fd < 0 || !in.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0) {
            ::close(fd);
            error = in.errorString();
        }
        error = QStringLiteral("cannot read \"%1\" (%2)").arg(path, error);
        return false;
    }

    // First pass: count the lines; keep the first two for the header.
    QByteArray first;
    QByteArray second;
    count = 0;
    while (!in.atEnd()) {
        const QByteArray line = in.readLine();
        if (in.error() != QFileDevice::NoError)
            break;
        ++count;
        if (count == 1)
            first = chomp(line);
        else if (count == 2)
            second = chomp(line);
    }
    if (in.error() != QFileDevice::NoError || !in.seek(0)) {
        error = QStringLiteral("cannot read \"%1\" (%2)").arg(path, in.errorString());
        return false;
    }

    const qint64 skip = qint64(count) - s.Log.TrimLines;

    // The header of this run, or after a restart the file's own unstamped
    // first line (with the empty line that follows it, as written).
    QByteArray header;
    if (!m_logHeader.isEmpty()) {
        header = ansi::encodeValue(m_logHeader);
    } else if (looksLikeHeader(first, s.System.CSV ? QStringLiteral(", ") : QStringLiteral("\t"))) {
        header = first;
        if (count >= 2 && second.isEmpty())
            header += "\r\n";
    }

    AtomicFile out(path);
    if (!out.open()) {
        error = QStringLiteral("cannot write \"%1\" (%2)").arg(path, out.errorString());
        return false;
    }
    if (s.Log.AddHeader && skip > 0 && !header.isEmpty())
        out.write(header + "\r\n");
    for (qint64 n = 1; n <= count && !in.atEnd(); ++n) {
        const QByteArray line = in.readLine();
        if (in.error() != QFileDevice::NoError) {
            out.cancel();
            error = QStringLiteral("cannot read \"%1\" (%2)").arg(path, in.errorString());
            return false;
        }
        if (n > skip && !out.write(chomp(line) + "\r\n"))
            break;
    }
    in.close();
    if (!out.commit()) {
        error = QStringLiteral("cannot write \"%1\" (%2)").arg(path, out.errorString());
        return false;
    }
    return true;
}
