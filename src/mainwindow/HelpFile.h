#pragma once
// The help file: an HTML page written beside the settings file at every start
// and opened with the desktop's program for it.
#include <QString>

namespace helpfile {

// "<program base>-help.html" beside the settings file.
QString path(const QString &settingsFilePath);
// Rewritten at every start so it matches this version; a failure only skips it.
void write(const QString &path);
// Opens the file; what the user is told when it is missing or nothing opened it, empty when opened.
QString open(const QString &path);

} // namespace helpfile
