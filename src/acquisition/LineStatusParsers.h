#pragma once
// The side results of a poll as they stand in router pages: the WAN address,
// the SpeedTouch 585 link page and its data counters, the line uptime and the
// connection state. Pure: page text (Latin-1 decoded) and settings in, plain
// values out. A label that is not on the page is not found; nothing is read
// from the page start in its place.
#include "settings/TSettings.h"

#include <QString>
#include <optional>

namespace linestatus {

// What a step does to a status-bar panel.
struct PanelUpdate {
    enum Action { Leave, Set, Clear };
    Action action = Leave;
    QString text; // for Set

    static PanelUpdate set(const QString &t) { return {Set, t}; }
    static PanelUpdate clear() { return {Clear, {}}; }
    bool operator==(const PanelUpdate &) const = default;
};

// Where a router keeps its WAN address and how the address is found there.
struct WanAddressPage {
    QString url;    // relative to the router, e.g. "RST_status.htm"
    QString label;  // text before the address
    int offset = 0; // characters between the end of the label and the search window
};

// The [IPAddress] settings, with the fixed pages of the Netgear families in
// their place (the settings themselves are left alone).
WanAddressPage wanAddressPage(const TSettings &s);

// The address in the 40 characters from the label's end + offset: from the
// first digit, the run of digits and dots. Empty when the label is missing or
// the run is not a dotted IPv4 address.
QString findWanAddress(const QString &page, const WanAddressPage &where);

// The SpeedTouch 585 link page.
struct St585Link {
    QString address;      // dotted IPv4 address after "IP Address:", else empty
    QString dataUnit;     // ThomsonDataUnit, e.g. "[kB/kB]"
    QString dataSent;     // ThomsonDataSent
    QString dataReceived; // ThomsonDataReceived
};
St585Link parseSt585Link(const QString &page);

// The SpeedTouch 585 status page restyled for the viewer.
struct St585PageView {
    QString page;       // restyled and cut before the data table's end; the figures are searched in this one
    QString viewerText; // from 28 characters past "Link Information" to the end
};
St585PageView restyleSt585Page(const QString &page, const QString &dataUnit, const QString &dataSent,
                               const QString &dataReceived);

// Uptime texts as each family shows them; nullopt when the page lacks the label.
std::optional<QString> st585Uptime(const QString &page);
std::optional<QString> v5Uptime(const QString &page);
// A taught label and position: the run of digits and ":" after the label.
std::optional<QString> taughtUptime(const QString &page, const QString &text, int position);

// "49:05:10" -> "2 d, 01:05:10"; text whose hours are not a whole number is returned unchanged.
QString uptimeDaysForm(const QString &uptime);

// The uptime panel (panel 2) of the status bar for this page. bytesInterfaceFound:
// the telnet byte totals came from the ppp0 interface.
PanelUpdate uptimePanel(const QString &page, const TSettings &s, bool bytesInterfaceFound);

// "Connected", "Disconnected", or "xxx" when the page shows neither.
QString connectionState(const QString &page);

} // namespace linestatus
