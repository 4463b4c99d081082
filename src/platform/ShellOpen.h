#pragma once
// The shell's "open" action: a file opened in the program the desktop
// associates with it. No shell is involved, so names are never interpreted.
#include <QString>

bool shellOpen(const QString &path);
