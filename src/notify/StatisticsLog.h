#pragma once
// The statistics log file: time-stamped lines, an optional header line of
// item names, optionally one file per day, and the daily trim.
//
// It is the single owner of the current log file name (what status panel 3
// shows): Run sets it through startRun(), Stop clears it, a new day's file
// replaces it; panelTextChanged() tells the window. Everything runs on the
// window thread.
#include "acquisition/RunState.h"
#include "settings/TSettings.h"

#include <QObject>
#include <QString>

class StatisticsLog : public QObject {
    Q_OBJECT
public:
    StatisticsLog(TSettings &settings, const RunState &run, QObject *parent = nullptr);

    // Writes text as one stamped line (SampleStamp in [System] LogTimef, " (UTC)"
    // under [Graph] UTCTime, the separator). When a header is due ([Log]
    // HeaderRequired with AddHeader, or a new day's empty file), the latest
    // poll's header line goes first, without a stamp.
    void WriteLogNow(const QString &text);

    // Keeps the last [Log] TrimLines lines of [System] LogFile, under the
    // header when headers are on. The file is replaced atomically; when it
    // cannot be read or the copy written, it is left as it was, the failure
    // is reported and false returned with the reason in *error.
    bool TrimLog(QString *error = nullptr);

    // Size in bytes of the file at path; 0 when there is none.
    static qint64 FileSizeOf(const QString &path);

    // The header line of the latest poll ("\r\n" ended, as the line builder
    // makes it); written when a header is due.
    void setPollHeader(const QString &header) { m_pollHeader = header; }

    // Run: the log file of this run (the day's file with [System] NewLog) when
    // logging is on; no trim in progress, no write under way.
    void startRun();
    // The file every writer writes to; Stop sets it empty.
    void setCurrentFileName(const QString &name);
    const QString &currentFileName() const { return m_currentFile; }
    // What status panel 3 shows: the file name, or the trim's notice while a trim runs.
    const QString &panelText() const { return m_panelText; }
    // The file this run writes to at the given stamp (per-day name or [System] LogFile).
    QString fileNameFor(const QDateTime &stamp) const;

    bool LogWriting() const { return m_logWriting; }
    bool LogTrimInProgress() const { return m_trimInProgress; }
    bool LogHeaderPending() const { return m_headerPending; }
    // Set by the log menus and the Configuration dialog's header box.
    void setLogHeaderPending(bool on) { m_headerPending = on; }
    const QString &LogHeader() const { return m_logHeader; }
    const QString &DailyLogName() const { return m_dailyLogName; }

signals:
    void panelTextChanged(const QString &text);
    void systemMessage(const QString &text);
    // The folder of [System] LogFile is gone: the window stops monitoring and says so.
    void logFolderMissing();

private:
    void setPanelText(const QString &text);
    bool appendLines(const QString &file, const QStringList &lines);
    bool trimFile(const QString &path, int &count, QString &error);

    TSettings &m_settings;
    const RunState &m_run;
    QString m_currentFile;
    QString m_panelText;
    QString m_pollHeader;
    QString m_logHeader;
    QString m_dailyLogName;
    bool m_logWriting = false;
    bool m_trimInProgress = false;
    bool m_headerPending = false;
    bool m_writeFailing = false;
};
