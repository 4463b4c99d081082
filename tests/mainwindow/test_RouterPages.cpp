// The router's pages on the window: the status page tab, the log viewer with
// its reverse order and the event log's restyle, and the clipboard text.
#include "SimWindowFixture.h"
#include "acquisition/RouterLog.h"
#include "common/Html2Text.h"
#include "widgets/PageView.h"
#include "pages/RouterViewers.h"
#include "pages/StatusPageTab.h"
#include "pages/TForm5.h"
#include "pages/TForm7.h"
#include "OnlyChild.h"
#include "acquisition/RouterHttpClient.h"
#include "settings/SettingsHub.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTcpServer>
#include <QTest>

using testsupport::onlyChild;

TEST(Html2TextTest, RowsBecomeLinesCellsTabsAndNothingElseIsLost)
{
    const QString html = QStringLiteral("<html><head><title>t</title></head><body><table><tr><td>a</td><td>b^2</td>"
                                        "</tr><tr><td>1,234.5&nbsp;kbps</td></tr></table></body></html>");
    const QString text = HTML2Text(html);
    EXPECT_TRUE(text.contains(QStringLiteral("a \t b^2"))) << text.toStdString(); // "^" stays
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n1,234.5 kbps")));
    EXPECT_FALSE(text.contains(QLatin1Char('t') + QStringLiteral("\r\n"))); // the title is not body text
}

TEST(EventLogRestyle, SpacersOddRowsAndTheEmptyText)
{
    EXPECT_EQ(TForm7::restyle(QStringLiteral("<td height='3'><tr class='oddrow'>No events for this category.")),
              QStringLiteral("<td height='1'><tr bgcolor='#ffffcc'>No events."));
}

struct RouterPagesTest : SimWindowTest {};

TEST_F(RouterPagesTest, StatusTabShowsTheServedPageAndNothingWithoutHttp)
{
    open();
    StatusPageTab *tab = form->StatusPage;
    ASSERT_TRUE(tab);
    tab->Refresh1Click();
    ASSERT_TRUE(testsupport::waitFor([&] { return !tab->viewerPageText().isEmpty(); }, 10000));
    EXPECT_TRUE(tab->viewerPageText().contains(QStringLiteral("</html>"), Qt::CaseInsensitive));
    EXPECT_EQ(tab->HTML2->pageSource(), tab->viewerPageText());

    // A failing fetch keeps what was shown; telnet-only monitoring fetches nothing.
    const QString before = tab->viewerPageText();
    fail("500");
    sim.journal().clear();
    tab->Refresh1Click();
    ASSERT_TRUE(testsupport::waitFor([&] { return statusPageRequests() == 1; }, 5000));
    QTest::qWait(100);
    form->settings().Telnet.DisableHTTP = true;
    sim.journal().clear();
    tab->Refresh1Click();
    QTest::qWait(300);
    EXPECT_EQ(tab->viewerPageText(), before);
    EXPECT_EQ(statusPageRequests(), 0);
}

TEST_F(RouterPagesTest, LogViewerShowsLinesOnceAndReversed)
{
    open();
    RouterLog log(*onlyChild<RouterHttpClient>(*form), form->settings());
    for (bool reverse : {false, true}) {
        form->settings().RouterLog.Reverse = reverse;
        auto *viewer = new TForm5(TForm5::Mode::ViewLog, QStringLiteral("one\r\ntwo\r\nthree\r\n"), form->settings(),
                                  form->runState(), log, dir.filePath(QStringLiteral("VT-routerlog.txt")), form.get());
        EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Veltrano - Netgear Log"));
        EXPECT_EQ(viewer->Memo1->toPlainText(),
                  reverse ? QStringLiteral("three\ntwo\none") : QStringLiteral("one\ntwo\nthree"));
        delete viewer;
    }
    auto *source = new TForm5(TForm5::Mode::ViewSource, QStringLiteral("<html>"), form->settings(), form->runState(),
                              log, QString(), form.get());
    EXPECT_EQ(source->windowTitle(), QStringLiteral("Veltrano - View Souce"));
    EXPECT_FALSE(source->btnEmail->isVisibleTo(source));
    EXPECT_FALSE(source->btnRefresh->isVisibleTo(source));
    delete source;
}

// The viewer's "Email" with the log attached: when the log file cannot be
// written the mail still goes, and the user is told it went without the log.
TEST_F(RouterPagesTest, LogEmailSaysWhenTheLogCouldNotBeAttached)
{
    open();
    QTcpServer closed; // a port nobody answers on: the mail itself fails at once
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    TSettings &s = form->settings();
    s.Email.Server = QStringLiteral("127.0.0.1");
    s.Email.Port = QString::number(closed.serverPort());
    closed.close();
    s.Email.From = QStringLiteral("vt@x.test");
    s.Email.To = QStringLiteral("ops@y.test");
    for (bool writable : {true, false}) {
        SCOPED_TRACE(writable);
        const QString path = dir.filePath(QStringLiteral("logs-%1/VT-routerlog.txt").arg(writable));
        QDir().mkpath(writable ? QFileInfo(path).absolutePath() : path); // a folder where the file goes
        TForm5 viewer(TForm5::Mode::ViewLog, QStringLiteral("one\r\n"), s, form->runState(), *onlyChild<RouterLog>(*form),
                      path, form.get());
        QSignalSpy said(&viewer, &TForm5::systemMessage);
        QTest::mouseClick(viewer.btnEmail, Qt::LeftButton);
        ASSERT_TRUE(testsupport::waitFor([&] { return viewer.btnEmail->isEnabled(); }, 30000));
        const QString first = said.isEmpty() ? QString() : said.first().first().toString();
        EXPECT_EQ(first.startsWith(QStringLiteral("Router log not attached: ")), !writable) << first.toStdString();
        EXPECT_EQ(viewer.StatusBar1->currentMessage(), writable ? QString() : first);
    }
}

TEST_F(RouterPagesTest, ViewSourceOpensTheViewerOnThePage)
{
    open();
    onlyChild<RouterViewers>(*form)->mnuViewSourceClick();
    ASSERT_TRUE(testsupport::waitFor([&] { return onlyChild<RouterViewers>(*form)->logViewer() != nullptr; }, 10000));
    EXPECT_TRUE(onlyChild<RouterViewers>(*form)->logViewer()->Memo1->toPlainText().contains(QStringLiteral("<")));
}

// The log viewer's menu choices are settings, announced as made and saved (a fetch still out when
// the window goes is dropped without a crash).
TEST_F(RouterPagesTest, LogViewerChoicesReachTheSettingsFile)
{
    open("[Router]\nV1234=1\n[RouterLog]\nReverse=0\nIsDG834N=0\nEmailInclude=0\n");
    form->btnViewRouterLog->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return onlyChild<RouterViewers>(*form)->logViewer() != nullptr; }, 10000));
    TForm5 *viewer = onlyChild<RouterViewers>(*form)->logViewer();
    QSignalSpy announced(onlyChild<SettingsHub>(*form), &SettingsHub::changed);
    for (QAction *item : {viewer->mnuReverse, viewer->mnuAdjustStart, viewer->mnuEmailInclude})
        item->trigger(); // each now checked
    viewer->close(); // the e-mail choice is stored as the viewer closes
    QTest::mouseClick(form->btnSave, Qt::LeftButton);
    for (const char *key : {"Reverse", "IsDG834N", "EmailInclude"}) {
        bool heard = false;
        for (const QList<QVariant> &args : announced)
            heard |= args.at(0).value<SettingKeys>().contains(QStringLiteral("RouterLog/") + QLatin1String(key));
        EXPECT_TRUE(heard) << key;
        EXPECT_EQ(testsupport::iniValue(testsupport::readAll(ini), "RouterLog", key), QStringLiteral("1")) << key;
    }
}

// A router that fails the log page is reported as "Connection Failed": the
// toolbar's "View router's log" opens no viewer but says so, and a viewer's
// Refresh says so while keeping what it showed. Netgear log and 585 events.
TEST_F(RouterPagesTest, FailedLogFetchesSayConnectionFailed)
{
    struct Case {
        const char *profile;
        QByteArray ini;
    };
    const Case cases[] = {{"v1234", "[Router]\nV1234=1\n"}, {"st585", "[Router]\nST585=1\nV1234=0\n"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.profile);
        profile = QString::fromLatin1(c.profile);
        const bool netgear = c.ini.contains("V1234=1");
        startSim();
        fail("none");
        open(c.ini);
        RouterViewers *viewers = onlyChild<RouterViewers>(*form);
        auto failedBoxes = [](QWidget *owner) {
            int n = 0;
            for (QMessageBox *b : owner->findChildren<QMessageBox *>())
                if (b->isVisible() && b->text().startsWith(QLatin1String("Connection Failed\n\n")))
                    ++n;
            return n;
        };
        form->btnViewRouterLog->click();
        QDialog *viewer = nullptr;
        ASSERT_TRUE(testsupport::waitFor([&] {
            viewer = netgear ? static_cast<QDialog *>(viewers->logViewer())
                                     : static_cast<QDialog *>(viewers->eventViewer());
            return viewer != nullptr;
        }, 10000));
        const QString shown = netgear ? viewers->logViewer()->Memo1->toPlainText()
                                              : viewers->eventViewer()->HTML3->toPlainText();
        EXPECT_FALSE(shown.isEmpty());

        fail("500");
        viewer->findChild<QPushButton *>(netgear ? QStringLiteral("btnRefresh")
                                                         : QStringLiteral("btnRefresh585"))
            ->click();
        EXPECT_TRUE(testsupport::waitFor([&] { return failedBoxes(viewer) == 1; }, 10000));
        EXPECT_EQ(netgear ? viewers->logViewer()->Memo1->toPlainText()
                                  : viewers->eventViewer()->HTML3->toPlainText(),
                  shown);
        delete viewer;

        form->btnViewRouterLog->click();
        EXPECT_TRUE(testsupport::waitFor([&] { return failedBoxes(form.get()) == 1; }, 10000));
        EXPECT_EQ(viewers->logViewer(), nullptr);
        EXPECT_EQ(viewers->eventViewer(), nullptr);
        form.reset();
    }
}
