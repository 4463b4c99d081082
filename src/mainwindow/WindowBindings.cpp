#include "mainwindow/WindowBindings.h"

const std::vector<LiveBinding> &windowBindings()
{
    static const std::vector<LiveBinding> table = {
        // "Check to plot graph" boxes of the status-page charts
        {"cbHNoise", "Graph", "cbHNoise"},
        {"cbUHNoise", "Graph", "cbUHNoise"},
        {"cbHSync", "Graph", "cbHSync"},
        {"cbUHSync", "Graph", "cbUHSync"},
        {"cbHUser", "Graph", "cbHUser"},
        {"cbHUser2", "Graph", "cbHUser2"},
        // ... of the telnet charts (the dialog's "Plotting" button clears the first fourteen)
        {"cbNoise", "Telnet", "cbNoise"},
        {"cbSync", "Telnet", "cbSync"},
        {"cbICRC", "Telnet", "cbICRC"},
        {"cbIFEC", "Telnet", "cbIFEC"},
        {"cbIHEC", "Telnet", "cbIHEC"},
        {"cbFastCRC", "Telnet", "cbFastCRC"},
        {"cbFastFEC", "Telnet", "cbFastFEC"},
        {"cbFastHEC", "Telnet", "cbFastHEC"},
        {"cbUICRC", "Telnet", "cbUICRC"},
        {"cbUIFEC", "Telnet", "cbUIFEC"},
        {"cbUIHEC", "Telnet", "cbUIHEC"},
        {"cbUFastCRC", "Telnet", "cbUFastCRC"},
        {"cbUFastFEC", "Telnet", "cbUFastFEC"},
        {"cbUFastHEC", "Telnet", "cbUFastHEC"},
        {"cbRxTotal", "Telnet", "RxTotal"},
        {"cbTxTotal", "Telnet", "TxTotal"},
        {"cbTelnetUserDown", "Telnet", "cbUserDown"},
        {"cbTelnetUserUp", "Telnet", "cbUserUp"},
        {"cbPing", "Ping", "Ping"},
        {"edPingAddress", "Ping", "PingHost"},
        // The tone charts' boxes and their switches on the Options page
        {"cbBits", "Telnet", "BitsGraph"},
        {"cbBitswap", "Telnet", "BitswapGraph"},
        {"cbSepHistogram", "Telnet", "SepHistogram"},
        // Options of the bit-loading refresh and the tone charts
        {"cbBitsRefresh", "Telnet", "BitsRefresh"},
        {"spRefreshBitsEvery", "Telnet", "RefreshBitsEvery"},
        {"cbDontRefreshWhenMin", "Telnet", "DontrefreshWhenMin"},
        {"rbUseSameSamples", "Telnet", "UseSameSamples"},
        {"rbUseSameTime", "Telnet", "UseSameTime"},
        {"cbShowAttenuation", "Telnet", "ShowAttenuation"},
        {"rbSNR", "Telnet", "rbSNR"},
        {"rbSNRMargin", "Telnet", "rbSNRMargin"},
        {"spClipSNRMargin", "Telnet", "ClipSNRMargin"},
        {"spClipMinSNRMargin", "Telnet", "ClipMinSNRMargin"},
        {"cbSNRPoints", "Telnet", "SNRPoints"},
        {"cbVerticalGrid", "Telnet", "Grid"},
        {"rbSNRSteps", "Telnet", "Steps"},
        {"rbSNRRamp", "Telnet", "Ramp"},
        {"cbAdjustBitswapScale", "Telnet", "BitswapScale"},
        {"cb3D", "Telnet", "3D"},
        {"mnuSwapBitswapPlots", "Telnet", "SwapBitswapPlots"},
    };
    return table;
}
