#pragma once
// Opening and reading files at paths the user chose (logs, scripts, the web
// folder's lists). Whatever lies there is taken only when it is a regular
// file: a FIFO would block open() or read() for good, a device never ends.
// Nothing here ever waits for another process.
#include <QByteArray>
#include <QString>
#include <sys/types.h>

class RegularFile {
public:
    // open(2) with `flags` (O_RDONLY, O_WRONLY | O_APPEND, ...), never
    // blocking; the descriptor of a regular file, close-on-exec, or -1 with
    // *error the reason and *missing set when nothing is at the path.
    static int open(const QString &path, int flags, QString *error, bool *missing = nullptr, mode_t mode = 0666);

    // The whole file, when it is a regular file of at most maxBytes bytes.
    // False with *error the reason otherwise; *missing as above.
    static bool readAll(const QString &path, qint64 maxBytes, QByteArray *bytes, QString *error,
                        bool *missing = nullptr);

    // Writes every byte to the descriptor, going on after a short write so
    // that a stop part-way (a full disk) gives the system's reason: 0, or
    // the errno of the write that failed; *written counts the bytes written.
    static int writeAll(int fd, const QByteArray &bytes, qsizetype *written = nullptr);

    static QString notRegularText() { return QStringLiteral("Not a regular file"); }
};
