#pragma once
// Pacing of the bit-loading refreshes that the chart captures read and reset:
// the refreshes since the bitswap chart was last captured, the time of the
// latest request (the bits chart's caption time), and the SpeedTouch 585's
// own count and page span of its bitswaps-over-time chart.
#include <QDateTime>

struct BitsRefreshState {
    int BitsRefreshCount = 0;
    QDateTime BitsRefreshStamp;
    int ThomsonRefreshesSinceCapture = 0;
    int ThomsonChartSpan = 0;
};
