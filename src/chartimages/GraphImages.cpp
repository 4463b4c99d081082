#include "chartimages/GraphImages.h"

#include "common/RouterAddress.h"
#include "common/AtomicFile.h"
#include "common/NewFile.h"
#include "common/Clock.h"
#include "common/DateTimePattern.h"
#include "common/NumberFormat.h"
#include "charts/ChartSet.h"
#include "charts/ChartTable.h"
#include "widgets/ColourConversion.h"
#include "chartimages/GifWriter.h"
#include "charts/PointLabelTicker.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>

#include <qcustomplot.h>

#include <cmath>

namespace {

const QString kSave = QStringLiteral("Save");
const QString kWeb = QStringLiteral("Web");
const QString kEmail = QStringLiteral("Email");
const QString kSaveAs = QStringLiteral("SaveAs");
const QString kBefore = QStringLiteral("Before Bitswap");
const QString kAfter = QStringLiteral("After Bitswap");

bool isBitswapMode(const QString &mode) { return mode == kBefore || mode == kAfter; }

QString cleaned(const QString &title, int chart, const QString &bad, QChar replacement)
{
    QString name = title;
    name.replace(QLatin1Char(' '), QLatin1Char('_'));
    for (QChar &c : name) {
        if (bad.contains(c))
            c = replacement;
    }
    // A leading dot would make a hidden file (or "..").
    int dots = 0;
    while (dots < name.size() && name.at(dots) == QLatin1Char('.'))
        ++dots;
    name.remove(0, dots);
    return name.isEmpty() ? QStringLiteral("Chart%1").arg(chart) : name;
}

// The extension after the last dot of the file name part replaced (or added).
QString withExtension(const QString &path, const QString &format)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > slash ? path.left(dot) : path;
    return stem + QLatin1Char('.') + format;
}

// Fixed notation, one decimal, three significant digits; exponent form
// when the integer part needs more digits than that.
QString fixedThreeOne(double value)
{
    if (std::isfinite(value) && std::fabs(numfmt::roundSignificant(value, 3)) >= 1000)
        return numfmt::generalPrecision(value, 3);
    return numfmt::number(value, 3, 1, QLatin1Char(','), QLatin1Char('.'));
}

QFont textFont(int points, bool bold)
{
    QFont f = QGuiApplication::font();
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

QString programLabel() { return QStringLiteral("Veltrano 6.3"); }
QFont programLabelFont() { return textFont(8, true); }
constexpr int kProgramLabelLeft = 80;

// Low on the tone charts, higher up over the time axis on the others.
int programLabelTop(int chart, int imageHeight)
{
    const bool toneChart = chart == 21 || (chart >= 26 && chart <= 29);
    return toneChart ? imageHeight - 15 : imageHeight - 60;
}

// Text placed by its top-left corner.
void textOut(QPainter &p, int x, int y, const QString &text)
{
    p.drawText(x, y + QFontMetrics(p.font(), p.device()).ascent(), text);
}

} // namespace

GraphImages::GraphImages(ChartSet &charts, TSettings &settings, RunState &run, QObject *parent)
    : QObject(parent), m_charts(charts), m_settings(settings), m_run(run)
{
}

void GraphImages::setWebServing(std::function<int()> count) { m_webServing = std::move(count); }

void GraphImages::setWebServing(const std::atomic<int> *count)
{
    if (count)
        m_webServing = [count] { return count->load(); };
    else
        m_webServing = nullptr;
}

int GraphImages::webServing() const { return m_webServing ? m_webServing() : 0; }

void GraphImages::setWindowState(std::function<GraphImageWindow()> state) { m_window = std::move(state); }

GraphImageWindow GraphImages::window() const { return m_window ? m_window() : GraphImageWindow{}; }

QDateTime GraphImages::now() const
{
    return m_settings.Graph.UTCTime ? Clock::currentDateTimeUtc() : Clock::currentDateTime();
}

void GraphImages::report(const QString &text)
{
    if (!m_settings.System.SuppressErrors)
        emit systemMessage(text);
}

QString GraphImages::webImageName(int index) const
{
    return index >= 1 && index <= WebImageCount ? m_webNames[size_t(index)] : QString();
}

QString GraphImages::webFolder() const
{
    const QString page = m_settings.WebServer.Webpage.trimmed();
    return page.isEmpty() ? QString() : QFileInfo(page).absolutePath();
}

QString GraphImages::captureBaseName(const QString &title, int chart)
{
    return cleaned(title, chart, QStringLiteral("\"*/:<>?\\|"), QLatin1Char('-'));
}

QString GraphImages::webBaseName(const QString &title, int chart)
{
    return cleaned(title, chart, QStringLiteral("\"*,/:<>?\\|"), QLatin1Char('_'));
}

QString GraphImages::chartFileName(int chart, bool web) const
{
    const auto base = [web](const QString &title, int n) {
        return web ? webBaseName(title, n) : captureBaseName(title, n);
    };
    const QString name = base(m_charts.chart(chart)->yAxis->label(), chart);
    // Several charts may carry one title ("Bitswaps" on four): the lowest
    // numbered keeps the title's name and each other adds its number, so
    // that no chart's image replaces another's. Case is ignored, as the
    // web folder's names may be lower-cased.
    for (const ChartDef &def : ChartTable::charts()) {
        const QCustomPlot *other = def.number < chart ? m_charts.chart(def.number) : nullptr;
        if (other && base(other->yAxis->label(), def.number).compare(name, Qt::CaseInsensitive) == 0)
            return name + QStringLiteral("_Chart") + QString::number(chart);
    }
    return name;
}

QString GraphImages::captureFormat(const TSettings &s)
{
    if (s.Capture.IsJPG)
        return QStringLiteral("jpg");
    if (s.Capture.IsPNG)
        return QStringLiteral("png");
    if (s.Capture.IsBMP)
        return QStringLiteral("bmp");
    if (s.Capture.IsGIF)
        return QStringLiteral("gif");
    return {};
}

QString GraphImages::emailFormat(const TSettings &s)
{
    if (s.Email.AlwaysEmailJPG)
        return QStringLiteral("jpg");
    if (s.Capture.IsPNG)
        return QStringLiteral("png");
    if (s.Capture.IsGIF)
        return QStringLiteral("gif");
    if (s.Capture.IsBMP)
        return QStringLiteral("bmp");
    return QStringLiteral("jpg");
}

QString GraphImages::saveAsFilter()
{
    return QStringLiteral("JPEG Image File (*.jpg);;PNG Image File (*.png);;GIF Image File (*.gif);;"
                          "BMP Image File (*.bmp)");
}

QString GraphImages::saveAsDefaultSuffix(const TSettings &s)
{
    static const char *const suffixes[] = {"jpg", "png", "gif", "bmp"};
    return QString::fromLatin1(suffixes[saveAsFilterIndex(s) - 1]);
}

int GraphImages::saveAsFilterIndex(const TSettings &s)
{
    return s.Capture.IsJPG ? 1 : s.Capture.IsPNG ? 2 : s.Capture.IsGIF ? 3 : 4;
}

QSize GraphImages::imageSize(const QSize &chartSize, const QString &mode, const TSettings &s)
{
    const bool resize = (s.Graph.CapturedImage && mode == kSave) || (s.Graph.WebImage && mode == kWeb)
                        || (s.Graph.ClipImage && mode == kEmail) || (s.Telnet.BitsResize && isBitswapMode(mode));
    if (!resize)
        return chartSize;
    if (s.Graph.PerCent) {
        // Truncated, not rounded.
        const qint64 pc = qMax(1, s.Graph.PerCentValue);
        return QSize(qMax<qint64>(1, chartSize.width() * pc / 100), qMax<qint64>(1, chartSize.height() * pc / 100));
    }
    return QSize(qMax(1, s.Graph.GrWidth), qMax(1, s.Graph.GrHeight));
}

QSize GraphImages::chartSize(QCustomPlot *plot) const
{
    // A chart on a tab never shown has no laid-out size yet; it is drawn at
    // the configured image size rather than at a widget's placeholder size.
    if (!plot->testAttribute(Qt::WA_Resized) || plot->width() <= 0 || plot->height() <= 0)
        return QSize(qMax(1, m_settings.Graph.GrWidth), qMax(1, m_settings.Graph.GrHeight));
    return plot->size();
}

QString GraphImages::GraphImageCaption(const QString &head, CaptionStyle style) const
{
    const TSettings &s = m_settings;
    const GraphImageWindow w = window();
    QString caption = head;
    if (s.Capture.OverlayIP && isDottedIPv4(w.wanAddress.trimmed())) {
        switch (style) {
        case CaptionStyle::Capture: caption += QStringLiteral("[IP: ") + w.wanAddress + QStringLiteral("]  "); break;
        case CaptionStyle::Email: caption += QLatin1Char('[') + w.wanAddress + QStringLiteral("]  "); break;
        case CaptionStyle::SaveAs: caption += QStringLiteral("[IP: ") + w.wanAddress + QStringLiteral("] "); break;
        case CaptionStyle::TelnetSaveAs: caption += QLatin1Char('[') + w.wanAddress + QStringLiteral("] "); break;
        }
    }
    if (s.Capture.OverlayUptime && !w.connectionUptime.isEmpty())
        caption += QLatin1Char('[') + w.connectionUptime + QStringLiteral("]  ");
    const bool telnetOnly = s.Telnet.DisableHTTP;
    if (s.Capture.OverlaySync) {
        const float sync = telnetOnly ? w.telnetSyncNow : m_run.Figures.RxSync;
        caption += QStringLiteral("[Rx-Sync: ") + numfmt::shortestSingle(sync) + QStringLiteral("]  ");
    }
    if (s.Capture.OverlayNoise) {
        const double noise = telnetOnly ? w.telnetNoiseNow : m_run.Figures.RxNoise;
        const QString text = style == CaptionStyle::Capture ? fixedThreeOne(noise) : numfmt::generalPrecision(noise, 3);
        caption += QStringLiteral("[Rx-Noise: ") + text + QStringLiteral("] ");
    }
    return caption;
}

QString GraphImages::withAttenuation(const QString &caption) const
{
    if (!m_settings.Capture.OverlayAtt)
        return caption;
    return caption + QStringLiteral(" [Attn Up: ") + m_run.AttenuationUpText + QStringLiteral(" Down: ")
           + m_run.AttenuationDownText + QStringLiteral(" dB]");
}

QString GraphImages::captureCaptionHead(const QDateTime &stamp, const QString &mode)
{
    if (isBitswapMode(mode))
        return QLatin1Char(' ') + dtp::format(QStringLiteral("dd mmm yyyy HH:NN:SS "), stamp) + QLatin1Char(' ') + mode
               + QLatin1Char(' ');
    return QLatin1Char(' ') + dtp::format(QStringLiteral("dd mmm yyyy  HH:NN:SS "), stamp) + QLatin1Char(' ');
}

QString GraphImages::webCaptionHead(const QDateTime &stamp)
{
    return QLatin1Char(' ') + dtp::format(QStringLiteral("dd mmm yyyy  hh:mm:ss  "), stamp) + QLatin1Char(' ');
}

QString GraphImages::emailCaptionHead(const QDateTime &stamp)
{
    return QLatin1Char(' ') + dtp::format(QStringLiteral("dd mmm yyyy    "), stamp) + QLatin1Char(' ');
}

QImage GraphImages::renderChart(int chart, const QString &caption, const QString &mode)
{
    QCustomPlot *plot = m_charts.chart(chart);
    if (!plot)
        return {};
    const QSize size = imageSize(chartSize(plot), mode, m_settings);
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const QColor back = toQColor(m_settings.Graph.UserBack);
    image.fill(back.isValid() ? back : QColor(Qt::white));
    QString drawError;
    // The program label is drawn over the time axis's labels: the ones that
    // would lie under it are left out (rotated, they are one line thick).
    auto *ticker = dynamic_cast<PointLabelTicker *>(plot->xAxis->ticker().data());
    if (ticker && programLabelTop(chart, size.height()) == size.height() - 60) {
        const int labelWidth = QFontMetrics(programLabelFont(), &image).horizontalAdvance(programLabel());
        const double halfLine = QFontMetrics(plot->xAxis->tickLabelFont(), &image).height() / 2.0 + 1;
        ticker->setLabelFreeSpan(kProgramLabelLeft - halfLine, kProgramLabelLeft + labelWidth + halfLine);
    }
    {
        QCPPainter painter(&image);
        if (painter.isActive())
            plot->toPainter(&painter, size.width(), size.height());
        else
            drawError = QStringLiteral("The chart could not be drawn");
    }
    if (ticker)
        ticker->clearLabelFreeSpan();
    // The off-screen drawing laid the chart out at the image size; lay it out
    // for the screen again.
    plot->replot(QCustomPlot::rpQueuedReplot);
    if (drawError.isEmpty())
        drawError = drawTexts(image, chart, plot, caption);
    if (!drawError.isEmpty())
        report(drawError + QStringLiteral("  5120 MakeGraphImage"));
    return image;
}

QString GraphImages::drawTexts(QImage &image, int chart, QCustomPlot *plot, const QString &caption)
{
    QPainter p(&image);
    if (!p.isActive())
        return QStringLiteral("The image texts could not be drawn");
    const TSettings &s = m_settings;
    const int W = image.width();
    const int H = image.height();
    const QColor back = toQColor(s.Graph.UserBack);
    p.setBackground(QBrush(back.isValid() ? back : QColor(Qt::white)));
    p.setBackgroundMode(Qt::TransparentMode);

    if (chart == 21) {
        p.setFont(textFont(8, false));
        if (s.Telnet.ShowAttenuation && s.Telnet.V4) {
            p.setPen(Qt::black);
            textOut(p, W - 625, 20, QStringLiteral("-- Attenuation (dB x10)"));
        }
        p.setPen(Qt::red);
        textOut(p, W - 490, 20,
                s.Telnet.rbSNRMargin ? QStringLiteral("-- SNR Margin per tone") : QStringLiteral("-- SNR per tone"));
        p.setPen(QColor(0, 128, 0));
        textOut(p, W - 370, 20, QStringLiteral("-- Tx Bits per tone"));
        p.setPen(Qt::blue);
        textOut(p, W - 260, 20, QStringLiteral("-- Rx Bits per tone"));
        const GraphImageWindow w = window();
        if (w.adsl2PlusShown) {
            p.setPen(QColor(0, 128, 0));
            textOut(p, W - 100, H - 20, QStringLiteral("ADSL2+ ") + w.adsl2PlusRange);
        }
    } else if (chart == 22) {
        p.setFont(textFont(8, false));
        p.setPen(QColor(0, 128, 0));
        textOut(p, W - 160, 20, QStringLiteral("--- Upstream (Tx)"));
        p.setPen(Qt::blue);
        textOut(p, W - 160, 32, QStringLiteral("--- Downstream (Rx)"));
    }
    p.setBackgroundMode(Qt::OpaqueMode);
    if (chart == 25) {
        p.setFont(textFont(8, false));
        p.setPen(Qt::blue);
        textOut(p, plot->x() + 100, 20, QStringLiteral("Ping plot for ") + s.Ping.PingHost);
    }

    const QFont captionFont = textFont(9, false);
    p.setFont(captionFont);
    p.setPen(Qt::black);
    const int captionWidth = QFontMetrics(captionFont, &image).horizontalAdvance(caption);
    textOut(p, captionWidth > W ? 0 : 50, -1, caption);

    p.setFont(programLabelFont());
    p.setPen(Qt::blue);
    if (chart != 22)
        textOut(p, kProgramLabelLeft, programLabelTop(chart, H), programLabel());

    p.setBackgroundMode(Qt::TransparentMode);
    if (s.Graph.UTCTime) {
        p.setPen(Qt::black);
        textOut(p, 2, H - 15, QStringLiteral("[UTC]"));
    }
    return {};
}

QByteArray GraphImages::encodeImage(const QImage &image, const QString &format, QString *error)
{
    const auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return QByteArray();
    };
    if (image.isNull())
        return fail(QStringLiteral("The image is empty"));

    QByteArray bytes;
    if (format == QLatin1String("gif")) {
        QString gifError;
        bytes = GifWriter::encode(image, &gifError);
        if (bytes.isEmpty())
            return fail(gifError);
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        const QByteArray qtFormat = format == QLatin1String("jpg") ? QByteArray("jpeg") : format.toLatin1();
        QImageWriter writer(&buffer, qtFormat);
        if (!writer.write(image))
            return fail(writer.errorString());
    }
    return bytes;
}

bool GraphImages::writeImage(const QImage &image, const QString &path, const QString &format, QString *error)
{
    // Encoded in memory first: an encoder failure never touches the file.
    const QByteArray bytes = encodeImage(image, format, error);
    return !bytes.isEmpty() && AtomicFile::writeFile(path, bytes, error);
}

QString GraphImages::writeNewImage(int chart, const QImage &image, const QString &path, const QString &format,
                                   QString *error)
{
    const QByteArray bytes = encodeImage(image, format, error);
    if (bytes.isEmpty())
        return {};
    // A name already taken gets "_2", "_3"... before its extension. The
    // search starts after the chart's last number for the same name, so a
    // run of captures in one minute costs one try each.
    const QString stem = path.left(path.size() - format.size() - 1);
    const auto candidate = [&](int i) {
        return i == 1 ? path : stem + QLatin1Char('_') + QString::number(i) + QLatin1Char('.') + format;
    };
    LastFreeName &last = m_lastFree[chart];
    const int first = last.path == path ? last.number + 1 : 1;
    int taken = 0;
    const QString written = NewFile::write(bytes, candidate, first, kMaxNameNumber, &taken, error);
    if (!written.isEmpty())
        last = {path, taken};
    return written;
}

GraphImageResult GraphImages::MakeGraphImage(int chart, const QString &fileName, const QString &caption,
                                             const QString &mode, ExistingFile existing)
{
    const QString text = withAttenuation(caption);

    QString format;
    QString path = fileName;
    if (mode == kSaveAs || mode == kEmail) {
        format = QFileInfo(fileName).suffix().toLower();
        if (format != QLatin1String("jpg") && format != QLatin1String("png") && format != QLatin1String("bmp")
            && format != QLatin1String("gif"))
            return {};
    } else {
        format = captureFormat(m_settings);
        if (format.isEmpty())
            return {};
        path = withExtension(fileName, format);
    }

    if (!m_charts.chart(chart))
        return {QString(), QStringLiteral("Chart%1 does not exist").arg(chart)};
    const QImage image = renderChart(chart, text, mode);
    QString error;
    if (existing == ExistingFile::Keep) {
        path = writeNewImage(chart, image, path, format, &error);
        return {path, path.isEmpty() ? error : QString()};
    }
    if (!writeImage(image, path, format, &error))
        return {QString(), error};
    return {path, QString()};
}

GraphImageResult GraphImages::Save(int chart, const QString &mode)
{
    QCustomPlot *plot = m_charts.chart(chart);
    if (!plot)
        return {};
    TSettings &s = m_settings;
    const bool bitswap = isBitswapMode(mode);

    m_run.SampleStamp = now();
    const QDateTime stamp = m_run.SampleStamp;
    if (s.Capture.DateTime.isEmpty())
        s.Capture.DateTime = QStringLiteral("hhnnss");

    QString name = chartFileName(chart, false);
    if (!s.Capture.SameFilename) {
        if (s.Capture.WindowsTime) {
            // The pattern's date separators must not make folders of the name.
            QString suffix = dtp::format(s.Capture.DateTime, stamp);
            suffix.replace(QLatin1Char('/'), QLatin1Char('-')).replace(QLatin1Char('\\'), QLatin1Char('-'));
            name += suffix;
        } else if (s.Capture.UnixTime) {
            name += QLatin1Char('-') + QString::number(stamp.toSecsSinceEpoch());
        }
    }
    if (mode == kBefore)
        name += QStringLiteral("-1");
    else if (mode == kAfter)
        name += QStringLiteral("-2");
    name += QStringLiteral(".jpg");

    const QString caption = GraphImageCaption(captureCaptionHead(stamp, mode), CaptionStyle::Capture);

    GraphImageResult result;
    const QString folder = s.Capture.Folder.trimmed();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        result.error = QStringLiteral("The capture folder does not exist");
    else
        // Only one file per chart, when the user chose it, is rewritten.
        result = MakeGraphImage(chart, QDir(folder).filePath(name), caption, bitswap ? mode : kSave,
                                s.Capture.SameFilename ? ExistingFile::Replace : ExistingFile::Keep);

    if (mode == QLatin1String("Auto") && chart != 27 && chart != 28)
        m_run.PointsPlotted = 0;
    if (mode == QLatin1String("Chart22"))
        m_bits.BitsRefreshCount = 0;
    if (chart == 28)
        m_bits.ThomsonRefreshesSinceCapture = 0;
    return result;
}

GraphImageResult GraphImages::WebSave(int chart, int index)
{
    // A request may be sending one of these files right now.
    if (webServing() != 0)
        return {};
    QCustomPlot *plot = m_charts.chart(chart);
    if (!plot)
        return {};

    GraphImageResult result;
    const QString folder = webFolder();
    if (folder.isEmpty()) {
        result.error = QStringLiteral("No web page is set");
    } else {
        QString name = chartFileName(chart, true);
        // Only the file name: the folder is the web page's, as it is on disk.
        if (m_settings.WebServer.LowerCase)
            name = name.toLower();
        const QDateTime stamp = chart == 21 && m_bits.BitsRefreshStamp.isValid() ? m_bits.BitsRefreshStamp
                                                                                 : m_run.SampleStamp;
        result = MakeGraphImage(chart, QDir(folder).filePath(name + QStringLiteral(".jpg")),
                                GraphImageCaption(webCaptionHead(stamp), CaptionStyle::Capture), kWeb);
    }
    if (result.written() && index >= 1 && index <= WebImageCount)
        m_webNames[size_t(index)] = result.path;
    if (!result.error.isEmpty())
        report(result.error + QStringLiteral("  5195 WebSave"));
    return result;
}

GraphImageResult GraphImages::EmailSave(int chart, const QString &fileName)
{
    m_run.SampleStamp = now();
    return MakeGraphImage(chart, fileName, GraphImageCaption(emailCaptionHead(m_run.SampleStamp), CaptionStyle::Email),
                          kEmail);
}

QStringList GraphImages::EmailImages(const QString &folder, bool noise, bool sync, bool ping)
{
    const QString ext = emailFormat(m_settings);
    const struct {
        bool wanted;
        int chart;
        const char *suffix;
    } images[] = {{noise, 1, "-Noise"}, {sync, 2, "-Sync"}, {ping, 25, "-Ping"}};
    QStringList written;
    for (const auto &i : images) {
        if (!i.wanted)
            continue;
        const QString path =
            QDir(folder).filePath(QStringLiteral("veltrano") + QLatin1String(i.suffix) + QLatin1Char('.') + ext);
        const GraphImageResult r = EmailSave(i.chart, path);
        if (r.written())
            written << r.path;
    }
    return written;
}

GraphImageResult GraphImages::SaveAs(int chart, const QString &fileName, SaveAsKind kind)
{
    m_run.SampleStamp = now();
    QString pattern;
    CaptionStyle style = CaptionStyle::SaveAs;
    switch (kind) {
    case SaveAsKind::ChartPopup: pattern = QStringLiteral("dd mmm yyyy  HH:nn:ss  "); break;
    case SaveAsKind::TelnetPopup:
        pattern = QStringLiteral("dd mmm yyyy  hh:mm:ss  ");
        style = CaptionStyle::TelnetSaveAs;
        break;
    case SaveAsKind::Other: pattern = QStringLiteral("dd mmm yyyy   hh:mm:ss "); break;
    }
    const QString head = QLatin1Char(' ') + dtp::format(pattern, m_run.SampleStamp) + QLatin1Char(' ');
    GraphImageResult r = MakeGraphImage(chart, fileName, GraphImageCaption(head, style), kSaveAs);
    if (kind == SaveAsKind::TelnetPopup)
        r.error.clear();
    return r;
}
