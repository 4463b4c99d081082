#pragma once
// The shell's "open" action: a file opened in the program the desktop
// associates with it. No shell is involved, so names are never interpreted.
#include <QString>
#include <functional>

// False when the desktop has no program for the file.
bool shellOpen(const QString &path);

// Stands in for the desktop's open action (tests open nothing); an empty
// function puts the desktop's back.
void setShellOpener(std::function<bool(const QString &)> opener);

// What the user is told when no program opened a text file (a log).
QString textFileNotOpenedText(const QString &path);
