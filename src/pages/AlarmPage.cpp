#include "pages/AlarmPage.h"

#include "common/NumberFormat.h"
#include "common/Trace.h"
#include "notify/AlarmActions.h"
#include "notify/AlarmInputs.h"
#include "notify/StatisticsLog.h"
#include "platform/ShellOpen.h"
#include "settings/SettingsHub.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include "widgets/ConfirmBox.h"
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

template <typename W>
W *named(W *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

} // namespace

AlarmPage::AlarmPage(SettingsHub &hub, RunState &run, AlarmActions &actions, AlarmInputs &inputs, StatisticsLog &log,
                     QWidget *parent)
    : QWidget(parent), m_hub(hub), m_settings(hub.settings()), m_run(run), m_actions(actions), m_log(log)
{
    setObjectName(QStringLiteral("TabSheet29"));
    build();
    connect(&inputs, &AlarmInputs::labelsChanged, this,
            [this](const QString &a, const QString &b, const QString &c) {
                Label65->setText(a);
                Label66->setText(b);
                Label67->setText(c);
            });
    applySettings();
}

QString AlarmPage::sendNowReason()
{
    return QStringLiteral("\"Send Now\" button clicked on Alarm Actions page.");
}

bool AlarmPage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && m_columns) {
        const QMargins m = m_columns->contentsMargins();
        const int both = m_left->minimumSize().width() + m_right->minimumSize().width() + m_columns->spacing()
                         + m.left() + m.right();
        const auto direction = static_cast<QWidget *>(watched)->width() >= both ? QBoxLayout::LeftToRight
                                                                                 : QBoxLayout::TopToBottom;
        if (m_columns->direction() != direction)
            m_columns->setDirection(direction);
    }
    return QWidget::eventFilter(watched, event);
}

bool AlarmPage::columnsSideBySide() const { return m_columns && m_columns->direction() == QBoxLayout::LeftToRight; }

void AlarmPage::build()
{
    auto *content = new QWidget;
    auto *columns = new QBoxLayout(QBoxLayout::LeftToRight, content);
    m_columns = columns;

    // The controls that edit a setting; the window's binding table ties each to its key.
    auto check = [content](const char *name, const QString &text) { return named(new QCheckBox(text, content), name); };
    auto spin = [content](const char *name, int min, int max) {
        auto *sp = named(new QSpinBox(content), name);
        sp->setRange(min, max);
        return sp;
    };
    auto edit = [content](const char *name) { return named(new QLineEdit(content), name); };
    auto radio = [content](const char *name, const QString &text) { return named(new QRadioButton(text, content), name); };
    auto label = [content](const char *name, const QString &text) { return named(new QLabel(text, content), name); };
    auto button = [content](const char *name, const QString &text) {
        return named(new QPushButton(text, content), name);
    };
    auto group = [this](QButtonGroup *g, std::initializer_list<QRadioButton *> buttons) {
        g->setParent(this);
        for (QRadioButton *b : buttons)
            g->addButton(b);
    };

    // ---- What raises an alarm ----
    auto *triggers = new QGroupBox(tr("Trigger alarm when"), content);
    auto *tg = new QGridLayout(triggers);
    cbNoiseAbove = check("cbNoiseAbove", QStringLiteral("Rx Noise Margin is above"));
    spNoiseAboveVal = spin("spNoiseAboveVal", -100, 100);
    spNoiseAboveSec = spin("spNoiseAboveSec", 1, 86400);
    cbNoiseBelow = check("cbNoiseBelow", QStringLiteral("Rx Noise Margin is below"));
    spNoisebelowVal = spin("spNoisebelowVal", -100, 100);
    spNoiseBelowSec = spin("spNoiseBelowSec", 1, 86400);
    cbSyncAbove = check("cbSyncAbove", QStringLiteral("Rx Sync Speed is above"));
    spSyncAboveVal = spin("spSyncAboveVal", 0, 999999);
    spSyncAboveSec = spin("spSyncAboveSec", 1, 86400);
    cbSyncBelow = check("cbSyncBelow", QStringLiteral("Rx Sync Speed is below"));
    spSyncBelowVal = spin("spSyncBelowVal", 0, 999999);
    spSyncBelowSec = spin("spSyncBelowSec", 1, 86400);
    const struct {
        QCheckBox *box;
        QSpinBox *value;
        const char *unit;
        QSpinBox *seconds;
    } rows[] = {{cbNoiseAbove, spNoiseAboveVal, "dB", spNoiseAboveSec},
                {cbNoiseBelow, spNoisebelowVal, "dB", spNoiseBelowSec},
                {cbSyncAbove, spSyncAboveVal, "Kbps", spSyncAboveSec},
                {cbSyncBelow, spSyncBelowVal, "Kbps", spSyncBelowSec}};
    int row = 0;
    for (const auto &r : rows) {
        tg->addWidget(r.box, row, 0);
        tg->addWidget(r.value, row, 1);
        // The boxes' captions name the figures a screen reader speaks for the spin boxes.
        r.value->setAccessibleName(tr("%1 (%2)").arg(r.box->text(), QLatin1String(r.unit)));
        r.seconds->setAccessibleName(tr("%1 for this many seconds").arg(r.box->text()));
        tg->addWidget(new QLabel(tr("%1 for").arg(QLatin1String(r.unit)), content), row, 2);
        tg->addWidget(r.seconds, row, 3);
        tg->addWidget(new QLabel(tr("seconds"), content), row, 4);
        ++row;
    }
    cbSNRChangeHi = check("cbSNRChangeHi", QStringLiteral("Rx Noise Margin has increased by more than"));
    spAlarmSNRHi = spin("spAlarmSNRHi", 1, 2000);
    Label48 = label("Label48", QStringLiteral("%"));
    Label65 = label("Label65", QString());
    cbSNRChangeLo = check("cbSNRChangeLo", QStringLiteral("Rx Noise Margin has decreased by more than"));
    spAlarmSNRLo = spin("spAlarmSNRLo", 1, 2000);
    Label50 = label("Label50", QStringLiteral("%"));
    Label66 = label("Label66", QString());
    Label64 = label("Label64", tr("Average of the last"));
    spSNRSamples = spin("spSNRSamples", 5, 1000);
    Label62 = label("Label62", tr("points"));
    Label67 = label("Label67", QString());
    spAlarmSNRHi->setAccessibleName(cbSNRChangeHi->text() + QStringLiteral(" (%)"));
    spAlarmSNRLo->setAccessibleName(cbSNRChangeLo->text() + QStringLiteral(" (%)"));
    Label64->setBuddy(spSNRSamples);
    tg->addWidget(cbSNRChangeHi, row, 0);
    tg->addWidget(spAlarmSNRHi, row, 1);
    tg->addWidget(Label48, row, 2);
    tg->addWidget(Label65, row++, 3, 1, 2);
    tg->addWidget(cbSNRChangeLo, row, 0);
    tg->addWidget(spAlarmSNRLo, row, 1);
    tg->addWidget(Label50, row, 2);
    tg->addWidget(Label66, row++, 3, 1, 2);
    tg->addWidget(Label64, row, 0, Qt::AlignRight);
    tg->addWidget(spSNRSamples, row, 1);
    tg->addWidget(Label62, row, 2);
    tg->addWidget(Label67, row++, 3, 1, 2);
    cbState = check("cbState", QStringLiteral("Router ppp session has disconnected (Netgear DG834(G, GT))"));
    tg->addWidget(cbState, row++, 0, 1, 5);
    cbAlarmOnce = check("cbAlarmOnce", QStringLiteral("Only trigger alarm action once"));
    tg->addWidget(cbAlarmOnce, row++, 0, 1, 5);
    Label38 = label("Label38", tr("Hold back further alarm actions for"));
    spAntiCycle = spin("spAntiCycle", 1, 120);
    Label20 = label("Label20", tr("minutes"));
    Label38->setBuddy(spAntiCycle);
    tg->addWidget(Label38, row, 0, Qt::AlignRight);
    tg->addWidget(spAntiCycle, row, 1);
    tg->addWidget(Label20, row++, 2, 1, 3);

    auto *icon = new QGroupBox(tr("Show the alarm icon when"), content);
    auto *ig = new QVBoxLayout(icon);
    cbConnectionLoss = check("cbConnectionLoss", QStringLiteral("Router loses internet connectivity"));
    cbAllAlarms = check("cbAllAlarms", QStringLiteral("Any alarm setpoint is triggered (except ping)"));
    ig->addWidget(cbConnectionLoss);
    ig->addWidget(cbAllAlarms);
    Label44 = new QLabel(
        QStringLiteral("'Show Rx Noise value on icons' needs to be checked on the Configuration | System tab"), icon);
    Label44->setObjectName(QStringLiteral("Label44"));
    Label44->setWordWrap(true);
    ig->addWidget(Label44);

    auto *left = new QVBoxLayout;
    left->addWidget(triggers);
    left->addWidget(icon);
    left->addStretch(1);

    // ---- What an alarm does ----
    auto *actionsBox = new QGroupBox(tr("Alarm actions"), content);
    auto *ag = new QGridLayout(actionsBox);
    row = 0;
    cbWriteAlarmToLog = check("cbWriteAlarmToLog", QStringLiteral("Write to Log"));
    rbUseNormalLog = radio("rbUseNormalLog", QStringLiteral("Log alarms in normal log file"));
    rbUseAlarmLog = radio("rbUseAlarmLog", QStringLiteral("Log alarms in separate alarm log file"));
    group(new QButtonGroup, {rbUseNormalLog, rbUseAlarmLog});
    Label68 = label("Label68", QStringLiteral("Alarm log filename"));
    edAlarmLog = edit("edAlarmLog");
    btnBrowseAlarmLog = button("btnBrowseAlarmLog", tr("Browse..."));
    btnViewAlarmLog = button("btnViewAlarmLog", tr("View"));
    Label69 = label("Label69", QString());
    btnWriteNow = button("btnWriteNow", tr("Write Now"));
    btnViewAlarmLog1 = button("btnViewAlarmLog1", tr("View Log"));
    ag->addWidget(cbWriteAlarmToLog, row, 0);
    ag->addWidget(btnWriteNow, row, 2);
    ag->addWidget(btnViewAlarmLog1, row++, 3);
    ag->addWidget(rbUseNormalLog, row++, 0, 1, 4);
    ag->addWidget(rbUseAlarmLog, row++, 0, 1, 4);
    Label68->setBuddy(edAlarmLog);
    ag->addWidget(Label68, row, 0);
    ag->addWidget(edAlarmLog, row, 1);
    ag->addWidget(btnBrowseAlarmLog, row, 2);
    ag->addWidget(btnViewAlarmLog, row++, 3);
    ag->addWidget(Label69, row++, 0, 1, 4);

    cbSendEmailMain = check("cbSendEmailMain", QStringLiteral("Send e-mail"));
    btnSendEmailNow = button("btnSendEmailNow", tr("Send Now"));
    cbJustOne = check("cbJustOne", QStringLiteral("Only send one e-mail until envelope Icon is reset"));
    spEmailTimeout = spin("spEmailTimeout", 1, 120);
    ag->addWidget(cbSendEmailMain, row, 0);
    ag->addWidget(btnSendEmailNow, row++, 3);
    ag->addWidget(cbJustOne, row++, 0, 1, 4);
    auto *emailWait = new QLabel(tr("Reboot waits for the e-mail at most"), content);
    emailWait->setBuddy(spEmailTimeout);
    ag->addWidget(emailWait, row, 0, Qt::AlignRight);
    ag->addWidget(spEmailTimeout, row, 1);
    ag->addWidget(new QLabel(tr("seconds"), content), row++, 2);

    cbAudible = check("cbAudible", QStringLiteral("Audible alarm"));
    btnTestSound = button("btnTestSound", QStringLiteral("Test Audio"));
    ag->addWidget(cbAudible, row, 0);
    ag->addWidget(btnTestSound, row++, 3);

    cbExternal = check("cbExternal", QStringLiteral("Run external script or application"));
    edExternalApp = edit("edExternalApp");
    btnBrowse = button("btnBrowse", QStringLiteral("Browse..."));
    btnTestApp = button("btnTestApp", QStringLiteral("Run Now"));
    cbAppMin = check("cbAppMin", QStringLiteral("Run minimized"));
    spScriptWait = spin("spScriptWait", 1, 300);
    ag->addWidget(cbExternal, row, 0);
    ag->addWidget(btnTestApp, row++, 3);
    ag->addWidget(edExternalApp, row, 0, 1, 3);
    ag->addWidget(btnBrowse, row++, 3);
    ag->addWidget(cbAppMin, row++, 0);
    edExternalApp->setAccessibleName(tr("External script or application"));
    auto *scriptWait = new QLabel(tr("Send the script after"), content);
    scriptWait->setBuddy(spScriptWait);
    ag->addWidget(scriptWait, row, 0, Qt::AlignRight);
    ag->addWidget(spScriptWait, row, 1);
    Label97 = label("Label97", QString());
    ag->addWidget(Label97, row++, 2);

    cbReboot = check("cbReboot", QStringLiteral("Reboot router"));
    cbDontReboot = check("cbDontReboot", QStringLiteral("Don't reboot more than"));
    spRebootsPerHour = spin("spRebootsPerHour", 1, 120);
    rbPerHour = radio("rbPerHour", QStringLiteral("per hour   /"));
    rbPerDay = radio("rbPerDay", QStringLiteral("per day"));
    group(new QButtonGroup, {rbPerHour, rbPerDay});
    rbUseWeb = radio("rbUseWeb", QStringLiteral("Use webpage data and reboot through http"));
    rbUseTelnet = radio("rbUseTelnet", QStringLiteral("Use telnet data and reboot through telnet "));
    group(new QButtonGroup, {rbUseWeb, rbUseTelnet});
    Label21 = label("Label21", QStringLiteral("URL to reboot router"));
    edReboot = edit("edReboot");
    spRebootsPerHour->setAccessibleName(tr("Most reboots"));
    Label21->setBuddy(edReboot);
    ag->addWidget(cbReboot, row++, 0);
    auto *limit = new QHBoxLayout;
    limit->addWidget(cbDontReboot);
    limit->addWidget(spRebootsPerHour);
    limit->addWidget(rbPerHour);
    limit->addWidget(rbPerDay);
    limit->addStretch(1);
    ag->addLayout(limit, row++, 0, 1, 4);
    ag->addWidget(rbUseWeb, row++, 0, 1, 4);
    ag->addWidget(rbUseTelnet, row++, 0, 1, 4);
    ag->addWidget(Label21, row, 0);
    ag->addWidget(edReboot, row++, 1, 1, 3);
    btnReboot = new QPushButton(QStringLiteral("Reboot Now"), content);
    btnReboot->setObjectName(QStringLiteral("btnReboot"));
    ag->addWidget(btnReboot, row++, 0);
    connect(btnReboot, &QPushButton::clicked, this, &AlarmPage::btnRebootClick);

    auto *right = new QVBoxLayout;
    right->addWidget(actionsBox);
    right->addStretch(1);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    m_left = left;
    m_right = right;

    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("AlarmScroll"));
    scroll->setWidgetResizable(true);
    // Side by side where both columns fit, else one under the other: one page
    // that scrolls down, never a column cut off at the side.
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->viewport()->installEventFilter(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    connect(btnBrowse, &QPushButton::clicked, this, &AlarmPage::btnBrowseClick);
    connect(btnTestSound, &QPushButton::clicked, this, &AlarmPage::btnTestSoundClick);
    connect(btnTestApp, &QPushButton::clicked, this, &AlarmPage::btnTestAppClick);
    connect(btnBrowseAlarmLog, &QPushButton::clicked, this, &AlarmPage::btnBrowseAlarmLogClick);
    connect(btnViewAlarmLog, &QPushButton::clicked, this, &AlarmPage::btnViewAlarmLogClick);
    connect(btnViewAlarmLog1, &QPushButton::clicked, this, &AlarmPage::btnViewAlarmLog1Click);
    connect(btnSendEmailNow, &QPushButton::clicked, this, [this] { emit sendEmailNowRequested(sendNowReason()); });
}

std::vector<SettingFollower> AlarmPage::followers()
{
    AlarmActions &x = m_actions;
    return {
        {{"Alarm/NoiseAbove"}, [&x] { x.thresholdBoxChanged(QStringLiteral("NoiseAbove")); }},
        {{"Alarm/NoiseBelow"}, [&x] { x.thresholdBoxChanged(QStringLiteral("NoiseBelow")); }},
        {{"Alarm/SyncAbove"}, [&x] { x.thresholdBoxChanged(QStringLiteral("SyncAbove")); }},
        {{"Alarm/SyncBelow"}, [&x] { x.thresholdBoxChanged(QStringLiteral("SyncBelow")); }},
        {{"Alarm/NoiseAboveSec"}, [this] { spNoiseAboveSecChange(); }},
        {{"Alarm/NoiseBelowSec"}, [this] { spNoiseBelowSecChange(); }},
        {{"Alarm/SyncAboveSec"}, [this] { spSyncAboveSecChange(); }},
        {{"Alarm/SyncBelowSec"}, [this] { spSyncBelowSecChange(); }},
        {{"Alarm/AntiCycle", "Alarm/EmailTimeout"}, [this] { spAntiCycleChange(); }},
        {{"Alarm/Audible"}, [this] { cbAudibleClick(); }},
        {{"Alarm/AlarmOnce"}, [this] { cbAlarmOnceClick(); }},
        {{"Alarm/PerHour", "Alarm/PerDay"}, [this] { rbPerHourClick(); }},
        {{"Alarm/UseWeb", "Alarm/UseTelnet"}, [this] { rbUseWebClick(); }},
        {{"Alarm/cbReboot"}, [this] { cbRebootClick(); }},
        {{"Alarm/ScriptWait"}, [this] { spScriptWaitChange(); }},
        {{"Alarm/SNRValueHi", "Alarm/SNRValueLo"}, [this] { AlarmSNRChange(); }},
        {{"Alarm/AlarmNormalLog", "Alarm/AlarmAlarmLog"}, [this] { rbUseNormalLogClick(); }},
        {{"Alarm/LogAlarm"}, [this] { cbWriteAlarmToLogClick(); }},
        {{"Alarm/RebootURL"}, [this] { edRebootChange(); }},
        {{"Alarm/AlarmLog"}, [this] { edAlarmLogChange(); }},
        {{"Alarm/State"}, [this] { emit cbStateClicked(m_settings.Alarm.State); }},
    };
}

void AlarmPage::applySettings()
{
    TSettings &s = m_settings;
    m_actions.applySettings();

    cbJustOne->setEnabled(s.Email.ShowIcon);
    // What the router offers decides how alarms read and reboot it: the settings are forced to it.
    const bool telnetPossible = s.Router.Telnet || s.Router.ST585;
    const bool telnetOnly = s.Telnet.DisableHTTP || s.Router.ST585;
    m_hub.change([&](TSettings &t) {
        if (!telnetPossible || telnetOnly) {
            t.Alarm.UseWeb = !telnetOnly;
            t.Alarm.UseTelnet = telnetOnly;
        }
    });
    rbUseTelnet->setEnabled(telnetPossible);
    rbUseWeb->setEnabled(!telnetOnly);
    rbUseWebClick();
    cbSendEmailMain->setEnabled(!s.Email.Server.isEmpty());
    cbWriteAlarmToLog->setEnabled(m_actions.writeToLogEnabled());
    for (QWidget *w : std::initializer_list<QWidget *>{Label38, spAntiCycle, Label20})
        w->setEnabled(!s.Alarm.AlarmOnce);
    Label69->setText(s.Alarm.AlarmNormalLog ? m_log.panelText() : s.Alarm.AlarmLog);
    if (!s.System.Log && !s.Alarm.AlarmAlarmLog)
        Label69->clear();
    edAlarmLogChange();
    AlarmSNRChange();
    spScriptWaitChange();
    showNoiseNote();
}

void AlarmPage::showNoiseNote() { Label44->setVisible(!m_settings.System.ShowNoise); }

void AlarmPage::showEvent(QShowEvent *event)
{
    // The icon option may have changed from the tray menu since the page was last shown.
    showNoiseNote();
    QWidget::showEvent(event);
}

QMessageBox *AlarmPage::showBox(const QString &text, bool warning)
{
    auto *box = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Information,
                                QStringLiteral("Veltrano 6.3"), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    trace::write(QStringLiteral("box"), text);
    box->open();
    return box;
}

// ---- Set points ---------------------------------------------------------------

void AlarmPage::cbNoiseAboveClick() { m_actions.thresholdBoxChanged(QStringLiteral("NoiseAbove")); }
void AlarmPage::cbNoiseBelowClick() { m_actions.thresholdBoxChanged(QStringLiteral("NoiseBelow")); }
void AlarmPage::cbSyncAboveClick() { m_actions.thresholdBoxChanged(QStringLiteral("SyncAbove")); }
void AlarmPage::cbSyncBelowClick() { m_actions.thresholdBoxChanged(QStringLiteral("SyncBelow")); }
void AlarmPage::spNoiseAboveSecChange() { m_actions.delaySecondsChanged(QStringLiteral("NoiseAbove")); }
void AlarmPage::spNoiseBelowSecChange() { m_actions.delaySecondsChanged(QStringLiteral("NoiseBelow")); }
void AlarmPage::spSyncAboveSecChange() { m_actions.delaySecondsChanged(QStringLiteral("SyncAbove")); }
void AlarmPage::spSyncBelowSecChange() { m_actions.delaySecondsChanged(QStringLiteral("SyncBelow")); }

void AlarmPage::spAntiCycleChange() { m_actions.antiCycleChanged(); }

void AlarmPage::cbAudibleClick() { m_actions.audibleChanged(); }

void AlarmPage::cbAlarmOnceClick()
{
    const bool unchecked = !m_settings.Alarm.AlarmOnce;
    for (QWidget *w : std::initializer_list<QWidget *>{Label38, spAntiCycle, Label20})
        w->setEnabled(unchecked);
    m_actions.alarmOnceChanged();
}

void AlarmPage::AlarmSNRChange()
{
    const bool http = !m_settings.Telnet.DisableHTTP;
    for (QWidget *w : std::initializer_list<QWidget *>{cbState, cbSNRChangeHi, cbSNRChangeLo, spAlarmSNRHi,
                                                       spAlarmSNRLo, spSNRSamples, Label48, Label50, Label64,
                                                       Label62, Label65, Label66, Label67})
        w->setEnabled(http);
    if (!http || !m_rxNoise)
        return;
    const int n = m_settings.Alarm.SNRSamples;
    if (n < 2 || n >= m_run.SampleCount)
        return;
    // The N - 1 points before the newest.
    const QList<double> points = m_rxNoise(n);
    if (points.size() < n)
        return;
    double sum = 0;
    for (qsizetype i = 0; i < n - 1; ++i)
        sum += points.at(i);
    const double avg = sum / (n - 1);
    const double rx = m_run.Figures.RxNoise;
    const QString point = QLocale::system().decimalPoint();
    const QChar decimal = point.isEmpty() ? QLatin1Char('.') : point.front();
    auto text = [decimal](double v) { return numfmt::fixed(v, 1, decimal); };
    Label65->setText(QStringLiteral("( ") + text(rx + m_settings.Alarm.SNRValueHi * avg / 100) + QStringLiteral(" dB )"));
    Label66->setText(QStringLiteral("( ") + text(rx - m_settings.Alarm.SNRValueLo * avg / 100) + QStringLiteral(" dB  )"));
    Label67->setText(QStringLiteral("( Average is ") + text(avg) + QStringLiteral(" dB )"));
}

// ---- Reboot ---------------------------------------------------------------------

void AlarmPage::rbPerHourClick() { m_actions.rebootWindowChanged(); }

void AlarmPage::rbUseWebClick()
{
    edReboot->setEnabled(m_settings.Alarm.UseWeb);
    Label21->setEnabled(m_settings.Alarm.UseWeb);
}

void AlarmPage::spScriptWaitChange()
{
    Label97->setText(m_settings.Alarm.ScriptWait == 1 ? QStringLiteral("second before executing")
                                                : QStringLiteral("seconds before executing"));
}

void AlarmPage::btnRebootClick()
{
    confirmbox::ask(this, QStringLiteral("RebootNowBox"), QStringLiteral("Reboot Router Now!!  Please confirm."),
                    window()->geometry().topLeft() + QPoint(200, 200), [this] { m_actions.manualReboot(); });
}

void AlarmPage::cbRebootClick()
{
    if (!m_settings.Alarm.cbReboot || !window()->isVisible())
        return;
    auto *box = new QMessageBox(QMessageBox::Question, QStringLiteral("Veltrano 6.3"),
                                QStringLiteral("Set Router to Reboot on Alarm!!  Please confirm."),
                                QMessageBox::Yes | QMessageBox::Cancel, this);
    box->setObjectName(QStringLiteral("RebootConfirmBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    const QRect main = window()->geometry();
    box->move(main.left() + 200, main.top() + 200);
    connect(box, &QMessageBox::finished, this, [this, box](int) {
        if (box->standardButton(box->clickedButton()) != QMessageBox::Yes)
            m_hub.change([](TSettings &s) { s.Alarm.cbReboot = false; });
    });
    RebootConfirmBox = box;
    trace::write(QStringLiteral("box"), box->text());
    box->open();
}

void AlarmPage::edRebootChange()
{
    m_hub.change([](TSettings &s) {
        s.Router.Login = AlarmActions::urlFollowingHost(s.Alarm.RebootURL, s.Router.Login);
        s.Router.LogOut = AlarmActions::urlFollowingHost(s.Alarm.RebootURL, s.Router.LogOut);
    });
}

// ---- External program and siren -------------------------------------------------

void AlarmPage::btnBrowseClick()
{
    const QString filter = m_settings.Router.Telnet ? QStringLiteral("All Files (*);;Script Files (*.sh)")
                                                    : QStringLiteral("All Files (*)");
    auto *dialog = new QFileDialog(this, QString(), m_programFolder, filter);
    dialog->setObjectName(QStringLiteral("ExternalAppDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this,
            [this](const QString &file) { m_hub.change([&file](TSettings &s) { s.Alarm.edExternal = file; }); });
    dialog->open();
}

void AlarmPage::btnTestSoundClick() { m_actions.playSiren(); }

void AlarmPage::btnTestAppClick()
{
    if (!m_actions.testExternal())
        showBox(QStringLiteral("Veltrano is unable to determine the file type.\r\n"
                               "The file must be a telnet script (.sh) or a program that may be executed."),
                false);
}

// ---- Alarm log ----------------------------------------------------------------

QString AlarmPage::perDayOrLogFile() const { return m_log.fileNameFor(m_run.SampleStamp); }

void AlarmPage::rbUseNormalLogClick()
{
    const TSettings &s = m_settings;
    Label69->setText(s.Alarm.AlarmNormalLog ? m_log.panelText() : s.Alarm.AlarmLog);
    cbWriteAlarmToLog->setEnabled(m_actions.writeToLogEnabled());
    if (s.System.Log && s.Alarm.AlarmNormalLog && s.Alarm.LogAlarm)
        Label69->setText(perDayOrLogFile());
}

void AlarmPage::cbWriteAlarmToLogClick()
{
    const TSettings &s = m_settings;
    m_actions.writeAlarmToLogChanged();
    Label69->clear();
    if (s.Alarm.AlarmAlarmLog && s.Alarm.LogAlarm)
        Label69->setText(s.Alarm.AlarmLog);
    if (s.System.Log && s.Alarm.AlarmNormalLog && s.Alarm.LogAlarm)
        Label69->setText(perDayOrLogFile());
}

void AlarmPage::edAlarmLogChange()
{
    const QString file = m_settings.Alarm.AlarmLog;
    btnViewAlarmLog->setEnabled(!file.isEmpty() && QFileInfo(file).isFile());
}

void AlarmPage::btnBrowseAlarmLogClick()
{
    const QString current = edAlarmLog->text();
    const QString folder = current.isEmpty() ? m_programFolder : QFileInfo(current).absolutePath();
    auto *dialog = new QFileDialog(this, QString(), folder, QStringLiteral("Text Files (*.txt);;All Files (*)"));
    dialog->setObjectName(QStringLiteral("AlarmLogDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (!current.isEmpty())
        dialog->selectFile(current);
    connect(dialog, &QFileDialog::fileSelected, this,
            [this](const QString &file) { m_hub.change([&file](TSettings &s) { s.Alarm.AlarmLog = file; }); });
    dialog->open();
}

void AlarmPage::btnViewAlarmLogClick()
{
    const QString file = edAlarmLog->text();
    if (!file.isEmpty() && QFileInfo(file).isFile()) {
        if (!shellOpen(file))
            showBox(textFileNotOpenedText(file), true);
    } else
        showBox(QStringLiteral("No log file found."), false);
}

void AlarmPage::btnViewAlarmLog1Click()
{
    if (rbUseNormalLog->isChecked())
        emit viewStatisticsLogRequested();
    else
        btnViewAlarmLogClick();
}
