// Every control of the main window can be reached by keyboard and has a name a screen reader speaks.
#include "AccessibilityCheck.h"
#include "TestSupport.h"
#include "mainwindow/TForm1.h"

#include <QAbstractButton>
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
