// The main window's toolbars: the rows' order, Run and Stop grouped, the
// "Configure Graphs" items reaching the window, the flat look.
#include "mainwindow/MainToolBars.h"
#include "settings/TSettings.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QStringList rowNames(QToolBar *bar)
{
    QStringList names;
    for (QAction *a : bar->actions())
        if (QWidget *w = bar->widgetForAction(a))
            names << w->objectName();
    return names;
}

struct Built {
    QMainWindow window;
    TSettings settings;
    QAction *captureAll = new QAction(QStringLiteral("Capture All"), &window);
    QAction *copy = new QAction(QStringLiteral("Copy"), &window);
    QAction *viewGraphs = new QAction(QStringLiteral("View Graphs"), &window);
    QStringList served;
    MainToolBars bars;

    explicit Built(bool withHost = true)
    {
        captureAll->setObjectName(QStringLiteral("btnCaptureAll"));
        copy->setObjectName(QStringLiteral("btnCopy"));
        viewGraphs->setObjectName(QStringLiteral("btnViewGraphs"));
        ConfigureGraphsHost host;
        if (withHost) {
            host.yAxis = [this] { served << QStringLiteral("yAxis"); };
            host.commonSettings = [this] { served << QStringLiteral("commonSettings"); };
            host.captureProperties = [this] { served << QStringLiteral("captureProperties"); };
            host.setAverages = [this] { served << QStringLiteral("setAverages"); };
            host.captureSize = [this] { served << QStringLiteral("captureSize"); };
        }
        bars = MainToolBars::build(&window, settings, {captureAll, copy, viewGraphs}, host);
    }
};

} // namespace

TEST(MainToolBars, RowsHoldTheirButtonsInOrderAndTheImageButtonsCarryTheActions)
{
    Built b;
    EXPECT_EQ(rowNames(b.bars.ToolBar1),
              (QStringList{"btnStart", "btnStop", "btnSchedRun", "btnSave", "btnOnTop", "btnConfigure", "btnHelp"}));
    EXPECT_EQ(rowNames(b.bars.ToolBar2), (QStringList{"btnLog", "btnViewLog", "btnViewRouterLog", "btnCaptureAll",
                                                      "btnCopy", "btnViewGraphs"}));
    EXPECT_TRUE(b.window.toolBarBreak(b.bars.ToolBar2));
    // Without an icon the image buttons show their text; the action's text is their spoken name.
    EXPECT_EQ(b.bars.btnCopy->defaultAction(), b.copy);
    EXPECT_EQ(b.bars.btnCopy->toolButtonStyle(), Qt::ToolButtonTextOnly);
    EXPECT_EQ(b.bars.btnViewGraphs->accessibleName(), QStringLiteral("View Graphs"));
}

TEST(MainToolBars, ExactlyOneOfRunAndStopIsDown)
{
    Built b;
    EXPECT_TRUE(b.bars.btnStop->isChecked());
    EXPECT_FALSE(b.bars.btnStart->isChecked());
    b.bars.btnStart->click();
    EXPECT_TRUE(b.bars.btnStart->isChecked());
    EXPECT_FALSE(b.bars.btnStop->isChecked());
    b.bars.btnStart->click(); // pressing the down button keeps it down
    EXPECT_TRUE(b.bars.btnStart->isChecked());
    b.bars.btnStop->click();
    EXPECT_TRUE(b.bars.btnStop->isChecked());
    EXPECT_FALSE(b.bars.btnStart->isChecked());
}

TEST(MainToolBars, ArrowKeysOnRunOrStopMoveTheFocusAndPressNothing)
{
    Built b;
    b.window.show();
    b.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&b.window));
    struct Row {
        QPushButton *down;
        Qt::Key key;
    };
    for (const Row &row : {Row{b.bars.btnStart, Qt::Key_Right}, Row{b.bars.btnStart, Qt::Key_Down},
                           Row{b.bars.btnStop, Qt::Key_Left}, Row{b.bars.btnStop, Qt::Key_Up}}) {
        row.down->click();
        row.down->setFocus();
        QTest::keyClick(row.down, row.key);
        EXPECT_TRUE(row.down->isChecked()) << row.down->objectName().toStdString() << " key " << row.key;
        EXPECT_FALSE(row.down->hasFocus()) << row.down->objectName().toStdString() << " key " << row.key;
    }
}

TEST(MainToolBars, EachConfigureGraphsItemReachesItsOwnHandler)
{
    Built b;
    const QList<QAction *> items = b.bars.btnConfigure->menu()->actions();
    ASSERT_EQ(items.size(), 5);
    const QStringList expected{"yAxis", "commonSettings", "captureProperties", "setAverages", "captureSize"};
    for (int i = 0; i < items.size(); ++i) {
        b.served.clear();
        items[i]->trigger();
        EXPECT_EQ(b.served, QStringList{expected[i]}) << items[i]->objectName().toStdString();
    }

    Built without(false); // a window that serves no item: the items do nothing
    for (QAction *a : without.bars.btnConfigure->menu()->actions())
        a->trigger();
    EXPECT_TRUE(without.served.isEmpty());
}

TEST(MainToolBars, FlatLookReachesEveryButtonOfBothRows)
{
    Built b;
    for (bool flat : {true, false}) {
        b.bars.setFlat(flat);
        int buttons = 0;
        for (QToolBar *bar : {b.bars.ToolBar1, b.bars.ToolBar2})
            for (QAction *a : bar->actions()) {
                auto *p = qobject_cast<QPushButton *>(bar->widgetForAction(a));
                auto *t = qobject_cast<QToolButton *>(bar->widgetForAction(a));
                buttons += p || t;
                EXPECT_EQ(p ? p->isFlat() : t && t->autoRaise(), flat && (p || t)) << buttons;
            }
        EXPECT_EQ(buttons, 13);
    }
}

TEST(MainToolBars, OnlyTheOldSystemsLackThemedToolbars)
{
    const std::pair<const char *, bool> cases[] = {
        {"Windows XP", false},  {"Windows 98 SE", false},         {"Windows Vista", false},
        {"Windows 7", true},    {"Linux 6.8.0 (Ubuntu 24.04)", true}, {"", true},
        {"Windows XP (version 5.1)", false},
        // A kernel build number is not a system's name.
        {"Debian GNU/Linux 12 (bookworm) (version 6.1.0-98-amd64)", true},
        {"Ubuntu 22.04 LTS (version 5.15.0-98-generic)", true},
    };
    for (const auto &[version, themed] : cases)
        EXPECT_EQ(MainToolBars::themedToolbars(QString::fromLatin1(version)), themed) << version;
}
