// Telnet statistics replies through the three firmware families' parsers,
// with the status page's figures (which stand in for missing ones) taking
// any value a float can hold.
#include "FuzzSupport.h"
#include "acquisition/TelnetParsers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider p(data, size);
    TSettings s = fuzzsupport::defaults();
    s.System.Correct = p.ConsumeBool();
    s.System.Regional = p.ConsumeBool();
    s.Telnet.TelnetRetry = p.ConsumeBool();
    s.Telnet.RxTotal = p.ConsumeBool();
    s.Telnet.SFCounter = p.ConsumeBool() ? p.ConsumeFloatingPoint<double>() : 16.168;
    s.Telnet.TelnetPrompt = p.ConsumeBool() ? QStringLiteral("/ #") : QStringLiteral("#");
    TelnetRequestFlags flags;
    flags.StatsRequested = p.ConsumeBool();
    flags.ExtendedRequested = p.ConsumeBool();
    flags.DebugCheckPending = p.ConsumeBool();
    flags.BitsReplyExpected = p.ConsumeBool();
    SampleFigures http;
    http.RxNoise = p.ConsumeFloatingPoint<float>();
    http.RxSync = p.ConsumeFloatingPoint<float>();
    http.TxSync = p.ConsumeFloatingPoint<float>();
    const qint64 sampleCount = p.ConsumeIntegral<qint64>();
    const int family = p.ConsumeIntegralInRange(0, 2);
    const QString reply = fuzzsupport::latin1(p.ConsumeRemainingBytesAsString());

    TelnetFigures f;
    for (int round = 0; round < 2; ++round) { // the second sees the first's figures as previous ones
        switch (family) {
        case 0:
            ParseData(reply, s, flags, http, sampleCount, f);
            break;
        case 1:
            ParseDataV4(reply, s, flags, http, sampleCount, f);
            break;
        default:
            ParseDataV5(reply, s, flags, http, sampleCount, f);
            break;
        }
    }
    return 0;
}
