#include "pages/MainPages.h"

#include "acquisition/RunState.h"
#include "chartimages/GraphImages.h"
#include "notify/CaptureSchedule.h"
#include "pages/AlarmPage.h"
#include "pages/BitloadingPage.h"
#include "pages/BitsTonePage.h"
#include "pages/PingControls.h"
#include "pages/StatusPageTab.h"
#include "pages/TForm16.h"
#include "pages/TargetSnrPage.h"
#include "pages/TelnetPage.h"
#include "pages/TelnetPages.h"
#include "pages/TerminalCommandBar.h"
#include "pages/ToneWiring.h"
#include "pages/WebServerPage.h"
#include "settings/SettingsHub.h"
#include "settings/TSettings.h"

#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>

MainPages buildMainPages(QWidget *window, QTabWidget *pages, const MainPagesParts &parts, const MainPagesHost &host)
{
    MainPages built;
    TSettings &settings = parts.settings;
    // The ping page shows ping's own output beside its chart, and its own controls.
    for (int i = 0; i < pages->count(); ++i) {
        QWidget *page = pages->widget(i);
        if (page->objectName() == QLatin1String("  Ping  ")) {
            built.pingControls = new PingControls(parts.charts, parts.hub, page, window);
            built.Memo6 = built.pingControls->Memo6;
        }
    }
    // The session's summary and the terminal are the first pages of the telnet tab.
    for (int i = 0; i < pages->count(); ++i) {
        QWidget *page = pages->widget(i);
        if (page->objectName() != QLatin1String("Telnet Router"))
            continue;
        if (auto *tabs = page->findChild<QTabWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            TelnetPagesHost telnetHost;
            telnetHost.messageBox = host.messageBox;
            telnetHost.systemMessage = host.systemMessage;
            const TelnetPages telnet = buildTelnetPages(window, tabs, parts.hub, parts.run, parts.telnet, parts.charts,
                                                        parts.figures, telnetHost);
            built.telnetPage = telnet.page;
            built.btnFont = telnet.btnFont;
            if (auto *snrPage = tabs->findChild<TargetSnrPage *>())
                QObject::connect(snrPage, &TargetSnrPage::lastAdjusted, window, [hub = &parts.hub](const QString &text) {
                    hub->change([&](TSettings &s) { s.Telnet.LastAdjust = text; });
                });
            QObject::connect(telnet.page->commands, &TerminalCommandBar::userCommandChanged, window,
                             [hub = &parts.hub](int which, const QString &command) {
                                 hub->change([&](TSettings &s) { (which == 1 ? s.Telnet.User1 : s.Telnet.User2) = command; });
                             });
            QObject::connect(tabs, &QTabWidget::currentChanged, window, [f = host.pageChanged] { f(); });
            QObject::connect(built.btnFont, &QPushButton::clicked, window, [f = host.fontClicked] { f(); });
        }
    }
    built.bitsPage = buildBitsTonePage(pages, settings, built.bitsOptionsTab);
    BitloadingPageHost host585;
    host585.running = host.running;
    host585.hiddenInTray = host.hiddenInTray;
    host585.macroClicked = [window, &scripts = parts.scripts, &fileName = parts.scriptFileName,
                            &settingsFile = parts.settingsFilePath] {
        TForm16::btnMacroClick(window, scripts, fileName, QFileInfo(settingsFile).absolutePath());
    };
    built.bitloadingPage = buildBitloadingPage(pages, settings, parts.run, parts.figures, parts.images.bitsRefresh(),
                                               parts.thomson, parts.tones, parts.bits, parts.scripts, host585);
    {
        QTabWidget *bitsTabs = nullptr;
        if (QWidget *bitsTab = pages->findChild<QWidget *>(QStringLiteral("Bits / Tone")))
            bitsTabs = bitsTab->findChild<QTabWidget *>(QString(), Qt::FindDirectChildrenOnly);
        ToneWiringHost toneHost;
        toneHost.hiddenInTray = host.hiddenInTray;
        toneHost.bitswapCapture = [&settings = parts.settings, &run = parts.run, &images = parts.images, check = host.checkCameras] {
            if (!CaptureSchedule::captureFolderExists(settings))
                return;
            check(); // the capture pictures show the schedule's verdict too
            if (run.CaptureActive && !settings.Capture.Never)
                images.Save(22, QStringLiteral("Chart22"));
        };
        wireToneCharts(window, parts.bits, parts.tones, built.bitsPage, built.bitsPage ? bitsTabs : nullptr,
                       parts.telnet, parts.hub, parts.charts, parts.run, toneHost);
    }

    // The SpeedTouch 585 bit-loading page leads to the bit-loading options.
    for (QWidget *page : pages->findChildren<QWidget *>(QStringLiteral("Bits/Tone"))) {
        built.Button2 = new QPushButton(QObject::tr("Options..."), page);
        built.Button2->setObjectName(QStringLiteral("Button2"));
        page->layout()->addWidget(built.Button2);
        QObject::connect(built.Button2, &QPushButton::clicked, window, [f = host.optionsClicked] { f(); });
    }
    return built;
}

WindowTabs buildWindowTabs(QWidget *window, QTabWidget *pages, int lineCap, TSettings &settings, RunState &run,
                           SettingsHub &hub, AlarmActions &actions, AlarmInputs &inputs, StatisticsLog &log,
                           RouterHttpClient &http, QAction *saveWindowImage, const std::function<void()> &saveMessages,
                           const std::function<void(const QString &)> &systemMessage)
{
    WindowTabs built;
    built.messages = buildSystemMessagesTab(pages, lineCap);
    QObject::connect(built.messages.Button1, &QPushButton::clicked, window, [saveMessages] { saveMessages(); });
    pages->addTab(built.messages.page, QObject::tr("System Messages"));

    built.alarms = new AlarmPage(hub, run, actions, inputs, log, pages);
    pages->addTab(built.alarms, QObject::tr("Alarms"));

    built.statusPage = new StatusPageTab(settings, run, http, pages);
    pages->addTab(built.statusPage, QObject::tr("Router Status Page"));
    built.statusPage->HTMLStatsPopup->addSeparator();
    built.statusPage->HTMLStatsPopup->addAction(saveWindowImage);

    built.webServer = new WebServerPage(hub, pages);
    pages->addTab(built.webServer, WebServerPage::caption());
    QObject::connect(built.webServer, &WebServerPage::systemMessage, window, systemMessage);
    return built;
}
