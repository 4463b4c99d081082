#include "RouterState.h"

#include <QRegularExpression>

namespace routersim {

namespace {

struct FigureInfo {
    Figure figure;
    const char *name;
    const char *defaultText;
};

constexpr FigureInfo kFigures[] = {
    {Figure::RxNoise, "RxNoise", "6.5"},
    {Figure::TxNoise, "TxNoise", "12.0"},
    {Figure::RxSync, "RxSync", "8128"},
    {Figure::TxSync, "TxSync", "448"},
    {Figure::RxAttenuation, "RxAttenuation", "32.5"},
    {Figure::TxAttenuation, "TxAttenuation", "18.0"},
    {Figure::RxPower, "RxPower", "19.5"},
    {Figure::TxPower, "TxPower", "12.0"},
    {Figure::DataSent, "DataSent", "1234.56"},
    {Figure::DataReceived, "DataReceived", "98765.43"},
    {Figure::TxPackets, "TxPackets", "183412"},
    {Figure::RxPackets, "RxPackets", "2404519"},
    {Figure::Collisions, "Collisions", "0"},
    {Figure::TxRate, "TxRate", "1520"},
    {Figure::RxRate, "RxRate", "25873"},
    {Figure::FecUp, "FecUp", "0"},
    {Figure::FecDown, "FecDown", "1234"},
    {Figure::CrcUp, "CrcUp", "0"},
    {Figure::CrcDown, "CrcDown", "56"},
    {Figure::HecUp, "HecUp", "0"},
    {Figure::HecDown, "HecDown", "12"},
    {Figure::LossOfLink, "LossOfLink", "0"},
    {Figure::FastCrcDown, "FastCrcDown", "3"},
    {Figure::FastFecDown, "FastFecDown", "7"},
    {Figure::FastHecDown, "FastHecDown", "1"},
    {Figure::FastCrcUp, "FastCrcUp", "2"},
    {Figure::FastFecUp, "FastFecUp", "5"},
    {Figure::FastHecUp, "FastHecUp", "4"},
    {Figure::MaxRateDown, "MaxRateDown", "10432"},
    {Figure::MaxRateUp, "MaxRateUp", "1120"},
    {Figure::SuperframesDown, "SuperframesDown", "5559235"},
    {Figure::SuperframesUp, "SuperframesUp", "5559233"},
    {Figure::SuperframesPrev15, "SuperframesPrev15", "55650"},
    {Figure::RsDown, "RsDown", "183456789"},
    {Figure::RsUp, "RsUp", "1234567"},
    {Figure::UncorrDown, "UncorrDown", "9"},
    {Figure::UncorrUp, "UncorrUp", "6"},
    {Figure::EsDown, "EsDown", "31"},
    {Figure::EsUp, "EsUp", "8"},
    {Figure::SesDown, "SesDown", "2"},
    {Figure::SesUp, "SesUp", "1"},
    {Figure::LosDown, "LosDown", "1"},
    {Figure::LosUp, "LosUp", "0"},
    {Figure::LofDown, "LofDown", "3"},
    {Figure::LofUp, "LofUp", "0"},
    {Figure::Crc15, "Crc15", "2"},
    {Figure::Es15, "Es15", "1"},
    {Figure::Lof15, "Lof15", "0"},
    {Figure::CrcDay, "CrcDay", "17"},
    {Figure::EsDay, "EsDay", "4"},
    {Figure::LofDay, "LofDay", "1"},
    {Figure::BitswapDown, "BitswapDown", "2165"},
    {Figure::BitswapUp, "BitswapUp", "35"},
    {Figure::RxBytes, "RxBytes", "2867459201"},
    {Figure::TxBytes, "TxBytes", "23456789"},
};
static_assert(std::size(kFigures) == static_cast<size_t>(Figure::Count));

const char *const kDefaultLog =
    "[DSL Up] Line rate 8128/448 kbps, Friday, 05 Jan 2024 09:59:58\n"
    "[Internet connected] IP address: 203.0.113.7, Friday, 05 Jan 2024 10:00:14\n"
    "[Admin login] from source 127.0.0.1, Friday, 05 Jan 2024 10:02:31\n"
    "[Time synchronized with NTP server] Friday, 05 Jan 2024 10:03:00\n";

const FigureInfo *findFigure(const QString &name)
{
    for (const auto &info : kFigures)
        if (name.compare(QLatin1String(info.name), Qt::CaseInsensitive) == 0)
            return &info;
    return nullptr;
}

bool isLatin1(const QString &s)
{
    for (QChar c : s)
        if (c.unicode() > 0xff)
            return false;
    return true;
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

bool is(const QString &name, const char *key)
{
    return name.compare(QLatin1String(key), Qt::CaseInsensitive) == 0;
}

} // namespace

RouterState::RouterState()
{
    for (const auto &info : kFigures)
        m_figures[static_cast<int>(info.figure)] = QString::fromLatin1(info.defaultText);
    m_wan = QStringLiteral("203.0.113.7");
    m_uptime = QStringLiteral("26:15:07");
    m_log = QString::fromLatin1(kDefaultLog);
    m_dataUnit = QStringLiteral("kB");
    m_wanInterface = QStringLiteral("ppp0");
}

void RouterState::resetCounters()
{
    static constexpr Figure kCounters[] = {
        Figure::FecUp, Figure::FecDown, Figure::CrcUp, Figure::CrcDown, Figure::HecUp, Figure::HecDown,
        Figure::FastCrcDown, Figure::FastFecDown, Figure::FastHecDown, Figure::FastCrcUp, Figure::FastFecUp,
        Figure::FastHecUp, Figure::RsDown, Figure::RsUp, Figure::UncorrDown, Figure::UncorrUp, Figure::EsDown,
        Figure::EsUp, Figure::SesDown, Figure::SesUp, Figure::LosDown, Figure::LosUp, Figure::LofDown,
        Figure::LofUp, Figure::Crc15, Figure::Es15, Figure::Lof15, Figure::CrcDay, Figure::EsDay, Figure::LofDay,
    };
    for (Figure f : kCounters)
        m_figures[static_cast<int>(f)] = QStringLiteral("0");
}

QString RouterState::figureName(Figure f)
{
    return QString::fromLatin1(kFigures[static_cast<int>(f)].name);
}

QStringList RouterState::names()
{
    QStringList out;
    for (const auto &info : kFigures)
        out << QString::fromLatin1(info.name);
    out << "wan" << "state" << "uptime" << "log" << "dataunit" << "wanif" << "linemode" << "path";
    return out;
}

bool RouterState::validate(const QString &name, const QString &value, QString *error)
{
    if (!isLatin1(value))
        return fail(error, "value must be Latin-1 text");
    if (findFigure(name)) {
        // Digits, signs and separators only: anything else could break the
        // page markup the figure sits in.
        static const QRegularExpression re(QStringLiteral("^[-+0-9.,:]{1,12}$"));
        if (!re.match(value).hasMatch())
            return fail(error, QString("%1 takes 1 to %2 characters of digits, sign, '.', ',' or ':'")
                                   .arg(name).arg(kMaxFigureLength));
        return true;
    }
    if (is(name, "wan")) {
        static const QRegularExpression re(QStringLiteral("^[0-9.]{1,15}$"));
        if (!re.match(value).hasMatch())
            return fail(error, "wan takes a dotted address of up to 15 characters");
        return true;
    }
    if (is(name, "state")) {
        if (!is(value, "Connected") && !is(value, "Disconnected"))
            return fail(error, "state is Connected or Disconnected");
        return true;
    }
    if (is(name, "uptime")) {
        static const QRegularExpression re(QStringLiteral("^[^<>&\\x00-\\x1f]{1,24}$"));
        if (!re.match(value).hasMatch())
            return fail(error, QString("uptime takes 1 to %1 characters without markup").arg(kMaxUptimeLength));
        return true;
    }
    if (is(name, "log")) {
        // A '<' could close the text area early and cut the log short.
        if (value.size() > kMaxLogLength || value.contains('<'))
            return fail(error, QString("log takes up to %1 characters without '<'").arg(kMaxLogLength));
        return true;
    }
    if (is(name, "dataunit")) {
        if (value != "kB" && value != "MB" && value != "GB")
            return fail(error, "dataunit is kB, MB or GB");
        return true;
    }
    if (is(name, "wanif")) {
        if (value != "ppp0" && value != "nas0")
            return fail(error, "wanif is ppp0 or nas0");
        return true;
    }
    if (is(name, "linemode")) {
        if (!is(value, "ADSL") && !is(value, "ADSL2+"))
            return fail(error, "linemode is ADSL or ADSL2+");
        return true;
    }
    if (is(name, "path")) {
        if (!is(value, "interleaved") && !is(value, "fast"))
            return fail(error, "path is interleaved or fast");
        return true;
    }
    return fail(error, QString("unknown figure '%1'").arg(name));
}

bool RouterState::set(const QString &name, const QString &value, QString *error)
{
    if (!validate(name, value, error))
        return false;
    if (const FigureInfo *info = findFigure(name))
        m_figures[static_cast<int>(info->figure)] = value;
    else if (is(name, "wan"))
        m_wan = value;
    else if (is(name, "state"))
        m_connected = is(value, "Connected");
    else if (is(name, "uptime"))
        m_uptime = value;
    else if (is(name, "log"))
        m_log = value;
    else if (is(name, "dataunit"))
        m_dataUnit = value;
    else if (is(name, "wanif"))
        m_wanInterface = value;
    else if (is(name, "linemode"))
        m_adsl2Plus = is(value, "ADSL2+");
    else if (is(name, "path"))
        m_interleaved = is(value, "interleaved");
    return true;
}

QString RouterState::get(const QString &name) const
{
    if (const FigureInfo *info = findFigure(name))
        return m_figures[static_cast<int>(info->figure)];
    if (is(name, "wan"))
        return m_wan;
    if (is(name, "state"))
        return m_connected ? "Connected" : "Disconnected";
    if (is(name, "uptime"))
        return m_uptime;
    if (is(name, "log"))
        return m_log;
    if (is(name, "dataunit"))
        return m_dataUnit;
    if (is(name, "wanif"))
        return m_wanInterface;
    if (is(name, "linemode"))
        return m_adsl2Plus ? "ADSL2+" : "ADSL";
    if (is(name, "path"))
        return m_interleaved ? "interleaved" : "fast";
    return {};
}

} // namespace routersim
