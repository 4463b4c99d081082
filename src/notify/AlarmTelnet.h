#pragma once
// What the alarm actions need of the telnet sessions.
#include <QString>

class AlarmTelnet {
public:
    virtual ~AlarmTelnet() = default;

    // Sends a script file over whichever session the router family uses.
    virtual void SendScript(const QString &fileName) = 0;
    // Sends one command line over the general telnet session.
    virtual void SendText(const QString &text) = 0;
    // SpeedTouch 585: "system reboot" shown in its pane and sent over its
    // session, which then waits for the "{user}=>" prompt.
    virtual void rebootSpeedTouch585() = 0;
};
