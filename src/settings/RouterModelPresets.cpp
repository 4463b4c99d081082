#include "settings/RouterModelPresets.h"

#include "common/RouterAddress.h"

const std::vector<RouterModelPreset> &routerModelPresets()
{
    static const std::vector<RouterModelPreset> presets = {
        {RouterModel::V1234, "rbV1234", "http://192.168.0.1/setup.cgi?next_file=stattbl.htm",
         "http://192.168.0.1/setup.cgi?todo=logout", "admin", "/setup.cgi?next_file=log.htm&todo=cfg_init", true,
         true},
        // The v5's log path is stored with a backslash; the log fetch turns it into a path.
        {RouterModel::V5, "rbV5", "http://192.168.0.1/RST_stattbl.htm", "http://192.168.0.1/LGO_logout.htm", "admin",
         "\\FW_log.htm", true, true},
        {RouterModel::NotNetgear, "rbNotNetgear", "http://", "http://", std::nullopt, std::nullopt, false, true},
        {RouterModel::ST585, "rbST585", "http://192.168.1.254/cgi/b/dsl/dt/?ce=1&be=0&l0=1&l1=0",
         "http://192.168.1.254/", "Administrator", std::nullopt, std::nullopt, false},
    };
    return presets;
}

const RouterModelPreset &routerModelPreset(RouterModel model)
{
    for (const RouterModelPreset &p : routerModelPresets())
        if (p.model == model)
            return p;
    return routerModelPresets().front();
}

QString dottedRouterAuthority(const QString &url)
{
    return GetMainIPAddress(url).isEmpty() ? QString() : routerAuthority(url);
}

QString rebootUrlForModel(RouterModel model, const QString &loginUrl, const QString &currentRebootUrl)
{
    const QString authority = dottedRouterAuthority(loginUrl);
    if (authority.isEmpty())
        return currentRebootUrl;
    switch (model) {
    case RouterModel::V5: return QStringLiteral("http://") + authority + QStringLiteral("/reboot.cgi");
    case RouterModel::V1234:
        return QStringLiteral("http://") + authority + QStringLiteral("/setup.cgi?next_file=diag.htm&todo=reboot");
    default: return currentRebootUrl;
    }
}

bool telnetFamilyFits(bool v1234, bool v5, bool v123, bool v4, bool v5Telnet)
{
    if (v1234 && !v123 && !v4)
        return false;
    return !(v5 && !v5Telnet);
}

QString promptForVersion1to4(const QString &prompt)
{
    return prompt == QLatin1String(">") ? prompt : QStringLiteral("#");
}

std::optional<QString> withRouterAddressOf(const QString &url, const QString &fromUrl)
{
    const QString from = dottedRouterAuthority(fromUrl);
    const QString old = dottedRouterAuthority(url);
    if (from.isEmpty() || old.isEmpty())
        return std::nullopt;
    // The first occurrence is the authority: nothing but the scheme comes before it.
    QString result = url;
    const qsizetype at = result.indexOf(old);
    if (at < 0)
        return std::nullopt;
    return result.replace(at, old.size(), from);
}

QString defaultTelnetAddress(const QString &loginUrl)
{
    const QString host = GetMainIPAddress(loginUrl);
    return host.isEmpty() ? QStringLiteral("192.168.0.1") : host;
}
