// The side results of a poll: WAN address, 585 link page, uptime texts and
// connection state, with label offsets anywhere an int reaches.
#include "FuzzSupport.h"
#include "acquisition/LineStatusParsers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider p(data, size);
    TSettings s = fuzzsupport::defaults();
    s.Router.ST585 = p.ConsumeBool();
    s.Router.V5 = p.ConsumeBool();
    s.Router.V1234 = p.ConsumeBool();
    s.System.IsDG834 = s.Router.V5 || s.Router.V1234;
    s.System.StatusBarWAN = p.ConsumeBool();
    s.System.StatusBarTelnet = p.ConsumeBool();
    s.UpTime.UpTimePos = fuzzsupport::settingInt(p, 3000);
    s.IPAddress.IPOffset = fuzzsupport::settingInt(p, 100);
    if (p.ConsumeBool()) {
        s.UpTime.UpTimeText = fuzzsupport::latin1(p.ConsumeRandomLengthString(16));
        s.IPAddress.String = fuzzsupport::latin1(p.ConsumeRandomLengthString(48));
    }
    const QString unit = fuzzsupport::latin1(p.ConsumeRandomLengthString(12));
    const QString page = fuzzsupport::latin1(p.ConsumeRemainingBytesAsString());

    linestatus::findWanAddress(page, linestatus::wanAddressPage(s));
    const linestatus::St585Link link = linestatus::parseSt585Link(page);
    linestatus::restyleSt585Page(page, link.dataUnit.isEmpty() ? unit : link.dataUnit, link.dataSent,
                                 link.dataReceived);
    if (const auto u = linestatus::st585Uptime(page))
        linestatus::uptimeDaysForm(*u);
    if (const auto u = linestatus::v5Uptime(page))
        linestatus::uptimeDaysForm(*u);
    if (const auto u = linestatus::taughtUptime(page, s.UpTime.UpTimeText, s.UpTime.UpTimePos))
        linestatus::uptimeDaysForm(*u);
    linestatus::uptimeDaysForm(page.left(64));
    linestatus::uptimePanel(page, s, s.System.StatusBarTelnet);
    linestatus::connectionState(page);
    return 0;
}
