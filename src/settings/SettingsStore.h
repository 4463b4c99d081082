#pragma once
// Reading the whole settings file into TSettings at start-up and writing it
// back whole. Widget-free: the window supplies the screen size and reports
// the problems and the outcome.
#include "settings/TSettings.h"

#include <QDateTime>
#include <QLocale>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>

struct SettingsEnvironment {
    QString settingsPath;          // the settings file
    QSize screenSize{1024, 768};   // for the default window position
    QDateTime now;                 // the moment of the load (time defaults)
    QLocale locale = QLocale::system();

    static SettingsEnvironment forFile(const QString &path);
};

struct SettingsLoadResult {
    TSettings settings;
    QStringList problems;  // one line per value that was replaced or clamped
    QString readError;     // set when an existing file could not be read
};

struct SettingsSaveResult {
    bool ok = false;
    QString error;         // why the file was not written
    QStringList warnings;  // values that were written differently (passwords not storable)
};

namespace settingsstore {

// A settings file is a few tens of kilobytes; anything past this is not one.
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

// The file's bytes when it is a regular file within kMaxFileBytes, read
// without ever blocking (a FIFO or a device at the path is refused). A file
// that is not there reads as empty and is no error.
bool readFile(const QString &path, QByteArray *bytes, QString *error);

SettingsLoadResult load(const SettingsEnvironment &env);

// Applies the load's post-processing (flag strings, decoded telnet flags,
// derived file names, number style). Load calls it; exposed for the dialog's commit.
void applyFixUps(TSettings &s);

// Writes every key. progress, when given, is called twenty times with 5, 10 .. 100.
// The file is replaced atomically and left with mode 0600; a failure leaves the
// old file as it was.
SettingsSaveResult save(const TSettings &s, const QString &path, const QLocale &locale = QLocale::system(),
                        const std::function<void(int)> &progress = {});

// The time format used for [Capture] DeleteTime, in Qt's notation.
QString longTimeFormat(const QLocale &locale);

} // namespace settingsstore
