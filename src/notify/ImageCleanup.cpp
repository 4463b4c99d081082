#include "notify/ImageCleanup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString ImageCleanup::imageSuffix(const TSettings &s)
{
    QString suffix = QStringLiteral("jpg");
    if (s.Capture.IsJPG)
        suffix = QStringLiteral("jpg");
    if (s.Capture.IsPNG)
        suffix = QStringLiteral("png");
    if (s.Capture.IsGIF)
        suffix = QStringLiteral("gif");
    if (s.Capture.IsBMP)
        suffix = QStringLiteral("bmp");
    return suffix;
}

QDateTime ImageCleanup::GetFileDateTime(const QString &path)
{
    return QFileInfo(path).lastModified();
}

bool ImageCleanup::RecycleFile(const QString &path)
{
    // Without the user's data folder the trash would be made in the current folder.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QFile f(path);
    return f.moveToTrash();
}

ImageCleanupResult ImageCleanup::DeleteFiles(const TSettings &s, const QDateTime &now,
                                             const QString &settingsPath, const Recycler &recycle)
{
    ImageCleanupResult r;
    r.messages << QStringLiteral("Starting captured image maintenance...");
    const bool toBin = s.Capture.Recycle;
    const bool list = s.System.ShowSystem && s.Capture.ListPurged;
    const QDateTime cutoff = now.addDays(-qint64(s.Capture.DeleteDays));
    const QString suffix = QLatin1Char('.') + imageSuffix(s);

    // An empty folder setting would mean the working folder: nothing to clean there.
    const QString folder = s.Capture.Folder;
    const QFileInfo folderInfo(folder);
    const QString root = folderInfo.canonicalFilePath();
    const QString settingsCanon = settingsPath.isEmpty() ? QString()
                                                         : QFileInfo(settingsPath).canonicalFilePath();
    if (!folder.isEmpty() && folderInfo.isDir() && !root.isEmpty()) {
        const QDir dir(root);
        const auto entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks,
                                               QDir::Name);
        for (const QFileInfo &fi : entries) {
            if (fi.isSymLink() || !fi.isFile())
                continue;
            if (!fi.fileName().endsWith(suffix, Qt::CaseInsensitive))
                continue;
            const QString path = fi.absoluteFilePath();
            // Stay inside the folder and away from the settings file, whatever the name.
            const QString canon = fi.canonicalFilePath();
            if (canon.isEmpty() || QFileInfo(canon).absolutePath() != root
                || (!settingsCanon.isEmpty() && canon == settingsCanon))
                continue;
            const QDateTime written = GetFileDateTime(path);
            // A file whose age cannot be read is not known to be old.
            if (!written.isValid() || !(written < cutoff))
                continue;
            const bool ok = toBin ? recycle(path) : QFile::remove(path);
            if (ok) {
                ++r.removed;
                if (list)
                    r.messages << (toBin ? QStringLiteral("Recycled file: ") : QStringLiteral("Deleted file: "))
                                      + QDir::toNativeSeparators(path);
            } else {
                r.messages << (toBin ? QStringLiteral("Could not recycle file: ")
                                     : QStringLiteral("Could not delete file: "))
                                  + QDir::toNativeSeparators(path);
            }
        }
    }
    r.messages << (toBin ? QStringLiteral("Recycled %1 captured images.")
                         : QStringLiteral("Deleted %1 captured images."))
                          .arg(r.removed);
    return r;
}
