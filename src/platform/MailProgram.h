#pragma once
// Starting the user's mail program: the desktop's default mail client
// through its URL handler, or a named program file. No shell is involved.
#include <QString>

// The desktop's default mail client (a "mailto:" URL); false when the
// desktop has no handler for it.
bool openDefaultMailClient();

// The program file at path, started on its own; false when the file does not
// exist or cannot be started.
bool startMailProgram(const QString &path);
