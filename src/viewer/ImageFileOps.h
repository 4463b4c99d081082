#pragma once
// What the graph viewer does to the files of a folder: which files are
// images, reading one for the preview, renaming without ever replacing
// another file, and moving files to the desktop trash.
#include <QImage>
#include <QString>
#include <QStringList>

class ImageFileOps {
public:
    // The list's name filters: "*.jpg", "*.png", "*.bmp", "*.gif" (any case).
    static QStringList nameFilters();
    // A regular file (or a link to one) whose name ends in one of those.
    static bool isImageFile(const QString &path);
    // The picture by its extension; a null image with the reason when the
    // file is gone, is not an image, or has another extension.
    static QImage load(const QString &path, QString *error);
    // Renames within the file's folder. Refused, with the reason, when the
    // new name is empty, holds a path separator, names the folder itself or
    // its parent, or is taken by any other file, folder or link.
    static bool rename(const QString &path, const QString &newName, QString *error);
    // Moves each file to the trash; the failures, one line each ("name: reason").
    static QStringList moveToTrash(const QStringList &paths);
};
