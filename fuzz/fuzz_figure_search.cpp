// Router status pages through the figure search, with every method and the
// numbering switches, taught positions and bias anywhere an int reaches.
#include "FuzzSupport.h"
#include "acquisition/FigureSearch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider p(data, size);
    TSettings s = fuzzsupport::defaults();
    switch (p.ConsumeIntegralInRange(0, 2)) {
    case 0:
        s.Router.ST585 = true;
        s.System.IsDG834 = false;
        break;
    case 1:
        s.Router.ST585 = false;
        s.System.IsDG834 = true;
        break;
    default:
        s.Router.ST585 = false;
        s.System.IsDG834 = false;
        break;
    }
    s.System.Numbering = p.ConsumeIntegralInRange(0, 1);
    s.NumberDecimalChar = QLatin1Char(s.System.Numbering ? ',' : '.');
    s.NumberGroupChar = QLatin1Char(s.System.Numbering ? '.' : ',');
    s.System.Regional = p.ConsumeBool();
    s.System.Correct = p.ConsumeBool();
    s.Graph.Scale1000 = p.ConsumeBool();
    s.Graph.Scale10 = p.ConsumeBool();
    s.Search.UseSource = p.ConsumeBool();
    s.Search.LoopBack = p.ConsumeBool();
    s.Capture.OverlayAtt = p.ConsumeBool();
    s.Search.NoisePos = fuzzsupport::settingInt(p, 6000);
    s.Search.UNoisePos = fuzzsupport::settingInt(p, 6000);
    s.Search.SyncPos = fuzzsupport::settingInt(p, 6000);
    s.Search.USyncPos = fuzzsupport::settingInt(p, 6000);
    s.Search.UserPos = fuzzsupport::settingInt(p, 6000);
    s.Search.UserPos2 = fuzzsupport::settingInt(p, 6000);
    s.Bias.RxNoiseBias = fuzzsupport::settingInt(p, 100);
    if (p.ConsumeBool()) {
        s.Search.UserText = fuzzsupport::latin1(p.ConsumeRandomLengthString(16));
        s.Search.UserText2 = fuzzsupport::latin1(p.ConsumeRandomLengthString(16));
    }

    FigureSearchInput in;
    in.LastGoodRxNoise = p.ConsumeFloatingPoint<float>();
    in.LastGoodRxSync = p.ConsumeFloatingPoint<float>();
    in.UserDiffBase1 = p.ConsumeFloatingPoint<double>();
    in.ThomsonDataUnit = fuzzsupport::latin1(p.ConsumeRandomLengthString(12));
    in.ThomsonDataSent = fuzzsupport::latin1(p.ConsumeRandomLengthString(16));
    in.ThomsonDataReceived = fuzzsupport::latin1(p.ConsumeRandomLengthString(16));

    const QString page = FigureSearch::preparePage(fuzzsupport::latin1(p.ConsumeRemainingBytesAsString()), s);
    const FigureSearchResult r = FigureSearch::run(page, s, in);
    // Feed the result back as the next poll would.
    in.Figures = r.Figures;
    in.LastGoodRxNoise = r.LastGoodRxNoise;
    in.LastGoodRxSync = r.LastGoodRxSync;
    FigureSearch::run(page, s, in);
    return 0;
}
