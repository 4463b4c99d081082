#pragma once
// The blocked-address file "blocked.txt" of the web folder: one dotted IPv4
// address per line, a client being blocked when a whole line equals its
// address. The request handler reads it on the connection threads while the
// window thread may add or remove lines, so removal replaces the file in one
// rename and a reader sees either the old list or the new one.
#include <QString>
#include <atomic>

class BlockedList {
public:
    enum class Check { NotListed, Listed, ReadError };

    static QString fileName() { return QStringLiteral("blocked.txt"); }
    static QString tempFileName() { return QStringLiteral("blocked.tmp"); }

    // One address a line: far more than any list made by hand reaches.
    static constexpr qint64 kMaxBytes = 1024 * 1024;

    // A missing file lists nobody. Lines end in LF or CR LF; nothing else is
    // trimmed. Only a regular file of at most kMaxBytes is read; anything
    // else is a ReadError. *firstFailure is set on the first ReadError this
    // object meets since it was made or last read the list (or found none),
    // so a lasting fault is reported once and a fault that comes back after
    // the list was mended is reported again. Safe on several threads at once.
    Check check(const QString &filePath, const QString &address, bool *firstFailure = nullptr);

    // Appends the address as one line, creating the file when it is missing.
    // An address that is already listed is appended again.
    static bool append(const QString &filePath, const QString &address, QString *error);

    // Drops every line equal to the address, through "blocked.tmp" beside the
    // file. A missing file is an error and nothing is written.
    static bool remove(const QString &filePath, const QString &address, QString *error);

private:
    std::atomic<bool> m_failing{false};
};
