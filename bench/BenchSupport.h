#pragma once
// Shared by the benchmark programs.
#include <QByteArray>
#include <QFile>

// The process's resident memory in KiB, -1 when it cannot be read.
inline long residentKiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}
