// The dialogs as the main window opens them, against a simulated router.
#include "../mainwindow/SimWindowFixture.h"
#include "DialogTestSupport.h"
#include "configuration/TForm10.h"
#include "configuration/TForm14.h"
#include "configuration/TForm17.h"
#include "configuration/TForm18.h"
#include "configuration/TForm8.h"

#include <QCheckBox>
#include <QImage>
#include <QPointer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <gtest/gtest.h>

using dialogtest::openDialog;

namespace {

struct DialogOpenersTest : SimWindowTest {
    void TearDown() override
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<QDialog *>(w) && w != form.get())
                w->deleteLater();
        SimWindowTest::TearDown();
    }

    TForm8 *waitForDg834Question()
    {
        testsupport::waitFor([] { return openDialog<TForm8>() != nullptr; }, 5000);
        return openDialog<TForm8>();
    }
};

} // namespace

TEST_F(DialogOpenersTest, Dg834QuestionPausesPollingAndTheFirstPollGoesOnFromOk)
{
    open();
    ASSERT_FALSE(form->settings().System.IsDG834);
    form->show();
    form->btnStart->click();
    TForm8 *question = waitForDg834Question();
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->pos(), form->geometry().topLeft() + QPoint(70, 100));
    EXPECT_EQ(question->Label2->text(),
              QStringLiteral("Press 'OK' to confirm this is correct\nand to use Veltrano' built-in accurate search function."));
    EXPECT_FALSE(form->Timer1->isActive()) << "no tick while the question is up";
    EXPECT_FALSE(started());

    question->cbAdvise->setChecked(true);
    question->btnOK->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return started(); }));
    EXPECT_TRUE(form->settings().System.IsDG834);
    EXPECT_FALSE(form->settings().System.Advise);
    EXPECT_TRUE(form->Timer1->isActive());
    // The poll that asked went on to its figures: no second first poll was needed.
    EXPECT_GT(form->runState().Figures.RxNoise, 0);
    EXPECT_EQ(statusPageRequests(), 1);
    form->btnStop->click();
}

TEST_F(DialogOpenersTest, Dg834QuestionIsNeverAskedOfAWindowNobodySees)
{
    for (const bool minimised : {false, true}) {
        open();
        if (minimised)
            form->showMinimized();
        ASSERT_EQ(form->isMinimized(), minimised);
        form->btnStart->click();
        ASSERT_TRUE(testsupport::waitFor([&] { return started(); })) << minimised;
        EXPECT_EQ(openDialog<TForm8>(), nullptr);
        EXPECT_FALSE(form->settings().System.IsDG834);
        EXPECT_TRUE(form->Timer1->isActive());
        form->btnStop->click();
    }
}

TEST_F(DialogOpenersTest, StopWhileTheDg834QuestionIsUpKeepsPollingStopped)
{
    open();
    form->show();
    form->btnStart->click();
    TForm8 *question = waitForDg834Question();
    ASSERT_NE(question, nullptr);
    form->btnStop->click();
    question->btnOK->click();
    QTest::qWait(300);
    EXPECT_TRUE(form->settings().System.IsDG834) << "the answer is kept";
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_FALSE(started());
    EXPECT_TRUE(form->btnStop->isChecked());
}

TEST_F(DialogOpenersTest, LogOptionsWarningCancelLeavesMonitoringStopped)
{
    const QByteArray log = "[System]\nLog=1\nLogFile=" + dir.filePath("line.txt").toUtf8()
                           + "\n[Log]\nLogAtSample=0\nLogAtEvery=0\nLogState=0\n";
    open(log);
    form->btnStart->click();
    TForm10 *warning = openDialog<TForm10>();
    ASSERT_NE(warning, nullptr);
    EXPECT_EQ(warning->pos(), form->geometry().topLeft() + QPoint(70, 100));
    EXPECT_FALSE(form->Timer1->isActive());
    warning->btnCancel->click();
    EXPECT_TRUE(form->btnStop->isChecked());
    EXPECT_FALSE(form->btnStart->isChecked());
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_EQ(count(QStringLiteral("Run button clicked")), 0);

    // Yes goes on with Run; the warning's "don't show again" is kept.
    form->btnStart->click();
    warning = openDialog<TForm10>();
    ASSERT_NE(warning, nullptr);
    warning->cbAdvise2->setChecked(true);
    warning->btnOK->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return started(); }));
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_FALSE(form->settings().Log.Advise);
    form->btnStop->click();
}

TEST_F(DialogOpenersTest, ChangeTimeOpensTheResetTimeDialogByTheWindowCentre)
{
    open("[Telnet]\nResetIncAt=05:30\n");
    form->setGeometry(100, 100, 900, 700);
    form->show();
    form->ChangeTime1Click();
    TForm14 *d = openDialog<TForm14>();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->pos(), form->geometry().center() + QPoint(-150, -100));
    EXPECT_EQ(d->DateTimePicker1->time(), QTime(5, 30));
    d->DateTimePicker1->setTime(QTime(23, 15));
    d->btnOK->click();
    EXPECT_EQ(form->settings().Telnet.ResetIncAt, QStringLiteral("23:15"));
}

TEST_F(DialogOpenersTest, IconFontPreviewRedrawsTheRealTrayIcon)
{
    open("[System]\nShowNoise=1\nFontOpaque=0\nIconBackColour=clWhite\nColour=clYellow\n");
    form->runState().SampleCount = 1; // as a poll leaves them
    form->runState().Figures.RxNoise = 6.5f;
    form->IconNoise(form->settings().Graph.NoiseColour);
    const QImage before = QApplication::windowIcon().pixmap(16, 16).toImage();
    QPointer<TForm18> d = TForm18::open(form.get(), *form);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->pos(), form->geometry().topLeft() + QPoint(100, 80));
    d->cbIconOpaque->click();
    const QImage after = QApplication::windowIcon().pixmap(16, 16).toImage();
    EXPECT_TRUE(form->settings().System.FontOpaque);
    EXPECT_NE(before, after) << "the opaque white box behind the digits shows at once";
    d->close();
}

TEST_F(DialogOpenersTest, MaintenanceDeleteNowReportsInTheSystemMessages)
{
    open("[Capture]\nFolder=" + dir.filePath("captures").toUtf8() + "\n");
    QPointer<TForm17> d = TForm17::open(form.get(), *form);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->pos(), form->geometry().topLeft() + QPoint(130, 100));
    d->btnDeleteNow->click();
    EXPECT_EQ(count(QStringLiteral("Starting captured image maintenance...")), 1);
    EXPECT_EQ(count(QStringLiteral("Recycled 0 captured images.")), 1);
    d->close();
}
