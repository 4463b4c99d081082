#pragma once

class LinePane;
class QCheckBox;
class QMessageBox;
class QPushButton;
class QString;
class QWidget;

// The "System Messages" page's controls as built; the window wires them.
struct SystemMessagesTab {
    QWidget *page = nullptr;
    LinePane *memSys = nullptr;
    QCheckBox *cbEnableSystem = nullptr;
    QCheckBox *cbSuppressErrors = nullptr;
    QPushButton *btnClear = nullptr;
    QPushButton *Button1 = nullptr; // "Save As..." of the system messages
};

// Builds the page (the pane keeping at most `lineCap` lines, its check boxes and buttons) under `parent`.
SystemMessagesTab buildSystemMessagesTab(QWidget *parent, int lineCap);

// "Clear Messages": a box over `window` titled `title` asks first; Yes clears `pane`. The box is open
// (not blocking) and deletes itself when closed.
QMessageBox *confirmClearMessages(QWidget *window, LinePane *pane, const QString &title);
