#pragma once
// Removes captured chart images older than [Capture] DeleteDays from the
// capture folder, to the recycle bin or for good. Only the program's own image
// files are touched: regular files of the current image type directly in the
// folder, never links, never the settings file.
#include "settings/TSettings.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

struct ImageCleanupResult {
    int removed = 0;       // files actually recycled or deleted
    QStringList messages;  // system messages, in order
};

class ImageCleanup {
public:
    // Moves one file to the recycle bin; true on success.
    using Recycler = std::function<bool(const QString &path)>;

    // The file pattern of the current capture format: the last that applies of
    // jpg, png, gif, bmp (".jpg" when none is set).
    static QString imageSuffix(const TSettings &s);

    // The file's last-write time; invalid when it cannot be read.
    static QDateTime GetFileDateTime(const QString &path);

    // Recycle bin through QFile::moveToTrash.
    static bool RecycleFile(const QString &path);

    // DeleteFiles with this "now" for the age limit; settingsPath is never removed.
    static ImageCleanupResult DeleteFiles(const TSettings &s, const QDateTime &now,
                                          const QString &settingsPath,
                                          const Recycler &recycle = &ImageCleanup::RecycleFile);
};
