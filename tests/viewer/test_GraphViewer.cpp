// The graph viewer: what it lists, what it shows, renaming that never
// replaces a file, the trash, and surviving files that vanish or lie about
// being pictures.
#include "TestSupport.h"
#include "chartimages/GraphImages.h"
#include "viewer/GraphViewer.h"
#include "viewer/ImageFileOps.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QDateTime>
#include <QFileSystemModel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTreeView>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

void writePicture(const QString &path, const char *format, QSize size = QSize(40, 30))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    ASSERT_TRUE(image.save(path, format)) << path.toStdString();
}

void writeText(const QString &path, const QByteArray &text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

struct GraphViewerTest : ::testing::Test {
    QTemporaryDir dir;
    QString folder;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        folder = dir.filePath(QStringLiteral("captures"));
        QDir().mkpath(folder);
        // Moving to the trash stays inside the test's folder.
        // The folder does not exist yet: the trash is still made there.
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
    }
    void TearDown() override
    {
        qunsetenv("XDG_DATA_HOME");
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<QDialog *>(w))
                delete w;
    }
    QString path(const QString &name) const { return QDir(folder).filePath(name); }

    // Opens the folder and waits until the viewer has read it.
    void openAndWait(GraphViewer &viewer)
    {
        QSignalSpy ready(&viewer, &GraphViewer::listingReady);
        viewer.openFolder(folder);
        EXPECT_TRUE(testsupport::waitFor([&] { return !viewer.listedFiles().isEmpty() || ready.count() > 0; }));
    }
    // The names listed, once there are `count` of them or the wait is over.
    // (QtTest's QTRY_ macros would end a GoogleTest test silently, as passed.)
    static QStringList listing(GraphViewer &viewer, qsizetype count)
    {
        testsupport::waitFor([&] { return viewer.listedFiles().size() == count; });
        return viewer.listedFiles();
    }
};

} // namespace

TEST_F(GraphViewerTest, ListsExactlyTheImageFilesOfTheFolder)
{
    writePicture(path(QStringLiteral("Noise_Margin.jpg")), "JPEG");
    writePicture(path(QStringLiteral("sync.png")), "PNG");
    writePicture(path(QStringLiteral("ping.bmp")), "BMP");
    writePicture(path(QStringLiteral("bits.gif")), "PNG"); // any content; the name decides the listing
    writePicture(path(QStringLiteral("UPPER.JPG")), "JPEG");
    writeText(path(QStringLiteral("notes.txt")), "text");
    writeText(path(QStringLiteral("jpg")), "no extension");
    writeText(path(QStringLiteral("archive.jpg.zip")), "zip");
    QDir().mkpath(path(QStringLiteral("sub.png")));           // a folder named like a picture
    writePicture(path(QStringLiteral("sub.png/inner.png")), "PNG"); // in a sub-folder: not listed
    QFile::link(path(QStringLiteral("sync.png")), path(QStringLiteral("link.png")));
    QFile::link(path(QStringLiteral("missing.png")), path(QStringLiteral("dangling.png")));
    QFile::link(path(QStringLiteral("sub.png")), path(QStringLiteral("dirlink.jpg")));

    GraphViewer viewer;
    openAndWait(viewer);
    EXPECT_EQ(listing(viewer, 6),
              (QStringList{"Noise_Margin.jpg", "UPPER.JPG", "bits.gif", "link.png", "ping.bmp", "sync.png"}));
    for (const char *name : {"Noise_Margin.jpg", "UPPER.JPG", "link.png"})
        EXPECT_TRUE(ImageFileOps::isImageFile(path(QLatin1String(name)))) << name;
    for (const char *name : {"notes.txt", "sub.png", "dangling.png", "dirlink.jpg", "jpg"})
        EXPECT_FALSE(ImageFileOps::isImageFile(path(QLatin1String(name)))) << name;
}

TEST_F(GraphViewerTest, LoadShowsPicturesAndExplainsTheRest)
{
    writePicture(path(QStringLiteral("a.bmp")), "BMP", QSize(33, 21));
    writePicture(path(QStringLiteral("b.JPG")), "JPEG", QSize(50, 20));
    writeText(path(QStringLiteral("fake.png")), "not a picture at all");
    writeText(path(QStringLiteral("c.txt")), "text");
    struct Case {
        const char *name;
        QSize size; // empty: nothing shown, with a reason
    };
    const Case cases[] = {{"a.bmp", {33, 21}}, {"b.JPG", {50, 20}}, {"fake.png", {}}, {"c.txt", {}}, {"gone.png", {}}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        const QImage image = ImageFileOps::load(path(QLatin1String(c.name)), &error);
        EXPECT_EQ(image.isNull() ? QSize() : image.size(), c.size);
        EXPECT_EQ(error.isEmpty(), !c.size.isEmpty());
    }
}

TEST_F(GraphViewerTest, RenameNeverReplacesAnything)
{
    writePicture(path(QStringLiteral("a.png")), "PNG", QSize(10, 10));
    writePicture(path(QStringLiteral("b.png")), "PNG", QSize(20, 20));
    QDir().mkpath(path(QStringLiteral("folder")));
    QFile::link(path(QStringLiteral("nowhere")), path(QStringLiteral("dangling.png")));
    struct Case {
        const char *newName;
        bool ok;
    };
    const Case refused[] = {{"b.png", false}, {"folder", false}, {"dangling.png", false}, {"", false},
                            {"../a.png", false}, {"..", false}, {"sub/x.png", false}};
    for (const Case &c : refused) {
        SCOPED_TRACE(c.newName);
        QString error;
        EXPECT_FALSE(ImageFileOps::rename(path(QStringLiteral("a.png")), QLatin1String(c.newName), &error));
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(QImage(path(QStringLiteral("b.png"))).size(), QSize(20, 20)) << "b.png untouched";
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("a.png"))));

    QString error;
    EXPECT_TRUE(ImageFileOps::rename(path(QStringLiteral("a.png")), QStringLiteral("renamed.png"), &error));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("renamed.png"))));
    EXPECT_FALSE(ImageFileOps::rename(path(QStringLiteral("a.png")), QStringLiteral("again.png"), &error))
        << "a file gone since it was listed";
}

TEST_F(GraphViewerTest, RenameFromTheWindowIsRefusedOntoAnExistingName)
{
    writePicture(path(QStringLiteral("one.png")), "PNG");
    writePicture(path(QStringLiteral("two.png")), "PNG");
    GraphViewer viewer;
    QSignalSpy messages(&viewer, &GraphViewer::messageShown);
    openAndWait(viewer);
    ASSERT_EQ(listing(viewer, 2).size(), 2);
    viewer.selectFile(QStringLiteral("one.png"));
    EXPECT_FALSE(viewer.renameTo(QStringLiteral("two.png")));
    EXPECT_EQ(messages.count(), 1);
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("one.png"))));
    EXPECT_TRUE(viewer.renameTo(QStringLiteral("three.png")));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("three.png"))));
}

TEST_F(GraphViewerTest, MenuItemsFollowTheSelection)
{
    writePicture(path(QStringLiteral("one.png")), "PNG");
    writePicture(path(QStringLiteral("two.png")), "PNG");
    GraphViewer viewer;
    openAndWait(viewer);
    ASSERT_EQ(listing(viewer, 2).size(), 2);
    struct State {
        bool saveAs, copy, rename, del;
    };
    const auto state = [&] {
        viewer.PopupMenu1Popup();
        return State{viewer.SaveAs1->isEnabled(), viewer.Copy1->isEnabled(), viewer.Rename1->isEnabled(),
                     viewer.mnuDelete->isEnabled()};
    };
    State s = state();
    EXPECT_FALSE(s.saveAs || s.copy || s.rename || s.del) << "nothing selected";
    viewer.selectFile(QStringLiteral("one.png"));
    s = state();
    EXPECT_TRUE(s.saveAs && s.copy && s.rename && s.del);
    EXPECT_EQ(viewer.shownImage().size(), QSize(40, 30));
    EXPECT_TRUE(viewer.statusText(0).endsWith(QLatin1String("one.png")));
    viewer.SelectAll1Click();
    EXPECT_EQ(viewer.selectedFiles().size(), 2);
    s = state();
    EXPECT_FALSE(s.saveAs || s.copy || s.rename);
    EXPECT_TRUE(s.del);
}

TEST_F(GraphViewerTest, AFileThatVanishedOrIsNoPictureShowsNothing)
{
    writePicture(path(QStringLiteral("one.png")), "PNG");
    writeText(path(QStringLiteral("broken.jpg")), "garbage");
    GraphViewer viewer;
    openAndWait(viewer);
    ASSERT_EQ(listing(viewer, 2).size(), 2);
    viewer.selectFile(QStringLiteral("broken.jpg"));
    EXPECT_TRUE(viewer.shownImage().isNull());
    EXPECT_TRUE(viewer.statusText(0).startsWith(QLatin1String("broken.jpg: ")));

    viewer.selectFile(QStringLiteral("one.png"));
    ASSERT_FALSE(viewer.shownImage().isNull());
    // Deleted behind the viewer's back, then acted on.
    QFile::remove(path(QStringLiteral("one.png")));
    QSignalSpy messages(&viewer, &GraphViewer::messageShown);
    viewer.deleteConfirmed({path(QStringLiteral("one.png"))});
    EXPECT_EQ(messages.count(), 1);
    EXPECT_FALSE(viewer.renameTo(QStringLiteral("x.png")) && QFile::exists(path(QStringLiteral("x.png"))));
}

TEST_F(GraphViewerTest, DeleteAsksThenMovesToTheTrash)
{
    writePicture(path(QStringLiteral("one.png")), "PNG");
    writePicture(path(QStringLiteral("two.png")), "PNG");
    GraphViewer viewer;
    openAndWait(viewer);
    ASSERT_EQ(listing(viewer, 2).size(), 2);
    viewer.SelectAll1Click();
    QSignalSpy asked(&viewer, &GraphViewer::messageShown);
    viewer.mnuDeleteClick();
    ASSERT_EQ(asked.count(), 1);
    EXPECT_EQ(asked.last().at(0).toString(), QStringLiteral("Move these 2 files to the trash?"));
    auto *box = viewer.findChild<QMessageBox *>(QStringLiteral("DeleteConfirmBox"));
    ASSERT_TRUE(box);
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("one.png")))) << "nothing goes before the answer";
    box->button(QMessageBox::No)->click();
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("one.png"))));

    viewer.mnuDeleteClick();
    box = viewer.findChild<QMessageBox *>(QStringLiteral("DeleteConfirmBox"));
    ASSERT_TRUE(box);
    box->button(QMessageBox::Yes)->click();
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("one.png"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("two.png"))));
    const QDir trash(dir.filePath(QStringLiteral("data/Trash/files")));
    EXPECT_EQ(trash.entryList(QDir::Files).size(), 2) << "in the desktop trash, not gone";
}

TEST_F(GraphViewerTest, SaveAsConvertsTheShownPicture)
{
    writePicture(path(QStringLiteral("one.png")), "PNG", QSize(64, 48));
    GraphViewer viewer;
    QSignalSpy messages(&viewer, &GraphViewer::messageShown);
    openAndWait(viewer);
    ASSERT_EQ(listing(viewer, 1).size(), 1);
    viewer.selectFile(QStringLiteral("one.png"));
    const QString jpg = dir.filePath(QStringLiteral("copy.jpg"));
    EXPECT_TRUE(viewer.saveAsChosen(jpg));
    QImageReader reader(jpg);
    EXPECT_EQ(reader.format(), QByteArray("jpeg"));
    EXPECT_EQ(reader.size(), QSize(64, 48));
    EXPECT_FALSE(viewer.saveAsChosen(dir.filePath(QStringLiteral("copy.tif"))));
    EXPECT_EQ(messages.count(), 1);
    viewer.Copy1Click();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(64, 48));
}

TEST_F(GraphViewerTest, ShowingOpensTheCaptureFolderElseTheLastPicturesFolder)
{
    writePicture(path(QStringLiteral("one.png")), "PNG");
    const QString other = dir.filePath(QStringLiteral("other"));
    QDir().mkpath(other);
    writePicture(QDir(other).filePath(QStringLiteral("saved.png")), "PNG");
    QString capture = folder;
    QString last = QDir(other).filePath(QStringLiteral("saved.png"));
    GraphViewer viewer;
    viewer.setStartPlaces([&] { return capture; }, [&] { return last; });
    viewer.FormShow();
    EXPECT_EQ(viewer.currentFolder(), folder);
    capture = dir.filePath(QStringLiteral("missing"));
    viewer.FormShow();
    EXPECT_EQ(viewer.currentFolder(), other);
    last.clear();
    viewer.FormShow();
    EXPECT_EQ(viewer.currentFolder(), other) << "nowhere to go: the tree stays";
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Veltrano  Graph Viewer"));
}

TEST(GraphViewerPlacement, BesideTheMainWindowAndOnTheScreen)
{
    struct Case {
        QRect main;
        int width, screen;
        QRect expected;
    };
    const Case cases[] = {
        {QRect(100, 80, 800, 600), 933, 1920, QRect(120, 130, 933, 552)},
        {QRect(1000, 0, 800, 600), 933, 1920, QRect(937, 50, 933, 552)}, // kept 50 clear of the right edge
        {QRect(0, 0, 760, 519), 933, 1024, QRect(20, 50, 933, 471)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(GraphViewer::placement(c.main, c.width, c.screen), c.expected);
}

// Opening the viewer shows the latest capture at once, fitted to the pane,
// with the capture folder in view in the tree.
TEST_F(GraphViewerTest, ShowingPicksTheNewestCaptureFittedToThePane)
{
    const QDateTime base = QDateTime::currentDateTime().addSecs(-3600);
    struct Picture {
        const char *name;
        int ageSeconds;
    };
    const Picture pictures[] = {{"a_oldest.png", 300}, {"z_old.png", 200}, {"m_newest.png", 10}};
    for (const Picture &p : pictures) {
        writePicture(path(QLatin1String(p.name)), "PNG", QSize(1400, 700));
        QFile f(path(QLatin1String(p.name)));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(base.addSecs(-p.ageSeconds), QFileDevice::FileModificationTime));
    }
    // Many folders listed above it, so the tree must scroll to reach it.
    for (int i = 0; i < 60; ++i)
        QDir().mkpath(dir.filePath(QStringLiteral("a%1").arg(i, 2, 10, QLatin1Char('0'))));
    GraphViewer viewer;
    viewer.setStartPlaces([&] { return folder; }, [] { return QString(); });
    QSignalSpy ready(&viewer, &GraphViewer::listingReady);
    viewer.show();
    ASSERT_TRUE(testsupport::waitFor([&] { return !viewer.shownImage().isNull(); }));
    EXPECT_EQ(viewer.selectedFiles(), QStringList{path(QStringLiteral("m_newest.png"))});
    EXPECT_EQ(viewer.statusText(0), QDir::toNativeSeparators(path(QStringLiteral("m_newest.png"))));
    EXPECT_EQ(viewer.shownImage().size(), QSize(1400, 700)) << "saved and copied whole";

    auto *pane = viewer.findChild<QScrollArea *>(QStringLiteral("ScrollBox1"));
    ASSERT_TRUE(pane);
    for (const QSize windowSize : {QSize(933, 419), QSize(1366, 740)}) {
        SCOPED_TRACE(windowSize.width());
        viewer.resize(windowSize);
        ASSERT_TRUE(testsupport::waitFor([&] { return viewer.Image1->pixmap().size().width() > 0; }));
        QTest::qWait(20);
        const QSize shown = viewer.Image1->pixmap().size();
        const QSize room = pane->viewport()->size();
        EXPECT_TRUE(shown.width() == room.width() || shown.height() == room.height())
            << shown.width() << "x" << shown.height() << " in " << room.width() << "x" << room.height();
        EXPECT_LE(shown.width(), room.width());
        EXPECT_LE(shown.height(), room.height());
        EXPECT_FALSE(pane->horizontalScrollBar()->isVisible());
        EXPECT_FALSE(pane->verticalScrollBar()->isVisible());
    }

    // The tree shows the capture folder, selected and scrolled into view.
    QTreeView *tree = viewer.LsDirTreeCombo281;
    EXPECT_TRUE(testsupport::waitFor(
        [&] { return tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex())); }));
    EXPECT_EQ(QFileInfo(static_cast<QFileSystemModel *>(tree->model())->filePath(tree->currentIndex())),
              QFileInfo(folder));
}

// " Up one level" opens the parent folder and lists its images.
TEST_F(GraphViewerTest, UpOneLevelListsTheParentFolder)
{
    writePicture(dir.filePath(QStringLiteral("parent.png")), "PNG");
    writePicture(path(QStringLiteral("child.png")), "PNG");
    GraphViewer viewer;
    openAndWait(viewer);
    EXPECT_EQ(viewer.btnUpOneLevel->text(), QStringLiteral(" Up one level"));
    viewer.btnUpOneLevel->click();
    EXPECT_EQ(viewer.currentFolder(), QFileInfo(dir.path()).absoluteFilePath());
    EXPECT_TRUE(testsupport::waitFor([&] { return viewer.listedFiles().contains(QStringLiteral("parent.png")); }));
    EXPECT_FALSE(viewer.listedFiles().contains(QStringLiteral("child.png")));
}

// Captures of one minute differ only at their names' ends: at the default size each row must read differently.
TEST_F(GraphViewerTest, EachRowOfTheListTellsItsFileApart)
{
    QStringList names;
    for (const char *stem : {"Noise-08Dec2026-0506", "Downstream_Noise_Margin_and_Attenuation-08Dec2026-0506",
                             "Bitswaps_Chart22-08 Dec 2026  05-06-07-2"})
        for (const char *end : {"", "_2", "_3", "_12"})
            names << QString::fromLatin1(stem) + QLatin1String(end) + QLatin1String(".jpg");
    names.sort();
    for (const QString &name : names)
        writeText(path(name), "listed by name");

    GraphViewer viewer;
    viewer.show();
    openAndWait(viewer);
    ASSERT_EQ(listing(viewer, names.size()), names);
    QListView *list = viewer.LsFilelistView281;
    list->selectionModel()->clear(); // every row painted alike but for its text
    QTest::qWait(50);                // the list shows its rows and scroll bars
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible()) << "nothing hidden past the right edge";

    // What the list shows of each row, compared pixel for pixel.
    QList<QImage> rows;
    for (int r = 0; r < names.size(); ++r) {
        const QModelIndex index = list->model()->index(r, 0, list->rootIndex());
        list->scrollTo(index);
        const QRect rect = list->visualRect(index);
        EXPECT_LE(rect.right(), list->viewport()->rect().right()) << index.data().toString().toStdString();
        rows << list->viewport()->grab(rect.intersected(list->viewport()->rect())).toImage();
        EXPECT_EQ(rows.indexOf(rows.last()), r) << "reads like a row above: " << index.data().toString().toStdString();
    }
}
