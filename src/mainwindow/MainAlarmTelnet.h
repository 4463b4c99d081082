#pragma once
// The alarm actions' telnet commands go over the window's telnet session.
#include "notify/AlarmTelnet.h"

class BitloadingPage;
class TelnetScriptRunner;
class TelnetSession;
struct TSettings;

class MainAlarmTelnet : public AlarmTelnet {
public:
    // The window's pointers are read when a command goes out: the sessions and the
    // SpeedTouch 585 page (null without one) are made after the alarm actions.
    MainAlarmTelnet(const TSettings &settings, TelnetScriptRunner *const &scripts, TelnetSession *const &telnet,
                    BitloadingPage *const &bitloadingPage)
        : m_settings(settings), m_scripts(scripts), m_telnet(telnet), m_bitloadingPage(bitloadingPage)
    {
    }

    void SendScript(const QString &fileName) override;
    void SendText(const QString &text) override;
    void rebootSpeedTouch585() override;

private:
    const TSettings &m_settings;
    TelnetScriptRunner *const &m_scripts;
    TelnetSession *const &m_telnet;
    BitloadingPage *const &m_bitloadingPage;
};
