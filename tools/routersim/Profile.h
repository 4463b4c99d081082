#pragma once
// The router models the simulator can be, and which of its pages a request
// path names for each of them.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrlQuery>
#include <optional>

namespace routersim {

enum class ProfileId { V1234, V5, St585, Other };

// A page by what the program uses it for; the same kind has different paths
// on different models.
enum class PageKind { None, Status, WanAddress, Connection, Log, Reboot, Logout, Debug, Link, Events, Home };

class Profile
{
public:
    static std::optional<ProfileId> fromName(const QString &name);
    static QString name(ProfileId id);
    static QList<ProfileId> all();

    static std::optional<PageKind> pageFromName(const QString &name);
    static QString pageName(PageKind kind);

    // Which page a normalised path and its query name; None when the model
    // has no such page. Extra query items are ignored, as a router would.
    static PageKind resolve(ProfileId id, const QString &path, const QUrlQuery &query);

    // The path (with query) the program fetches for a page, as its model
    // presets and key defaults give it; empty when the model has no such page.
    static QString pagePath(ProfileId id, PageKind kind);

    static QByteArray realm(ProfileId id);
    // Credentials a fresh simulator of this model expects.
    static QString defaultUser(ProfileId id);
    static QString defaultPassword(ProfileId id);
    static bool defaultNeedsLogin(ProfileId id);
};

} // namespace routersim
