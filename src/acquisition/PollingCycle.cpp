#include "acquisition/PollingCycle.h"

#include "common/Clock.h"

PollingCycle::PollingCycle(const TSettings &settings, RunState &state, RouterHttpClient &client,
                           PollingCycleHost &host, QObject *parent)
    : QObject(parent), m_settings(settings), m_state(state), m_host(host), m_fetch(client)
{
    connect(&m_fetch, &StatusPageFetch::systemMessage, this, [this](const QString &t) { m_host.systemMessage(t); });
    connect(&m_fetch, &StatusPageFetch::finished, this, &PollingCycle::afterFetch);
}

int PollingCycle::transferTimeoutMs(int sampleSeconds)
{
    return qBound(1, sampleSeconds, RouterHttpClient::kMaxTransferTimeoutMs / 1000) * 1000;
}

PollingCycleHost::Next PollingCycle::guarded(void (PollingCycle::*step)())
{
    // A continuation that arrives after a cancel (Stop, close) does nothing.
    const quint64 generation = m_generation;
    return [this, step, generation] {
        if (m_busy && generation == m_generation)
            (this->*step)();
    };
}

void PollingCycle::cancel()
{
    ++m_generation;
    m_fetch.cancel();
    m_host.cancelSteps();
    m_busy = false;
}

void PollingCycle::end()
{
    m_busy = false;
    emit finished();
}

bool PollingCycle::start(bool firstCycle)
{
    if (m_busy)
        return false;
    m_busy = true;
    ++m_generation;
    m_firstCycle = firstCycle;
    m_noAnswer = false;
    m_page.clear();
    const TSettings &s = m_settings;

    // 1-2: alarm picture off; gaps measured on true epoch seconds.
    m_state.IconAlarmState = false;
    const qint64 nowSecond = Clock::currentDateTimeUtc().toSecsSinceEpoch();
    const bool isGap = nowSecond - m_state.LastSampleSecond > qint64(s.Graph.GapFactor) * 60;
    m_host.gapStep(s.Graph.ShowGaps, isGap);
    m_state.LastSampleSecond = nowSecond;

    // 3: scheduled capture window; a run waiting for its schedule stops here.
    m_host.checkCameras();
    if (s.Capture.Never)
        m_state.CaptureActive = false;
    if (m_state.ScheduleWaiting && !m_state.CaptureActive) {
        end();
        return true;
    }

    // 4: after a Stop the previous figures stand for this cycle.
    if (!m_state.StoppedSinceRound)
        m_state.Figures = SampleFigures{};
    m_state.FigureNotFound = {};
    m_state.StoppedSinceRound = false;

    // 5: telnet-only monitoring needs no status-page address (Run accepts it
    // without one), so only the HTTP polls stop here.
    if (s.Router.Login.isEmpty() && !s.Telnet.DisableHTTP) {
        end();
        return true;
    }

    // 6
    m_state.LogLine.clear();
    m_host.startLogLine();
    const int attempts = firstCycle ? 6 : 3;

    // 7
    if (m_state.RebootInProgress && s.Graph.Pause) {
        m_host.systemMessage(QStringLiteral("Reboot in progress and Pause Graphs checked - plotting skipped"));
        end();
        return true;
    }

    // 8: telnet-only monitoring skips the page.
    if (s.Telnet.DisableHTTP) {
        fromCounting();
        return true;
    }

    StatusPageRequest request;
    request.url = s.Router.Login;
    request.attempts = attempts;
    request.firstCycle = firstCycle;
    request.login = s.Router.cbLogin;
    request.username = s.Router.Username;
    request.password = s.Router.Password;
    request.usernameNotRequired = s.Router.UsernameNotRequired;
    request.transferTimeoutMs = transferTimeoutMs(s.System.Sample);
    m_fetch.start(request);
    return true;
}

void PollingCycle::afterFetch(const QByteArray &page, bool noAnswer)
{
    if (!m_busy)
        return;
    // Router text is bytes: one byte, one character, so taught positions hold.
    m_page = QString::fromLatin1(page);
    m_noAnswer = noAnswer;
    if (noAnswer)
        emit pageFailed(m_fetch.lastFailure());
    else
        emit pageAnswered();
    if (m_page.size() < 10 && m_settings.Graph.Pause) {
        end();
        return;
    }
    if (m_noAnswer) {
        fromCounting();
        return;
    }
    m_host.preparePage(m_page);
    m_host.wanAddressStep(m_page, guarded(&PollingCycle::afterWanAddress));
}

void PollingCycle::afterWanAddress()
{
    m_state.SampleStamp = m_settings.Graph.UTCTime ? Clock::currentDateTimeUtc() : Clock::currentDateTime();
    m_host.logHeaderStep(m_page);
    m_host.dg834DetectionStep(m_page, m_firstCycle, guarded(&PollingCycle::afterDg834));
}

void PollingCycle::afterDg834()
{
    m_host.extractFigures(m_page);
    m_host.uptimeStep(m_page);
    fromCounting();
}

void PollingCycle::fromCounting()
{
    const TSettings &s = m_settings;

    // 9
    ++m_state.SampleCount;
    m_state.PointsPlotted = qMin(m_state.PointsPlotted + 1, s.System.Points);

    // 10-11: images show the charts up to the previous poll.
    m_host.webImagesStep();
    m_host.checkCameras();
    if (s.Capture.Never)
        m_state.CaptureActive = false;
    m_host.scheduledCapturesStep();

    // 12: nothing to plot for an empty first poll.
    if (m_state.SampleCount <= 1 && m_state.Figures.RxNoise <= 0) {
        end();
        return;
    }

    // 13
    m_state.PointLabelFormat = s.System.Sample < 30 ? QStringLiteral(" hh:nn:ss ") : QStringLiteral(" hh:nn      ");

    // 14: a plot-only run outside the capture hours still fetches, logs and raises
    // alarms (the log is what proves a line fault); only the charts are left alone.
    m_colour = m_host.choosePointColour(m_noAnswer);
    m_state.PlotSuppressed = m_state.SchedulePlotOnly && !m_state.CaptureActive;

    // 15-16
    if (!s.Telnet.DisableHTTP) {
        if (!m_state.PlotSuppressed)
            m_colour = m_host.plotHttpStep(m_colour);
        m_host.iconNoise(m_colour);
    }
    m_host.telnetStep(m_firstCycle);

    // 17: the first cycle of a run stops after sending the telnet commands.
    if (m_firstCycle) {
        end();
        return;
    }

    // 18-20: the telnet charts are plotted before the ping, whatever order
    // the ping and the router's reply finish in.
    m_host.telnetAverageStep();
    m_host.alarmInputsStep();
    m_host.logItemsAndTelnetChartsStep();

    // The log line carries this poll's ping, so the cycle waits for it.
    m_host.pingStep(guarded(&PollingCycle::afterPing));
}

void PollingCycle::afterPing()
{
    // 20-22
    m_host.afterPingItemsStep();
    m_host.writeLogStep();
    m_host.changeAlarmsStep();

    // 23
    if (m_noAnswer) {
        end();
        return;
    }

    // 24
    m_host.connectionStep(guarded(&PollingCycle::afterConnection));
}

void PollingCycle::afterConnection()
{
    const TSettings &s = m_settings;
    // 25
    if (m_state.ConnectionStatus == QLatin1String("Disconnected")) {
        m_colour = s.Graph.AlarmColour;
        m_state.IconAlarmState = s.Alarm.ConnectionLoss;
    }
    if (!s.Telnet.DisableHTTP)
        m_host.iconNoise(m_colour);
    // 26
    m_host.trayHintStep();
    end();
}
