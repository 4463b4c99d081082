// A poll's web images and scheduled captures: which charts, and when.
#include "common/Clock.h"
#include "charts/ChartSet.h"
#include "chartimages/GraphImages.h"
#include "chartimages/PollImages.h"
#include "settings/SettingsStore.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <atomic>
#include <gtest/gtest.h>

namespace {

struct PollImagesTest : ::testing::Test {
    ManualClock clock{QDateTime(QDate(2026, 3, 5), QTime(21, 15, 0), Qt::UTC)};
    QTemporaryDir dir;
    TSettings settings = [] {
        SettingsEnvironment env;
        env.settingsPath = QStringLiteral("/nonexistent/veltrano.ini");
        env.now = QDateTime(QDate(2026, 3, 5), QTime(8, 0));
        return settingsstore::load(env).settings;
    }();
    RunState run;
    ChartSet charts;
    GraphImages images{charts, settings, run};
    PollImages poll{images, settings, run};
    std::atomic<int> serving{0};

    void SetUp() override
    {
        Clock::setInstance(&clock);
        charts.applyStartup(settings);
        QDir(dir.path()).mkpath(QStringLiteral("captures"));
        QDir(dir.path()).mkpath(QStringLiteral("web"));
        settings.Capture.Folder = dir.filePath(QStringLiteral("captures"));
        settings.WebServer.Webpage = dir.filePath(QStringLiteral("web/index.htm"));
        settings.Capture.SameFilename = true;
        settings.Graph.PerCent = true;
        settings.Graph.PerCentValue = 20;
        settings.Graph.CapturedImage = settings.Graph.WebImage = true;
        images.setWebServing(&serving);
        // Noise (Chart1) and Tx sync (Chart20) on the web; Rx sync's box is off.
        settings.Capture.HTTPWeb = QStringLiteral("11001000");
        settings.Graph.cbHSync = false;
        run.PointsPlotted = settings.System.Points - 5;
        run.CaptureActive = true;
    }
    void TearDown() override { Clock::setInstance(nullptr); }

    int files(const char *folder) const
    {
        return int(QDir(dir.filePath(QLatin1String(folder))).entryList(QDir::Files | QDir::Hidden).size());
    }
};

} // namespace

TEST_F(PollImagesTest, WebImagesNeedTheServerTheFolderAndNoRequest)
{
    EXPECT_EQ(poll.webImagesStep(false), std::vector<int>{});
    EXPECT_EQ(files("web"), 0);

    EXPECT_EQ(poll.webImagesStep(true), (std::vector<int>{1, 20}));
    EXPECT_EQ(files("web"), 2);
    EXPECT_EQ(images.webImageName(20), dir.filePath(QStringLiteral("web/Tx_Sync_Speed_(Kbps).jpg")));

    settings.WebServer.ImageWithoutServer = true;
    EXPECT_EQ(poll.webImagesStep(false), (std::vector<int>{1, 20}));

    serving = 1;
    EXPECT_EQ(poll.webImagesStep(true), std::vector<int>{});

    serving = 0;
    settings.WebServer.Webpage = dir.filePath(QStringLiteral("gone/index.htm"));
    EXPECT_EQ(poll.webImagesStep(true), std::vector<int>{});
}

TEST_F(PollImagesTest, ScheduledCapturesWaitForPointsFolderAndSchedule)
{
    settings.Capture.Noise = true;
    settings.Capture.Sync = true; // box off: not captured
    settings.Capture.User2 = true;
    settings.Ping.Capture = true; // ping not plotted: not captured

    run.PointsPlotted = settings.System.Points - 6;
    EXPECT_EQ(poll.scheduledCapturesStep(), std::vector<int>{});

    run.PointsPlotted = settings.System.Points - 5;
    run.CaptureActive = false;
    EXPECT_EQ(poll.scheduledCapturesStep(), std::vector<int>{});

    run.CaptureActive = true;
    settings.Capture.Folder = dir.filePath(QStringLiteral("missing"));
    EXPECT_EQ(poll.scheduledCapturesStep(), std::vector<int>{});
    EXPECT_EQ(run.PointsPlotted, settings.System.Points - 5);

    settings.Capture.Folder = dir.filePath(QStringLiteral("captures"));
    EXPECT_EQ(poll.scheduledCapturesStep(), (std::vector<int>{1, 19}));
    EXPECT_EQ(files("captures"), 2);
    // The count starts again; the next captures wait for a page of points.
    EXPECT_EQ(run.PointsPlotted, 0);
    EXPECT_EQ(poll.scheduledCapturesStep(), std::vector<int>{});

    // A web request in progress does not hold captures back.
    serving = 3;
    run.PointsPlotted = settings.System.Points;
    EXPECT_EQ(poll.scheduledCapturesStep(), (std::vector<int>{1, 19}));
}

// Pages shorter than a minute: each page's capture is kept beside the last
// one ("@" stands for the minute's name) and a file already there stays as it
// was; only one file per chart (SameFilename) is rewritten.
TEST_F(PollImagesTest, PageCapturesOfOneMinuteAreAllKept)
{
    settings.Capture.Noise = true;
    const QString stem = QStringLiteral("Rx_Noise_Margin_(dB)-2026Mar05-2115");
    const struct { const char *folder; bool sameFile, fileThere; QStringList kept; } cases[] = {
        {"dated names", false, false, {"@.jpg", "@_2.jpg", "@_3.jpg"}},
        {"a file of that name already there", false, true, {"@.jpg", "@_2.jpg", "@_3.jpg", "@_4.jpg"}},
        {"one file per chart", true, false, {"Rx_Noise_Margin_(dB).jpg"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.folder);
        const QDir folder(dir.filePath(QLatin1String(c.folder)));
        ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
        settings.Capture.Folder = folder.path();
        settings.Capture.SameFilename = c.sameFile;
        if (c.fileThere)
            testsupport::writeAll(folder.filePath(stem + ".jpg"), "not an image of this run");
        for (int page = 0; page < 3; ++page) {
            run.PointsPlotted = settings.System.Points;
            EXPECT_EQ(poll.scheduledCapturesStep(), std::vector<int>{1});
        }
        EXPECT_EQ(folder.entryList(QDir::Files | QDir::Hidden, QDir::Name),
                  QStringList(c.kept).replaceInStrings(QStringLiteral("@"), stem));
        if (c.fileThere) {
            EXPECT_EQ(testsupport::readAll(folder.filePath(stem + ".jpg")), QByteArray("not an image of this run"));
        }
    }
}

// Both bitswap charts carry the title "Bitswaps": each has its own web image.
TEST_F(PollImagesTest, WebImagesOfChartsSharingATitleAreDistinct)
{
    settings.Capture.HTTPWeb.clear();
    settings.WebServer.SepWeb = true;           // Chart29, bitswaps per tone
    settings.Telnet.BitswapWebserver = true;    // Chart22, bitswaps over time
    settings.WebServer.LowerCase = true;
    EXPECT_EQ(poll.webImagesStep(true), (std::vector<int>{29, 22}));
    EXPECT_EQ(images.webImageName(22), dir.filePath(QStringLiteral("web/bitswaps.jpg")));
    EXPECT_EQ(images.webImageName(29), dir.filePath(QStringLiteral("web/bitswaps_chart29.jpg")));
    EXPECT_EQ(files("web"), 2);
}

TEST_F(PollImagesTest, SpeedTouchTimeChartFollowsItsRefreshCount)
{
    settings.Router.ST585 = true;
    settings._585Telnet.ThomsonBitswapTimeCap = true;
    BitsRefreshState &bits = images.bitsRefresh();
    bits.ThomsonChartSpan = 10;
    bits.ThomsonRefreshesSinceCapture = 9;
    run.PointsPlotted = 0; // the time chart does not wait for the points
    EXPECT_EQ(poll.scheduledCapturesStep(), std::vector<int>{});

    bits.ThomsonRefreshesSinceCapture = 10;
    EXPECT_EQ(poll.scheduledCapturesStep(), std::vector<int>{28});
    EXPECT_EQ(bits.ThomsonRefreshesSinceCapture, 0);
    EXPECT_EQ(run.PointsPlotted, 0);

    bits.ThomsonChartSpan = 5; // too short a span
    bits.ThomsonRefreshesSinceCapture = 50;
    EXPECT_EQ(poll.scheduledCapturesStep(), std::vector<int>{});
}

TEST_F(PollImagesTest, CapturesOnCloseNeedLastGraphFolderScheduleAndEnoughPoints)
{
    settings.Capture.Noise = true;
    settings.Capture.Sync = true; // box off: not captured
    settings.Capture.User2 = true;
    settings.Telnet.CaptureUserDown = settings.Telnet.cbUserDown = true;
    settings.Telnet.BitswapCapture = true;
    settings.Ping.Capture = settings.Ping.Ping = true;
    settings.Capture.LessThanValue = 10;

    struct Case {
        const char *name;
        bool lastGraph, telnet, active, folder, lessThan;
        int points;
        std::vector<int> written;
    };
    const std::vector<int> none;
    for (const Case &c : {
             Case{"status page charts and ping", true, false, true, true, false, 0, {1, 19, 25}},
             Case{"telnet charts with telnet", true, true, true, true, false, 0, {1, 19, 30, 22, 25}},
             Case{"LastGraph off", false, true, true, true, false, 0, none},
             Case{"outside the schedule", true, true, false, true, false, 0, none},
             Case{"no capture folder", true, true, true, false, false, 0, none},
             Case{"too few points", true, false, true, true, true, 9, none},
             Case{"just enough points", true, false, true, true, true, 10, {1, 19, 25}},
         }) {
        SCOPED_TRACE(c.name);
        settings.Capture.LastGraph = c.lastGraph;
        settings.Router.Telnet = c.telnet;
        run.CaptureActive = c.active;
        settings.Capture.Folder = dir.filePath(QLatin1String(c.folder ? "captures" : "missing"));
        settings.Capture.LessThan = c.lessThan;
        run.PointsPlotted = c.points;
        EXPECT_EQ(poll.closeCapturesStep(), c.written);
    }
}

TEST_F(PollImagesTest, TemporaryWebImagesGoOnlyWhenAskedAndNoBrowserReads)
{
    ASSERT_EQ(poll.webImagesStep(true), (std::vector<int>{1, 20}));
    ASSERT_EQ(files("web"), 2);

    settings.WebServer.DeleteTemp = false;
    poll.removeTemporaryWebImages();
    EXPECT_EQ(files("web"), 2);

    settings.WebServer.DeleteTemp = true;
    serving = 1;
    poll.removeTemporaryWebImages();
    EXPECT_EQ(files("web"), 2);

    serving = 0;
    poll.removeTemporaryWebImages();
    EXPECT_EQ(files("web"), 0);
}
