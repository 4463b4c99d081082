#pragma once
// The telnet pages: the "Summary" page (TabSheet8) with the connect, refresh
// and disconnect buttons and the three statistics panes, and the terminal
// page itself (TabSheet39) with the terminal pane, its own connect and
// disconnect buttons and the canned commands.
#include "settings/TSettings.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TelnetSession;
class TerminalCommandBar;
class UserFigureMarker;
struct TelnetControls;
struct TelnetParseResult;

class TelnetPage : public QWidget {
    Q_OBJECT
public:
    TelnetPage(TSettings &settings, TelnetSession &session, QWidget *parent = nullptr);

    // A parsed reply's lines into the statistics panes (cleared first when the reply says so).
    void showParsed(const TelnetParseResult &r);

    QWidget *TabSheet8 = nullptr; // the "Summary" page, put beside the terminal by the window
    QPushButton *btnConnect = nullptr;
    QPushButton *btnRefresh = nullptr;
    QPushButton *btnDisconnect = nullptr;
    QPushButton *btnConnect1 = nullptr;    // the terminal's own: connects without asking for statistics
    QPushButton *btnDisConnect1 = nullptr;
    QPushButton *btnSNR = nullptr; // the SNR table into the terminal
    QLabel *Label100 = nullptr;    // the ADSL2+ tone range shown, as the bits page's Label88
    QPlainTextEdit *Memo1 = nullptr; // terminal: the user types after the router's prompt
    TerminalCommandBar *commands = nullptr;
    QLabel *Panel53 = nullptr; // what was just marked as a user-defined figure
    UserFigureMarker *marker = nullptr;
    QPlainTextEdit *Memo2 = nullptr; // statistics panes
    QPlainTextEdit *Memo3 = nullptr;
    QPlainTextEdit *Memo4 = nullptr;
    QLabel *Label8 = nullptr; // over Memo4: what the third pane holds, by family
    QCheckBox *cbExtended = nullptr; // "Extended stats": the interface listing and its MiBytes charts
    QLabel *Label70 = nullptr;       // the DGTeam firmware is in use

    // The family's parts of the page: the DGTeam sign, the extended stats
    // switch and the third pane's title.
    void applyFamily();
    // The terminal and statistics panes take the font settings.
    void applyPaneFonts(const TSettings &s);

    void applyControls(const TelnetControls &c);
    // Memo1KeyPress for Enter: the last line, without its prompt, goes to the router.
    void Memo1KeyPress();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TSettings &m_settings;
    TelnetSession &m_session;
};
