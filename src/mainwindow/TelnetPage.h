#pragma once
// The telnet terminal page: the session's terminal pane, the three
// statistics panes and the connect, refresh and disconnect buttons.
#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TelnetSession;
struct TelnetControls;

class TelnetPage : public QWidget {
    Q_OBJECT
public:
    TelnetPage(TelnetSession &session, QWidget *parent = nullptr);

    QPushButton *btnConnect = nullptr;
    QPushButton *btnRefresh = nullptr;
    QPushButton *btnDisconnect = nullptr;
    QPlainTextEdit *Memo1 = nullptr; // terminal
    QLineEdit *edCommand = nullptr;  // a line to send
    QPlainTextEdit *Memo2 = nullptr; // statistics panes
    QPlainTextEdit *Memo3 = nullptr;
    QPlainTextEdit *Memo4 = nullptr;

    void applyControls(const TelnetControls &c);

private:
    TelnetSession &m_session;
};
