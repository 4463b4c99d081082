#pragma once
// Every picture of a chart written to disk: the capture folder's images, the
// web folder's images, the e-mail attachments and the Save As files. One
// renderer draws the chart at the configured size with its caption and labels;
// every file is written to a temporary file in its folder and renamed over the
// old one, so nobody (the web server included) ever reads half an image.
#include "acquisition/BitsRefreshState.h"
#include "acquisition/RunState.h"
#include "settings/TSettings.h"

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>
#include <array>
#include <atomic>
#include <functional>

class ChartSet;
class QCustomPlot;

// What the captions and labels read from the window and the telnet side.
struct GraphImageWindow {
    QString wanAddress;       // status-bar panel 1
    QString connectionUptime; // status-bar panel 2
    float telnetSyncNow = 0;  // the overlay figures under [Telnet] DisableHTTP
    float telnetNoiseNow = 0;
    bool adsl2PlusShown = false; // the bits chart's ADSL2+ indicator
    QString adsl2PlusRange;      // its caption: "", ">>" or "<<"
};

struct GraphImageResult {
    QString path;  // the file written; empty when nothing was written
    QString error; // why writing failed; empty when nothing failed
    bool written() const { return !path.isEmpty(); }
};

// How the overlay items of a caption read.
enum class CaptionStyle {
    Capture,      // Save and WebSave: "[IP: a]  ", noise fixed with one decimal
    Email,        // "[a]  ", noise to 3 significant digits
    SaveAs,       // "[IP: a] ", noise to 3 significant digits
    TelnetSaveAs, // "[a] ", noise to 3 significant digits
};

// What a written image does to a file that already holds its name.
enum class ExistingFile {
    Replace, // rewritten (web images, e-mail, Save As, one capture file per chart)
    Keep,    // kept: the image takes the name with "_2", "_3"... instead
};

// The Save As handlers differ in their date pattern and IP item.
enum class SaveAsKind {
    ChartPopup,  // SaveAs
    TelnetPopup, // TelnetSaveAsClick
    Other,       // SaveAs2Click, mnuBitSwapSaveAsClick, mnuPingSaveAsClick, MenuItem1Click,
                 // ThomsonSaveAsClick, mnuSepSaveAsClick
};

class GraphImages : public QObject {
    Q_OBJECT
public:
    static constexpr int WebImageCount = 35;

    GraphImages(ChartSet &charts, TSettings &settings, RunState &run, QObject *parent = nullptr);

    // The number of web requests in progress (WebServing); 0 when not set.
    void setWebServing(std::function<int()> count);
    void setWebServing(const std::atomic<int> *count);
    int webServing() const;
    void setWindowState(std::function<GraphImageWindow()> state);
    BitsRefreshState &bitsRefresh() { return m_bits; }

    // Renders one chart and writes it. Modes: "Save", "Before Bitswap",
    // "After Bitswap", "Web", "Email", "SaveAs". Except for "Email" and
    // "SaveAs" the format comes from [Capture] IsJPG..IsGIF and replaces the
    // name's extension; no format chosen, or an unknown extension for those
    // two, writes nothing and is no failure. A text that cannot be drawn is
    // reported ("  5120 MakeGraphImage") and the image is still written.
    GraphImageResult MakeGraphImage(int chart, const QString &fileName, const QString &caption, const QString &mode,
                                    ExistingFile existing = ExistingFile::Replace);

    // Capture-folder image, never over another file unless [Capture]
    // SameFilename asks for one file per chart. Modes: "Auto", "Close",
    // "Daily", "Manual", "Now", "Chart22", "Before Bitswap", "After Bitswap".
    // Sets SampleStamp; "Auto" clears PointsPlotted (not for Chart27/28),
    // "Chart22" BitsRefreshCount, any Chart28 capture
    // ThomsonRefreshesSinceCapture. Failures are not reported.
    GraphImageResult Save(int chart, const QString &mode);

    // Web-folder image, recorded in webImageName(index). Skipped while a web
    // request is in progress; failures are reported ("  5195 WebSave").
    GraphImageResult WebSave(int chart, int index);

    // An e-mail attachment under the given name (its extension picks the
    // format). Sets SampleStamp; failures are not reported.
    GraphImageResult EmailSave(int chart, const QString &fileName);

    // The e-mail's chart images as "<folder>/veltrano-Noise.<ext>" (Chart1),
    // "-Sync" (Chart2) and "-Ping" (Chart25): the paths written, in that order.
    QStringList EmailImages(const QString &folder, bool noise, bool sync, bool ping);

    // A Save As file the user named. The error is the caller's to show
    // (except for TelnetPopup, whose failures are ignored).
    GraphImageResult SaveAs(int chart, const QString &fileName, SaveAsKind kind);

    // head + the overlay items switched on by [Capture] OverlayIP, OverlayUptime,
    // OverlaySync and OverlayNoise.
    QString GraphImageCaption(const QString &head, CaptionStyle style) const;
    // The caption as drawn: with [Capture] OverlayAtt the attenuation item follows.
    QString withAttenuation(const QString &caption) const;
    // The captions' date parts: Save (the bitswap modes name themselves), WebSave, EmailSave.
    static QString captureCaptionHead(const QDateTime &stamp, const QString &mode);
    static QString webCaptionHead(const QDateTime &stamp);
    static QString emailCaptionHead(const QDateTime &stamp);

    // WebImageNames: the path of the last web image of each index 1..35.
    QString webImageName(int index) const;
    // The folder of [WebServer] Webpage; empty when no page is set.
    QString webFolder() const;
    // The chart as an image with its caption and labels (what MakeGraphImage writes).
    QImage renderChart(int chart, const QString &caption, const QString &mode);

    // The name of a chart's capture (web: web image) before its time and
    // extension: its title's, with "_Chart" and its number when a chart of a
    // lower number has a title of the same name.
    QString chartFileName(int chart, bool web) const;

    // Names built from an axis title: blanks to "_", characters a file name
    // cannot hold to "-" (capture) or "_" (web, the comma too); leading dots
    // removed; "ChartN" when nothing is left.
    static QString captureBaseName(const QString &title, int chart);
    static QString webBaseName(const QString &title, int chart);
    // The image size for a chart of chartSize in this mode.
    static QSize imageSize(const QSize &chartSize, const QString &mode, const TSettings &s);
    // "jpg", "png", "bmp" or "gif" by [Capture] IsJPG..IsGIF; empty when none is set.
    static QString captureFormat(const TSettings &s);
    // The e-mail's image format: png, gif, bmp, else jpg; jpg with [Email] AlwaysEmailJPG.
    static QString emailFormat(const TSettings &s);
    // The Save As dialog: its filter and the default suffix and filter (1..4) by the format flags.
    static QString saveAsFilter();
    static QString saveAsDefaultSuffix(const TSettings &s);
    static int saveAsFilterIndex(const TSettings &s);
    // Encodes and writes atomically; format "jpg", "png", "bmp" or "gif".
    static bool writeImage(const QImage &image, const QString &path, const QString &format, QString *error);
    // The encoded file; empty with *error on failure.
    static QByteArray encodeImage(const QImage &image, const QString &format, QString *error);

signals:
    void systemMessage(const QString &text);

private:
    QDateTime now() const;
    GraphImageWindow window() const;
    QSize chartSize(QCustomPlot *plot) const;
    QString drawTexts(QImage &image, int chart, QCustomPlot *plot, const QString &caption);
    void report(const QString &text);
    // Writes under path, or the first free "_N" form of it: the name written.
    QString writeNewImage(int chart, const QImage &image, const QString &path, const QString &format,
                          QString *error);

    static constexpr int kMaxNameNumber = 99999;
    struct LastFreeName {
        QString path;   // the name asked for
        int number = 0; // 1 for the name itself, N for its "_N" form
    };

    ChartSet &m_charts;
    TSettings &m_settings;
    RunState &m_run;
    std::function<int()> m_webServing;
    std::function<GraphImageWindow()> m_window;
    BitsRefreshState m_bits;
    std::array<QString, WebImageCount + 1> m_webNames; // 1-based
    QHash<int, LastFreeName> m_lastFree;               // by chart
};
