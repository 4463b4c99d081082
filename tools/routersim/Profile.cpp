#include "Profile.h"

namespace routersim {

namespace {

struct Route {
    const char *path;
    const char *key;   // query item that must be present, or nullptr
    const char *value; // its value (compared case-insensitively)
    PageKind kind;
};

// The telnet-enabling debug page of the Netgear firmware and its variant.
constexpr Route kDebug[] = {
    {"/setup.cgi", "todo", "debug", PageKind::Debug},
    {"/cgi-bin/webcm", "todo", "debug", PageKind::Debug},
};

// setup.cgi is one script for many pages: "todo" is tried before
// "next_file", since the reboot URL carries both (next_file=diag.htm&todo=reboot).
constexpr Route kV1234[] = {
    {"/setup.cgi", "todo", "reboot", PageKind::Reboot},
    {"/setup.cgi", "todo", "logout", PageKind::Logout},
    {"/setup.cgi", "next_file", "stattbl.htm", PageKind::Status},
    {"/setup.cgi", "next_file", "st_poe.htm", PageKind::WanAddress},
    {"/setup.cgi", "next_file", "log.htm", PageKind::Log},
    {"/st_poe.htm", nullptr, nullptr, PageKind::Connection},
    {"/", nullptr, nullptr, PageKind::Home},
};

constexpr Route kV5[] = {
    {"/RST_stattbl.htm", nullptr, nullptr, PageKind::Status},
    {"/RST_status.htm", nullptr, nullptr, PageKind::WanAddress},
    {"/st_poe.htm", nullptr, nullptr, PageKind::Connection},
    {"/FW_log.htm", nullptr, nullptr, PageKind::Log},
    {"/reboot.cgi", nullptr, nullptr, PageKind::Reboot},
    {"/LGO_logout.htm", nullptr, nullptr, PageKind::Logout},
    {"/", nullptr, nullptr, PageKind::Home},
};

// The 585 has no reboot or debug page (both go over telnet); its logout URL
// is the home page.
constexpr Route kSt585[] = {
    {"/cgi/b/dsl/dt/", nullptr, nullptr, PageKind::Status},
    {"/cgi/b/is/", nullptr, nullptr, PageKind::Link},
    {"/cgi/b/events/", nullptr, nullptr, PageKind::Events},
    {"/", nullptr, nullptr, PageKind::Logout},
};

// A generic router: its own status and logout pages, and the key defaults
// (WAN address page, log page, reboot URL) for everything else.
constexpr Route kOther[] = {
    {"/setup.cgi", "todo", "reboot", PageKind::Reboot},
    {"/", nullptr, nullptr, PageKind::Status},
    {"/status.htm", nullptr, nullptr, PageKind::Status},
    {"/logout.htm", nullptr, nullptr, PageKind::Logout},
    {"/setup.cgi", "next_file", "st_poe.htm", PageKind::WanAddress},
    {"/setup.cgi", "next_file", "log.htm", PageKind::Log},
    {"/st_poe.htm", nullptr, nullptr, PageKind::Connection},
};

template <size_t N>
PageKind match(const Route (&routes)[N], const QString &path, const QUrlQuery &query)
{
    for (const Route &r : routes) {
        QString want = QString::fromLatin1(r.path);
        // "/cgi/b/dsl/dt" and "/cgi/b/dsl/dt/" are the same directory.
        auto trimmed = [](QString p) {
            while (p.size() > 1 && p.endsWith('/'))
                p.chop(1);
            return p;
        };
        if (trimmed(path).compare(trimmed(want), Qt::CaseInsensitive) != 0)
            continue;
        if (r.key) {
            const QString key = QString::fromLatin1(r.key);
            if (!query.hasQueryItem(key))
                continue;
            if (query.queryItemValue(key, QUrl::FullyDecoded).compare(QLatin1String(r.value), Qt::CaseInsensitive) != 0)
                continue;
        }
        return r.kind;
    }
    return PageKind::None;
}

struct PageNameEntry {
    PageKind kind;
    const char *name;
};

constexpr PageNameEntry kPageNames[] = {
    {PageKind::Status, "status"},   {PageKind::WanAddress, "wan"}, {PageKind::Connection, "connection"},
    {PageKind::Log, "log"},         {PageKind::Reboot, "reboot"},  {PageKind::Logout, "logout"},
    {PageKind::Debug, "debug"},     {PageKind::Link, "link"},      {PageKind::Events, "events"},
    {PageKind::Home, "home"},
};

} // namespace

std::optional<ProfileId> Profile::fromName(const QString &name)
{
    for (ProfileId id : all())
        if (name.compare(Profile::name(id), Qt::CaseInsensitive) == 0)
            return id;
    return std::nullopt;
}

QString Profile::name(ProfileId id)
{
    switch (id) {
    case ProfileId::V1234: return "v1234";
    case ProfileId::V5: return "v5";
    case ProfileId::St585: return "st585";
    case ProfileId::Other: return "other";
    }
    return {};
}

QList<ProfileId> Profile::all()
{
    return {ProfileId::V1234, ProfileId::V5, ProfileId::St585, ProfileId::Other};
}

std::optional<PageKind> Profile::pageFromName(const QString &name)
{
    for (const auto &e : kPageNames)
        if (name.compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0)
            return e.kind;
    return std::nullopt;
}

QString Profile::pageName(PageKind kind)
{
    for (const auto &e : kPageNames)
        if (e.kind == kind)
            return QString::fromLatin1(e.name);
    return "none";
}

PageKind Profile::resolve(ProfileId id, const QString &path, const QUrlQuery &query)
{
    if (id == ProfileId::St585)
        return match(kSt585, path, query);
    const PageKind debug = match(kDebug, path, query);
    if (debug != PageKind::None)
        return debug;
    switch (id) {
    case ProfileId::V1234: return match(kV1234, path, query);
    case ProfileId::V5: return match(kV5, path, query);
    case ProfileId::Other: return match(kOther, path, query);
    case ProfileId::St585: break;
    }
    return PageKind::None;
}

QString Profile::pagePath(ProfileId id, PageKind kind)
{
    switch (id) {
    case ProfileId::V1234:
        switch (kind) {
        case PageKind::Status: return "/setup.cgi?next_file=stattbl.htm";
        case PageKind::WanAddress: return "/setup.cgi?next_file=st_poe.htm";
        case PageKind::Connection: return "/st_poe.htm";
        case PageKind::Log: return "/setup.cgi?next_file=log.htm&todo=cfg_init";
        case PageKind::Reboot: return "/setup.cgi?next_file=diag.htm&todo=reboot";
        case PageKind::Logout: return "/setup.cgi?todo=logout";
        case PageKind::Debug: return "/setup.cgi?todo=debug";
        case PageKind::Home: return "/";
        default: return {};
        }
    case ProfileId::V5:
        switch (kind) {
        case PageKind::Status: return "/RST_stattbl.htm";
        case PageKind::WanAddress: return "/RST_status.htm";
        case PageKind::Connection: return "/st_poe.htm";
        case PageKind::Log: return "/FW_log.htm";
        case PageKind::Reboot: return "/reboot.cgi";
        case PageKind::Logout: return "/LGO_logout.htm";
        case PageKind::Debug: return "/setup.cgi?todo=debug";
        case PageKind::Home: return "/";
        default: return {};
        }
    case ProfileId::St585:
        switch (kind) {
        case PageKind::Status: return "/cgi/b/dsl/dt/?ce=1&be=0&l0=1&l1=0";
        case PageKind::Link: return "/cgi/b/is/?be=0&l0=1&l1=1";
        case PageKind::Events: return "/cgi/b/events/?be=0&l0=0&l1=2";
        case PageKind::Logout: return "/";
        default: return {};
        }
    case ProfileId::Other:
        switch (kind) {
        case PageKind::Status: return "/status.htm";
        case PageKind::WanAddress: return "/setup.cgi?next_file=st_poe.htm";
        case PageKind::Connection: return "/st_poe.htm";
        case PageKind::Log: return "/setup.cgi?next_file=log.htm&todo=cfg_init";
        case PageKind::Reboot: return "/setup.cgi?next_file=diag.htm&todo=reboot";
        case PageKind::Logout: return "/logout.htm";
        case PageKind::Debug: return "/setup.cgi?todo=debug";
        default: return {};
        }
    }
    return {};
}

QByteArray Profile::realm(ProfileId id)
{
    switch (id) {
    case ProfileId::V1234: return "DG834G";
    case ProfileId::V5: return "DG834G v5";
    case ProfileId::St585: return "SpeedTouch";
    case ProfileId::Other: return "ADSL Router";
    }
    return "Router";
}

QString Profile::defaultUser(ProfileId id)
{
    return id == ProfileId::St585 ? "Administrator" : "admin";
}

QString Profile::defaultPassword(ProfileId id)
{
    // The program's own restore-defaults password for the Netgear models.
    return id == ProfileId::St585 ? QString() : QStringLiteral("quillfen");
}

bool Profile::defaultNeedsLogin(ProfileId id)
{
    // The 585 preset switches the program's log-in off.
    return id != ProfileId::St585;
}

} // namespace routersim
