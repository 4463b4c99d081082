// At the window's default size every button of a page shows its whole caption.
#include "LayoutCheck.h"
#include "TestSupport.h"
#include "configuration/TForm10.h"
#include "configuration/TForm14.h"
#include "configuration/TForm17.h"
#include "configuration/TForm18.h"
#include "configuration/TForm4.h"
#include "configuration/TForm6.h"
#include "configuration/TForm8.h"
#include "configuration/TForm9.h"
#include "configuration/UserLabelDialog.h"
#include "pages/PaneFontDialog.h"
#include "mainwindow/TForm1.h"
#include "pages/TForm15.h"
#include "pages/TForm16.h"
#include "pages/TForm5.h"
#include "pages/TForm7.h"
#include "viewer/GraphViewer.h"
#include "pages/TelnetPage.h"
#include "OnlyChild.h"
#include "acquisition/RouterLog.h"
#include "acquisition/TelnetScriptRunner.h"
#include "acquisition/TelnetSession.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QFileInfo>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using testsupport::onlyChild;

namespace {

// The main window maximised on a 1366 x 768 screen, less a panel and the title bar.
constexpr QSize kLaptopMaximised(1366, 700);

struct DefaultWindowFit : ::testing::Test {
    QTemporaryDir dir;

    std::unique_ptr<TForm1> open(const QByteArray &iniText)
    {
        const QString ini = dir.filePath(QStringLiteral("veltrano.ini"));
        testsupport::writeAll(ini, "[WebServer]\nLocalHost=127.0.0.1\nPort=0\n" + iniText);
        qputenv("VELTRANO_INI", ini.toUtf8());
        return std::make_unique<TForm1>(false);
    }
    void TearDown() override { qunsetenv("VELTRANO_INI"); }

    // Captions of the visible buttons and labels narrower than their text needs.
    static QStringList cutButtons(QWidget *page)
    {
        QStringList cut;
        for (QAbstractButton *b : page->findChildren<QAbstractButton *>())
            if (b->isVisible() && !b->text().isEmpty() && b->width() < b->sizeHint().width())
                cut << b->text();
        for (QLabel *l : page->findChildren<QLabel *>())
            if (l->isVisible() && !l->text().isEmpty() && !l->wordWrap() && l->width() < l->sizeHint().width())
                cut << l->text();
        return cut;
    }
};

} // namespace

TEST_F(DefaultWindowFit, TerminalButtonsShowTheirWholeCaptions)
{
    // adslctl and DGTeam show every command button, the counter reset included.
    for (const QByteArray &family : {QByteArray("V123=1\n"), QByteArray("V123=0\nV4=1\n")}) {
        auto form = open("[Router]\nTelnet=1\n[Telnet]\n" + family);
        auto *page = form->findChild<TelnetPage *>();
        ASSERT_NE(page, nullptr);
        testsupport::bringForward(page);
        form->show();
        QApplication::processEvents();
        ASSERT_TRUE(page->isVisible()) << family.constData();
        EXPECT_EQ(cutButtons(page), QStringList()) << family.constData() << " at " << form->width() << " px";
    }
}

struct PageFit : DefaultWindowFit, ::testing::WithParamInterface<const char *> {};

TEST_P(PageFit, EveryPageShowsItsButtonsAndLabelsWhole)
{
    auto form = open(QByteArray(GetParam()) + "[Ping]\nShowPing=1\nShowData=1\n");
    // The 585 session state as a refresh leaves it.
    for (const char *name : {"Label93", "Label33"})
        if (auto *state = form->findChild<QLabel *>(QLatin1String(name))) {
            state->setText(QStringLiteral("Bitswaps since: 07 Dec - 13:20:43"));
            state->show();
        }
    form->show();
    QApplication::processEvents();
    EXPECT_EQ(testsupport::onEveryPage(form->PageControl1, cutButtons), QStringList());
}

// Every page at the window's default size and maximised on a 1366 x 768
// screen: nothing squeezed below what it needs.
TEST_P(PageFit, NoPageCrushesItsControlsAtEitherSize)
{
    auto form = open(QByteArray(GetParam()) + "[Ping]\nShowPing=1\nShowData=1\n");
    form->show();
    QApplication::processEvents();
    const QSize defaultSize = form->size();
    for (const QSize size : {defaultSize, kLaptopMaximised}) {
        form->resize(size);
        QApplication::processEvents();
        const QStringList crushed = testsupport::onEveryPage(form->PageControl1, testsupport::crushedControls);
        EXPECT_TRUE(crushed.isEmpty()) << "at " << form->width() << " x " << form->height() << ":\n"
                                       << crushed.join(QLatin1Char('\n')).toStdString();
    }
}

// adslctl telnet pages, and the SpeedTouch 585 bit-loading page with its session state shown.
INSTANTIATE_TEST_SUITE_P(Routers, PageFit,
                         ::testing::Values("[Router]\nTelnet=1\n[Telnet]\nV123=0\nV4=1\n",
                                           "[Router]\nST585=1\nV1234=0\n", "[Router]\nTelnet=1\n",
                                           "[Router]\nV5=1\nV1234=0\nV5Telnet=1\nTelnet=1\n[Telnet]\nV123=0\n",
                                           "[System]\nShowAlarms=1\nShowSystem=1\n"));

TEST_F(DefaultWindowFit, SpeedTouchSummaryPanesShareTheWidth)
{
    auto form = open("[Router]\nST585=1\nV1234=0\n");
    auto *raw = form->findChild<QWidget *>(QStringLiteral("memo5"));
    ASSERT_NE(raw, nullptr);
    testsupport::bringForward(raw);
    form->show();
    QApplication::processEvents();
    const int summary = form->findChild<QWidget *>(QStringLiteral("memo2585"))->width();
    for (const char *name : {"memo3585", "memo5", "memoBits585"})
        EXPECT_GE(form->findChild<QWidget *>(QLatin1String(name))->width(), summary - 2) << name;
}
TEST_F(DefaultWindowFit, BitLoadingOptionsKeepTheirHeightAndScroll)
{
    // A short window scrolls the options; it never squeezes their rows into each other.
    auto form = open("[Router]\nTelnet=1\n[Telnet]\nV123=0\nV4=1\n");
    for (const QSize size : {QSize(), QSize(1366, 740)}) {
        if (size.isValid())
            form->resize(size);
        form->show();
        auto *page = form->findChild<QWidget *>(QStringLiteral("TabSheetBitsOptions"));
        ASSERT_NE(page, nullptr);
        testsupport::bringForward(page);
        QApplication::processEvents();
        QStringList squeezed;
        for (QAbstractButton *b : page->findChildren<QAbstractButton *>())
            if (!b->isHidden() && b->height() < b->sizeHint().height())
                squeezed << b->text();
        EXPECT_EQ(squeezed, QStringList()) << form->width() << " x " << form->height();
        EXPECT_EQ(cutButtons(page), QStringList());
    }
}

// The windows made on demand, at the size they open with and stretched to a
// 1366 x 768 screen: nothing squeezed.
TEST_F(DefaultWindowFit, WindowsMadeOnDemandKeepTheirControlsWhole)
{
    auto form = open("[Router]\nTelnet=1\n");
    TSettings &s = form->settings();
    RunState run;
    std::vector<std::unique_ptr<QWidget>> windows;
    windows.emplace_back(new TForm4());
    windows.emplace_back(new TForm6(s));
    windows.emplace_back(new TForm8(s));
    windows.emplace_back(new TForm9(s));
    windows.emplace_back(new TForm10(s));
    windows.emplace_back(new TForm14(s));
    windows.emplace_back(new TForm17(s, dir.filePath(QStringLiteral("veltrano.ini")), [](const QString &) {}));
    windows.emplace_back(new TForm18(s, [] {}));
    windows.emplace_back(new UserLabelDialog(1, s));
    windows.emplace_back(new PaneFontDialog(QFont(), QColor(Qt::black)));
    windows.emplace_back(new TForm5(TForm5::Mode::ViewLog, QStringLiteral("log"), s, run, *onlyChild<RouterLog>(*form),
                                    dir.filePath(QStringLiteral("VT-routerlog.txt"))));
    windows.emplace_back(new TForm7(QStringLiteral("<p>events</p>"), *onlyChild<RouterLog>(*form)));
    windows.emplace_back(new TForm15(s, *onlyChild<TelnetSession>(*form)));
    windows.emplace_back(new TForm16(dir.filePath(QStringLiteral("script.txt")), *onlyChild<TelnetScriptRunner>(*form)));
    QList<QWidget *> all;
    for (const auto &w : windows)
        all << w.get();
    all << onlyChild<GraphViewer>(*form);
    for (QWidget *w : all) {
        SCOPED_TRACE(w->metaObject()->className());
        w->show();
        QApplication::processEvents();
        for (const QSize size : {w->size(), QSize(1366, 700).boundedTo(w->maximumSize())}) {
            w->resize(size);
            QApplication::processEvents();
            const QStringList crushed = testsupport::onEveryPage(w, testsupport::crushedControls);
            EXPECT_TRUE(crushed.isEmpty()) << "at " << w->width() << " x " << w->height() << ":\n"
                                           << crushed.join(QLatin1Char('\n')).toStdString();
        }
        w->hide();
    }
}
