// Run's questions answered late or cancelled: an answer that comes after Stop,
// or after a newer Run, must not start monitoring nor change the log file, and
// a cancelled question leaves monitoring and Run and Stop as they were.
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

// Run pressed again while monitoring runs, or from Stop, and its question
// cancelled: monitoring goes on (or stays stopped) and the buttons say which.
TEST_F(RunSequenceTest, ACancelledQuestionLeavesMonitoringAndTheButtonsAsTheyWere)
{
    struct Case {
        const char *name;
        bool running;
        Answer answer;
    };
    const Case cases[] = {
        {"Cancel while running", true, Answer::Cancel},
        {"No and no file while running", true, Answer::NoThenNoFile},
        {"log warning cancelled while running", true, Answer::CancelTheLogWarning},
        {"Cancel while stopped", false, Answer::Cancel},
        {"No and no file while stopped", false, Answer::NoThenNoFile},
        {"log warning cancelled while stopped", false, Answer::CancelTheLogWarning},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        sim.journal().clear();
        testsupport::writeAll(logFile(), "old line\n");
        const bool warns = c.answer == Answer::CancelTheLogWarning;
        open("[System]\nLog=1\nLogFile=" + logFile().toUtf8() + "\n"
             + (warns ? "[Log]\nLogAtSample=0\nLogAtEvery=0\nLogState=0\n" : ""));
        if (c.running) {
            form->btnStart->click();
            if (warns) {
                ASSERT_NE(form->LogOptionsWarning, nullptr);
                form->LogOptionsWarning->btnOK->click();
            }
            ASSERT_NE(form->AppendConfirmBox, nullptr);
            form->AppendConfirmBox->button(QMessageBox::Yes)->click();
            ASSERT_TRUE(testsupport::waitFor([&] { return started(); }));
        }

        pressForScreenReader(form->btnStart);
        if (warns) {
            ASSERT_NE(form->LogOptionsWarning, nullptr);
            form->LogOptionsWarning->btnCancel->click();
        } else {
            ASSERT_NE(form->AppendConfirmBox, nullptr);
            const bool no = c.answer == Answer::NoThenNoFile;
            form->AppendConfirmBox->button(no ? QMessageBox::No : QMessageBox::Cancel)->click();
            if (no) {
                ASSERT_NE(form->LogSaveDialog, nullptr);
                form->LogSaveDialog->reject();
            }
        }

        EXPECT_EQ(form->btnStart->isChecked(), c.running);
        EXPECT_EQ(form->btnStop->isChecked(), !c.running);
        EXPECT_EQ(downForScreenReader(form->btnStart), c.running);
        EXPECT_EQ(downForScreenReader(form->btnStop), !c.running);
        EXPECT_EQ(form->windowTitle(), c.running ? QStringLiteral("Veltrano 6.3    [Running]") : QStringLiteral("Veltrano 6.3"));
        EXPECT_EQ(count(QStringLiteral("Run button clicked")), c.running ? 1 : 0);
        const int polled = requests();
        if (c.running) {
            EXPECT_TRUE(testsupport::waitFor([&] { return requests() >= polled + 3; }, 8000));
        } else {
            QTest::qWait(1500);
            EXPECT_EQ(requests(), 0);
        }
        form->btnStop->click();
    }
}

// The telnet reading that came in since the last poll is still plotted by the
// next poll when a Run in between was cancelled.
TEST_F(RunSequenceTest, ACancelledRunKeepsTheTelnetReadingForTheNextPoll)
{
    testsupport::writeAll(logFile(), "old line\n");
    open(telnetAt() + "V123=1\nUseHttpDebug=0\nExtended=0\n[Router]\nV1234=1\nTelnet=1\n[System]\nIsDG834=1\nLog=1\nLogFile="
             + logFile().toUtf8() + "\n",
         60);
    form->btnStart->click();
    ASSERT_NE(form->AppendConfirmBox, nullptr);
    form->AppendConfirmBox->button(QMessageBox::Yes)->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return started(); }) && idle());
    ASSERT_TRUE(testsupport::waitFor([&] { return form->telnetFigures().Fresh.Noise; }, 15000));

    form->btnStart->click();
    ASSERT_NE(form->AppendConfirmBox, nullptr);
    form->AppendConfirmBox->button(QMessageBox::Cancel)->click();
    ASSERT_TRUE(poll());
    form->btnStop->click();
    const ChartSeries *noise = testsupport::onlyChild<ChartSet>(*form)->series(QStringLiteral("LineSeries13"));
    ASSERT_GT(noise->count(), 0);
    EXPECT_EQ(noise->valueAt(noise->count() - 1), 6.5);
}
