#pragma once
// When scheduled chart captures may run (CaptureActive), which charts a poll
// captures and puts on the web, and what each chart's camera indicators show.
#include "acquisition/RunState.h"
#include "settings/TSettings.h"

#include <vector>

struct CameraIndicator {
    int chart = 0;
    bool active = false;   // the active-camera picture shows
    bool inactive = false; // the inactive-camera picture shows
    bool daily = false;    // the daily-capture picture shows
};

class CaptureSchedule {
public:
    // [Capture] AllTheTime, else Never, else BetweenHours with FromHours and
    // ToHours (the window wraps past midnight when From > To) at this hour of
    // the day. Where the settings decide nothing (no mode set, or From = To)
    // the previous value stands.
    static bool captureActiveAt(const TSettings &s, int hour, bool previous);

    // CheckCameras: SampleStamp := now (UTC with [Graph] UTCTime), then
    // CaptureActive for the hour of that stamp. Returns the charts' indicators.
    static std::vector<CameraIndicator> CheckCameras(const TSettings &s, RunState &run);

    // Every chart's camera indicators for this CaptureActive.
    static std::vector<CameraIndicator> indicators(const TSettings &s, bool captureActive);

    // A chart's own capture switch (for the bits and separate bitswap charts
    // together with the bits chart's plot box).
    static bool captureSwitch(const TSettings &s, int chart);
    // The chart's "plot this graph" box; true for charts without one.
    static bool plotBoxChecked(const TSettings &s, int chart);
    // [Capture] Folder is set and is a folder.
    static bool captureFolderExists(const TSettings &s);

    // Sets a chart's own capture switch (the flag its scheduled-capture item
    // ticks). False for a chart without one.
    static bool setCaptureSwitch(TSettings &s, int chart, bool on);

    // "Capture All": the charts whose capture switch and plot box are on, in
    // the button's order (status-page charts, telnet charts, bits, bitswaps).
    static std::vector<int> captureAllCharts(const TSettings &s);

    // The charts a poll captures with mode "Auto", in order (the SpeedTouch
    // 585's bitswaps-over-time chart follows its own rule).
    static std::vector<int> autoCaptureCharts(const TSettings &s);
    // The charts a poll writes to the web folder, in order.
    static std::vector<int> webImageCharts(const TSettings &s);
};
