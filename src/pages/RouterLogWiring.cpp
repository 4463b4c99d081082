#include "pages/RouterLogWiring.h"

#include "acquisition/RouterLog.h"
#include "pages/RouterViewers.h"
#include "pages/StatusPageTab.h"

#include <QAbstractButton>
#include <QTabWidget>

RouterLogViewers buildRouterLogViewers(QWidget *window, TSettings &settings, RunState &run, RouterHttpClient &http,
                                       const QString &settingsFilePath, QAbstractButton *viewRouterLog,
                                       QTabWidget *pages, StatusPageTab *statusPage, const WindowHost &host)
{
    const auto messageBox = host.messageBox;
    auto *log = new RouterLog(http, settings, window);
    QObject::connect(log, &RouterLog::systemMessage, window, host.systemMessage);
    QObject::connect(log, &RouterLog::showMessage, window, [messageBox](const QString &text) { messageBox(text, false); });

    auto *viewers = new RouterViewers(settings, run, http, *log, settingsFilePath, window);
    QObject::connect(viewers, &RouterViewers::systemMessage, window, host.systemMessage);
    QObject::connect(viewers, &RouterViewers::messageBox, window,
                     [messageBox](const QString &text) { messageBox(text, false); });
    QObject::connect(viewRouterLog, &QAbstractButton::clicked, viewers, &RouterViewers::btnViewRouterLogClick);
    QObject::connect(statusPage, &StatusPageTab::viewSourceRequested, viewers, &RouterViewers::mnuViewSourceClick);
    // Showing the status page tab refreshes its view.
    QObject::connect(pages, &QTabWidget::currentChanged, window, [window, pages, statusPage] {
        if (pages->currentWidget() == statusPage && window->isVisible())
            statusPage->Refresh1Click();
    });
    return {log, viewers};
}
