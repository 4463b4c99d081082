#pragma once
// Shared by the benchmark programs.
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QProcess>
#include <cstdio>
#include <algorithm>
#include <vector>

// A field of /proc/<pid>/status in KiB ("VmRSS:", "VmHWM:"), -1 when it cannot be read.
inline long procStatusKiB(const QString &pid, const char *key)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qsizetype(qstrlen(key))).trimmed().split(' ').value(0).toLong();
    return -1;
}

// The process's resident memory in KiB, -1 when it cannot be read.
inline long residentKiB()
{
    return procStatusKiB(QStringLiteral("self"), "VmRSS:");
}

// Another process's resident memory (key "VmRSS:") or its peak ("VmHWM:").
inline long residentKiBOf(qint64 pid, const char *key = "VmRSS:")
{
    return procStatusKiB(QString::number(pid), key);
}

// The whole lines appended to a file (a journal, a trace) since the last call.
struct FileFollower {
    QFile file;
    qint64 offset = 0;
    QByteArray partial;

    QList<QByteArray> newLines()
    {
        QList<QByteArray> out;
        if (!file.isOpen() && !file.open(QIODevice::ReadOnly))
            return out;
        file.seek(offset);
        const QByteArray more = file.readAll();
        offset += more.size();
        partial += more;
        qsizetype nl;
        while ((nl = partial.indexOf('\n')) >= 0) {
            out.append(partial.left(nl));
            partial.remove(0, nl + 1);
        }
        return out;
    }
};

// The largest gap between events (seconds) within [from, to], the ends included.
inline double largestGap(const std::vector<double> &times, double from, double to)
{
    double gap = 0, last = from;
    for (double t : times)
        if (t >= from && t <= to) {
            gap = std::max(gap, t - last);
            last = t;
        }
    return std::max(gap, to - last);
}

inline int countIn(const std::vector<double> &times, double from, double to)
{
    return int(std::count_if(times.begin(), times.end(), [&](double t) { return t >= from && t <= to; }));
}

// Starts the program from the build folder with its settings file (and a
// trace file when given), off screen when there is no display. False, with a
// word on stderr, when it does not start.
inline bool startProgram(QProcess &program, const QString &binDir, const QString &ini, const QString &trace = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VELTRANO_INI"), ini);
    if (!trace.isEmpty())
        env.insert(QStringLiteral("VELTRANO_TRACE"), trace);
    if (!env.contains(QStringLiteral("DISPLAY")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(binDir + QStringLiteral("/veltrano"), {});
    if (program.waitForStarted(10000))
        return true;
    std::fprintf(stderr, "cannot start veltrano\n");
    return false;
}
