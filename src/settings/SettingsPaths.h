#pragma once
// Where the settings file lives and what "beside the program" means for the
// files the program writes (the log, the help file, temporary images).
#include <QString>

namespace settingspaths {

// $VELTRANO_INI when set; otherwise "veltrano.ini" beside the executable when
// that folder is writable, else ~/.config/veltrano/veltrano.ini.
QString settingsFilePath();

// The settings file's path without its extension: "the program's path" for
// files named after the program ("<base>.txt", "<base>.htm").
QString programBase(const QString &settingsPath);

// The folder of the settings file, without a trailing separator.
QString programFolder(const QString &settingsPath);

} // namespace settingspaths
