// Graph capture maintenance: its text, its switches, what closing stores, and
// the question when clean-up is on but never scheduled.
#include "DialogTestSupport.h"
#include "configuration/TForm17.h"

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <gtest/gtest.h>
#include <memory>

using namespace dialogtest;

namespace {

struct MaintenanceTest : ::testing::Test {
    TSettings s = defaults();
    std::unique_ptr<TForm17> d;

    void open()
    {
        s.Capture.Folder = QStringLiteral("/srv/captures");
        d = std::make_unique<TForm17>(s, QString(), nullptr);
        d->show();
    }
};

} // namespace

TEST_F(MaintenanceTest, Label4NamesTheTypeTheFolderAndTheDays)
{
    for (const auto &[png, days, text] :
         {std::tuple{false, 1, "Delete ALL jpg (*.jpg) files from the folder: '/srv/captures' which are older than 1 day."},
          {false, 5, "Delete ALL jpg (*.jpg) files from the folder: '/srv/captures' which are older than 5 days."},
          {true, 2, "Delete ALL png (*.png) files from the folder: '/srv/captures' which are older than 2 days."}}) {
        s.Capture.IsPNG = png;
        s.Capture.DeleteDays = days;
        open();
        EXPECT_EQ(d->Label4->text(), QLatin1String(text));
    }
    // Each change of the spin stores the days and rewrites the text.
    d->spDays->setValue(1);
    EXPECT_EQ(s.Capture.DeleteDays, 1);
    EXPECT_TRUE(d->Label4->text().endsWith(QStringLiteral("older than 1 day.")));
    EXPECT_EQ(unnamedControls(d.get()), QStringList());
}

TEST_F(MaintenanceTest, ScheduleFollowsTheDeleteSwitchAndClosingStoresEveryControl)
{
    s.Capture.DeleteImages = false;
    s.System.ShowSystem = false;
    open();
    EXPECT_FALSE(d->cbDeleteDaily->isEnabled());
    EXPECT_FALSE(d->DeleteTimePicker->isEnabled());
    EXPECT_FALSE(d->cbListPurged->isEnabled()) << "nothing to list into without system messages";
    d->cbDeleteImages->click();
    EXPECT_TRUE(s.Capture.DeleteImages) << "stored at once";
    EXPECT_TRUE(d->cbDeleteDaily->isEnabled());
    d->cbDeleteDaily->setChecked(true);
    d->DeleteTimePicker->setTime(QTime(2, 30));
    d->cbDeleteOnClose->setChecked(true);
    d->cbListPurged->setChecked(false);
    d->btnClose->click();
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(s.Capture.DeleteDaily);
    EXPECT_EQ(s.Capture.DeleteTime, QTime(2, 30));
    EXPECT_TRUE(s.Capture.DeleteOnClose);
    EXPECT_FALSE(s.Capture.ListPurged);
}

TEST_F(MaintenanceTest, CleanUpWithoutScheduleAsksOncePerCloseAttempt)
{
    s.Capture.DeleteImages = true;
    open();
    d->move(300, 200);
    d->btnClose->click();
    QMessageBox *box = openBox(d.get());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("'Delete files' is selected but no schedule is set."));
    EXPECT_EQ(box->pos(), d->geometry().topLeft() + QPoint(20, 150));
    d->close(); // while the question is up nothing more is asked
    EXPECT_EQ(static_cast<int>(d->findChildren<QMessageBox *>().size()), 1);
    box->button(QMessageBox::Cancel)->click();
    EXPECT_TRUE(d->isVisible());

    d->reject(); // Escape is the next attempt: asked again, OK closes
    box = openBox(d.get());
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Ok)->click();
    EXPECT_FALSE(d->isVisible());
}

TEST_F(MaintenanceTest, NoQuestionWhenCleanUpIsOffOrScheduled)
{
    for (const auto &[images, daily, onClose, eachCapture] :
         {std::tuple{false, false, false, false}, {true, true, false, false}, {true, false, true, false},
          {true, false, false, true}}) {
        s.Capture.DeleteImages = images;
        s.Capture.DeleteDaily = daily;
        s.Capture.DeleteOnClose = onClose;
        s.Capture.DeleteEachCapture = eachCapture;
        open();
        d->btnClose->click();
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(openBox(d.get()), nullptr);
    }
}
