#pragma once
// The SpeedTouch 585's "Bitloading" tab: its session's Connect, Disconnect
// and Refresh buttons, the bitswap reset, the tone range, the refresh
// interval, the summary panes and labels, and the read-outs of its tone
// charts. The handlers named after the controls do the window's part; the
// session and the tone charts do the rest.
#include "acquisition/BitsRefreshState.h"
#include "acquisition/RunState.h"
#include "acquisition/TelnetFigures.h"
#include "settings/TSettings.h"

#include <QWidget>
#include <functional>

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QSplitter;
class ThomsonSession;
class ToneCharts;
struct ThomsonRefresh;

class BitloadingPage : public QWidget {
    Q_OBJECT
public:
    // The statistics pane keeps this many characters of the router's replies.
    static constexpr qsizetype kMaxPaneChars = 1024 * 1024;

    BitloadingPage(TSettings &settings, RunState &run, TelnetFigures &figures, BitsRefreshState &pacing,
                   ThomsonSession &session, ToneCharts &charts, QWidget *parent = nullptr);

    // The strip for the top of the tab.
    QWidget *header() const { return m_header; }
    // Monitoring runs (Run is down); the window is hidden in the tray.
    void setWindowState(std::function<bool()> running, std::function<bool()> hiddenInTray);
    void loadFromSettings();

    void btnThomsonRefreshClick();
    void btnThomsonBitswapResetClick();
    void btn585ConnectClick();
    void btn585DisconnectClick();
    // Run: the bitswap count starts now.
    void runStarted();
    // The reboot over the 585 session: "system reboot", then its prompt.
    void reboot();
    // TabSheet38Show: the tone with the most bitswaps.
    void showMostBitswaps();

    QPushButton *btn585Connect = nullptr;
    QPushButton *btn585Disconnect = nullptr;
    QPushButton *btnThomsonRefresh = nullptr;
    QPushButton *btnThomsonBitswapReset = nullptr;
    QPushButton *btnMacro = nullptr; // "Send telnet script to router", while the session is up
    QRadioButton *rbLowBits = nullptr;
    QRadioButton *rbHiBits = nullptr;
    QRadioButton *rbAllBits = nullptr;
    QCheckBox *cb585Bits = nullptr;
    QSpinBox *sp585Bits = nullptr;
    QCheckBox *cbDontRefresh585 = nullptr;
    QLineEdit *ed585Port = nullptr;
    QCheckBox *cb585WaitForRequests = nullptr;
    QCheckBox *cbRestoreTimeout = nullptr;
    QLabel *Shape1 = nullptr;   // session indicator
    QLabel *Label93 = nullptr;  // last refreshed
    QLabel *Label33 = nullptr;  // bitswaps since
    QLabel *Label25 = nullptr;  // uptime
    QLabel *Label34 = nullptr;  // DSL type
    QLabel *Label106 = nullptr; // "PAUSED"
    // The same sign on the pages of the three charts (bits, bitswaps per tone,
    // bitswaps over time), for the window to place there; each follows Label106.
    QLabel *Label107 = nullptr;
    QLabel *Label108 = nullptr;
    QLabel *Label109 = nullptr;
    QLabel *Readout = nullptr;  // under the mouse on the 585 charts
    QLabel *MostBitswaps = nullptr;
    QPlainTextEdit *memo5 = nullptr;    // raw statistics
    QPlainTextEdit *memo2585 = nullptr; // downstream summary
    QPlainTextEdit *memo3585 = nullptr; // upstream summary
    QPlainTextEdit *memoBits585 = nullptr; // raw bit table
    QSplitter *Splitter1 = nullptr;        // between the downstream and upstream panes
    QLabel *Label23 = nullptr;             // "Downstream (Rx) "
    QLabel *Label24 = nullptr;             // "Upstream (Tx) "
    QPushButton *btnSwap = nullptr;        // the two panes change places

    // btnSwapClick: the panes and their captions change places; [585Telnet] DownFirst follows.
    void btnSwapClick();
    // Splitter1Moved: the captions grey as their pane is squeezed.
    void Splitter1Moved(int pos);

signals:
    // The refresh timer: on with this interval, or off.
    void refreshTimerWanted(bool on, int intervalMs);
    // btnMacroClick: the window lets the user pick a script for the script viewer.
    void macroClicked();

private:
    void build();
    void onRefreshed(const ThomsonRefresh &r);
    void showSession(bool up);
    // Label106 and the three signs that follow it.
    void showPaused(bool paused);
    void rangeChosen();
    void intervalChanged();
    QString now() const;

    TSettings &m_settings;
    RunState &m_run;
    TelnetFigures &m_figures;
    BitsRefreshState &m_pacing;
    ThomsonSession &m_session;
    ToneCharts &m_charts;
    QWidget *m_header = nullptr;
    std::function<bool()> m_running;
    std::function<bool()> m_hidden;
    bool m_loading = false;
    int m_first = 0;
    int m_last = 256;
    QHBoxLayout *m_panes = nullptr; // the summary panes, side by side
    QWidget *m_downColumn = nullptr;  // Label23 over memo2585
    QWidget *m_upColumn = nullptr;    // Label24 over memo3585
};
