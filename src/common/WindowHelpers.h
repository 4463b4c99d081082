#pragma once
// Small services the windows call: thousands grouping in the locale's style
// and a responsive wait.
#include <QLocale>
#include <QString>

// Inserts the locale's thousands separator into a non-negative number text
// ("8128" -> "8,128", "1234567.5" -> "1,234,567.5"); the text is trimmed first.
QString FormatThousands(const QString &number, const QLocale &locale = QLocale::system());

// Waits ms milliseconds while the window keeps handling its events; at least
// one round of events always runs. Only for the few places that must pause
// inside a handler; new code should use a timer instead.
void Delay(int ms);
