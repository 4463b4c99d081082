#include "acquisition/BitLoadingRefresh.h"

#include "acquisition/TelnetSession.h"
#include "common/Clock.h"
#include "common/DateTimePattern.h"

#include <algorithm>
#include <cmath>

BitLoadingRefresh::BitLoadingRefresh(TSettings &settings, TelnetSession &session, BitsRefreshState &state,
                                     QObject *parent)
    : QObject(parent), m_settings(settings), m_session(session), m_state(state)
{
    m_timer.setObjectName(QStringLiteral("tmrRefreshBitsEvery"));
    m_timer.setInterval(60 * kMsPerSecondSet);
    connect(&m_timer, &QTimer::timeout, this, &BitLoadingRefresh::tmrRefreshBitsEveryTimer);
}

int BitLoadingRefresh::pageRefreshes(int sample, int points, int seconds, bool sameSamples)
{
    if (sameSamples)
        return std::max(points, 1);
    // A page of the bitswap chart covers the time of a page of the time charts.
    return std::max(sample * points / std::max(seconds, 1), 1);
}

QString BitLoadingRefresh::intervalText(int seconds)
{
    return QStringLiteral("(%1 min : %2 sec)").arg(seconds / 60).arg(seconds % 60);
}

QString BitLoadingRefresh::pageText(int seconds, int pageRefreshes)
{
    const int minutes = int(std::lround(seconds / 60.0 * pageRefreshes));
    return QStringLiteral("  (%1 hr : %2 min per page)").arg(minutes / 60).arg(minutes % 60);
}

void BitLoadingRefresh::applyPage()
{
    const auto &t = m_settings.Telnet;
    m_pageMinutes = pageRefreshes(m_settings.System.Sample, m_settings.System.Points, t.RefreshBitsEvery,
                                  t.UseSameSamples);
    emit pageCaptions(intervalText(t.RefreshBitsEvery), pageText(t.RefreshBitsEvery, m_pageMinutes));
    emit pageLengthChanged(m_pageMinutes);
}

void BitLoadingRefresh::startup()
{
    auto &t = m_settings.Telnet;
    t.RefreshBitsEvery = std::max(t.RefreshBitsEvery, m_settings.System.Sample);
    m_timer.stop();
    m_timer.setInterval(t.RefreshBitsEvery * kMsPerSecondSet);
    m_state.ThomsonChartSpan = 0;
    m_state.ThomsonRefreshesSinceCapture = 0;
    m_state.BitsRefreshCount = 0;
    applyPage();
}

bool BitLoadingRefresh::armWhenAuto(bool running)
{
    auto &t = m_settings.Telnet;
    t.RefreshBitsEvery = std::max(t.RefreshBitsEvery, m_settings.System.Sample);
    if (!(t.BitsGraph && t.BitsRefresh))
        return false;
    m_due = true;
    m_timer.setInterval(t.RefreshBitsEvery * kMsPerSecondSet);
    if (running)
        m_timer.start();
    else
        m_timer.stop();
    return true;
}

void BitLoadingRefresh::cbBitsRefreshClick(bool running)
{
    if (!armWhenAuto(running)) {
        m_due = false;
        m_timer.stop();
    }
}

void BitLoadingRefresh::spRefreshBitsEveryChange(bool running)
{
    armWhenAuto(running);
    applyPage();
}

void BitLoadingRefresh::runArm()
{
    m_state.BitsRefreshCount = 0;
    m_chartsReset = false;
    const auto &s = m_settings;
    if (s.Router.ST585 && s._585Telnet.RefreshBits) {
        m_timer.setInterval(s._585Telnet.BitsEvery * 1000);
        m_timer.start();
    } else if (s.Telnet.BitsGraph && s.Telnet.BitsRefresh && s.Router.Telnet && !s.Router.ST585) {
        m_due = true;
        m_timer.setInterval(s.Telnet.RefreshBitsEvery * kMsPerSecondSet);
        m_timer.start();
    }
    m_state.BitsRefreshStamp = s.Graph.UTCTime ? Clock::currentDateTimeUtc() : Clock::currentDateTime();
}

void BitLoadingRefresh::stop()
{
    m_timer.stop();
}

void BitLoadingRefresh::setThomsonTimer(bool on, int intervalMs)
{
    m_timer.setInterval(intervalMs);
    if (on)
        m_timer.start();
    else
        m_timer.stop();
}

void BitLoadingRefresh::tmrRefreshBitsEveryTimer()
{
    if (m_settings.Router.ST585)
        emit thomsonRefreshDue();
    else if (m_settings.Router.Telnet)
        btnBitsRefreshClick(BitsSender::Window);
}

void BitLoadingRefresh::statisticsRequested()
{
    if (!m_settings.Telnet.BitsRefresh)
        return;
    if (m_due)
        btnBitsRefreshClick(BitsSender::Window);
    m_due = false;
}

void BitLoadingRefresh::btnBitsRefreshClick(BitsSender sender)
{
    const auto &t = m_settings.Telnet;
    // A statistics reply still on its way is not mixed with a tone table,
    // unless the request rides on it or the user asked.
    if (m_session.flags().StatsRequested && !m_due && sender != BitsSender::RefreshButton)
        return;
    if (t.DontrefreshWhenMin && m_hiddenInTray && m_hiddenInTray())
        return;
    // A request that cannot go out (session down, nothing to ask) is no
    // refresh: no stamp, no count towards the bitswap capture, and the
    // button is not left waiting for a reply that will never come.
    if (!m_session.bitLoadingCommandsWouldGo(t.BitsGraph))
        return;

    emit refreshButtonEnabled(false);
    m_state.BitsRefreshStamp =
        m_settings.Graph.UTCTime ? Clock::currentDateTimeUtc() : Clock::currentDateTime();
    ++m_state.BitsRefreshCount;

    if (t.BitswapCapture && m_state.BitsRefreshCount >= m_pageMinutes)
        emit bitswapCaptureDue();

    m_session.clearTerminal();
    if (sender == BitsSender::RefreshButton || sender == BitsSender::ShowAttenuation || m_chartsReset)
        emit toneSeriesCleared();
    m_chartsReset = false;

    m_session.sendBitLoadingCommands(t.BitsGraph, t.ShowAttenuation);

    emit lastUpdated(QStringLiteral("Last updated: ")
                     + dtp::format(QStringLiteral("dd mmm - hh:nn:ss"), m_state.BitsRefreshStamp));
    QTimer::singleShot(kAxisDelayMs, this, &BitLoadingRefresh::snrAxisDue);
}
