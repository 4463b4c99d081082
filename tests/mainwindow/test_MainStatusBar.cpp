// The main window's status bar: its panels' texts and its popup's items.
#include "mainwindow/MainStatusBar.h"
#include "widgets/ElidingLabel.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <gtest/gtest.h>

TEST(MainStatusBar, PanelsKeepTheirOwnTextAndIgnoreOtherNumbers)
{
    QMainWindow window;
    const MainStatusBar bar = MainStatusBar::build(&window, {});
    EXPECT_EQ(window.statusBar()->objectName(), QStringLiteral("StatusBar1"));
    for (int i = 0; i < 4; ++i)
        bar.setPanel(i, QStringLiteral("text %1").arg(i));
    for (int outside : {-1, 4, 100})
        bar.setPanel(outside, QStringLiteral("lost"));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bar.panel(i), QStringLiteral("text %1").arg(i));
        EXPECT_EQ(bar.panels[i]->fullText(), QStringLiteral("text %1").arg(i));
        EXPECT_EQ(bar.panels[i]->objectName(), QStringLiteral("StatusPanel%1").arg(i));
    }
    for (int outside : {-1, 4})
        EXPECT_TRUE(bar.panel(outside).isEmpty());
    // A path longer than the panel is shown cut but kept whole.
    const QString longText = QStringLiteral("Log: /a/very/long/folder/name/that/does/not/fit/statistics-log.txt");
    bar.setPanel(3, longText);
    EXPECT_EQ(bar.panel(3), longText);
}

TEST(MainStatusBar, PopupItemsSayWhatTheyWouldDoAndReachTheWindow)
{
    struct Case {
        bool webServerRunning, logging;
        const char *webText, *logText;
    };
    const Case cases[] = {
        {false, false, "Start web server", "Start Logging"},
        {true, false, "Stop web server", "Start Logging"},
        {false, true, "Start web server", "Stop Logging"},
        {true, true, "Stop web server", "Stop Logging"},
    };
    QMainWindow window;
    QStringList asked;
    MainStatusBarHost host;
    host.popupShowing = [&] { asked << QStringLiteral("texts"); };
    host.startWebServer = [&] { asked << QStringLiteral("web"); };
    host.enableLog = [&] { asked << QStringLiteral("log"); };
    const MainStatusBar bar = MainStatusBar::build(&window, host);
    EXPECT_EQ(bar.mnuStartWebServer->text(), QStringLiteral("Start web server"));
    EXPECT_EQ(bar.mnuEnableLog->text(), QStringLiteral("Enable Log"));
    for (const Case &c : cases) {
        bar.showPopupTexts(c.webServerRunning, c.logging);
        EXPECT_EQ(bar.mnuStartWebServer->text(), QString::fromLatin1(c.webText));
        EXPECT_EQ(bar.mnuEnableLog->text(), QString::fromLatin1(c.logText));
    }
    emit bar.StatusPopup->aboutToShow();
    bar.mnuStartWebServer->trigger();
    bar.mnuEnableLog->trigger();
    EXPECT_EQ(asked, (QStringList{"texts", "web", "log"}));

    QMainWindow bare; // a window that serves no item: the items do nothing
    const MainStatusBar unserved = MainStatusBar::build(&bare, {});
    emit unserved.StatusPopup->aboutToShow();
    unserved.mnuStartWebServer->trigger();
    unserved.mnuEnableLog->trigger();
}
