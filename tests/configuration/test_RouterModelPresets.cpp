// The router model presets and the rules between model and telnet family,
// checked against the simulator's pages so presets and simulator agree.
#include "Profile.h"
#include "settings/RouterModelPresets.h"

#include <QUrl>
#include <gtest/gtest.h>

using routersim::PageKind;
using routersim::Profile;
using routersim::ProfileId;

namespace {

QString pathOf(const char *url)
{
    const QUrl u(QString::fromLatin1(url));
    return u.path() + (u.hasQuery() ? QLatin1Char('?') + u.query() : QString());
}

} // namespace

TEST(RouterModelPresets, EveryKnownModelsPagesAreThoseTheSimulatorServes)
{
    const std::pair<RouterModel, ProfileId> models[] = {
        {RouterModel::V1234, ProfileId::V1234}, {RouterModel::V5, ProfileId::V5}, {RouterModel::ST585, ProfileId::St585}};
    for (const auto &[model, profile] : models) {
        const RouterModelPreset &p = routerModelPreset(model);
        SCOPED_TRACE(p.radio);
        EXPECT_EQ(pathOf(p.loginUrl), Profile::pagePath(profile, PageKind::Status));
        if (model != RouterModel::ST585) {
            EXPECT_EQ(pathOf(p.logoutUrl), Profile::pagePath(profile, PageKind::Logout));
        }
        if (p.routerLogUrl) {
            QString log = QLatin1String(*p.routerLogUrl);
            log.replace(QLatin1Char('\\'), QLatin1Char('/'));
            EXPECT_EQ(log, Profile::pagePath(profile, PageKind::Log));
        }
        EXPECT_EQ(QLatin1String(*p.username), Profile::defaultUser(profile));
    }
    // The reboot URL each DG834 model is given is the simulator's reboot page.
    EXPECT_EQ(QUrl(rebootUrlForModel(RouterModel::V5, QStringLiteral("http://127.0.0.1:8081/x"), {})).path(),
              Profile::pagePath(ProfileId::V5, PageKind::Reboot));
    EXPECT_EQ(pathOf(qPrintable(rebootUrlForModel(RouterModel::V1234, QStringLiteral("http://127.0.0.1/x"), {}))),
              Profile::pagePath(ProfileId::V1234, PageKind::Reboot));
}

TEST(RouterModelPresets, RebootUrlKeepsThePortAndIsNeverBuiltWithoutAnAddress)
{
    const QString old = QStringLiteral("http://127.0.0.9/mine");
    struct Case {
        RouterModel model;
        const char *login;
        const char *expected;
    } cases[] = {
        {RouterModel::V5, "http://127.0.0.1:8081/RST_stattbl.htm", "http://127.0.0.1:8081/reboot.cgi"},
        {RouterModel::V1234, "http://127.0.0.1/setup.cgi?next_file=stattbl.htm",
         "http://127.0.0.1/setup.cgi?next_file=diag.htm&todo=reboot"},
        // An address of 15 characters or a URL without a path still counts.
        {RouterModel::V5, "http://127.100.100.100:8081", "http://127.100.100.100:8081/reboot.cgi"},
        {RouterModel::V5, "http://", "http://127.0.0.9/mine"},
        {RouterModel::V5, "http://router.lan/x", "http://127.0.0.9/mine"},
        {RouterModel::NotNetgear, "http://127.0.0.1/x", "http://127.0.0.9/mine"},
        {RouterModel::ST585, "http://127.0.0.1/x", "http://127.0.0.9/mine"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rebootUrlForModel(c.model, QLatin1String(c.login), old), QLatin1String(c.expected)) << c.login;
}

TEST(RouterModelPresets, AddressIsCarriedOnlyBetweenDottedAddresses)
{
    struct Case {
        const char *url, *from;
        std::optional<const char *> expected;
    } cases[] = {
        {"http://192.168.0.1/setup.cgi?todo=logout", "http://127.0.0.1:8081/x",
         "http://127.0.0.1:8081/setup.cgi?todo=logout"},
        {"http://127.0.0.1:8081/a", "http://127.0.0.2/b", "http://127.0.0.2/a"},
        {"http:///reboot.cgi", "http://127.0.0.1/x", std::nullopt},
        {"http://192.168.0.1/x", "http://", std::nullopt},
        {"http://192.168.0.1/x", "http://name.lan/", std::nullopt},
    };
    for (const Case &c : cases) {
        const auto got = withRouterAddressOf(QLatin1String(c.url), QLatin1String(c.from));
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.url;
        if (got) {
            EXPECT_EQ(*got, QLatin1String(*c.expected));
        }
    }
    EXPECT_EQ(defaultTelnetAddress(QStringLiteral("http://192.168.1.1/index.htm")), QStringLiteral("192.168.1.1"));
    EXPECT_EQ(defaultTelnetAddress(QStringLiteral("http://")), QStringLiteral("192.168.0.1"));
}

TEST(RouterModelPresets, FitIndicatorAndPromptRules)
{
    // v1234, v5, v123, v4, v5Telnet -> fits
    struct Case {
        bool v1234, v5, v123, v4, v5t, fits;
    } cases[] = {
        {true, false, true, false, false, true},  {true, false, false, true, false, true},
        {true, false, false, false, true, false}, {false, true, true, false, false, false},
        {false, true, false, false, true, true},  {false, false, true, false, false, true},
        {false, false, false, false, true, true}, {true, false, false, false, false, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(telnetFamilyFits(c.v1234, c.v5, c.v123, c.v4, c.v5t), c.fits)
            << c.v1234 << c.v5 << c.v123 << c.v4 << c.v5t;
    EXPECT_EQ(promptForVersion1to4(QStringLiteral(">")), QStringLiteral(">"));
    EXPECT_EQ(promptForVersion1to4(QStringLiteral("/ #")), QStringLiteral("#"));
}
