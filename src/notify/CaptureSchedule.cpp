#include "notify/CaptureSchedule.h"

#include "common/Clock.h"

#include <QFileInfo>
#include <iterator>

namespace {

// The status-page charts in flag-string order.
constexpr int kHttpCharts[] = {1, 2, 3, 18, 20, 19};
// The telnet time charts in flag-string order (their position is their flag index).
constexpr int kTelnetCharts[] = {16, 17, 5, 6, 7, 4, 8, 9, 12, 11, 10, 15, 14, 13, 23, 24, 30, 31};
// Every chart with camera indicators.
constexpr int kCameraCharts[] = {1,  18, 2,  20, 3,  19, 16, 17, 5,  6,  7,  4,  8,  9,  12, 11,
                                 10, 15, 14, 13, 23, 24, 30, 31, 21, 29, 22, 25, 26, 27, 28};

bool flagAt(const QString &flags, int index)
{
    return index >= 0 && index < flags.size() && flags.at(index) == QLatin1Char('1');
}

int telnetIndex(int chart)
{
    for (int i = 0; i < int(std::size(kTelnetCharts)); ++i) {
        if (kTelnetCharts[i] == chart)
            return i;
    }
    return -1;
}

int httpIndex(int chart)
{
    for (int i = 0; i < int(std::size(kHttpCharts)); ++i) {
        if (kHttpCharts[i] == chart)
            return i;
    }
    return -1;
}

} // namespace

bool CaptureSchedule::captureActiveAt(const TSettings &s, int hour, bool previous)
{
    const auto &c = s.Capture;
    if (c.AllTheTime)
        return true;
    if (c.Never)
        return false;
    if (!c.BetweenHours)
        return previous;
    if (c.FromHours > c.ToHours)
        return hour >= c.FromHours || hour < c.ToHours;
    if (c.FromHours < c.ToHours)
        return hour >= c.FromHours && hour < c.ToHours;
    return previous;
}

std::vector<CameraIndicator> CaptureSchedule::CheckCameras(const TSettings &s, RunState &run)
{
    run.SampleStamp = s.Graph.UTCTime ? Clock::currentDateTimeUtc() : Clock::currentDateTime();
    run.CaptureActive = captureActiveAt(s, run.SampleStamp.time().hour(), run.CaptureActive);
    return indicators(s, run.CaptureActive);
}

bool CaptureSchedule::captureFolderExists(const TSettings &s)
{
    const QString folder = s.Capture.Folder.trimmed();
    return !folder.isEmpty() && QFileInfo(folder).isDir();
}

bool CaptureSchedule::captureSwitch(const TSettings &s, int chart)
{
    switch (chart) {
    case 1: return s.Capture.Noise;
    case 18: return s.Capture.UNoise;
    case 2: return s.Capture.Sync;
    case 20: return s.Capture.USync;
    case 3: return s.Capture.User;
    case 19: return s.Capture.User2;
    case 30: return s.Telnet.CaptureUserDown;
    case 31: return s.Telnet.CaptureUserUp;
    case 21: return s.Telnet.CaptureBits && s.Telnet.BitsGraph;
    case 29: return s.Telnet.SepCapture && s.Telnet.BitsGraph;
    case 22: return s.Telnet.BitswapCapture;
    case 25: return s.Ping.Capture;
    case 26: return s._585Telnet.CaptureBits2;
    case 27: return s._585Telnet.ThomsonBitswapCap;
    case 28: return s._585Telnet.ThomsonBitswapTimeCap;
    default: break;
    }
    const int i = telnetIndex(chart);
    return i >= 0 && i < int(s.CaptureTelnetFlags.size()) && s.CaptureTelnetFlags[size_t(i)];
}

bool CaptureSchedule::setCaptureSwitch(TSettings &s, int chart, bool on)
{
    switch (chart) {
    case 1: s.Capture.Noise = on; return true;
    case 18: s.Capture.UNoise = on; return true;
    case 2: s.Capture.Sync = on; return true;
    case 20: s.Capture.USync = on; return true;
    case 3: s.Capture.User = on; return true;
    case 19: s.Capture.User2 = on; return true;
    case 30: s.Telnet.CaptureUserDown = on; return true;
    case 31: s.Telnet.CaptureUserUp = on; return true;
    case 21: s.Telnet.CaptureBits = on; return true;
    case 29: s.Telnet.SepCapture = on; return true;
    case 22: s.Telnet.BitswapCapture = on; return true;
    case 25: s.Ping.Capture = on; return true;
    case 26: s._585Telnet.CaptureBits2 = on; return true;
    case 27: s._585Telnet.ThomsonBitswapCap = on; return true;
    case 28: s._585Telnet.ThomsonBitswapTimeCap = on; return true;
    default: break;
    }
    const int i = telnetIndex(chart);
    if (i < 0 || i >= int(s.CaptureTelnetFlags.size()))
        return false;
    s.CaptureTelnetFlags[size_t(i)] = on;
    return true;
}

std::vector<int> CaptureSchedule::captureAllCharts(const TSettings &s)
{
    std::vector<int> out;
    for (int chart : {1, 18, 2, 20, 3, 19})
        if (captureSwitch(s, chart) && plotBoxChecked(s, chart))
            out.push_back(chart);
    // Positions 0..15 of the telnet flags: the user-defined telnet charts are not part of it.
    for (int i = 0; i < 16; ++i)
        if (captureSwitch(s, kTelnetCharts[i]) && plotBoxChecked(s, kTelnetCharts[i]))
            out.push_back(kTelnetCharts[i]);
    if (captureSwitch(s, 21))
        out.push_back(21);
    if (s.Telnet.BitswapCapture)
        out.push_back(22);
    return out;
}

bool CaptureSchedule::plotBoxChecked(const TSettings &s, int chart)
{
    const auto &t = s.Telnet;
    switch (chart) {
    case 1: return s.Graph.cbHNoise;
    case 2: return s.Graph.cbHSync;
    case 3: return s.Graph.cbHUser;
    case 18: return s.Graph.cbUHNoise;
    case 20: return s.Graph.cbUHSync;
    case 19: return s.Graph.cbHUser2;
    case 16: return t.cbNoise;
    case 17: return t.cbSync;
    case 5: return t.cbICRC;
    case 6: return t.cbIFEC;
    case 7: return t.cbIHEC;
    case 4: return t.cbFastCRC;
    case 8: return t.cbFastFEC;
    case 9: return t.cbFastHEC;
    case 12: return t.cbUICRC;
    case 11: return t.cbUIFEC;
    case 10: return t.cbUIHEC;
    case 15: return t.cbUFastCRC;
    case 14: return t.cbUFastFEC;
    case 13: return t.cbUFastHEC;
    case 23: return t.RxTotal;
    case 24: return t.TxTotal;
    case 30: return t.cbUserDown;
    case 31: return t.cbUserUp;
    case 21: return t.BitsGraph;
    case 25: return s.Ping.Ping;
    default: return true;
    }
}

std::vector<CameraIndicator> CaptureSchedule::indicators(const TSettings &s, bool captureActive)
{
    const bool shown = captureFolderExists(s) && !s.Capture.Never;
    std::vector<CameraIndicator> out;
    out.reserve(std::size(kCameraCharts));
    for (int chart : kCameraCharts) {
        const bool on = captureSwitch(s, chart);
        CameraIndicator i;
        i.chart = chart;
        i.active = on && shown && captureActive;
        i.inactive = on && shown && !captureActive;
        i.daily = on && s.Capture.CaptureAt;
        out.push_back(i);
    }
    return out;
}

std::vector<int> CaptureSchedule::autoCaptureCharts(const TSettings &s)
{
    std::vector<int> out;
    const auto add = [&](int chart, bool condition) {
        if (condition)
            out.push_back(chart);
    };
    for (int chart : {1, 18, 2, 20, 3, 19})
        add(chart, captureSwitch(s, chart) && plotBoxChecked(s, chart));
    if (s.Router.Telnet) {
        for (int chart : kTelnetCharts)
            add(chart, captureSwitch(s, chart) && plotBoxChecked(s, chart));
    }
    add(21, captureSwitch(s, 21));
    add(29, s.Telnet.SepCapture);
    add(25, s.Ping.Capture && s.Ping.Ping);
    if (s.Router.ST585) {
        add(26, s._585Telnet.CaptureBits2);
        add(27, s._585Telnet.ThomsonBitswapCap);
    }
    return out;
}

std::vector<int> CaptureSchedule::webImageCharts(const TSettings &s)
{
    std::vector<int> out;
    const auto add = [&](int chart, bool condition) {
        if (condition)
            out.push_back(chart);
    };
    for (int chart : kHttpCharts)
        add(chart, flagAt(s.Capture.HTTPWeb, httpIndex(chart)) && plotBoxChecked(s, chart));
    if (s.Router.Telnet) {
        for (int chart : kTelnetCharts)
            add(chart, flagAt(s.Telnet.TelnetWeb, telnetIndex(chart)) && plotBoxChecked(s, chart));
    }
    add(21, s.WebServer.Bits);
    add(29, s.WebServer.SepWeb);
    add(22, s.Telnet.BitswapWebserver);
    add(25, s.Ping.Web);
    if (s.Router.ST585) {
        add(26, s._585Telnet.WebServer);
        add(27, s._585Telnet.WebServerTone585);
        add(28, s._585Telnet.WebServerTime585);
    }
    return out;
}
