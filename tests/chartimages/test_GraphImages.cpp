// Chart images: formats, file names, sizes, captions, atomic replacement and
// the web images' pause while a request is being served.
#include "common/Clock.h"
#include "charts/ChartSeries.h"
#include "charts/ChartSet.h"
#include "chartimages/GifWriter.h"
#include "chartimages/GraphImages.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gif_lib.h>
#include <qcustomplot.h>

#include <atomic>
#include <gtest/gtest.h>

namespace {

TSettings freshSettings()
{
    SettingsEnvironment env;
    env.settingsPath = QStringLiteral("/nonexistent/veltrano.ini");
    env.now = QDateTime(QDate(2026, 3, 5), QTime(8, 0));
    return settingsstore::load(env).settings;
}

// A decoded GIF: its size and its pixels as RGB.
struct GifPicture {
    int width = 0;
    int height = 0;
    QImage image;
};

GifPicture decodeGif(const QString &path)
{
    GifPicture out;
    int error = 0;
    GifFileType *gif = DGifOpenFileName(QFile::encodeName(path).constData(), &error);
    if (!gif)
        return out;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1) {
        const SavedImage &frame = gif->SavedImages[0];
        const ColorMapObject *map = frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : gif->SColorMap;
        out.width = gif->SWidth;
        out.height = gif->SHeight;
        out.image = QImage(out.width, out.height, QImage::Format_RGB32);
        for (int y = 0; y < out.height; ++y) {
            for (int x = 0; x < out.width; ++x) {
                const GifColorType c = map->Colors[frame.RasterBits[y * out.width + x]];
                out.image.setPixel(x, y, qRgb(c.Red, c.Green, c.Blue));
            }
        }
    }
    DGifCloseFile(gif, &error);
    return out;
}

int colourDistance(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
}

struct GraphImagesTest : ::testing::Test {
    // 08:47:39 UTC; the tests run with TZ=UTC.
    ManualClock clock{QDateTime(QDate(2026, 3, 5), QTime(8, 47, 39), Qt::UTC)};
    QTemporaryDir dir;
    TSettings settings = freshSettings();
    RunState run;
    ChartSet charts;
    GraphImages images{charts, settings, run};
    GraphImageWindow window;

    void SetUp() override
    {
        Clock::setInstance(&clock);
        ASSERT_TRUE(dir.isValid());
        charts.applyStartup(settings);
        for (int n : {1, 2, 3, 21, 22, 25})
            charts.chart(n)->resize(701, 382);
        QDir(dir.path()).mkpath(QStringLiteral("captures"));
        QDir(dir.path()).mkpath(QStringLiteral("web"));
        settings.Capture.Folder = capturePath();
        settings.WebServer.Webpage = dir.filePath(QStringLiteral("web/index.htm"));
        images.setWindowState([this] { return window; });
    }
    void TearDown() override { Clock::setInstance(nullptr); }

    QString capturePath(const QString &file = QString()) const
    {
        return file.isEmpty() ? dir.filePath(QStringLiteral("captures")) : dir.filePath(QStringLiteral("captures/") + file);
    }
    QString webPath(const QString &file) const { return dir.filePath(QStringLiteral("web/") + file); }
    QStringList filesIn(const QString &folder) const
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    void onlyFormat(const char *format)
    {
        settings.Capture.IsJPG = qstrcmp(format, "jpg") == 0;
        settings.Capture.IsPNG = qstrcmp(format, "png") == 0;
        settings.Capture.IsBMP = qstrcmp(format, "bmp") == 0;
        settings.Capture.IsGIF = qstrcmp(format, "gif") == 0;
    }
};

} // namespace

TEST_F(GraphImagesTest, EveryFormatIsWrittenAndReadsBack)
{
    settings.Capture.SameFilename = true;
    for (const char *format : {"jpg", "png", "bmp", "gif"}) {
        SCOPED_TRACE(format);
        onlyFormat(format);
        const GraphImageResult r = images.Save(1, QStringLiteral("Manual"));
        ASSERT_TRUE(r.written()) << r.error.toStdString();
        EXPECT_EQ(r.path, capturePath(QStringLiteral("Rx_Noise_Margin_(dB).") + QLatin1String(format)));
        if (qstrcmp(format, "gif") == 0) {
            QFile f(r.path);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_EQ(f.read(4), QByteArray("GIF8"));
            const GifPicture gif = decodeGif(r.path);
            EXPECT_EQ(gif.width, 701);
            EXPECT_EQ(gif.height, 382);
            // The corner is the chart's border colour, through the palette.
            const QImage reference = images.renderChart(1, QString(), QStringLiteral("Save"));
            ASSERT_FALSE(gif.image.isNull());
            EXPECT_LE(colourDistance(gif.image.pixel(700, 381), reference.pixel(700, 381)), 24);
        } else {
            const QImage back(r.path);
            ASSERT_FALSE(back.isNull());
            EXPECT_EQ(back.size(), QSize(701, 382));
        }
    }
    EXPECT_EQ(filesIn(capturePath()).size(), 4);
}

TEST_F(GraphImagesTest, GifKeepsExactColoursUpTo256AndQuantisesBeyond)
{
    QImage few(40, 20, QImage::Format_RGB32);
    few.fill(qRgb(10, 20, 30));
    few.setPixel(3, 4, qRgb(255, 0, 0));
    few.setPixel(39, 19, qRgb(0, 0, 255));
    QImage many(256, 64, QImage::Format_RGB32);
    for (int y = 0; y < many.height(); ++y)
        for (int x = 0; x < many.width(); ++x)
            many.setPixel(x, y, qRgb(x, y * 4, 255 - x));

    for (const QImage *source : {&few, &many}) {
        QString error;
        const QByteArray bytes = GifWriter::encode(*source, &error);
        ASSERT_FALSE(bytes.isEmpty()) << error.toStdString();
        const QString path = dir.filePath(QStringLiteral("t.gif"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        const GifPicture gif = decodeGif(path);
        ASSERT_EQ(QSize(gif.width, gif.height), source->size());
        // Exact for few colours; for many, close on average and nowhere far off.
        qint64 total = 0;
        int worst = 0;
        for (int y = 0; y < source->height(); ++y) {
            for (int x = 0; x < source->width(); ++x) {
                const int d = colourDistance(gif.image.pixel(x, y), source->pixel(x, y));
                total += d;
                worst = qMax(worst, d);
            }
        }
        const double mean = double(total) / (source->width() * source->height());
        if (source == &few) {
            EXPECT_EQ(worst, 0);
        } else {
            EXPECT_LT(mean, 24.0);
            EXPECT_LT(worst, 100);
        }
    }
    EXPECT_TRUE(GifWriter::encode(QImage()).isEmpty());
}

TEST_F(GraphImagesTest, CaptureAndWebFileNames)
{
    struct Case {
        const char *title;
        const char *pattern;
        bool windowsTime, unixTime, same, lowerCase;
        const char *mode;
        const char *capture; // file name in the capture folder
        const char *web;     // file name in the web folder
    };
    const Case cases[] = {
        {"Noise Margin", "-yyyymmmdd-hhnn", true, false, false, false, "Manual", "Noise_Margin-2026Mar05-0847.jpg",
         "Noise_Margin.jpg"},
        {"Noise Margin", "", true, false, false, false, "Manual", "Noise_Margin084739.jpg", "Noise_Margin.jpg"},
        {"Noise Margin", "-dd/mm/yyyy", true, false, false, false, "Manual", "Noise_Margin-05-03-2026.jpg",
         "Noise_Margin.jpg"},
        {"Noise Margin", "-hhnn", false, true, false, false, "Manual", "Noise_Margin-1773200859.jpg",
         "Noise_Margin.jpg"},
        {"Noise Margin", "-hhnn", false, false, false, false, "Manual", "Noise_Margin.jpg", "Noise_Margin.jpg"},
        {"Noise Margin", "-hhnn", true, false, true, false, "Manual", "Noise_Margin.jpg", "Noise_Margin.jpg"},
        {"Noise Margin", "-hhnn", true, false, false, false, "Before Bitswap", "Noise_Margin-0847-1.jpg",
         "Noise_Margin.jpg"},
        {"Noise Margin", "-hhnn", true, false, true, false, "After Bitswap", "Noise_Margin-2.jpg", "Noise_Margin.jpg"},
        {"Rx/Tx: dB", "", false, false, true, true, "Manual", "Rx-Tx-_dB.jpg", "rx_tx__db.jpg"},
        {"a,b*c?\"d\"<e>|f\\g", "", false, false, true, false, "Manual", "a,b-c--d--e--f-g.jpg",
         "a_b_c__d__e__f_g.jpg"},
        {"../../etc/cron", "", false, false, true, false, "Manual", "-..-etc-cron.jpg", "_.._etc_cron.jpg"},
        {".hidden Chart", "", false, false, true, false, "Manual", "hidden_Chart.jpg", "hidden_Chart.jpg"},
        {"..", "", false, false, true, false, "Manual", "Chart1.jpg", "Chart1.jpg"},
        {"", "", false, false, true, true, "Manual", "Chart1.jpg", "chart1.jpg"},
    };
    const qint64 unixSeconds = clock.currentDateTimeUtc().toSecsSinceEpoch();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        SCOPED_TRACE(c.pattern);
        charts.chart(1)->yAxis->setLabel(QString::fromUtf8(c.title));
        settings.Capture.DateTime = QString::fromLatin1(c.pattern);
        settings.Capture.WindowsTime = c.windowsTime;
        settings.Capture.UnixTime = c.unixTime;
        settings.Capture.SameFilename = c.same;
        settings.WebServer.LowerCase = c.lowerCase;
        QString expected = QString::fromUtf8(c.capture);
        expected.replace(QStringLiteral("1773200859"), QString::number(unixSeconds));

        const GraphImageResult saved = images.Save(1, QString::fromLatin1(c.mode));
        EXPECT_EQ(saved.path, capturePath(expected)) << saved.error.toStdString();
        EXPECT_TRUE(QFileInfo::exists(capturePath(expected)));
        const GraphImageResult web = images.WebSave(1, 1);
        EXPECT_EQ(web.path, webPath(QString::fromUtf8(c.web)));
        EXPECT_TRUE(QFileInfo::exists(webPath(QString::fromUtf8(c.web))));
        EXPECT_EQ(images.webImageName(1), web.path);
    }
    // An empty pattern is made "hhnnss" for good.
    EXPECT_EQ(settings.Capture.DateTime, QStringLiteral("hhnnss"));
    // Nothing escaped the two folders.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({QStringLiteral("captures"), QStringLiteral("web")}));
}

// A title that several charts carry: the lowest numbered chart keeps its
// name, each other one adds its number; a title of its own keeps its name.
TEST_F(GraphImagesTest, ChartsSharingATitleNeverShareAFile)
{
    settings.Capture.DateTime = QStringLiteral("-hhnn");
    charts.chart(3)->yAxis->setLabel(QStringLiteral("Errors, up"));
    charts.chart(19)->yAxis->setLabel(QStringLiteral("errors_ up")); // another title, the same web name
    const struct { int chart; const char *capture, *web; } cases[] = {
        {21, "Bits-0847.jpg", "Bits.jpg"}, {26, "Bits_Chart26-0847.jpg", "Bits_Chart26.jpg"},
        {22, "Bitswaps-0847.jpg", "Bitswaps.jpg"}, {27, "Bitswaps_Chart27-0847.jpg", "Bitswaps_Chart27.jpg"},
        {28, "Bitswaps_Chart28-0847.jpg", "Bitswaps_Chart28.jpg"},
        {29, "Bitswaps_Chart29-0847.jpg", "Bitswaps_Chart29.jpg"},
        {3, "Errors,_up-0847.jpg", "Errors__up.jpg"}, {19, "errors__up-0847.jpg", "errors__up_Chart19.jpg"},
        {25, "Ping_-_milliseconds-0847.jpg", "Ping_-_milliseconds.jpg"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.chart);
        EXPECT_EQ(images.Save(c.chart, QStringLiteral("Daily")).path, capturePath(QString::fromLatin1(c.capture)));
        EXPECT_EQ(images.WebSave(c.chart, c.chart).path, webPath(QString::fromLatin1(c.web)));
    }
    EXPECT_EQ(filesIn(capturePath()).size(), qsizetype(std::size(cases)));
    EXPECT_EQ(filesIn(webPath({})).size(), qsizetype(std::size(cases)));
}

TEST_F(GraphImagesTest, ChosenFormatReplacesTheExtensionAndIsRecorded)
{
    onlyFormat("png");
    settings.WebServer.LowerCase = true;
    const GraphImageResult web = images.WebSave(2, 2);
    EXPECT_EQ(web.path, webPath(QStringLiteral("rx_sync_speed_(kbps).png")));
    EXPECT_EQ(images.webImageName(2), web.path);
    EXPECT_EQ(images.webImageName(0), QString());
    EXPECT_EQ(images.webImageName(36), QString());

    // No format chosen: nothing written and nothing reported.
    onlyFormat("");
    QSignalSpy messages(&images, &GraphImages::systemMessage);
    EXPECT_FALSE(images.Save(1, QStringLiteral("Manual")).written());
    EXPECT_FALSE(images.WebSave(1, 1).written());
    EXPECT_TRUE(images.EmailSave(1, dir.filePath(QStringLiteral("x.txt"))).path.isEmpty());
    EXPECT_EQ(messages.size(), 0);
    EXPECT_EQ(filesIn(capturePath()), QStringList());

    // E-mail and Save As go by the name's own extension, whatever the flags say.
    EXPECT_TRUE(images.EmailSave(1, dir.filePath(QStringLiteral("mail.GIF"))).written());
    EXPECT_TRUE(images.SaveAs(1, dir.filePath(QStringLiteral("mine.bmp")), SaveAsKind::ChartPopup).written());
    EXPECT_FALSE(QImage(dir.filePath(QStringLiteral("mine.bmp"))).isNull());
    EXPECT_FALSE(images.SaveAs(1, dir.filePath(QStringLiteral("mine.tiff")), SaveAsKind::Other).written());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("mine.tiff"))));
}

TEST_F(GraphImagesTest, ExistingImageIsReplacedWholeWithNothingLeftBehind)
{
    settings.Capture.SameFilename = true;
    const QString target = capturePath(QStringLiteral("Rx_Noise_Margin_(dB).jpg"));
    const QByteArray junk(3 * 1024 * 1024, 'x');
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(junk);
    }
    // A reader that has the old file open (a web request) keeps reading the old file.
    QFile reader(target);
    ASSERT_TRUE(reader.open(QIODevice::ReadOnly));

    const GraphImageResult r = images.Save(1, QStringLiteral("Manual"));
    ASSERT_TRUE(r.written()) << r.error.toStdString();
    EXPECT_EQ(reader.readAll(), junk);
    const QImage now(target);
    EXPECT_EQ(now.size(), QSize(701, 382));
    EXPECT_LT(QFileInfo(target).size(), junk.size());
    EXPECT_EQ(filesIn(capturePath()), QStringList({QStringLiteral("Rx_Noise_Margin_(dB).jpg")}));

    // A write that cannot land (a folder holds the name) fails cleanly.
    QDir(capturePath()).mkdir(QStringLiteral("Rx_Noise_Margin_(dB).png"));
    onlyFormat("png");
    const GraphImageResult blocked = images.Save(1, QStringLiteral("Manual"));
    EXPECT_FALSE(blocked.written());
    EXPECT_FALSE(blocked.error.isEmpty());
    EXPECT_TRUE(QFileInfo(capturePath(QStringLiteral("Rx_Noise_Margin_(dB).png"))).isDir());
    EXPECT_EQ(filesIn(capturePath()), QStringList({QStringLiteral("Rx_Noise_Margin_(dB).jpg")}));
}

TEST_F(GraphImagesTest, WebImagesWaitForRequestsButCapturesDoNot)
{
    std::atomic<int> serving{1};
    images.setWebServing(&serving);
    settings.Capture.SameFilename = true;
    QSignalSpy messages(&images, &GraphImages::systemMessage);

    EXPECT_FALSE(images.WebSave(1, 1).written());
    EXPECT_EQ(filesIn(webPath(QString())), QStringList());
    EXPECT_EQ(images.webImageName(1), QString());
    EXPECT_TRUE(images.Save(1, QStringLiteral("Auto")).written());
    EXPECT_TRUE(images.EmailSave(1, dir.filePath(QStringLiteral("mail.jpg"))).written());
    EXPECT_EQ(messages.size(), 0);

    serving = 0;
    EXPECT_TRUE(images.WebSave(1, 1).written());

    images.setWebServing([] { return 2; });
    EXPECT_EQ(images.webServing(), 2);
    EXPECT_FALSE(images.WebSave(2, 2).written());
}

TEST_F(GraphImagesTest, WebFailuresAreReportedUnlessSuppressed)
{
    QSignalSpy messages(&images, &GraphImages::systemMessage);
    settings.WebServer.Webpage = dir.filePath(QStringLiteral("missing/index.htm"));
    EXPECT_FALSE(images.WebSave(1, 1).written());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0][0].toString().endsWith(QStringLiteral("  5195 WebSave")));
    EXPECT_GT(messages[0][0].toString().size(), QStringLiteral("  5195 WebSave").size());

    settings.System.SuppressErrors = true;
    EXPECT_FALSE(images.WebSave(1, 1).written());
    EXPECT_EQ(messages.size(), 1);

    // Capture failures are silent either way.
    settings.System.SuppressErrors = false;
    settings.Capture.Folder = dir.filePath(QStringLiteral("nowhere"));
    const GraphImageResult r = images.Save(1, QStringLiteral("Manual"));
    EXPECT_FALSE(r.written());
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(GraphImagesTest, ImageSizeByModeAndResizeSettings)
{
    struct Case {
        bool captured, web, email, bits, perCent;
        int value;
        const char *mode;
        QSize expected;
    };
    const QSize chart(701, 382);
    const Case cases[] = {
        {true, false, false, false, true, 50, "Save", {350, 191}},
        {true, false, false, false, true, 150, "Save", {1051, 573}},
        {true, false, false, false, false, 50, "Save", {687, 354}},
        {true, false, false, false, true, 50, "Web", {701, 382}},
        {false, true, false, false, true, 50, "Web", {350, 191}},
        {false, false, true, false, false, 50, "Email", {687, 354}},
        {false, false, true, false, true, 50, "Save", {701, 382}},
        {true, true, true, false, true, 50, "Before Bitswap", {701, 382}},
        {false, false, false, true, true, 50, "After Bitswap", {350, 191}},
        {true, true, true, true, true, 50, "SaveAs", {701, 382}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mode);
        settings.Graph.CapturedImage = c.captured;
        settings.Graph.WebImage = c.web;
        settings.Graph.ClipImage = c.email;
        settings.Telnet.BitsResize = c.bits;
        settings.Graph.PerCent = c.perCent;
        settings.Graph.PerCentValue = c.value;
        EXPECT_EQ(GraphImages::imageSize(chart, QString::fromLatin1(c.mode), settings), c.expected);
    }

    // End to end: the written capture has the resized size.
    settings.Graph.CapturedImage = true;
    settings.Graph.PerCent = true;
    settings.Graph.PerCentValue = 50;
    settings.Telnet.BitsResize = false;
    settings.Capture.SameFilename = true;
    onlyFormat("png");
    const GraphImageResult r = images.Save(1, QStringLiteral("Manual"));
    EXPECT_EQ(QImage(r.path).size(), QSize(350, 191));
    // A chart that was never laid out is drawn at the configured size.
    settings.Graph.CapturedImage = false;
    const GraphImageResult unshown = images.Save(18, QStringLiteral("Manual"));
    EXPECT_EQ(QImage(unshown.path).size(), QSize(687, 354));
}

TEST_F(GraphImagesTest, CaptionOverlayItems)
{
    run.Figures.RxSync = 8128;
    run.Figures.RxNoise = 6.45f;
    window.wanAddress = QStringLiteral("81.2.69.160");
    window.connectionUptime = QStringLiteral("Connected 2 days 03:04:05");
    window.telnetSyncNow = 7616.5f;
    window.telnetNoiseNow = 12.0f;
    struct Case {
        bool ip, uptime, sync, noise, telnetOnly;
        const char *address;
        CaptionStyle style;
        const char *expected;
    };
    const Case cases[] = {
        {false, false, false, false, false, "81.2.69.160", CaptionStyle::Capture, "H"},
        {true, true, true, true, false, "81.2.69.160", CaptionStyle::Capture,
         "H[IP: 81.2.69.160]  [Connected 2 days 03:04:05]  [Rx-Sync: 8128]  [Rx-Noise: 6.4] "},
        {true, false, false, true, false, " 81.2.69.160 ", CaptionStyle::Email, "H[ 81.2.69.160 ]  [Rx-Noise: 6.45] "},
        {true, false, false, false, false, "81.2.69.260", CaptionStyle::Capture, "H"},
        {true, false, false, false, false, "", CaptionStyle::Capture, "H"},
        {true, false, false, false, false, "81.2.69.160", CaptionStyle::SaveAs, "H[IP: 81.2.69.160] "},
        {true, false, false, false, false, "81.2.69.160", CaptionStyle::TelnetSaveAs, "H[81.2.69.160] "},
        {false, false, true, true, true, "", CaptionStyle::Capture, "H[Rx-Sync: 7616.5]  [Rx-Noise: 12.0] "},
        {false, false, false, true, true, "", CaptionStyle::SaveAs, "H[Rx-Noise: 12] "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expected);
        settings.Capture.OverlayIP = c.ip;
        settings.Capture.OverlayUptime = c.uptime;
        settings.Capture.OverlaySync = c.sync;
        settings.Capture.OverlayNoise = c.noise;
        settings.Telnet.DisableHTTP = c.telnetOnly;
        window.wanAddress = QString::fromLatin1(c.address);
        EXPECT_EQ(images.GraphImageCaption(QStringLiteral("H"), c.style), QString::fromLatin1(c.expected));
    }

    // Uptime only when the panel shows something.
    settings.Capture.OverlayIP = false;
    settings.Capture.OverlaySync = settings.Capture.OverlayNoise = false;
    settings.Capture.OverlayUptime = true;
    window.connectionUptime.clear();
    EXPECT_EQ(images.GraphImageCaption(QStringLiteral("H"), CaptionStyle::Capture), QStringLiteral("H"));

    settings.Capture.OverlayAtt = true;
    run.AttenuationUpText = QStringLiteral("21.5");
    run.AttenuationDownText = QStringLiteral("40.0");
    EXPECT_EQ(images.withAttenuation(QStringLiteral("C")), QStringLiteral("C [Attn Up: 21.5 Down: 40.0 dB]"));
    settings.Capture.OverlayAtt = false;
    EXPECT_EQ(images.withAttenuation(QStringLiteral("C")), QStringLiteral("C"));
}

TEST_F(GraphImagesTest, CaptionDateParts)
{
    const QDateTime t(QDate(2026, 3, 5), QTime(8, 7, 9));
    EXPECT_EQ(GraphImages::captureCaptionHead(t, QStringLiteral("Auto")), QStringLiteral(" 05 Mar 2026  08:07:09  "));
    EXPECT_EQ(GraphImages::captureCaptionHead(t, QStringLiteral("Before Bitswap")),
              QStringLiteral(" 05 Mar 2026 08:07:09  Before Bitswap "));
    EXPECT_EQ(GraphImages::webCaptionHead(t), QStringLiteral(" 05 Mar 2026  08:07:09   "));
    EXPECT_EQ(GraphImages::emailCaptionHead(t), QStringLiteral(" 05 Mar 2026     "));
}

TEST_F(GraphImagesTest, LongCaptionStartsAtTheLeftEdge)
{
    // Only the caption differs between the pictures; where it lands shows in the top rows.
    const QImage bare = images.renderChart(1, QString(), QStringLiteral("Save"));
    const auto differsLeftOf50 = [&](const QImage &img) {
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 50; ++x)
                if (img.pixel(x, y) != bare.pixel(x, y))
                    return true;
        return false;
    };
    const auto differsAnywhere = [&](const QImage &img) { return img != bare; };
    const QImage shortCaption = images.renderChart(1, QStringLiteral(" 05 Mar 2026  08:47:39  "), QStringLiteral("Save"));
    EXPECT_TRUE(differsAnywhere(shortCaption));
    EXPECT_FALSE(differsLeftOf50(shortCaption));
    const QImage longCaption = images.renderChart(1, QString(200, QLatin1Char('W')), QStringLiteral("Save"));
    EXPECT_TRUE(differsLeftOf50(longCaption));
}

TEST_F(GraphImagesTest, SaveStampsAndResetsItsCounters)
{
    settings.Capture.SameFilename = true;
    run.PointsPlotted = 250;
    images.bitsRefresh().BitsRefreshCount = 7;
    images.bitsRefresh().ThomsonRefreshesSinceCapture = 9;

    images.Save(27, QStringLiteral("Auto"));
    EXPECT_EQ(run.PointsPlotted, 250);
    EXPECT_EQ(run.SampleStamp, clock.currentDateTime());
    images.Save(28, QStringLiteral("Manual"));
    EXPECT_EQ(images.bitsRefresh().ThomsonRefreshesSinceCapture, 0);
    images.Save(22, QStringLiteral("Chart22"));
    EXPECT_EQ(images.bitsRefresh().BitsRefreshCount, 0);
    EXPECT_EQ(run.PointsPlotted, 250);
    images.Save(1, QStringLiteral("Auto"));
    EXPECT_EQ(run.PointsPlotted, 0);

    settings.Graph.UTCTime = true;
    images.EmailSave(1, dir.filePath(QStringLiteral("m.jpg")));
    EXPECT_EQ(run.SampleStamp.timeSpec(), Qt::UTC);
}

TEST_F(GraphImagesTest, EmailImagesBesideTheProgram)
{
    onlyFormat("png");
    const QStringList written = images.EmailImages(dir.path(), true, false, true);
    EXPECT_EQ(written, QStringList({dir.filePath(QStringLiteral("veltrano-Noise.png")),
                                    dir.filePath(QStringLiteral("veltrano-Ping.png"))}));
    for (const QString &path : written)
        EXPECT_FALSE(QImage(path).isNull());

    settings.Email.AlwaysEmailJPG = true;
    EXPECT_EQ(images.EmailImages(dir.path(), false, true, false),
              QStringList({dir.filePath(QStringLiteral("veltrano-Sync.jpg"))}));

    struct Case {
        bool jpg, png, bmp, gif, always;
        const char *expected;
    };
    for (const Case &c : {Case{true, true, true, true, false, "png"}, Case{true, false, true, true, false, "gif"},
                          Case{true, false, true, false, false, "bmp"}, Case{false, false, false, false, false, "jpg"},
                          Case{false, true, false, false, true, "jpg"}}) {
        settings.Capture.IsJPG = c.jpg;
        settings.Capture.IsPNG = c.png;
        settings.Capture.IsBMP = c.bmp;
        settings.Capture.IsGIF = c.gif;
        settings.Email.AlwaysEmailJPG = c.always;
        EXPECT_EQ(GraphImages::emailFormat(settings), QLatin1String(c.expected));
    }
}

// The program label sits over the time axis of the time charts; the time
// labels that would run into it are left out, the others stay.
TEST_F(GraphImagesTest, TimeLabelsKeepClearOfTheProgramLabel)
{
    QFont bold = QGuiApplication::font();
    bold.setPointSize(8);
    bold.setBold(true);
    struct Case {
        int points;
        QSize size;
    };
    const Case cases[] = {{100, {701, 382}}, {120, {701, 382}}, {250, {1200, 500}}, {250, {500, 300}}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.points);
        ChartSet set;
        set.applyStartup(settings);
        GraphImages painter{set, settings, run};
        painter.setWindowState([this] { return window; });
        QCustomPlot *plot = set.chart(1);
        plot->resize(c.size);
        for (int i = 0; i < c.points; ++i)
            set.valueSeries(1)->add(5 + i % 3, QStringLiteral(" 08:%1:00 ").arg(i % 60, 2, 10, QLatin1Char('0')));
        plot->replot();
        const QImage image = painter.renderChart(1, QString(), QStringLiteral("Save"));
        ASSERT_EQ(image.size(), c.size);
        const int H = image.height();
        const int axisBottom = plot->axisRect()->bottom();
        const QFontMetrics metrics(bold, &image);
        const QRect label(80, H - 60, metrics.horizontalAdvance(QStringLiteral("Veltrano 6.3")), metrics.height());
        ASSERT_GT(label.top(), axisBottom) << "the label lies over the time labels";
        // Below the tick marks, the label's columns hold the label and the
        // background only: no time label runs out above or below it.
        const QRgb background = image.pixel(label.left(), H - 1);
        int foreign = 0;
        for (int y = axisBottom + 8; y < H; ++y)
            for (int x = label.left(); x <= label.right(); ++x)
                foreign += !label.contains(x, y) && image.pixel(x, y) != background;
        EXPECT_EQ(foreign, 0);
        // Right of it the time labels are still drawn.
        int labelled = 0;
        for (int y = axisBottom + 8; y < H; ++y)
            for (int x = label.right() + 10; x < image.width(); ++x)
                labelled += image.pixel(x, y) != background;
        EXPECT_GT(labelled, 0);
        // The screen keeps every label: the span is for the image only.
        plot->replot();
        QVector<QString> labels;
        QVector<double> ticks, subTicks;
        plot->xAxis->ticker()->generate(plot->xAxis->range(), QLocale(), QLatin1Char('g'), 6, ticks, &subTicks, &labels);
        ASSERT_FALSE(labels.isEmpty());
        for (const QString &l : labels)
            EXPECT_FALSE(l.isEmpty());
    }
}
