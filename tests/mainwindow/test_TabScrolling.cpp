// At the window's default size a tab bar whose last tab is hidden still
// scrolls, by its right arrow, to every tab that is shown.
#include "LayoutCheck.h"
#include "TestSupport.h"
#include "mainwindow/TForm1.h"

#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

TEST(TabScrolling, TheRightArrowReachesTheLastShownTab)
{
    struct Case {
        QByteArray ini; // its first lines go into [WebServer]
        const char *page; // the page whose tabs scroll; none for the main tabs
        const char *tab;
    };
    const Case cases[] = {
        {"[Router]\nV1234=1\nTelnet=1\n[Telnet]\nV123=1\n", "Telnet Router", "Bits/Tone"},
        {"ShowWeb=0\n[Router]\nTelnet=1\n[Ping]\nShowPing=1\n", nullptr, "Router Status Page"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tab);
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("veltrano.ini"));
        testsupport::writeAll(ini, "[WebServer]\nLocalHost=127.0.0.1\nPort=0\n" + c.ini);
        qputenv("VELTRANO_INI", ini.toUtf8());
        TForm1 form(false);
        qunsetenv("VELTRANO_INI");
        QTabWidget *tabs = form.PageControl1;
        if (c.page) {
            auto *page = form.findChild<QWidget *>(QLatin1String(c.page));
            testsupport::bringForward(page);
            tabs = page->findChild<QTabWidget *>(QString(), Qt::FindDirectChildrenOnly);
        }
        form.show();
        QApplication::processEvents();
        int index = 0;
        while (index < tabs->count() && tabs->tabText(index) != QLatin1String(c.tab))
            ++index;
        ASSERT_FALSE(tabs->isTabVisible(tabs->count() - 1));
        QTabBar *bar = tabs->tabBar();
        auto *left = bar->findChild<QToolButton *>(QStringLiteral("ScrollLeftButton"));
        auto *right = bar->findChild<QToolButton *>(QStringLiteral("ScrollRightButton"));
        auto inView = [&] {
            const QRect r = bar->tabRect(index);
            return !r.isEmpty() && r.left() >= 0 && r.right() < std::min(left->x(), right->x());
        };
        ASSERT_FALSE(inView()) << "at " << form.width() << " px the bar must scroll";
        for (int clicks = 0; right->isEnabled() && !inView() && clicks < 30; ++clicks) {
            QTest::mouseClick(right, Qt::LeftButton);
            QApplication::processEvents();
        }
        EXPECT_TRUE(inView());
    }
}
