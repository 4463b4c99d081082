// Run's questions answered late: an answer that comes after Stop, or after a
// newer Run, must not start monitoring nor change the log file.
#include "SimWindowFixture.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using RunSequenceTest = SimWindowTest;

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
