#include "mainwindow/TForm1.h"

#include "common/Trace.h"
#include "mainwindow/StatusChannel.h"
#include "settings/SettingsPaths.h"
#include "settings/SettingsStore.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The pane keeps a generous history; older lines go first so weeks of running stay affordable.
constexpr int kMessagePaneLineCap = 100000;

constexpr int kPanelWidths[4] = {210, 125, 158, 50};

} // namespace

TForm1::TForm1(bool safeStart, QWidget *parent) : QMainWindow(parent), m_safeStart(safeStart)
{
    m_status = new StatusChannel(this);
    buildWidgets();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::buildWidgets()
{
    setObjectName(QStringLiteral("Form1"));
    setMinimumSize(760, 519);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);

    auto *toolbar = new QHBoxLayout;
    btnSave = new QPushButton(tr("Save"), central);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    btnSave->setToolTip(tr("Save configuration"));
    toolbar->addWidget(btnSave);
    toolbar->addStretch(1);
    layout->addLayout(toolbar);

    PageControl1 = new QTabWidget(central);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(PageControl1, 1);

    TabSheet40 = new QWidget(PageControl1);
    TabSheet40->setObjectName(QStringLiteral("TabSheet40"));
    auto *sysLayout = new QVBoxLayout(TabSheet40);
    memSys = new QPlainTextEdit(TabSheet40);
    memSys->setObjectName(QStringLiteral("memSys"));
    memSys->setReadOnly(true);
    memSys->setMaximumBlockCount(kMessagePaneLineCap);
    memSys->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memSys->setLineWrapMode(QPlainTextEdit::NoWrap);
    sysLayout->addWidget(memSys, 1);
    auto *sysRow = new QHBoxLayout;
    cbEnableSystem = new QCheckBox(tr("Enable system messages"), TabSheet40);
    cbEnableSystem->setObjectName(QStringLiteral("cbEnableSystem"));
    cbSuppressErrors = new QCheckBox(tr("Suppress error messages when possible"), TabSheet40);
    cbSuppressErrors->setObjectName(QStringLiteral("cbSuppressErrors"));
    btnClear = new QPushButton(tr("Clear Messages"), TabSheet40);
    btnClear->setObjectName(QStringLiteral("btnClear"));
    sysRow->addWidget(cbEnableSystem);
    sysRow->addWidget(cbSuppressErrors);
    sysRow->addStretch(1);
    sysRow->addWidget(btnClear);
    sysLayout->addLayout(sysRow);
    PageControl1->addTab(TabSheet40, tr("System Messages"));

    // The web server's start button lives on its own tab once the server exists;
    // the status-bar menu drives it already.
    btnWebStart = new QPushButton(tr("Start"), central);
    btnWebStart->setObjectName(QStringLiteral("btnWebStart"));
    btnWebStart->setCheckable(true);
    btnWebStart->hide();

    pb1 = new QProgressBar(central);
    pb1->setObjectName(QStringLiteral("pb1"));
    pb1->setRange(0, 100);
    pb1->setMaximumHeight(12);
    pb1->setTextVisible(false);
    pb1->hide();
    layout->addWidget(pb1);
    setCentralWidget(central);

    auto *bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < 4; ++i) {
        auto *panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setMinimumWidth(kPanelWidths[i]);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setAlignment((i == 1 || i == 2 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
        bar->addWidget(panel, i == 3 ? 1 : 0);
        StatusPanels[i] = panel;
    }
    setStatusBar(bar);

    StatusPopup = new QMenu(this);
    StatusPopup->setObjectName(QStringLiteral("StatusPopup"));
    mnuStartWebServer = StatusPopup->addAction(tr("Start web server"));
    mnuStartWebServer->setObjectName(QStringLiteral("mnuStartWebServer"));
    mnuEnableLog = StatusPopup->addAction(tr("Enable Log"));
    mnuEnableLog->setObjectName(QStringLiteral("mnuEnableLog"));
    bar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(bar, &QWidget::customContextMenuRequested, this,
            [this, bar](const QPoint &pos) { StatusPopup->popup(bar->mapToGlobal(pos)); });
    connect(StatusPopup, &QMenu::aboutToShow, this, &TForm1::StatusPopupPopup);
    connect(mnuStartWebServer, &QAction::triggered, this, &TForm1::mnuStartWebServerClick);
    connect(mnuEnableLog, &QAction::triggered, this, &TForm1::mnuEnableLogClick);

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setSingleShot(true);
    Timer2->setInterval(1000);
    connect(Timer2, &QTimer::timeout, pb1, &QWidget::hide);

    connect(btnSave, &QPushButton::clicked, this, &TForm1::btnSaveClick);
    connect(btnClear, &QPushButton::clicked, this, &TForm1::btnClearClick);
    connect(m_status, &StatusChannel::lineReady, this, [this](const QString &line) {
        memSys->appendPlainText(line);
        // Keep the newest line in view.
        memSys->verticalScrollBar()->setValue(memSys->verticalScrollBar()->maximum());
    });
    // The check boxes are the settings' editors: a change is the new setting at once.
    connect(cbEnableSystem, &QCheckBox::toggled, this, [this](bool on) {
        Settings.System.SystemMessages = on;
        m_status->setEnabled(on);
    });
    connect(cbSuppressErrors, &QCheckBox::toggled, this, [this](bool on) { Settings.System.SuppressErrors = on; });
}

void TForm1::FormCreate()
{
    setWindowTitle(mainCaption());

    SettingsFilePath = settingspaths::settingsFilePath();
    SettingsEnvironment env = SettingsEnvironment::forFile(SettingsFilePath);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        env.screenSize = screen->size();
    SettingsLoadResult loaded = settingsstore::load(env);
    Settings = std::move(loaded.settings);

    applySettingsToWindow();
    reportLoadProblems(loaded.problems, loaded.readError);
}

void TForm1::applySettingsToWindow()
{
    if (Settings.System.Window == 1)
        setWindowState(windowState() | Qt::WindowMaximized);
    else
        resize(qMax(Settings.System.W, minimumWidth()), qMax(Settings.System.H, minimumHeight()));

    cbEnableSystem->setChecked(Settings.System.SystemMessages);
    m_status->setEnabled(Settings.System.SystemMessages);
    cbSuppressErrors->setChecked(Settings.System.SuppressErrors);
    m_status->setUtc(Settings.Graph.UTCTime);
    btnWebStart->setChecked(Settings.WebServer.WebServer);
    PageControl1->setCurrentIndex(qBound(0, Settings.System.Last, PageControl1->count() - 1));
    setStatusPanel(3, Settings.System.Log ? Settings.System.LogFile : QString());
}

void TForm1::reportLoadProblems(const QStringList &problems, const QString &readError)
{
    for (const QString &p : problems)
        SystemMessage(p);
    if (!readError.isEmpty())
        showMessageBox(mainCaption(),
                       tr("The settings file %1 could not be read (%2).\nThe program runs with its default settings.")
                           .arg(QDir::toNativeSeparators(SettingsFilePath), readError),
                       true);
}

void TForm1::storeWindowState()
{
    const QRect r = normalGeometry();
    Settings.System.T = r.top();
    Settings.System.L = r.left();
    Settings.System.W = r.width();
    Settings.System.H = r.height();
    Settings.System.Window = isMaximized() ? 1 : 0;
    Settings.System.Last = PageControl1->currentIndex();
    Settings.WebServer.WebServer = btnWebStart->isChecked();
}

bool TForm1::SaveIni()
{
    // The SpeedTouch 585's fourth page holds a live session view; do not reopen on it.
    if (Settings.Router.ST585 && PageControl1->currentIndex() == 3)
        PageControl1->setCurrentIndex(0);

    SystemMessage(QStringLiteral("Saving configuration settings..."));
    pb1->setValue(0);
    pb1->show();

    storeWindowState();
    const SettingsSaveResult result = settingsstore::save(Settings, SettingsFilePath, QLocale::system(),
                                                          [this](int percent) { pb1->setValue(percent); });
    Timer2->start();
    for (const QString &w : result.warnings)
        SystemMessage(w);
    if (!result.ok) {
        SystemMessage(QStringLiteral("Configuration not saved: ") + result.error);
        showMessageBox(mainCaption(), tr("The configuration could not be saved:\n%1").arg(result.error), true);
        return false;
    }
    SystemMessage(QStringLiteral("Configuration saved."));
    return true;
}

void TForm1::btnSaveClick() { SaveIni(); }

void TForm1::SystemMessage(const QString &text) { m_status->systemMessage(text); }

void TForm1::setStatusPanel(int panel, const QString &text)
{
    if (panel < 0 || panel > 3 || StatusPanels[panel]->text() == text)
        return;
    StatusPanels[panel]->setText(text);
    trace::write(QStringLiteral("status%1").arg(panel), text);
}

QString TForm1::statusPanel(int panel) const
{
    return panel >= 0 && panel <= 3 ? StatusPanels[panel]->text() : QString();
}

void TForm1::btnClearClick()
{
    if (ClearConfirmBox && ClearConfirmBox->isVisible())
        return;
    auto *box = new QMessageBox(QMessageBox::Question, mainCaption(), tr("Confirm Delete messages?"),
                                QMessageBox::Yes | QMessageBox::Cancel, this);
    box->setObjectName(QStringLiteral("ClearConfirmBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->move(geometry().left() + 350, geometry().top() + 200);
    connect(box, &QMessageBox::finished, this, [this, box](int) {
        if (box->clickedButton() == box->button(QMessageBox::Yes))
            memSys->clear();
    });
    ClearConfirmBox = box;
    trace::write(QStringLiteral("box"), box->text());
    box->open();
}

void TForm1::StatusPopupPopup()
{
    mnuStartWebServer->setText(btnWebStart->isChecked() ? tr("Stop web server") : tr("Start web server"));
    mnuEnableLog->setText(Settings.System.Log ? tr("Stop Logging") : tr("Start Logging"));
}

void TForm1::mnuStartWebServerClick()
{
    if (!btnWebStart->isChecked()) {
        btnWebStart->setChecked(true);
        btnWebStartClick();
    } else {
        btnWebStopClick();
    }
}

void TForm1::btnWebStartClick() { Settings.WebServer.WebServer = true; }

void TForm1::btnWebStopClick()
{
    btnWebStart->setChecked(false);
    Settings.WebServer.WebServer = false;
}

void TForm1::mnuEnableLogClick()
{
    Settings.System.Log = !Settings.System.Log;
    setStatusPanel(3, Settings.System.Log ? Settings.System.LogFile : QString());
}

QMessageBox *TForm1::showMessageBox(const QString &title, const QString &text, bool warning)
{
    auto *box = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Information, title, text,
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    trace::write(QStringLiteral("box"), text);
    box->open();
    return box;
}

void TForm1::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowTitleChange && windowTitle() != m_lastCaption) {
        m_lastCaption = windowTitle();
        trace::write(QStringLiteral("caption"), m_lastCaption);
    }
    QMainWindow::changeEvent(event);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (!m_closing) {
        m_closing = true;
        SaveIni();
    }
    event->accept();
}
