#pragma once
// The script viewer: shows a telnet script and, on "Execute", sends its
// commands over the SpeedTouch 585 session, each after the router's prompt.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;
class TelnetScriptRunner;

class TForm16 : public QDialog {
    Q_OBJECT
public:
    TForm16(const QString &scriptFileName, TelnetScriptRunner &scripts, QWidget *parent = nullptr);

    // btnMacroClick: the user picks a script (the program's folder first) and
    // the viewer opens 100 right of and 50 below the main window's corner.
    // scriptFileName remembers the choice for the next time.
    static void btnMacroClick(QWidget *mainWindow, TelnetScriptRunner &scripts, QString &scriptFileName,
                              const QString &programFolder);

    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *Button1 = nullptr; // "Execute"
    QPushButton *Button2 = nullptr; // "Cancel"

    void FormShow();
    void Button1Click();

private:
    QString m_fileName;
    TelnetScriptRunner &m_scripts;
};
