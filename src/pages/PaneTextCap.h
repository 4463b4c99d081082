#pragma once
// A cap on the characters a text pane holds, beside its line cap: router
// text can come in few but long lines. Beyond the cap the oldest lines go,
// down to seven eighths of it, so the cost is paid seldom.
#include <QtGlobal>

class QPlainTextEdit;

// Returns the number of characters removed.
qsizetype capPaneText(QPlainTextEdit *pane, qsizetype maxChars);
