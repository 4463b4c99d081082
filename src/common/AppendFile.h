#pragma once
// Appending to a log file so that each call's bytes land whole or not at
// all: when the disk fills half-way, the part that made it is cut off again,
// so the next line does not join a torn one.
#include <QByteArray>
#include <QString>

class AppendFile {
public:
    // Creates the file when missing. Anything at the path but a regular file
    // (a FIFO, a device) is refused without waiting. On failure *error gets
    // the reason and the file is as it was (a file this call created is removed).
    static bool append(const QString &path, const QByteArray &bytes, QString *error);
};
