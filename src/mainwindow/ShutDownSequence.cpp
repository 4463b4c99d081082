#include "mainwindow/ShutDownSequence.h"

#include "acquisition/PollingCycle.h"
#include "acquisition/RouterHttpClient.h"
#include "acquisition/TelnetSession.h"
#include "acquisition/ThomsonSession.h"
#include "chartimages/PollImages.h"
#include "common/Clock.h"
#include "common/RouterAddress.h"
#include "common/SteadyTimer.h"
#include "common/Trace.h"
#include "mainwindow/NoiseTrayIcon.h"
#include "mainwindow/StatusChannel.h"
#include "mainwindow/WindowPlacement.h"
#include "notify/ImageCleanup.h"
#include "pages/WebServerPage.h"
#include "settings/SettingsPaths.h"
#include "settings/TSettings.h"

#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QUrl>
#include <optional>
#include <utility>

ShutDownSequence::ShutDownSequence(QWidget &window, const ShutDownParts &parts, ShutDownHost host)
    : QObject(&window), m_window(window), m_parts(parts), m_host(std::move(host))
{
}

// The close query: to the tray, a confirmation, or the shut-down sequence.
// The system ending the program (SIGTERM) is not asked: nobody may be there to answer.
void ShutDownSequence::closeQuery(bool ending, bool fromTray)
{
    if (m_closing)
        return;
    const TSettings &Settings = m_parts.settings;
    const bool inTray = !m_window.isVisible();
    const bool trayUsable = m_parts.trayIcon.trayAvailable() && m_parts.trayIcon.isVisible();
    if (Settings.System.CloseToTray && !ending && !fromTray && !inTray && trayUsable) {
        m_window.hide();
        return;
    }
    if (Settings.System.ConfirmClose && !ending) {
        QPointer<QMessageBox> &CloseConfirmBox = m_parts.closeConfirmBox;
        // One question at a time, however often close is clicked.
        if (CloseConfirmBox && CloseConfirmBox->isVisible())
            return;
        // Out of stay-on-top so the question is not hidden behind it; changing
        // the flag re-creates the window, which must stay where the user sees it.
        windowplacement::keepOnTop(&m_window, false);
        auto *box = new QMessageBox(QMessageBox::Question, m_host.caption, QStringLiteral("Confirm close Veltrano?"),
                                    QMessageBox::Yes | QMessageBox::Cancel, &m_window);
        box->setObjectName(QStringLiteral("CloseConfirmBox"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        const QScreen *primary = QGuiApplication::primaryScreen();
        if (inTray && trayUsable && primary) {
            const QRect screen = primary->geometry();
            box->move(screen.width() - 350, screen.height() - 200);
        } else {
            box->move(m_window.geometry().left() + 250, m_window.geometry().top() + 200);
        }
        CloseConfirmBox = box;
        connect(box, &QMessageBox::finished, this, [this, box](int) {
            if (box->clickedButton() == box->button(QMessageBox::Yes))
                shutDown(false);
        });
        trace::write(QStringLiteral("box"), box->text());
        box->open();
        return;
    }
    shutDown(ending);
}

void ShutDownSequence::shutDown(bool ending)
{
    if (m_closing)
        return;
    m_closing = true;
    m_ending = ending;
    // The SpeedTouch 585's session time-out goes back to the router's default, then the session closes.
    if (m_parts.settings.Router.ST585) {
        const bool restore = m_parts.thomson.ThomsonSessionUp() && m_parts.settings._585Telnet.RestoreTimeout;
        m_parts.thomson.closeSession(restore, [this, restore](const QString &reply) {
            if (restore)
                m_parts.status.systemMessage(reply);
            logout();
        });
        return;
    }
    logout();
}

void ShutDownSequence::logout()
{
    const TSettings &Settings = m_parts.settings;
    // Logout first, while the router still answers; bounded like every request.
    if (Settings.Router.cbLogOut && !Settings.Router.LogOut.isEmpty() && m_parts.http.lastConnected()) {
        std::optional<HttpCredentials> credentials;
        if (Settings.Router.cbLogin)
            credentials = HttpCredentials{Settings.Router.UsernameNotRequired ? QString() : Settings.Router.Username,
                                          Settings.Router.Password};
        // Credentials only to the host that has them already.
        if (routerAuthority(Settings.Router.LogOut) != routerAuthority(Settings.Router.Login))
            credentials.reset();
        m_parts.http.get(QUrl(Settings.Router.LogOut), credentials, 3000, [this](const HttpResult &) { steps(); });
        return;
    }
    steps();
}

void ShutDownSequence::steps()
{
    // Each step on its own: one that fails does not keep the others from running.
    if (m_parts.btnStart.isChecked())
        m_host.stop();
    m_parts.timer1.stop();
    m_parts.cycle.cancel();
    m_parts.webPage.deactivate();
    // The router's debug telnet daemon is stopped before the session ends.
    m_parts.telnet.closeSession(TelnetSession::kCloseWaitMs, [this] { finish(); });
}

void ShutDownSequence::finish()
{
    // The router status page is not the page to open on next time: it fetches from the router.
    if (m_parts.pageControl.currentWidget() == m_parts.statusPage)
        m_parts.pageControl.setCurrentIndex(0);
    const bool saved = m_host.saveSettings();

    // Captures on close.
    const TSettings &s = m_parts.settings;
    m_parts.pollImages.closeCapturesStep();

    if (s.Capture.DeleteImages && s.Capture.DeleteOnClose)
        for (const QString &m : ImageCleanup::DeleteFiles(s, Clock::currentDateTime(), m_parts.settingsFilePath).messages)
            m_parts.status.systemMessage(m);
    QFile::remove(settingspaths::programBase(m_parts.settingsFilePath) + QStringLiteral(".bmp"));
    m_parts.pollImages.removeTemporaryWebImages();

    m_done = true;
    // Settings that did not reach the disk are not closed over: the window
    // goes once the user has read why. The system ending the program waits for nobody.
    if (!saved && !m_ending)
        if (auto *box = m_window.findChild<QMessageBox *>(QStringLiteral("SaveErrorBox")); box && box->isVisible()) {
            connect(box, &QMessageBox::finished, &m_window, &QWidget::close);
            return;
        }
    m_window.close();
}
