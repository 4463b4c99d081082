#include "platform/MailProgram.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

bool openDefaultMailClient() { return QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:"))); }

bool startMailProgram(const QString &path)
{
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isFile())
        return false;
    return QProcess::startDetached(file.absoluteFilePath(), {});
}
