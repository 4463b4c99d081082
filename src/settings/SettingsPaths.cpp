#include "settings/SettingsPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString settingspaths::settingsFilePath()
{
    const QString fromEnv = qEnvironmentVariable("VELTRANO_INI");
    if (!fromEnv.isEmpty())
        return QFileInfo(fromEnv).absoluteFilePath();

    const QString exeDir = QCoreApplication::applicationDirPath();
    if (!exeDir.isEmpty() && QFileInfo(exeDir).isWritable())
        return QDir(exeDir).filePath(QStringLiteral("veltrano.ini"));

    return QDir::homePath() + QStringLiteral("/.config/veltrano/veltrano.ini");
}

QString settingspaths::programBase(const QString &settingsPath)
{
    const QFileInfo fi(settingsPath);
    return QDir(fi.absolutePath()).filePath(fi.completeBaseName());
}

QString settingspaths::programFolder(const QString &settingsPath)
{
    return QDir::cleanPath(QFileInfo(settingsPath).absolutePath());
}
