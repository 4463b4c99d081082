// Run's questions answered late or cancelled: an answer after Stop or a newer Run changes
// nothing, and a cancelled one leaves monitoring and Run and Stop as they were.
#include "SimWindowFixture.h"
#include "charts/ChartSeries.h"
#include "charts/ChartSet.h"
#include "configuration/TForm10.h"

#include <QAccessible>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using RunSequenceTest = SimWindowTest;

namespace {

// What a screen reader hears of a button, and how it presses one.
bool downForScreenReader(QAbstractButton *button) { return QAccessible::queryAccessibleInterface(button)->state().checked; }
void pressForScreenReader(QAbstractButton *button)
{
    QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
}

// Run's questions answered as a user clicks; false when the question is not open.
bool answerAppend(TForm1 &form, QMessageBox::StandardButton b) { return form.AppendConfirmBox && (form.AppendConfirmBox->button(b)->click(), true); }
bool answerLogWarning(TForm1 &form, bool ok)
{
    return form.LogOptionsWarning && ((ok ? form.LogOptionsWarning->btnOK : form.LogOptionsWarning->btnCancel)->click(), true);
}

enum class Answer { Cancel, NoThenNoFile, CancelTheLogWarning };

} // namespace

TEST_F(RunSequenceTest, AnAppendAnswerAfterStopOrANewerRunDoesNothing)
{
    const QString log = dir.filePath(QStringLiteral("stats.txt"));
    testsupport::writeAll(log, "old line\n");
    open("[System]\nLog=1\nLogFile=" + log.toUtf8() + "\n");
    const QString other = dir.filePath(QStringLiteral("other.txt"));

    struct Case {
        const char *name;
        bool newerRun;     // Run again instead of Stop before answering
        bool chooseOther;  // No, then a new file chosen in the save dialog
    };
    for (const Case &c : {Case{"Yes after Stop", false, false}, Case{"another file after Stop", false, true},
                          Case{"Yes after a newer Run", true, false}}) {
        SCOPED_TRACE(c.name);
        form->btnStart->click();
        QPointer<QMessageBox> first = form->AppendConfirmBox;
        ASSERT_NE(first, nullptr);
        QPointer<QFileDialog> dialog;
        if (c.chooseOther) {
            first->button(QMessageBox::No)->click();
            dialog = form->LogSaveDialog;
            ASSERT_NE(dialog, nullptr);
        }
        if (c.newerRun)
            form->btnStart->click();
        else
            form->btnStop->click();

        if (c.chooseOther)
            emit dialog->fileSelected(other);
        else
            first->button(QMessageBox::Yes)->click();
        EXPECT_EQ(form->settings().System.LogFile, log);
        EXPECT_FALSE(form->Timer1->isActive());
        QTest::qWait(50);
        EXPECT_EQ(requests(), 0);

        if (c.newerRun) {
            // The newer Run's own question still starts monitoring.
            ASSERT_NE(form->AppendConfirmBox, nullptr);
            ASSERT_NE(form->AppendConfirmBox, first);
            form->AppendConfirmBox->button(QMessageBox::Yes)->click();
            EXPECT_TRUE(form->Timer1->isActive());
            form->btnStop->click();
            EXPECT_FALSE(form->Timer1->isActive());
        }
        if (dialog)
            dialog->close();
    }
}

// A save dialog cancelled after a newer Run has started leaves that run alone.
TEST_F(RunSequenceTest, ALateCancelOfTheLogDialogDoesNotStopANewerRun)
{
    const QString log = dir.filePath(QStringLiteral("stats.txt"));
    testsupport::writeAll(log, "old line\n");
    open("[System]\nLog=1\nLogFile=" + log.toUtf8() + "\n");
    form->btnStart->click();
    ASSERT_NE(form->AppendConfirmBox, nullptr);
    form->AppendConfirmBox->button(QMessageBox::No)->click();
    QPointer<QFileDialog> dialog = form->LogSaveDialog;
    ASSERT_NE(dialog, nullptr);
    form->btnStart->click();
    ASSERT_NE(form->AppendConfirmBox, nullptr);
    form->AppendConfirmBox->button(QMessageBox::Yes)->click();
    ASSERT_TRUE(form->Timer1->isActive());

    dialog->reject();
    EXPECT_TRUE(form->btnStart->isChecked());
    EXPECT_FALSE(form->btnStop->isChecked());
    EXPECT_TRUE(form->Timer1->isActive());
    form->btnStop->click();
}

// Run pressed again, running or stopped, and its question cancelled: monitoring and the buttons stay as they were.
TEST_F(RunSequenceTest, ACancelledQuestionLeavesMonitoringAndTheButtonsAsTheyWere)
{
    const char *const answerNames[] = {"Cancel", "No and no file", "log warning cancelled"};
    for (const bool running : {true, false})
        for (const Answer answer : {Answer::Cancel, Answer::NoThenNoFile, Answer::CancelTheLogWarning}) {
            SCOPED_TRACE(std::string(answerNames[static_cast<int>(answer)]) + (running ? " while running" : " while stopped"));
            form.reset();
            sim.journal().clear();
            testsupport::writeAll(logFile(), "old line\n");
            const bool warns = answer == Answer::CancelTheLogWarning;
            open("[System]\nLog=1\nLogFile=" + logFile().toUtf8() + "\n"
                 + (warns ? "[Log]\nLogAtSample=0\nLogAtEvery=0\nLogState=0\n" : ""));
            if (running) {
                form->btnStart->click();
                ASSERT_TRUE((!warns || answerLogWarning(*form, true)) && answerAppend(*form, QMessageBox::Yes));
                ASSERT_TRUE(testsupport::waitFor([&] { return started(); }));
            }

            pressForScreenReader(form->btnStart);
            if (warns) {
                ASSERT_TRUE(answerLogWarning(*form, false));
            } else if (answer == Answer::NoThenNoFile) {
                ASSERT_TRUE(answerAppend(*form, QMessageBox::No) && form->LogSaveDialog);
                form->LogSaveDialog->reject();
            } else {
                ASSERT_TRUE(answerAppend(*form, QMessageBox::Cancel));
            }

            for (const auto &[button, down] : {std::pair{form->btnStart, running}, std::pair{form->btnStop, !running}}) {
                EXPECT_EQ(button->isChecked(), down) << qPrintable(button->objectName());
                EXPECT_EQ(downForScreenReader(button), down) << qPrintable(button->objectName());
            }
            EXPECT_EQ(form->windowTitle(), running ? QStringLiteral("Veltrano 6.3    [Running]") : QStringLiteral("Veltrano 6.3"));
            EXPECT_EQ(count(QStringLiteral("Run button clicked")), running ? 1 : 0);
            const int polled = requests();
            if (running) {
                EXPECT_TRUE(testsupport::waitFor([&] { return requests() >= polled + 3; }, 8000));
            } else {
                QTest::qWait(1500);
                EXPECT_EQ(requests(), 0);
            }
            form->btnStop->click();
        }
}

// A cancelled Run in between keeps the telnet reading for the next poll to plot.
TEST_F(RunSequenceTest, ACancelledRunKeepsTheTelnetReadingForTheNextPoll)
{
    testsupport::writeAll(logFile(), "old line\n");
    open(telnetAt() + "V123=1\nUseHttpDebug=0\nExtended=0\n[Router]\nV1234=1\nTelnet=1\n[System]\nIsDG834=1\nLog=1\nLogFile="
             + logFile().toUtf8() + "\n",
         60);
    form->btnStart->click();
    ASSERT_TRUE(answerAppend(*form, QMessageBox::Yes) && testsupport::waitFor([&] { return started(); }) && idle());
    ASSERT_TRUE(testsupport::waitFor([&] { return form->telnetFigures().Fresh.Noise; }, 15000));

    form->btnStart->click();
    ASSERT_TRUE(answerAppend(*form, QMessageBox::Cancel) && poll());
    form->btnStop->click();
    const ChartSeries *noise = testsupport::onlyChild<ChartSet>(*form)->series(QStringLiteral("LineSeries13"));
    ASSERT_GT(noise->count(), 0);
    EXPECT_EQ(noise->valueAt(noise->count() - 1), 6.5);
}
