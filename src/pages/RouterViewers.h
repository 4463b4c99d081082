#pragma once
// Opens the router's pages in their viewers: the router log (or the
// SpeedTouch 585 event log) and the status page's source.
#include "acquisition/RunState.h"
#include "settings/TSettings.h"

#include <QObject>
#include <QPointer>

class QWidget;
class RouterHttpClient;
class RouterLog;
class TForm5;
class TForm7;

class RouterViewers : public QObject {
    Q_OBJECT
public:
    // window: the main window, the viewers' parent and reference corner;
    // settingsFile: the settings file, beside which the router log file goes.
    RouterViewers(TSettings &settings, RunState &run, RouterHttpClient &http, RouterLog &log,
                  const QString &settingsFile, QWidget *window);

    // btnViewRouterLogClick: fetch and cut the log and show it; the 585's
    // event page for that router.
    void btnViewRouterLogClick();
    void View585Log();
    // mnuViewSourceClick: the status page's source in the log viewer.
    void mnuViewSourceClick();

    TForm5 *logViewer() const;
    TForm7 *eventViewer() const;

signals:
    void systemMessage(const QString &text);
    // A viewer stored its menu's choices in the settings.
    void settingsChanged();
    void messageBox(const QString &text);

private:
    TForm5 *openViewer(int mode, const QString &text);

    TSettings &m_settings;
    RunState &m_run;
    RouterHttpClient &m_http;
    RouterLog &m_log;
    const QString &m_settingsFile;
    QWidget *m_window;
    QPointer<TForm5> m_viewer;
    QPointer<TForm7> m_events;
};
