#pragma once
// What the main window offers the areas it wires, without the window: its
// system messages, its message boxes (they never block the event loop) and
// the panels of its status bar.
#include <QString>
#include <functional>

class QMessageBox;

struct WindowHost {
    std::function<void(const QString &)> systemMessage;
    // A box with the program's caption; warning picks the warning icon. It deletes itself when closed.
    std::function<QMessageBox *(const QString &text, bool warning)> messageBox;
    std::function<QString(int panel)> statusPanel;
    std::function<void(int panel, const QString &text)> setStatusPanel;
};
