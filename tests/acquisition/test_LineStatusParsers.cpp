// The WAN address, link page, uptime and connection-state searches against
// the simulated routers' pages and against the odd pages real routers send.
#include "PageBuilder.h"
#include "acquisition/LineStatusParsers.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

using namespace linestatus;
using routersim::PageBuilder;
using routersim::PageKind;
using routersim::ProfileId;
using routersim::RouterState;

namespace {

TSettings defaults()
{
    SettingsEnvironment env;
    env.settingsPath = QStringLiteral("/nonexistent/veltrano.ini");
    env.now = QDateTime(QDate(2026, 12, 6), QTime(8, 47, 39), Qt::UTC);
    return settingsstore::load(env).settings;
}

QString page(const RouterState &state, ProfileId profile, PageKind kind)
{
    return QString::fromLatin1(PageBuilder(state).build(profile, kind));
}

RouterState routerWith(const QList<QPair<const char *, const char *>> &values)
{
    RouterState s;
    for (const auto &[name, value] : values) {
        QString error;
        EXPECT_TRUE(s.set(QString::fromLatin1(name), QString::fromLatin1(value), &error)) << error.toStdString();
    }
    return s;
}

const QString kV1234Label = QStringLiteral("<TD NOWRAP><B>Getting IP Addresses</B></td>");

} // namespace

TEST(WanAddressSearch, FindsTheAddressBehindTheLabelOnly)
{
    const WanAddressPage v1234{QString(), kV1234Label, 0};
    struct Case {
        const char *name;
        QString page;
        WanAddressPage where;
        const char *expected;
    };
    const Case cases[] = {
        {"after the label", QStringLiteral("<html>") + kV1234Label + "<TD NOWRAP>81.2.69.160</td>", v1234,
         "81.2.69.160"},
        {"offset skips markup", QStringLiteral("IP Address</b></td>    <td class=\"ttext\">10.20.30.40</td>"),
         {QString(), QStringLiteral("IP Address"), 28}, "10.20.30.40"},
        // An address at the page start is not the WAN address when the label is missing.
        {"label missing", QStringLiteral("10.0.0.1 <html>no label here</html>"), v1234, ""},
        {"not an address", kV1234Label + "<TD NOWRAP>300.1.1.1</td>", v1234, ""},
        {"three parts", kV1234Label + "<TD NOWRAP>10.1.1</td>", v1234, ""},
        {"beyond the window", kV1234Label + QString(40, QLatin1Char(' ')) + "10.1.1.1", v1234, ""},
        {"window too short", kV1234Label + "1.2.3", v1234, ""},
        {"empty page", QString(), v1234, ""},
        // Digits and dots only: the run ends at the first other character.
        {"address then text", kV1234Label + "x 192.0.2.1x5", v1234, "192.0.2.1"},
        // A dot before the first digit is markup, not the address.
        {"dot before the address", kV1234Label + ". 192.0.2.1<", v1234, "192.0.2.1"},
        {"dots only", kV1234Label + ".......", v1234, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(findWanAddress(c.page, c.where), QString::fromLatin1(c.expected)) << c.name;
}

TEST(WanAddressSearch, NetgearFamiliesUseTheirOwnPageWithoutTouchingTheSettings)
{
    TSettings s = defaults();
    s.IPAddress.URL = QStringLiteral("custom.htm");
    s.IPAddress.String = QStringLiteral("WAN IP");
    s.IPAddress.IPOffset = 3;

    s.Router.V5 = true;
    const WanAddressPage v5 = wanAddressPage(s);
    EXPECT_EQ(v5.url, QStringLiteral("RST_status.htm"));
    EXPECT_EQ(v5.label, QStringLiteral("IP Address"));
    EXPECT_EQ(v5.offset, 28);

    s.Router.V5 = false;
    s.Router.V1234 = true;
    const WanAddressPage v1234 = wanAddressPage(s);
    EXPECT_EQ(v1234.url, QStringLiteral("setup.cgi?next_file=st_poe.htm"));
    EXPECT_EQ(v1234.label, kV1234Label);
    EXPECT_EQ(v1234.offset, 0);

    s.Router.V1234 = false;
    s.Router.NotNetgear = true;
    const WanAddressPage other = wanAddressPage(s);
    EXPECT_EQ(other.url, QStringLiteral("custom.htm"));
    EXPECT_EQ(other.label, QStringLiteral("WAN IP"));
    EXPECT_EQ(other.offset, 3);
    EXPECT_EQ(s.IPAddress.URL, QStringLiteral("custom.htm"));
}

TEST(St585LinkPage, AddressUnitAndCounters)
{
    struct Case {
        const char *unit;
        const char *sent;
        const char *received;
    };
    const Case cases[] = {{"kB", "1234.56", "98765.43"}, {"MB", "1,234", "0"}, {"GB", "4096.5", "12345678901"}};
    for (const Case &c : cases) {
        const RouterState router = routerWith(
            {{"dataunit", c.unit}, {"DataSent", c.sent}, {"DataReceived", c.received}, {"wan", "203.0.113.99"}});
        const St585Link link = parseSt585Link(page(router, ProfileId::St585, PageKind::Link));
        EXPECT_EQ(link.address, QStringLiteral("203.0.113.99")) << c.unit;
        EXPECT_EQ(link.dataUnit, QStringLiteral("[%1/%1]").arg(QLatin1String(c.unit)));
        EXPECT_EQ(link.dataSent, QString::fromLatin1(c.sent));
        EXPECT_EQ(link.dataReceived, QString::fromLatin1(c.received));
    }
}

TEST(St585LinkPage, ByteUnitAndMissingParts)
{
    // Counted in bytes the unit is one character shorter and its 8 characters reach the next tag.
    const QString bytes = QStringLiteral("<tr><td>Data Transferred (Sent/Received) [B/B]:</td><td colspan='3'>"
                                         "5120 / 70400</td></tr>");
    const St585Link b = parseSt585Link(bytes);
    EXPECT_EQ(b.dataUnit, QStringLiteral("[ B/ B]"));
    EXPECT_EQ(b.address, QString());

    const St585Link invalid = parseSt585Link(
        QStringLiteral("<tr><td width='35%'>IP Address:</td><td colspan='3'>0.0.0.256</td></tr>"));
    EXPECT_EQ(invalid.address, QString());

    const St585Link none = parseSt585Link(QStringLiteral("12.34 / 56.78 no labels 10.0.0.1"));
    EXPECT_EQ(none.address, QString());
    EXPECT_EQ(none.dataUnit, QString());
    EXPECT_EQ(none.dataSent, QString());
    EXPECT_EQ(none.dataReceived, QString());
}

TEST(St585Viewer, RestylesAndCutsTheStatusPage)
{
    const RouterState router;
    const QString status = page(router, ProfileId::St585, PageKind::Status);
    const St585PageView view = restyleSt585Page(status, QStringLiteral("[MB/MB]"), QStringLiteral("12.5"),
                                                QStringLiteral("700.25"));
    EXPECT_FALSE(view.page.contains(QStringLiteral("class='datatable'")));
    EXPECT_TRUE(view.page.contains(
        QStringLiteral("<center><table width='70%' bgcolor='#ffffcc' border='1' cellpadding='3'>")));
    EXPECT_FALSE(view.page.contains(QStringLiteral("spacer.gif")));
    EXPECT_TRUE(view.page.contains(QStringLiteral("(Sent/Received) [MB/MB]</td><td colspan='3'>12.5 / 700.25</td>")));
    // Cut before the table's end, which stands after the last figure.
    EXPECT_TRUE(view.page.endsWith(QStringLiteral("HEC Errors (Up/Down):</td><td colspan='3'>0 / 12")));
    EXPECT_TRUE(view.page.contains(QStringLiteral("SN Margin (Up/Down) [dB]:")));
    EXPECT_TRUE(view.viewerText.startsWith(QStringLiteral("<center><table")));
    EXPECT_TRUE(view.page.endsWith(view.viewerText));
}

TEST(St585Viewer, PagesWithoutTheMarkers)
{
    // No table end: the page stays whole rather than becoming empty for the searches.
    const QString open = QStringLiteral("<div>Link Information</div>") + QString(20, QLatin1Char(' '))
                         + "<table><tr><td>Uptime:</td><td>1:00:00</td></tr>";
    const St585PageView uncut = restyleSt585Page(open, {}, {}, {});
    EXPECT_EQ(uncut.page, open);

    // No "Link Information": shown from the page's 28th character.
    const QString plain = QStringLiteral("0123456789012345678901234567890123456789</td></tr></table>tail");
    const St585PageView view = restyleSt585Page(plain, {}, {}, {});
    EXPECT_EQ(view.page, QStringLiteral("0123456789012345678901234567890123456789"));
    EXPECT_EQ(view.viewerText, QStringLiteral("7890123456789"));
}

// A taught uptime starts at its first digit: ": 12:30:05" reads "12:30:05".
TEST(Uptime, TaughtUptimeStartsAtItsFirstDigit)
{
    const std::pair<const char *, const char *> cases[] = {
        {"UpTime    : 12:30:05<", "12:30:05"}, {"UpTime    ::: 7:01", "7:01"}, {"UpTime    :::", ""}};
    for (const auto &[page, expected] : cases)
        EXPECT_EQ(taughtUptime(QLatin1String(page), QStringLiteral("UpTime"), 1).value_or("?"), QLatin1String(expected));
}

TEST(Uptime, DaysForm)
{
    const QList<QPair<const char *, const char *>> cases = {
        {"49:05:10", "2 d, 01:05:10"}, {"0:00:01", "0 d, 00:00:01"}, {"24:00:00", "1 d, 00:00:00"},
        {"23:59", "0 d, 23:59"},       {"9999:59:59", "416 d, 15:59:59"},
        // Hours that are not a whole number, and texts without hours, stay as they are.
        {":05:10", ":05:10"},          {"1 day 02:03", "1 day 02:03"}, {"12345", "12345"}, {"", ""},
    };
    for (const auto &[in, out] : cases)
        EXPECT_EQ(uptimeDaysForm(QString::fromLatin1(in)), QString::fromLatin1(out)) << in;
}

TEST(Uptime, WhoOwnsThePanel)
{
    const RouterState router = routerWith({{"uptime", "3:00:00"}});
    const QString v1234 = page(router, ProfileId::V1234, PageKind::Status);
    TSettings base = defaults();
    base.Router.V1234 = true;
    base.System.IsDG834 = true;
    base.System.StatusBarWAN = false;

    struct Case {
        const char *name;
        std::function<void(TSettings &)> change;
        bool bytesInterfaceFound;
        QString page;
        PanelUpdate expected;
    };
    const Case cases[] = {
        {"telnet without ppp0 counters", [](TSettings &s) { s.Router.Telnet = true; }, false, v1234,
         PanelUpdate::set(QStringLiteral("nas0: 3:00:00"))},
        {"telnet with ppp0 counters", [](TSettings &s) { s.Router.Telnet = true; }, true, v1234,
         PanelUpdate::set(QStringLiteral("ppp0: 3:00:00"))},
        {"telnet owns the panel", [](TSettings &s) { s.System.StatusBarTelnet = true; }, false, v1234, {}},
        {"not a DG834", [](TSettings &s) { s.System.IsDG834 = false; }, false, v1234, {}},
        {"no uptime text taught", [](TSettings &s) {
             s.Router.V1234 = false;
             s.UpTime.UpTimeText.clear();
         }, false, v1234, PanelUpdate::clear()},
        {"no position taught", [](TSettings &s) {
             s.Router.V1234 = false;
             s.UpTime.UpTimePos = 0;
         }, false, v1234, PanelUpdate::clear()},
        {"empty page", [](TSettings &) {}, false, QString(), PanelUpdate::clear()},
        // The v1234 position is fixed whatever was taught.
        {"v1234 ignores the taught position", [](TSettings &s) { s.UpTime.UpTimePos = 10; }, false, v1234,
         PanelUpdate::set(QStringLiteral("ppp0: 3:00:00"))},
        {"label not at the position", [](TSettings &s) { s.UpTime.UpTimeText = QStringLiteral("nowhere"); }, false,
         v1234, {}},
        {"585 page without its label", [](TSettings &s) { s.Router.ST585 = true; }, false,
         QStringLiteral("<html>no figures</html>"), PanelUpdate::clear()},
    };
    for (const Case &c : cases) {
        TSettings s = base;
        c.change(s);
        EXPECT_EQ(uptimePanel(c.page, s, c.bytesInterfaceFound), c.expected) << c.name;
    }
}

TEST(ConnectionPage, StateTexts)
{
    const QList<QPair<const char *, const char *>> cases = {
        {"<tr><TD NOWRAP>Connected</td>", "Connected"},
        {"<tr><TD NOWRAP>Disconnected</td>", "Disconnected"},
        {"NOWRAP>Connected</td>", "xxx"},                           // at the very first character
        {"NOWRAP>Connected <TD NOWRAP>Disconnected", "Disconnected"}, // the first one decides
        {"<TD NOWRAP>Connecting...</td>", "Connected"},
        {"<TD NOWRAP><B>Connection Status</B></td>", "xxx"},
        {"", "xxx"},
    };
    for (const auto &[text, state] : cases)
        EXPECT_EQ(connectionState(QString::fromLatin1(text)), QString::fromLatin1(state)) << text;

    RouterState router;
    EXPECT_EQ(connectionState(page(router, ProfileId::V1234, PageKind::Connection)), QStringLiteral("Connected"));
    router.set(QStringLiteral("state"), QStringLiteral("Disconnected"), nullptr);
    EXPECT_EQ(connectionState(page(router, ProfileId::V5, PageKind::Connection)), QStringLiteral("Disconnected"));
}
