// Every control of the main window can be reached by keyboard and has a name a screen reader speaks.
#include "AccessibilityCheck.h"
#include "TestSupport.h"
#include "configuration/TForm2.h"
#include "charts/ChartInteraction.h"
#include "mainwindow/TForm1.h"
#include "OnlyChild.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextEdit>
#include <gtest/gtest.h>
#include <memory>

using testsupport::onlyChild;

namespace {


struct WindowAccessibility : ::testing::TestWithParam<const char *> {
    QTemporaryDir dir;
    void TearDown() override { qunsetenv("VELTRANO_INI"); }
};

} // namespace

TEST_P(WindowAccessibility, EveryControlIsReachableAndNamed)
{
    const QString ini = dir.filePath(QStringLiteral("veltrano.ini"));
    testsupport::writeAll(ini, QByteArray("[WebServer]\nLocalHost=127.0.0.1\nPort=0\n[Ping]\nShowPing=1\nShowData=1\n")
                                   + GetParam());
    qputenv("VELTRANO_INI", ini.toUtf8());
    auto form = std::make_unique<TForm1>(false);
    // The main window and the windows it creates with it (viewers, dialogs).
    QList<QWidget *> widgets;
    for (QWidget *top : QApplication::topLevelWidgets())
        widgets += top->findChildren<QWidget *>();
    const testsupport::AccessibilityGaps gaps = testsupport::accessibilityGaps(widgets);
    EXPECT_EQ(gaps.silent, QStringList());
    EXPECT_EQ(gaps.unreachable, QStringList());
}

INSTANTIATE_TEST_SUITE_P(Routers, WindowAccessibility,
                         ::testing::Values("[Router]\nTelnet=1\n[Telnet]\nV123=0\nV4=1\n",
                                           "[Router]\nST585=1\nV1234=0\n"));

// What a screen reader is offered where a control does more than one thing
// or shows a figure: the split Configure button and the timeline zoom sign.
TEST(WindowAccessibleActions, ConfigureOpensTheDialogFirstAndTheZoomSignSpeaksItsFactor)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("veltrano.ini"));
    testsupport::writeAll(ini, "[WebServer]\nLocalHost=127.0.0.1\nPort=0\n[System]\nConf=1\n");
    qputenv("VELTRANO_INI", ini.toUtf8());
    auto form = std::make_unique<TForm1>(false);
    qunsetenv("VELTRANO_INI");

    QAccessibleInterface *configure = QAccessible::queryAccessibleInterface(form->btnConfigure);
    ASSERT_TRUE(configure && configure->actionInterface());
    EXPECT_EQ(configure->text(QAccessible::Name), QStringLiteral("Configure"));
    EXPECT_EQ(configure->role(), QAccessible::Button);
    EXPECT_TRUE(configure->state().hasPopup);
    const QStringList actions = configure->actionInterface()->actionNames();
    ASSERT_EQ(actions, (QStringList{QAccessibleActionInterface::pressAction(),
                                    QAccessibleActionInterface::showMenuAction()}));

    configure->actionInterface()->doAction(actions.first());
    EXPECT_TRUE(onlyChild<TForm2>(*form)->isVisible()) << "the default action opens the dialog";
    onlyChild<TForm2>(*form)->close();

    QMenu *graphs = form->btnConfigure->menu();
    QTimer::singleShot(0, graphs, [graphs] { graphs->close(); });
    bool menuShown = false;
    QObject::connect(graphs, &QMenu::aboutToShow, [&] { menuShown = true; });
    configure->actionInterface()->doAction(actions.last());
    EXPECT_TRUE(menuShown);
    EXPECT_FALSE(onlyChild<TForm2>(*form)->isVisible());

    for (int factor : {2, 8}) {
        onlyChild<ChartInteraction>(*form)->mnuExpandClick();
        if (factor == 8)
            onlyChild<ChartInteraction>(*form)->mnuExpandClick();
        QAccessibleInterface *zoom = QAccessible::queryAccessibleInterface(form->Panel30);
        ASSERT_TRUE(zoom);
        EXPECT_EQ(zoom->text(QAccessible::Name), QStringLiteral("x%1").arg(factor));
        EXPECT_EQ(zoom->text(QAccessible::Description), QStringLiteral("Timeline zoom"));
    }
}
