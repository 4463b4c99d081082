#include "mainwindow/MainCycleHost.h"

#include "mainwindow/TForm1.h"

MainCycleHost::MainCycleHost(TForm1 &form) : m_form(form), m_lineStatus(*form.httpClient()) {}

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
    RunState &run = m_form.runState();
    m_lineStatus.readWanAddress(m_form.settings(), run, run.SampleCount, [this, next](const WanAddressResult &r) {
        RunState &run = m_form.runState();
        applyPanel(m_form, 1, r.panel1);
        run.LastWanIPAddress = r.lastWanIPAddress;
        if (r.ipChanged)
            m_form.SystemMessage(r.ipChangedMessage);
        if (r.st585) {
            run.ThomsonDataUnit = r.thomsonDataUnit;
            run.ThomsonDataSent = r.thomsonDataSent;
            run.ThomsonDataReceived = r.thomsonDataReceived;
        }
        next();
    });
}

void MainCycleHost::uptimeStep(const QString &page)
{
    applyPanel(m_form, 2, LineStatusReader::uptime(page, m_form.settings(), m_form.runState().BytesInterfaceFound));
}

void MainCycleHost::connectionStep(Next next)
{
    m_lineStatus.readConnectionState(m_form.settings(), m_form.runState(), [this, next](const ConnectionResult &r) {
        if (r.checked) {
            if (r.changed) {
                m_form.runState().ConnectionStatus = r.connectionStatus;
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

void MainCycleHost::cancelSteps() { m_lineStatus.cancel(); }
