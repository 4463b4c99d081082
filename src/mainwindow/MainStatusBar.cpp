#include "mainwindow/MainStatusBar.h"

#include "common/Trace.h"
#include "widgets/ElidingLabel.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

namespace {

constexpr int kPanelWidths[4] = {210, 125, 158, 50};

void call(const std::function<void()> &f)
{
    if (f)
        f();
}

} // namespace

MainStatusBar MainStatusBar::build(QMainWindow *window, const MainStatusBarHost &host)
{
    MainStatusBar s;
    auto *bar = new QStatusBar(window);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < 4; ++i) {
        auto *panel = new ElidingLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setMinimumWidth(kPanelWidths[i]);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setAlignment((i == 1 || i == 2 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
        bar->addWidget(panel, i == 3 ? 1 : 0);
        s.panels[i] = panel;
    }
    window->setStatusBar(bar);

    QMenu *popup = s.StatusPopup = new QMenu(window);
    s.StatusPopup->setObjectName(QStringLiteral("StatusPopup"));
    s.mnuStartWebServer = s.StatusPopup->addAction(QObject::tr("Start web server"));
    s.mnuStartWebServer->setObjectName(QStringLiteral("mnuStartWebServer"));
    s.mnuEnableLog = s.StatusPopup->addAction(QObject::tr("Enable Log"));
    s.mnuEnableLog->setObjectName(QStringLiteral("mnuEnableLog"));
    bar->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(bar, &QWidget::customContextMenuRequested, window,
                     [popup, bar](const QPoint &pos) { popup->popup(bar->mapToGlobal(pos)); });
    QObject::connect(popup, &QMenu::aboutToShow, window, [f = host.popupShowing] { call(f); });
    QObject::connect(s.mnuStartWebServer, &QAction::triggered, window, [f = host.startWebServer] { call(f); });
    QObject::connect(s.mnuEnableLog, &QAction::triggered, window, [f = host.enableLog] { call(f); });
    return s;
}

void MainStatusBar::setPanel(int panel, const QString &text) const
{
    if (panel < 0 || panel > 3 || panels[panel]->fullText() == text)
        return;
    panels[panel]->setFullText(text);
    trace::write(QStringLiteral("status%1").arg(panel), text);
}

QString MainStatusBar::panel(int panel) const
{
    return panel >= 0 && panel <= 3 ? panels[panel]->fullText() : QString();
}

void MainStatusBar::showPopupTexts(bool webServerRunning, bool logging) const
{
    mnuStartWebServer->setText(webServerRunning ? QObject::tr("Stop web server") : QObject::tr("Start web server"));
    mnuEnableLog->setText(logging ? QObject::tr("Stop Logging") : QObject::tr("Start Logging"));
}
