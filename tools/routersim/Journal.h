#pragma once
// Every request the simulator received, for tests to check what the program
// sent. One tab-separated line per request:
//   time  channel  method  target  credentials  result
// The channel is "http" or "telnet" (connections, terminal type, log-ins,
// command lines and closes; see README.md).
#include <QFile>
#include <QString>
#include <QStringList>

namespace routersim {

class Journal
{
public:
    // Enough for any test run; the oldest lines go first beyond it.
    static constexpr int kMaxLines = 20000;

    // Starts a fresh journal file; every line is flushed as it is written.
    bool openFile(const QString &path, QString *error);
    void closeFile();

    void record(const QString &channel, const QString &method, const QString &target, const QString &credentials,
                const QString &result);

    QStringList lines() const { return m_lines; }
    // Empties the in-memory lines; the file keeps its history.
    void clear() { m_lines.clear(); }

    // Backslash, tab, CR and LF written as \\, \t, \r, \n, so one request
    // stays one line with six fields.
    static QString escape(const QString &field);

private:
    QStringList m_lines;
    QFile m_file;
};

} // namespace routersim
