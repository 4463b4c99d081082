// The image commands and window helpers as the main window wires them: the
// toolbar, the chart popups, the capture pictures, the graph viewer, the
// pane fonts and the tab-change reactions.
#include "TestSupport.h"
#include "acquisition/TelnetSession.h"
#include "pages/BitsTonePage.h"
#include "charts/CameraIndicators.h"
#include "chartimages/ChartCommands.h"
#include "chartimages/ChartPopupMenus.h"
#include "charts/ChartSet.h"
#include "mainwindow/TForm1.h"
#include "pages/TelnetPage.h"
#include "pages/PaneFontDialog.h"
#include "viewer/GraphViewer.h"
#include "OnlyChild.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
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

using testsupport::onlyChild;

namespace {

struct ImageCommandsWiringTest : ::testing::Test {
    QTemporaryDir dir;
    QString ini = dir.filePath(QStringLiteral("veltrano.ini"));

    std::unique_ptr<TForm1> open(const QByteArray &iniText)
    {
        testsupport::writeAll(ini, testsupport::settingsFile("[WebServer]\nLocalHost=127.0.0.1\nPort=0\n"
                                                             "[Router]\nLogin=http://127.0.0.1:1/\n"
                                                             "Telnet=1\n[Telnet]\nHost=127.0.0.1\n"
                                                             + iniText));
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
    EXPECT_EQ(form->btnCaptureAll->defaultAction(), onlyChild<ChartCommands>(*form)->CaptureAll);
    EXPECT_TRUE(form->btnCaptureAll->isEnabled());
    EXPECT_EQ(form->btnCaptureAll->toolTip(), QStringLiteral("'Capture now'  ALL graphs marked for capture"));
    EXPECT_EQ(form->btnViewGraphs->toolTip(), QStringLiteral("View graphs"));

    // The router status page's menu saves a picture of the window area.
    auto *statusMenu = form->findChild<QMenu *>(QStringLiteral("HTMLStatsPopup"));
    ASSERT_TRUE(statusMenu);
    EXPECT_TRUE(statusMenu->actions().contains(onlyChild<ChartCommands>(*form)->SaveWindowImage));
    EXPECT_EQ(onlyChild<ChartCommands>(*form)->SaveWindowImage->text(), QStringLiteral("Save Image As..."));

    auto other = open("[Capture]\nFolder=" + dir.filePath(QStringLiteral("missing")).toUtf8() + "\n");
    EXPECT_FALSE(other->btnCaptureAll->isEnabled());
}

TEST_F(ImageCommandsWiringTest, EveryChartMenuCarriesTheImageCommands)
{
    auto form = open("[Capture]\nIsPNG=1\nIsJPG=0\nFolder=" + dir.path().toUtf8() + "\n[Graph]\ncbHNoise=1\n");
    ChartPopupMenus *menus = onlyChild<ChartPopupMenus>(*form);
    ASSERT_TRUE(menus);
    struct Case {
        int chart;
        const char *captureNow, *saveAs, *copy, *setup, *print;
    };
    const Case cases[] = {
        {1, "mnuCaptureNow", "mnuSaveAs", "mnuCopy", "mnuPrinterSetup", "mnuPrint"},
        {16, "mnuTelCaptureNow", "mnuTelSaveAs", "mnuTelCopy", "mnuTelPrinterSetup", "mnuTelPrint"},
        {25, "mnuPingCaptureNow", "mnuPingSaveAs", "mnuPingCopy", "mnuPingPrinterSetup", "mnuPingPrint"},
        {21, "CaptureNow1", "SaveAs2", "Copytoclipboard3", "PrinterSetup3", "Print3"},
        {22, "mnuBitSwapCaptureNow", "mnuBitSwapSaveAs", "mnuBitswapCopy", "mnuBitswapPrinterSetup", "mnuBitswapPrint"},
        {29, "mnuSepCapNow", "mnuSepSaveAs", "mnuSepCopy", "mnuSepPrinterSetup", "mnuSepPrint"},
        {26, "Capturenow2", "MenuItem1", "MenuItem3", "mnuPrinterSetup4", "MenuItem6"},
        {27, "mnuThomsonBitswapCapNow", "ThomsonSaveAs", "mnu585Copy", "PrinterSetup4", "ThomsonPrint"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.chart);
        QMenu *menu = menus->prepare(c.chart);
        ASSERT_TRUE(menu);
        for (const char *item : {c.captureNow, c.saveAs, c.copy, c.setup, c.print}) {
            QAction *a = menus->action(menu->objectName(), QLatin1String(item));
            ASSERT_TRUE(a) << item;
            EXPECT_TRUE(a->isEnabled()) << item;
        }
    }

    // Capture Now writes the menu's chart into the capture folder.
    menus->prepare(1);
    menus->action(QStringLiteral("ChartPopup"), QStringLiteral("mnuCaptureNow"))->trigger();
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.png")}, QDir::Files).size(), 1);
    // A tone chart's copy takes that chart.
    onlyChild<ChartSet>(*form)->chart(22)->resize(333, 222);
    menus->prepare(22);
    menus->action(QStringLiteral("PopupBitswap"), QStringLiteral("mnuBitswapCopy"))->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(333, 222));
}

TEST_F(ImageCommandsWiringTest, ToneMenuSwitchesKeepTheirSettings)
{
    auto form = open("[Telnet]\nBitsResize=1\n");
    ChartPopupMenus *menus = onlyChild<ChartPopupMenus>(*form);
    QMenu *bits = menus->prepare(21);
    emit bits->aboutToShow();
    QAction *resize = menus->action(QStringLiteral("popupBits"), QStringLiteral("mnuBitsResize"));
    ASSERT_TRUE(resize);
    EXPECT_TRUE(resize->isChecked());
    resize->trigger();
    EXPECT_FALSE(form->settings().Telnet.BitsResize);
    menus->action(QStringLiteral("popupBits"), QStringLiteral("mnuBitSwapBefore"))->trigger();
    EXPECT_TRUE(form->settings().Telnet.BitSwapBefore);

    struct Case {
        int chart;
        const char *popup, *item;
    };
    const Case cases[] = {{29, "PopupSepBitswap", "mnuSepWeb"},
                          {21, "popupBits", "mnuBitsWeb"},
                          {22, "PopupBitswap", "mnuBitswapWebServer"},
                          {26, "thomsonbitspopup", "Makeavailabletowebserver1"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.item);
        emit menus->prepare(c.chart)->aboutToShow();
        QAction *a = menus->action(QLatin1String(c.popup), QLatin1String(c.item));
        ASSERT_TRUE(a);
        EXPECT_FALSE(a->isChecked());
        a->trigger();
    }
    EXPECT_TRUE(form->settings().WebServer.SepWeb);
    EXPECT_TRUE(form->settings().Telnet.BitswapWebserver);
    EXPECT_TRUE(form->settings()._585Telnet.WebServer);
    EXPECT_TRUE(form->settings().WebServer.Bits);
}

TEST_F(ImageCommandsWiringTest, SchedulingACaptureShowsTheChartsCamera)
{
    auto form = open("[Capture]\nAllTheTime=1\nNever=0\nCaptureAt=1\nCaptureAtTime=06:30\nFolder=" + dir.path().toUtf8()
                     + "\n[Graph]\ncbHUser2=1\n");
    using P = CameraIndicators::Picture;
    CameraIndicators *cameras = onlyChild<CameraIndicators>(*form);
    EXPECT_TRUE(cameras->picture(19, P::Active)->isHidden());
    EXPECT_EQ(cameras->picture(19, P::Daily)->accessibleName(), QStringLiteral("Daily capture at 06:30"));

    ChartPopupMenus *menus = onlyChild<ChartPopupMenus>(*form);
    menus->prepare(19);
    QAction *capture = menus->action(QStringLiteral("ChartPopup"), QStringLiteral("mnuSchedCapture"));
    ASSERT_TRUE(capture);
    ASSERT_TRUE(capture->isEnabled());
    capture->trigger();
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
    GraphViewer *viewer = onlyChild<GraphViewer>(*form);
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
    onlyChild<TelnetSession>(*form)->Timer3Timer(); // stops the timer as a fire would
    EXPECT_FALSE(onlyChild<TelnetSession>(*form)->debugOffTimerActive());
    form->PageControl1->setCurrentWidget(telnetTab);
    qobject_cast<QTabWidget *>(page->parentWidget()->parentWidget())->setCurrentWidget(page);
    EXPECT_TRUE(onlyChild<TelnetSession>(*form)->debugOffTimerActive());
    EXPECT_EQ(onlyChild<TelnetSession>(*form)->debugOffTimerInterval(), 3 * 60000);
    EXPECT_EQ(QApplication::focusWidget(), page->Memo1);
    EXPECT_FALSE(form->btnLog->isEnabled());
}

// The pages each family reaches: the SpeedTouch 585 has its "Summary" tab and
// the bit-loading options beside its charts ("Options..." leads there); the
// telnet families have the session's "Summary" before the terminal and the
// same options beside their tone charts.
TEST_F(ImageCommandsWiringTest, EachFamilyReachesItsSummaryAndTheBitLoadingOptions)
{
    struct Case {
        const char *ini;
        QStringList visibleTabs, hiddenTabs;
        QString optionsBeside; // the page whose sub-tabs hold the options
    };
    const Case cases[] = {
        {"[Router]\nST585=1\nTelnet=0\n", {"Bitloading", "TabSheet36"}, {"Telnet Router"}, "Bitloading"},
        {"", {"Telnet Router"}, {"Bitloading", "TabSheet36"}, "Bits / Tone"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.ini);
        auto form = open(c.ini);
        QTabWidget *main = form->PageControl1;
        auto tab = [&](const QString &name) {
            for (int i = 0; i < main->count(); ++i)
                if (main->widget(i)->objectName() == name)
                    return i;
            return -1;
        };
        for (const QString &name : c.visibleTabs) {
            ASSERT_GE(tab(name), 0) << name.toStdString();
            EXPECT_TRUE(main->isTabVisible(tab(name))) << name.toStdString();
        }
        for (const QString &name : c.hiddenTabs)
            EXPECT_FALSE(tab(name) >= 0 && main->isTabVisible(tab(name))) << name.toStdString();
        if (tab(QStringLiteral("TabSheet36")) >= 0) {
            EXPECT_EQ(main->tabText(tab(QStringLiteral("TabSheet36"))), QStringLiteral("Summary"));
        }
        QWidget *options = onlyChild<BitsTonePage>(*form);
        ASSERT_TRUE(options);
        QTabWidget *tabs = nullptr;
        for (QWidget *w = options; w && !tabs; w = w->parentWidget())
            if (w->parentWidget())
                tabs = qobject_cast<QTabWidget *>(w->parentWidget()->parentWidget());
        ASSERT_TRUE(tabs);
        EXPECT_EQ(tabs->parentWidget()->objectName(), c.optionsBeside);
        QStringList captions;
        for (int i = 0; i < tabs->count(); ++i)
            captions << tabs->tabText(i);
        EXPECT_EQ(captions.count(QStringLiteral("Options")), 1) << captions.join(QLatin1Char(',')).toStdString();
        // The telnet tab opens on the session's summary, the terminal next to it.
        if (QWidget *terminal = onlyChild<TelnetPage>(*form)) {
            auto *telnetTabs = qobject_cast<QTabWidget *>(terminal->parentWidget()->parentWidget());
            EXPECT_EQ(telnetTabs->tabText(0), QStringLiteral("Summary"));
            EXPECT_EQ(telnetTabs->tabText(1), QStringLiteral("Terminal"));
            EXPECT_EQ(telnetTabs->widget(0)->findChild<QPlainTextEdit *>(QStringLiteral("Memo2")) != nullptr, true);
        }
    }
}

TEST_F(ImageCommandsWiringTest, OptionsButtonLeadsToTheBitLoadingOptions)
{
    auto form = open("[Router]\nST585=1\nTelnet=0\n");
    form->show();
    ASSERT_TRUE(form->Button2);
    EXPECT_EQ(form->Button2->text(), QStringLiteral("Options..."));
    form->PageControl1->setCurrentIndex(0);
    form->Button2->click();
    EXPECT_EQ(form->PageControl1->currentWidget()->objectName(), QStringLiteral("Bitloading"));
    EXPECT_TRUE(form->PageControl1->isTabVisible(form->PageControl1->currentIndex()));
    // The SNR, steps and bitswap-scale options are there to use.
    for (const char *name : {"rbSNR", "rbSNRSteps", "spBitswapMax", "cbAdjustBitswapScale"})
        EXPECT_TRUE(onlyChild<BitsTonePage>(*form)->findChild<QWidget *>(QLatin1String(name))->isVisible()) << name;
    // The toolbar's image commands act on the bitswaps-over-time chart from there.
    EXPECT_EQ(form->GetTopChart(), 28);
}

TEST_F(ImageCommandsWiringTest, TimelineZoomSignShowsOnlyWithTheTimeCharts)
{
    auto form = open("[System]\nShowAlarms=1\n");
    QLabel *zoom = form->Panel30;
    ASSERT_TRUE(zoom);
    const auto showTab = [&](const QString &name) {
        for (int i = 0; i < form->PageControl1->count(); ++i)
            if (form->PageControl1->widget(i)->objectName() == name)
                form->PageControl1->setCurrentIndex(i);
        form->PageControl1Change();
        return !zoom->isHidden();
    };
    const auto showTelnetPage = [&](int index) {
        QWidget *terminal = onlyChild<TelnetPage>(*form);
        auto *tabs = qobject_cast<QTabWidget *>(terminal->parentWidget()->parentWidget());
        form->PageControl1->setCurrentWidget(tabs->parentWidget());
        tabs->setCurrentIndex(index);
        form->PageControl1Change();
        return !zoom->isHidden();
    };
    onlyChild<ChartSet>(*form)->setTimelineExpandFactor(2);
    EXPECT_TRUE(showTab(QStringLiteral("Sync Speed")));
    EXPECT_FALSE(showTab(QStringLiteral("TabSheet4"))) << "the router status page";
    EXPECT_TRUE(showTab(QStringLiteral("Noise Margin")));
    EXPECT_FALSE(showTab(form->TabSheet29->objectName())) << "the alarms";
    EXPECT_FALSE(showTelnetPage(0)) << "the telnet session's summary";
    EXPECT_TRUE(showTelnetPage(2)) << "a telnet chart page";
    onlyChild<ChartSet>(*form)->setTimelineExpandFactor(1);
    EXPECT_FALSE(showTab(QStringLiteral("Noise Margin"))) << "no zoom, no sign";
}
