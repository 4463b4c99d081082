#pragma once
// The SpeedTouch 585 event log ("Veltrano - Thomson 585 Log"): the router's
// events page, cut and restyled, with refresh, copy and select all.
#include <QDialog>

class QAction;
class QMenu;
class QPushButton;
class PageView;
class RouterLog;

class TForm7 : public QDialog {
    Q_OBJECT
public:
    TForm7(const QString &eventsHtml, RouterLog &log, QWidget *parent = nullptr);

    // The events page as the viewer shows it: smaller spacer rows, the odd rows
    // in light yellow and the short "No events." text.
    static QString restyle(const QString &events);

    PageView *HTML3 = nullptr;
    QPushButton *btnRefresh585 = nullptr;
    QPushButton *Button1 = nullptr; // close
    QMenu *PopupMenu1 = nullptr;
    QAction *mnuCopy = nullptr;
    QAction *SelectAll1 = nullptr;

    void btnRefresh585Click();

private:
    RouterLog &m_log;
};
