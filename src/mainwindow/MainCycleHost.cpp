#include "mainwindow/MainCycleHost.h"

#include "acquisition/FigureSearch.h"
#include "common/DateTimePattern.h"
#include "common/SteadyTimer.h"
#include "configuration/TForm8.h"
#include "acquisition/PingRunner.h"
#include "charts/PingPlotting.h"
#include "charts/PlottingStep.h"
#include "charts/TelnetPlotting.h"
#include "settings/ColourNames.h"
#include "settings/SettingsHub.h"
#include "chartimages/PollImages.h"
#include "pages/StatusPageTab.h"
#include "acquisition/LineStatusParsers.h"
#include "notify/CaptureSchedule.h"
#include "notify/Mailer.h"
#include "acquisition/TelnetSession.h"
#include "mainwindow/TForm1.h"
#include "notify/AlarmActions.h"
#include "notify/AlarmInputs.h"
#include "notify/StatisticsLog.h"

#include <QLabel>
#include <QTabWidget>
#include <utility>
#include <QPushButton>

MainCycleHost::MainCycleHost(TForm1 &form)
    : m_form(form), m_lineStatus(*form.HTTP), m_logLine(form.settings())
{
}

MainCycleHost::~MainCycleHost() = default;

void MainCycleHost::systemMessage(const QString &text) { m_form.SystemMessage(text); }

namespace {

void applyPanel(TForm1 &form, int panel, const linestatus::PanelUpdate &u)
{
    if (u.action == linestatus::PanelUpdate::Set)
        form.setStatusPanel(panel, u.text);
    else if (u.action == linestatus::PanelUpdate::Clear)
        form.setStatusPanel(panel, QString());
}

} // namespace

void MainCycleHost::wanAddressStep(QString &page, Next next)
{
    RunState &run = m_form.Run;
    m_lineStatus.readWanAddress(m_form.settings(), run, run.SampleCount, [this, next, &page](const WanAddressResult &r) {
        RunState &run = m_form.Run;
        applyPanel(m_form, 1, r.panel1);
        run.LastWanIPAddress = r.lastWanIPAddress;
        if (r.ipChanged) {
            m_form.SystemMessage(r.ipChangedMessage);
            m_form.m_mailer->SendEmail(r.emailText);
        }
        if (r.st585) {
            run.ThomsonDataUnit = r.thomsonDataUnit;
            run.ThomsonDataSent = r.thomsonDataSent;
            run.ThomsonDataReceived = r.thomsonDataReceived;
        }
        pageViewerStep(page);
        next();
    });
}

void MainCycleHost::pageViewerStep(QString &page)
{
    const RunState &run = m_form.Run;
    QString viewerText;
    if (m_form.settings().Router.ST585 && !page.isEmpty()) {
        // The 585's page is restyled for the view and cut; the figures are searched in the cut page.
        const linestatus::St585PageView v =
            linestatus::restyleSt585Page(page, run.ThomsonDataUnit, run.ThomsonDataSent, run.ThomsonDataReceived);
        page = v.page;
        viewerText = v.viewerText;
    }
    StatusPageTab *tab = m_form.StatusPage;
    tab->showPolledPage(page, viewerText, m_form.PageControl1->currentWidget() == tab);
}

void MainCycleHost::startLogLine() { m_logLine.begin(); }

void MainCycleHost::preparePage(QString &page)
{
    const TSettings &s = m_form.settings();
    page = FigureSearch::preparePage(page, s);
}

void MainCycleHost::logHeaderStep(const QString &)
{
    StatisticsLog &log = *m_form.m_log;
    m_logLine.decideHeader(StatisticsLog::FileSizeOf(log.currentFileName()), log.LogHeaderPending());
    m_logLine.addLeadingItems(m_form.statusPanel(1));
}

void MainCycleHost::extractFigures(const QString &page)
{
    const TSettings &s = m_form.settings();
    RunState &run = m_form.Run;
    FigureSearchInput in;
    in.Figures = run.Figures;
    in.LastGoodRxNoise = run.LastGoodRxNoise;
    in.LastGoodRxSync = run.LastGoodRxSync;
    in.UserDiffBase1 = run.UserDiffBase1;
    in.UserDiffBase2 = run.UserDiffBase2;
    in.ThomsonDataSent = run.ThomsonDataSent;
    in.ThomsonDataReceived = run.ThomsonDataReceived;
    in.ThomsonDataUnit = run.ThomsonDataUnit;
    const FigureSearchResult r = FigureSearch::run(page, s, in);

    run.Figures = r.Figures;
    run.LastGoodRxNoise = r.LastGoodRxNoise;
    run.LastGoodRxSync = r.LastGoodRxSync;
    run.UserDiffBase1 = r.UserDiffBase1;
    run.UserDiffBase2 = r.UserDiffBase2;
    run.AttenuationUpText = r.AttenuationUpText;
    run.AttenuationDownText = r.AttenuationDownText;
    m_form.m_hub->change([&r](TSettings &t) {
        t.Graph.NotANumber = r.NotANumber;
        t.Graph.NotANumber1 = r.NotANumber1;
    });
    m_form.showFigureCaptions(r);
    for (HttpLogItem which : FigureSearchResult::kLineOrder) {
        const FigureLogItem &item = r.item(which);
        run.FigureNotFound[size_t(which)] = item.NotFound;
        if (item.Produced)
            m_logLine.addItem({item.Name, item.Value});
    }
}

TColor MainCycleHost::choosePointColour(bool noAnswer)
{
    const TSettings &s = m_form.settings();
    RunState &run = m_form.Run;
    TColor colour = s.Graph.NoiseColour;
    if (noAnswer) {
        colour = s.Graph.NoRespondColour;
        run.IconAlarmState = s.Alarm.ConnectionLoss;
    }
    if (run.ConnectionStatus == QLatin1String("Disconnected")) {
        colour = s.Graph.AlarmColour;
        run.IconAlarmState = s.Alarm.ConnectionLoss;
    }
    return colour;
}

void MainCycleHost::checkCameras() { m_form.CheckCameras(); }

void MainCycleHost::telnetStep(bool)
{
    if (m_form.settings().Router.Telnet && !m_form.settings().Router.ST585)
        m_form.m_telnet->pollStep();
}

void MainCycleHost::webImagesStep() { m_form.m_pollImages->webImagesStep(m_form.btnWebStart->isChecked()); }

void MainCycleHost::scheduledCapturesStep() { m_form.m_pollImages->scheduledCapturesStep(); }

void MainCycleHost::gapStep(bool showGaps, bool isGap) { m_form.m_plotting->noteGap(showGaps, isGap); }

TColor MainCycleHost::plotHttpStep(TColor colour)
{
    const RunState &run = m_form.Run;
    const TColor result = m_form.m_plotting->plotHttp(colour, dtp::format(run.PointLabelFormat, run.SampleStamp));
    m_form.showIndicators(m_form.m_plotting->indicatorsShown());
    return result;
}

void MainCycleHost::alarmInputsStep()
{
    const RunState &run = m_form.Run;
    const TelnetFigures &telnet = m_form.m_telnetFigures;
    // Only what the router reported this poll: the page's rows, the replies parsed since the last poll.
    AlarmFigures f;
    if (!run.FigureNotFound[size_t(HttpLogItem::RxNoise)])
        f.rxNoise = run.Figures.RxNoise;
    if (!run.FigureNotFound[size_t(HttpLogItem::RxSync)])
        f.rxSync = run.Figures.RxSync;
    if (telnet.Fresh.Noise)
        f.telnetRxNoise = telnet.TelnetRxNoise;
    if (telnet.Fresh.Sync)
        f.telnetRxSync = static_cast<float>(telnet.TelnetRxSync);
    m_form.m_alarmInputs->checkThresholds(f, run.SampleCount, m_form.m_alarmActions->guards());
}

void MainCycleHost::pingStep(Next next)
{
    const TSettings &s = m_form.settings();
    if (!(s.Ping.Ping && s.Ping.ShowPing)) {
        next();
        return;
    }
    PingRunner *ping = m_form.m_ping;
    m_pingNext = next;
    if (!m_pingConnection)
        m_pingConnection = QObject::connect(ping, &PingRunner::finished, [this](const PingResult &) {
            if (Next n = std::exchange(m_pingNext, nullptr))
                n();
        });
    // A refused host answers at once; a ping still running from before (it cannot
    // outlive its own time-out) leaves this poll with the latest time measured.
    if (!ping->PingNow(s))
        if (Next n = std::exchange(m_pingNext, nullptr))
            n();
}

void MainCycleHost::telnetAverageStep()
{
    if (!m_form.settings().Router.Telnet || m_form.Run.PlotSuppressed)
        return;
    const RunState &run = m_form.Run;
    m_form.m_telnetPlotting->telnetAverages(dtp::format(run.PointLabelFormat, run.SampleStamp));
}

void MainCycleHost::logItemsAndTelnetChartsStep()
{
    const TSettings &s = m_form.settings();
    if (s.Telnet.DisableHTTP)
        m_logLine.addTelnetOnlyIpItem(m_form.statusPanel(1));
    if (s.Router.Telnet) {
        const RunState &run = m_form.Run;
        TelnetPlotting &telnet = *m_form.m_telnetPlotting;
        m_logLine.addItems(telnet.plotTelnetCharts(dtp::format(run.PointLabelFormat, run.SampleStamp)));
        m_form.setIndicators(telnet.indicatorStates());
        m_form.Label5->setEnabled(telnet.httpLabelsEnabled());
        m_form.Label22->setEnabled(telnet.httpLabelsEnabled());
        if (telnet.lastNoise().labelShown)
            m_form.Label2->setText(telnet.lastNoise().labelText);
        if (telnet.lastSync().labelShown)
            m_form.Label4->setText(telnet.lastSync().labelText);
        if (telnet.lastNoise().redrawTrayIcon || telnet.lastSync().redrawTrayIcon)
            m_form.IconNoise(colours::clLime);
    }
}

void MainCycleHost::afterPingItemsStep()
{
    const TSettings &s = m_form.settings();
    // The cycle waited for this poll's ping: the item is its time.
    if (s.Ping.Ping && s.Ping.ShowPing && s.Ping.LogPing)
        m_logLine.addItem(PingPlotting::logItem(m_form.m_ping->PingMs()));
    m_logLine.addUptimeItem(m_form.statusPanel(2));
    if (!m_form.Run.PlotSuppressed)
        m_form.m_plotting->scrollTimeline();
}

void MainCycleHost::writeLogStep()
{
    StatisticsLog &log = *m_form.m_log;
    RunState &run = m_form.Run;
    const PollLogLine line = m_logLine.finish();
    run.LogLine = line.line;
    if (!line.header.isEmpty())
        log.setPollHeader(line.header);
    if (LogLineBuilder::shouldWrite(m_form.settings(), log.LogTrimInProgress()))
        log.WriteLogNow(run.LogLine);
}

void MainCycleHost::changeAlarmsStep()
{
    RunState &run = m_form.Run;
    // A page without the noise margin has no reading to compare with the average.
    if (run.FigureNotFound[size_t(HttpLogItem::RxNoise)])
        return;
    const QList<double> recent = m_form.m_plotting->recentRxNoise(m_form.settings().Alarm.SNRSamples + 1);
    m_form.m_alarmInputs->noiseChangeStep(run.Figures.RxNoise, recent, run.LogLine, run.IconAlarmState);
}

void MainCycleHost::uptimeStep(const QString &page)
{
    applyPanel(m_form, 2, LineStatusReader::uptime(page, m_form.settings(), m_form.Run.BytesInterfaceFound));
}

void MainCycleHost::connectionStep(Next next)
{
    m_lineStatus.readConnectionState(m_form.settings(), m_form.Run, [this, next](const ConnectionResult &r) {
        if (r.checked) {
            if (r.changed) {
                m_form.Run.ConnectionStatus = r.connectionStatus;
                m_form.SystemMessage(r.message);
                if (r.raiseAlarm)
                    m_form.AlarmTriggered(QStringLiteral("Disconnected"));
            }
            if (r.writeLog)
                m_form.writeConnectionLog(r.logText);
            if (!r.caption.isEmpty())
                m_form.setWindowTitle(r.caption);
        }
        next();
    });
}

void MainCycleHost::iconNoise(TColor colour) { m_form.IconNoise(colour); }

void MainCycleHost::trayHintStep() { m_form.setTrayHint(); }

void MainCycleHost::dg834DetectionStep(const QString &page, bool firstCycle, Next next)
{
    TSettings &s = m_form.settings();
    // Never asked of a window the user cannot see: hidden, or minimised to the tray.
    const bool seen = m_form.isVisible() && !m_form.isMinimized();
    if (!firstCycle || !seen || !s.System.Advise || s.System.IsDG834 || m_dg834Question
        || !TForm8::pageNamesDg834(page)) {
        next();
        return;
    }
    // Polling waits for the answer; the cycle goes on from it.
    m_form.Timer1->stop();
    m_dg834Question = TForm8::ask(&m_form, s, TForm8::pollingText(), [this, next](AdviceDialog::Answer) {
        m_form.m_hub->sync(); // the answer reaches every view of the DG834 search
        if (m_form.btnStart->isChecked())
            m_form.Timer1->start();
        next();
    });
}

void MainCycleHost::cancelSteps()
{
    m_lineStatus.cancel();
    m_pingNext = nullptr;
}
