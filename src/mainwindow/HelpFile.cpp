#include "mainwindow/HelpFile.h"

#include "common/AtomicFile.h"
#include "platform/ShellOpen.h"
#include "settings/SettingsPaths.h"

#include <QDir>
#include <QFile>
#include <QObject>

namespace helpfile {

QString path(const QString &settingsFilePath)
{
    return settingspaths::programBase(settingsFilePath) + QStringLiteral("-help.html");
}

void write(const QString &path)
{
    QFile help(QStringLiteral(":/help/veltrano-help.html"));
    if (help.open(QIODevice::ReadOnly))
        AtomicFile::writeFile(path, help.readAll(), nullptr,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                  | QFileDevice::ReadOther);
}

QString open(const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFile::exists(path))
        return QObject::tr("The help file %1 is missing.").arg(shown);
    if (!shellOpen(path))
        return QObject::tr("The help file could not be opened: the desktop has no program for it.\n"
                           "Open %1 in a web browser.")
            .arg(shown);
    return QString();
}

} // namespace helpfile
