#pragma once
// The "Router Status Page" tab: the router's status page as the last refresh
// or poll fetched it, with Refresh, "Copy As Text" and "View Source".
#include "acquisition/RunState.h"
#include "settings/TSettings.h"

#include <QWidget>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class PageView;
class RouterHttpClient;

class StatusPageTab : public QWidget {
    Q_OBJECT
public:
    StatusPageTab(TSettings &settings, const RunState &run, RouterHttpClient &http, QWidget *parent = nullptr);

    PageView *HTML2 = nullptr;
    QPushButton *btnHTML2Refresh = nullptr;
    QCheckBox *cbRefresh = nullptr;
    QLabel *Label45 = nullptr;
    QMenu *HTMLStatsPopup = nullptr;
    QAction *Refresh1 = nullptr;
    QAction *Copy1 = nullptr;
    QAction *mnuViewSource = nullptr;

    // ViewerPageText: the page the view shows.
    const QString &viewerPageText() const { return m_viewerPageText; }

    // Refresh1Click (and btnHTML2Refresh): fetch the status page and show it;
    // a failed fetch leaves the view as it was.
    void Refresh1Click();
    // Copy1Click: the page's plain text to the clipboard.
    void Copy1Click();
    // The page a poll fetched, when the view is to follow the polls (the tab
    // shown, the refresh box checked or a SpeedTouch 585, nothing selected).
    // page is the page after the 585 restyle when that applies.
    void showPolledPage(const QString &page, const QString &viewerText, bool tabActive);
    // The source options decide whether the view may follow the polls.
    void applySettings();

signals:
    void viewSourceRequested();

private:
    void show585OrPage(const QString &page);

    TSettings &m_settings;
    const RunState &m_run;
    RouterHttpClient &m_http;
    QString m_viewerPageText;
    quint64 m_request = 0;
};
