#include "webserver/BlockedList.h"

#include "common/AppendFile.h"
#include "common/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

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
    QByteArray line = address.toLatin1() + '\n';
    // A last line without its terminator must not swallow the new address.
    QFile f(filePath);
    if (f.open(QIODevice::ReadOnly) && f.size() > 0 && f.seek(f.size() - 1) && f.read(1) != "\n")
        line.prepend('\n');
    f.close();
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
