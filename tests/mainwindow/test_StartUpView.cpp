// What the window shows straight after start-up, before anything has been
// polled, compared with what it shows once the same thing has happened by hand.
#include "SimWindowFixture.h"
#include "mainwindow/NoiseTrayIcon.h"
#include "pages/WebServerPage.h"
#include "settings/SettingsHub.h"

#include <QApplication>
#include <QTcpServer>

using testsupport::onlyChild;

using StartUpViewTest = SimWindowTest;

TEST_F(StartUpViewTest, TheWebServerStartedAtLaunchNamesItsPageAsAStartByHandDoes)
{
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    testsupport::writeAll(dir.filePath(QStringLiteral("line.htm")), "<html></html>\n");
    open("[WebServer]\nWebServer=1\nPort=" + QByteArray::number(port) + "\nWebpage="
         + dir.filePath(QStringLiteral("line.htm")).toUtf8() + "\n");

    WebServerPage *web = form->WebPage;
    const auto expectPage = [&](const char *step, const char *page) {
        SCOPED_TRACE(step);
        ASSERT_TRUE(web->isRunning());
        EXPECT_EQ(web->Label43->text(), QStringLiteral("SERVER RUNNING (http://127.0.0.1:%1/%2)").arg(port).arg(QLatin1String(page)));
    };
    expectPage("started at launch", "line.htm");
    web->btnWebStop->click();
    web->btnWebStart->click();
    expectPage("stopped and started", "line.htm");
    onlyChild<SettingsHub>(*form)->change([&](TSettings &s) { s.WebServer.Webpage = dir.filePath(QStringLiteral("other.htm")); });
    expectPage("another page chosen while it runs", "other.htm");
}

// No poll yet is no figure: the tip's words stand without numbers and the icon has no digits.
TEST_F(StartUpViewTest, TheTrayShowsNoFigureBeforeTheFirstPoll)
{
    const struct { const char *name; QByteArray settings; bool telnetOnly; } cases[] = {
        {"status page", "[Router]\nV1234=1\n[System]\nIsDG834=1\n", false},
        {"telnet only", telnetAt() + "DisableHTTP=1\nUseHttpDebug=0\n[Router]\nTelnet=1\n", true},
    };
    // The tip's line figures; the user figures' captions follow them.
    const auto figures = [&] { return form->TrayIcon->toolTip().section(QStringLiteral("\r\n"), 0, 2); };
    const auto iconIsPlain = [] {
        return QApplication::windowIcon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32)
               == NoiseTrayIcon::basePicture(false).toImage().convertToFormat(QImage::Format_ARGB32);
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        open(c.settings, 5);
        EXPECT_EQ(figures(), QStringLiteral("Veltrano\r\nNoise margin \r\nSync speed "));
        EXPECT_TRUE(iconIsPlain());

        ASSERT_TRUE(run());
        if (c.telnetOnly) { // Run's own poll sends the commands; the next one plots the reply
            ASSERT_TRUE(testsupport::waitFor([&] { return form->telnetFigures().Fresh.Sync; }, 10000) && poll());
        }
        form->btnStop->click();
        EXPECT_EQ(figures(), QStringLiteral("Veltrano\r\nNoise margin 6.5 dB\r\nSync speed 8,128 Kbps"));
        EXPECT_FALSE(iconIsPlain());
    }
}
