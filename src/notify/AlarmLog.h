#pragma once
// The alarm log: a file of its own for the alarm lines, chosen on the alarm
// page instead of the statistics log. A line is the stamp, the separator and
// the text, as in the statistics log; there is no header and no per-day file.
// The file is opened, appended to and closed for each line, so it can be
// moved or read at any time.
//
// A line that cannot be written is lost, but not silently: the first loss of
// a run of failures is reported, and so is the first line written after it.
#include "acquisition/RunState.h"
#include "settings/TSettings.h"

#include <QObject>
#include <QString>

class AlarmLog : public QObject {
    Q_OBJECT
public:
    AlarmLog(const TSettings &settings, const RunState &run, QObject *parent = nullptr);

    // Appends "stamp separator text" to [Alarm] AlarmLog; true when written.
    bool WriteAlarmLog(const QString &text);

    // The line as written, without its CR LF.
    QString lineFor(const QString &text) const;

    // Run: a new run reports its own first failure.
    void startRun() { m_failing = false; }

signals:
    void systemMessage(const QString &text);

private:
    bool lost(const QString &why);

    const TSettings &m_settings;
    const RunState &m_run;
    bool m_failing = false;
};
