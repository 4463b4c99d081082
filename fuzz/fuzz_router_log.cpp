// The router's log page cut between its start and end texts.
#include "FuzzSupport.h"
#include "acquisition/RouterLog.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider p(data, size);
    RouterLogCut cut;
    cut.family = p.ConsumeBool() ? RouterLogFamily::St585 : RouterLogFamily::Netgear;
    cut.offset = fuzzsupport::settingInt(p, 200);
    if (p.ConsumeBool()) {
        cut.start = fuzzsupport::latin1(p.ConsumeRandomLengthString(40));
        cut.end = fuzzsupport::latin1(p.ConsumeRandomLengthString(20));
    } else {
        const RouterLogRequest r = routerLogRequest(fuzzsupport::defaults(), RouterLogCaller::View);
        cut.start = r.cut.start;
        cut.end = r.cut.end;
    }
    const QString log = cutRouterLog(fuzzsupport::latin1(p.ConsumeRemainingBytesAsString()), cut);
    reverseLogLines(log.split(QStringLiteral("\r\n")));
    return 0;
}
