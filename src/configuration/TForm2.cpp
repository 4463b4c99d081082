#include "configuration/TForm2.h"

#include "configuration/DialogPlacement.h"

#include "common/RouterAddress.h"
#include "common/Trace.h"
#include "configuration/AxesPage.h"
#include "configuration/CapturePropertiesPage.h"
#include "configuration/CommonSettingsPage.h"
#include "configuration/ColourButton.h"
#include "configuration/ControlBindings.h"
#include "configuration/EmailPage.h"
#include "configuration/ExclusiveRadios.h"
#include "configuration/ExperimentalSettingsPage.h"
#include "configuration/ExtrasPage.h"
#include "configuration/CharacterFilter.h"
#include "configuration/PasswordReveal.h"
#include "configuration/TForm4.h"
#include "configuration/TForm6.h"
#include "configuration/FileNamePatternValidator.h"
#include "configuration/LogFileFormatPage.h"
#include "configuration/LogSchedulePage.h"
#include "configuration/NetgearSettingsPage.h"
#include "configuration/RouterLoginPage.h"
#include "configuration/RouterSearchTextPage.h"
#include "configuration/ControlEdits.h"
#include "configuration/LiveBinder.h"
#include "configuration/SettingsBinder.h"
#include "configuration/SystemPage.h"
#include "platform/SystemInfo.h"
#include "settings/IniFile.h"
#include "settings/RouterModelPresets.h"
#include "settings/SettingsPaths.h"
#include "settings/SettingsStore.h"
#include "notify/StatisticsLog.h"
#include "widgets/TabScrollButtons.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QSpinBox>
#include <QTimeEdit>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QGuiApplication>
#include <QStyle>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Asks for room for its whole page, so the dialog knows the size at which no
// page scrolls (a plain scroll area caps its wish at a few lines).
class PageScroll : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override
    {
        const int f = 2 * frameWidth();
        return widget() ? widget()->sizeHint() + QSize(f, f) : QScrollArea::sizeHint();
    }
};

// A page scrolls rather than squeezes its controls when the dialog is small.
QScrollArea *scrolled(QWidget *page, QWidget *parent)
{
    auto *area = new PageScroll(parent);
    area->setObjectName(page->objectName() + QStringLiteral("Scroll"));
    area->setWidget(page);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    return area;
}

void setFontColour(QWidget *w, const QColor &colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    w->setPalette(p);
}

bool hasExtension(const QString &fileName) { return !QFileInfo(fileName).suffix().isEmpty(); }

} // namespace

TForm2::TForm2(TSettings &settings, RunState &run, const QString &settingsFilePath, const QString &buildStamp,
               QWidget *mainWindow)
    : QDialog(mainWindow), m_settings(settings), m_run(run), m_settingsFilePath(settingsFilePath),
      m_buildStamp(buildStamp),
      m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Veltrano - Configuration"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                   | Qt::WindowStaysOnTopHint);
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(8);
    setFont(f);
    setMinimumSize(657, 556);
    resize(657, 556);
    buildPages();
    m_binder = std::make_unique<SettingsBinder>(this, configurationBindings());
    for (const QString &p : m_binder->problems())
        qWarning("Configuration binding: %s", qPrintable(p));
    wireHandlers();
    FormCreate();
    announceAfterEdits();
}

TForm2::~TForm2() = default;

void TForm2::setSettingsHub(SettingsHub *hub)
{
    m_hub = hub;
    delete m_live;
    m_live = nullptr;
    if (!hub)
        return;
    // Controls of keys changed elsewhere (a chart menu, a page's box) show the
    // new value, so the next commit does not put the old one back.
    connect(hub, &SettingsHub::changed, this, [this](const SettingKeys &keys) { m_binder->loadKeys(keys, m_settings); });
    m_live = new LiveBinder(*hub, this);
    followSettings();
}

void TForm2::announce()
{
    if (m_hub)
        m_hub->sync();
}

void TForm2::announceAfterEdits()
{
    // Connected after every handler, so it runs after them.
    for (QWidget *control : findChildren<QWidget *>())
        connectEdited(control, this, [this] { announce(); }, EditSignal::UserEdit);
}

void TForm2::followSettings()
{
    // The result labels of the search page name the figure; the SpeedTouch's
    // keep the values its marking previewed.
    m_live->follow({"Graph/UserLabel", "Search/UserText", "Router/ST585"}, [this] {
        showUserLabelCaptions();
        if (!m_settings.Router.ST585)
            Search->Label16->setText(m_settings.Graph.UserLabel);
    });
    // A poll finds whether the user figures are numbers; averaging applies only to numbers.
    m_live->follow({"Graph/NotANumber", "Graph/NotANumber1"}, [this] { updateAveragingStates(); });
    m_live->follow({"Graph/UserLabel2"}, [this] {
        showUserLabelCaptions();
        if (!m_settings.Router.ST585)
            Search->Label33->setText(m_settings.Graph.UserLabel2);
    });
}

void TForm2::showUserLabelCaptions()
{
    const TSettings &s = m_settings;
    auto &a = Axes->ui;
    for (int figure : {1, 2}) {
        const bool first = figure == 1;
        const QString &label = first ? s.Graph.UserLabel : s.Graph.UserLabel2;
        QGroupBox *group = first ? a.GroupBox8 : a.GroupBox16;
        QCheckBox *capture = first ? Capture->ui.cbCaptureUser : Capture->ui.cbCaptureUser2;
        QCheckBox *average = first ? Extras->ui.cbUser1Avg : Extras->ui.cbUser2Avg;
        const QString number = QString::number(figure);
        if (label == QStringLiteral("User-def ") + number) {
            group->setTitle(QStringLiteral("User-Defined %1 ").arg(number));
            capture->setText(QStringLiteral("User-defined ") + number);
            average->setText(QStringLiteral("Plot average user-defined %1 value of the previous..").arg(number));
        } else {
            group->setTitle(label + QLatin1Char(' '));
            capture->setText(label);
            average->setText(QStringLiteral("Plot average '") + label + QStringLiteral("' value of the previous.."));
        }
    }
    // The SpeedTouch teaches one label: its button names the text it searches.
    if (s.Router.ST585) {
        Search->btnUser->setText(s.Search.UserText.isEmpty() ? QStringLiteral("User def") : s.Search.UserText.left(11));
    } else {
        Search->btnUser->setText(s.Graph.UserLabel.left(11));
        Search->btnUser2->setText(s.Graph.UserLabel2.left(12));
    }
    Search->showFigureNotes();
}

void TForm2::buildPages()
{
    auto *layout = new QVBoxLayout(this);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    Router = new RouterLoginPage;
    // The teaching page fetches with what the login page shows, through its own client.
    RouterSearchTextPage::Links links;
    links.loginValues = [this] {
        const auto &r = Router->ui;
        RouterLoginValues v;
        v.Login = r.edLoginURL->text();
        v.Username = r.edUsername->text();
        v.Password = r.edPassword->text();
        v.LogOut = r.edLogoutURL->text();
        v.cbLogin = r.cbLogin->isChecked();
        v.cbLogOut = r.cbLogOut->isChecked();
        v.UsernameNotRequired = r.cbUsernameNotRequired->isChecked();
        return v;
    };
    links.st585Checked = [this] { return Router->ui.rbST585->isChecked(); };
    links.userLabelChosen = [this](int figure, const QString &label) {
        (figure == 1 ? Axes->ui.edUserlabel : Axes->ui.edUserlabel2)->setText(label);
        userLabelEdited(figure);
    };
    links.userAveragingEnabled = [this](int figure, bool on) {
        auto &e = Extras->ui;
        const QList<QWidget *> controls = figure == 1 ? QList<QWidget *>{e.cbUser1Avg, e.spUser1Avg, e.Label74}
                                                      : QList<QWidget *>{e.cbUser2Avg, e.spUser2Avg, e.Label75};
        for (QWidget *w : controls)
            w->setEnabled(on);
    };
    links.settingsAnswered = [this] { announce(); };
    Search = new RouterSearchTextPage(m_settings, m_run, std::move(links));
    cbUseSource = new QCheckBox(tr("Use source A"));
    cbUseSource->setObjectName(QStringLiteral("cbUseSource"));
    cbLoopback = new QCheckBox(tr("Use source B"));
    cbLoopback->setObjectName(QStringLiteral("cbLoopback"));
    Search->addSourceOptions({cbUseSource, cbLoopback});
    Axes = new AxesPage;
    Common = new CommonSettingsPage;
    Capture = new CapturePropertiesPage;
    Extras = new ExtrasPage;
    System = new SystemPage;
    LogFormat = new LogFileFormatPage;
    LogSchedule = new LogSchedulePage;
    Email = new EmailPage;
    Netgear = new NetgearSettingsPage;
    Experimental = new ExperimentalSettingsPage;

    auto container = [this](const char *name, QTabWidget *&tabs, const char *tabsName) {
        auto *page = new QWidget(PageControl1);
        page->setObjectName(QLatin1String(name));
        auto *l = new QVBoxLayout(page);
        tabs = new QTabWidget(page);
        tabs->setObjectName(QLatin1String(tabsName));
        l->addWidget(tabs);
        return page;
    };
    TabSheet3 = container("TabSheet3", PageControl2, "PageControl2");
    TabSheet10 = container("TabSheet10", PageControl3, "PageControl3");
    TabSheet7 = container("TabSheet7", PageControl4, "PageControl4");
    PageControl2->addTab(scrolled(Axes, PageControl2), tr("Y-Axis Limits && Colours"));
    PageControl2->addTab(scrolled(Common, PageControl2), tr("Common Settings"));
    PageControl2->addTab(scrolled(Capture, PageControl2), tr("Capture Properties"));
    PageControl2->addTab(scrolled(Extras, PageControl2), tr("Extras"));
    PageControl3->addTab(scrolled(LogFormat, PageControl3), tr("File Format"));
    PageControl3->addTab(scrolled(LogSchedule, PageControl3), tr("Schedule && Options"));
    PageControl4->addTab(scrolled(Netgear, PageControl4), tr("Netgear Settings"));
    PageControl4->addTab(scrolled(Experimental, PageControl4), tr("Experimental Settings"));

    PageControl1->addTab(scrolled(Router, PageControl1), tr("Router Login && Logout"));
    PageControl1->addTab(Search, tr("Router Search Text"));
    PageControl1->addTab(TabSheet3, tr("Graphs"));
    PageControl1->addTab(scrolled(System, PageControl1), tr("System"));
    PageControl1->addTab(TabSheet10, tr("Log"));
    PageControl1->addTab(scrolled(Email, PageControl1), tr("E-mail"));
    PageControl1->addTab(TabSheet7, tr(" Telnet "));
    layout->addWidget(PageControl1, 1);

    auto *buttons = new QHBoxLayout;
    BitBtn1 = new QPushButton(tr("Help"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    btnApply = new QPushButton(tr("Apply && Save"), this);
    btnApply->setObjectName(QStringLiteral("btnApply"));
    btnApply->setToolTip(tr("Save configuration"));
    btnClose = new QPushButton(tr("Close"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setDefault(true);
    buttons->addWidget(BitBtn1);
    buttons->addStretch(1);
    buttons->addWidget(btnApply);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    for (int i = 0; i < 2; ++i) {
        StatusPanels[i] = new QLabel(StatusBar1);
        StatusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        StatusBar1->addWidget(StatusPanels[i], i);
    }
    layout->addWidget(StatusBar1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1500);
    Timer1->setSingleShot(true);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(5000);
    Timer2->setSingleShot(true);

    m_radios = new ExclusiveRadios(this);
    auto &r = Router->ui;
    m_radios->addSet({r.rbV1234, r.rbV5, r.rbNotNetgear, r.rbST585});
    auto &n = Netgear->ui;
    m_radios->addSet({n.rbV123, n.rbV4, n.rbV5Telnet});
    m_radios->addSet({n.rbLatest15, n.rbLatest1day, n.rbLastReboot});
    auto &x = Experimental->ui;
    m_radios->addSet({x.rbAR7, x.rbBroadcom, x.rbConexant});
    m_radios->addSet({x.rbADSL, x.rbADSL2, x.rbADSLAuto});
    m_radios->addSet({Common->ui.rbDots, Common->ui.rbLines});
    m_radios->addSet({Common->ui.rbStairs, Common->ui.rbRamp});
    auto &c = Capture->ui;
    m_radios->addSet({c.rbWindowsTime, c.rbUnixTime, c.rbSameFilename});
    // "Always" and "Between hours" may both be off (never capture).
    m_radios->addClearableSet({c.rbAllTheTime, c.rbBetweenHours});
    m_radios->addClearableSet({c.rbNever});
    auto &e = Extras->ui;
    m_radios->addSet({e.rbPercent, e.rbPixels});
    m_radios->addSet({e.rbIsJPG, e.rbIsPNG, e.rbIsBMP, e.rbIsGIF});
    m_radios->addSet({System->ui.rbNormal, System->ui.rbLow});
    m_radios->addSet({LogFormat->ui.rbCSV, LogFormat->ui.rbTabSV});
    TabScrollButtons::installOn(this);
}

void TForm2::wireHandlers()
{
    connect(btnClose, &QPushButton::clicked, this, &QDialog::close);
    connect(btnApply, &QPushButton::clicked, this, &TForm2::btnApplyClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm2::helpRequested);
    connect(Timer1, &QTimer::timeout, this, &TForm2::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TForm2::Timer2Timer);
    // A tab change by the user commits and saves; restoring a page writes nothing.
    for (QTabWidget *tabs : {PageControl1, PageControl4})
        connect(tabs, &QTabWidget::currentChanged, this, [this] {
            rememberPages();
            if (!m_restoringPages && isVisible())
                btnApplyClick();
        });
    for (QTabWidget *tabs : {PageControl2, PageControl3})
        connect(tabs, &QTabWidget::currentChanged, this, &TForm2::rememberPages);

    connect(m_radios, &ExclusiveRadios::picked, this, [this](QRadioButton *radio, bool changed) {
        const auto &r = Router->ui;
        const auto &n = Netgear->ui;
        const auto &x = Experimental->ui;
        // The model presets reset the typed URLs only when the model changes.
        const bool model = radio == r.rbV1234 || radio == r.rbV5 || radio == r.rbNotNetgear || radio == r.rbST585;
        if (model && !changed)
            return;
        if (radio == r.rbV1234)
            rbV1234Click();
        else if (radio == r.rbV5)
            rbV5Click();
        else if (radio == r.rbNotNetgear)
            rbNotNetgearClick();
        else if (radio == r.rbST585)
            rbST585Click();
        else if (radio == n.rbV123 || radio == n.rbV4)
            rbV4Click();
        else if (radio == n.rbV5Telnet)
            rbV5TelnetClick();
        else if (radio == x.rbAR7 || radio == x.rbBroadcom || radio == x.rbConexant)
            rbAR7Click();
    });
    connect(Netgear->ui.cbIsDGTeam, &QCheckBox::clicked, this, &TForm2::cbIsDGTeamClick);
    connect(Experimental->ui.cbLoginTelnet, &QCheckBox::clicked, this, &TForm2::cbLoginTelnetClick);
    connect(Netgear->ui.cbTelnet, &QCheckBox::clicked, this, &TForm2::cbTelnetClick);
    connect(Experimental->ui.btnTelnetDefaults, &QPushButton::clicked, this, &TForm2::btnTelnetDefaultsClick);
    connect(System->ui.btnRestore, &QPushButton::clicked, this, &TForm2::btnRestoreClick);
    connect(Router->ui.edLoginURL, &QLineEdit::editingFinished, this, &TForm2::edLoginURLExit);
    connect(Router->ui.edLogoutURL, &QLineEdit::editingFinished, this, &TForm2::edLogoutURLExit);
    connect(Experimental->ui.edTelnetUsername, &QLineEdit::textChanged, this, [this] {
        const QString user = Experimental->ui.edTelnetUsername->text();
        Experimental->ui.cbLoginTelnet->setText(user.isEmpty()
                                                    ? QStringLiteral("Login normally with Password")
                                                    : QStringLiteral("Login normally with '") + user
                                                          + QStringLiteral("' and Password"));
    });
    connect(Experimental->ui.cbDisableHTTP, &QCheckBox::toggled, this,
            [this](bool off) { Experimental->ui.cbStatusbarTelnet->setEnabled(!off); });
    connect(Experimental->ui.cbStatusbarTelnet, &QCheckBox::toggled, this, &TForm2::updateStatusBarCaption);
    connect(Common->ui.cbPauseGraphs, &QCheckBox::toggled, this, [this](bool paused) {
        Common->ui.cbNoRespondColour->setEnabled(!paused);
        Common->ui.Label55->setEnabled(!paused);
    });
    connect(Email->ui.cbShowIcon, &QCheckBox::toggled, this, [this](bool on) {
        Email->ui.Label56->setEnabled(on);
        Email->ui.cbOpenEmail->setEnabled(on);
    });
    // These two write their setting at once; a restart makes the overlay change take effect.
    connect(System->ui.cbOverlayIcon, &QCheckBox::clicked, this, [this] {
        if (isVisible())
            RestartNoticePending = true;
    });
    connect(System->ui.cbManFest, &QCheckBox::clicked, this, [this](bool on) {
        if (!isVisible())
            return;
        m_settings.System.Manifest = on;
        messageBox(QStringLiteral("You need to close Veltrano and re-open for this to take effect."), 100, 150)
            ->setIcon(QMessageBox::Information);
    });
    wireLiveHandlers();
    wireActionButtons();
}

// ---- Creation ---------------------------------------------------------------

void TForm2::readPageMemory()
{
    // Whatever stands at the path was already judged by the start-up load;
    // a file that cannot be read leaves the first pages.
    IniFile ini;
    QByteArray bytes;
    if (settingsstore::readFile(m_settingsFilePath, &bytes, nullptr))
        ini.parse(bytes);
    int *memory[] = {&m_settings.System.Last2, &m_settings.System.Last3, &m_settings.System.Last4,
                     &m_settings.System.Last5};
    QTabWidget *tabs[] = {PageControl1, PageControl2, PageControl3, PageControl4};
    const char *keys[] = {"Last2", "Last3", "Last4", "Last5"};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const int index = QString::fromLatin1(ini.value("System", keys[i]).value_or("0")).trimmed().toInt(&ok);
        *memory[i] = ok ? index : 0;
        if (index >= 0 && index < tabs[i]->count())
            tabs[i]->setCurrentIndex(index);
    }
}

void TForm2::rememberPages()
{
    m_settings.System.Last2 = PageControl1->currentIndex();
    m_settings.System.Last3 = PageControl2->currentIndex();
    m_settings.System.Last4 = PageControl3->currentIndex();
    m_settings.System.Last5 = PageControl4->currentIndex();
}

void TForm2::FormCreate()
{
    TSettings &s = m_settings;
    m_restoringPages = true;
    readPageMemory();
    if (s.Auth.Auth)
        PageControl1->setCurrentIndex(0);
    m_restoringPages = false;
    rememberPages();

    System->ui.Label18->setText(QStringLiteral("Version 6.3       ") + m_buildStamp);
    System->ui.Panel9->setText(GetWindowsVersion());

    // The telnet address defaults to the router's, when the login URL names one.
    if (s.Telnet.TelnetIP.isEmpty())
        s.Telnet.TelnetIP = GetMainIPAddress(s.Router.Login);

    loadControls();
    if (!s.System.Conf)
        Timer1->start();
    RestartNoticePending = false;
}

// Every control from its setting, with the states derived from them. Creation
// runs it, and so does each showing: a setting changed meanwhile by the main
// window's menus or a small dialog is shown, not overwritten by the next commit.
void TForm2::loadControls()
{
    TSettings &s = m_settings;
    m_binder->load(s);
    System->ui.rbNormal->setChecked(s.System.PriorityLevel == 2);
    System->ui.rbLow->setChecked(s.System.PriorityLevel == 1);
    LogFormat->ui.edLogFile->setText(s.System.LogFile);
    // Partners without a key of their own show the other choice.
    Common->ui.rbLines->setChecked(!s.Graph.Dots);
    Common->ui.rbRamp->setChecked(!s.Graph.Stairs);
    setChipsetFromFamilies();

    // Derived states.
    if (s.Router.ST585) {
        Router->ui.cbLogOut->setChecked(false);
        s.Router.cbLogOut = false;
    }
    updateLogoutGroup(s.Router.ST585);
    Email->ui.cbEmailRouterLog->setEnabled(!s.Router.ST585);
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet7), !s.Router.ST585);
    Router->updateStates();
    Axes->updateStates();
    Common->updateStates();
    Capture->updateStates();
    Extras->updateStates();
    System->updateStates();
    Email->updateStates();
    const bool user1Numeric = !s.Graph.NotANumber && !s.Telnet.DisableHTTP;
    const bool user2Numeric = !s.Graph.NotANumber1 && !s.Telnet.DisableHTTP;
    for (QWidget *w : {static_cast<QWidget *>(Extras->ui.cbUser1Avg), static_cast<QWidget *>(Extras->ui.spUser1Avg),
                       static_cast<QWidget *>(Extras->ui.Label74)})
        w->setEnabled(user1Numeric);
    for (QWidget *w : {static_cast<QWidget *>(Extras->ui.cbUser2Avg), static_cast<QWidget *>(Extras->ui.spUser2Avg),
                       static_cast<QWidget *>(Extras->ui.Label75)})
        w->setEnabled(user2Numeric);
    Router->ui.Label1->setEnabled(!s.Telnet.DisableHTTP);
    Router->ui.Panel8->setVisible(s.Telnet.DisableHTTP);
    Experimental->ui.cbStatusbarTelnet->setEnabled(!s.Telnet.DisableHTTP);
    updateStatusBarCaption();
    if (Router->ui.cbUsernameNotRequired->isChecked())
        Router->ui.edUsername->clear();
    Email->ui.cbEmailPing->setChecked(s.Ping.EmailPing && s.Ping.ShowPing);
    Email->ui.cbEmailPing->setVisible(s.Ping.ShowPing);
    if (s.Router.NotNetgear) {
        Capture->ui.cbOverlayAtt->setChecked(false);
        Capture->ui.cbOverlayAtt->setEnabled(false);
    }
    updateFitIndicator();
    updateDebugControls();
    showUserLabelCaptions();
}

void TForm2::setChipsetFromFamilies()
{
    const auto &n = Netgear->ui;
    auto &x = Experimental->ui;
    x.rbAR7->setChecked(n.rbV123->isChecked());
    x.rbBroadcom->setChecked(n.rbV4->isChecked());
    x.rbConexant->setChecked(n.rbV5Telnet->isChecked());
    x.Label80->setEnabled(x.rbBroadcom->isChecked());
    x.cbTelnetCmd->setEnabled(x.rbBroadcom->isChecked());
}

void TForm2::updateLogoutGroup(bool st585)
{
    setFontColour(Router->ui.GroupLogout, st585 ? QColor(0x80, 0x80, 0x80) : QColor(0, 0, 0xFF));
    Router->ui.cbLogOut->setEnabled(!st585);
}

void TForm2::updateStatusBarCaption()
{
    System->ui.cbStatusBarWAN->setText(Experimental->ui.cbStatusbarTelnet->isChecked()
                                           ? QStringLiteral("Show Statusbar WAN uptime as days, hr:min:sec")
                                           : QStringLiteral("Show Statusbar PPPoA uptime as days, hr:min:sec"));
}

void TForm2::updateFitIndicator()
{
    const auto &r = Router->ui;
    const auto &n = Netgear->ui;
    const bool fits = telnetFamilyFits(r.rbV1234->isChecked(), r.rbV5->isChecked(), n.rbV123->isChecked(),
                                       n.rbV4->isChecked(), n.rbV5Telnet->isChecked());
    QPalette p = n.Shape4->palette();
    p.setColor(QPalette::Window, fits ? QColor(0, 0xFF, 0) : QColor(0xFF, 0, 0));
    n.Shape4->setPalette(p);
    // Spoken as well as shown.
    n.Shape4->setAccessibleDescription(fits ? tr("fit") : tr("does not fit"));
    n.Shape4->setToolTip(fits ? tr("The telnet version fits the router model")
                              : tr("The telnet version does not fit the router model"));
}

void TForm2::updateDebugControls()
{
    const bool automatic = !Netgear->ui.cbIsDGTeam->isChecked() && !Experimental->ui.cbLoginTelnet->isChecked();
    Netgear->ui.cbAutoDebug->setEnabled(automatic);
    Netgear->ui.spDebug->setEnabled(automatic);
    Netgear->ui.Label27->setEnabled(automatic);
}

// ---- Opening and showing ----------------------------------------------------

void TForm2::btnConfigureClick()
{
    if (isVisible())
        return;
    ConfigPageRequest = QStringLiteral("Button");
    ConfigSubPageRequest.clear();
    if (m_mainWindow)
        placeOnScreen(m_mainWindow->geometry().topLeft() + QPoint(30, 15));
    setModal(true);
    show();
}

void TForm2::openGraphPage(const QString &subPage)
{
    if (isVisible())
        return;
    ConfigPageRequest = QStringLiteral("Graph");
    ConfigSubPageRequest = subPage;
    if (m_mainWindow)
        placeOnScreen(m_mainWindow->geometry().topLeft() + QPoint(30, 15));
    setModal(true);
    show();
}

void TForm2::Timer1Timer()
{
    Timer1->stop();
    if (isVisible())
        return;
    if (m_mainWindow)
        placeOnScreen(m_mainWindow->geometry().topLeft() + QPoint(30, 50));
    setModal(false);
    show();
}

void TForm2::Timer2Timer()
{
    Timer2->stop();
    StatusPanels[0]->clear();
    StatusPanels[1]->clear();
}

void TForm2::placeOnScreen(const QPoint &at)
{
    const QScreen *screen = m_mainWindow && m_mainWindow->screen() ? m_mainWindow->screen()
                                                                   : QGuiApplication::primaryScreen();
    if (!screen) {
        move(at);
        return;
    }
    // Before its first showing a window knows no frame: allow for a title bar.
    QMargins frame(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                   frameGeometry().right() - geometry().right(), frameGeometry().bottom() - geometry().bottom());
    if (frame.isNull()) {
        const int border = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
        frame = QMargins(border, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this) + border, border,
                         border);
    }
    setGeometry(dialogs::fitOnScreen(QRect(at, size()), sizeHint(), minimumSize(), screen->availableGeometry(),
                                     frame));
}

void TForm2::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TForm2::FormShow()
{
    TSettings &s = m_settings;
    m_restoringPages = true;
    if (ConfigPageRequest == QLatin1String("Graph")) {
        PageControl1->setCurrentWidget(TabSheet3);
        const int sub = ConfigSubPageRequest == QLatin1String("Axes")      ? 0
                        : ConfigSubPageRequest == QLatin1String("Common")  ? 1
                        : ConfigSubPageRequest == QLatin1String("Capture") ? 2
                                                                            : 3;
        PageControl2->setCurrentIndex(sub);
    }
    m_restoringPages = false;
    rememberPages();
    loadControls();

    s.Graph.Pause = Common->ui.cbPauseGraphs->isChecked();
    Common->ui.cbNoRespondColour->setEnabled(!s.Graph.Pause);
    Common->ui.Label55->setEnabled(!s.Graph.Pause);
    Router->ui.edPassword->setEchoMode(s.Router.UsePlain ? QLineEdit::Normal : QLineEdit::Password);
    Email->ui.edEmailPass->setEchoMode(s.Email.EmailUsePlain ? QLineEdit::Normal : QLineEdit::Password);
    Email->ui.Label56->setEnabled(s.Email.ShowIcon);
    Email->ui.cbOpenEmail->setEnabled(s.Email.ShowIcon);
    System->ui.cbShowNoise->setChecked(s.System.ShowNoise);
    // Settings the main window's menus change meanwhile.
    Router->ui.edLogoutURL->setText(s.Router.LogOut);
    Router->ui.edLoginURL->setText(s.Router.Login);
    System->ui.rbNormal->setChecked(s.System.PriorityLevel == 2);
    System->ui.rbLow->setChecked(s.System.PriorityLevel == 1);
    LogFormat->ui.cbLog->setChecked(s.System.Log);
    Axes->ui.cbRXNoiseAuto->setChecked(s.Graph.RxNoiseAuto);
    Axes->ui.cbRxSyncAuto->setChecked(s.Graph.RxSyncAuto);
    Axes->ui.cbUserAuto->setChecked(s.Graph.UserAuto);
    Axes->ui.cbUser1Auto->setChecked(s.Graph.User1Auto);
    updateFitIndicator();
    if (!m_shownOnce) {
        m_shownOnce = true;
        PageControl1->currentWidget()->setFocus();
    }
}

// ---- Close query, commit and save -------------------------------------------

void TForm2::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

QMessageBox *TForm2::messageBox(const QString &text, int dx, int dy)
{
    auto *box = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->move(geometry().topLeft() + QPoint(dx, dy));
    trace::write(QStringLiteral("box"), text);
    MessageBox = box;
    box->open();
    return box;
}

void TForm2::showStatus(const QString &text)
{
    StatusPanels[0]->setText(text);
    Timer2->start();
}

bool TForm2::FormCloseQuery()
{
    TSettings &s = m_settings;
    s.RouterLog.EmailRouterLog = Email->ui.cbEmailRouterLog->isChecked();
    if (Axes->ui.spNoiseMax->value() <= Axes->ui.spNoiseMin->value()) {
        messageBox(QStringLiteral("Rx Noise: The maximum value must be larger than the minimum value."), 100, 150);
        return false;
    }
    if (Axes->ui.spSyncMax->value() <= Axes->ui.spSyncMin->value()) {
        messageBox(QStringLiteral("Rx Sync Speed: The maximum value must be larger than the minimum value."), 100,
                   150);
        return false;
    }
    bool canClose = true;
    if (s.System.Log && !LogFormat->ui.cbNewLog->isChecked() && !hasExtension(LogFormat->ui.edLogFile->text())) {
        messageBox(QStringLiteral("A filename needs to be specified for the Log."), 100, 150);
        canClose = false;
    }
    for (CommitGroup group : kCommitOrder)
        commitGroup(group);
    emit committed();
    if (RestartNoticePending && isVisible()) {
        auto *box = messageBox(QStringLiteral("You need to close Veltrano and re-start for the change to take effect."),
                               100, 150);
        box->setIcon(QMessageBox::Information);
    }
    RestartNoticePending = false;
    return canClose;
}

void TForm2::commitGroup(CommitGroup group)
{
    TSettings &s = m_settings;
    // A file name pattern that would leave its folder is not taken.
    for (QLineEdit *edit : {LogFormat->ui.edNewLog, Capture->ui.edFileDateTime})
        if (!isSafeFileNamePattern(edit->text()))
            m_binder->loadControl(qPrintable(edit->objectName()), s);

    const QStringList refused = m_binder->commit(group, s);
    for (const QString &name : refused) {
        // The edit shows the value that stands, and the status bar says why.
        m_binder->loadControl(qPrintable(name), s);
        const auto *edit = qobject_cast<QLineEdit *>(m_binder->control(qPrintable(name)));
        showStatus(tr("Not a port (1-65535): %1 kept").arg(edit ? edit->text() : QString()));
    }

    switch (group) {
    case CommitGroup::RouterPage:
        if (s.Router.ST585)
            s.Router.Telnet = false;
        break;
    case CommitGroup::LoginBoxes:
        if (Router->ui.cbUsernameNotRequired->isChecked())
            Router->ui.edUsername->clear();
        Router->updateStates();
        break;
    case CommitGroup::SystemPage:
        s.NumberDecimalChar = s.System.Numbering != 0 ? QLatin1Char(',') : QLatin1Char('.');
        s.NumberGroupChar = s.System.Numbering != 0 ? QLatin1Char('.') : QLatin1Char(',');
        s.System.Conf = true;
        break;
    case CommitGroup::LogScheduleAndFile: {
        QString file = LogFormat->ui.edLogFile->text();
        // With a file per day the name is their folder.
        if (s.System.Log && s.System.NewLog && !hasExtension(file) && !file.endsWith(QLatin1Char('/'))) {
            file += QLatin1Char('/');
            LogFormat->ui.edLogFile->setText(file);
        }
        s.System.LogFile = file;
        break;
    }
    case CommitGroup::Ping:
        s.Ping.EmailPing = Email->ui.cbEmailPing->isChecked() && s.Ping.ShowPing;
        break;
    case CommitGroup::Priority:
        s.System.PriorityLevel = System->ui.rbLow->isChecked() ? 1 : 2;
        break;
    default: break;
    }
    announce();
}

void TForm2::btnApplyClick()
{
    FormCloseQuery();
    if (m_save)
        m_save();
}

// ---- Router model presets -----------------------------------------------------

void TForm2::applyModelPreset(int model)
{
    TSettings &s = m_settings;
    const RouterModelPreset &p = routerModelPreset(RouterModel(model));
    auto &r = Router->ui;
    r.edLoginURL->setText(QLatin1String(p.loginUrl));
    r.edLogoutURL->setText(QLatin1String(p.logoutUrl));
    if (p.username)
        r.edUsername->setText(QLatin1String(*p.username));
    if (p.routerLogUrl)
        s.RouterLog.LogURL = QLatin1String(*p.routerLogUrl);
    if (p.isDG834)
        s.System.IsDG834 = *p.isDG834;
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet7), p.telnetPageShown);
}

void TForm2::finishModelChange()
{
    const auto &r = Router->ui;
    updateLogoutGroup(r.rbST585->isChecked());
    Capture->ui.cbOverlayAtt->setEnabled(!r.rbNotNetgear->isChecked());
    updateFitIndicator();
}

void TForm2::rbV1234Click()
{
    if (!isVisible())
        return;
    applyModelPreset(int(RouterModel::V1234));
    finishModelChange();
}

void TForm2::rbV5Click()
{
    if (!isVisible())
        return;
    applyModelPreset(int(RouterModel::V5));
    finishModelChange();
}

void TForm2::rbNotNetgearClick()
{
    if (!isVisible())
        return;
    applyModelPreset(int(RouterModel::NotNetgear));
    m_settings.Router.ST585 = false;
    Capture->ui.cbOverlayAtt->setChecked(false);
    finishModelChange();
}

void TForm2::rbST585Click()
{
    if (!isVisible())
        return;
    applyModelPreset(int(RouterModel::ST585));
    m_settings.Router.ST585 = true;
    Netgear->ui.cbTelnet->setChecked(false);
    Router->ui.edPassword->clear();
    Router->ui.cbLogin->setChecked(false);
    finishModelChange();
}

// ---- Telnet family ------------------------------------------------------------

void TForm2::rbV4Click()
{
    TSettings &s = m_settings;
    setChipsetFromFamilies();
    if (Netgear->ui.rbV123->isChecked() || Netgear->ui.rbV4->isChecked())
        s.Telnet.TelnetPrompt = promptForVersion1to4(s.Telnet.TelnetPrompt);
    Experimental->ui.cbtelnetPrompt->setCurrentText(s.Telnet.TelnetPrompt);
    updateFitIndicator();
}

void TForm2::rbV5TelnetClick()
{
    TSettings &s = m_settings;
    setChipsetFromFamilies();
    if (Netgear->ui.rbV5Telnet->isChecked() && Router->ui.rbV5->isChecked()) {
        s.Telnet.TelnetPrompt = QStringLiteral("/ #");
        Experimental->ui.cbtelnetPrompt->setCurrentText(s.Telnet.TelnetPrompt);
    }
    updateFitIndicator();
}

void TForm2::rbAR7Click()
{
    const auto &x = Experimental->ui;
    auto &n = Netgear->ui;
    n.rbV123->setChecked(x.rbAR7->isChecked());
    n.rbV4->setChecked(x.rbBroadcom->isChecked());
    n.rbV5Telnet->setChecked(x.rbConexant->isChecked());
    if (x.rbConexant->isChecked())
        rbV5TelnetClick();
    else
        rbV4Click();
}

void TForm2::cbIsDGTeamClick()
{
    updateDebugControls();
    auto *login = Experimental->ui.cbLoginTelnet;
    if (login->isChecked() != Netgear->ui.cbIsDGTeam->isChecked()) {
        login->setChecked(Netgear->ui.cbIsDGTeam->isChecked());
        cbLoginTelnetClick();
    }
}

void TForm2::cbLoginTelnetClick()
{
    auto *login = Experimental->ui.cbLoginTelnet;
    if (login->isChecked() && !Netgear->ui.cbTelnet->isChecked())
        Netgear->ui.cbTelnet->setChecked(true);
    if (Netgear->ui.cbIsDGTeam->isChecked() != login->isChecked()) {
        Netgear->ui.cbIsDGTeam->setChecked(login->isChecked());
        cbIsDGTeamClick();
    }
    updateDebugControls();
}

void TForm2::cbTelnetClick()
{
    if (!Netgear->ui.cbTelnet->isChecked() && Experimental->ui.cbLoginTelnet->isChecked()) {
        Experimental->ui.cbLoginTelnet->setChecked(false);
        cbLoginTelnetClick();
    }
}

void TForm2::btnTelnetDefaultsClick()
{
    TSettings &s = m_settings;
    const TelnetDefaults d;
    s.Telnet.TelnetUsername = d.username;
    s.Telnet.TelnetPort = d.port;
    s.Telnet.ADSLAuto = true;
    s.Telnet.DisconnectOnStop = false;
    s.Telnet.WaitForPassword = false;
    s.Telnet.UseHttpDebug = true;
    s.Telnet.TelnetDebugCommand = d.debugCommand;
    s.System.Advise2 = true;
    s.Telnet.TelnetIP = defaultTelnetAddress(s.Router.Login);
    auto &x = Experimental->ui;
    x.edTelnetUsername->setText(s.Telnet.TelnetUsername);
    x.edTelnetPort->setText(QString::number(s.Telnet.TelnetPort));
    x.edTelnetIP->setText(s.Telnet.TelnetIP);
    x.cbTelnetDebugCommand->setCurrentText(s.Telnet.TelnetDebugCommand);
    x.cbTelnetCmd->setCurrentText(d.command);
    x.cbtelnetPrompt->setCurrentText(d.prompt);
    m_radios->select(x.rbADSLAuto);
    x.cbTelnetRetry->setChecked(true);
    x.cbUseHttpDebug->setChecked(true);
    x.cbDisconnectOnStop->setChecked(false);
    x.cbWaitForPassword->setChecked(false);
    m_radios->select(x.rbAR7);
    rbAR7Click();
}

void TForm2::btnRestoreClick()
{
    const bool st585 = m_settings.Router.ST585;
    const QString text = st585 ? QStringLiteral("Confirm:  Reset password, URLs and Telnet session timeout to defaults?")
                               : QStringLiteral("Confirm:  Reset all prompts, \"search text\" positions, password and "
                                                "URLs to defaults?");
    auto *box = new QMessageBox(QMessageBox::Question, windowTitle(), text, QMessageBox::Yes | QMessageBox::Cancel,
                                this);
    box->setObjectName(QStringLiteral("RestoreConfirmBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->move(geometry().topLeft() + QPoint(10, 180));
    connect(box, &QMessageBox::finished, this, [this, box, st585](int) {
        if (box->clickedButton() != box->button(QMessageBox::Yes))
            return;
        TSettings &s = m_settings;
        auto &r = Router->ui;
        if (st585) {
            const RouterModelPreset &p = routerModelPreset(RouterModel::ST585);
            r.edLoginURL->setText(QLatin1String(p.loginUrl));
            r.edLogoutURL->setText(QLatin1String(p.logoutUrl));
            r.edUsername->setText(QStringLiteral("Administrator"));
            r.edPassword->clear();
            r.cbLogin->setChecked(false);
            s._585Telnet.DefaultTimeout = QStringLiteral("120");
            return;
        }
        const QString cell = QStringLiteral("lass=\"ttex");
        s.Search.NoiseText = s.Search.UNoiseText = s.Search.SyncText = s.Search.USyncText = cell;
        s.Search.NoisePos = 4528;
        s.Search.UNoisePos = 4601;
        s.Search.SyncPos = 4038;
        s.Search.USyncPos = 4115;
        s.Search.UserText.clear();
        s.Search.UserText2.clear();
        s.Search.UserPos = 0;
        s.Search.UserPos2 = 0;
        const RouterModelPreset &p = routerModelPreset(RouterModel::V1234);
        s.Router.NoPassword = false;
        s.Router.Login = QLatin1String(p.loginUrl);
        s.Router.Username = QStringLiteral("admin");
        s.Router.Password = QStringLiteral("quillfen");
        s.Router.cbLogin = true;
        s.Router.LogOut = QLatin1String(p.logoutUrl);
        r.edLoginURL->setText(s.Router.Login);
        r.edUsername->setText(s.Router.Username);
        r.edPassword->setText(s.Router.Password);
        r.edLogoutURL->setText(s.Router.LogOut);
        s.System.Advise = s.System.Advise1 = s.System.Advise2 = s.System.AdviseResetADSL = true;
        s.Log.Advise = true;
        s.System.FontName = QStringLiteral("Arial Narrow");
        s.System.FontSize = 6;
        s.System.FontStyle = 1; // bold
        s.System.Colour = 65535;
        s.System.FontOpaque = false;
        s.System.MemoFontName = QStringLiteral("Courier New");
        s.System.MemoFontSize = 9;
        s.System.MemoFontStyle = 0;
        s.System.MemoColour = 0;
        emit memoFontsChanged();
        m_radios->select(r.rbV1234);
        rbV1234Click();
    });
    trace::write(QStringLiteral("box"), text);
    // What the defaults wrote is announced once they are all in.
    connect(box, &QMessageBox::finished, this, &TForm2::announce);
    box->open();
}

// ---- Address carrying ---------------------------------------------------------

void TForm2::edLoginURLExit()
{
    TSettings &s = m_settings;
    const QString login = Router->ui.edLoginURL->text();
    const QString host = GetMainIPAddress(login);
    if (host.isEmpty())
        return;
    Experimental->ui.edTelnetIP->setText(host);
    s.Telnet.TelnetIP = host;
    if (auto logout = withRouterAddressOf(Router->ui.edLogoutURL->text(), login)) {
        Router->ui.edLogoutURL->setText(*logout);
        s.Router.LogOut = *logout;
    }
    if (!s.Router.ST585)
        if (auto reboot = withRouterAddressOf(s.Alarm.RebootURL, login); reboot && *reboot != s.Alarm.RebootURL) {
            s.Alarm.RebootURL = *reboot;
        }
}

void TForm2::edLogoutURLExit()
{
    TSettings &s = m_settings;
    const QString logout = Router->ui.edLogoutURL->text();
    if (auto login = withRouterAddressOf(Router->ui.edLoginURL->text(), logout))
        Router->ui.edLoginURL->setText(*login);
    s.Router.LogOut = logout;
    if (!s.Router.ST585)
        if (auto reboot = withRouterAddressOf(s.Alarm.RebootURL, logout); reboot && *reboot != s.Alarm.RebootURL) {
            s.Alarm.RebootURL = *reboot;
        }
}

// ---- Live handlers ----------------------------------------------------------

QString TForm2::liveUserChartTitle(const QString &label, int scale, bool perSample)
{
    if (scale > 1)
        return label + QStringLiteral(" x") + QString::number(scale);
    return perSample ? label + QStringLiteral(" (per sample)") : label;
}

int TForm2::scaleStep(int value, int currentStep)
{
    if (value < 100)
        return 1;
    if (value < 1000)
        return 10;
    if (value < 10000)
        return 100;
    return value > 10000 ? 1000 : currentStep;
}

void TForm2::wireLiveHandlers()
{
    TSettings &s = m_settings;
    auto &r = Router->ui;
    auto &a = Axes->ui;
    auto &c = Common->ui;
    auto &cp = Capture->ui;
    auto &e = Extras->ui;
    auto &sy = System->ui;
    auto &lf = LogFormat->ui;
    auto &ls = LogSchedule->ui;
    auto &em = Email->ui;
    auto &n = Netgear->ui;
    auto &x = Experimental->ui;

    // Settings written at once.
    connect(r.cbLogin, &QCheckBox::clicked, this, [&s](bool on) { s.Router.cbLogin = on; });
    connect(r.cbLogOut, &QCheckBox::clicked, this, [&s](bool on) { s.Router.cbLogOut = on; });
    connect(r.edUsername, &QLineEdit::textEdited, this, [&s](const QString &t) { s.Router.Username = t; });
    connect(r.edPassword, &QLineEdit::textEdited, this, [&s](const QString &t) { s.Router.Password = t; });
    connect(r.cbUsernameNotRequired, &QCheckBox::clicked, this, [this](bool on) {
        if (on)
            Router->ui.edUsername->clear();
    });
    connect(sy.cbMinimize, &QCheckBox::clicked, this, [&s](bool on) { s.System.Minimize = on; });
    connect(lf.cbLog, &QCheckBox::clicked, this, [this, &s](bool on) {
        s.System.Log = on;
    });
    connect(sy.cbNumbering, &QComboBox::activated, this, [&s](int index) {
        s.System.Numbering = index;
        s.NumberDecimalChar = index != 0 ? QLatin1Char(',') : QLatin1Char('.');
        s.NumberGroupChar = index != 0 ? QLatin1Char('.') : QLatin1Char(',');
    });
    connect(c.spPoints, &QSpinBox::valueChanged, this, [this, &s](int v) {
        if (isVisible())
            s.System.Points = v;
    });
    connect(c.spSample, &QSpinBox::valueChanged, this, [this, &s](int v) {
        if (isVisible())
            s.System.Sample = v;
        QFont f = Common->ui.spSample->font();
        f.setBold(v < 5);
        Common->ui.spSample->setFont(f);
        LogSchedule->ui.cbLogAtSample->setText(QStringLiteral("Log every sample (%1 seconds)").arg(v));
    });
    ls.cbLogAtSample->setText(QStringLiteral("Log every sample (%1 seconds)").arg(s.System.Sample));
    connect(c.cbPauseGraphs, &QCheckBox::clicked, this, [&s](bool on) { s.Graph.Pause = on; });
    connect(em.cbShowIcon, &QCheckBox::clicked, this, [this, &s](bool on) {
        s.Email.ShowIcon = on;
    });
    connect(sy.cbShowNoise, &QCheckBox::toggled, this, [this, &s](bool on) {
        if (isVisible())
            s.System.ShowNoise = on;
        System->ui.cbOverlayIcon->setEnabled(on);
    });
    connect(cp.cbLastGraph, &QCheckBox::clicked, this, [&s](bool on) { s.Capture.LastGraph = on; });
    const std::tuple<QCheckBox *, bool *, QList<QWidget *>> autoAxes[] = {
        {a.cbRXNoiseAuto, &s.Graph.RxNoiseAuto, {a.Label7, a.Label10, a.Label20, a.Label21, a.spNoiseMax, a.spNoiseMin}},
        {a.cbRxSyncAuto, &s.Graph.RxSyncAuto, {a.Label8, a.Label9, a.Label11, a.Label12, a.spSyncMax, a.spSyncMin}},
        {a.cbUserAuto, &s.Graph.UserAuto, {}},
        {a.cbUser1Auto, &s.Graph.User1Auto, {}},
    };
    for (const auto &[box, key, limits] : autoAxes) {
        connect(box, &QCheckBox::clicked, this, [key](bool on) { *key = on; });
        connect(box, &QCheckBox::toggled, this, [limits](bool on) {
            for (QWidget *w : limits)
                w->setEnabled(!on);
        });
        for (QWidget *w : limits)
            w->setEnabled(!box->isChecked());
    }
    connect(ls.spTrimLines, &QSpinBox::valueChanged, this, [this, &s](int v) {
        if (isVisible())
            s.Log.TrimLines = v;
    });
    connect(ls.DateTimepicker1, &QTimeEdit::timeChanged, this, [this, &s](QTime t) {
        if (isVisible())
            s.Log.TrimTime = t.toString(QStringLiteral("HH:mm"));
    });
    connect(em.cbSSLRequired, &QCheckBox::clicked, this, [&s](bool on) { s.Email.SSL = on; });
    connect(x.cbDisableHTTP, &QCheckBox::clicked, this, [this, &s](bool on) {
        s.Telnet.DisableHTTP = on;
        Router->ui.Label1->setEnabled(!on);
        Router->ui.Panel8->setVisible(on);
        LogSchedule->ui.cbLogState->setEnabled(!on);
        LogSchedule->ui.cbLogUptime->setEnabled(!on);
        updateAveragingStates();
    });
    connect(n.Button3, &QPushButton::clicked, this, [this, &s] {
        s.Telnet.TelnetAuto = QString(22, QLatin1Char('1'));
        showStatus(tr("Every telnet graph scales automatically"));
    });
    for (QRadioButton *mode : {x.rbADSL, x.rbADSL2, x.rbADSLAuto})
        connect(mode, &QRadioButton::clicked, this, &TForm2::bitsChartsResetRequested);
    connect(e.Shape1, &ColourButton::colourChanged, this, [this, &s](TColor colour) {
        s.Graph.AvgColour = colour;
    });
    connect(c.Shape5, &ColourButton::colourChanged, this, [this, &s](TColor colour) {
        s.Graph.GapColour = colour;
    });
    const std::tuple<QSpinBox *, int *, int> scales[] = {{a.spScaleUser1, &s.Graph.ScaleUser1, 1},
                                                          {a.spScaleUser2, &s.Graph.ScaleUser2, 2}};
    for (const auto &[spin, key, figure] : scales) {
        spin->setSingleStep(scaleStep(spin->value(), 1));
        connect(spin, &QSpinBox::valueChanged, this, [this, spin, key](int v) {
            spin->setSingleStep(scaleStep(v, spin->singleStep()));
            if (!isVisible())
                return;
            *key = v;
        });
    }
    connect(a.edUserlabel, &QLineEdit::textEdited, this, [this] { userLabelEdited(1); });
    connect(a.edUserlabel2, &QLineEdit::textEdited, this, [this] { userLabelEdited(2); });
    // Page preparation: one of the two at most.
    const std::pair<QCheckBox *, QCheckBox *> sources[] = {{cbUseSource, cbLoopback}, {cbLoopback, cbUseSource}};
    for (const auto &[box, other] : sources)
        connect(box, &QCheckBox::clicked, this, [this, box, other, &s](bool on) {
            if (on)
                other->setChecked(false);
            s.Search.UseSource = cbUseSource->isChecked();
            s.Search.LoopBack = cbLoopback->isChecked();
            Search->sourceOptionChanged(box->isChecked(), other->isChecked());
        });

    // Controls kept in step.
    auto autoStart = [this](bool on) {
        if (on)
            LogFormat->ui.cbDontConfirm->setChecked(true);
        LogFormat->ui.cbDontConfirm->setEnabled(!on);
    };
    connect(sy.cbAutoStart, &QCheckBox::toggled, this, autoStart);
    autoStart(sy.cbAutoStart->isChecked());
    connect(ls.cbLogAtSample, &QCheckBox::clicked, this, [this](bool on) {
        if (on)
            LogSchedule->ui.cbLogAtEvery->setChecked(false);
    });
    connect(ls.cbLogAtEvery, &QCheckBox::clicked, this, [this](bool on) {
        if (on)
            LogSchedule->ui.cbLogAtSample->setChecked(false);
    });
    auto perDay = [this](bool on) {
        auto &ls = LogSchedule->ui;
        if (on)
            ls.cbTrimLog->setChecked(false);
        for (QWidget *w : std::initializer_list<QWidget *>{ls.cbTrimLog, ls.spTrimLines, ls.Label30, ls.Label66,
                                                           ls.DateTimepicker1, ls.btnTrimNow})
            w->setEnabled(!on);
    };
    connect(lf.cbNewLog, &QCheckBox::clicked, this, perDay);
    perDay(lf.cbNewLog->isChecked());
    for (QRadioButton *choice : {cp.rbAllTheTime, cp.rbBetweenHours})
        connect(choice, &QRadioButton::clicked, this, [this, &s] {
            auto &cp = Capture->ui;
            s.Capture.LastGraph = cp.cbLastGraph->isChecked();
            updateCaptureSchedule();
        });
    for (QRadioButton *name : {cp.rbWindowsTime, cp.rbUnixTime, cp.rbSameFilename})
        connect(name, &QRadioButton::toggled, this, &TForm2::updateCaptureSchedule);
    updateCaptureSchedule();
    // Showing a stored password asks for it first (visible only).
    const std::tuple<QCheckBox *, QLineEdit *, QString *> reveals[] = {
        {r.cbUsePlain, r.edPassword, &s.Router.Password}, {em.cbEmailUsePlain, em.edEmailPass, &s.Email.Pass}};
    for (const auto &[box, edit, stored] : reveals) {
        // The reveal hears the box itself, only while the dialog is showing.
        auto *reveal = new PasswordReveal(box, edit, [stored] { return *stored; }, [this] { return isVisible(); });
        reveal->setParent(this);
    }
    connect(sy.cbTransp, &QCheckBox::clicked, this, [this, &s](bool on) {
        s.System.Transp = on;
    });
    connect(sy.tbTranspPos, &QSlider::valueChanged, this, [this, &s](int v) {
        if (!isVisible())
            return;
        s.System.TranspPos = v;
    });
    for (QSpinBox *average : {e.spRxNoiseAvg, e.spRxSyncAvg, e.spUser1Avg, e.spUser2Avg})
        connect(average, &QSpinBox::editingFinished, this, [average] {
            if (average->value() < 10)
                average->setValue(10);
        });
    connect(x.edTelnetPort, &QLineEdit::editingFinished, this, [this] {
        if (Experimental->ui.edTelnetPort->text().trimmed().isEmpty())
            Experimental->ui.edTelnetPort->setText(QStringLiteral("23"));
    });
    CharacterFilter::install(x.edTelnetIP, CharacterFilter::Kind::DottedAddress);

    // Log header flags.
    connect(lf.cbAddHeader, &QCheckBox::clicked, this, [this](bool on) {
        if (on && isVisible())
            emit logHeaderRequested();
    });
    connect(lf.edLogFile, &QLineEdit::textEdited, this, [this, &s] {
        if (isVisible())
            s.Log.HeaderRequired = true;
    });
    for (QCheckBox *item : {ls.cbLogIP, ls.cbLogUptime})
        connect(item, &QCheckBox::clicked, this, [this, &s] {
            if (s.Log.AddHeader && StatisticsLog::FileSizeOf(s.System.LogFile) > 100)
                emit logHeaderRequested();
        });

    // Pages that refresh some controls when shown.
    for (QTabWidget *tabs : {PageControl1, PageControl2, PageControl3, PageControl4})
        connect(tabs, &QTabWidget::currentChanged, this, [this, tabs] {
            if (isVisible())
                pageShown(tabs->currentWidget());
        });
}

void TForm2::updateAveragingStates()
{
    const TSettings &s = m_settings;
    const bool off = Experimental->ui.cbDisableHTTP->isChecked();
    auto &e = Extras->ui;
    for (QWidget *w : {static_cast<QWidget *>(e.cbUser1Avg), static_cast<QWidget *>(e.spUser1Avg),
                       static_cast<QWidget *>(e.Label74)})
        w->setEnabled(!s.Graph.NotANumber && !off);
    for (QWidget *w : {static_cast<QWidget *>(e.cbUser2Avg), static_cast<QWidget *>(e.spUser2Avg),
                       static_cast<QWidget *>(e.Label75)})
        w->setEnabled(!s.Graph.NotANumber1 && !off);
}

void TForm2::updateCaptureSchedule()
{
    auto &cp = Capture->ui;
    cp.rbNever->setChecked(!cp.rbAllTheTime->isChecked() && !cp.rbBetweenHours->isChecked());
    const bool dated = cp.rbWindowsTime->isChecked();
    cp.Label36->setEnabled(dated);
    cp.edFileDateTime->setEnabled(dated);
    cp.btnHelp1->setEnabled(dated);
}

void TForm2::userLabelEdited(int figure)
{
    TSettings &s = m_settings;
    const bool first = figure == 1;
    auto &a = Axes->ui;
    const QString label = first ? a.edUserlabel->text() : a.edUserlabel2->text();
    (first ? s.Graph.UserLabel : s.Graph.UserLabel2) = label;
    QString file = label;
    file.remove(QLatin1Char(' '));
    // The label names image files: it stays a plain file name.
    file.remove(QLatin1Char('/'));
    file.remove(QLatin1Char('\\'));
    while (file.startsWith(QLatin1Char('.')))
        file.remove(0, 1);
    (first ? s.Capture.UserFile : s.Capture.UserFile2) = file;
    showUserLabelCaptions();
    announce();
}

bool TForm2::confirm(const QString &text, int dx, int dy, std::function<void()> onYes, std::function<void()> onCancel)
{
    auto *box = new QMessageBox(QMessageBox::Question, windowTitle(), text, QMessageBox::Yes | QMessageBox::Cancel,
                                this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->move(geometry().topLeft() + QPoint(dx, dy));
    connect(box, &QMessageBox::finished, this, [this, box, onYes, onCancel](int) {
        if (box->clickedButton() == box->button(QMessageBox::Yes))
            onYes();
        else if (onCancel)
            onCancel();
        announce();
    });
    trace::write(QStringLiteral("box"), text);
    MessageBox = box;
    box->open();
    return true;
}

void TForm2::wireActionButtons()
{
    TSettings &s = m_settings;
    connect(LogSchedule->ui.btnTrimNow, &QPushButton::clicked, this, &TForm2::trimLogRequested);
    connect(Email->ui.btnTestEmail, &QPushButton::clicked, this, [this] {
        emit sendEmailRequested(QStringLiteral("\"Send Now\" button clicked on e-mail configuration page."));
    });
    connect(Email->ui.btnSelect, &QPushButton::clicked, this, [this, &s] { TForm6::open(this, s); });
    connect(System->ui.Button1, &QPushButton::clicked, this, &TForm2::iconFontDialogRequested);
    connect(Capture->ui.btnMaintain, &QPushButton::clicked, this, &TForm2::maintenanceDialogRequested);
    for (QPushButton *help : {Capture->ui.btnHelp1, LogFormat->ui.btnHelp})
        connect(help, &QPushButton::clicked, this, [this] { TForm4::open(this); });
    connect(LogFormat->ui.btnBrowse, &QPushButton::clicked, this, [this, &s] {
        auto *dialog = new QFileDialog(this, QString(), settingspaths::programFolder(m_settingsFilePath),
                                       QStringLiteral("Text Files (*.txt);;All Files(*.*)"));
        dialog->setObjectName(QStringLiteral("SaveDialog1"));
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->selectFile(QFileInfo(LogFormat->ui.edLogFile->text()).fileName());
        connect(dialog, &QFileDialog::fileSelected, this, [this, &s](const QString &file) {
            if (s.Log.AddHeader && file != LogFormat->ui.edLogFile->text())
                s.Log.HeaderRequired = true;
            s.System.LogFile = file;
            LogFormat->ui.edLogFile->setText(file);
            announce();
        });
        dialog->open();
    });
    connect(Capture->ui.btnBrowseFolder, &QPushButton::clicked, this, [this] {
        auto *dialog = new QFileDialog(this, QStringLiteral("Select folder"), Capture->ui.edFolder->text());
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setFileMode(QFileDialog::Directory);
        dialog->setOption(QFileDialog::ShowDirsOnly);
        connect(dialog, &QFileDialog::fileSelected, this,
                [this](const QString &folder) { Capture->ui.edFolder->setText(folder); });
        dialog->open();
    });
    connect(System->ui.cbShowWeb, &QCheckBox::clicked, this, [this](bool on) {
        if (on || !isVisible() || !m_webServerRunning || !m_webServerRunning())
            return;
        confirm(QStringLiteral("Stop Web Server?"), 220, 220, [this] { emit webServerStopRequested(); },
                [this] { System->ui.cbShowWeb->setChecked(true); });
    });
    connect(System->ui.cbCloseToTray, &QCheckBox::clicked, this, [this](bool on) {
        if (on && isVisible())
            messageBox(QStringLiteral("Veltrano will need to be closed and restarted for the change to take effect."),
                       100, 150)
                ->setIcon(QMessageBox::Information);
    });
    connect(Netgear->ui.btnDeselectAll, &QPushButton::clicked, this, [this, &s] {
        confirm(QStringLiteral("Confirm de-select plotting for all Telnet graphs?"), 250, 200, [&s] {
            for (bool *plot : {&s.Telnet.cbNoise, &s.Telnet.cbSync, &s.Telnet.cbICRC, &s.Telnet.cbIFEC,
                               &s.Telnet.cbIHEC, &s.Telnet.cbFastCRC, &s.Telnet.cbFastFEC, &s.Telnet.cbFastHEC,
                               &s.Telnet.cbUICRC, &s.Telnet.cbUIFEC, &s.Telnet.cbUIHEC, &s.Telnet.cbUFastCRC,
                               &s.Telnet.cbUFastFEC, &s.Telnet.cbUFastHEC})
                *plot = false;
        });
    });
    connect(Netgear->ui.Button2, &QPushButton::clicked, this, [this, &s] {
        confirm(QStringLiteral("Confirm de-select capture for all Telnet graphs?"), 250, 200, [&s] {
            for (size_t i = 1; i <= 13; ++i)
                s.CaptureTelnetFlags[i] = false;
        });
    });
    connect(Netgear->ui.btnDeselectLogs, &QPushButton::clicked, this, [this, &s] {
        confirm(QStringLiteral("Confirm de-select logging for all Telnet graphs?"), 250, 200, [&s] {
            for (size_t i = 1; i <= 13; ++i)
                s.LogTelnetFlags[i] = false;
            s.Log.RxTotal = s.Log.TxTotal = s.Log.RxTotalInc = s.Log.TxTotalInc = false;
        });
    });
}

void TForm2::pageShown(QWidget *page)
{
    TSettings &s = m_settings;
    if (page == Router->parentWidget()->parentWidget()) {
        Router->ui.Label1->setEnabled(!s.Telnet.DisableHTTP);
    } else if (page == Search) {
        Search->TabSheet2Show();
        emit searchPageShown();
        for (QCheckBox *box : {cbLoopback, cbUseSource})
            box->setEnabled(!s.Router.ST585);
        if (s.Router.ST585)
            cbLoopback->setChecked(false);
    } else if (page == System->parentWidget()->parentWidget()) {
        s.System.IsDG834 = Router->ui.rbV1234->isChecked() || Router->ui.rbV5->isChecked();
    } else if (page == Email->parentWidget()->parentWidget()) {
        Email->ui.cbEmailPing->setVisible(System->ui.cbShowPing->isChecked());
    } else if (page == LogFormat->parentWidget()->parentWidget() || page == TabSheet10) {
        LogFormat->showHeaderExample();
    } else if (page == LogSchedule->parentWidget()->parentWidget()) {
        LogSchedule->ui.cbLogState->setEnabled(!Experimental->ui.cbDisableHTTP->isChecked());
        LogSchedule->ui.cbLogUptime->setEnabled(!Experimental->ui.cbDisableHTTP->isChecked());
    } else if (page == Extras->parentWidget()->parentWidget()) {
        Extras->ui.Shape1->setColour(s.Graph.AvgColour);
        updateAveragingStates();
    } else if (page == Netgear->parentWidget()->parentWidget() || page == TabSheet7) {
        updateFitIndicator();
    } else if (page == Experimental->parentWidget()->parentWidget()) {
        if (Experimental->ui.edTelnetIP->text().isEmpty())
            Experimental->ui.edTelnetIP->setText(s.Telnet.TelnetIP);
    }
    announce();
}
