#pragma once
// The run state the polling cycle and the subsystems around it share: this
// poll's figures, the counters and flags of a run. Owned by the main window.
#include <QDateTime>
#include <QString>
#include <array>

struct SampleFigures {
    float RxNoise = 0; // dB
    float TxNoise = 0;
    float RxSync = 0; // kbit/s
    float TxSync = 0;
    double UserValue1 = 0;
    double UserValue2 = 0;
};

struct RunState {
    SampleFigures Figures;
    // Line figures this poll's answered page did not hold, indexed as the
    // [Log] Log flags (Rx noise, Rx sync, user 1, Tx noise, Tx sync, user 2):
    // no reading, so their charts get a gap.
    std::array<bool, 6> FigureNotFound{};
    float LastGoodRxNoise = 0; // fallbacks of the label search; Run clears them
    float LastGoodRxSync = 0;

    bool Running = false;           // Run is down and the polling timer armed
    bool StoppedSinceRound = false; // set by Stop: keep the figures, skip Run's immediate cycle
    QDateTime SampleStamp;          // time of the latest stamped action (local or UTC)
    qint64 SampleCount = 0;         // polls since start-up; never reset
    int PointsPlotted = 0;          // polls since Run, capped at [System] Points
    qint64 LastSampleSecond = 0;    // Unix seconds of the previous poll, for gaps
    bool IconAlarmState = false;
    QString LogLine;
    QString PointLabelFormat = QStringLiteral(" hh:nn:ss");
    bool ScheduleWaiting = false;
    bool SchedulePlotOnly = false;
    bool PlotSuppressed = false; // this poll fetches and logs but plots nothing (plot-only run off hours)
    bool CaptureActive = false;
    bool RebootInProgress = false;
    QString ConnectionStatus = QStringLiteral("Connected");
    QString WanIPAddress;
    QString LastWanIPAddress;
    // The SpeedTouch 585's data counters as its link page shows them.
    QString ThomsonDataUnit;
    QString ThomsonDataSent;
    QString ThomsonDataReceived;
    bool BytesInterfaceFound = false; // the telnet reply showed interface byte counters
    double UserDiffBase1 = 0; // previous raw user figures, for the difference mode; Run clears them
    double UserDiffBase2 = 0;
    QString AttenuationUpText; // for the image captions
    QString AttenuationDownText;
};
