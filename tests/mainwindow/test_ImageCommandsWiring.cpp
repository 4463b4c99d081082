// The image commands and window helpers as the main window wires them: the
// toolbar, the chart popups, the capture pictures, the graph viewer, the
// pane fonts and the tab-change reactions.
#include "TestSupport.h"
#include "acquisition/TelnetSession.h"
#include "mainwindow/CameraIndicators.h"
#include "mainwindow/ChartCommands.h"
#include "mainwindow/ChartSet.h"
#include "mainwindow/TForm1.h"
#include "mainwindow/TelnetPage.h"
#include "mainwindow/PaneFontDialog.h"
#include "viewer/GraphViewer.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QFontDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <qcustomplot.h>

#include <gtest/gtest.h>
#include <memory>

namespace {

struct ImageCommandsWiringTest : ::testing::Test {
    QTemporaryDir dir;
    QString ini = dir.filePath(QStringLiteral("veltrano.ini"));

    std::unique_ptr<TForm1> open(const QByteArray &iniText)
    {
        testsupport::writeAll(ini, "[WebServer]\nLocalHost=127.0.0.1\nPort=0\n[Router]\nLogin=http://127.0.0.1:1/\n"
                                   "Telnet=1\n[Telnet]\nHost=127.0.0.1\n"
                                   + iniText);
        qputenv("VELTRANO_INI", ini.toUtf8());
        return std::make_unique<TForm1>(true);
    }
    void TearDown() override
    {
        qunsetenv("VELTRANO_INI");
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<QDialog *>(w) || qobject_cast<QMenu *>(w))
                delete w;
    }
    static QMenu *popupOf(QCustomPlot *plot)
    {
        emit plot->customContextMenuRequested(QPoint(10, 10));
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *menu = qobject_cast<QMenu *>(w); menu && menu->isVisible())
                return menu;
        return nullptr;
    }
    static QStringList texts(const QMenu *menu)
    {
        QStringList out;
        for (const QAction *a : menu->actions())
            if (!a->isSeparator())
                out << a->text();
        return out;
    }
};

} // namespace

TEST_F(ImageCommandsWiringTest, ToolbarButtonsAreTheSharedActions)
{
    auto form = open("[Capture]\nFolder=" + dir.path().toUtf8() + "\n");
    for (QToolButton *b : {form->btnCaptureAll, form->btnCopy, form->btnViewGraphs}) {
        ASSERT_TRUE(b);
        EXPECT_FALSE(b->accessibleName().isEmpty()) << "the screen reader speaks the action's text";
        EXPECT_EQ(b->accessibleName(), b->defaultAction()->text());
        EXPECT_EQ(b->focusPolicy(), Qt::StrongFocus);
    }
    EXPECT_EQ(form->btnCaptureAll->defaultAction(), form->chartCommands()->CaptureAll);
    EXPECT_TRUE(form->btnCaptureAll->isEnabled());
    EXPECT_EQ(form->btnCaptureAll->toolTip(), QStringLiteral("'Capture now'  ALL graphs marked for capture"));
    EXPECT_EQ(form->btnViewGraphs->toolTip(), QStringLiteral("View graphs"));

    // The router status page's menu saves a picture of the window area.
    auto *statusMenu = form->findChild<QMenu *>(QStringLiteral("HTMLStatsPopup"));
    ASSERT_TRUE(statusMenu);
    EXPECT_TRUE(statusMenu->actions().contains(form->chartCommands()->SaveWindowImage));
    EXPECT_EQ(form->chartCommands()->SaveWindowImage->text(), QStringLiteral("Save Image As..."));

    auto other = open("[Capture]\nFolder=" + dir.filePath(QStringLiteral("missing")).toUtf8() + "\n");
    EXPECT_FALSE(other->btnCaptureAll->isEnabled());
}

TEST_F(ImageCommandsWiringTest, EveryChartPopupCarriesTheImageCommands)
{
    auto form = open("[Capture]\nIsPNG=1\nIsJPG=0\nBetweenHours=1\nNever=0\nFromHours=20\nToHours=5\nFolder="
                     + dir.path().toUtf8() + "\n");
    struct Case {
        int chart;
        const char *captureNow;
    };
    const Case cases[] = {{1, "Capture Now  [png]"}, {16, "Capture Now [png]"}, {21, "Capture Now [png]"},
                          {25, "Capture Now [png]"}, {26, "Capture Now"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.chart);
        QMenu *menu = popupOf(form->charts()->chart(c.chart));
        ASSERT_TRUE(menu);
        const QStringList items = texts(menu);
        EXPECT_TRUE(items.contains(QLatin1String(c.captureNow))) << items.join(QLatin1Char('|')).toStdString();
        EXPECT_TRUE(items.contains(QStringLiteral("Scheduled Capture [2000 - 0500]")));
        for (const char *item : {"Save As...", "Copy To Clipboard", "Printer Setup...", "Print"})
            EXPECT_TRUE(items.contains(QLatin1String(item))) << item;
        EXPECT_EQ(form->chartCommands()->targetChart(), c.chart);
        menu->close();
        delete menu;
    }
}

TEST_F(ImageCommandsWiringTest, SchedulingACaptureShowsTheChartsCamera)
{
    auto form = open("[Capture]\nAllTheTime=1\nNever=0\nCaptureAt=1\nCaptureAtTime=06:30\nFolder=" + dir.path().toUtf8()
                     + "\n[Graph]\ncbHUser2=1\n");
    using P = CameraIndicators::Picture;
    CameraIndicators *cameras = form->cameraIndicators();
    EXPECT_TRUE(cameras->picture(19, P::Active)->isHidden());
    EXPECT_EQ(cameras->picture(19, P::Daily)->accessibleName(), QStringLiteral("Daily capture at 06:30"));

    QMenu *menu = popupOf(form->charts()->chart(19));
    ASSERT_TRUE(menu);
    form->chartCommands()->ScheduledCapture->trigger();
    EXPECT_TRUE(form->settings().Capture.User2);
    EXPECT_FALSE(cameras->picture(19, P::Active)->isHidden());
    EXPECT_FALSE(cameras->picture(19, P::Daily)->isHidden());
    EXPECT_TRUE(cameras->picture(1, P::Active)->isHidden());
}

TEST_F(ImageCommandsWiringTest, ViewGraphsOpensTheViewerBesideTheWindow)
{
    auto form = open("[Capture]\nFolder=" + dir.path().toUtf8() + "\n");
    form->setGeometry(100, 80, 800, 600);
    form->btnViewGraphs->click();
    GraphViewer *viewer = form->graphViewer();
    ASSERT_TRUE(viewer);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_FALSE(viewer->isModal());
    EXPECT_EQ(viewer->currentFolder(), QFileInfo(dir.path()).absoluteFilePath());
    EXPECT_EQ(viewer->height(), form->geometry().height() - 48);
    viewer->close();
}

TEST_F(ImageCommandsWiringTest, PaneFontsComeFromTheSettingsAndTheFontDialog)
{
    auto form = open("[System]\nMemoFontName=Liberation Mono\nMemoFontSize=11\nMemoFontStyle=3\nMemoColour=clRed\n");
    auto *page = form->findChild<TelnetPage *>();
    ASSERT_TRUE(page);
    for (QPlainTextEdit *pane : {page->Memo1, page->Memo2, page->Memo3, page->Memo4}) {
        EXPECT_EQ(pane->font().family(), QStringLiteral("Liberation Mono"));
        EXPECT_EQ(pane->font().pointSize(), 11);
        EXPECT_TRUE(pane->font().bold());
        EXPECT_TRUE(pane->font().italic());
        EXPECT_EQ(pane->palette().color(QPalette::Text), QColor(Qt::red));
    }
    ASSERT_TRUE(form->btnFont);
    form->btnFont->click();
    auto *dialog = form->findChild<PaneFontDialog *>(QStringLiteral("FontDialog1"));
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->selectedFont().pointSize(), 11) << "the dialog starts from the settings";
    EXPECT_EQ(dialog->selectedColour(), QColor(Qt::red));
    EXPECT_FALSE(dialog->btnColour->text().isEmpty());
    QFont chosen(QStringLiteral("Liberation Sans"), 14);
    chosen.setUnderline(true);
    dialog->findChild<QFontDialog *>()->setCurrentFont(chosen);
    dialog->setColour(QColor(0, 0, 255));
    dialog->accept();
    EXPECT_EQ(form->settings().System.MemoFontSize, 14);
    EXPECT_EQ(form->settings().System.MemoFontStyle, 4);
    EXPECT_EQ(form->settings().System.MemoColour, 0xFF0000u) << "blue as 0x00BBGGRR";
    EXPECT_EQ(page->Memo2->font().pointSize(), 14);
    EXPECT_TRUE(page->Memo2->font().underline());
    EXPECT_EQ(page->Memo4->palette().color(QPalette::Text), QColor(0, 0, 255));

    // Cancelled: the settings stay and the panes keep them.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(form->findChild<PaneFontDialog *>());
    form->btnFont->click();
    dialog = form->findChild<PaneFontDialog *>(QStringLiteral("FontDialog1"));
    ASSERT_TRUE(dialog);
    dialog->setColour(QColor(Qt::green));
    dialog->reject();
    EXPECT_EQ(form->settings().System.MemoColour, 0xFF0000u);
}

TEST_F(ImageCommandsWiringTest, ShowingTheTerminalFocusesItAndArmsTheDebugOffTimer)
{
    auto form = open("[Telnet]\nAuto=1\nTimer=3\n[System]\nLast=0\n");
    form->show();
    QApplication::setActiveWindow(form.get());
    auto *page = form->findChild<TelnetPage *>();
    ASSERT_TRUE(page);
    QWidget *telnetTab = page->parentWidget()->parentWidget()->parentWidget();
    ASSERT_EQ(telnetTab->objectName(), QStringLiteral("Telnet Router"));
    form->telnet()->Timer3Timer(); // stops the timer as a fire would
    EXPECT_FALSE(form->telnet()->debugOffTimerActive());
    form->PageControl1->setCurrentWidget(telnetTab);
    EXPECT_TRUE(form->telnet()->debugOffTimerActive());
    EXPECT_EQ(form->telnet()->debugOffTimerInterval(), 3 * 60000);
    EXPECT_EQ(QApplication::focusWidget(), page->Memo1);
    EXPECT_FALSE(form->btnLog->isEnabled());
}

TEST_F(ImageCommandsWiringTest, OptionsButtonLeadsToTheBitLoadingTab)
{
    auto form = open("");
    ASSERT_TRUE(form->Button2);
    EXPECT_EQ(form->Button2->text(), QStringLiteral("Options..."));
    form->PageControl1->setCurrentIndex(0);
    form->Button2->click();
    EXPECT_EQ(form->PageControl1->currentWidget()->objectName(), QStringLiteral("Bitloading"));
    EXPECT_TRUE(form->PageControl1->isTabVisible(form->PageControl1->currentIndex()));
}

TEST_F(ImageCommandsWiringTest, TimelineZoomSignShowsOnlyWithTheTimeCharts)
{
    auto form = open("[System]\nShowAlarms=1\n");
    auto *zoom = new QLabel(QStringLiteral("x2"), form->centralWidget());
    zoom->setObjectName(QStringLiteral("Panel30"));
    const auto showTab = [&](const QString &name) {
        for (int i = 0; i < form->PageControl1->count(); ++i)
            if (form->PageControl1->widget(i)->objectName() == name)
                form->PageControl1->setCurrentIndex(i);
        form->PageControl1Change();
        return !zoom->isHidden();
    };
    form->charts()->setTimelineExpandFactor(2);
    EXPECT_TRUE(showTab(QStringLiteral("Sync Speed")));
    EXPECT_FALSE(showTab(QStringLiteral("TabSheet4"))) << "the router status page";
    EXPECT_TRUE(showTab(QStringLiteral("Noise Margin")));
    EXPECT_FALSE(showTab(form->TabSheet29->objectName())) << "the alarms";
    form->charts()->setTimelineExpandFactor(1);
    EXPECT_FALSE(showTab(QStringLiteral("Noise Margin"))) << "no zoom, no sign";
}
