#include "TelnetBehaviour.h"

namespace routersim {

namespace {

template <typename E, size_t N>
std::optional<E> lookup(const QString &name, const std::pair<E, const char *> (&table)[N])
{
    for (const auto &entry : table)
        if (name.compare(QLatin1String(entry.second), Qt::CaseInsensitive) == 0)
            return entry.first;
    return std::nullopt;
}

template <typename E, size_t N>
QString nameOf(E value, const std::pair<E, const char *> (&table)[N])
{
    for (const auto &entry : table)
        if (entry.first == value)
            return QString::fromLatin1(entry.second);
    return {};
}

const std::pair<TelnetFamily, const char *> kFamilies[] = {
    {TelnetFamily::Ar7, "ar7"}, {TelnetFamily::Adslctl, "adslctl"}, {TelnetFamily::AdslInfo, "adslinfo"},
    {TelnetFamily::St585, "st585"}};
const std::pair<TelnetLogin, const char *> kLogins[] = {
    {TelnetLogin::None, "none"}, {TelnetLogin::Password, "password"}, {TelnetLogin::User, "user"}};
const std::pair<TelnetAccess, const char *> kAccess[] = {{TelnetAccess::Always, "always"},
                                                          {TelnetAccess::Debug, "debug"}};
const std::pair<ChunkMode, const char *> kChunks[] = {
    {ChunkMode::Whole, "whole"}, {ChunkMode::Line, "line"}, {ChunkMode::CrLf, "crlf"}, {ChunkMode::Random, "random"}};
const std::pair<TelnetFault, const char *> kFaults[] = {
    {TelnetFault::None, "none"}, {TelnetFault::Refuse, "refuse"}, {TelnetFault::Mute, "mute"},
    {TelnetFault::Hang, "hang"}, {TelnetFault::Close, "close"},   {TelnetFault::Down, "down"}};

} // namespace

std::optional<TelnetFamily> TelnetBehaviour::familyFromName(const QString &name) { return lookup(name, kFamilies); }
QString TelnetBehaviour::familyName(TelnetFamily family) { return nameOf(family, kFamilies); }
std::optional<TelnetLogin> TelnetBehaviour::loginFromName(const QString &name) { return lookup(name, kLogins); }
QString TelnetBehaviour::loginName(TelnetLogin login) { return nameOf(login, kLogins); }
std::optional<TelnetAccess> TelnetBehaviour::accessFromName(const QString &name) { return lookup(name, kAccess); }
QString TelnetBehaviour::accessName(TelnetAccess access) { return nameOf(access, kAccess); }
std::optional<ChunkMode> TelnetBehaviour::chunkFromName(const QString &name) { return lookup(name, kChunks); }
QString TelnetBehaviour::chunkName(ChunkMode mode) { return nameOf(mode, kChunks); }
std::optional<TelnetFault> TelnetBehaviour::faultFromName(const QString &name) { return lookup(name, kFaults); }
QString TelnetBehaviour::faultName(TelnetFault fault) { return nameOf(fault, kFaults); }

TelnetFamily TelnetBehaviour::familyFor(ProfileId profile)
{
    switch (profile) {
    case ProfileId::V5: return TelnetFamily::AdslInfo;
    case ProfileId::Other: return TelnetFamily::Adslctl;
    case ProfileId::St585: return TelnetFamily::St585;
    case ProfileId::V1234: break;
    }
    return TelnetFamily::Ar7;
}

QString TelnetBehaviour::defaultPrompt(TelnetFamily family)
{
    if (family == TelnetFamily::St585)
        return QStringLiteral("{user}=>"); // the logged-in user's name between the braces
    return family == TelnetFamily::AdslInfo ? QStringLiteral("/ # ") : QStringLiteral("# ");
}

TelnetFault TelnetBehaviour::takeFault()
{
    const TelnetFault f = fault;
    if (f == TelnetFault::None || f == TelnetFault::Down)
        return f;
    if (faultRemaining > 0 && --faultRemaining == 0) {
        fault = TelnetFault::None;
        faultRemaining = -1;
    }
    return f;
}

QString TelnetBehaviour::describe(int sessions) const
{
    QString faultText = faultName(fault);
    if (faultRemaining > 0)
        faultText += QString(" %1").arg(faultRemaining);
    return QString("family=%1 prompt=\"%2\" login=%3 access=%4 chunk=%5 fail=%6 daemon=%7 pid=%8 sessions=%9 "
                   "snr=%10 resets=%11 kills=%12 busy=%13 timeout=%14")
        .arg(familyName(family), prompt(), loginName(login), accessName(access), chunkName(chunk), faultText,
             daemonListed ? QStringLiteral("on") : QStringLiteral("off"), daemonPid)
        .arg(sessions)
        .arg(snrTarget.isEmpty() ? QStringLiteral("-") : snrTarget)
        .arg(counterResets)
        .arg(kills)
        .arg(sessionBusy ? QStringLiteral("on") : QStringLiteral("off"))
        .arg(sessionTimeout);
}

} // namespace routersim
