// The charts' image commands: their captions, capture all, printing (to a
// PDF file, at the printer's scale), the clipboard, Save As with an unknown
// extension, the scheduled-capture switch and the window screenshot.
#include "ChartTestSupport.h"
#include "common/Clock.h"
#include "chartimages/ChartCommands.h"
#include "chartimages/ChartPrinting.h"
#include "charts/ChartSet.h"
#include "chartimages/GraphImages.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QMimeData>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <qcustomplot.h>

#include <gtest/gtest.h>

namespace {

struct ChartCommandsTest : ::testing::Test {
    ManualClock clock{QDateTime(QDate(2026, 3, 5), QTime(8, 47, 39), Qt::UTC)};
    QTemporaryDir dir;
    TSettings settings = charttest::defaultSettings();
    RunState run;
    QWidget window;
    ChartSet charts;
    GraphImages images{charts, settings, run};
    ChartCommands commands{charts, images, settings, run, &window};
    QSignalSpy messages{&commands, &ChartCommands::messageShown};

    void SetUp() override
    {
        Clock::setInstance(&clock);
        ASSERT_TRUE(dir.isValid());
        charts.applyStartup(settings);
        settings.Capture.Folder = dir.filePath(QStringLiteral("captures"));
        QDir().mkpath(settings.Capture.Folder);
        settings.Capture.SameFilename = true;
        // Distinct titles, so each chart has a file of its own.
        for (const ChartDef &def : ChartTable::charts())
            charts.chart(def.number)->yAxis->setLabel(QStringLiteral("Graph %1").arg(def.number));
    }
    void TearDown() override
    {
        Clock::setInstance(nullptr);
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<QDialog *>(w))
                delete w;
    }
    QStringList captures() const { return QDir(settings.Capture.Folder).entryList(QDir::Files, QDir::Name); }
    void onlyFormat(const char *format)
    {
        settings.Capture.IsJPG = qstrcmp(format, "jpg") == 0;
        settings.Capture.IsPNG = qstrcmp(format, "png") == 0;
        settings.Capture.IsGIF = qstrcmp(format, "gif") == 0;
        settings.Capture.IsBMP = qstrcmp(format, "bmp") == 0;
    }
};

} // namespace

TEST_F(ChartCommandsTest, PrintAsksFirstOnTheTimeChartsAndThe585Bitswaps)
{
    for (int chart : {1, 19, 16, 5, 31, 27, 28})
        EXPECT_TRUE(ChartCommands::printAsksFirst(chart)) << chart;
    for (int chart : {21, 22, 25, 26, 29})
        EXPECT_FALSE(ChartCommands::printAsksFirst(chart)) << chart;
}

TEST_F(ChartCommandsTest, CaptureAllWritesExactlyTheEnabledCharts)
{
    onlyFormat("png");
    commands.updateEnabled();
    EXPECT_TRUE(commands.CaptureAll->isEnabled());
    commands.btnCaptureAllClick();
    EXPECT_TRUE(captures().isEmpty()) << "no chart marked: nothing written";

    settings.Capture.Noise = settings.Capture.User = true;
    settings.Graph.cbHNoise = settings.Graph.cbHUser = true;
    settings.Capture.Sync = true;
    settings.Graph.cbHSync = false;
    settings.CaptureTelnetFlags[1] = true; // Chart17
    settings.Telnet.cbSync = true;
    settings.Ping.Capture = settings.Ping.Ping = true;
    EXPECT_EQ(commands.btnCaptureAllClick(), (QList<int>{1, 3, 17}));
    EXPECT_EQ(captures(), (QStringList{"Graph_1.png", "Graph_17.png", "Graph_3.png"}));

    // Without the folder nothing is attempted and nothing reported.
    settings.Capture.Folder = dir.filePath(QStringLiteral("gone"));
    commands.updateEnabled();
    EXPECT_FALSE(commands.CaptureAll->isEnabled());
    EXPECT_TRUE(commands.btnCaptureAllClick().isEmpty());
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(ChartCommandsTest, CaptureNowWritesTheChartAndReportsAFailure)
{
    onlyFormat("bmp");
    commands.captureNow(25);
    EXPECT_EQ(captures(), QStringList{"Graph_25.bmp"});
    EXPECT_EQ(messages.count(), 0);

    // A folder that vanished after the menu opened: asked for, so told.
    QDir(settings.Capture.Folder).removeRecursively();
    EXPECT_FALSE(commands.captureNow(25).written());
    EXPECT_EQ(messages.count(), 1);
}

TEST_F(ChartCommandsTest, ScheduledCaptureItemTogglesTheChartsSwitch)
{
    QSignalSpy changed(&commands, &ChartCommands::captureSwitchChanged);
    commands.toggleScheduledCapture(19);
    EXPECT_TRUE(settings.Capture.User2);
    commands.toggleScheduledCapture(19);
    EXPECT_FALSE(settings.Capture.User2);

    // The bits chart's tick shows its switch with its plot box: a click on an
    // unticked item switches capture on.
    settings.Telnet.BitsGraph = true;
    commands.toggleScheduledCapture(21);
    EXPECT_TRUE(settings.Telnet.CaptureBits);
    commands.toggleScheduledCapture(5);
    EXPECT_TRUE(settings.CaptureTelnetFlags[2]);
    commands.toggleScheduledCapture(30);
    EXPECT_TRUE(settings.Telnet.CaptureUserDown);
    EXPECT_EQ(changed.count(), 5);
    EXPECT_EQ(changed.last().at(0).toInt(), 30);
}

TEST_F(ChartCommandsTest, PrintScaleIsTheWholeRatioOfPrinterToScreen)
{
    struct Case {
        int printer, screen, factor;
    };
    const Case cases[] = {{600, 96, 6}, {300, 96, 3}, {1200, 96, 12}, {96, 96, 1}, {72, 96, 1}, {600, 0, 1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.printer);
        const PrintScale s = ChartPrinting::scaleFactors(c.printer, c.printer, c.screen, c.screen);
        EXPECT_EQ(s.x, c.factor);
        EXPECT_EQ(s.y, c.factor);
    }
    EXPECT_EQ(ChartPrinting::targetRect(QSize(687, 354), {6, 6}), QRect(0, 0, 4122, 2124));
}

TEST_F(ChartCommandsTest, PrintedPictureCoversItsSizeTimesTheFactor)
{
    // A 600 dpi page: the 687 x 354 picture covers 4122 x 2124 dots from the corner.
    QImage page(4400, 2400, QImage::Format_RGB32);
    page.fill(Qt::white);
    page.setDotsPerMeterX(qRound(600 / 0.0254));
    page.setDotsPerMeterY(qRound(600 / 0.0254));
    QImage picture(687, 354, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QString error;
    ASSERT_TRUE(ChartPrinting::printPicture(page, picture, 96, 96, &error)) << error.toStdString();
    EXPECT_EQ(page.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(page.pixel(4121, 2123), qRgb(0, 0, 0));
    EXPECT_EQ(page.pixel(4123, 100), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(100, 2125), qRgb(255, 255, 255));
}

TEST_F(ChartCommandsTest, PrintImageSizeFollowsTheImageSettings)
{
    charts.chart(1)->resize(701, 382);
    charts.chart(26)->resize(701, 382);
    settings.Graph.PrintImage = false;
    EXPECT_EQ(commands.printPicture(1).size(), QSize(701, 382));
    settings.Graph.PrintImage = true;
    settings.Graph.PerCent = true;
    settings.Graph.PerCentValue = 50;
    EXPECT_EQ(commands.printPicture(1).size(), QSize(350, 191));
    settings.Graph.PerCent = false;
    settings.Graph.GrWidth = 687;
    settings.Graph.GrHeight = 354;
    EXPECT_EQ(commands.printPicture(1).size(), QSize(687, 354));
    EXPECT_EQ(commands.printPicture(26).size(), QSize(701, 382)) << "the anchored chart prints as shown";
}

TEST_F(ChartCommandsTest, PrintToPdfFileWritesThePage)
{
    settings.Graph.PrintImage = true;
    settings.Graph.PerCent = false;
    settings.Graph.GrWidth = 687;
    settings.Graph.GrHeight = 354;
    const QString pdf = dir.filePath(QStringLiteral("chart.pdf"));
    QPrinter &printer = commands.printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setResolution(600);
    ASSERT_TRUE(commands.canPrintDirectly());
    commands.printChart(22, false); // the bitswap chart prints at once
    EXPECT_EQ(messages.count(), 0);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_TRUE(bytes.contains("/Width 687")) << "the chart's picture is on the page at its size";
    EXPECT_TRUE(bytes.contains("/Height 354"));
}

TEST_F(ChartCommandsTest, CopyPutsTheChartOnTheClipboardAtItsScreenSize)
{
    charts.chart(2)->resize(512, 301);
    commands.copyChart(2);
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data);
    ASSERT_TRUE(data->hasImage());
    EXPECT_EQ(qvariant_cast<QImage>(data->imageData()).size(), QSize(512, 301));
    const QByteArray svg = data->data(QStringLiteral("image/svg+xml"));
    EXPECT_TRUE(svg.contains("<svg")) << "a vector drawing goes with the picture";
    EXPECT_TRUE(svg.contains("512"));
}

TEST_F(ChartCommandsTest, SaveAsReportsAnUnknownExtensionAndWritesNothing)
{
    const QString bad = dir.filePath(QStringLiteral("noise.tiff"));
    EXPECT_FALSE(commands.saveAsChosen(1, bad));
    EXPECT_FALSE(QFile::exists(bad));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_TRUE(messages.last().at(0).toString().contains(QLatin1String("noise.tiff")));
    EXPECT_FALSE(commands.saveAsChosen(1, dir.filePath(QStringLiteral("noextension"))));
    EXPECT_EQ(messages.count(), 2);

    const QString good = dir.filePath(QStringLiteral("noise.PNG"));
    EXPECT_TRUE(commands.saveAsChosen(1, good));
    EXPECT_EQ(QImage(good).format() != QImage::Format_Invalid, true);
    EXPECT_EQ(commands.lastImageFile(), good);
    EXPECT_EQ(messages.count(), 2);
}

TEST_F(ChartCommandsTest, SaveAsFailureIsReportedForEveryPopup)
{
    // The telnet charts' Save As too: a file the user named that was not written is said so.
    const QString missing = dir.filePath(QStringLiteral("no/such/folder/x.jpg"));
    EXPECT_FALSE(commands.saveAsChosen(16, missing));
    EXPECT_EQ(messages.count(), 1);
}

TEST_F(ChartCommandsTest, ScreenshotIsOurOwnWindowArea)
{
    window.resize(800, 600);
    EXPECT_EQ(ChartCommands::screenshotArea(QSize(800, 600)), QRect(5, 90, 785, 450));
    EXPECT_TRUE(ChartCommands::ScreenShot(&window, QRect(5, 90, 0, 10)).isNull());
    EXPECT_TRUE(ChartCommands::ScreenShot(nullptr, QRect(5, 90, 10, 10)).isNull());
    const QImage shot = ChartCommands::ScreenShot(&window, QRect(5, 90, 785, 450));
    EXPECT_EQ(shot.size() / shot.devicePixelRatio(), QSize(785, 450));

    const QString file = dir.filePath(QStringLiteral("window.bmp"));
    EXPECT_TRUE(commands.screenshotChosen(file));
    EXPECT_EQ(QImage(file).size(), QSize(785, 450));
    EXPECT_FALSE(commands.screenshotChosen(dir.filePath(QStringLiteral("window.txt"))));
    EXPECT_EQ(messages.count(), 1);
}

TEST_F(ChartCommandsTest, PrintingWithoutAPrinterSaysSoAndOffersTheDialog)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "a printer is installed here";
    ASSERT_FALSE(commands.canPrintDirectly());
    QSignalSpy system(&commands, &ChartCommands::systemMessage);
    commands.printChart(21, false);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_TRUE(messages.last().at(0).toString().startsWith(QLatin1String("No printer is installed.")));
    EXPECT_EQ(system.count(), 1);
    EXPECT_TRUE(window.findChild<QDialog *>(QStringLiteral("PrintDialog1"))) << "where printing to a PDF file is offered";
}
