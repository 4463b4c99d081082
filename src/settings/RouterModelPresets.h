#pragma once
// The router models the program knows and what choosing one fills in, the
// telnet firmware families and the rules that tie the two together.
#include <QString>
#include <optional>
#include <vector>

enum class RouterModel { V1234, V5, NotNetgear, ST585 };

struct RouterModelPreset {
    RouterModel model;
    const char *radio;     // the model radio's object name
    const char *loginUrl;  // status page
    const char *logoutUrl;
    std::optional<const char *> username;     // unset: left as it is
    std::optional<const char *> routerLogUrl; // [RouterLog] LogURL; unset: left as it is
    std::optional<bool> isDG834;              // [System] IsDG834; unset: left as it is
    bool telnetPageShown;
};

const std::vector<RouterModelPreset> &routerModelPresets();
const RouterModelPreset &routerModelPreset(RouterModel model);

// What the reboot URL becomes for a model: the model's reboot page on the
// login URL's address, with its port. Without a dotted IPv4 address in the
// login URL, or for models without a reboot page, it stays as it is.
QString rebootUrlForModel(RouterModel model, const QString &loginUrl, const QString &currentRebootUrl);

// The fit indicator: false (red) when a DG834 model is paired with a telnet
// family of another firmware.
bool telnetFamilyFits(bool v1234, bool v5, bool v123, bool v4, bool v5Telnet);

// The prompt after a version 1-4 family is chosen: "#", unless the user set ">".
QString promptForVersion1to4(const QString &prompt);

// The address an URL's router is reached at: "host" or "host:port" when the
// host is a dotted IPv4 address; empty otherwise.
QString dottedRouterAuthority(const QString &url);

// url with its router address replaced by that of fromUrl (port included);
// nullopt when either has no dotted IPv4 address, so nothing is carried.
std::optional<QString> withRouterAddressOf(const QString &url, const QString &fromUrl);

// The telnet defaults: the address of the login URL, or the DG834's own.
QString defaultTelnetAddress(const QString &loginUrl);

// The defaults "Restore Defaults" on the telnet page puts back.
struct TelnetDefaults {
    QString username = QStringLiteral("admin");
    int port = 23;
    QString prompt = QStringLiteral("#");
    QString command = QStringLiteral("/usr/sbin/adslctl info --stats");
    QString debugCommand = QStringLiteral("/setup.cgi?todo=debug");
};
