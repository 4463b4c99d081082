#include "acquisition/LineStatusParsers.h"

#include "common/RouterAddress.h"
#include "common/PascalString.h"

#include <algorithm>

namespace linestatus {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// From the first character that belongs, every following one that belongs.
template <typename Belongs>
QString firstRun(const QString &text, Belongs belongs)
{
    qsizetype i = 0;
    while (i < text.size() && !belongs(text.at(i)))
        ++i;
    const qsizetype start = i;
    while (i < text.size() && belongs(text.at(i)))
        ++i;
    return text.mid(start, i - start);
}

// From the first digit on, every following character that belongs: a
// separator before the number (": 12:30:05", ". 10.0.0.1") is not part of it.
template <typename Belongs>
QString numberRun(const QString &text, Belongs belongs)
{
    qsizetype i = 0;
    while (i < text.size() && !isAsciiDigit(text.at(i)))
        ++i;
    const qsizetype start = i;
    while (i < text.size() && belongs(text.at(i)))
        ++i;
    return text.mid(start, i - start);
}

void replaceFirst(QString &text, const QString &what, const QString &with)
{
    const qsizetype at = text.indexOf(what);
    if (at >= 0)
        text.replace(at, what.size(), with);
}

} // namespace

WanAddressPage wanAddressPage(const TSettings &s)
{
    if (s.Router.V5)
        return {QStringLiteral("RST_status.htm"), QStringLiteral("IP Address"), 28};
    if (s.Router.V1234)
        return {QStringLiteral("setup.cgi?next_file=st_poe.htm"),
                QStringLiteral("<TD NOWRAP><B>Getting IP Addresses</B></td>"), 0};
    return {s.IPAddress.URL, s.IPAddress.String, s.IPAddress.IPOffset};
}

QString findWanAddress(const QString &page, const WanAddressPage &where)
{
    const int at = pas::pos(where.label, page);
    if (at == 0)
        return {};
    QString text = pas::copy(page, pas::index(qint64(at) + where.label.size() + where.offset), 40);
    if (text.size() > 5)
        text = numberRun(text, [](QChar c) { return isAsciiDigit(c) || c == QLatin1Char('.'); }).trimmed();
    return isDottedIPv4(text) ? text : QString();
}

St585Link parseSt585Link(const QString &page)
{
    St585Link link;
    if (const int ip = pas::pos(QStringLiteral("IP Address:"), page)) {
        const QString w = pas::copy(page, ip + 32, 50);
        const QString address = pas::copy(w, 1, pas::pos(QStringLiteral("<"), w) - 1);
        if (isDottedIPv4(address))
            link.address = address;
    }
    const int sr = pas::pos(QStringLiteral("Sent/Received)"), page);
    if (sr == 0)
        return link;
    link.dataUnit = pas::copy(page, sr + 14, 8).trimmed();
    link.dataUnit.replace(QStringLiteral("[B/B]:<"), QStringLiteral("[ B/ B]"));

    const QString w = pas::copy(page, sr + 43, 50);
    const int slash = pas::pos(QStringLiteral("/"), w);
    if (slash == 0)
        return link;
    const auto counter = [](QChar c) {
        return isAsciiDigit(c) || c == QLatin1Char(',') || c == QLatin1Char('-') || c == QLatin1Char('.');
    };
    link.dataSent = firstRun(pas::copy(pas::copy(w, 1, slash - 1), 1, 9), counter);
    link.dataReceived = firstRun(pas::copy(pas::copy(w, slash + 1, 15), 1, 14), counter);
    return link;
}

St585PageView restyleSt585Page(const QString &page, const QString &dataUnit, const QString &dataSent,
                               const QString &dataReceived)
{
    QString p = page;
    replaceFirst(p, QStringLiteral("<table width='100%' class='datatable' cellspacing='0' cellpadding='0'>"),
                 QStringLiteral("<center><table width='70%' bgcolor='#ffffcc' border='1' cellpadding='3'>"));
    p.remove(QStringLiteral("<tr><td height='7' colspan='4'><img src='/images/spacer.gif' width='1' height='7' "
                            "border='0' alt=''></td></tr>"));
    replaceFirst(p, QStringLiteral("ved) [kB/kB]:"), QStringLiteral("ved) ") + dataUnit);
    replaceFirst(p, QStringLiteral(">0.00 / 0.00</td></tr>"),
                 QLatin1Char('>') + dataSent + QStringLiteral(" / ") + dataReceived + QStringLiteral("</td></tr>"));
    // Without the table's end there is nothing to cut: cutting at "not found"
    // would leave the figure searches an empty page.
    if (const int end = pas::pos(QStringLiteral("</td></tr></table>"), p))
        p = pas::copy(p, 1, end - 1);
    St585PageView view;
    view.viewerText = pas::copyFrom(p, pas::pos(QStringLiteral("Link Information"), p) + 28);
    view.page = p;
    return view;
}

std::optional<QString> st585Uptime(const QString &page)
{
    const int at = pas::pos(QStringLiteral("Uptime:"), page);
    if (at == 0)
        return std::nullopt;
    const QString w = pas::copy(page, at + 27, 50);
    return pas::copy(w, 2, pas::pos(QStringLiteral("<"), w) - 2);
}

std::optional<QString> v5Uptime(const QString &page)
{
    const int wan = pas::pos(QStringLiteral("WAN"), page);
    if (wan == 0)
        return std::nullopt;
    QString w = pas::copy(page, wan, 600);
    // The seventh centred cell of the WAN row is its Up Time.
    for (int i = 0; i < 7; ++i) {
        const int cell = pas::pos(QStringLiteral("align=\"center\""), w);
        if (cell == 0)
            return std::nullopt;
        w = pas::copyFrom(w, cell + 18);
    }
    const int gt = pas::pos(QStringLiteral(">"), w);
    if (gt == 0)
        return std::nullopt;
    return pas::copy(w, gt + 1, pas::pos(QStringLiteral("<"), w) - gt - 1);
}

std::optional<QString> taughtUptime(const QString &page, const QString &text, int position)
{
    const QString w = pas::copy(page, position, 75);
    const int at = pas::pos(text, w);
    if (at == 0)
        return std::nullopt;
    const QString f = pas::copy(w, at + 10, 30);
    return numberRun(f, [](QChar c) { return isAsciiDigit(c) || c == QLatin1Char(':'); });
}

QString uptimeDaysForm(const QString &uptime)
{
    const int colon = pas::pos(QStringLiteral(":"), uptime);
    if (colon == 0)
        return uptime;
    const QString hoursText = pas::copy(uptime, 1, colon - 1);
    if (hoursText.isEmpty() || !std::all_of(hoursText.begin(), hoursText.end(), isAsciiDigit))
        return uptime;
    bool ok = false;
    const qint64 hours = hoursText.toLongLong(&ok);
    if (!ok)
        return uptime;
    return QString::number(hours / 24) + QStringLiteral(" d, ") + QString::asprintf("%.2d", int(hours % 24))
           + pas::copyFrom(uptime, colon);
}

PanelUpdate uptimePanel(const QString &page, const TSettings &s, bool bytesInterfaceFound)
{
    if (s.Router.ST585) {
        const std::optional<QString> u = st585Uptime(page);
        return u ? PanelUpdate::set(QStringLiteral("DSL: ") + *u) : PanelUpdate::clear();
    }
    std::optional<QString> u;
    if (s.Router.V5) {
        u = v5Uptime(page);
    } else {
        const int position = s.Router.V1234 ? 2062 : s.UpTime.UpTimePos;
        if (s.UpTime.UpTimeText.isEmpty() || page.isEmpty() || position <= 0)
            return PanelUpdate::clear();
        u = taughtUptime(page, s.UpTime.UpTimeText, position);
    }
    QString text = u.value_or(QString());
    if (s.System.StatusBarWAN)
        text = uptimeDaysForm(text);
    if (!s.System.IsDG834 || s.System.StatusBarTelnet || text.isEmpty())
        return {};
    const bool nas0 = s.Router.Telnet && !bytesInterfaceFound;
    return PanelUpdate::set((nas0 ? QStringLiteral("nas0: ") : QStringLiteral("ppp0: ")) + text);
}

QString connectionState(const QString &page)
{
    // "Connect" right at the first character counts as neither state.
    if (pas::pos(QStringLiteral("NOWRAP>Connect"), page) > 1)
        return QStringLiteral("Connected");
    if (pas::pos(QStringLiteral("NOWRAP>Disconnect"), page) > 0)
        return QStringLiteral("Disconnected");
    return QStringLiteral("xxx");
}

} // namespace linestatus
