#pragma once
// The main window's status bar: four panels (the latest event, the WAN address,
// the connection's uptime, the log) and the popup menu that starts or stops the
// web server and the logging.
#include <QString>
#include <array>
#include <functional>

class ElidingLabel;
class QAction;
class QMainWindow;
class QMenu;

// What the popup's items ask of the window.
struct MainStatusBarHost {
    std::function<void()> popupShowing;   // the items' texts are due
    std::function<void()> startWebServer; // "Start web server" / "Stop web server"
    std::function<void()> enableLog;      // "Start Logging" / "Stop Logging"
};

// The bar's parts as built; the window owns them.
struct MainStatusBar {
    std::array<ElidingLabel *, 4> panels{};
    QMenu *StatusPopup = nullptr;
    QAction *mnuStartWebServer = nullptr;
    QAction *mnuEnableLog = nullptr;

    // Builds the bar and its popup and makes it `window`'s status bar.
    static MainStatusBar build(QMainWindow *window, const MainStatusBarHost &host);

    // A panel's whole text (0 to 3); a change is traced. Other panel numbers are ignored.
    void setPanel(int panel, const QString &text) const;
    QString panel(int panel) const;
    // The popup's items say what they would do now.
    void showPopupTexts(bool webServerRunning, bool logging) const;
};
