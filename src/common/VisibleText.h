#pragma once
// Text from outside (a request's path, a router's reply, a host name) made
// safe to show in a pane: control and invisible characters become escapes
// such as "\x0D" or "\u202E", so one entry cannot break into two, hide part
// of itself or turn its text around.
#include <QString>

class VisibleText {
public:
    static QString escaped(const QString &text);
    // A character that would not be seen as itself: controls, format and
    // direction marks, line and paragraph separators, fillers, variation
    // selectors, lone surrogates.
    static bool isHidden(char32_t c);
};
