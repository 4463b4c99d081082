// Every control of the main window can be reached by keyboard and has a name a screen reader speaks.
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

QString spokenName(QWidget *w)
{
    if (!w->accessibleName().isEmpty())
        return w->accessibleName();
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return b->text();
    for (QLabel *l : w->window()->findChildren<QLabel *>())
        if (l->buddy() == w)
            return l->text();
    return {};
}

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
    QStringList silent, unreachable;
    // The main window and the windows it creates with it (viewers, dialogs).
    QList<QWidget *> widgets;
    for (QWidget *top : QApplication::topLevelWidgets())
        widgets += top->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        const bool control = qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w)
                             || qobject_cast<QAbstractSpinBox *>(w) || qobject_cast<QComboBox *>(w)
                             || qobject_cast<QSlider *>(w) || qobject_cast<QPlainTextEdit *>(w)
                             || qobject_cast<QTextEdit *>(w);
        if (!control || qobject_cast<QAbstractSpinBox *>(w->parentWidget())
            || qobject_cast<QComboBox *>(w->parentWidget()) || w->objectName().startsWith(QLatin1String("qt_"))
            || w->objectName().isEmpty())
            continue;
        if (spokenName(w).remove(QLatin1Char('&')).trimmed().isEmpty())
            silent << w->window()->objectName() + QLatin1Char('.') + w->objectName();
        if (!(w->focusPolicy() & Qt::TabFocus))
            unreachable << w->window()->objectName() + QLatin1Char('.') + w->objectName();
    }
    EXPECT_EQ(silent, QStringList());
    EXPECT_EQ(unreachable, QStringList());
}

INSTANTIATE_TEST_SUITE_P(Routers, WindowAccessibility,
                         ::testing::Values("[Router]\nTelnet=1\n[Telnet]\nV123=0\nV4=1\n",
                                           "[Router]\nST585=1\nV1234=0\n"));
