#pragma once
// What a polling cycle asks of the rest of the program, step by step. The
// main window implements it by handing each step to the subsystem that owns
// it; a step that has nothing to do yet keeps the default.
//
// Steps that may wait on the network take a continuation and must call it
// exactly once (or never, when the cycle was cancelled meanwhile).
#include "settings/SettingTypes.h"

#include <QString>
#include <functional>

class PollingCycleHost {
public:
    using Next = std::function<void()>;
    virtual ~PollingCycleHost() = default;

    virtual void systemMessage(const QString &text) = 0;

    // A new log line starts (the separators are fixed for this poll).
    virtual void startLogLine() {}
    // Gap series shown per showGaps; gap points when isGap, else low fillers.
    virtual void gapStep(bool showGaps, bool isGap) {}
    // Decides whether scheduled capture is allowed now (sets CaptureActive).
    virtual void checkCameras() {}
    // The page as the searches see it (source A / source B preparation).
    virtual void preparePage(QString &page) {}
    // May shorten the page the figures are then searched in (the SpeedTouch 585's).
    virtual void wanAddressStep(QString &page, Next next) { next(); }
    virtual void logHeaderStep(const QString &page) {}
    virtual void dg834DetectionStep(const QString &page, bool firstCycle, Next next) { next(); }
    virtual void extractFigures(const QString &page) {}
    virtual void uptimeStep(const QString &page) {}
    virtual void webImagesStep() {}
    virtual void scheduledCapturesStep() {}
    // The colour of this poll's points; may set IconAlarmState.
    virtual TColor choosePointColour(bool noAnswer) { return 0; }
    // Plots the poll's points; returns the colour after the alarm thresholds.
    virtual TColor plotHttpStep(TColor colour) { return colour; }
    virtual void iconNoise(TColor colour) {}
    virtual void telnetStep(bool firstCycle) {}
    virtual void telnetAverageStep() {}
    virtual void alarmInputsStep() {}
    // The telnet charts get what the replies read since the last poll, and
    // the log line their items; done before the ping, so a reply landing
    // while the cycle waits for it is the next poll's reading.
    virtual void logItemsAndTelnetChartsStep() {}
    // This poll's ping; next once it has answered or given up (bounded by its own time-out).
    virtual void pingStep(Next next) { next(); }
    // The ping's and the uptime's log items and the timeline scroll.
    virtual void afterPingItemsStep() {}
    virtual void writeLogStep() {}
    virtual void changeAlarmsStep() {}
    virtual void connectionStep(Next next) { next(); }
    virtual void trayHintStep() {}
    // The cycle was cancelled: drop any step still waiting on the network.
    virtual void cancelSteps() {}
};
