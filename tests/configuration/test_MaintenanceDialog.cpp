// Graph capture maintenance: its text, its switches, "Delete Now" and the
// question when clean-up is on but never scheduled.
#include "DialogTestSupport.h"
#include "TestSupport.h"
#include "configuration/TForm17.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <gtest/gtest.h>
#include <memory>
#include <utime.h>

using namespace dialogtest;

namespace {

struct MaintenanceTest : ::testing::Test {
    QTemporaryDir folder;
    TSettings s = defaults();
    QStringList messages;
    std::unique_ptr<TForm17> d;

    void SetUp() override { s.Capture.Folder = folder.path(); }

    void open()
    {
        d = std::make_unique<TForm17>(s, folder.filePath(QStringLiteral("veltrano.ini")),
                                      [this](const QString &m) { messages << m; });
        d->show();
    }

    void makeFile(const QString &name, int daysOld)
    {
        const QString path = folder.filePath(name);
        testsupport::writeAll(path, "x");
        const time_t t = QDateTime::currentDateTime().addDays(-daysOld).toSecsSinceEpoch();
        utimbuf times{t, t};
        utime(QFile::encodeName(path).constData(), &times);
    }
};

} // namespace

TEST_F(MaintenanceTest, Label4NamesTheTypeTheFolderAndTheDays)
{
    struct Row {
        bool png;
        int days;
        const char *text;
    };
    for (const Row &r : {Row{false, 1, "Delete ALL jpg (*.jpg) files from the folder: '%1' which are older than 1 day."},
                         Row{false, 5, "Delete ALL jpg (*.jpg) files from the folder: '%1' which are older than 5 days."},
                         Row{true, 2, "Delete ALL png (*.png) files from the folder: '%1' which are older than 2 days."}}) {
        s.Capture.IsPNG = r.png;
        s.Capture.DeleteDays = r.days;
        open();
        EXPECT_EQ(d->Label4->text(), QString::fromLatin1(r.text).arg(folder.path()));
    }
    // Each change of the spin stores the days and rewrites the text.
    s.Capture.IsPNG = false;
    open();
    d->spDays->setValue(1);
    EXPECT_EQ(s.Capture.DeleteDays, 1);
    EXPECT_TRUE(d->Label4->text().endsWith(QStringLiteral("older than 1 day.")));
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Veltrano - Graph Capture Maintenance"));
    EXPECT_EQ(unnamedControls(d.get()), QStringList());
}

TEST_F(MaintenanceTest, ScheduleControlsFollowTheDeleteSwitchAndListingFollowsSystemMessages)
{
    s.Capture.DeleteImages = false;
    s.System.ShowSystem = false;
    open();
    EXPECT_FALSE(d->cbDeleteDaily->isEnabled());
    EXPECT_FALSE(d->cbDeleteOnClose->isEnabled());
    EXPECT_FALSE(d->DeleteTimePicker->isEnabled());
    EXPECT_FALSE(d->cbListPurged->isEnabled());
    d->cbDeleteImages->click();
    EXPECT_TRUE(s.Capture.DeleteImages);
    EXPECT_TRUE(d->cbDeleteDaily->isEnabled());
    EXPECT_TRUE(d->DeleteTimePicker->isEnabled());
    d->cbRecycleBin->setChecked(!s.Capture.Recycle);
    EXPECT_EQ(s.Capture.Recycle, d->cbRecycleBin->isChecked());
}

TEST_F(MaintenanceTest, DeleteNowRemovesOnlyOldImagesOfTheCurrentTypeAndReports)
{
    s.Capture.Recycle = false;
    s.Capture.DeleteDays = 5;
    s.System.ShowSystem = true;
    s.Capture.ListPurged = true;
    makeFile(QStringLiteral("old.jpg"), 6);
    makeFile(QStringLiteral("new.jpg"), 4);
    makeFile(QStringLiteral("old.png"), 30);
    open();
    d->btnDeleteNow->click();
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("old.jpg"))));
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("new.jpg"))));
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("old.png"))));
    EXPECT_EQ(messages.first(), QStringLiteral("Starting captured image maintenance..."));
    const QStringList listed = messages.filter(QStringLiteral("Deleted file: "));
    ASSERT_EQ(listed.size(), 1);
    EXPECT_TRUE(listed.first().endsWith(QStringLiteral("old.jpg")));
    EXPECT_EQ(messages.last(), QStringLiteral("Deleted 1 captured images."));

    // Unticking the list leaves only the start and the count.
    messages.clear();
    makeFile(QStringLiteral("older.jpg"), 9);
    d->cbListPurged->setChecked(false);
    d->btnDeleteNow->click();
    EXPECT_EQ(messages, QStringList({"Starting captured image maintenance...", "Deleted 1 captured images."}));
}

TEST_F(MaintenanceTest, ClosingStoresEveryControl)
{
    open();
    d->cbDeleteImages->setChecked(true);
    d->cbDeleteDaily->setChecked(true);
    d->DeleteTimePicker->setTime(QTime(2, 30));
    d->cbDeleteOnClose->setChecked(true);
    d->cbListPurged->setChecked(false);
    d->spDays->setValue(12);
    d->btnClose->click();
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(s.Capture.DeleteImages);
    EXPECT_TRUE(s.Capture.DeleteDaily);
    EXPECT_EQ(s.Capture.DeleteTime, QTime(2, 30));
    EXPECT_TRUE(s.Capture.DeleteOnClose);
    EXPECT_FALSE(s.Capture.ListPurged);
    EXPECT_EQ(s.Capture.DeleteDays, 12);
    EXPECT_EQ(openBox(d.get()), nullptr);
}

TEST_F(MaintenanceTest, CleanUpWithoutScheduleAsksOncePerCloseAttempt)
{
    s.Capture.DeleteImages = true;
    s.Capture.DeleteDaily = false;
    s.Capture.DeleteOnClose = false;
    s.Capture.DeleteEachCapture = false;
    open();
    d->move(300, 200);

    // Cancel keeps the dialog open.
    d->btnClose->click();
    QMessageBox *box = openBox(d.get());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("'Delete files' is selected but no schedule is set."));
    EXPECT_EQ(box->pos(), d->geometry().topLeft() + QPoint(20, 150));
    d->close(); // a second attempt while the question is up asks nothing more
    EXPECT_EQ(static_cast<int>(d->findChildren<QMessageBox *>().size()), 1);
    box->button(QMessageBox::Cancel)->click();
    EXPECT_TRUE(d->isVisible());

    // The next attempt asks again; OK closes.
    d->reject(); // Escape
    box = openBox(d.get());
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Ok)->click();
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(s.Capture.DeleteImages);
}

TEST_F(MaintenanceTest, NoQuestionWhenCleanUpIsOffOrScheduled)
{
    struct Row {
        bool images, daily, onClose, eachCapture;
    };
    for (const Row &r : {Row{false, false, false, false}, Row{true, true, false, false}, Row{true, false, true, false},
                         Row{true, false, false, true}}) {
        s.Capture.DeleteImages = r.images;
        s.Capture.DeleteDaily = r.daily;
        s.Capture.DeleteOnClose = r.onClose;
        s.Capture.DeleteEachCapture = r.eachCapture;
        open();
        d->btnClose->click();
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(openBox(d.get()), nullptr);
    }
}
