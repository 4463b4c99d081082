#pragma once
// The image commands of the charts: capture now, the scheduled-capture
// switch, save as, copy to the clipboard (a picture and an SVG drawing),
// printer setup and print, served to every chart menu (serve() sets them as
// the menus' command handlers and adds the items the tone charts' menus
// carry); and the window's own actions, each one QAction whose text, icon and
// enabled state are kept here: capture all, copy the chart on show, view
// graphs and the window-area screenshot.
#include "acquisition/RunState.h"
#include "chartimages/GraphImages.h"
#include "settings/TSettings.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class ChartPopupMenus;
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

    // Window commands.
    QAction *CaptureAll = nullptr;     // btnCaptureAll
    QAction *CopyTopChart = nullptr;   // btnCopy
    QAction *ViewGraphs = nullptr;     // btnViewGraphs
    QAction *SaveWindowImage = nullptr; // CopyAsImage1 "Save Image As..."

    // Sets the image commands as the chart menus' handlers and adds the tone
    // charts' image items and switches.
    void serve(ChartPopupMenus &menus);
    // Print1Click, Print2Click and the 585 bitswap charts' Print ask through
    // the print dialog; the other charts print at once.
    static bool printAsksFirst(int chart);

    // Enabled states that follow the capture folder.
    void updateEnabled();

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
    void addToneItems(ChartPopupMenus &menus);
    QFileDialog *pictureDialog(const QString &name);
    QString startFolder() const;
    void showMessage(const QString &text, bool warning);
    SaveAsKind saveAsKind(int chart) const;

    ChartSet &m_charts;
    GraphImages &m_images;
    TSettings &m_settings;
    RunState &m_run;
    QWidget *m_window;
    std::unique_ptr<QPrinter> m_printer;
    std::function<int()> m_topChart;
    QString m_programFolder;
    QString m_lastImageFile;
    QPointer<QFileDialog> m_dialog;
};
