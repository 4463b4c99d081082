#include "viewer/ImageFileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QStandardPaths>

QStringList ImageFileOps::nameFilters()
{
    return {QStringLiteral("*.jpg"), QStringLiteral("*.png"), QStringLiteral("*.bmp"), QStringLiteral("*.gif")};
}

namespace {

QByteArray formatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("jpg"))
        return "jpeg";
    if (suffix == QLatin1String("png") || suffix == QLatin1String("gif") || suffix == QLatin1String("bmp"))
        return suffix.toLatin1();
    return {};
}

} // namespace

bool ImageFileOps::isImageFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && !formatOf(path).isEmpty();
}

QImage ImageFileOps::load(const QString &path, QString *error)
{
    const auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return QImage();
    };
    const QByteArray format = formatOf(path);
    if (format.isEmpty())
        return fail(QStringLiteral("not a picture file"));
    if (!QFileInfo(path).isFile())
        return fail(QStringLiteral("the file no longer exists"));
    QImageReader reader(path, format);
    // A picture whose content is of another of the four formats still shows.
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull())
        return fail(reader.errorString());
    return image;
}

bool ImageFileOps::rename(const QString &path, const QString &newName, QString *error)
{
    const auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    const QString name = newName.trimmed();
    if (name.isEmpty())
        return fail(QStringLiteral("The new name is empty."));
    if (name.contains(QLatin1Char('/')) || name == QLatin1String(".") || name == QLatin1String(".."))
        return fail(QStringLiteral("\"%1\" is not a file name.").arg(name));
    const QFileInfo from(path);
    if (!from.exists() && !from.isSymLink())
        return fail(QStringLiteral("%1 no longer exists.").arg(from.fileName()));
    if (name == from.fileName())
        return true;
    const QString target = from.dir().filePath(name);
    const QFileInfo to(target);
    // Never over another file: a dangling link counts as taken too.
    if (to.exists() || to.isSymLink())
        return fail(QStringLiteral("A file named %1 already exists.").arg(name));
    QFile file(path);
    if (!file.rename(target))
        return fail(file.errorString());
    return true;
}

QStringList ImageFileOps::moveToTrash(const QStringList &paths)
{
    QStringList failures;
    // Without the user's data folder the trash would be made in the current folder.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    for (const QString &path : paths) {
        QFile file(path);
        if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink()) {
            failures << QStringLiteral("%1: the file no longer exists").arg(QFileInfo(path).fileName());
            continue;
        }
        if (!file.moveToTrash())
            failures << QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), file.errorString());
    }
    return failures;
}
