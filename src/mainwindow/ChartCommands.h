#pragma once
// The image commands of the charts, each one QAction whose text, icon and
// enabled state are kept here: capture now, scheduled capture, save as, copy
// to the clipboard, printer setup and print (shared by every chart popup:
// prepare() points them at the chart a popup was opened on), and the
// window's own: capture all, copy the visible chart, view graphs and the
// window-area screenshot.
#include "acquisition/RunState.h"
#include "mainwindow/GraphImages.h"
#include "settings/TSettings.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class ChartSet;
class QAction;
class QFileDialog;
class QMenu;
class QMimeData;
class QPrinter;
class QWidget;

// Which popup a chart's menu is; captions differ slightly between them.
enum class ChartPopupKind {
    Chart,          // ChartPopup: the status-page charts
    Telnet,         // TelnetPopup: the telnet time charts
    Bits,           // popupBits: Chart21
    Bitswap,        // PopupBitswap: Chart22
    Ping,           // PingPopup: Chart25
    ThomsonBits,    // thomsonbitspopup: Chart26
    ThomsonBitswap, // ThomsonBitSwap: Chart27, Chart28
    SepBitswap,     // PopupSepBitswap: Chart29
};

class ChartCommands : public QObject {
    Q_OBJECT
public:
    ChartCommands(ChartSet &charts, GraphImages &images, TSettings &settings, RunState &run, QWidget *window);
    ~ChartCommands() override;

    // The popup a chart's menu is, from the chart table.
    static ChartPopupKind popupKindOf(int chart);

    // Per-chart commands, shared by every popup.
    QAction *CaptureNow = nullptr;
    QAction *ScheduledCapture = nullptr;
    QAction *SaveAs = nullptr;
    QAction *CopyToClipboard = nullptr;
    QAction *PrinterSetup = nullptr;
    QAction *Print = nullptr;
    // Window commands.
    QAction *CaptureAll = nullptr;     // btnCaptureAll
    QAction *CopyTopChart = nullptr;   // btnCopy
    QAction *ViewGraphs = nullptr;     // btnViewGraphs
    QAction *SaveWindowImage = nullptr; // CopyAsImage1 "Save Image As..."

    // Points the per-chart commands at this chart and refreshes their
    // captions, checks and enabled states; a popup calls it before it shows.
    void prepare(int chart, ChartPopupKind kind);
    // Adds the per-chart items to a chart's popup, prepared as it opens.
    void addTo(QMenu *menu, int chart);
    int targetChart() const { return m_chart; }
    // Enabled states that follow the capture folder.
    void updateEnabled();

    static QString captureNowCaption(const TSettings &s, ChartPopupKind kind);
    static QString scheduledCaptureCaption(const TSettings &s, ChartPopupKind kind);

    // The chart on show (GetTopChart); the window supplies it.
    void setTopChart(std::function<int()> topChart) { m_topChart = std::move(topChart); }
    int topChart() const;
    // The folder Save As starts in when there is no capture folder.
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }
    // The last file named in a Save As or screenshot dialog.
    QString lastImageFile() const { return m_lastImageFile; }

    // The handlers.
    GraphImageResult captureNow(int chart);
    // Save with "Now" for every chart marked for capture; nothing without a
    // capture folder. The charts written.
    QList<int> btnCaptureAllClick();
    void toggleScheduledCapture(int chart);
    // The chart at its screen size as a picture, plus an SVG drawing of it.
    QMimeData *chartMimeData(int chart);
    void copyChart(int chart);
    void saveAs(int chart);
    // The file chosen in the Save As dialog; false (and reported) when nothing was written.
    bool saveAsChosen(int chart, const QString &fileName);
    void printerSetup();
    // askFirst: through the print dialog; else at once on the current
    // printer (the dialog when there is no printer to print on).
    void printChart(int chart, bool askFirst);
    // The picture printed for a chart.
    QImage printPicture(int chart);
    bool printNow(const QImage &picture, QString *error);
    QPrinter &printer() { return *m_printer; }
    // True when a printer is installed or the job goes to a named file.
    bool canPrintDirectly() const;

    // The window area below the toolbar as a picture of our own widgets.
    static QImage ScreenShot(QWidget *window, const QRect &area);
    static QRect screenshotArea(const QSize &window);
    void CopyAsImage1Click();
    bool screenshotChosen(const QString &fileName);

signals:
    void systemMessage(const QString &text);
    // A message box was shown with this text.
    void messageShown(const QString &text);
    void captureSwitchChanged(int chart);
    void viewGraphsRequested();

private:
    QAction *makeAction(const QString &name, const QString &text, const QIcon &icon);
    QFileDialog *pictureDialog(const QString &name);
    QString startFolder() const;
    void showMessage(const QString &text, bool warning);
    SaveAsKind saveAsKind(int chart) const;
    bool rawCaptureSwitch(int chart) const;

    ChartSet &m_charts;
    GraphImages &m_images;
    TSettings &m_settings;
    RunState &m_run;
    QWidget *m_window;
    std::unique_ptr<QPrinter> m_printer;
    std::function<int()> m_topChart;
    QString m_programFolder;
    QString m_lastImageFile;
    int m_chart = 1;
    ChartPopupKind m_kind = ChartPopupKind::Chart;
    QPointer<QFileDialog> m_dialog;
};
