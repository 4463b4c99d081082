// The router's pages on the window: the status page tab, the log viewer with
// its reverse order and the event log's restyle, and the clipboard text.
#include "SimWindowFixture.h"
#include "acquisition/RouterLog.h"
#include "common/Html2Text.h"
#include "mainwindow/PageView.h"
#include "mainwindow/RouterViewers.h"
#include "mainwindow/StatusPageTab.h"
#include "mainwindow/TForm5.h"
#include "mainwindow/TForm7.h"

#include <QAction>
#include <QTest>

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
    RouterLog log(*form->httpClient(), form->settings());
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

TEST_F(RouterPagesTest, ViewSourceOpensTheViewerOnThePage)
{
    open();
    form->routerViewers()->mnuViewSourceClick();
    ASSERT_TRUE(testsupport::waitFor([&] { return form->routerViewers()->logViewer() != nullptr; }, 10000));
    EXPECT_TRUE(form->routerViewers()->logViewer()->Memo1->toPlainText().contains(QStringLiteral("<")));
}
