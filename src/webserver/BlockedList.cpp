#include "webserver/BlockedList.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
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

BlockedList::Check BlockedList::check(const QString &filePath, const QString &address)
{
    QFile f(filePath);
    if (!f.exists())
        return Check::NotListed;
    if (!f.open(QIODevice::ReadOnly)) {
        // Removed between the two steps: nobody is listed.
        return f.exists() ? Check::ReadError : Check::NotListed;
    }
    const QByteArray text = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return Check::ReadError;
    const QByteArray wanted = address.toLatin1();
    for (const QByteArray &line : linesOf(text))
        if (withoutLineEnd(line) == wanted)
            return Check::Listed;
    return Check::NotListed;
}

bool BlockedList::append(const QString &filePath, const QString &address, QString *error)
{
    QFile f(filePath);
    if (!f.open(QIODevice::ReadWrite | QIODevice::Append)) {
        if (error)
            *error = fileError(QStringLiteral("Cannot open file"), filePath, f.errorString());
        return false;
    }
    QByteArray line = address.toLatin1() + '\n';
    // A last line without its terminator must not swallow the new address.
    if (f.size() > 0 && f.seek(f.size() - 1) && f.read(1) != "\n")
        line.prepend('\n');
    if (f.write(line) != line.size() || !f.flush()) {
        if (error)
            *error = fileError(QStringLiteral("Cannot write file"), filePath, f.errorString());
        return false;
    }
    return true;
}

bool BlockedList::remove(const QString &filePath, const QString &address, QString *error)
{
    QFile in(filePath);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = fileError(QStringLiteral("Cannot open file"), filePath, in.errorString());
        return false;
    }
    const QByteArray text = in.readAll();
    in.close();

    const QByteArray wanted = address.toLatin1();
    QByteArray kept;
    for (const QByteArray &line : linesOf(text))
        if (withoutLineEnd(line) != wanted)
            kept += line;

    const QString tmpPath = QFileInfo(filePath).absolutePath() + QLatin1Char('/') + tempFileName();
    QFile out(tmpPath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (error)
            *error = fileError(QStringLiteral("Cannot create file"), tmpPath, out.errorString());
        return false;
    }
    const bool written = out.write(kept) == kept.size() && out.flush() && ::fsync(out.handle()) == 0;
    const QString writeError = out.errorString();
    out.close();
    if (!written) {
        QFile::remove(tmpPath);
        if (error)
            *error = fileError(QStringLiteral("Cannot write file"), tmpPath, writeError);
        return false;
    }
    // One rename: the handler never finds the list missing half-way.
    if (std::rename(QFile::encodeName(tmpPath).constData(), QFile::encodeName(filePath).constData()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(tmpPath);
        if (error)
            *error = fileError(QStringLiteral("Cannot rename file"), tmpPath, reason);
        return false;
    }
    return true;
}
