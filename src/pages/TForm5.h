#pragma once
// The router log viewer ("Veltrano - Netgear Log"), which also shows the
// status page's source ("View Source"): refresh, reverse order, the DG834N
// start text, Save As, copy, and e-mail of the log with the e-mail settings.
#include "acquisition/RunState.h"
#include "settings/TSettings.h"

#include <QDialog>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class RouterLog;
class TextMailer;

class TForm5 : public QDialog {
    Q_OBJECT
public:
    enum class Mode { ViewLog, ViewSource }; // LogViewerMode

    // routerLogPath: "VT-routerlog.txt" beside the settings file.
    TForm5(Mode mode, const QString &text, TSettings &settings, RunState &run, RouterLog &log,
           const QString &routerLogPath, QWidget *parent = nullptr);

    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *btnRefresh = nullptr;
    QPushButton *btnEmail = nullptr;
    QPushButton *btnClose = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *mnuCopy = nullptr;
    QAction *mnuSelectAll = nullptr;
    QAction *mnuSaveAs = nullptr;
    QAction *mnuAdjustStart = nullptr;
    QAction *mnuReverse = nullptr;
    QAction *mnuEmailInclude = nullptr;

    void FormShow();
    void btnRefreshClick();
    void btnEmailClick();
    void mnuAdjustStartClick();
    void mnuReverseClick();
    void mnuSaveAsClick();
    // The pane's lines in reverse order (the first becomes the last).
    void ReverseMemo();
    // The log text the viewer shows (RouterLogText).
    void setLogText(const QString &text);

signals:
    void systemMessage(const QString &text);
    // The menu's choices were stored in the router log settings: the window announces them.
    void settingsChanged();

protected:
    void done(int result) override; // FormCloseQuery: the menu's choices go to the settings

private:
    void fetchInto(int caller);
    void PopupMenu1Popup();

    Mode m_mode;
    QString m_text;
    TSettings &m_settings;
    RunState &m_run;
    RouterLog &m_log;
    QString m_routerLogPath;
    TextMailer *m_mailer = nullptr;
    QString m_notAttached; // why the e-mail under way goes without the router log
};
