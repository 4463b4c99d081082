#include "mainwindow/MainAlarmTelnet.h"

#include "acquisition/TelnetScriptRunner.h"
#include "acquisition/TelnetSession.h"
#include "pages/BitloadingPage.h"
#include "settings/TSettings.h"

void MainAlarmTelnet::SendScript(const QString &fileName)
{
    m_scripts->SendScript(fileName, m_settings.Router.Telnet, m_settings.Router.ST585);
}

void MainAlarmTelnet::SendText(const QString &text) { m_telnet->SendText(text); }

void MainAlarmTelnet::rebootSpeedTouch585()
{
    if (BitloadingPage *page = m_bitloadingPage)
        page->reboot();
}
