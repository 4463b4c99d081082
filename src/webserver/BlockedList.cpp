#include "webserver/BlockedList.h"

#include "common/AppendFile.h"
#include "common/AtomicFile.h"
#include "common/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray withoutLineEnd(QByteArray line)
{
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

// Lines with their own terminators, so a rewrite keeps the others byte for byte.
QList<QByteArray> linesOf(const QByteArray &text)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype nl = text.indexOf('\n', start);
        const qsizetype end = nl < 0 ? text.size() : nl + 1;
        lines.append(text.mid(start, end - start));
        start = end;
    }
    return lines;
}

QString fileError(const QString &what, const QString &path, const QString &reason)
{
    return QStringLiteral("%1 \"%2\". %3").arg(what, path, reason);
}

} // namespace

BlockedList::Check BlockedList::check(const QString &filePath, const QString &address, bool *firstFailure)
{
    if (firstFailure)
        *firstFailure = false;
    QByteArray text;
    bool missing = false;
    if (!RegularFile::readAll(filePath, kMaxBytes, &text, nullptr, &missing)) {
        // Removed meanwhile: nobody is listed, and a fault is over.
        if (missing) {
            m_failing = false;
            return Check::NotListed;
        }
        const bool before = m_failing.exchange(true);
        if (firstFailure)
            *firstFailure = !before;
        return Check::ReadError;
    }
    m_failing = false;
    const QByteArray wanted = address.toLatin1();
    for (const QByteArray &line : linesOf(text))
        if (withoutLineEnd(line) == wanted)
            return Check::Listed;
    return Check::NotListed;
}

bool BlockedList::append(const QString &filePath, const QString &address, QString *error)
{
    QByteArray line = address.toLatin1() + '\n';
    // A last line without its terminator must not swallow the new address.
    // What is not a regular file is left to the append to refuse.
    const int fd = RegularFile::open(filePath, O_RDONLY, nullptr);
    if (fd >= 0) {
        char last = '\n';
        struct stat st {};
        if (::fstat(fd, &st) == 0 && st.st_size > 0 && ::pread(fd, &last, 1, st.st_size - 1) == 1 && last != '\n')
            line.prepend('\n');
        ::close(fd);
    }
    QString why;
    if (!AppendFile::append(filePath, line, &why)) {
        if (error)
            *error = fileError(QStringLiteral("Cannot write file"), filePath, why);
        return false;
    }
    return true;
}

bool BlockedList::remove(const QString &filePath, const QString &address, QString *error)
{
    QByteArray text;
    QString why;
    if (!RegularFile::readAll(filePath, kMaxBytes, &text, &why)) {
        if (error)
            *error = fileError(QStringLiteral("Cannot open file"), filePath, why);
        return false;
    }

    const QByteArray wanted = address.toLatin1();
    QByteArray kept;
    for (const QByteArray &line : linesOf(text))
        if (withoutLineEnd(line) != wanted)
            kept += line;

    // One rename: the handler never finds the list missing half-way.
    const QString tmpPath = QFileInfo(filePath).absolutePath() + QLatin1Char('/') + tempFileName();
    AtomicFile out(filePath, tmpPath);
    if (!out.open()) {
        if (error)
            *error = fileError(QStringLiteral("Cannot create file"), tmpPath, out.errorString());
        return false;
    }
    if (!out.write(kept) || !out.commit()) {
        if (error)
            *error = fileError(QStringLiteral("Cannot write file"), tmpPath, out.errorString());
        return false;
    }
    return true;
}
