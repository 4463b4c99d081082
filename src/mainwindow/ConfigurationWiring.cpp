#include "mainwindow/ConfigurationWiring.h"

#include "acquisition/BitLoadingRefresh.h"
#include "configuration/RouterSearchTextPage.h"
#include "configuration/TForm17.h"
#include "configuration/TForm18.h"
#include "configuration/TForm2.h"
#include "notify/Mailer.h"
#include "notify/StatisticsLog.h"
#include "pages/AlarmPage.h"
#include "pages/WebServerPage.h"

#include <QCheckBox>
#include <QPushButton>

TForm2 *createConfiguration(QWidget *window, const ConfigurationParts &parts, const ConfigurationHost &host)
{
    auto *config = new TForm2(parts.settings, parts.run, parts.settingsFilePath, parts.buildStamp, window);
    config->setSaver(host.save);
    config->setSettingsHub(&parts.hub);
    QObject::connect(config, &TForm2::helpRequested, window, host.help);
    QPushButton *webStart = parts.webPage.btnWebStart;
    config->setWebServerRunning([webStart] { return webStart->isChecked(); });
    // The alarm page's state box is offered to DG834 routers.
    const TSettings *settings = &parts.settings;
    AlarmPage *alarmPage = &parts.alarmPage;
    QObject::connect(config, &TForm2::searchPageShown, window,
                     [settings, alarmPage] { alarmPage->cbState->setEnabled(settings->System.IsDG834); });
    QObject::connect(config->Search, &RouterSearchTextPage::userFigureTabRequested, window, host.userFigurePage);
    StatisticsLog *log = &parts.log;
    QObject::connect(config, &TForm2::logHeaderRequested, window, [log] { log->setLogHeaderPending(true); });
    QObject::connect(config, &TForm2::trimLogRequested, window, [log] { log->TrimLog(); });
    Mailer *mailer = &parts.mailer;
    QObject::connect(config, &TForm2::sendEmailRequested, window, [mailer](const QString &r) { mailer->SendEmail(r); });
    WebServerPage *webPage = &parts.webPage;
    QObject::connect(config, &TForm2::webServerStopRequested, window, [webPage] { webPage->btnWebStopClick(); });
    DialogOwner *owner = &parts.owner;
    QObject::connect(config, &TForm2::iconFontDialogRequested, window, [config, owner] { TForm18::open(config, *owner); });
    QObject::connect(config, &TForm2::maintenanceDialogRequested, window,
                     [config, owner] { TForm17::open(config, *owner); });
    QObject::connect(config, &TForm2::memoFontsChanged, window, host.memoFonts);
    if (host.committed)
        QObject::connect(config, &TForm2::committed, window, host.committed);
    BitLoadingRefresh *bits = &parts.bitsRefresh;
    QObject::connect(config, &TForm2::bitsChartsResetRequested, window, [bits] { bits->setBitsChartsReset(); });
    return config;
}
