#include "acquisition/LineStatusReader.h"

#include "acquisition/PollingCycle.h"
#include "common/RouterAddress.h"

#include <QTimer>
#include <utility>
#include <QUrl>

namespace {

// "host[:port]" of the router when the login URL names it by a dotted address.
QString routerOf(const TSettings &s)
{
    return GetMainIPAddress(s.Router.Login).isEmpty() ? QString() : routerAuthority(s.Router.Login);
}

} // namespace

LineStatusReader::LineStatusReader(RouterHttpClient &client, QObject *parent) : QObject(parent), m_client(client) {}

LineStatusReader::~LineStatusReader()
{
    cancel();
}

void LineStatusReader::cancel()
{
    for (Slot *slot : {&m_wan, &m_connection}) {
        ++slot->token;
        slot->busy = false;
        const quint64 id = std::exchange(slot->requestId, 0);
        m_client.cancel(id);
    }
}

quint64 LineStatusReader::restart(Slot &slot)
{
    ++slot.token;
    const quint64 id = std::exchange(slot.requestId, 0);
    m_client.cancel(id);
    slot.busy = true;
    return slot.token;
}

void LineStatusReader::defer(Slot &slot, std::function<void()> then)
{
    const quint64 token = restart(slot);
    QTimer::singleShot(0, this, [&slot, token, then = std::move(then)] {
        if (slot.token != token)
            return;
        slot.busy = false;
        then();
    });
}

void LineStatusReader::fetch(Slot &slot, const QString &authority, const QString &path, const TSettings &s,
                             std::function<void(const QString &)> onPage)
{
    if (authority.isEmpty()) {
        // No router address to ask: the page is empty, as a failed request's would be.
        defer(slot, [onPage = std::move(onPage)] { onPage(QString()); });
        return;
    }
    const quint64 token = restart(slot);
    QString relative = path;
    while (relative.startsWith(QLatin1Char('/')))
        relative.remove(0, 1);
    const QUrl url(QStringLiteral("http://") + authority + QLatin1Char('/') + relative);

    // The router's other pages sit behind the same log-in as its status page,
    // and they are asked of the login URL's own host.
    std::optional<HttpCredentials> credentials;
    if (s.Router.cbLogin)
        credentials = HttpCredentials{s.Router.UsernameNotRequired ? QString() : s.Router.Username,
                                      s.Router.Password};

    slot.requestId = m_client.get(url, credentials, PollingCycle::transferTimeoutMs(s.System.Sample),
                                  [&slot, token, onPage = std::move(onPage)](const HttpResult &r) {
                                      if (r.cancelled || slot.token != token)
                                          return;
                                      slot.busy = false;
                                      slot.requestId = 0;
                                      // The request's own failure is swallowed: the page stays empty.
                                      onPage(r.ok ? QString::fromLatin1(r.body) : QString());
                                  });
}

void LineStatusReader::readWanAddress(const TSettings &s, RunState &state, qint64 sampleCount, WanDone done)
{
    const QString authority = routerOf(s);

    if (s.Router.ST585) {
        fetch(m_wan, authority, QStringLiteral("cgi/b/is/?be=0&l0=1&l1=1"), s,
              [this, &state, done = std::move(done)](const QString &page) {
                  const linestatus::St585Link link = linestatus::parseSt585Link(page);
                  WanAddressResult r;
                  r.panel1 = link.address.isEmpty() ? linestatus::PanelUpdate::clear()
                                                    : linestatus::PanelUpdate::set(link.address);
                  r.wanIPAddress = state.WanIPAddress;
                  r.lastWanIPAddress = m_lastWanIPAddress;
                  r.st585 = true;
                  r.thomsonDataUnit = link.dataUnit;
                  r.thomsonDataSent = link.dataSent;
                  r.thomsonDataReceived = link.dataReceived;
                  done(r);
              });
        return;
    }

    if (authority.isEmpty()) {
        // A router known by name only: the step does not run and the panel stays.
        defer(m_wan, [this, &state, done = std::move(done)] {
            WanAddressResult r;
            r.wanIPAddress = state.WanIPAddress;
            r.lastWanIPAddress = m_lastWanIPAddress;
            done(r);
        });
        return;
    }
    // The Netgear families' fixed page, on a copy: the settings stay as the user set them.
    const linestatus::WanAddressPage where = linestatus::wanAddressPage(s);
    const bool ipChangeMail = s.Email.IPChanged;
    fetch(m_wan, authority, where.url, s,
          [this, &state, ipChangeMail, sampleCount, where, done = std::move(done)](const QString &page) {
              done(takeWanAddress(state, linestatus::findWanAddress(page, where), ipChangeMail, sampleCount));
          });
}

WanAddressResult LineStatusReader::takeWanAddress(RunState &state, const QString &address, bool ipChangeMail,
                                                  qint64 sampleCount)
{
    WanAddressResult r;
    if (address.isEmpty()) {
        r.panel1 = linestatus::PanelUpdate::clear();
    } else {
        // The first address of a run is taken without a word.
        if (state.WanIPAddress.isEmpty())
            state.WanIPAddress = address;
        if (m_lastWanIPAddress.isEmpty())
            m_lastWanIPAddress = address;
        if (address != state.WanIPAddress) {
            state.WanIPAddress = address;
            // The address found at start-up never counts as a change.
            if (ipChangeMail && sampleCount > 3) {
                r.ipChanged = true;
                r.ipChangedMessage = QStringLiteral("IP Changed to ") + address;
                r.emailText = QStringLiteral("New IP Address: ") + address;
            }
        }
        r.panel1 = linestatus::PanelUpdate::set(address);
        m_lastWanIPAddress = state.WanIPAddress;
    }
    r.wanIPAddress = state.WanIPAddress;
    r.lastWanIPAddress = m_lastWanIPAddress;
    return r;
}

void LineStatusReader::readConnectionState(const TSettings &s, const RunState &state, ConnectionDone done)
{
    const bool wanted =
        (s.Alarm.State || s.Log.LogState) && s.System.IsDG834 && !s.Telnet.DisableHTTP && !s.Router.ST585;
    if (!wanted) {
        defer(m_connection, [done = std::move(done)] { done(ConnectionResult{}); });
        return;
    }
    const bool stateAlarm = s.Alarm.State;
    const bool logState = s.Log.LogState;
    fetch(m_connection, routerOf(s), QStringLiteral("st_poe.htm"), s,
          [&state, stateAlarm, logState, done = std::move(done)](const QString &page) {
              done(outcome(linestatus::connectionState(page), stateAlarm, logState, state));
          });
}

ConnectionResult LineStatusReader::outcome(const QString &pageState, bool stateAlarm, bool logState,
                                           const RunState &state)
{
    ConnectionResult r;
    r.checked = true;
    r.state = pageState;
    r.connectionStatus = state.ConnectionStatus;
    // A page that shows neither state leaves the last one standing.
    if (pageState != state.ConnectionStatus && pageState != QLatin1String("xxx")) {
        r.changed = true;
        r.connectionStatus = pageState;
        r.message = QStringLiteral("Router - Connection status changed: ") + pageState;
        r.logText = QLatin1Char('[') + pageState + QLatin1Char(']');
        r.raiseAlarm = stateAlarm && pageState == QLatin1String("Disconnected");
        r.writeLog = logState;
    }
    r.caption = caption(state.Running, r.connectionStatus);
    return r;
}

QString LineStatusReader::caption(bool running, const QString &connectionStatus)
{
    if (!running)
        return QStringLiteral("Veltrano 6.3");
    return QStringLiteral("Veltrano 6.3    [Running]   [") + connectionStatus + QLatin1Char(']');
}

linestatus::PanelUpdate LineStatusReader::uptime(const QString &page, const TSettings &s, bool bytesInterfaceFound)
{
    return linestatus::uptimePanel(page, s, bytesInterfaceFound);
}
